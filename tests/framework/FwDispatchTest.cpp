// Message maps, command codes, registered messages, colours, dialog keys and window lookups.
#include <gtest/gtest.h>

#include <thread>

#include "Afx.h"
#include "FwTestIds.h"
#include "FwTestUtil.h"

namespace {
UINT g_msgTaskbarCreated = ::RegisterWindowMessageA("TaskbarCreated");

class CMapDlg : public CDialog {
public:
    CMapDlg() : CDialog(IDD_MAIN) {}

    std::vector<std::string> log;
    std::vector<std::pair<HWND, WPARAM>> keysSeen;
    HACCEL m_hAccel = nullptr;
    CBrush m_brush{RGB(255, 255, 0)};
    std::vector<UINT_PTR> timers;

    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_KEYDOWN) keysSeen.emplace_back(pMsg->hwnd, pMsg->wParam);
        if (m_hAccel && ::TranslateAcceleratorA(m_hWnd, m_hAccel, pMsg)) return TRUE;
        return CDialog::PreTranslateMessage(pMsg);
    }
    void OnGoFirst() { log.push_back("go first"); }
    void OnGoSecond() { log.push_back("go second"); }
    void OnMenuItem() { log.push_back("menu"); }
    void OnKeyF5() { log.push_back("F5"); }
    void OnKeyF6() { log.push_back("F6"); }
    LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM) {
        log.push_back("taskbar " + std::to_string(wParam));
        return 77;
    }
    LRESULT OnConfig(WPARAM, LPARAM lParam) {
        log.push_back("config " + std::to_string(lParam));
        return -1;
    }
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
        HBRUSH hbr = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
        if (pWnd->GetDlgCtrlID() == IDC_LABEL && nCtlColor == CTLCOLOR_STATIC) return m_brush;
        return hbr;
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent) { timers.push_back(nIDEvent); }

    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CMapDlg, CDialog)
ON_BN_CLICKED(IDC_GO, OnGoFirst)
ON_COMMAND(IDC_GO, OnGoSecond) // same command again: never reached
ON_COMMAND(ID_MENU_ITEM, OnMenuItem)
ON_COMMAND(ID_KEY_F5, OnKeyF5)
ON_COMMAND(ID_KEY_F6, OnKeyF6)
ON_MESSAGE(0x6400, OnConfig)
ON_REGISTERED_MESSAGE(g_msgTaskbarCreated, OnTaskbarCreated)
ON_WM_CTLCOLOR()
ON_WM_TIMER()
END_MESSAGE_MAP()
// clang-format on

std::string Joined(const std::vector<std::string>& v) {
    std::string s;
    for (auto& x : v)
        s += (s.empty() ? "" : ",") + x;
    return s;
}
} // namespace

TEST(FrameworkMessageMap, CommandsMatchInSourceOrderWithMenusAndAcceleratorsAsCodeZero) {
    CMapDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_MAIN));
    HWND hGo = ::GetDlgItem(dlg, IDC_GO);
    struct Case {
        const char* what;
        WPARAM wParam;
        LPARAM lParam;
        const char* expected; // handlers called, in order
    } cases[] = {
        {"button click, two entries", MAKEWPARAM(IDC_GO, BN_CLICKED), (LPARAM)hGo, "go first"},
        {"menu item", MAKEWPARAM(ID_MENU_ITEM, 0), 0, "menu"},
        {"accelerator (code 1, no control)", MAKEWPARAM(ID_KEY_F5, 1), 0, "F5"},
        {"control notification other than a click", MAKEWPARAM(ID_KEY_F6, BN_SETFOCUS), (LPARAM)hGo, ""},
        {"unmapped command", MAKEWPARAM(4242, 0), 0, ""},
    };
    for (const Case& c : cases) {
        dlg.log.clear();
        dlg.SendMessage(WM_COMMAND, c.wParam, c.lParam);
        EXPECT_EQ(c.expected, Joined(dlg.log)) << c.what;
    }
    EXPECT_TRUE(dlg.IsWindow()) << "no command above may end the dialog";
}

TEST(FrameworkMessageMap, RegisteredAndFixedMessagesReachTheirEntries) {
    ASSERT_NE(0u, g_msgTaskbarCreated);
    CMapDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_MAIN));
    EXPECT_EQ(77, dlg.SendMessage(g_msgTaskbarCreated, 3, 0));
    EXPECT_EQ(-1, dlg.SendMessage(0x6400, 0, 12));
    EXPECT_EQ(0, dlg.SendMessage(0x6401, 0, 0)) << "an unmapped message gets default processing";
    EXPECT_EQ("taskbar 3,config 12", Joined(dlg.log));

    // Posted messages and timers arrive through the queue as well.
    dlg.PostMessage(0x6400, 0, 5);
    dlg.SetTimer(3, 10);
    ASSERT_TRUE(PumpUntil([&] { return !dlg.timers.empty(); }));
    dlg.KillTimer(3);
    EXPECT_EQ("taskbar 3,config 12,config 5", Joined(dlg.log));
    EXPECT_EQ(3u, dlg.timers[0]);
}

TEST(FrameworkMessageMap, CtlColorReturnsTheBrushTheHandlerChose) {
    CMapDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_MAIN));
    HDC hdc = ::GetDC(dlg);
    LRESULT forLabel = dlg.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)hdc, (LPARAM)::GetDlgItem(dlg, IDC_LABEL));
    LRESULT forEdit = dlg.SendMessage(WM_CTLCOLOREDIT, (WPARAM)hdc, (LPARAM)::GetDlgItem(dlg, IDC_EDIT));
    ::ReleaseDC(dlg, hdc);
    EXPECT_EQ((LRESULT)(HBRUSH)dlg.m_brush, forLabel);
    EXPECT_NE((LRESULT)(HBRUSH)dlg.m_brush, forEdit) << "other controls keep the default colours";
}

TEST(FrameworkDialog, CloseEscapeAndEnterEndTheModalLoop) {
    struct Case {
        const char* what;
        std::function<void(CMapDlg&)> act;
        INT_PTR expected;
    } cases[] = {
        {"WM_CLOSE", [](CMapDlg& d) { d.PostMessage(WM_CLOSE); }, IDCANCEL},
        {"Esc in the edit",
         [](CMapDlg& d) { ::PostMessageA(::GetDlgItem(d, IDC_EDIT), WM_KEYDOWN, VK_ESCAPE, 0); }, IDCANCEL},
        {"Enter in the edit",
         [](CMapDlg& d) { ::PostMessageA(::GetDlgItem(d, IDC_EDIT), WM_KEYDOWN, VK_RETURN, 0); }, IDOK},
    };
    for (const Case& c : cases) {
        CMapDlg dlg;
        After(0, [&] { c.act(dlg); });
        EXPECT_EQ(c.expected, dlg.DoModal()) << c.what;
        EXPECT_EQ(nullptr, dlg.m_hWnd) << c.what;
    }
}

TEST(FrameworkDialog, PreTranslateSeesChildKeysAndAcceleratorsTranslateFKeys) {
    CMapDlg dlg;
    dlg.m_hAccel = ::LoadAcceleratorsA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_ACCEL));
    ASSERT_NE(nullptr, dlg.m_hAccel);
    HWND hEdit = nullptr;
    After(0, [&] {
        hEdit = ::GetDlgItem(dlg, IDC_EDIT);
        ::SetFocus(hEdit);
        ::PostMessageA(hEdit, WM_KEYDOWN, 'A', 0);
        ::PostMessageA(hEdit, WM_KEYDOWN, VK_F6, 0);
        ::PostMessageA(hEdit, WM_KEYDOWN, VK_F5, 0);
        ::PostMessageA(dlg, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    ASSERT_GE(dlg.keysSeen.size(), 3u);
    EXPECT_EQ(hEdit, dlg.keysSeen[0].first) << "the dialog sees keys addressed to its child edit";
    EXPECT_EQ((WPARAM)'A', dlg.keysSeen[0].second);
    EXPECT_EQ("F6,F5", Joined(dlg.log));
}

TEST(FrameworkWnd, LookupsBindingAndLifetime) {
    HWND hDlg = nullptr, hEdit = nullptr;
    {
        CMapDlg dlg;
        ASSERT_TRUE(dlg.Create(IDD_MAIN));
        hDlg = dlg.m_hWnd;
        EXPECT_EQ(&dlg, CWnd::FromHandlePermanent(hDlg));
        EXPECT_EQ(nullptr, dlg.GetDlgItem(1099)) << "a missing id gives no object";
        CWnd* pEdit = dlg.GetDlgItem(IDC_EDIT);
        ASSERT_NE(nullptr, pEdit);
        hEdit = pEdit->m_hWnd;
        EXPECT_EQ(pEdit, dlg.GetDlgItem(IDC_EDIT)) << "one temporary wrapper per handle";
        EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hEdit));
        EXPECT_EQ(&dlg, pEdit->GetParent());

        CEdit edit;
        ASSERT_TRUE(edit.SubclassDlgItem(IDC_EDIT, &dlg));
        EXPECT_EQ(&edit, dlg.GetDlgItem(IDC_EDIT)) << "a bound control replaces the temporary";
        EXPECT_FALSE(CEdit().SubclassWindow(hEdit)) << "a window is bound to one object only";
        edit.SetWindowText("abc");
        CString text;
        dlg.GetDlgItemText(IDC_EDIT, text);
        EXPECT_STREQ("abc", text);
    }
    // The objects went out of scope: their windows went with them and nothing is left bound.
    EXPECT_FALSE(::IsWindow(hDlg));
    EXPECT_FALSE(::IsWindow(hEdit));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hDlg));
}

TEST(FrameworkWnd, TimerSetFromAnotherThreadRunsOnTheWindowThread) {
    CMapDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_MAIN));
    UINT_PTR setResult = 0;
    std::thread([&] { setResult = dlg.SetTimer(15, 10); }).join();
    EXPECT_EQ(15u, setResult);
    ASSERT_TRUE(PumpUntil([&] { return dlg.timers.size() >= 2; })) << "timer 15 never ticked";
    EXPECT_EQ(15u, dlg.timers[0]);
    std::thread([&] { dlg.KillTimer(15); }).join();
    PumpUntil([] { return false; }, 30); // the kill arrives
    size_t ticks = dlg.timers.size();
    PumpUntil([] { return false; }, 60);
    EXPECT_EQ(ticks, dlg.timers.size()) << "timer still ticking after KillTimer from another thread";
}
