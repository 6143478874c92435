// CDialog: a dialog from a template of the current resource module.
//
// DoModal runs the framework's own modal loop (so PreTranslateMessage sees every message, timers and
// posted messages keep flowing, and modal loops nest). EndDialog may be called from anywhere on the
// dialog's thread - its own handlers, another window's handler, a plug-in call made inside the loop;
// the loop ends after the current message, and an outer dialog ended while an inner one runs ends
// when the inner loop returns. EndDialog on a dialog without a window does nothing (a modeless one is
// hidden, as the dialog manager does). When the loop ends the virtual DestroyWindow() is called.
//
// Owner of a dialog created without a parent: the application main window's last active popup when
// there is a main window (program), else the thread's active window (plug-in), else none.
#pragma once

#include "AfxWnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)

public:
    CDialog() = default;
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);

    // Modal run; returns the code given to EndDialog, or -1 when the dialog could not be created.
    virtual INT_PTR DoModal();
    // Modeless creation (also as a WS_CHILD of pParentWnd).
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    BOOL Create(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    void EndDialog(int nResult);
    BOOL IsModalRunning() const { return m_bModalRunning; }

    virtual BOOL OnInitDialog(); // UpdateData(FALSE); TRUE lets the dialog manager set the focus
    virtual void OnOK();         // UpdateData(TRUE), then EndDialog(IDOK) only if that succeeded
    virtual void OnCancel();     // EndDialog(IDCANCEL)

    // Keyboard messages for the dialog or its controls go through IsDialogMessage (Tab, Enter, Esc).
    // A child dialog leaves that to its top-level ancestor.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL DestroyWindow() override;

    LPCSTR m_lpszTemplateName = nullptr;
    UINT m_nIDHelp = 0;

protected:
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void PostNcDestroy() override;
    // The owner picked for a dialog whose parent is not given.
    static HWND PickOwner(CWnd* pParentWnd);
    BOOL CreateFromTemplate(LPCSTR lpszTemplateName, HWND hWndParent);

    CWnd* m_pParentWnd = nullptr;
    volatile bool m_bModalRunning = false;
    volatile bool m_bContinueModal = false;
    int m_nModalResult = -1;

    DECLARE_MESSAGE_MAP()
};

// The same class under its newer name.
class CDialogEx : public CDialog {
    DECLARE_DYNAMIC(CDialogEx)

public:
    using CDialog::CDialog;
};
