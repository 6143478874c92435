// CNetworkDlg: Netquill's network dialog (template 1000). One object lives from the plug-in's load to
// its unload; the modal exports run it, and the camera's replies reach it through OnCmdProc.
//
// Who holds what: NetworkDlg.cpp the initialisation, the wired, dial-up and wireless pages over the
// config store and the small handlers (refresh and its timer, DHCP, self-adapt, LAN mode, AP mode,
// iperf, custom SSID, the sub-dialog buttons); NetworkDlgRequests.cpp the scan and the connection
// commands, which wait in the wait box, the access-point list they fill and pick from, and OnCmdProc
// with every reply; NetworkDlgApply.cpp OK, which sends the changed settings as one set-parameters
// packet. Every request of this dialog is built in the one buffer m_packet: a request writes only the
// words it needs, the others keep what the previous request left. No text value that holds ";", CR
// or LF is ever sent: OK and the connect commands refuse it with text 101.
#pragma once

#include "framework/Afx.h"

#include <initializer_list>

#include "CfgPacket.h"
#include "DdnsDlg.h"
#include "GB28181Dlg.h"
#include "IpFilterDlg.h"
#include "NetConfigStore.h"
#include "PopUpDlg.h"
#include "PowerComboBox.h"
#include "RtmpDlg.h"
#include "NetquillNetworkDlgRes.h"

class CNetworkDlg : public CDialog {
public:
    enum { IDD = IDD_NETWORK_DLG };

    // Page types: also the index of the interface record in the config store.
    enum { NET_WIRED = 0, NET_DIALUP = 1, NET_WIRELESS = 2 };

    // Requests of module 2 (nType); the camera's reply to each carries the same nType.
    enum {
        REQ_DIALUP_CONNECT = 1,
        REQ_DIALUP_DISCONNECT = 2,
        REQ_WIFI_CONNECT = 4,
        REQ_WIFI_DISCONNECT = 5,
        REQ_REFRESH = 8,
        REQ_SET_PARAMS = 9,
        REQ_AP_MODE = 12,
        REQ_SCAN = 14,
        REQ_IPERF_START = 254,
        REQ_IPERF_STOP = 255,
    };
    // nParam of an AP-mode request.
    enum { AP_MODE_QUERY = 0, AP_MODE_START = 1 };

    // Wait-box results of the connection commands.
    enum { RESULT_SUCCESS = 16, RESULT_FAILURE = 17, RESULT_TIMEOUT = POPUP_TIMEOUT };

    // The software version from which the custom-SSID button is offered.
    static constexpr int CUSTOM_SSID_MIN_VERSION = 3392;
    // Permission bit of ClientPower that lets OK send.
    static constexpr int CLIENT_POWER_SET = 4;
    // The refusal of a text value that cannot stand in a parameter text.
    static constexpr int TEXT_UNSENDABLE = 101;
    // What edits 1005 (user name or typed SSID) and 1006 (password) take, in bytes: what the store's
    // fields hold, so that a camera's value shows and goes back whole and an operator's fits.
    static constexpr int USER_MAX_BYTES = (int)sizeof(NetIfRecord::szId) - 1;
    static constexpr int PASSWORD_MAX_BYTES = (int)sizeof(NetIfRecord::szPassword) - 1;

    explicit CNetworkDlg(CWnd* pParent = nullptr);
    ~CNetworkDlg() override;

    // One config packet from the camera (header and data, at most CFG_NETQUILL_BUFFER_SIZE bytes),
    // on the UI thread, usually from inside one of this dialog's modal loops. The export CmdProc
    // forwards here. Refused without a word: NULL, any packet while the dialog's window does not
    // exist or after ExitModal, or a data length that does not fit the copy (NetReply.h reads it). A
    // reply ends the wait box only when it is the reply the running request waits for.
    void OnCmdProc(const void* pPacket);

    // Ends the modal run with nCode; nothing when the dialog is not running (the export ExitRCDlg).
    // Ends with it the waits, message boxes and sub-dialogs the dialog has open, so the modal call
    // returns at once; from then on, until the next run, no box opens, nothing is sent and no reply is
    // read.
    void ExitModal(int nCode);

    // Replaces the config store with what the text holds (NULL clears it); the export SetParam and
    // the refresh and connection replies call it. Also sets the three values below when their keys
    // are present.
    void ParseParams(const char* text);

    // Values carried by the dialog object across runs; the parser writes them.
    int m_nClientPower = CLIENT_POWER_SET; // received ClientPower
    int m_nSoftVersion = 0;                // received Softverion
    int m_bRtmpSupport = 0;                // received RTMP_bSupport
    int m_bCustomSsid = 0;                 // edit 1005 for a typed SSID is on show, not the list

    // Parts for tests and for the exports.
    CPopUpDlg& WaitBox() { return m_waitDlg; }
    CIpFilterDlg& IpFilterDlg() { return m_ipFilterDlg; }
    const CPowerComboBox& SsidList() const { return m_comboSsid; }
    int NetType() const { return m_nNetType; }

    // Page layouts (radio buttons 1001-1003); also after a refresh reply and a connection command.
    afx_msg void OnWired();
    afx_msg void OnDialUp();
    afx_msg void OnWireless();
    // Shows the values of interface type 0 wired, 1 dial-up or 2 wireless and moves them to the
    // controls.
    void FillPage(int nType);
    // The page of the store's ACTIVED (after a refresh reply).
    void ShowActivePage();
    // The page of m_nNetType: dial-up, wireless, else wired.
    void ShowNetTypePage();
    // The camera's access-point mode state (reply nType 12).
    void OnApReply(int nState);

    BOOL DestroyWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    afx_msg void OnScan();
    afx_msg void OnConnect();
    afx_msg void OnSsidSelChange();
    afx_msg void OnRefresh();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDhcp();
    afx_msg void OnLanMode();
    afx_msg void OnSelfAdapt();
    afx_msg void OnStartAp();
    afx_msg void OnIperfStart();
    afx_msg void OnIperfStop();
    afx_msg void OnCustomSsid();
    afx_msg void OnGb28181();
    afx_msg void OnRtmp();
    afx_msg void OnDdns();
    afx_msg void OnIpFilter();

    void DialUpConnect();
    void DialUpDisconnect();
    void WifiConnect();
    void WifiDisconnect();

    DECLARE_MESSAGE_MAP()

private:
    CfgPacket* Pkt() { return reinterpret_cast<CfgPacket*>(m_packetBuf); }
    // Writes nType into the packet and sends its first nLength bytes. Every request writes its header
    // words and data right before it goes: a box or wait in between runs replies that send from the
    // same buffer.
    void Send(int nType, int nLength);
    // Sends request nType, runs the wait box until the reply of that nType ends it or the time runs
    // out, and returns its result.
    int SendAndWait(int nType, int nLength, int nTextIndex, int nSeconds);
    // A connect command of nType: name and key in their two fields, then the wait for its reply.
    int SendConnect(int nType, const char* name, const char* key, int nSeconds);
    // Shows TEXT_UNSENDABLE and returns false when one of the texts cannot be sent.
    bool VetTexts(std::initializer_list<const char*> texts);
    void ReportConnectionResult(int nResult, bool bConnect);
    void FillSsidList(int nFound);
    // Whether item i of the SSID list is an access point of the last listing whose record still holds
    // it: not the not-found item, and not a record that a parse has emptied since. Pick, connect and
    // OK use a record only then.
    bool IsListedAp(int i) const;
    // Message boxes of the dialog; neither opens once ExitModal has come (Ask then answers No).
    void ShowMessage(int nTextIndex);
    bool Ask(int nTextIndex); // Yes/No: true for Yes

    CComboBox m_comboMode;      // 1056: LAN connection mode (hidden)
    CIPAddressCtrl m_ipMask;    // 1029
    CIPAddressCtrl m_ipAddr;    // 1028
    CIPAddressCtrl m_ipDns;     // 1031
    CIPAddressCtrl m_ipGateway; // 1030
    CPowerComboBox m_comboSsid; // 1009: scanned access points
    int m_nNetType = -1;        // radio group 1001-1003: page shown
    CString m_strMac;           // 1014
    CString m_strCloudNo;       // 1016
    CString m_strCloudStatus;   // 1017
    CString m_strUser;          // 1005: dial-up user name or typed SSID
    CString m_strPassword;      // 1006
    int m_bDhcp = 0;            // 1033
    int m_bSelfAdapt = 0;       // 1038
    CString m_strIperfCmd;      // 1060
    int m_bSmartOnline = 0;     // 1097
    alignas(4) unsigned char m_packetBuf[CFG_NETQUILL_BUFFER_SIZE] = {};
    int m_bRefreshPending = 0;
    UINT_PTR m_nTimerId = 0;
    int m_nAwaitedReply = 0; // reply nType the open wait box waits for; 0 none
    int m_nScanFound = -1;   // access points the awaited scan reply carried; -1 no reply came
    int m_nListedAps = 0;    // leading items of the SSID list that are records of the last scan
    bool m_bExiting = false; // ExitModal came during this run
    CFont m_ipFont;          // Arial 14 for the four address controls
    CPopUpDlg m_waitDlg;
    CGB28181Dlg m_gbDlg;
    CRtmpDlg m_rtmpDlg;
    CDdnsDlg m_ddnsDlg;
    CIpFilterDlg m_ipFilterDlg;
    CToolTipCtrl m_toolTip; // one tool: check box 1038
    CString m_strNotFound;  // the not-found item's text, alive while the item is listed
    // Terminated copies of the listed SSIDs, which the list items point to (a camera's SSID may fill
    // its 32 bytes without a terminator).
    char m_szCurrentSsid[33] = {};
    char m_szSsidText[128][33] = {};
};
