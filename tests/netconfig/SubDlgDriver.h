// Drives Netquill's sub-dialogs in a test: runs the real dialog modally and takes scripted steps from
// a thread timer inside its modal loop. Clicks are posted, so a message box that a click opens runs
// its own loop while the next step waits for it and ends it.
#pragma once

#include "framework/Afx.h"

#include <functional>
#include <string>
#include <vector>

class SubDlgScript {
public:
    // A step returns true when done (the next one follows at the next tick), false to be tried again.
    using Step = std::function<bool()>;

    void Add(const std::string& name, Step step) { m_steps.push_back({name, std::move(step)}); }

    // Runs dialog.DoModal() with the steps. The first step waits until the dialog is visible. A step
    // not done within timeoutMs fails the test and ends the dialog by force. Returns DoModal's result.
    INT_PTR Run(CDialog& dialog, DWORD timeoutMs = 10000);

    // Common steps.
    void WaitShown(CDialog& dialog);
    // Posts a button click (WM_COMMAND BN_CLICKED) to the dialog.
    void Click(CDialog& dialog, int id);
    // Waits for a message box of this thread, records its caption and text, and ends it with OK.
    void CloseMessageBox(std::string* caption, std::string* text);
    void Do(const std::string& name, std::function<void()> action);
    // Runs action from a one-shot timer of its own, outside any step, so that a message box it opens
    // can be ended by the next steps.
    void Later(const std::string& name, std::function<void()> action);

private:
    static VOID CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    struct Named {
        std::string name;
        Step step;
    };
    std::vector<Named> m_steps;
    size_t m_next = 0;
    bool m_busy = false;
    bool m_forced = false;
    DWORD m_deadline = 0;
    CDialog* m_dialog = nullptr;
};

// A visible dialog-class window of this thread other than except (a message box, say), or NULL.
HWND FindOtherDialog(HWND except);
std::string WindowText(HWND hwnd);
std::string ItemText(HWND dialog, int id);
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
