// Drives Netquill's network dialog from inside its own modal loops, over ModalScript: a 10 ms thread
// timer runs the steps in order: each waits for its condition, then acts (an action may open a nested
// modal loop - the wait box, a message box - and the following steps run inside it). Every message box
// that appears is recorded by its text and answered from a queue (OK, or No when it asks Yes/No and the
// queue is empty). A deadline ends whatever is open, so no test hangs.
#pragma once

#include "NetquillApp.h"
#include "NetworkDlg.h"
#include "ModalScript.h"
#include "StandinControl.h"

#include <functional>
#include <string>
#include <vector>

extern "C" {
int InitRCDlg(int nConnection, int nLanguage, const char* text);
void ShowNetworkDlg(const char* text);
void CmdProc(const void* packet);
int ExitRCDlg(int nCode);
}

struct Step {
    std::function<bool()> ready; // null: at once
    std::function<void()> action;
};

// One packet given to QLC_SendData.
struct SentPacket {
    int nType = 0, nParam = 0, nLength = 0, bytes = 0;
};

class NetDlgDriver {
public:
    NetDlgDriver();

    // Answers for the coming message boxes, in order (IDOK, IDYES, IDNO, or LEAVE_OPEN).
    std::vector<int> answers;
    // Leaves its box open: the box is recorded, and the steps go on inside its loop until a step
    // answers it with AnswerLeftBox.
    static constexpr int LEAVE_OPEN = 0;
    static void AnswerLeftBox(int answer);
    // Texts of the message boxes shown, in order.
    std::vector<std::string> boxes;
    bool timedOut = false;

    // ShowNetworkDlg(params) with the steps; returns when the dialog has ended. A run that has not
    // ended after timeoutMs is ended (and timedOut set).
    void Run(const char* params, std::vector<Step> steps, int timeoutMs = 8000);

    static CNetworkDlg& Dlg() { return NetworkDlg(); }
    static HWND Item(int id) { return ::GetDlgItem(Dlg().m_hWnd, id); }
    static bool Visible(int id) { return ::IsWindowVisible(Item(id)) != FALSE; }
    static bool Enabled(int id) { return ::IsWindowEnabled(Item(id)) != FALSE; }
    static std::string Text(int id) { return ItemText(Dlg().m_hWnd, id); }
    static std::string Caption() { return WindowText(Dlg().m_hWnd); }
    static void Click(int id);             // BN_CLICKED from the control, as a click sends it
    static void SetCheck(int id, bool on); // check box state, then its click notification
    static void SetText(int id, const char* text);
    static void SetAddress(int id, DWORD address);
    static DWORD Address(int id);
    static bool WaitBoxOpen();
    static bool DialogUp();
    // The packets sent since the last ClearLog, from the stand-in's call log.
    static std::vector<SentPacket> Sent();
    // The data of the last packet sent, as text (up to its length).
    static std::string LastSentText();
    static std::vector<unsigned char> LastSentBytes();

    static void Reply(int nType, int nParam, const void* data, int nLength, unsigned header = 0x46);
    static void ReplyText(int nType, int nParam, const char* text) {
        Reply(nType, nParam, text, (int)strlen(text));
    }

    // Step helpers.
    static Step Do(std::function<void()> action) { return Step{nullptr, std::move(action)}; }
    static Step WhenWaitBox(std::function<void()> action) { return Step{&WaitBoxOpen, std::move(action)}; }
    static Step AfterWaitBox(std::function<void()> action) {
        return Step{[] { return !WaitBoxOpen(); }, std::move(action)};
    }
    Step WhenBoxes(size_t n, std::function<void()> action) {
        return Step{[this, n] { return boxes.size() >= n; }, std::move(action)};
    }
    static Step Exit(int code = IDCANCEL) {
        return Do([code] { ExitRCDlg(code); });
    }

private:
    // A box over the dialog other than its wait box and a box left open, or NULL.
    static HWND OpenBox();
    // True while a message box is open (the steps wait for it to go); answers a new one.
    bool AnswerBoxes();
};
