#include "DlgFullScreen.h"

#include "AppGlobals.h"
#include "resource.h"

IMPLEMENT_DYNAMIC(CDlgFullScreen, CDialogEx)

// clang-format off
BEGIN_MESSAGE_MAP(CDlgFullScreen, CDialogEx)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_PAINT()
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()
// clang-format on

CDlgFullScreen::CDlgFullScreen(CWnd* pParent) : CDialogEx(IDD_FULLSCREEN, pParent), m_pPlayer(nullptr) {}

CDlgFullScreen::~CDlgFullScreen() {}

BOOL CDlgFullScreen::OnInitDialog() {
    CDialogEx::OnInitDialog();
    int cx = ::GetSystemMetrics(SM_CXSCREEN);
    int cy = ::GetSystemMetrics(SM_CYSCREEN);
    MoveWindow(0, 0, cx, cy, TRUE);
    RECT rc = {0, 0, cx, cy};
    if (m_pPlayer) m_pPlayer->SetDisplayRect(m_hWnd, &rc);
    return TRUE;
}

BOOL CDlgFullScreen::PreTranslateMessage(MSG* pMsg) {
    // The main window takes the video back when it handles this, after this dialog has ended.
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) {
        CWnd* pMain = AfxGetMainWnd();
        if (pMain) pMain->PostMessage(WM_LEAVE_FULLSCREEN, 0, 0);
    }
    return CDialogEx::PreTranslateMessage(pMsg);
}

void CDlgFullScreen::OnLButtonDown(UINT nFlags, CPoint point) {
    if (m_pPlayer) m_pPlayer->MouseEvent(MOUSE_LBUTTONDOWN, point);
    CDialogEx::OnLButtonDown(nFlags, point);
}

void CDlgFullScreen::OnLButtonDblClk(UINT nFlags, CPoint point) {
    if (m_pPlayer) m_pPlayer->MouseEvent(MOUSE_LBUTTONDBLCLK, point);
    CDialogEx::OnLButtonDblClk(nFlags, point);
}

void CDlgFullScreen::OnPaint() {
    CPaintDC dc(this);
    if (m_pPlayer) m_pPlayer->Paint(dc.GetSafeHdc());
}

BOOL CDlgFullScreen::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt) {
    CPoint client = pt;
    ScreenToClient(&client);
    if (m_pPlayer) m_pPlayer->MouseZoom(client, zDelta > 0 ? 1 : 0);
    return CDialogEx::OnMouseWheel(nFlags, zDelta, pt);
}
