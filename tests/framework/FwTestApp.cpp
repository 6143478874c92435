// A program built on the framework's WinMain; its exit code reports what the framework did.
#include <cstring>

#include "Afx.h"
#include "FwTestIds.h"

namespace {
CDialog* g_pDlg = nullptr;

void CALLBACK EndSoon(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    g_pDlg->EndDialog(5);
}

class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp("fw test app") {}
    int m_code = 0;

    BOOL InitInstance() override {
        AfxEnableControlContainer();
        CDialog dlg(IDD_INNER);
        m_pMainWnd = &dlg;
        g_pDlg = &dlg;
        ::SetTimer(nullptr, 0, 10, EndSoon);
        INT_PTR result = dlg.DoModal();
        m_pMainWnd = nullptr;
        // Tens: the dialog's end code; ones: the start-up values were handed over.
        m_code = (int)result * 10 + (m_hInstance == ::GetModuleHandleA(nullptr) && m_lpCmdLine &&
                                     strcmp(m_lpCmdLine, "hello") == 0 && AfxGetApp() == this);
        return FALSE; // the program ends without a message loop
    }
    int Run() override { return 99; }
    int ExitInstance() override { return m_code; }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()
// clang-format on

CTestApp theApp;
} // namespace
