// Swivelpane.dll: a small pan-tilt dialog behind the RCDlg exports. It shows the parameter text it
// was given and the last packet forwarded to it, and closes on OK or ExitRCDlg.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "SimExports.h"
#include "StandinControl.h"
#include "Swivelpane.h"
#include "SwivelpaneRes.h"

namespace {

const UINT WM_SWIVEL_EXIT = WM_APP + 1; // ExitRCDlg may come from any thread
HINSTANCE g_module = nullptr;
HWND g_dialog = nullptr;
int g_channel = 0;
char g_params[4096];
int g_packets = 0;

void ShowPacket(HWND dlg, const int32_t* header) {
    char text[128];
    snprintf(text, sizeof text, "%d: kind %d, module %d, nType %d, nParam %d", g_packets,
             (int)(header[0] & 0x1F), (int)((header[0] >> 5) & 0xFF), (int)header[1], (int)header[2]);
    SetDlgItemTextA(dlg, IDC_SWIVEL_PACKET, text);
}

INT_PTR CALLBACK DialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
        g_dialog = dlg;
        SetDlgItemTextA(dlg, IDC_SWIVEL_PARAMS, g_params);
        return TRUE;
    case WM_SWIVEL_EXIT:
        EndDialog(dlg, (INT_PTR)wParam);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dlg, LOWORD(wParam));
            return TRUE;
        }
        break;
    case WM_DESTROY:
        g_dialog = nullptr;
        break;
    }
    return FALSE;
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_module = module;
    return TRUE;
}

extern "C" int __cdecl InitRCDlg(int nChannel, int nLanguage) {
    Sim_Log(STANDIN_CALL, "InitRCDlg", "%d, %d", nChannel, nLanguage);
    g_channel = nChannel;
    return 1;
}

extern "C" int __cdecl SetParam(int nModule, const char* szText) {
    Sim_Log(STANDIN_CALL, "SetParam", "%d, \"%.300s\"", nModule, szText ? szText : "(null)");
    snprintf(g_params, sizeof g_params, "%s", szText ? szText : "");
    return 1;
}

extern "C" int __cdecl GetParam(void) {
    Sim_Log(STANDIN_CALL, "GetParam", "");
    return 1;
}

extern "C" int __cdecl SwivelpaneDoModal(void) {
    Sim_Log(STANDIN_CALL, "SwivelpaneDoModal", "");
    g_packets = 0;
    INT_PTR r = DialogBoxParamA(g_module, MAKEINTRESOURCEA(IDD_SWIVELPANE), GetActiveWindow(), DialogProc, 0);
    Sim_Log(STANDIN_NOTE, "SwivelpaneDoModal", "closed with %d", (int)r);
    return (int)r;
}

extern "C" void __cdecl CmdProc(const void* pPacket) {
    if (!pPacket) {
        Sim_Log(STANDIN_CALL, "CmdProc", "NULL");
        return;
    }
    int32_t header[4];
    memcpy(header, pPacket, sizeof header);
    Sim_Log(STANDIN_CALL, "CmdProc", "{kind=%d,module=%d,nType=%d,nParam=%d,nLength=%d}",
            (int)(header[0] & 0x1F), (int)((header[0] >> 5) & 0xFF), (int)header[1], (int)header[2],
            (int)header[3]);
    ++g_packets;
    if (g_dialog) ShowPacket(g_dialog, header);
}

extern "C" int __cdecl ExitRCDlg(int nCode) {
    Sim_Log(STANDIN_CALL, "ExitRCDlg", "%d", nCode);
    if (g_dialog) PostMessageA(g_dialog, WM_SWIVEL_EXIT, (WPARAM)nCode, 0);
    return 1;
}
