#include "PopUpDriver.h"

namespace {
constexpr UINT WM_RUN_SCRIPT = WM_APP + 1;
constexpr UINT WM_RUN_STEP = WM_APP + 2;
} // namespace

// clang-format off
BEGIN_MESSAGE_MAP(DrivenPopUp, CPopUpDlg)
    ON_MESSAGE(WM_RUN_SCRIPT, OnRunScript)
    ON_MESSAGE(WM_RUN_STEP, OnRunStep)
END_MESSAGE_MAP()
// clang-format on

void DrivenPopUp::PostStep(std::function<void(DrivenPopUp&)> step) {
    m_steps.push_back(std::move(step));
    PostMessage(WM_RUN_STEP);
}

BOOL DrivenPopUp::OnInitDialog() {
    const BOOL r = CPopUpDlg::OnInitDialog();
    if (stopOwnTimer) {
        // The box asked for timer id 0; SetTimer may hand back another value for it.
        KillTimer(TimerId());
        KillTimer(0);
    }
    m_steps.clear();
    PostMessage(WM_RUN_SCRIPT);
    return r;
}

LRESULT DrivenPopUp::OnRunScript(WPARAM, LPARAM) {
    if (script) script(*this);
    return 0;
}

LRESULT DrivenPopUp::OnRunStep(WPARAM, LPARAM) {
    if (m_steps.empty()) return 0;
    auto step = std::move(m_steps.front());
    m_steps.erase(m_steps.begin());
    step(*this);
    return 0;
}

void PostKey(HWND hDlg, UINT vk) {
    const UINT scan = ::MapVirtualKeyA(vk, 0);
    ::PostMessageA(hDlg, WM_KEYDOWN, vk, 1 | (scan << 16));
    ::PostMessageA(hDlg, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000u);
}

void PostCloseBox(HWND hDlg) {
    ::PostMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
}
