#include "AfxDialog.h"

#include "AfxApp.h"
#include "AfxImpl.h"

namespace {
// The object to bind to the next window this thread creates (the dialog itself comes first).
thread_local CWnd* t_pWndInit = nullptr;
thread_local HHOOK t_hHook = nullptr;

LRESULT CALLBACK BindOnCreate(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HCBT_CREATEWND && t_pWndInit) {
        CWnd* pWnd = t_pWndInit;
        t_pWndInit = nullptr;
        pWnd->SubclassWindow((HWND)wParam);
    }
    return ::CallNextHookEx(t_hHook, nCode, wParam, lParam);
}

// The dialog's own procedure does nothing: the framework's window procedure, subclassed in front
// of the dialog manager's, handles every message and returns results directly.
INT_PTR CALLBACK NullDlgProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}
} // namespace

IMPLEMENT_DYNAMIC(CDialog, CWnd)
IMPLEMENT_DYNAMIC(CDialogEx, CDialog)

// clang-format off
BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()
// clang-format on

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd) {}

HWND CDialog::PickOwner(CWnd* pParentWnd) {
    if (pParentWnd && pParentWnd->m_hWnd) return ::GetAncestor(pParentWnd->m_hWnd, GA_ROOT);
    return AfxPickOwner();
}

BOOL CDialog::CreateFromTemplate(LPCSTR lpszTemplateName, HWND hWndParent) {
    if (m_hWnd || !lpszTemplateName) return FALSE;
    AfxInitCommonControls();
    HINSTANCE hRes = AfxGetResourceHandle();
    HRSRC hInfo = ::FindResourceA(hRes, lpszTemplateName, (LPCSTR)RT_DIALOG);
    HGLOBAL hTemplate = hInfo ? ::LoadResource(hRes, hInfo) : nullptr;
    auto* pTemplate = hTemplate ? (LPCDLGTEMPLATEA)::LockResource(hTemplate) : nullptr;
    if (!pTemplate) return FALSE;

    HHOOK hOuterHook = t_hHook;
    t_hHook = ::SetWindowsHookExA(WH_CBT, BindOnCreate, nullptr, ::GetCurrentThreadId());
    t_pWndInit = this;
    HWND hWnd = ::CreateDialogIndirectParamA(hRes, pTemplate, hWndParent, NullDlgProc, 0);
    t_pWndInit = nullptr;
    ::UnhookWindowsHookEx(t_hHook);
    t_hHook = hOuterHook;
    return hWnd != nullptr && hWnd == m_hWnd;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    return Create(MAKEINTRESOURCEA(nIDTemplate), pParentWnd);
}

BOOL CDialog::Create(LPCSTR lpszTemplateName, CWnd* pParentWnd) {
    m_lpszTemplateName = lpszTemplateName;
    m_pParentWnd = pParentWnd;
    return CreateFromTemplate(lpszTemplateName, pParentWnd ? pParentWnd->m_hWnd : AfxPickOwner());
}

INT_PTR CDialog::DoModal() {
    if (m_hWnd) return -1;
    HWND hOwner = PickOwner(m_pParentWnd);
    bool ownerDisabled = false;
    if (hOwner && ::IsWindowEnabled(hOwner)) {
        ::EnableWindow(hOwner, FALSE);
        ownerDisabled = true;
    }
    m_nModalResult = -1;
    m_bContinueModal = true;
    m_bModalRunning = true;
    if (CreateFromTemplate(m_lpszTemplateName, hOwner)) {
        if (m_bContinueModal && !IsWindowVisible()) ShowWindow(SW_SHOWNORMAL);
        MSG msg;
        while (m_bContinueModal && ::IsWindow(m_hWnd)) {
            BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
            if (got == -1) break;
            if (got == 0) {
                // Leave WM_QUIT for the loops outside this one.
                ::PostQuitMessage((int)msg.wParam);
                break;
            }
            if (!AfxPreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
    }
    m_bModalRunning = false;
    m_bContinueModal = false;
    // Give the owner back its input before hiding, so activation returns to it and not elsewhere.
    if (ownerDisabled) ::EnableWindow(hOwner, TRUE);
    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    if (hOwner && m_hWnd && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(hOwner);
    if (m_hWnd) DestroyWindow();
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
    if (m_bModalRunning) {
        m_nModalResult = nResult;
        if (m_bContinueModal) {
            m_bContinueModal = false;
            // Wakes the loop if it waits for a message (the call may come from outside any message).
            ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
        }
        return;
    }
    if (m_hWnd && ::IsWindow(m_hWnd)) ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return FALSE;
    if (!m_hWnd || (GetStyle() & WS_CHILD)) return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) return FALSE;
    return ::IsDialogMessageA(m_hWnd, pMsg);
}

BOOL CDialog::DestroyWindow() {
    return CWnd::DestroyWindow();
}

BOOL CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_INITDIALOG) {
        *pResult = OnInitDialog();
        return TRUE;
    }
    return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}

void CDialog::PostNcDestroy() {
    // Destroyed while its modal loop runs (by DestroyWindow from a handler): the loop ends.
    m_bContinueModal = false;
}
