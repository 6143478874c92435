#include "PowerComboBox.h"

#include "GbkText.h"

#include <cstring>

// clang-format off
BEGIN_MESSAGE_MAP(CPowerComboBox, CComboBox)
END_MESSAGE_MAP()
// clang-format on

namespace {
const COLORREF kItemFill = RGB(102, 102, 102);
}

CPowerComboBox::CPowerComboBox() {
    ResetItems();
}

void CPowerComboBox::SetBitmap(int nBitmapId, int nCellWidth, int nCellHeight) {
    m_nBitmapId = nBitmapId;
    m_nCellWidth = nCellWidth;
    m_nCellHeight = nCellHeight;
}

void CPowerComboBox::SetItemIcon(int nItem, int nCell, int x, int nIcon) {
    if (nItem < 0 || nItem >= MAX_ITEMS || nCell < 0 || nCell >= ICON_CELLS) return;
    m_items[nItem].x[nCell] = x;
    m_items[nItem].icon[nCell] = nIcon;
}

#ifndef LK_BUILD_NETQUILL
void CPowerComboBox::SetItemText(int nItem, const char* text) {
    if (nItem < 0 || nItem >= MAX_ITEMS) return;
    CopyGbkBounded(m_items[nItem].text, sizeof m_items[nItem].text, text);
}
#endif

void CPowerComboBox::ResetItems() {
    std::memset(m_items, 0, sizeof m_items);
    for (PowerComboItem& item : m_items)
        for (int k = 0; k < ICON_CELLS; ++k)
            item.icon[k] = -1;
}

void CPowerComboBox::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
    if (lpDIS->itemData == (ULONG_PTR)-1) return;

    CDC dc;
    dc.Attach(lpDIS->hDC);
    const COLORREF oldText = dc.GetTextColor();
    COLORREF fill = kItemFill;
    if (lpDIS->itemState & ODS_SELECTED) {
        dc.SetTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT));
        dc.SetBkColor(::GetSysColor(COLOR_HIGHLIGHT));
        fill = ::GetSysColor(COLOR_HIGHLIGHT);
    }
    CRect rc(lpDIS->rcItem);
    dc.FillSolidRect(&rc, fill); // also leaves fill as the text's background colour

    // The selection field of an empty combo is drawn with item -1: it has no record.
    const int pos = (int)lpDIS->itemID;
    const PowerComboItem* item = (pos >= 0 && pos < MAX_ITEMS) ? &m_items[pos] : nullptr;

    const int yOffset = (rc.bottom - m_nCellHeight - rc.top) / 2;
    if (item && m_bmpStrip.LoadBitmap((UINT)(m_nBitmapId & 0xFFFF))) {
        if (m_dcMem.CreateCompatibleDC(&dc)) {
            HGDIOBJ old = m_dcMem.SelectObject(m_bmpStrip.GetSafeHandle());
            for (int k = 0; k < ICON_CELLS; ++k) {
                if (item->icon[k] < 0) continue;
                dc.BitBlt(rc.left + item->x[k], rc.top + yOffset, m_nCellWidth, m_nCellHeight, &m_dcMem,
                          item->icon[k] * m_nCellWidth, 0, SRCPAINT);
            }
            m_dcMem.SelectObject(old);
            m_dcMem.DeleteDC();
        }
        m_bmpStrip.DeleteObject();
    }

#ifdef LK_BUILD_NETQUILL
    // The data value is the caller's string; an item without one (the empty selection field) has no text.
    const char* text = (const char*)lpDIS->itemData;
#else
    const char* text = item ? item->text : nullptr;
#endif
    if (text) dc.DrawText(text, -1, &rc, DT_SINGLELINE | DT_VCENTER);

    dc.SetTextColor(oldText);
    dc.SetBkColor(kItemFill);
    dc.Detach();
}
