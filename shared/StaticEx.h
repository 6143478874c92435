// CStaticEx: a static control that shows a signal level 0..100 as one of the five bar cells of the
// picture strip.
#pragma once

#include "framework/Afx.h"

class CStaticEx : public CStatic {
public:
    CStaticEx() = default;
    ~CStaticEx() override = default;

    // Strip 136 with cells of 25 x 20.
    void SetDefaults();
    // Stores the values and has the whole control erased and repainted.
    void SetLevel(int nLevel, int nCellWidth, int nCellHeight);
    void DrawLevel(CDC* pDC);

    // The bar cell for a level: (level mod 101 + 19) / 20 - 1 in signed arithmetic, at least 0, so
    // 0..20 -> 0, 21..40 -> 1, ... 81..100 -> 4, and 101 -> 0, 150 -> 2, negatives -> 0.
    static int CellForLevel(int nLevel);

    int GetLevel() const { return m_nLevel; }

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    static constexpr int STRIP_PITCH = 25; // cell pitch of the strip, whatever size is drawn

    CBitmap m_bmpStrip; // exists only during one drawing
    CDC m_dcMem;        // likewise
    int m_nBitmapId = 0;
    int m_nCellWidth = 0;
    int m_nCellHeight = 0;
    int m_nLevel = 0;
};
