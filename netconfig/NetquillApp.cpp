#include "NetquillApp.h"

#include "NetworkDlg.h"
#include "QLCLIENT.h"

// clang-format off
BEGIN_MESSAGE_MAP(CNetquillApp, CWinApp)
END_MESSAGE_MAP()
// clang-format on

// Built at load in this order and destroyed at unload in reverse: the application object, the empty
// dialog font, the network dialog with its embedded dialogs.
CNetquillApp theApp;
int g_nConnection = 0;
CFont g_dlgFont;
static CNetworkDlg s_networkDlg;

CNetworkDlg& NetworkDlg() {
    return s_networkDlg;
}

void ApplyDialogFont(CWnd* pDlg) {
    // Outside a modal export there is no font to give; the template's font stays.
    if (!pDlg || !pDlg->m_hWnd || !g_dlgFont.m_hObject) return;
    const WPARAM hFont = (WPARAM)(HFONT)g_dlgFont;
    ::SendMessageA(pDlg->m_hWnd, WM_SETFONT, hFont, TRUE);
    for (HWND hChild = ::GetWindow(pDlg->m_hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        ::SendMessageA(hChild, WM_SETFONT, hFont, TRUE);
}

void NetquillSend(const CfgPacket* packet, int length) {
    QLC_SendData(g_nConnection, CFG_DATA_TYPE, packet, length);
}
