// A wait box driven from inside its own modal loop: once it is open, the test's script runs as a
// handler of the box (posted to it), so ticks are sent synchronously and the 500 ms timer never
// interleaves with them.
#pragma once

#include "PopUpDlg.h"
#include "ThreadWindows.h"

#include <functional>
#include <string>
#include <vector>

class DrivenPopUp : public CPopUpDlg {
public:
    std::function<void(DrivenPopUp&)> script;
    // Stop the box's own timer at opening, so only the script's ticks count.
    bool stopOwnTimer = true;

    // One tick of the 500 ms timer, through the message map.
    void Tick() { SendMessage(WM_TIMER, 0, 0); }
    std::string Text() const { return ItemText(m_hWnd, IDC_TEXT); }
    std::string Caption() const { return WindowText(m_hWnd); }
    // Runs the next step of the script later, after messages already posted to the box.
    void PostStep(std::function<void(DrivenPopUp&)> step);

protected:
    BOOL OnInitDialog() override;
    afx_msg LRESULT OnRunScript(WPARAM, LPARAM);
    afx_msg LRESULT OnRunStep(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    std::vector<std::function<void(DrivenPopUp&)>> m_steps;
};

// Enter, Esc and the close box as the operator gives them, through the dialog's message loop.
void PostKey(HWND hDlg, UINT vk);
void PostCloseBox(HWND hDlg);
