#include "StaticEx.h"

#include "WidgetRes.h"

// clang-format off
BEGIN_MESSAGE_MAP(CStaticEx, CStatic)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
END_MESSAGE_MAP()
// clang-format on

void CStaticEx::SetDefaults() {
    m_nBitmapId = IDB_STRIP_MAIN;
    m_nCellWidth = 25;
    m_nCellHeight = 20;
}

void CStaticEx::SetLevel(int nLevel, int nCellWidth, int nCellHeight) {
    m_nLevel = nLevel;
    m_nCellWidth = nCellWidth;
    m_nCellHeight = nCellHeight;
    Invalidate(TRUE);
}

int CStaticEx::CellForLevel(int nLevel) {
    const int cell = (nLevel % 101 + 19) / 20 - 1;
    return cell < 0 ? 0 : cell;
}

void CStaticEx::DrawLevel(CDC* pDC) {
    CRect rc;
    GetClientRect(&rc);
    if (!m_bmpStrip.LoadBitmap((UINT)(m_nBitmapId & 0xFFFF))) return;
    if (m_dcMem.CreateCompatibleDC(pDC)) {
        HGDIOBJ old = m_dcMem.SelectObject(m_bmpStrip.GetSafeHandle());
        const int cell = CellForLevel(m_nLevel);
        pDC->BitBlt(rc.left, rc.top + 2, m_nCellWidth, m_nCellHeight, &m_dcMem, cell * STRIP_PITCH, 0,
                    SRCCOPY);
        m_dcMem.SelectObject(old);
        m_dcMem.DeleteDC();
    }
    m_bmpStrip.DeleteObject();
}

void CStaticEx::OnPaint() {
    CPaintDC dc(this);
    DrawLevel(&dc);
}

BOOL CStaticEx::OnEraseBkgnd(CDC* pDC) {
    // The picture is drawn instead of erasing; the rest of the control keeps what lies under it.
    DrawLevel(pDC);
    return TRUE;
}

void CStaticEx::OnDestroy() {
    m_bmpStrip.DeleteObject();
    CStatic::OnDestroy();
}
