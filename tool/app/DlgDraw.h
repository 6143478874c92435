// The embedded video window: a borderless child over group box 1015 that the player draws into.
#pragma once

#include "Afx.h"
#include "Tellurio.h"

class CDlgDraw : public CDialogEx {
    DECLARE_DYNAMIC(CDlgDraw)

public:
    explicit CDlgDraw(CWnd* pParent = nullptr);
    ~CDlgDraw() override;

    // Before the window is created, so that its initialisation fits the player's view to it; the main
    // window's refit sets it again. The window does not own the player.
    void SetPlayer(CTellurio* pPlayer) { m_pPlayer = pPlayer; }

protected:
    BOOL OnInitDialog() override;

    afx_msg LRESULT OnFitDisplay(WPARAM wParam, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnSize(UINT nType, int cx, int cy);

    DECLARE_MESSAGE_MAP()

private:
    CTellurio* m_pPlayer;
};
