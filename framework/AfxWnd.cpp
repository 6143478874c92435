#include "AfxWnd.h"

#include "AfxApp.h"
#include "AfxDDX.h"
#include "AfxImpl.h"
#include "AfxMenu.h"

namespace {
// This module's HWND -> object map. Other threads may look windows up (GetDlgItem from a worker).
// Never destroyed: global window objects of the program may still look themselves up at exit.
std::mutex& MapLock() {
    static std::mutex* lock = new std::mutex;
    return *lock;
}
std::unordered_map<HWND, CWnd*>& Permanent() {
    static auto* map = new std::unordered_map<HWND, CWnd*>;
    return *map;
}
AfxTempMap<CWnd, HWND> g_tempWnds;

// Timer calls from threads that do not own the window, carried over to the owner thread.
UINT TimerSetMsg() {
    static const UINT msg = ::RegisterWindowMessageA("LkFramework.SetTimer");
    return msg;
}
UINT TimerKillMsg() {
    static const UINT msg = ::RegisterWindowMessageA("LkFramework.KillTimer");
    return msg;
}

bool OwnedByOtherThread(HWND hWnd) {
    return ::GetWindowThreadProcessId(hWnd, nullptr) != ::GetCurrentThreadId();
}
} // namespace

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)
IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

// ---- message maps ---------------------------------------------------------------------------------

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr, AfxSig_end, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const {
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e) {
            bool match = false;
            switch (e->nSig) {
            case AfxSig_msg:
                match = e->nMessage == nMessage;
                break;
            case AfxSig_ctlcolor:
                match = nMessage >= WM_CTLCOLORMSGBOX && nMessage <= WM_CTLCOLORSTATIC;
                break;
            case AfxSig_command:
                match = nMessage == WM_COMMAND && e->nCode == nCode && e->nID == nID;
                break;
            case AfxSig_notify:
                match = nMessage == WM_NOTIFY && e->nCode == nCode && e->nID == nID;
                break;
            case AfxSig_regmsg:
                match = *e->pnRegMessage != 0 && *e->pnRegMessage == nMessage;
                break;
            }
            if (match) return e;
        }
    }
    return nullptr;
}

// ---- binding --------------------------------------------------------------------------------------

CWnd::~CWnd() {
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        // A window must not outlive its object: destroying it unbinds it on WM_NCDESTROY.
        if (!OwnedByOtherThread(m_hWnd)) ::DestroyWindow(m_hWnd);
        if (m_hWnd) UnsubclassWindow();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (!hWnd) return nullptr;
    std::lock_guard<std::mutex> lock(MapLock());
    auto it = Permanent().find(hWnd);
    return it == Permanent().end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (CWnd* p = FromHandlePermanent(hWnd)) return p;
    return g_tempWnds.Get(hWnd);
}

BOOL CWnd::Attach(HWND hWnd) {
    if (!hWnd || m_hWnd) return FALSE;
    std::lock_guard<std::mutex> lock(MapLock());
    if (!Permanent().emplace(hWnd, this).second) return FALSE;
    m_hWnd = hWnd;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND h = m_hWnd;
    if (h) {
        std::lock_guard<std::mutex> lock(MapLock());
        auto it = Permanent().find(h);
        if (it != Permanent().end() && it->second == this) Permanent().erase(it);
    }
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!Attach(hWnd)) return FALSE;
    m_pfnSuper = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
    if (!m_pfnSuper) {
        Detach();
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    HWND h = ::GetDlgItem(pParent->m_hWnd, (int)nID);
    return h ? SubclassWindow(h) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
    if (m_hWnd && m_pfnSuper && (WNDPROC)::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC) == AfxWndProc)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
    m_pfnSuper = nullptr;
    return Detach();
}

// ---- dispatch -------------------------------------------------------------------------------------

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd) return ::DefWindowProcA(hWnd, message, wParam, lParam);
    if (message == TimerSetMsg()) return (LRESULT)::SetTimer(hWnd, wParam, (UINT)lParam, nullptr);
    if (message == TimerKillMsg()) return ::KillTimer(hWnd, wParam);

    MSG saved = pWnd->m_currentMsg;
    pWnd->m_currentMsg = MSG{hWnd, message, wParam, lParam, 0, {0, 0}};
    LRESULT result = 0;
    try {
        result = pWnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        // No exception may unwind through user32.
        ::OutputDebugStringA("exception escaped a message handler\n");
        result = 0;
    }
    if (message == WM_NCDESTROY) {
        if (CWnd::FromHandlePermanent(hWnd) == pWnd) {
            pWnd->UnsubclassWindow();
            pWnd->PostNcDestroy();
        }
    } else if (CWnd::FromHandlePermanent(hWnd) == pWnd) {
        pWnd->m_currentMsg = saved;
    }
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(m_currentMsg.message, m_currentMsg.wParam, m_currentMsg.lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    // Menus and accelerators (no control handle) count as code 0, like a button click.
    UINT code = lParam ? HIWORD(wParam) : 0;
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(WM_COMMAND, code, LOWORD(wParam));
    if (!e) return FALSE;
    e->pfnThunk(this, WM_COMMAND, wParam, lParam);
    return TRUE;
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    NMHDR* pNMHDR = (NMHDR*)lParam;
    if (!pNMHDR) return FALSE;
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(WM_NOTIFY, pNMHDR->code, (UINT)pNMHDR->idFrom);
    if (!e) return FALSE;
    *pResult = e->pfnThunk(this, WM_NOTIFY, wParam, lParam);
    return TRUE;
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) {
    return FALSE;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) return OnCommand(wParam, lParam);
    if (message == WM_NOTIFY) return OnNotify(wParam, lParam, pResult);

    // Owner-draw messages go to the object of the control that owns the item, if there is one.
    if (message == WM_DRAWITEM && lParam) {
        auto* pDIS = (LPDRAWITEMSTRUCT)lParam;
        CWnd* pChild = pDIS->CtlType == ODT_MENU ? nullptr : FromHandlePermanent(pDIS->hwndItem);
        if (pChild && pChild->OnChildNotify(message, wParam, lParam, pResult)) return TRUE;
    } else if (message == WM_MEASUREITEM && lParam) {
        // Sent while the control is still being created too: then no object owns it yet, and the
        // message goes on to this window's own OnMeasureItem entry or default processing.
        auto* pMIS = (LPMEASUREITEMSTRUCT)lParam;
        CWnd* pChild =
            pMIS->CtlType == ODT_MENU ? nullptr : FromHandlePermanent(::GetDlgItem(m_hWnd, (int)pMIS->CtlID));
        if (pChild && pChild->OnChildNotify(message, wParam, lParam, pResult)) return TRUE;
    }

    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(message, 0, 0);
    if (!e) return FALSE;
    *pResult = e->pfnThunk(this, message, wParam, lParam);
    return TRUE;
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

BOOL AfxPreTranslateMessage(MSG* pMsg) {
    // Runs in the message loops, outside any window procedure: an exception from a filter would
    // otherwise leave the modal loop with its owner disabled. The message is then dispatched as usual.
    try {
        for (HWND h = pMsg->hwnd; h;) {
            CWnd* pWnd = CWnd::FromHandlePermanent(h);
            if (pWnd && pWnd->PreTranslateMessage(pMsg)) return TRUE;
            if (!(::GetWindowLongA(h, GWL_STYLE) & WS_CHILD)) break;
            h = ::GetParent(h);
        }
    } catch (...) {
        ::OutputDebugStringA("exception escaped PreTranslateMessage\n");
    }
    return FALSE;
}

// ---- members with more than one call ----------------------------------------------------------------

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    DWORD style = GetStyle(), changed = (style & ~dwRemove) | dwAdd;
    if (style == changed) return FALSE;
    ::SetWindowLongA(m_hWnd, GWL_STYLE, (LONG)changed);
    if (nFlags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    DWORD style = GetExStyle(), changed = (style & ~dwRemove) | dwAdd;
    if (style == changed) return FALSE;
    ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, (LONG)changed);
    if (nFlags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

void CWnd::GetWindowText(CString& rString) const {
    int len = ::GetWindowTextLengthA(m_hWnd);
    ::GetWindowTextA(m_hWnd, rString.GetBuffer(len + 1), len + 1);
    rString.ReleaseBuffer();
}

int CWnd::GetDlgItemText(int nID, CString& rString) const {
    rString.Empty();
    if (HWND h = ::GetDlgItem(m_hWnd, nID)) FromHandle(h)->GetWindowText(rString);
    return rString.GetLength();
}

int CWnd::MessageBox(LPCSTR lpszText, LPCSTR lpszCaption, UINT nType) {
    return ::MessageBoxA(m_hWnd, lpszText, lpszCaption ? lpszCaption : AfxGetAppName(), nType);
}

CWnd* CWnd::GetDlgItem(int nID) const {
    HWND h = ::GetDlgItem(m_hWnd, nID);
    return h ? FromHandle(h) : nullptr;
}

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer) {
    if (!lpfnTimer && m_hWnd && OwnedByOtherThread(m_hWnd) && FromHandlePermanent(m_hWnd))
        return ::PostMessageA(m_hWnd, TimerSetMsg(), nIDEvent, (LPARAM)nElapse) ? nIDEvent : 0;
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent) {
    if (m_hWnd && OwnedByOtherThread(m_hWnd) && FromHandlePermanent(m_hWnd))
        return ::PostMessageA(m_hWnd, TimerKillMsg(), nIDEvent, 0);
    return ::KillTimer(m_hWnd, nIDEvent);
}

void CWnd::ScreenToClient(LPRECT lpRect) const {
    ::ScreenToClient(m_hWnd, (LPPOINT)lpRect);
    ::ScreenToClient(m_hWnd, ((LPPOINT)lpRect) + 1);
}

void CWnd::ClientToScreen(LPRECT lpRect) const {
    ::ClientToScreen(m_hWnd, (LPPOINT)lpRect);
    ::ClientToScreen(m_hWnd, ((LPPOINT)lpRect) + 1);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
    HWND hOwner = pAlternateOwner ? pAlternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    if (GetStyle() & WS_CHILD) hOwner = ::GetParent(m_hWnd);
    CRect area, self;
    GetWindowRect(&self);
    if (hOwner && ::IsWindowVisible(hOwner) && !::IsIconic(hOwner)) {
        ::GetWindowRect(hOwner, &area);
    } else {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    int x = area.left + (area.Width() - self.Width()) / 2, y = area.top + (area.Height() - self.Height()) / 2;
    if (GetStyle() & WS_CHILD) {
        POINT p = {x, y};
        ::ScreenToClient(hOwner, &p);
        x = p.x;
        y = p.y;
    }
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const {
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert));
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const AfxExchangeFailed&) {
        return FALSE;
    }
    return TRUE;
}
