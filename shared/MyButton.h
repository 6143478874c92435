// CMyButton: a push button that tells its parent when the left mouse button goes down on it and when
// it comes up, so the parent can act on both (pan-tilt keys run while held).
#pragma once

#include "framework/Afx.h"

// Posted to the parent: wParam the button's control id, lParam 1 pressed, 0 released.
constexpr UINT WM_MYBUTTON_STATE = WM_USER + 310; // 0x536

class CMyButton : public CButton {
    DECLARE_DYNAMIC(CMyButton)
public:
    CMyButton() = default;
    ~CMyButton() override = default;

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    void PostState(int pressed);
};
