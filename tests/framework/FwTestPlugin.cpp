// A plug-in DLL built with its own copy of the framework, as a host would load one.
#include "Afx.h"
#include "FwTestIds.h"

namespace {
class CPluginApp : public CWinApp {};
CPluginApp theApp;

class CPluginDlg : public CDialog {
public:
    CPluginDlg() : CDialog(IDD_INNER) {}
    CStatic m_label;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_PLUGIN_LABEL, m_label); }
};

CPluginDlg* g_pDlg = nullptr;
} // namespace

extern "C" {
// Shows the plug-in's dialog from its own resources, as a modal export does, and restores the
// resource module it found.
int PluginShowDialog() {
    HINSTANCE hSaved = AfxGetResourceHandle();
    AfxSetResourceHandle(AfxGetInstanceHandle());
    CPluginDlg dlg;
    g_pDlg = &dlg;
    int result = (int)dlg.DoModal();
    g_pDlg = nullptr;
    AfxSetResourceHandle(hSaved);
    return result;
}

// Ends the dialog from a call of the host made while the dialog's loop runs.
int PluginEndDialog(int nResult) {
    if (!g_pDlg) return 0;
    g_pDlg->EndDialog(nResult);
    return 1;
}

HWND PluginDialogWindow() {
    return g_pDlg ? g_pDlg->m_hWnd : nullptr;
}
int PluginOwnsWindow(HWND hWnd) {
    return CWnd::FromHandlePermanent(hWnd) != nullptr;
}
HINSTANCE PluginResourceHandle() {
    return AfxGetResourceHandle();
}
}
