// The network dialog's OK: the set-parameters text with the settings that changed.
#include "NetworkDlg.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "NetworkDlgFields.h"
#include "NetquillApp.h"
#include "ParamText.h"

using netdlg::FieldEquals;
using netdlg::FieldLen;
using netdlg::Store;

namespace {

// The set-parameters text, built apart from the packet: each item formatted into a 256-byte work
// buffer, then appended. A text value goes through AddText, which remembers whether any value could
// not stand in the text.
class ParamBuilder {
public:
    explicit ParamBuilder(size_t capacity)
        : m_buffer(capacity, '\0'), m_text(m_buffer.data()), m_capacity(capacity) {}
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
    // "key=value;" with the value read up to its NUL, at most size bytes.
    void AddText(const char* key, const char* value, size_t size = (size_t)-1) {
        const size_t len = strnlen(value, size);
        if (!IsSendableText(value, len)) m_bUnsendable = true;
        Add("%s=%.*s;", key, (int)len, value);
    }
    const char* Text() const {
        return m_text;
    }
    int Length() const {
        return (int)strlen(m_text);
    }
    bool Unsendable() const {
        return m_bUnsendable;
    }

private:
    std::vector<char> m_buffer;
    char* m_text;
    size_t m_capacity;
    bool m_bUnsendable = false;
};

} // namespace

void CNetworkDlg::OnOK() {
    // A field the exchange refused (its box named it) has not reached its member: sending now would
    // send the value from before it. Nothing goes out, and the dialog keeps what the operator typed.
    if (!UpdateData(TRUE)) return;
    if (!(m_nClientPower & CLIENT_POWER_SET)) {
        ShowMessage(53);
        return;
    }
    NetConfigStore& store = Store();
    ParamBuilder text(sizeof m_packetBuf - CFG_HEADER_SIZE);
    bool bRestart = false;

    text.Add("ACTIVED=%d;", m_nNetType);
    if (m_bSmartOnline != store.bSmartOnline) text.Add("bSmartOnline=%d;", m_bSmartOnline);

    if (m_nNetType == NET_DIALUP) {
        if (m_strUser.IsEmpty() || m_strPassword.IsEmpty()) {
            ShowMessage(41);
            return;
        }
        text.AddText("ADSL_ID", m_strUser);
        text.AddText("ADSL_PW", m_strPassword);
        const NetIfRecord& rec = store.netIf[NETIF_DIALUP];
        const bool bSame =
            store.ACTIVED == NET_DIALUP &&
            FieldEquals(m_strUser, (size_t)m_strUser.GetLength() + 1, rec.szId, sizeof rec.szId) &&
            FieldEquals(m_strPassword, (size_t)m_strPassword.GetLength() + 1, rec.szPassword,
                        sizeof rec.szPassword);
        if (!bSame) bRestart = true;
    } else if (m_nNetType == NET_WIRELESS) {
        const int i = m_comboSsid.GetCurSel();
        // A typed SSID counts as long as its edit is on show; a picked item only when it is an access
        // point of the last listing. Otherwise it is as if no scan ran.
        if (m_bCustomSsid ? (m_strUser.IsEmpty() || i < 0) : !IsListedAp(i)) {
            if (m_bCustomSsid || store.ACTIVED != NET_WIRELESS) {
                ShowMessage(42);
                return;
            }
        } else {
            // What goes out: the typed SSID, or that of the picked record, which may fill its 32 bytes.
            char ssid[sizeof(ApRecord::szSsid) + 1] = {};
            if (m_bCustomSsid) {
                memcpy(ssid, (const char*)m_strUser, strnlen(m_strUser, sizeof ssid - 1));
            } else {
                const ApRecord& ap = store.apList[i];
                memcpy(ssid, ap.szSsid, FieldLen(ap.szSsid, sizeof ap.szSsid));
            }
            const int auth = static_cast<CComboBox*>(GetDlgItem(IDC_NET_AUTH))->GetCurSel();
            const int enc = static_cast<CComboBox*>(GetDlgItem(IDC_NET_ENC))->GetCurSel();
            text.Add("WIFI_AP=%d;", i);
            text.AddText("WIFI_ID", ssid);
            text.AddText("WIFI_PW", m_strPassword);
            text.Add("WIFI_AUTH=%d;", auth);
            text.Add("WIFI_ENC=%d;", enc);
            // The network restarts unless the camera already uses exactly these settings. They are
            // compared with the camera's own, never with a list record, which may be from any scan.
            const NetIfRecord& rec = store.netIf[NETIF_WIRELESS];
            const bool bSame = store.ACTIVED == NET_WIRELESS &&
                               FieldEquals(ssid, sizeof ssid, rec.szId, sizeof rec.szId) &&
                               FieldEquals(m_strPassword, (size_t)m_strPassword.GetLength() + 1,
                                           rec.szPassword, sizeof rec.szPassword) &&
                               auth == rec.nAuth && enc == rec.nEnc;
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

    // The sub-dialogs' blocks as they stand now; they become the references once they have been sent.
    RtmpServer rtmpSent[NQ_RTMP_COUNT];
    memcpy(rtmpSent, store.rtmp, sizeof rtmpSent);
    const DdnsConfig ddnsSent = store.ddns;
    const GbConfig gbSent = store.gb;

    for (int s = 0; s < NQ_RTMP_COUNT; ++s) {
        const RtmpServer& live = rtmpSent[s];
        const RtmpServer& snap = store.rtmpSnapshot[s];
        if (live.bEnable != snap.bEnable) text.Add("RTMP_EN%d=%d;", s, live.bEnable);
        if (!FieldEquals(live.szServerUrl, sizeof live.szServerUrl, snap.szServerUrl,
                         sizeof snap.szServerUrl)) {
            char key[32];
            snprintf(key, sizeof key, "RTMP_SERVER_URL%d", s);
            text.AddText(key, live.szServerUrl, sizeof live.szServerUrl);
        }
    }

    const DdnsConfig& dd = ddnsSent;
    const DdnsConfig& ddSnap = store.ddnsSnapshot;
    if (memcmp(&dd, &ddSnap, sizeof dd) != 0) {
        if (dd.nType != ddSnap.nType) text.Add("DDNS_Type=%d;", dd.nType);
        if (!FieldEquals(dd.szHost, sizeof dd.szHost, ddSnap.szHost, sizeof ddSnap.szHost))
            text.AddText("DDNS_Host", dd.szHost, sizeof dd.szHost);
        if (!FieldEquals(dd.szUser, sizeof dd.szUser, ddSnap.szUser, sizeof ddSnap.szUser))
            text.AddText("DDNS_User", dd.szUser, sizeof dd.szUser);
        if (!FieldEquals(dd.szPassword, sizeof dd.szPassword, ddSnap.szPassword, sizeof ddSnap.szPassword))
            text.AddText("DDNS_Pwd", dd.szPassword, sizeof dd.szPassword);
    }

    if (bRestart) text.Add("NW_RESTART=%d;", 1);

    if (store.ORVLANModel != store.ORVLANModelSnapshot) text.Add("ORVLANModel=%d;", store.ORVLANModel);

    const GbConfig& gb = gbSent;
    const GbConfig& gbSnap = store.gbSnapshot;
    if (memcmp(&gb, &gbSnap, sizeof gb) != 0) {
#define LK_GB_TEXT(field)                                                                                    \
    if (!FieldEquals(gb.field, sizeof gb.field, gbSnap.field, sizeof gbSnap.field))                          \
        text.AddText(#field, gb.field, sizeof gb.field);
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
    }

    // The whole text is built before anything is asked: a value holding ";", CR or LF would cut its
    // item and add items of its own, so the operator is told and nothing goes out.
    if (text.Unsendable()) {
        ShowMessage(TEXT_UNSENDABLE);
        return;
    }
    if (bRestart && !Ask(43)) return;

    // Into the packet only now: the question's box runs the camera's replies, and an AP-mode answer
    // among them sends from the same buffer.
    memcpy(Pkt()->Data(), text.Text(), (size_t)text.Length() + 1);
    Send(REQ_SET_PARAMS, (int)CFG_HEADER_SIZE + text.Length());
    // Only what went out is what the camera now holds; an OK refused above keeps every change pending.
    memcpy(store.rtmpSnapshot, rtmpSent, sizeof rtmpSent);
    store.ddnsSnapshot = ddnsSent;
    store.gbSnapshot = gbSent;
    // The packet has gone: the dialog ends, whatever a further exchange would say.
    EndDialog(IDOK);
}
