#include "DlgDraw.h"

#include "AppGlobals.h"
#include "resource.h"

IMPLEMENT_DYNAMIC(CDlgDraw, CDialogEx)

// clang-format off
BEGIN_MESSAGE_MAP(CDlgDraw, CDialogEx)
    ON_MESSAGE(WM_FIT_DISPLAY, OnFitDisplay)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONUP()
    ON_WM_MOUSEWHEEL()
    ON_WM_SIZE()
END_MESSAGE_MAP()
// clang-format on

CDlgDraw::CDlgDraw(CWnd* pParent) : CDialogEx(IDD_DRAW, pParent), m_pPlayer(nullptr) {}

CDlgDraw::~CDlgDraw() {}

BOOL CDlgDraw::OnInitDialog() {
    CDialogEx::OnInitDialog();
    CRect rc;
    GetClientRect(&rc);
    if (m_pPlayer) m_pPlayer->SetDisplayRect(m_hWnd, &rc);
    return TRUE;
}

LRESULT CDlgDraw::OnFitDisplay(WPARAM, LPARAM) {
    if (!m_pPlayer) return 0;
    // Any program on the desktop can post this message: its parameters are never read, the view is
    // fitted to our own client area.
    CRect rc;
    GetClientRect(&rc);
    m_pPlayer->SetDisplayRect(m_hWnd, &rc);
    m_pPlayer->WindowMoved();
    return 0;
}

void CDlgDraw::OnPaint() {
    CPaintDC dc(this);
    if (m_pPlayer) m_pPlayer->Paint(dc.GetSafeHdc());
}

void CDlgDraw::OnLButtonDown(UINT nFlags, CPoint point) {
    if (m_pPlayer) m_pPlayer->MouseEvent(MOUSE_LBUTTONDOWN, point);
    CWnd* pParent = GetParent();
    if (pParent) pParent->PostMessage(WM_VIDEO_CLICKED, 0, 0);
    CDialogEx::OnLButtonDown(nFlags, point);
}

void CDlgDraw::OnLButtonDblClk(UINT nFlags, CPoint point) {
    if (m_pPlayer) m_pPlayer->MouseEvent(MOUSE_LBUTTONDBLCLK, point);
    CDialogEx::OnLButtonDblClk(nFlags, point);
}

void CDlgDraw::OnRButtonUp(UINT nFlags, CPoint point) {
    if (m_pPlayer) m_pPlayer->MouseEvent(MOUSE_RBUTTONUP, point);
    CDialogEx::OnRButtonUp(nFlags, point);
}

BOOL CDlgDraw::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
    CPoint client = pt;
    ScreenToClient(&client);
    if (m_pPlayer) m_pPlayer->MouseZoom(client, zDelta > 0 ? 1 : 0);
    return CDialogEx::OnMouseWheel(nFlags, zDelta, pt);
}

void CDlgDraw::OnSize(UINT nType, int cx, int cy) {
    CDialogEx::OnSize(nType, cx, cy);
    if (!m_pPlayer) return;
    CRect rc;
    GetClientRect(&rc);
    m_pPlayer->SetDisplayRect(m_hWnd, &rc);
    m_pPlayer->WindowMoved();
}
