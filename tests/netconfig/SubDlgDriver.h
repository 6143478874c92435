// Drives Netquill's sub-dialogs in a test: runs the real dialog modally and takes scripted steps from
// a thread timer inside its modal loop. Clicks are posted, so a message box that a click opens runs
// its own loop while the next step waits for it and ends it.
#pragma once

#include "ModalScript.h"

#include <functional>
#include <string>
#include <vector>

class SubDlgScript : public ModalScript {
public:
    // The sub-dialogs are quick: a step not done in 10 s fails the test.
    INT_PTR Run(CDialog& dialog, DWORD timeoutMs = 10000) { return ModalScript::Run(dialog, timeoutMs); }

    // Common steps.
    void WaitShown(CDialog& dialog);
    // Posts a button click (WM_COMMAND BN_CLICKED) to the dialog.
    void Click(CDialog& dialog, int id);
    // Waits for a message box of this thread, records its caption and text, and ends it with OK.
    void CloseMessageBox(std::string* caption, std::string* text);
    void Do(const std::string& name, std::function<void()> action);
    // Runs action past the script's step, so that a message box it opens can be ended by the next steps.
    void Later(const std::string& name, std::function<void()> action);
};

void SetItemText(HWND dialog, int id, const char* text);
// The address of an IP address control, first octet high; blank fields read 0.
DWORD IpAddress(HWND dialog, int id);
void SetIpAddress(HWND dialog, int id, BYTE b0, BYTE b1, BYTE b2, BYTE b3);
bool IsChecked(HWND dialog, int id);

// The packets given to QLC_SendData, from the stand-in's call log, as
// "nType=..,nParam=..,data=\"..\",len" lines; module and kind are checked to be 6 and 35 by callers.
struct SentPacket {
    unsigned kind = 0, module = 0;
    int nType = 0, nParam = 0, nLength = 0, length = 0;
    int connection = 0, dataType = 0;
    std::string data; // quoted by the stand-in, up to the first NUL
};
std::vector<SentPacket> SentPackets();
