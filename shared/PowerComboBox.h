// CPowerComboBox: an owner-drawn combo box whose items show a line of text and up to four icons
// from the picture strip (wireless networks: name, lock, signal strength).
//
// Two builds, chosen per target: LENSKIT's keeps a text per item and draws it; Netquill's, with
// LK_BUILD_NETQUILL defined, keeps only the icon cells and draws the string the item's data value
// points to (a combo without CBS_HASSTRINGS).
#pragma once

#include "framework/Afx.h"

struct PowerComboItem {
    int x[4];    // x offset of icon cell k from the item's left edge
    int icon[4]; // strip cell shown in icon cell k, -1 for none
#ifndef LK_BUILD_NETQUILL
    char text[32];
#endif
};
#ifdef LK_BUILD_NETQUILL
static_assert(sizeof(PowerComboItem) == 32, "Netquill's record: x[4] and icon[4]");
#else
static_assert(sizeof(PowerComboItem) == 64, "the record: x[4], icon[4] and a 32-byte text");
#endif

class CPowerComboBox : public CComboBox {
public:
    static constexpr int MAX_ITEMS = 128;
    static constexpr int ICON_CELLS = 4;

    CPowerComboBox();
    ~CPowerComboBox() override = default;

    void SetBitmap(int nBitmapId, int nCellWidth, int nCellHeight);
    // Items outside 0..127 and cells outside 0..3 are ignored; icon -1 clears the cell.
    void SetItemIcon(int nItem, int nCell, int x, int nIcon);
#ifndef LK_BUILD_NETQUILL
    // Cut to 31 bytes on a whole GBK character.
    void SetItemText(int nItem, const char* text);
#endif
    void ResetItems();

    const PowerComboItem& GetItemRecord(int nItem) const {
        return m_items[nItem];
    }

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

protected:
    DECLARE_MESSAGE_MAP()

private:
    CBitmap m_bmpStrip; // exists only during one DrawItem
    CDC m_dcMem;        // likewise
    int m_nBitmapId = 0;
    int m_nCellWidth = 0;
    int m_nCellHeight = 0;
    PowerComboItem m_items[MAX_ITEMS];
};
