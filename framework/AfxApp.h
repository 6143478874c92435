// The application object and module-wide state.
//
// A program defines one global CWinApp-derived object and links lk_framework_main (WinMain): WinMain
// calls InitInstance, and when that returns FALSE the program ends without a message loop. A DLL
// defines its app object the same way and links lk_framework_dll (DllMain): the object is
// constructed at load and destroyed at unload; DllMain touches no window.
#pragma once

#include "AfxWnd.h"

#ifndef ID_HELP
#define ID_HELP 0xE146 // 57670: the help command an application's map may route to CWinApp::OnHelp
#endif

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)

public:
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;

    LPCSTR m_pszAppName = nullptr; // message box caption; the module's file name when not given
    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return (int)m_msgCur.wParam; }
    // Message loop, for programs whose InitInstance returns TRUE; ends on WM_QUIT.
    virtual int Run();

    // The help command's handler. The program ships no help file, so the command is accepted and
    // nothing opens.
    afx_msg void OnHelp() {}

    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadIcon(LPCSTR lpszResourceName) const;
    HICON LoadStandardIcon(LPCSTR lpszIconName) const { return ::LoadIconA(nullptr, lpszIconName); }
    HCURSOR LoadCursor(UINT nIDResource) const;

protected:
    MSG m_msgCur{};
    DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
// Module that templates, bitmaps, icons, strings and accelerators are loaded from. A plug-in's modal
// export may switch it and must restore the value it found.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
LPCSTR AfxGetAppName();
// Control containers are not supported: no template holds an ActiveX control. Kept so start-up code
// reads as usual.
inline void AfxEnableControlContainer() {}
// Registers the common control classes (list view, IP address, progress, tooltips) once per module.
void AfxInitCommonControls();

// MessageBoxA with the application's name as caption, owned by the window the framework would pick
// for a parentless dialog (see CDialog).
int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// Text nIDPrompt from the string table; a missing string shows an empty box.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);

// Entry glue, called by lk_framework_main / lk_framework_dll.
int AfxWinMain(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow);
BOOL AfxDllAttach(HINSTANCE hInstance);
void AfxDllDetach();
