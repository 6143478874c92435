#include "LayoutAnchor.h"

#include "resource.h"

namespace {

// The dialog's controls as the anchoring arithmetic sees them: rectangles in client coordinates.
class DialogControls final : public LayoutControls {
public:
    explicit DialogControls(HWND hDlg) : m_hDlg(hDlg) {}

    bool GetBox(int nId, LayoutBox* pBox) override {
        HWND hCtl = GetDlgItem(m_hDlg, nId);
        RECT rc;
        if (!hCtl || !GetWindowRect(hCtl, &rc)) return false;
        MapWindowPoints(nullptr, m_hDlg, reinterpret_cast<POINT*>(&rc), 2);
        *pBox = {rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
        return true;
    }

    void MoveTo(int nId, const LayoutBox& b) override {
        MoveWindow(GetDlgItem(m_hDlg, nId), b.x, b.y, b.w, b.h, TRUE);
    }

private:
    HWND m_hDlg;
};

} // namespace

void LayoutAnchor::Init(LayoutEntry* pTable, unsigned nCount, HWND hDlg) {
    m_pTable = pTable;
    m_nCount = nCount;
    if (!IsWindow(hDlg)) return;

    RECT rc;
    GetClientRect(hDlg, &rc);
    m_nBaseWidth = rc.right - rc.left;
    m_nBaseHeight = rc.bottom - rc.top;

    // A sizing border is what lets the user drag the dialog's edges at all.
    SetWindowLongA(hDlg, GWL_STYLE, GetWindowLongA(hDlg, GWL_STYLE) | WS_THICKFRAME);
    GetWindowRect(hDlg, &rc);
    m_nMinWidth = rc.right - rc.left;
    m_nMinHeight = rc.bottom - rc.top;
    m_hDlg = hDlg;

    for (unsigned i = 0; pTable && i < nCount; ++i) {
        LayoutEntry& e = pTable[i];
        HWND hCtl = GetDlgItem(hDlg, e.nId);
        if (!e.bKeepMin || !hCtl) continue;
        GetClientRect(hCtl, &rc);
        e.nMinWidth = rc.right - rc.left;
        e.nMinHeight = rc.bottom - rc.top;
    }
}

void LayoutAnchor::OnSize(unsigned nType, int cx, int cy) {
    if (!m_pTable || m_nCount == 0 || !m_hDlg) return;
    const int dx = cx - m_nBaseWidth;
    const int dy = cy - m_nBaseHeight;
    // A minimise is no size of its own: the restore that follows then finds no change.
    if ((dx == 0 && dy == 0) || nType == SIZE_MINIMIZED) return;

    DialogControls controls(m_hDlg);
    if (!LayoutApply(m_pTable, m_nCount, IDC_STATIC_VIDEO, controls, dx, dy, cx, cy)) return;
    m_nBaseWidth = cx;
    m_nBaseHeight = cy;
    InvalidateRect(m_hDlg, nullptr, FALSE);
}

void LayoutAnchor::OnGetMinMaxInfo(MINMAXINFO* pInfo) const {
    if (pInfo && m_nMinWidth > 0 && m_nMinHeight > 0) {
        pInfo->ptMinTrackSize.x = m_nMinWidth;
        pInfo->ptMinTrackSize.y = m_nMinHeight;
    }
}
