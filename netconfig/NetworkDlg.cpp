#include "NetworkDlg.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "GbkText.h"
#include "NetquillApp.h"
#include "ParamText.h"

namespace {

NetConfigStore& Store() { return g_netConfig; }

// Wire values of the authentication and encryption lists (WIFI_AUTH, WIFI_ENC).
const char* const kAuthNames[] = {"OPEN", "SHARED", "WEPAUTO", "WPAPSK", "WPA2PSK", "WPANONE"};
const char* const kEncNames[] = {"NONE", "WEP", "TKIP", "AES"};

// Icon cells of a listed access point, from the item's left edge.
constexpr int SSID_CELL_NONE_X = 120, SSID_CELL_LOCK_X = 180, SSID_CELL_SIGNAL_X = 210;
constexpr int STRIP_LOCK = 5;
constexpr int SSID_ITEM_HEIGHT = 30, SSID_FIELD_HEIGHT = 22, SSID_DROP_WIDTH = 200;

// The fixed fields of the connect packets.
constexpr int CONNECT_FIELD = 32;

// Bytes of a fixed text field up to its first NUL, at most size.
size_t FieldLen(const char* field, size_t size) {
    const void* nul = memchr(field, 0, size);
    return nul ? (size_t)((const char*)nul - field) : size;
}

// Texts compared byte by byte up to the terminator, neither read past its field.
bool FieldEquals(const char* a, size_t aSize, const char* b, size_t bSize) {
    const size_t la = FieldLen(a, aSize), lb = FieldLen(b, bSize);
    return la == lb && memcmp(a, b, la) == 0;
}

// Writes text into a connect field: at most 32 bytes, zero-padded, no terminator when it fills the
// field. A GBK character that does not fit whole is left out.
void PutConnectField(char* field, const char* text, size_t len) {
    memset(field, 0, CONNECT_FIELD);
    if (len > (size_t)CONNECT_FIELD) {
        char cut[CONNECT_FIELD + 1];
        CopyGbkBounded(cut, sizeof cut, text);
        len = strlen(cut);
    }
    memcpy(field, text, len);
}

// Signal cell of the strip for a quality of 1 to 100.
int SignalIcon(int quality) {
    int icon = (quality + 19) / 20 - 1;
    return icon < 0 ? 0 : (icon > 4 ? 4 : icon);
}

// The set-parameters text: each item formatted into a 256-byte work buffer, then appended.
class ParamBuilder {
public:
    ParamBuilder(char* text, size_t capacity) : m_text(text), m_capacity(capacity) { m_text[0] = '\0'; }
    void Add(const char* fmt, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
    {
        char item[256];
        va_list args;
        va_start(args, fmt);
        vsnprintf(item, sizeof item, fmt, args);
        va_end(args);
        ParamTextAppendf(m_text, m_capacity, "%s", item);
    }
    int Length() const { return (int)strlen(m_text); }

private:
    char* m_text;
    size_t m_capacity;
};

} // namespace

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
    DDV_MaxChars(pDX, m_strUser, 32);
    DDX_Text(pDX, IDC_NET_PASSWORD, m_strPassword);
    DDV_MaxChars(pDX, m_strPassword, 63);
    DDX_Check(pDX, IDC_NET_DHCP, m_bDhcp);
    DDX_Check(pDX, IDC_NET_SELF_ADAPT, m_bSelfAdapt);
    DDX_Text(pDX, IDC_NET_IPERF_CMD, m_strIperfCmd);
    DDX_Check(pDX, IDC_NET_SMART_ONLINE, m_bSmartOnline);
}

void CNetworkDlg::ParseParams(const char* text) {
    ParseNetParams(text, Store(), NetDlgParams{&m_nSoftVersion, &m_nClientPower, &m_bRtmpSupport});
    m_ipFilterDlg.ParseList(text);
}

void CNetworkDlg::ExitModal(int nCode) { EndDialog(nCode); }

BOOL CNetworkDlg::OnInitDialog() {
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
        {IDC_NET_TYPE_LABEL, 1},      {IDC_NET_WIRED, 2},          {IDC_NET_DIALUP, 3},
        {IDC_NET_WIRELESS, 4},        {IDC_NET_USER_LABEL, 5},     {IDC_NET_PASSWORD_LABEL, 6},
        {IDC_NET_AUTH_LABEL, 7},      {IDC_NET_ENC_LABEL, 8},      {IDC_NET_SCAN, 9},
        {IDC_NET_CUSTOM_SSID, 10},    {IDC_NET_CONNECT, 11},       {IDC_NET_DHCP, 20},
        {IDC_NET_SELF_ADAPT, 21},     {IDC_NET_INFO_GROUP, 14},    {IDC_NET_IP_LABEL, 15},
        {IDC_NET_MASK_LABEL, 16},     {IDC_NET_GW_LABEL, 17},      {IDC_NET_DNS_LABEL, 18},
        {IDC_NET_MAC_LABEL, 19},      {IDC_NET_CLOUD_NO_LABEL, 23}, {IDC_NET_STATUS_LABEL, 24},
        {IDC_NET_SMART_ONLINE, 107},  {IDC_NET_REFRESH, 50},       {IDOK, 51},
        {IDCANCEL, 52},               {IDC_NET_GB28181, 56},       {IDC_NET_START_AP, 44},
        {IDC_NET_MODE_LABEL, 66},
    };
    for (const auto& l : kLabels) SetDlgItemText(l.id, LoadText(l.text));

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
    if (m_nNetType == NET_DIALUP)
        OnDialUp();
    else if (m_nNetType == NET_WIRELESS)
        OnWireless();
    else
        OnWired();

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
    for (int id : {IDC_NET_DHCP, IDC_NET_SELF_ADAPT}) GetDlgItem(id)->ShowWindow(SW_SHOW);
    for (int id : {IDC_NET_USER_LABEL, IDC_NET_PASSWORD_LABEL, IDC_NET_USER, IDC_NET_PASSWORD, IDC_NET_SSID_LIST,
                   IDC_NET_SCAN, IDC_NET_CUSTOM_SSID, IDC_NET_CONNECT, IDC_NET_AUTH_LABEL, IDC_NET_ENC_LABEL,
                   IDC_NET_AUTH, IDC_NET_ENC})
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
    for (int id : {IDC_NET_USER, IDC_NET_PASSWORD}) GetDlgItem(id)->EnableWindow(!bOn);
    for (int id : {IDC_NET_SSID_LIST, IDC_NET_SCAN}) GetDlgItem(id)->EnableWindow(FALSE);
    SetDlgItemText(IDC_NET_CONNECT, LoadText(bOn ? 27 : 11));
    for (int id : {IDC_NET_IP, IDC_NET_MASK, IDC_NET_GATEWAY, IDC_NET_DNS}) GetDlgItem(id)->EnableWindow(FALSE);
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
    for (int id : {IDC_NET_USER_LABEL, IDC_NET_PASSWORD_LABEL, IDC_NET_PASSWORD, IDC_NET_SSID_LIST, IDC_NET_SCAN,
                   IDC_NET_AUTH_LABEL, IDC_NET_ENC_LABEL, IDC_NET_AUTH, IDC_NET_ENC})
        GetDlgItem(id)->ShowWindow(SW_SHOW);
    for (int id : {IDC_NET_USER, IDC_NET_PASSWORD, IDC_NET_SSID_LIST}) GetDlgItem(id)->EnableWindow(FALSE);
    GetDlgItem(IDC_NET_CUSTOM_SSID)->ShowWindow(m_nSoftVersion < CUSTOM_SSID_MIN_VERSION ? SW_HIDE : SW_SHOW);
    GetDlgItem(IDC_NET_CUSTOM_SSID)->EnableWindow(TRUE);
    SetDlgItemText(IDC_NET_CONNECT, LoadText(bOn ? 27 : 11));
    for (int id : {IDC_NET_IP, IDC_NET_MASK, IDC_NET_GATEWAY, IDC_NET_DNS}) GetDlgItem(id)->EnableWindow(FALSE);

    store.nApCount = -1;

    m_comboSsid.ResetContent();
    m_comboSsid.ResetItems();
    m_comboSsid.SetBitmap(IDB_STRIP_NETQUILL, 25, 20);
    m_comboSsid.SetDroppedWidth(SSID_DROP_WIDTH);
    m_comboSsid.SetItemHeight(-1, SSID_FIELD_HEIGHT);

    CComboBox* pAuth = static_cast<CComboBox*>(GetDlgItem(IDC_NET_AUTH));
    CComboBox* pEnc = static_cast<CComboBox*>(GetDlgItem(IDC_NET_ENC));
    pAuth->ResetContent();
    pEnc->ResetContent();
    for (const char* name : kAuthNames) pAuth->AddString(name);
    for (const char* name : kEncNames) pEnc->AddString(name);

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
        for (int id : {IDC_NET_USER, IDC_NET_PASSWORD, IDC_NET_SCAN}) GetDlgItem(id)->EnableWindow(FALSE);
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
    while (letters < 4 && ((group >> (8 * letters)) & 0xFF) != 0) ++letters;
    size_t pos = 0;
    for (int i = 0; i < letters; ++i) number[pos++] = (char)((group >> (8 * i)) & 0xFF);
    snprintf(number + pos, sizeof number - pos, "%d", (int)store.ORVID);
    m_strCloudNo = number; // stops at a zero first letter

    m_strCloudStatus = LoadText(store.ORVSTATUS == 1 ? 25 : 26);
    m_bSmartOnline = store.bSmartOnline;
    UpdateData(FALSE);
}

void CNetworkDlg::ShowActivePage() {
    m_nNetType = Store().ACTIVED;
    if (m_nNetType == NET_DIALUP)
        OnDialUp();
    else if (m_nNetType == NET_WIRELESS)
        OnWireless();
    else
        OnWired();
}

// ---- requests ----

void CNetworkDlg::Send(int nLength) { NetquillSend(Pkt(), nLength); }

int CNetworkDlg::SendAndWait(int nLength, int nTextIndex, int nSeconds) {
    Send(nLength);
    m_waitDlg.SetText(LoadText(nTextIndex));
    m_waitDlg.SetTimeout(nSeconds);
    return (int)m_waitDlg.DoModal();
}

void CNetworkDlg::ShowMessage(int nTextIndex) { AfxMessageBox(LoadText(nTextIndex), MB_OK); }

void CNetworkDlg::OnConnect() {
    UpdateData(TRUE);
    const NetConfigStore& store = Store();
    if (m_nNetType == NET_DIALUP) {
        if (store.netIf[NETIF_DIALUP].bOn)
            DialUpDisconnect();
        else
            DialUpConnect();
    } else if (m_nNetType == NET_WIRELESS) {
        if (store.netIf[NETIF_WIRELESS].bOn)
            WifiDisconnect();
        else
            WifiConnect();
    }
}

void CNetworkDlg::DialUpConnect() {
    if (m_strUser.IsEmpty() || m_strPassword.IsEmpty()) {
        ShowMessage(29);
        return;
    }
    CfgPacket* p = Pkt();
    p->nType = 1;
    p->nParam = CONNECT_FIELD;
    p->nLength = CONNECT_FIELD;
    PutConnectField(p->Data(), m_strUser, (size_t)m_strUser.GetLength());
    PutConnectField(p->Data() + CONNECT_FIELD, m_strPassword, (size_t)m_strPassword.GetLength());
    const int result = SendAndWait((int)CFG_HEADER_SIZE + 2 * CONNECT_FIELD, 30, 50);
    OnDialUp();
    ReportConnectionResult(result, true, true);
}

void CNetworkDlg::DialUpDisconnect() {
    Pkt()->nType = 2;
    const int result = SendAndWait((int)CFG_HEADER_SIZE, 34, 50);
    OnDialUp();
    ReportConnectionResult(result, false, true);
}

void CNetworkDlg::WifiConnect() {
    const int i = m_comboSsid.GetCurSel();
    if (i < 0 || i >= NQ_AP_LIST_SIZE) {
        // Nothing picked: there is no access point to connect to.
        ShowMessage(28);
        return;
    }
    if (m_strPassword.IsEmpty()) {
        ShowMessage(40);
        return;
    }
    const ApRecord& ap = Store().apList[i];
    CfgPacket* p = Pkt();
    p->nType = 4;
    p->nParam = CONNECT_FIELD;
    p->nLength = CONNECT_FIELD;
    char ssid[sizeof ap.szSsid + 1] = {};
    memcpy(ssid, ap.szSsid, FieldLen(ap.szSsid, sizeof ap.szSsid));
    PutConnectField(p->Data(), ssid, strlen(ssid));
    PutConnectField(p->Data() + CONNECT_FIELD, m_strPassword, (size_t)m_strPassword.GetLength());
    const int result = SendAndWait((int)CFG_HEADER_SIZE + 2 * CONNECT_FIELD, 30, 60);
    OnWireless();
    ReportConnectionResult(result, true, false);
}

void CNetworkDlg::WifiDisconnect() {
    Pkt()->nType = 5;
    const int result = SendAndWait((int)CFG_HEADER_SIZE, 34, 10);
    OnWireless();
    ReportConnectionResult(result, false, false);
}

void CNetworkDlg::ReportConnectionResult(int nResult, bool bConnect, bool bDialUp) {
    switch (nResult) {
    case RESULT_SUCCESS: ShowMessage(bConnect ? 31 : 35); break;
    case RESULT_FAILURE: ShowMessage(bConnect ? 32 : 36); break;
    case RESULT_TIMEOUT: ShowMessage(bConnect ? 33 : 37); break;
    case RESULT_RETRY_DISCONNECT:
        // The camera asks to drop the half-made connection first; no wait for that answer.
        if (bConnect) {
            Pkt()->nType = bDialUp ? 2 : 5;
            Send((int)CFG_HEADER_SIZE);
        }
        break;
    default: break;
    }
}

void CNetworkDlg::OnScan() {
    GetDlgItem(IDC_NET_USER)->ShowWindow(SW_HIDE);
    GetDlgItem(IDC_NET_SSID_LIST)->ShowWindow(SW_SHOW);
    GetDlgItem(IDC_NET_PASSWORD)->EnableWindow(FALSE);
    m_bCustomSsid = 0;

    Pkt()->nType = 14;
    const int n = SendAndWait((int)CFG_HEADER_SIZE, 38, 30);
    FillSsidList(n);
}

void CNetworkDlg::FillSsidList(int nFound) {
    NetConfigStore& store = Store();
    m_comboSsid.ResetContent();
    m_comboSsid.ResetItems();

    bool bComplete = false;
    if (nFound >= 1 && nFound <= NQ_AP_LIST_SIZE) {
        store.nApCount = nFound;
        int i = 0;
        for (; i < nFound; ++i) {
            ApRecord& ap = store.apList[i];
            if (ap.szSsid[0] == '\0') break;
            // A terminated copy: an SSID may fill its 32 bytes, and the key follows it.
            memset(m_szSsidText[i], 0, sizeof m_szSsidText[i]);
            memcpy(m_szSsidText[i], ap.szSsid, FieldLen(ap.szSsid, sizeof ap.szSsid));
            m_comboSsid.InsertString(i, m_szSsidText[i]);
            if (ap.nQuality == 0) ap.nQuality = 1;
            m_comboSsid.SetItemIcon(i, 1, SSID_CELL_NONE_X, -1);
            m_comboSsid.SetItemIcon(i, 2, SSID_CELL_LOCK_X, ap.nEncryption != -1 ? STRIP_LOCK : -1);
            m_comboSsid.SetItemIcon(i, 3, SSID_CELL_SIGNAL_X, SignalIcon(ap.nQuality));
        }
        bComplete = (i == nFound);
    }

    if (bComplete) {
        for (int i = 0; i < nFound; ++i) m_comboSsid.SetItemHeight(i, SSID_ITEM_HEIGHT);
        for (int id : {IDC_NET_SSID_LIST, IDC_NET_PASSWORD, IDC_NET_CONNECT}) GetDlgItem(id)->EnableWindow(TRUE);
        m_comboSsid.SetCurSel(0);
        m_comboSsid.ShowDropDown(TRUE);
        return;
    }
    m_strNotFound = LoadText(39);
    m_comboSsid.AddString(m_strNotFound);
    m_comboSsid.SetItemHeight(0, SSID_ITEM_HEIGHT);
    m_comboSsid.SetCurSel(0);
}

void CNetworkDlg::OnSsidSelChange() {
    const int i = m_comboSsid.GetCurSel();
    if (i < 0 || i >= NQ_AP_LIST_SIZE) return; // nothing picked: nothing to copy
    const ApRecord& ap = Store().apList[i];
    char text[sizeof ap.szKey + 1] = {};
    memcpy(text, ap.szSsid, FieldLen(ap.szSsid, sizeof ap.szSsid));
    m_comboSsid.SetWindowText(text);
    static_cast<CComboBox*>(GetDlgItem(IDC_NET_AUTH))->SetCurSel(ap.nAuthIndex);
    static_cast<CComboBox*>(GetDlgItem(IDC_NET_ENC))->SetCurSel(ap.nEncIndex);
    memset(text, 0, sizeof text);
    memcpy(text, ap.szKey, FieldLen(ap.szKey, sizeof ap.szKey));
    m_strPassword = text;
    UpdateData(FALSE);
}

void CNetworkDlg::OnRefresh() {
    if (m_bRefreshPending) return;
    m_bRefreshPending = 1;
    ::Sleep(1);
    Pkt()->nType = 8;
    Send((int)CFG_HEADER_SIZE);
}

void CNetworkDlg::OnTimer(UINT_PTR nIDEvent) {
    m_bRefreshPending = 0;
    CDialog::OnTimer(nIDEvent);
}

void CNetworkDlg::OnDhcp() {
    UpdateData(TRUE);
    Store().netIf[NETIF_WIRED].bDhcp = m_bDhcp;
    OnWired();
}

void CNetworkDlg::OnSelfAdapt() {
    UpdateData(TRUE);
    Store().netIf[NETIF_WIRED].bSelfAdapt = m_bSelfAdapt;
    if (m_bSelfAdapt) ShowMessage(22);
}

void CNetworkDlg::OnLanMode() {
    UpdateData(TRUE);
    Store().ORVLANModel = m_comboMode.GetCurSel() == 1 ? 1 : 0;
}

void CNetworkDlg::OnStartAp() {
    Pkt()->nType = 12;
    Pkt()->nParam = 0;
    Send((int)CFG_HEADER_SIZE);
}

void CNetworkDlg::OnApReply(int nState) {
    switch (nState) {
    case 0:
        if (AfxMessageBox(LoadText(45), MB_YESNO) == IDYES) {
            Pkt()->nType = 12;
            Pkt()->nParam = 1;
            Send((int)CFG_HEADER_SIZE);
            ShowMessage(48);
        }
        break;
    case 1: ShowMessage(47); break;
    case 2:
        if (AfxMessageBox(LoadText(46), MB_YESNO) == IDYES) {
            Pkt()->nType = 12;
            Pkt()->nParam = 1;
            Send((int)CFG_HEADER_SIZE);
        }
        break;
    case -1: ShowMessage(49); break;
    default: break;
    }
}

void CNetworkDlg::OnIperfStart() {
    UpdateData(TRUE);
    CfgPacket* p = Pkt();
    p->nType = 254;
    const size_t room = sizeof m_packetBuf - CFG_HEADER_SIZE;
    size_t len = (size_t)m_strIperfCmd.GetLength();
    if (len >= room) len = room - 1;
    memcpy(p->Data(), (const char*)m_strIperfCmd, len);
    p->Data()[len] = '\0';
    Send((int)(CFG_HEADER_SIZE + len));
    GetDlgItem(IDC_NET_IPERF_OFF)->EnableWindow(TRUE);
    GetDlgItem(IDC_NET_IPERF_ON)->EnableWindow(FALSE);
    UpdateData(FALSE);
}

void CNetworkDlg::OnIperfStop() {
    Pkt()->nType = 255;
    Send((int)CFG_HEADER_SIZE);
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
void CNetworkDlg::OnGb28181() { m_gbDlg.DoModal(); }
void CNetworkDlg::OnRtmp() { m_rtmpDlg.DoModal(); }
void CNetworkDlg::OnDdns() { m_ddnsDlg.DoModal(); }
void CNetworkDlg::OnIpFilter() { m_ipFilterDlg.DoModal(); }

// ---- replies ----

void CNetworkDlg::OnCmdProc(const void* pPacket) {
    if (!pPacket) return;
    CfgPacket head;
    memcpy(&head, pPacket, sizeof head);
    if (CfgKindUnsigned(head.header) != CFG_KIND_SETTINGS) return;
    if (head.nParam == CFG_REPLY_NO_PERMISSION) {
        ShowMessage(53);
        return;
    }
    // The copy needs room for the data and the NUL behind it; a longer claim is not a reply we read.
    if (head.nLength < 0 || (size_t)head.nLength >= CFG_NETQUILL_BUFFER_SIZE - CFG_HEADER_SIZE) return;

    // A copy of exactly this packet on the heap: replies nest (one may arrive inside the message box
    // of another), and a full-size buffer in every frame would run the UI thread out of stack.
    std::vector<uint32_t> copy((CFG_HEADER_SIZE + (size_t)head.nLength + 1 + 3) / 4);
    memcpy(copy.data(), pPacket, CFG_HEADER_SIZE + (size_t)head.nLength);
    CfgPacket* p = reinterpret_cast<CfgPacket*>(copy.data());
    p->Data()[p->nLength] = '\0';

    if (CfgIsIpFilterModule(p->header)) {
        m_ipFilterDlg.OnReply(&p->nType);
        return;
    }

    switch (p->nType) {
    case 1:
    case 2:
    case 4:
    case 5:
        ParseParams(p->Data());
        if (p->nParam == CFG_REPLY_SUCCESS)
            m_waitDlg.EndPopUp(RESULT_SUCCESS);
        else if (p->nParam == CFG_REPLY_FAILURE)
            m_waitDlg.EndPopUp(RESULT_FAILURE);
        break;
    case 8:
        ParseParams(p->Data());
        if (m_hWnd) ShowActivePage();
        break;
    case 12: OnApReply(p->nParam); break;
    case 14: {
        // At most the list's 128 records; the rest of a longer reply is dropped.
        size_t n = (size_t)p->nLength;
        if (n > sizeof Store().apList) n = sizeof Store().apList;
        memcpy(Store().apList, p->Data(), n);
        m_waitDlg.EndPopUp(p->nParam);
        break;
    }
    default: break;
    }
}

// ---- OK ----

void CNetworkDlg::OnOK() {
    UpdateData(TRUE);
    if (!(m_nClientPower & CLIENT_POWER_SET)) {
        ShowMessage(53);
        return;
    }
    NetConfigStore& store = Store();
    CfgPacket* p = Pkt();
    p->nType = 9;
    ParamBuilder text(p->Data(), sizeof m_packetBuf - CFG_HEADER_SIZE);
    bool bRestart = false;

    text.Add("ACTIVED=%d;", m_nNetType);
    if (m_bSmartOnline != store.bSmartOnline) text.Add("bSmartOnline=%d;", m_bSmartOnline);

    if (m_nNetType == NET_DIALUP) {
        if (m_strUser.IsEmpty() || m_strPassword.IsEmpty()) {
            ShowMessage(41);
            return;
        }
        text.Add("ADSL_ID=%s;", (const char*)m_strUser);
        text.Add("ADSL_PW=%s;", (const char*)m_strPassword);
        const NetIfRecord& rec = store.netIf[NETIF_DIALUP];
        const bool bSame = store.ACTIVED == NET_DIALUP &&
                           FieldEquals(m_strUser, (size_t)m_strUser.GetLength() + 1, rec.szId, sizeof rec.szId) &&
                           FieldEquals(m_strPassword, (size_t)m_strPassword.GetLength() + 1, rec.szPassword,
                                       sizeof rec.szPassword);
        if (!bSame) bRestart = true;
    } else if (m_nNetType == NET_WIRELESS) {
        const int i = m_comboSsid.GetCurSel();
        if (!m_bCustomSsid && store.nApCount == -1) {
            if (store.ACTIVED != NET_WIRELESS) {
                ShowMessage(42);
                return;
            }
        } else if ((m_bCustomSsid && m_strUser.IsEmpty()) || i < 0 || i >= NQ_AP_LIST_SIZE) {
            ShowMessage(42);
            return;
        } else {
            const ApRecord& ap = store.apList[i];
            char ssid[sizeof ap.szSsid + 1] = {};
            memcpy(ssid, ap.szSsid, FieldLen(ap.szSsid, sizeof ap.szSsid));
            CComboBox* pAuth = static_cast<CComboBox*>(GetDlgItem(IDC_NET_AUTH));
            CComboBox* pEnc = static_cast<CComboBox*>(GetDlgItem(IDC_NET_ENC));
            text.Add("WIFI_AP=%d;", i);
            text.Add("WIFI_ID=%s;", m_bCustomSsid ? (const char*)m_strUser : ssid);
            text.Add("WIFI_PW=%s;", (const char*)m_strPassword);
            text.Add("WIFI_AUTH=%d;", pAuth->GetCurSel());
            text.Add("WIFI_ENC=%d;", pEnc->GetCurSel());
            const NetIfRecord& rec = store.netIf[NETIF_WIRELESS];
            const bool bSame =
                store.ACTIVED == NET_WIRELESS && FieldEquals(ssid, sizeof ssid, rec.szId, sizeof rec.szId) &&
                FieldEquals(m_strPassword, (size_t)m_strPassword.GetLength() + 1, rec.szPassword,
                            sizeof rec.szPassword) &&
                ap.nAuthIndex == rec.nAuth && ap.nEncIndex == rec.nEnc;
            if (!bSame) bRestart = true;
        }
    } else {
        NetIfRecord& rec = store.netIf[NETIF_WIRED];
        rec.bDhcp = m_bDhcp;
        rec.bSelfAdapt = m_bSelfAdapt;
        DWORD ip = 0, mask = 0, gw = 0, dns = 0;
        m_ipAddr.GetAddress(ip);
        m_ipMask.GetAddress(mask);
        m_ipGateway.GetAddress(gw);
        m_ipDns.GetAddress(dns);
        rec.dwIp = ip;
        rec.dwMask = mask;
        rec.dwGateway = gw;
        rec.dwDns = dns;
        if ((gw & mask) != (ip & mask)) {
            ShowMessage(55);
            return;
        }
        if ((ip & 0xFF) == 0xFF) {
            ShowMessage(54);
            return;
        }
        const WiredSnapshot& snap = store.wiredSnapshot;
        const bool bAll = store.ACTIVED != NET_WIRED;
        if (bAll || rec.bSelfAdapt != snap.bSelfAdapt) text.Add("bIPSelfAdapt=%d;", rec.bSelfAdapt);
        if (bAll || rec.bDhcp != snap.bDhcp) text.Add("bDHCP=%d;", rec.bDhcp);
        if (bAll || rec.dwIp != snap.dwIp) text.Add("nlIP=%d;", (int)rec.dwIp);
        if (bAll || rec.dwMask != snap.dwMask) text.Add("nlNM=%d;", (int)rec.dwMask);
        if (bAll || rec.dwGateway != snap.dwGateway) text.Add("nlGW=%d;", (int)rec.dwGateway);
        if (bAll || rec.dwDns != snap.dwDns) text.Add("nlDNS=%d;", (int)rec.dwDns);
        if (bAll) bRestart = true;
    }

    for (int s = 0; s < NQ_RTMP_COUNT; ++s) {
        const RtmpServer& live = store.rtmp[s];
        RtmpServer& snap = store.rtmpSnapshot[s];
        if (live.bEnable != snap.bEnable) text.Add("RTMP_EN%d=%d;", s, live.bEnable);
        if (!FieldEquals(live.szServerUrl, sizeof live.szServerUrl, snap.szServerUrl, sizeof snap.szServerUrl))
            text.Add("RTMP_SERVER_URL%d=%.*s;", s, (int)FieldLen(live.szServerUrl, sizeof live.szServerUrl),
                     live.szServerUrl);
        snap = live;
    }

    const DdnsConfig& dd = store.ddns;
    DdnsConfig& ddSnap = store.ddnsSnapshot;
    if (memcmp(&dd, &ddSnap, sizeof dd) != 0) {
        if (dd.nType != ddSnap.nType) text.Add("DDNS_Type=%d;", dd.nType);
        if (!FieldEquals(dd.szHost, sizeof dd.szHost, ddSnap.szHost, sizeof ddSnap.szHost))
            text.Add("DDNS_Host=%.*s;", (int)FieldLen(dd.szHost, sizeof dd.szHost), dd.szHost);
        if (!FieldEquals(dd.szUser, sizeof dd.szUser, ddSnap.szUser, sizeof ddSnap.szUser))
            text.Add("DDNS_User=%.*s;", (int)FieldLen(dd.szUser, sizeof dd.szUser), dd.szUser);
        if (!FieldEquals(dd.szPassword, sizeof dd.szPassword, ddSnap.szPassword, sizeof ddSnap.szPassword))
            text.Add("DDNS_Pwd=%.*s;", (int)FieldLen(dd.szPassword, sizeof dd.szPassword), dd.szPassword);
        ddSnap = dd;
    }

    if (bRestart) {
        text.Add("NW_RESTART=%d;", 1);
        if (AfxMessageBox(LoadText(43), MB_YESNO) != IDYES) return;
    }

    if (store.ORVLANModel != store.ORVLANModelSnapshot) text.Add("ORVLANModel=%d;", store.ORVLANModel);

    const GbConfig& gb = store.gb;
    GbConfig& gbSnap = store.gbSnapshot;
    if (memcmp(&gb, &gbSnap, sizeof gb) != 0) {
#define LK_GB_TEXT(field)                                                                                    \
    if (!FieldEquals(gb.field, sizeof gb.field, gbSnap.field, sizeof gbSnap.field))                          \
        text.Add(#field "=%.*s;", (int)FieldLen(gb.field, sizeof gb.field), gb.field);
#define LK_GB_INT(field)                                                                                     \
    if (gb.field != gbSnap.field) text.Add(#field "=%d;", (int)gb.field);
        LK_GB_INT(GB_bEnable)
        LK_GB_TEXT(GB_devid)
        LK_GB_TEXT(GB_devpasswd)
        LK_GB_TEXT(GB_serverip)
        LK_GB_INT(GB_serverport)
        LK_GB_INT(GB_localport)
        LK_GB_INT(GB_expires)
        LK_GB_TEXT(GB_alarminID)
        LK_GB_INT(GB_keepalive)
        LK_GB_INT(GB_KA_outtimes)
        LK_GB_INT(GB_EX_refresh)
#undef LK_GB_TEXT
#undef LK_GB_INT
        gbSnap = gb;
    }

    Send((int)CFG_HEADER_SIZE + text.Length());
    CDialog::OnOK();
}
