#include "MyButton.h"

IMPLEMENT_DYNAMIC(CMyButton, CButton)

// clang-format off
BEGIN_MESSAGE_MAP(CMyButton, CButton)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()
// clang-format on

void CMyButton::PostState(int pressed) {
    // Posted, not sent: the parent sees it after the button has finished with the mouse message.
    // Without a parent the message goes to the thread's queue.
    ::PostMessageA(::GetParent(m_hWnd), WM_MYBUTTON_STATE, (WPARAM)GetDlgCtrlID(), (LPARAM)pressed);
}

void CMyButton::OnLButtonDown(UINT nFlags, CPoint point) {
    PostState(1);
    CButton::OnLButtonDown(nFlags, point);
}

void CMyButton::OnLButtonUp(UINT nFlags, CPoint point) {
    PostState(0);
    CButton::OnLButtonUp(nFlags, point);
}
