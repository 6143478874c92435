// The full-screen video view: a modal popup over the whole screen; Esc leaves it.
#pragma once

#include "Afx.h"
#include "Tellurio.h"

class CDlgFullScreen : public CDialogEx {
    DECLARE_DYNAMIC(CDlgFullScreen)

public:
    explicit CDlgFullScreen(CWnd* pParent = nullptr);
    ~CDlgFullScreen() override;

    void SetPlayer(CTellurio* pPlayer) { m_pPlayer = pPlayer; }
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnInitDialog() override;

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnPaint();
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);

    DECLARE_MESSAGE_MAP()

private:
    CTellurio* m_pPlayer;
};
