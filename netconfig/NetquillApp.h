// Netquill's process-wide objects: the application object, the connection the host gave, the dialog
// font of the modal runs and the one network dialog. They live from load to unload; every export
// runs on the host's UI thread, so none of them is locked.
//
// The exports (NetquillExports.cpp) drive the one CNetworkDlg (NetworkDlg.h) through its ParseParams,
// OnCmdProc (the whole reply dispatch) and ExitModal, and run it with DoModal.
#pragma once

#include "framework/Afx.h"

#include "CfgPacket.h"
#include "NetConfigStore.h"
#include "TextTable.h"

class CNetworkDlg;

// The framework's application object; no message handlers and no overrides of its own.
class CNetquillApp : public CWinApp {
public:
    CNetquillApp() = default;

protected:
    DECLARE_MESSAGE_MAP()
};

extern CNetquillApp theApp;

// The connection the host gave InitRCDlg or InitNetworkDlg; 0 until set.
extern int g_nConnection;

// Arial 16, created by each modal export before the dialog runs and deleted after it; empty between
// runs. ApplyDialogFont hands it to a dialog and its controls.
extern CFont g_dlgFont;

// The one network dialog, built at load without a parent.
CNetworkDlg& NetworkDlg();

// Gives the dialog font to pDlg and to each of its child windows, in their sibling order.
void ApplyDialogFont(CWnd* pDlg);

// Sends the first length bytes of packet (header and data) to the camera on g_nConnection as a
// config packet. The SDK's result is not looked at: the camera's answer comes back through CmdProc.
void NetquillSend(const CfgPacket* packet, int length);
