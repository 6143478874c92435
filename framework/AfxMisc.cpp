// Menus, the file dialog and the notification-area icon.
#include <cstddef>
#include <cstring>

#include "AfxApp.h"
#include "AfxFileDialog.h"
#include "AfxImpl.h"
#include "AfxMenu.h"
#include "AfxTrayIcon.h"

namespace {
AfxTempMap<CMenu, HMENU> g_tempMenus;
}

CMenu* CMenu::FromHandle(HMENU hMenu) {
    return g_tempMenus.Get(hMenu);
}

BOOL CMenu::LoadMenu(UINT nIDResource) {
    return Attach(::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource)));
}

BOOL CMenu::DestroyMenu() {
    if (!m_hMenu) return FALSE;
    return ::DestroyMenu(Detach());
}

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName, DWORD dwFlags,
                         LPCSTR lpszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog), m_pParentWnd(pParentWnd), m_strDefExt(lpszDefExt) {
    if (lpszFileName) lstrcpynA(m_szFile, lpszFileName, sizeof m_szFile);
    if (lpszFilter) {
        // "Text|*.txt|All|*.*||" -> the NUL-separated, double-NUL-ended list the dialog wants.
        for (const char* p = lpszFilter; *p; ++p)
            m_strFilter += *p == '|' ? '\0' : *p;
        m_strFilter += '\0';
    }
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
}

INT_PTR CFileDialog::DoModal() {
    m_ofn.hwndOwner = m_pParentWnd && m_pParentWnd->m_hWnd ? m_pParentWnd->m_hWnd : AfxPickOwner();
    m_ofn.hInstance = AfxGetResourceHandle();
    m_ofn.lpstrFile = m_szFile;
    m_ofn.nMaxFile = sizeof m_szFile;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof m_szFileTitle;
    m_ofn.lpstrFilter = m_strFilter.IsEmpty() ? nullptr : m_strFilter.GetString();
    m_ofn.lpstrDefExt = m_strDefExt.IsEmpty() ? nullptr : m_strDefExt.GetString();
    BOOL ok = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    return ok ? IDOK : IDCANCEL;
}

CString CFileDialog::GetFileName() const {
    CString path(m_szFile);
    return path.Mid(path.ReverseFind('\\') + 1);
}

CString CFileDialog::GetFileExt() const {
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

static_assert(offsetof(NOTIFYICONDATAA, guidItem) + sizeof(GUID) == CTrayIcon::kRecordSize,
              "the version-3 notify-icon record is 504 bytes on 32-bit Windows");

void CTrayIcon::Fill(NOTIFYICONDATAA& rec, HWND hWnd, UINT uID, UINT uFlags, UINT uCallbackMessage,
                     HICON hIcon, LPCSTR lpszTip) {
    memset(&rec, 0, sizeof rec);
    rec.cbSize = kRecordSize;
    rec.hWnd = hWnd;
    rec.uID = uID;
    rec.uFlags = uFlags;
    rec.uCallbackMessage = uCallbackMessage;
    rec.hIcon = hIcon;
    if (!lpszTip) return;
    // Bounded copy that stops before a double-byte character which would not fit whole.
    const size_t limit = sizeof rec.szTip - 1, len = strlen(lpszTip);
    size_t n = 0;
    while (n < len) {
        const size_t step = AfxCharBytes(lpszTip, n, len);
        if (n + step > limit) break;
        n += step;
    }
    memcpy(rec.szTip, lpszTip, n);
    rec.szTip[n] = '\0';
}

BOOL CTrayIcon::Notify(DWORD dwMessage, HWND hWnd, UINT uID, UINT uFlags, UINT uCallbackMessage, HICON hIcon,
                       LPCSTR lpszTip) {
    NOTIFYICONDATAA rec;
    Fill(rec, hWnd, uID, uFlags, uCallbackMessage, hIcon, lpszTip);
    return ::Shell_NotifyIconA(dwMessage, &rec);
}
