// Netquill's exported interface. Every export runs on the host's UI thread; CmdProc and ExitRCDlg
// arrive re-entrantly from inside the modal loops of the network dialog and its boxes.
#include "NetquillApp.h"

#include "NetworkDlg.h"

#include <cstring>

namespace {

// One modal run of the network dialog from the plug-in's own resources, with the dialog font alive
// for exactly the run. The host's resource module is put back whatever the dialog did.
void RunNetworkDlgModal() {
    // There is one dialog object: a modal call made while it runs would build a second window on it.
    if (NetworkDlg().IsModalRunning()) return;
    const HINSTANCE hHostResources = AfxGetResourceHandle();
    AfxSetResourceHandle(AfxGetInstanceHandle());
    AfxInitCommonControls();
    g_dlgFont.CreateFont(16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH, "Arial");
    NetworkDlg().DoModal();
    g_dlgFont.DeleteObject();
    AfxSetResourceHandle(hHostResources);
}

BOOL CALLBACK MatchCompanionDialog(HWND hWnd, LPARAM lParam) {
    char title[16] = {}, cls[8] = {};
    ::GetWindowTextA(hWnd, title, sizeof title);
    ::GetClassNameA(hWnd, cls, sizeof cls);
    if (std::strcmp(title, "DOVav_Areredo") != 0 || std::strcmp(cls, "#32770") != 0) return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}

// The top-level dialog titled "DOVav_Areredo" of the calling thread, if there is one. EndDialog only
// works on a dialog of its own thread: a window of that title elsewhere, in this process or another,
// or one that is no dialog, is none of Netquill's business.
HWND FindCompanionDialog() {
    HWND hFound = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &MatchCompanionDialog, (LPARAM)&hFound);
    return hFound;
}

} // namespace

extern "C" {

int InitRCDlg(int nConnection, int nLanguage, const char* /*text: not used*/) {
    g_nConnection = nConnection;
    g_nLanguage = nLanguage;
    return 1;
}

void InitNetworkDlg(int nConnection, int nLanguage, const char* text) {
    InitRCDlg(nConnection, nLanguage, text);
}

int SetParam(int /*module: any*/, const char* text) {
    NetworkDlg().ParseParams(text);
    return 1;
}

int GetParam() {
    return 1;
}

int QRemoteCfgDlgDoModal() {
    RunNetworkDlgModal();
    return 1;
}

void ShowNetworkDlg(const char* text) {
    if (NetworkDlg().IsModalRunning()) return; // the running dialog keeps the store it shows
    NetworkDlg().ParseParams(text);
    RunNetworkDlgModal();
}

void CmdProc(const void* packet) {
    NetworkDlg().OnCmdProc(packet);
}

int ExitRCDlg(int nCode) {
    // A dialog of this title belongs with Netquill's and goes with it.
    if (HWND hOther = FindCompanionDialog()) ::EndDialog(hOther, 0);
    NetworkDlg().ExitModal(nCode);
    return 1;
}

} // extern "C"
