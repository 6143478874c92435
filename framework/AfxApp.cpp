#include "AfxApp.h"

#include <cstring>

#include "AfxImpl.h"

namespace {
// Module-wide state: each module linking the framework has its own copy.
CWinApp* g_pApp = nullptr;
HINSTANCE g_hInstance = nullptr;
HINSTANCE g_hResource = nullptr;
char g_szModuleName[MAX_PATH];

HINSTANCE ThisModule() {
    HMODULE h = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         (LPCSTR)&ThisModule, &h);
    return h;
}
} // namespace

const CRuntimeClass CObject::classCObject = {"CObject", nullptr};

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

// clang-format off
BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()
// clang-format on

CWinApp::CWinApp(LPCSTR lpszAppName) : m_pszAppName(lpszAppName) {
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this) g_pApp = nullptr;
}

int CWinApp::Run() {
    while (::GetMessageA(&m_msgCur, nullptr, 0, 0) > 0) {
        if (!AfxPreTranslateMessage(&m_msgCur)) {
            ::TranslateMessage(&m_msgCur);
            ::DispatchMessageA(&m_msgCur);
        }
    }
    return ExitInstance();
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
    return LoadIcon(MAKEINTRESOURCEA(nIDResource));
}
HICON CWinApp::LoadIcon(LPCSTR lpszResourceName) const {
    return ::LoadIconA(AfxGetResourceHandle(), lpszResourceName);
}
HCURSOR CWinApp::LoadCursor(UINT nIDResource) const {
    return ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

CWnd* AfxGetMainWnd() {
    return g_pApp ? g_pApp->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
    if (!g_hInstance) g_hInstance = ThisModule();
    return g_hInstance;
}

HINSTANCE AfxGetResourceHandle() {
    return g_hResource ? g_hResource : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE hInstResource) {
    g_hResource = hInstResource;
}

LPCSTR AfxGetAppName() {
    if (g_pApp && g_pApp->m_pszAppName) return g_pApp->m_pszAppName;
    if (!g_szModuleName[0]) {
        char path[MAX_PATH] = {};
        ::GetModuleFileNameA(AfxGetInstanceHandle(), path, MAX_PATH);
        // The file name without folder and extension; walk characters so a GBK trail byte of
        // 0x5C is not taken for a backslash.
        const char *name = path, *dot = nullptr;
        for (const char* p = path; *p; p = ::CharNextA(p)) {
            if (*p == '\\' || *p == '/')
                name = p + 1, dot = nullptr;
            else if (*p == '.')
                dot = p;
        }
        size_t n = dot ? (size_t)(dot - name) : strlen(name);
        if (n >= sizeof g_szModuleName) n = sizeof g_szModuleName - 1;
        memcpy(g_szModuleName, name, n);
        g_szModuleName[n] = '\0';
    }
    return g_szModuleName;
}

void AfxInitCommonControls() {
    static const BOOL done = [] {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES |
                                                     ICC_INTERNET_CLASSES | ICC_PROGRESS_CLASS |
                                                     ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
        return ::InitCommonControlsEx(&icc);
    }();
    (void)done;
}

HWND AfxPickOwner() {
    HWND h = nullptr;
    CWnd* pMain = AfxGetMainWnd();
    if (pMain && ::IsWindow(pMain->m_hWnd))
        h = ::GetLastActivePopup(pMain->m_hWnd);
    else
        h = ::GetActiveWindow();
    // Only a top-level window can own a popup.
    return h ? ::GetAncestor(h, GA_ROOT) : nullptr;
}

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT) {
    return ::MessageBoxA(AfxPickOwner(), lpszText, AfxGetAppName(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString text;
    text.LoadString(nIDPrompt);
    return AfxMessageBox(text, nType, nIDHelp);
}

int AfxWinMain(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow) {
    g_hInstance = hInstance;
    CWinApp* pApp = AfxGetApp();
    if (!pApp) return -1;
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;
    if (!pApp->InitInstance()) {
        if (pApp->m_pMainWnd && pApp->m_pMainWnd->m_hWnd) pApp->m_pMainWnd->DestroyWindow();
        return pApp->ExitInstance();
    }
    return pApp->Run();
}

BOOL AfxDllAttach(HINSTANCE hInstance) {
    g_hInstance = hInstance;
    if (!g_pApp) return TRUE;
    g_pApp->m_hInstance = hInstance;
    return g_pApp->InitInstance();
}

void AfxDllDetach() {
    if (g_pApp) g_pApp->ExitInstance();
}
