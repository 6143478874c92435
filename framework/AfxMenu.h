// CMenu: menus and popup menus. Owns its menu (destroyed with the object) unless detached; the
// temporary objects of FromHandle (e.g. GetSystemMenu) do not own theirs.
#pragma once

#include "AfxWnd.h"

class CMenu : public CObject {
public:
    CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    ~CMenu() override { DestroyMenu(); }

    HMENU m_hMenu = nullptr;

    static CMenu* FromHandle(HMENU hMenu);
    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }
    BOOL Attach(HMENU hMenu) {
        m_hMenu = hMenu;
        return hMenu != nullptr;
    }
    HMENU Detach() {
        HMENU h = m_hMenu;
        m_hMenu = nullptr;
        return h;
    }
    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    BOOL CreateMenu() { return Attach(::CreateMenu()); }
    BOOL LoadMenu(UINT nIDResource);
    BOOL DestroyMenu();
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCSTR lpszNewItem = nullptr) {
        return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
    }
    BOOL DeleteMenu(UINT nPosition, UINT nFlags) { return ::DeleteMenu(m_hMenu, nPosition, nFlags); }
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
        return ::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable);
    }
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    CMenu* GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }
    // Runs the menu's own modal loop; with TPM_RETURNCMD returns the chosen id instead of posting it.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr) {
        return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->m_hWnd : nullptr, lpRect);
    }
};
