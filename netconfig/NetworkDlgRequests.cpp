// The network dialog's requests that wait for the camera (scan, connect, disconnect), the
// access-point list they fill, and the camera's replies that CmdProc hands on.
#include "NetworkDlg.h"

#include <cstring>
#include <vector>

#include "NetworkDlgFields.h"
#include "NetReply.h"
#include "NetquillApp.h"

using netdlg::FieldLen;
using netdlg::SSID_ITEM_HEIGHT;
using netdlg::Store;

namespace {

// Icon cells of a listed access point, from the item's left edge.
constexpr int SSID_CELL_NONE_X = 120, SSID_CELL_LOCK_X = 180, SSID_CELL_SIGNAL_X = 210;
constexpr int STRIP_LOCK = 5;

// The fixed fields of the connect packets.
constexpr int CONNECT_FIELD = 32;

// Writes text into a connect field, zero-padded, with no terminator when it fills the field. A text
// of more than 32 bytes never gets here: the commands refuse it, since a cut name or key is a wrong one.
void PutConnectField(char* field, const char* text) {
    memset(field, 0, CONNECT_FIELD);
    memcpy(field, text, strnlen(text, CONNECT_FIELD));
}

} // namespace

// ---- requests ----

void CNetworkDlg::Send(int nType, int nLength) {
    if (m_bExiting) return;
    Pkt()->nType = nType;
    NetquillSend(Pkt(), nLength);
}

int CNetworkDlg::SendAndWait(int nType, int nLength, int nTextIndex, int nSeconds) {
    Send(nType, nLength);
    m_waitDlg.SetText(LoadText(nTextIndex));
    m_waitDlg.SetTimeout(nSeconds);
    m_nAwaitedReply = nType;
    const int result = (int)m_waitDlg.DoModal();
    m_nAwaitedReply = 0; // a reply after the wait is late: it ends nothing
    return result;
}

bool CNetworkDlg::VetTexts(std::initializer_list<const char*> texts) {
    for (const char* t : texts) {
        if (!IsSendableText(t)) {
            ShowMessage(TEXT_UNSENDABLE);
            return false;
        }
    }
    return true;
}

// The boxes belong to the dialog, whichever window is active, so that ExitModal finds them.
void CNetworkDlg::ShowMessage(int nTextIndex) {
    if (!m_bExiting) MessageBox(LoadText(nTextIndex), nullptr, MB_OK);
}

bool CNetworkDlg::Ask(int nTextIndex) {
    return !m_bExiting && MessageBox(LoadText(nTextIndex), nullptr, MB_YESNO) == IDYES && !m_bExiting;
}

void CNetworkDlg::OnConnect() {
    // A field the exchange refused has not reached its member: the command must not go out with the
    // value from before.
    if (!UpdateData(TRUE)) return;
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
    if (!AfxCheckMaxChars(this, IDC_NET_USER, m_strUser, CONNECT_FIELD) ||
        !AfxCheckMaxChars(this, IDC_NET_PASSWORD, m_strPassword, CONNECT_FIELD) ||
        !VetTexts({m_strUser, m_strPassword}))
        return;
    const int result = SendConnect(REQ_DIALUP_CONNECT, m_strUser, m_strPassword, 50);
    OnDialUp();
    ReportConnectionResult(result, true);
}

int CNetworkDlg::SendConnect(int nType, const char* name, const char* key, int nSeconds) {
    CfgPacket* p = Pkt();
    p->nParam = CONNECT_FIELD;
    p->nLength = CONNECT_FIELD;
    PutConnectField(p->Data(), name);
    PutConnectField(p->Data() + CONNECT_FIELD, key);
    return SendAndWait(nType, (int)CFG_HEADER_SIZE + 2 * CONNECT_FIELD, 30, nSeconds);
}

void CNetworkDlg::DialUpDisconnect() {
    const int result = SendAndWait(REQ_DIALUP_DISCONNECT, (int)CFG_HEADER_SIZE, 34, 50);
    OnDialUp();
    ReportConnectionResult(result, false);
}

void CNetworkDlg::WifiConnect() {
    const int i = m_comboSsid.GetCurSel();
    if (!IsListedAp(i)) {
        // Nothing picked, the not-found item, or a record emptied since: no access point to connect to.
        ShowMessage(28);
        return;
    }
    if (m_strPassword.IsEmpty()) {
        ShowMessage(40);
        return;
    }
    const ApRecord& ap = Store().apList[i];
    char ssid[sizeof ap.szSsid + 1] = {};
    memcpy(ssid, ap.szSsid, FieldLen(ap.szSsid, sizeof ap.szSsid));
    if (!AfxCheckMaxChars(this, IDC_NET_PASSWORD, m_strPassword, CONNECT_FIELD) ||
        !VetTexts({ssid, m_strPassword}))
        return;
    const int result = SendConnect(REQ_WIFI_CONNECT, ssid, m_strPassword, 60);
    OnWireless();
    ReportConnectionResult(result, true);
}

void CNetworkDlg::WifiDisconnect() {
    const int result = SendAndWait(REQ_WIFI_DISCONNECT, (int)CFG_HEADER_SIZE, 34, 10);
    OnWireless();
    ReportConnectionResult(result, false);
}

void CNetworkDlg::ReportConnectionResult(int nResult, bool bConnect) {
    switch (nResult) {
    case RESULT_SUCCESS:
        ShowMessage(bConnect ? 31 : 35);
        break;
    case RESULT_FAILURE:
        ShowMessage(bConnect ? 32 : 36);
        break;
    case RESULT_TIMEOUT:
        ShowMessage(bConnect ? 33 : 37);
        break;
    default:
        break;
    }
}

void CNetworkDlg::OnScan() {
    GetDlgItem(IDC_NET_USER)->ShowWindow(SW_HIDE);
    GetDlgItem(IDC_NET_SSID_LIST)->ShowWindow(SW_SHOW);
    GetDlgItem(IDC_NET_PASSWORD)->EnableWindow(FALSE);
    m_bCustomSsid = 0;

    m_nScanFound = -1;
    SendAndWait(REQ_SCAN, (int)CFG_HEADER_SIZE, 38, 30);
    // Only a reply that came while the box was open is a result, and it lists only the records it
    // carried; a timeout lists nothing, whatever the store still holds from before.
    FillSsidList(m_nScanFound);
}

void CNetworkDlg::FillSsidList(int nFound) {
    NetConfigStore& store = Store();
    m_comboSsid.ResetContent();
    m_comboSsid.ResetItems();

    bool bComplete = false;
    // The store keeps its records from earlier scans; only what this listing shows may be picked.
    m_nListedAps = 0;
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
            // The list draws whatever cell it is given: a quality past 100 shows full bars, not the lock.
            m_comboSsid.SetItemIcon(i, 3, SSID_CELL_SIGNAL_X, SignalIcon(ap.nQuality, SIGNAL_ICON_IN_BARS));
        }
        bComplete = (i == nFound);
        m_nListedAps = i;
    }

    if (bComplete) {
        for (int i = 0; i < nFound; ++i)
            m_comboSsid.SetItemHeight(i, SSID_ITEM_HEIGHT);
        for (int id : {IDC_NET_SSID_LIST, IDC_NET_PASSWORD, IDC_NET_CONNECT})
            GetDlgItem(id)->EnableWindow(TRUE);
        m_comboSsid.SetCurSel(0);
        m_comboSsid.ShowDropDown(TRUE);
        return;
    }
    m_strNotFound = LoadText(39);
    m_comboSsid.AddString(m_strNotFound);
    m_comboSsid.SetItemHeight(0, SSID_ITEM_HEIGHT);
    m_comboSsid.SetCurSel(0);
}

bool CNetworkDlg::IsListedAp(int i) const {
    const NetConfigStore& store = Store();
    return i >= 0 && i < m_nListedAps && i < store.nApCount && i < NQ_AP_LIST_SIZE &&
           store.apList[i].szSsid[0] != '\0';
}

void CNetworkDlg::OnSsidSelChange() {
    const int i = m_comboSsid.GetCurSel();
    if (!IsListedAp(i)) return; // no record picked: nothing to copy
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

// ---- replies ----

void CNetworkDlg::OnCmdProc(const void* pPacket) {
    // The replies are the dialog's: without its window there is no wait to end, no page to lay out
    // and no question to ask (an AP-mode start would go out from a buffer not yet prepared), and
    // once ExitRCDlg has come there is none any more, although the window lives until the loops unwind.
    if (!m_hWnd || m_bExiting) return;
    std::vector<uint32_t> copy;
    switch (TakeReply(pPacket, copy)) {
    case ReplyRoute::Drop:
        return;
    case ReplyRoute::NoPermission:
        ShowMessage(53);
        return;
    case ReplyRoute::IpFilter:
        m_ipFilterDlg.OnReply(&ReplyPacket(copy)->nType);
        return;
    case ReplyRoute::Network:
        break;
    }

    CfgPacket* p = ReplyPacket(copy);
    switch (p->nType) {
    case REQ_DIALUP_CONNECT:
    case REQ_DIALUP_DISCONNECT:
    case REQ_WIFI_CONNECT:
    case REQ_WIFI_DISCONNECT:
        ParseParams(p->Data());
        if (p->nType != m_nAwaitedReply) break; // late, or the answer to another request
        if (p->nParam == CFG_REPLY_SUCCESS || p->nParam == CFG_REPLY_FAILURE) {
            m_nAwaitedReply = 0;
            m_waitDlg.EndPopUp(p->nParam == CFG_REPLY_SUCCESS ? RESULT_SUCCESS : RESULT_FAILURE);
        }
        break;
    case REQ_REFRESH:
        ParseParams(p->Data());
        ShowActivePage();
        break;
    case REQ_AP_MODE:
        OnApReply(p->nParam);
        break;
    case REQ_SCAN:
        // Only the scan being waited for: a late one would change the records under the list on show.
        if (m_nAwaitedReply != REQ_SCAN) break;
        m_nAwaitedReply = 0;
        m_nScanFound = TakeScanRecords(*p, Store());
        m_waitDlg.EndPopUp(p->nParam);
        break;
    default:
        break;
    }
}
