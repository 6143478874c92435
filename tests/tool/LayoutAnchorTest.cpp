// LayoutAnchor on the real main-window template: the dialog is created from template 102 with a
// procedure that routes WM_SIZE and WM_GETMINMAXINFO to the anchor, as the main window does.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>

#include "LayoutAnchor.h"
#include "MainLayout.h"
#include "resource.h"

namespace {

INT_PTR CALLBACK AnchoredDialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* anchor = reinterpret_cast<LayoutAnchor*>(GetWindowLongPtrA(hDlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_SIZE:
        if (anchor) anchor->OnSize((unsigned)wParam, LOWORD(lParam), HIWORD(lParam));
        return FALSE;
    case WM_GETMINMAXINFO:
        if (anchor) anchor->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return FALSE; // the default processing follows
    }
    return FALSE;
}

RECT ClientRectOf(HWND hDlg, int id) {
    RECT rc{};
    GetWindowRect(GetDlgItem(hDlg, id), &rc);
    MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

SIZE ClientSize(HWND h) {
    RECT rc;
    GetClientRect(h, &rc);
    return {rc.right, rc.bottom};
}

SIZE WindowSize(HWND h) {
    RECT rc;
    GetWindowRect(h, &rc);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

class AnchoredMainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&icc);
        m_hDlg = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LENSKIT_DIALOG), nullptr,
                                    AnchoredDialogProc, 0);
        ASSERT_NE(m_hDlg, nullptr) << "template 102 did not make a window, error " << GetLastError();
    }
    void TearDown() override {
        if (m_hDlg) DestroyWindow(m_hDlg);
    }

    void Anchor() {
        m_anchor.Init(MainLayoutTable(), kMainLayoutCount, m_hDlg);
        SetWindowLongPtrA(m_hDlg, DWLP_USER, (LONG_PTR)&m_anchor);
    }

    std::map<int, RECT> Snapshot() const {
        std::map<int, RECT> rects;
        for (HWND h = GetWindow(m_hDlg, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
            if (GetDlgCtrlID(h) != -1 && GetDlgCtrlID(h) != 0xFFFF)
                rects[GetDlgCtrlID(h)] = ClientRectOf(m_hDlg, GetDlgCtrlID(h));
        return rects;
    }

    void ResizeWindowBy(int dw, int dh) {
        SIZE s = WindowSize(m_hDlg);
        SetWindowPos(m_hDlg, nullptr, 0, 0, s.cx + dw, s.cy + dh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    HWND m_hDlg = nullptr;
    LayoutAnchor m_anchor;
};

bool InMainTable(int id) {
    for (unsigned i = 0; i < kMainLayoutCount; ++i)
        if (MainLayoutTable()[i].nId == id) return true;
    return false;
}

::testing::AssertionResult RectIs(const RECT& got, int left, int top, int right, int bottom) {
    if (got.left == left && got.top == top && got.right == right && got.bottom == bottom)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "got (" << got.left << ", " << got.top << ")-(" << got.right << ", " << got.bottom
           << "), expected (" << left << ", " << top << ")-(" << right << ", " << bottom << ")";
}

TEST_F(AnchoredMainWindow, InitMakesTheDialogResizableAndFixesItsMinimum) {
    ASSERT_FALSE(GetWindowLongA(m_hDlg, GWL_STYLE) & WS_THICKFRAME)
        << "the template is not resizable by itself";
    const SIZE client = ClientSize(m_hDlg);
    Anchor();

    EXPECT_TRUE(GetWindowLongA(m_hDlg, GWL_STYLE) & WS_THICKFRAME);
    const SIZE window = WindowSize(m_hDlg);
    EXPECT_EQ(m_anchor.GetMinWidth(), window.cx);
    EXPECT_EQ(m_anchor.GetMinHeight(), window.cy);
    EXPECT_EQ(m_anchor.GetBaseWidth(), client.cx);
    EXPECT_EQ(m_anchor.GetBaseHeight(), client.cy);

    MINMAXINFO mmi{};
    m_anchor.OnGetMinMaxInfo(&mmi);
    EXPECT_EQ(mmi.ptMinTrackSize.x, window.cx);
    EXPECT_EQ(mmi.ptMinTrackSize.y, window.cy);

    // An anchor that never saw its dialog leaves the system's minimum alone and moves nothing.
    LayoutAnchor unset;
    MINMAXINFO untouched{};
    untouched.ptMinTrackSize = {123, 45};
    unset.OnGetMinMaxInfo(&untouched);
    EXPECT_EQ(untouched.ptMinTrackSize.x, 123);
    EXPECT_EQ(untouched.ptMinTrackSize.y, 45);
    unset.Init(MainLayoutTable(), kMainLayoutCount, nullptr);
    const auto before = Snapshot();
    unset.OnSize(SIZE_RESTORED, client.cx + 50, client.cy + 50);
    EXPECT_EQ(unset.GetMinWidth(), 0);
    for (const auto& [id, rc] : Snapshot()) {
        const RECT& was = before.at(id);
        EXPECT_TRUE(RectIs(rc, was.left, was.top, was.right, was.bottom)) << "control " << id;
    }
}

TEST_F(AnchoredMainWindow, GrowingMovesTheColumnAndGrowsTheVideoArea) {
    Anchor();
    const auto before = Snapshot();
    const int baseW = m_anchor.GetBaseWidth(), baseH = m_anchor.GetBaseHeight();

    ResizeWindowBy(120, 80);

    const SIZE client = ClientSize(m_hDlg);
    const int dx = client.cx - baseW, dy = client.cy - baseH;
    ASSERT_GT(dx, 0);
    ASSERT_GT(dy, 0);
    EXPECT_EQ(m_anchor.GetBaseWidth(), client.cx) << "the handled size is the new base";
    EXPECT_EQ(m_anchor.GetBaseHeight(), client.cy);

    const auto after = Snapshot();
    for (const auto& [id, was] : before) {
        SCOPED_TRACE(::testing::Message() << "control " << id);
        const RECT& now = after.at(id);
        if (id == IDC_STATIC_VIDEO)
            EXPECT_TRUE(RectIs(now, was.left, was.top, was.right + dx, was.bottom + dy))
                << "the group box grows";
        else if (InMainTable(id))
            EXPECT_TRUE(RectIs(now, was.left + dx, was.top + dy, was.right + dx, was.bottom + dy))
                << "follows the corner";
        else
            EXPECT_TRUE(RectIs(now, was.left, was.top, was.right, was.bottom)) << "not anchored: stays";
    }

    // A second change is measured from the size handled last, not from the opening size.
    ResizeWindowBy(-40, -20);
    const SIZE smaller = ClientSize(m_hDlg);
    const RECT list = ClientRectOf(m_hDlg, IDC_LIST_DEVICES);
    const RECT& listAtStart = before.at(IDC_LIST_DEVICES);
    EXPECT_TRUE(RectIs(list, listAtStart.left + smaller.cx - baseW, listAtStart.top + smaller.cy - baseH,
                       listAtStart.right + smaller.cx - baseW, listAtStart.bottom + smaller.cy - baseH));
}

TEST_F(AnchoredMainWindow, ShrinkingBelowTheOpeningSizeIsRefused) {
    Anchor();
    const SIZE opening = WindowSize(m_hDlg);
    const auto before = Snapshot();

    ResizeWindowBy(-200, -150);

    const SIZE now = WindowSize(m_hDlg);
    EXPECT_EQ(now.cx, opening.cx) << "the minimum tracking size must hold the width";
    EXPECT_EQ(now.cy, opening.cy) << "the minimum tracking size must hold the height";
    const RECT list = ClientRectOf(m_hDlg, IDC_LIST_DEVICES);
    const RECT& was = before.at(IDC_LIST_DEVICES);
    EXPECT_TRUE(RectIs(list, was.left, was.top, was.right, was.bottom));
}

TEST_F(AnchoredMainWindow, MinimiseAndTheSameSizeMoveNothing) {
    Anchor();
    const auto before = Snapshot();
    const int baseW = m_anchor.GetBaseWidth(), baseH = m_anchor.GetBaseHeight();

    // What a minimise and the restore after it report.
    SendMessageA(m_hDlg, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
    EXPECT_EQ(m_anchor.GetBaseWidth(), baseW) << "a minimise is not a size";
    EXPECT_EQ(m_anchor.GetBaseHeight(), baseH);
    SendMessageA(m_hDlg, WM_SIZE, SIZE_RESTORED, MAKELPARAM(baseW, baseH));

    for (const auto& [id, rc] : Snapshot()) {
        const RECT& was = before.at(id);
        EXPECT_TRUE(RectIs(rc, was.left, was.top, was.right, was.bottom)) << "control " << id;
    }
}

TEST_F(AnchoredMainWindow, KeepMinimumEntriesRememberTheirControlsAtInit) {
    LayoutEntry table[] = {
        {IDC_LIST_DEVICES, LAYOUT_GROW_WH, 100, 0, true, 0, 0},
        {IDC_EDIT_SHIFT, LAYOUT_GROW_WH, 100, 0, true, 0, 0}, // not in the template
    };
    m_anchor.Init(table, 2, m_hDlg);
    RECT rc;
    GetClientRect(GetDlgItem(m_hDlg, IDC_LIST_DEVICES), &rc);
    EXPECT_EQ(table[0].nMinWidth, rc.right);
    EXPECT_EQ(table[0].nMinHeight, rc.bottom);
    EXPECT_EQ(table[1].nMinWidth, 0);
    EXPECT_EQ(table[1].nMinHeight, 0);
}

} // namespace
