// Drawing one combo-box item into a canvas, as the list does through WM_DRAWITEM.
#pragma once

#include "PowerComboBox.h"
#include "WidgetTestUtil.h"

constexpr COLORREF kItemFill = RGB(102, 102, 102);

inline COLORREF OrColor(COLORREF a, COLORREF b) {
    return a | b;
}

inline void DrawComboItem(CPowerComboBox& combo, DibCanvas& canvas, int itemID, ULONG_PTR itemData,
                          UINT state, RECT rc) {
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_COMBOBOX;
    dis.itemID = (UINT)itemID;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = state;
    dis.hDC = canvas.Dc();
    dis.rcItem = rc;
    dis.itemData = itemData;
    combo.DrawItem(&dis);
}
