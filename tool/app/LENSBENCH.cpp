// LENSKIT's process-wide objects, the single-instance start and the about box.
#include "LENSBENCH.h"

#include "AppGlobals.h"
#include "DeviceTable.h"
#include "LENSBENCHDlg.h"
#include "NetWatchWorkers.h"
#include "resource.h"

// Five process-wide objects live in this one file, since C++ fixes the order of construction only
// within a translation unit: they are constructed in this order before the program's entry point and
// destroyed in the reverse one after InitInstance has returned. The end is where the order matters:
// the device table goes first, its SDK already released with the main window; the adapter inventory
// (g_SystemInfo) goes before the free-address finder that reads it (g_IPServer), so its destructor
// waits for the finder's thread; the application object goes last. The program's other process-wide
// values are plain, or no code touches them before InitInstance or after it.
CLENSBENCHApp theApp;
CQIPServer g_IPServer(&g_SystemInfo);
CSystemInfo g_SystemInfo(&g_IPServer);
const UINT WM_TASKBARCREATED = ::RegisterWindowMessageA("TaskbarCreated");
DeviceTable g_DeviceTable;

// Plain values: no construction order to keep.
AppGlobals g_App = {{0}, -1, nullptr};
UINT_PTR g_nSearchTimer = 0;
char g_szRememberedIp[16] = {0};

const char kAlreadyRunningText[] = "程序已开启，不能重复运行!";

// The help command goes to the framework's own handler.
// clang-format off
BEGIN_MESSAGE_MAP(CLENSBENCHApp, CWinApp)
    ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()
// clang-format on

CLENSBENCHApp::CLENSBENCHApp() {}

BOOL CLENSBENCHApp::InitInstance() {
    AfxEnableControlContainer();

    // Held, never released, until the process ends: the system removes it with the process.
    ::CreateMutexA(nullptr, TRUE, "LENSKIT");
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        AfxMessageBox(kAlreadyRunningText, MB_OK);
        return FALSE;
    }

    CLENSBENCHDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    // The dialog object dies with this frame; nothing may reach it through the application afterwards.
    m_pMainWnd = nullptr;
    return FALSE;
}

// clang-format off
BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
END_MESSAGE_MAP()
// clang-format on

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}
