// Modal loops: nesting, timers inside them, EndDialog from outside, the DestroyWindow override,
// owners, and modeless child dialogs.
#include <gtest/gtest.h>

#include <stdexcept>

#include "Afx.h"
#include "FwTestIds.h"
#include "FwTestUtil.h"

namespace {
class CInnerDlg : public CDialog {
public:
    CInnerDlg() : CDialog(IDD_INNER) {}
    int destroyCalls = 0;
    HWND ownerAtInit = nullptr;
    BOOL OnInitDialog() override {
        ownerAtInit = ::GetWindow(m_hWnd, GW_OWNER);
        return CDialog::OnInitDialog();
    }
    BOOL DestroyWindow() override {
        ++destroyCalls;
        return CDialog::DestroyWindow();
    }
};

class COuterDlg : public CDialog {
public:
    COuterDlg() : CDialog(IDD_MAIN) {}

    CInnerDlg inner;
    INT_PTR innerResult = 0;
    HWND activeAtGo = nullptr;
    int ticks = 0, ticksDuringInner = 0;
    bool endOuterDuringInner = false;
    bool outerRunningAfterInner = false;

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        SetTimer(1, 15, nullptr);
        return TRUE;
    }
    afx_msg void OnTimer(UINT_PTR) {
        ++ticks;
        if (inner.IsModalRunning()) ++ticksDuringInner;
    }
    // A modal dialog opened from a handler of this modal dialog.
    void OnGo() {
        activeAtGo = ::GetActiveWindow();
        innerResult = inner.DoModal();
        outerRunningAfterInner = IsModalRunning() && IsWindow() && IsWindowEnabled();
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(COuterDlg, CDialog)
ON_WM_TIMER()
ON_BN_CLICKED(IDC_GO, OnGo)
END_MESSAGE_MAP()
// clang-format on

class CSizeChildDlg : public CDialog {
public:
    std::vector<std::pair<int, int>> sizes;
    bool initDone = false;
    BOOL OnInitDialog() override {
        initDone = true;
        return CDialog::OnInitDialog();
    }
    afx_msg void OnSize(UINT, int cx, int cy) { sizes.emplace_back(cx, cy); }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CSizeChildDlg, CDialog)
ON_WM_SIZE()
END_MESSAGE_MAP()
// clang-format on
} // namespace

TEST(FrameworkModal, NestedLoopKeepsOuterTimerAndEndDialogFromOutsideEndsInner) {
    COuterDlg outer;
    // From outside both dialogs' handlers: wait for the inner loop and a few outer ticks, then end it.
    std::function<void()> poll = [&outer, &poll] {
        if (outer.inner.IsModalRunning() && outer.ticksDuringInner >= 3) {
            outer.inner.EndDialog(42);
            After(0, [&outer] { outer.EndDialog(7); });
        } else {
            After(10, poll);
        }
    };
    After(0, [&] {
        outer.PostMessage(WM_COMMAND, MAKEWPARAM(IDC_GO, BN_CLICKED), (LPARAM)::GetDlgItem(outer, IDC_GO));
        After(10, poll);
    });
    EXPECT_EQ(7, outer.DoModal());
    EXPECT_EQ(42, outer.innerResult);
    EXPECT_GE(outer.ticksDuringInner, 3) << "the outer dialog's timer stopped while the inner loop ran";
    EXPECT_TRUE(outer.outerRunningAfterInner) << "after the inner dialog the outer one must run on, enabled";
    EXPECT_EQ(1, outer.inner.destroyCalls)
        << "the DestroyWindow override runs once when the modal dialog ends";
    EXPECT_EQ((HWND) nullptr, outer.inner.m_hWnd);
}

TEST(FrameworkModal, ParentlessDialogIsOwnedByTheActiveWindowOrTheMainWindowsPopup) {
    // Clicks "Go" once `outer` is the active window, then ends the inner dialog and the outer one.
    auto run = [](COuterDlg& outer) {
        After(0, [&outer] {
            WhenActive(outer, [&outer] {
                outer.PostMessage(WM_COMMAND, MAKEWPARAM(IDC_GO, BN_CLICKED),
                                  (LPARAM)::GetDlgItem(outer, IDC_GO));
                WhenDialogShown(
                    [&outer](HWND) {
                        outer.inner.EndDialog(IDOK);
                        After(0, [&outer] { outer.EndDialog(IDCANCEL); });
                    },
                    outer.m_hWnd);
            });
        });
    };
    COuterDlg outer;
    HWND hOuter = nullptr;
    After(0, [&] { hOuter = outer.m_hWnd; });
    run(outer);
    EXPECT_EQ(IDCANCEL, outer.DoModal());
    EXPECT_EQ(IDOK, outer.innerResult);
    // Normally the outer dialog; tests running in parallel may have taken the activation away.
    EXPECT_EQ(outer.activeAtGo, outer.inner.ownerAtInit)
        << "no main window: the thread's active window owns it";
    if (outer.activeAtGo) {
        EXPECT_EQ(hOuter, outer.activeAtGo);
    }

    // With a main window the owner is the main window's last active popup.
    CWinApp app("framework test");
    COuterDlg main;
    app.m_pMainWnd = &main;
    After(0, [&] { hOuter = main.m_hWnd; });
    run(main);
    EXPECT_EQ(IDCANCEL, main.DoModal());
    EXPECT_EQ(hOuter, main.inner.ownerAtInit);
}

TEST(FrameworkModal, EndDialogOfAnOuterDialogWaitsForTheInnerLoop) {
    COuterDlg outer;
    After(0, [&] {
        outer.PostMessage(WM_COMMAND, MAKEWPARAM(IDC_GO, BN_CLICKED), (LPARAM)::GetDlgItem(outer, IDC_GO));
        WhenDialogShown(
            [&](HWND) {
                outer.EndDialog(9); // while the inner loop runs
                After(30, [&] {
                    EXPECT_TRUE(outer.inner.IsModalRunning()) << "the inner dialog must keep running";
                    outer.inner.EndDialog(IDCANCEL);
                });
            },
            outer.m_hWnd);
    });
    EXPECT_EQ(9, outer.DoModal());
    EXPECT_EQ(IDCANCEL, outer.innerResult);
}

TEST(FrameworkModal, EndDialogOnAClosedDialogDoesNothing) {
    CInnerDlg dlg;
    dlg.EndDialog(5); // never opened
    After(0, [&] { dlg.EndDialog(3); });
    EXPECT_EQ(3, dlg.DoModal());
    dlg.EndDialog(5); // already closed
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    // A stale EndDialog must not end or colour the next run.
    bool ranLong = false;
    After(50, [&] {
        ranLong = dlg.IsModalRunning();
        dlg.EndDialog(4);
    });
    EXPECT_EQ(4, dlg.DoModal());
    EXPECT_TRUE(ranLong);
    EXPECT_EQ(2, dlg.destroyCalls);
}

TEST(FrameworkModal, ModelessChildIsCreatedAndGetsWmSize) {
    CDialog parent;
    ASSERT_TRUE(parent.Create(IDD_MAIN));
    CSizeChildDlg child;
    ASSERT_TRUE(child.Create(IDD_CHILD, &parent));
    EXPECT_TRUE(child.initDone);
    EXPECT_EQ(parent.m_hWnd, ::GetParent(child)) << "created as a child of the given parent";
    EXPECT_TRUE(child.GetStyle() & WS_CHILD);
    ASSERT_FALSE(child.sizes.empty()) << "WM_SIZE during creation did not reach the object";
    EXPECT_GT(child.sizes.back().first, 0);
    child.MoveWindow(0, 0, 123, 45);
    EXPECT_EQ(std::make_pair(123, 45), child.sizes.back());
    EXPECT_FALSE(child.Create(IDD_CHILD, &parent)) << "second Create on a live dialog";
    parent.DestroyWindow();
    EXPECT_EQ(nullptr, child.m_hWnd) << "the child object is unbound when its parent goes";
}

TEST(FrameworkModal, MissingTemplateFailsCleanly) {
    CDialog dlg(4711);
    EXPECT_EQ(-1, dlg.DoModal());
    EXPECT_FALSE(dlg.Create(4711));
    EXPECT_FALSE(dlg.IsModalRunning());
}

namespace {
class CThrowingFilterDlg : public CDialog {
public:
    CThrowingFilterDlg() : CDialog(IDD_INNER) {}
    int thrown = 0;
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F9) {
            ++thrown;
            throw std::runtime_error("filter failed");
        }
        return CDialog::PreTranslateMessage(pMsg);
    }
};
} // namespace

TEST(FrameworkModal, ExceptionFromPreTranslateMessageDoesNotLeaveTheLoop) {
    CThrowingFilterDlg dlg;
    After(0, [&] {
        ::PostMessageA(dlg.m_hWnd, WM_KEYDOWN, VK_F9, 1);
        // Ended only if the loop is still running after the exception.
        After(20, [&] { dlg.EndDialog(6); });
    });
    INT_PTR result = -2;
    EXPECT_NO_THROW(result = dlg.DoModal());
    EXPECT_EQ(1, dlg.thrown);
    EXPECT_EQ(6, result);
    EXPECT_FALSE(dlg.IsModalRunning());
    EXPECT_EQ(nullptr, dlg.m_hWnd);
}
