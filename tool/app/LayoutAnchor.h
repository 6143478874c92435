// LayoutAnchor: makes a fixed dialog resizable. A table of LayoutEntry names the controls and how each
// moves and grows with the client area; the dialog cannot be made smaller than it was at Init.
//
// The owner calls Init once its controls exist, OnSize from WM_SIZE and OnGetMinMaxInfo from
// WM_GETMINMAXINFO. The table is not owned and must outlive the anchor; Init writes the minimum sizes
// of the keep-minimum entries into it.
#pragma once

#include <windows.h>

#include "LayoutCore.h"

class LayoutAnchor {
public:
    LayoutAnchor() = default;
    LayoutAnchor(const LayoutAnchor&) = delete;
    LayoutAnchor& operator=(const LayoutAnchor&) = delete;

    void Init(LayoutEntry* pTable, unsigned nCount, HWND hDlg);
    void OnSize(unsigned nType, int cx, int cy);
    void OnGetMinMaxInfo(MINMAXINFO* pInfo) const;

    int GetBaseWidth() const { return m_nBaseWidth; }
    int GetBaseHeight() const { return m_nBaseHeight; }
    int GetMinWidth() const { return m_nMinWidth; }
    int GetMinHeight() const { return m_nMinHeight; }

private:
    int32_t m_nBaseWidth = 0; // client size the next change is measured against
    int32_t m_nBaseHeight = 0;
    int32_t m_nMinWidth = 0; // window size at Init: the smallest the dialog may be dragged to
    int32_t m_nMinHeight = 0;
    LayoutEntry* m_pTable = nullptr;
    unsigned m_nCount = 0;
    HWND m_hDlg = nullptr;
};
