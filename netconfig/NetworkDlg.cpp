#include "NetworkDlg.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "NetworkDlgFields.h"
#include "NetquillApp.h"

using netdlg::FieldLen;
using netdlg::SSID_ITEM_HEIGHT;
using netdlg::Store;

namespace {

// Wire values of the authentication and encryption lists (WIFI_AUTH, WIFI_ENC).
const char* const kAuthNames[] = {"OPEN", "SHARED", "WEPAUTO", "WPAPSK", "WPA2PSK", "WPANONE"};
const char* const kEncNames[] = {"NONE", "WEP", "TKIP", "AES"};

constexpr int SSID_FIELD_HEIGHT = 22, SSID_DROP_WIDTH = 200;

// The message boxes of this thread that the dialog's windows opened: each box is owned by the window
// that opened it, so its owner chain reaches one of them.
struct OwnedBoxes {
    std::vector<HWND> owners;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectOwnedBox(HWND hWnd, LPARAM lParam) {
    OwnedBoxes& boxes = *reinterpret_cast<OwnedBoxes*>(lParam);
    char cls[8] = {};
    ::GetClassNameA(hWnd, cls, sizeof cls);
    if (strcmp(cls, "#32770") != 0 || CWnd::FromHandlePermanent(hWnd)) return TRUE; // ours end by object
    for (HWND hOwner = ::GetWindow(hWnd, GW_OWNER); hOwner; hOwner = ::GetWindow(hOwner, GW_OWNER)) {
        if (std::find(boxes.owners.begin(), boxes.owners.end(), hOwner) != boxes.owners.end()) {
            boxes.found.push_back(hWnd);
            break;
        }
    }
    return TRUE;
}

// A picked access point goes back whole: its SSID may fill its 32 bytes, its key all 64.
static_assert(sizeof(ApRecord::szSsid) == CNetworkDlg::USER_MAX_BYTES, "an SSID fits edit 1005");
static_assert(sizeof(ApRecord::szKey) == CNetworkDlg::PASSWORD_MAX_BYTES, "a key fits edit 1006");

} // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CNetworkDlg, CDialog)
    ON_BN_CLICKED(IDC_NET_WIRED, OnWired)
    ON_BN_CLICKED(IDC_NET_DIALUP, OnDialUp)
    ON_BN_CLICKED(IDC_NET_WIRELESS, OnWireless)
    ON_BN_CLICKED(IDC_NET_SCAN, OnScan)
    ON_BN_CLICKED(IDC_NET_CONNECT, OnConnect)
    ON_CBN_SELCHANGE(IDC_NET_SSID_LIST, OnSsidSelChange)
    ON_BN_CLICKED(IDC_NET_REFRESH, OnRefresh)
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_NET_DHCP, OnDhcp)
    ON_CBN_SELCHANGE(IDC_NET_MODE, OnLanMode)
    ON_BN_CLICKED(IDC_NET_SELF_ADAPT, OnSelfAdapt)
    ON_BN_CLICKED(IDC_NET_START_AP, OnStartAp)
    ON_BN_CLICKED(IDC_NET_IPERF_ON, OnIperfStart)
    ON_BN_CLICKED(IDC_NET_IPERF_OFF, OnIperfStop)
    ON_BN_CLICKED(IDC_NET_CUSTOM_SSID, OnCustomSsid)
    ON_BN_CLICKED(IDC_NET_GB28181, OnGb28181)
    ON_BN_CLICKED(IDC_NET_RTMP, OnRtmp)
    ON_BN_CLICKED(IDC_NET_DDNS, OnDdns)
    ON_BN_CLICKED(IDC_NET_IP_FILTER, OnIpFilter)
END_MESSAGE_MAP()
// clang-format on

CNetworkDlg::CNetworkDlg(CWnd* pParent)
    : CDialog(IDD, pParent), m_waitDlg(nullptr), m_gbDlg(nullptr), m_rtmpDlg(nullptr), m_ddnsDlg(nullptr),
      m_ipFilterDlg(nullptr) {}

CNetworkDlg::~CNetworkDlg() = default;

void CNetworkDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_NET_MODE, m_comboMode);
    DDX_Control(pDX, IDC_NET_MASK, m_ipMask);
    DDX_Control(pDX, IDC_NET_IP, m_ipAddr);
    DDX_Control(pDX, IDC_NET_DNS, m_ipDns);
    DDX_Control(pDX, IDC_NET_GATEWAY, m_ipGateway);
    DDX_Control(pDX, IDC_NET_SSID_LIST, m_comboSsid);
    DDX_Radio(pDX, IDC_NET_WIRED, m_nNetType);
    DDX_Text(pDX, IDC_NET_MAC, m_strMac);
    DDX_Text(pDX, IDC_NET_CLOUD_NO, m_strCloudNo);
    DDX_Text(pDX, IDC_NET_CLOUD_STATUS, m_strCloudStatus);
    DDX_Text(pDX, IDC_NET_USER, m_strUser);
    DDV_MaxChars(pDX, m_strUser, USER_MAX_BYTES);
    DDX_Text(pDX, IDC_NET_PASSWORD, m_strPassword);
    DDV_MaxChars(pDX, m_strPassword, PASSWORD_MAX_BYTES);
    DDX_Check(pDX, IDC_NET_DHCP, m_bDhcp);
    DDX_Check(pDX, IDC_NET_SELF_ADAPT, m_bSelfAdapt);
    DDX_Text(pDX, IDC_NET_IPERF_CMD, m_strIperfCmd);
    DDX_Check(pDX, IDC_NET_SMART_ONLINE, m_bSmartOnline);
}

void CNetworkDlg::ParseParams(const char* text) {
    ParseNetParams(text, Store(), NetDlgParams{&m_nSoftVersion, &m_nClientPower, &m_bRtmpSupport});
    m_ipFilterDlg.ParseList(text);
}

void CNetworkDlg::ExitModal(int nCode) {
    if (!IsModalRunning()) return;
    // From here on nothing is asked, sent or read: the loops ended below unwind into handlers that
    // would otherwise go on to their next box or request.
    m_bExiting = true;
    // Every modal loop the dialog runs ends after its current message, the innermost first, so the
    // modal call returns at once instead of after the operator's answer or the wait's time limit.
    CDialog* const subs[] = {&m_waitDlg, &m_gbDlg, &m_rtmpDlg, &m_ddnsDlg, &m_ipFilterDlg};
    OwnedBoxes boxes{{m_hWnd}, {}};
    for (CDialog* pSub : subs)
        if (pSub->m_hWnd) boxes.owners.push_back(pSub->m_hWnd);
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectOwnedBox, (LPARAM)&boxes);
    for (HWND hBox : boxes.found)
        ::EndDialog(hBox, IDCANCEL);
    for (CDialog* pSub : subs)
        if (pSub != &m_waitDlg) pSub->EndDialog(IDCANCEL);
    m_waitDlg.EndPopUp(RESULT_TIMEOUT);
    EndDialog(nCode);
}

BOOL CNetworkDlg::OnInitDialog() {
    m_bExiting = false;
    CDialog::OnInitDialog();
    ApplyDialogFont(this);

    memset(m_packetBuf, 0, sizeof m_packetBuf);
    CfgSetKindModule(Pkt()->header, CFG_KIND_SETTINGS, CFG_MODULE_NETWORK);

    m_nTimerId = SetTimer(0, 500);
    m_bRefreshPending = 0;

    SetWindowText(LoadText(0));
    static const struct {
        int id;
        int text;
    } kLabels[] = {
        {IDC_NET_TYPE_LABEL, 1},
        {IDC_NET_WIRED, 2},
        {IDC_NET_DIALUP, 3},
        {IDC_NET_WIRELESS, 4},
        {IDC_NET_USER_LABEL, 5},
        {IDC_NET_PASSWORD_LABEL, 6},
        {IDC_NET_AUTH_LABEL, 7},
        {IDC_NET_ENC_LABEL, 8},
        {IDC_NET_SCAN, 9},
        {IDC_NET_CUSTOM_SSID, 10},
        {IDC_NET_CONNECT, 11},
        {IDC_NET_DHCP, 20},
        {IDC_NET_SELF_ADAPT, 21},
        {IDC_NET_INFO_GROUP, 14},
        {IDC_NET_IP_LABEL, 15},
        {IDC_NET_MASK_LABEL, 16},
        {IDC_NET_GW_LABEL, 17},
        {IDC_NET_DNS_LABEL, 18},
        {IDC_NET_MAC_LABEL, 19},
        {IDC_NET_CLOUD_NO_LABEL, 23},
        {IDC_NET_STATUS_LABEL, 24},
        {IDC_NET_SMART_ONLINE, 107},
        {IDC_NET_REFRESH, 50},
        {IDOK, 51},
        {IDCANCEL, 52},
        {IDC_NET_GB28181, 56},
        {IDC_NET_START_AP, 44},
        {IDC_NET_MODE_LABEL, 66},
    };
    for (const auto& l : kLabels)
        SetDlgItemText(l.id, LoadText(l.text));

    m_comboMode.ResetContent();
    m_comboMode.AddString(LoadText(67));
    m_comboMode.AddString(LoadText(68));
    m_comboMode.SetCurSel(Store().ORVLANModel);

    m_ipFont.DeleteObject();
    m_ipFont.CreateFont(14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH, "Arial");
    m_ipMask.SetFont(&m_ipFont);
    m_ipAddr.SetFont(&m_ipFont);
    m_ipDns.SetFont(&m_ipFont);
    m_ipGateway.SetFont(&m_ipFont);

    m_strIperfCmd = "iperf -s -i 1 -w 1M";

    if (Store().bNoEth) {
        m_nNetType = NET_WIRELESS;
        GetDlgItem(IDC_NET_WIRED)->EnableWindow(FALSE);
        GetDlgItem(IDC_NET_DIALUP)->EnableWindow(FALSE);
    } else {
        m_nNetType = Store().ACTIVED;
    }
    ShowNetTypePage();

    GetDlgItem(IDC_NET_GB28181)->ShowWindow(Store().gb.GB_bSupport ? SW_SHOW : SW_HIDE);

    EnableToolTips(TRUE);
    if (!m_toolTip.m_hWnd) m_toolTip.Create(this);
    m_toolTip.Activate(TRUE);
    m_toolTip.SetTipTextColor(RGB(0, 0, 0));
    m_toolTip.SetDelayTime(TTDT_AUTOMATIC, 1000);
    m_toolTip.SetMaxTipWidth(400);
    m_toolTip.AddTool(GetDlgItem(IDC_NET_SELF_ADAPT), LoadText(22));

    GetDlgItem(IDC_NET_RTMP)->ShowWindow(m_bRtmpSupport ? SW_SHOW : SW_HIDE);

    memcpy(Store().rtmpSnapshot, Store().rtmp, sizeof Store().rtmp);

    SetDlgItemText(IDC_NET_IP_FILTER, LoadText(82));
    GetDlgItem(IDC_NET_DIALUP)->EnableWindow(FALSE);
    GetDlgItem(IDC_NET_WIRELESS)->EnableWindow(FALSE);
    for (int id : {IDC_NET_SMART_ONLINE, IDC_NET_IP_FILTER, IDC_NET_START_AP, IDC_NET_DDNS})
        GetDlgItem(id)->ShowWindow(SW_HIDE);
    return TRUE;
}

BOOL CNetworkDlg::DestroyWindow() {
    KillTimer(m_nTimerId);
    return CDialog::DestroyWindow();
}

BOOL CNetworkDlg::PreTranslateMessage(MSG* pMsg) {
    if (m_toolTip.m_hWnd) m_toolTip.RelayEvent(pMsg);
    return CDialog::PreTranslateMessage(pMsg);
}

// ---- pages ----

void CNetworkDlg::OnWired() {
    m_nNetType = NET_WIRED;
    const NetIfRecord& wired = Store().netIf[NETIF_WIRED];
    m_bDhcp = wired.bDhcp;
    m_bSelfAdapt = wired.bSelfAdapt;
    for (int id : {IDC_NET_DHCP, IDC_NET_SELF_ADAPT})
        GetDlgItem(id)->ShowWindow(SW_SHOW);
    for (int id : {IDC_NET_USER_LABEL, IDC_NET_PASSWORD_LABEL, IDC_NET_USER, IDC_NET_PASSWORD,
                   IDC_NET_SSID_LIST, IDC_NET_SCAN, IDC_NET_CUSTOM_SSID, IDC_NET_CONNECT, IDC_NET_AUTH_LABEL,
                   IDC_NET_ENC_LABEL, IDC_NET_AUTH, IDC_NET_ENC})
        GetDlgItem(id)->ShowWindow(SW_HIDE);
    for (int id : {IDC_NET_IP, IDC_NET_MASK, IDC_NET_GATEWAY, IDC_NET_DNS})
        GetDlgItem(id)->EnableWindow(wired.bDhcp == 0);
    FillPage(NET_WIRED);
}

void CNetworkDlg::OnDialUp() {
    m_nNetType = NET_DIALUP;
    const bool bOn = Store().netIf[NETIF_DIALUP].bOn != 0;
    for (int id : {IDC_NET_DHCP, IDC_NET_SELF_ADAPT, IDC_NET_SSID_LIST, IDC_NET_SCAN, IDC_NET_CUSTOM_SSID,
                   IDC_NET_CONNECT, IDC_NET_AUTH_LABEL, IDC_NET_ENC_LABEL, IDC_NET_AUTH, IDC_NET_ENC})
        GetDlgItem(id)->ShowWindow(SW_HIDE);
    SetDlgItemText(IDC_NET_USER_LABEL, LoadText(12));
    for (int id : {IDC_NET_USER_LABEL, IDC_NET_PASSWORD_LABEL, IDC_NET_USER, IDC_NET_PASSWORD})
        GetDlgItem(id)->ShowWindow(SW_SHOW);
    for (int id : {IDC_NET_USER, IDC_NET_PASSWORD})
        GetDlgItem(id)->EnableWindow(!bOn);
    for (int id : {IDC_NET_SSID_LIST, IDC_NET_SCAN})
        GetDlgItem(id)->EnableWindow(FALSE);
    SetDlgItemText(IDC_NET_CONNECT, LoadText(bOn ? 27 : 11));
    for (int id : {IDC_NET_IP, IDC_NET_MASK, IDC_NET_GATEWAY, IDC_NET_DNS})
        GetDlgItem(id)->EnableWindow(FALSE);
    FillPage(NET_DIALUP);
}

void CNetworkDlg::OnWireless() {
    m_nNetType = NET_WIRELESS;
    NetConfigStore& store = Store();
    const NetIfRecord& wifi = store.netIf[NETIF_WIRELESS];
    const bool bOn = wifi.bOn != 0;

    for (int id : {IDC_NET_DHCP, IDC_NET_SELF_ADAPT, IDC_NET_USER, IDC_NET_CONNECT})
        GetDlgItem(id)->ShowWindow(SW_HIDE);
    SetDlgItemText(IDC_NET_USER_LABEL, LoadText(13));
    for (int id : {IDC_NET_USER_LABEL, IDC_NET_PASSWORD_LABEL, IDC_NET_PASSWORD, IDC_NET_SSID_LIST,
                   IDC_NET_SCAN, IDC_NET_AUTH_LABEL, IDC_NET_ENC_LABEL, IDC_NET_AUTH, IDC_NET_ENC})
        GetDlgItem(id)->ShowWindow(SW_SHOW);
    for (int id : {IDC_NET_USER, IDC_NET_PASSWORD, IDC_NET_SSID_LIST})
        GetDlgItem(id)->EnableWindow(FALSE);
    GetDlgItem(IDC_NET_CUSTOM_SSID)->ShowWindow(m_nSoftVersion < CUSTOM_SSID_MIN_VERSION ? SW_HIDE : SW_SHOW);
    GetDlgItem(IDC_NET_CUSTOM_SSID)->EnableWindow(TRUE);
    SetDlgItemText(IDC_NET_CONNECT, LoadText(bOn ? 27 : 11));
    for (int id : {IDC_NET_IP, IDC_NET_MASK, IDC_NET_GATEWAY, IDC_NET_DNS})
        GetDlgItem(id)->EnableWindow(FALSE);

    store.nApCount = -1;
    m_nListedAps = 0;
    // The page shows the list, not the edit for a typed SSID: a flag left from an earlier page or an
    // earlier camera's dialog would make OK send what that edit holds.
    m_bCustomSsid = 0;

    m_comboSsid.ResetContent();
    m_comboSsid.ResetItems();
    m_comboSsid.SetBitmap(IDB_STRIP_NETQUILL, 25, 20);
    m_comboSsid.SetDroppedWidth(SSID_DROP_WIDTH);
    m_comboSsid.SetItemHeight(-1, SSID_FIELD_HEIGHT);

    CComboBox* pAuth = static_cast<CComboBox*>(GetDlgItem(IDC_NET_AUTH));
    CComboBox* pEnc = static_cast<CComboBox*>(GetDlgItem(IDC_NET_ENC));
    pAuth->ResetContent();
    pEnc->ResetContent();
    for (const char* name : kAuthNames)
        pAuth->AddString(name);
    for (const char* name : kEncNames)
        pEnc->AddString(name);

    // The list draws the string its item points to; the camera's SSID may fill its field without a
    // terminator, so the item shows a terminated copy.
    memset(m_szCurrentSsid, 0, sizeof m_szCurrentSsid);
    memcpy(m_szCurrentSsid, wifi.szId, FieldLen(wifi.szId, sizeof wifi.szId));
    m_comboSsid.AddString(m_szCurrentSsid);
    m_comboSsid.SetItemHeight(0, SSID_ITEM_HEIGHT);
    m_comboSsid.SetCurSel(0);

    pAuth->SetCurSel(wifi.nAuth);
    pEnc->SetCurSel(wifi.nEnc);

    if (bOn) {
        for (int id : {IDC_NET_USER, IDC_NET_PASSWORD, IDC_NET_SCAN})
            GetDlgItem(id)->EnableWindow(FALSE);
    } else {
        GetDlgItem(IDC_NET_CONNECT)->EnableWindow(FALSE);
    }
    GetDlgItem(IDC_NET_SCAN)->EnableWindow(TRUE);
    GetDlgItem(IDC_NET_SCAN)->ShowWindow(SW_SHOW);
    FillPage(NET_WIRELESS);
}

void CNetworkDlg::FillPage(int nType) {
    if (nType < NETIF_WIRED || nType >= NETIF_COUNT) nType = NETIF_WIRED;
    const NetConfigStore& store = Store();
    const NetIfRecord& rec = store.netIf[nType];

    m_ipAddr.SetAddress(rec.dwIp);
    m_ipMask.SetAddress(rec.dwMask);
    m_ipGateway.SetAddress(rec.dwGateway);
    m_ipDns.SetAddress(rec.dwDns);

    char text[80];
    size_t n = FieldLen(rec.szMac, sizeof rec.szMac);
    memcpy(text, rec.szMac, n);
    text[n] = '\0';
    m_strMac = text;
    m_strMac.MakeUpper();
    n = FieldLen(rec.szId, sizeof rec.szId);
    memcpy(text, rec.szId, n);
    text[n] = '\0';
    m_strUser = text;
    n = FieldLen(rec.szPassword, sizeof rec.szPassword);
    memcpy(text, rec.szPassword, n);
    text[n] = '\0';
    m_strPassword = text;

    // Up to four group letters, first in the lowest byte; the first zero byte ends them. A zero first
    // letter ends the text at once.
    const uint32_t group = (uint32_t)store.ORVGROUP;
    char number[32] = {};
    int letters = 1;
    while (letters < 4 && ((group >> (8 * letters)) & 0xFF) != 0)
        ++letters;
    size_t pos = 0;
    for (int i = 0; i < letters; ++i)
        number[pos++] = (char)((group >> (8 * i)) & 0xFF);
    snprintf(number + pos, sizeof number - pos, "%d", (int)store.ORVID);
    m_strCloudNo = number; // stops at a zero first letter

    m_strCloudStatus = LoadText(store.ORVSTATUS == 1 ? 25 : 26);
    m_bSmartOnline = store.bSmartOnline;
    UpdateData(FALSE);
}

void CNetworkDlg::ShowActivePage() {
    m_nNetType = Store().ACTIVED;
    ShowNetTypePage();
}

void CNetworkDlg::ShowNetTypePage() {
    if (m_nNetType == NET_DIALUP)
        OnDialUp();
    else if (m_nNetType == NET_WIRELESS)
        OnWireless();
    else
        OnWired();
}

void CNetworkDlg::OnRefresh() {
    if (m_bRefreshPending) return;
    m_bRefreshPending = 1;
    // Kept as the refresh has always gone out: a click waits one clock tick at most and holds no lock.
    ::Sleep(1);
    Send(REQ_REFRESH, (int)CFG_HEADER_SIZE);
}

void CNetworkDlg::OnTimer(UINT_PTR nIDEvent) {
    m_bRefreshPending = 0;
    CDialog::OnTimer(nIDEvent);
}

void CNetworkDlg::OnDhcp() {
    if (!UpdateData(TRUE)) return;
    Store().netIf[NETIF_WIRED].bDhcp = m_bDhcp;
    OnWired();
}

void CNetworkDlg::OnSelfAdapt() {
    if (!UpdateData(TRUE)) return;
    Store().netIf[NETIF_WIRED].bSelfAdapt = m_bSelfAdapt;
    if (m_bSelfAdapt) ShowMessage(22);
}

void CNetworkDlg::OnLanMode() {
    if (!UpdateData(TRUE)) return;
    Store().ORVLANModel = m_comboMode.GetCurSel() == 1 ? 1 : 0;
}

void CNetworkDlg::OnStartAp() {
    Pkt()->nParam = AP_MODE_QUERY;
    Send(REQ_AP_MODE, (int)CFG_HEADER_SIZE);
}

void CNetworkDlg::OnApReply(int nState) {
    switch (nState) {
    case 0:
        if (Ask(45)) {
            Pkt()->nParam = AP_MODE_START;
            Send(REQ_AP_MODE, (int)CFG_HEADER_SIZE);
            ShowMessage(48);
        }
        break;
    case 1:
        ShowMessage(47);
        break;
    case 2:
        if (Ask(46)) {
            Pkt()->nParam = AP_MODE_START;
            Send(REQ_AP_MODE, (int)CFG_HEADER_SIZE);
        }
        break;
    case -1:
        ShowMessage(49);
        break;
    default:
        break;
    }
}

void CNetworkDlg::OnIperfStart() {
    if (!UpdateData(TRUE)) return;
    CfgPacket* p = Pkt();
    const size_t room = sizeof m_packetBuf - CFG_HEADER_SIZE;
    size_t len = (size_t)m_strIperfCmd.GetLength();
    if (len >= room) len = room - 1;
    memcpy(p->Data(), (const char*)m_strIperfCmd, len);
    p->Data()[len] = '\0';
    Send(REQ_IPERF_START, (int)(CFG_HEADER_SIZE + len));
    GetDlgItem(IDC_NET_IPERF_OFF)->EnableWindow(TRUE);
    GetDlgItem(IDC_NET_IPERF_ON)->EnableWindow(FALSE);
    UpdateData(FALSE);
}

void CNetworkDlg::OnIperfStop() {
    Send(REQ_IPERF_STOP, (int)CFG_HEADER_SIZE);
    GetDlgItem(IDC_NET_IPERF_ON)->EnableWindow(TRUE);
    GetDlgItem(IDC_NET_IPERF_OFF)->EnableWindow(FALSE);
    UpdateData(FALSE);
}

void CNetworkDlg::OnCustomSsid() {
    GetDlgItem(IDC_NET_USER)->ShowWindow(SW_SHOW);
    GetDlgItem(IDC_NET_SSID_LIST)->ShowWindow(SW_HIDE);
    GetDlgItem(IDC_NET_USER)->EnableWindow(TRUE);
    GetDlgItem(IDC_NET_PASSWORD)->EnableWindow(TRUE);
    m_bCustomSsid = 1;
}

// The sub-dialogs edit the store themselves; OK sends what they changed (the IP filter sends its own).
void CNetworkDlg::OnGb28181() {
    m_gbDlg.DoModal();
}
void CNetworkDlg::OnRtmp() {
    m_rtmpDlg.DoModal();
}
void CNetworkDlg::OnDdns() {
    m_ddnsDlg.DoModal();
}
void CNetworkDlg::OnIpFilter() {
    m_ipFilterDlg.DoModal();
}
