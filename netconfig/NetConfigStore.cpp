#include "NetConfigStore.h"

#include <climits>
#include <cstring>

#include "GbkText.h"
#include "ParamText.h"

NetConfigStore g_netConfig;

namespace {

constexpr int ITEM_BUFFER_SIZE = 512;
constexpr uint32_t ADDRESS_NONE = 0xFFFFFFFFu;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Decimal as atoi reads it; out-of-range values stop at INT_MAX / INT_MIN instead of overflowing.
// Sets *pHasDigits when at least one digit was read.
int ReadInt(const char* s, bool* pHasDigits = nullptr) {
    while (IsSpace(*s))
        ++s;
    bool negative = false;
    if (*s == '+' || *s == '-') negative = (*s++ == '-');
    long long v = 0;
    bool digits = false;
    for (; IsDigit(*s); ++s) {
        digits = true;
        if (v <= (long long)INT_MAX + 1) v = v * 10 + (*s - '0');
    }
    if (pHasDigits) *pHasDigits = digits;
    if (negative) return v > (long long)INT_MAX ? INT_MIN : (int)-v;
    return v > INT_MAX ? INT_MAX : (int)v;
}

// One part of a dotted address, as a C number: 0x hexadecimal, leading 0 octal, else decimal.
bool ReadAddressPart(const char*& s, uint32_t& part) {
    if (!IsDigit(*s)) return false;
    unsigned base = 10;
    if (*s == '0') {
        base = 8;
        ++s;
        if (*s == 'x' || *s == 'X') {
            base = 16;
            ++s;
        }
    }
    unsigned long long v = 0;
    for (;; ++s) {
        unsigned d;
        if (IsDigit(*s))
            d = (unsigned)(*s - '0');
        else if (base == 16 && *s >= 'a' && *s <= 'f')
            d = (unsigned)(*s - 'a' + 10);
        else if (base == 16 && *s >= 'A' && *s <= 'F')
            d = (unsigned)(*s - 'A' + 10);
        else
            break;
        if (d >= base) return false;
        v = v * base + d;
        if (v > 0xFFFFFFFFull) return false;
    }
    part = (uint32_t)v;
    return true;
}

} // namespace

uint32_t ReadDottedAddress(const char* s) {
    uint32_t parts[4];
    int n = 0;
    for (;;) {
        if (n == 4 || !ReadAddressPart(s, parts[n])) return ADDRESS_NONE;
        ++n;
        if (*s != '.') break;
        ++s;
    }
    if (*s != '\0' && !IsSpace(*s)) return ADDRESS_NONE;
    switch (n) {
    case 1:
        return parts[0];
    case 2:
        if (parts[0] > 0xFF || parts[1] > 0xFFFFFF) return ADDRESS_NONE;
        return parts[0] << 24 | parts[1];
    case 3:
        if (parts[0] > 0xFF || parts[1] > 0xFF || parts[2] > 0xFFFF) return ADDRESS_NONE;
        return parts[0] << 24 | parts[1] << 16 | parts[2];
    default:
        for (int i = 0; i < 4; ++i)
            if (parts[i] > 0xFF) return ADDRESS_NONE;
        return parts[0] << 24 | parts[1] << 16 | parts[2] << 8 | parts[3];
    }
}

namespace {

// The stream number behind an RTMP key's literal, as "%d" reads it; 0 when none follows.
int ReadStreamIndex(const char* afterLiteral) {
    bool digits = false;
    const int n = ReadInt(afterLiteral, &digits);
    return digits ? n : 0;
}

// The value's first word, as "%s" reads it, cut to the field.
void CopyFirstWord(char* field, size_t size, const char* value) {
    while (IsSpace(*value))
        ++value;
    char word[ITEM_BUFFER_SIZE];
    size_t n = 0;
    while (value[n] != '\0' && !IsSpace(value[n]) && n < sizeof(word) - 1) {
        word[n] = value[n];
        ++n;
    }
    word[n] = '\0';
    if (n > 0) CopyGbkBounded(field, size, word);
}

// A value that does not fit its field is not stored: the field keeps what it holds (cleared by the
// parse, or a good value of an earlier item). A cut value would be shown as the camera's and, on the
// dial-up page, sent back to it cut without a word.
template <size_t N> void CopyText(char (&field)[N], const char* value) {
    const size_t len = std::strlen(value);
    if (len >= N) return;
    std::memset(field, 0, N);
    std::memcpy(field, value, len);
}

// The MAC text is only shown, never sent: a long one is cut on a whole GBK character.
template <size_t N> void CopyDisplayText(char (&field)[N], const char* value) {
    CopyGbkBounded(field, N, value);
}

// The number comes from the whole value; the text only when it fits, and never one that belongs to
// an earlier number.
void StoreAddress(char (&text)[16], uint32_t& number, const char* value) {
    std::memset(text, 0, sizeof text);
    CopyText(text, value);
    number = ReadDottedAddress(value);
}

// Rows in testing order. n > 0: the key's first n characters equal the literal's; 0: the whole key.
enum Key {
    K_SOFTVERION,
    K_IPCINFOTYPE,
    K_CLIENTPOWER,
    K_ETH_IP,
    K_ETH_NM,
    K_ETH_GW,
    K_ETH_DNS,
    K_SELFADAPT,
    K_DHCP,
    K_ETH_MAC,
    K_ADSL_IP,
    K_ADSL_NM,
    K_ADSL_GW,
    K_ADSL_DNS,
    K_ADSL_MAC,
    K_ADSL_ID,
    K_ADSL_PW,
    K_ADSL_ON,
    K_WIFI_IP,
    K_WIFI_NM,
    K_WIFI_GW,
    K_WIFI_DNS,
    K_WIFI_MAC,
    K_WIFI_ID,
    K_WIFI_PW,
    K_WIFI_AUTH,
    K_WIFI_ENC,
    K_WIFI_Q,
    K_WIFI_ON,
    K_ACTIVED,
    K_ORVGROUP,
    K_ORVID,
    K_ORVSTATUS,
    K_SMARTONLINE,
    K_LANMODEL,
    K_HASETH,
    K_HOMEFLAG,
    K_GB_SUPPORT,
    K_GB_ENABLE,
    K_GB_DEVID,
    K_GB_DEVPASSWD,
    K_GB_SERVERIP,
    K_GB_SERVERPORT,
    K_GB_LOCALPORT,
    K_GB_EXPIRES,
    K_GB_ALARMINID,
    K_GB_KEEPALIVE,
    K_GB_KA_OUTTIMES,
    K_GB_EX_REFRESH,
    K_RTMP_URL,
    K_RTMP_EN,
    K_RTMP_SUPPORT,
    K_DDNS_TYPE,
    K_DDNS_HOST,
    K_DDNS_USER,
    K_DDNS_PWD,
    K_NONE
};

struct KeyRow {
    const char* literal;
    int n;
};

const KeyRow kKeys[] = {
    {"Softverion", 10},   {"ipcinfoType", 11},     {"ClientPower", 0},   {"ETH_IP", 6},
    {"ETH_NM", 6},        {"ETH_GW", 6},           {"ETH_DNS", 7},       {"bIPSelfAdapt", 10},
    {"bDHCP", 5},         {"ETH_MAC", 7},          {"ADSL_IP", 7},       {"ADSL_NM", 7},
    {"ADSL_GW", 7},       {"ADSL_DNS", 8},         {"ADSL_MAC", 8},      {"ADSL_ID", 7},
    {"ADSL_PW", 7},       {"ADSL_ON", 7},          {"WIFI_IP", 7},       {"WIFI_NM", 7},
    {"WIFI_GW", 7},       {"WIFI_DNS", 8},         {"WIFI_MAC", 8},      {"WIFI_ID", 7},
    {"WIFI_PW", 7},       {"WIFI_AUTH", 9},        {"WIFI_ENC", 8},      {"WIFI_Q", 6},
    {"WIFI_ON", 7},       {"ACTIVED", 7},          {"ORVGROUP", 8},      {"ORVID", 5},
    {"ORVSTATUS", 9},     {"bSmartOnline", 12},    {"ORVLANModel", 11},  {"HasEth", 6},
    {"HomeIPCFlag", 11},  {"GB_bSupport", 0},      {"GB_bEnable", 0},    {"GB_devid", 0},
    {"GB_devpasswd", 0},  {"GB_serverip", 0},      {"GB_serverport", 0}, {"GB_localport", 0},
    {"GB_expires", 0},    {"GB_alarminID", 0},     {"GB_keepalive", 0},  {"GB_KA_outtimes", 0},
    {"GB_EX_refresh", 0}, {"RTMP_SERVER_URL", 15}, {"RTMP_EN", 7},       {"RTMP_bSupport", 13},
    {"DDNS_Type", 8},     {"DDNS_Host", 9},        {"DDNS_User", 9},     {"DDNS_Pwd", 8},
};
static_assert(sizeof(kKeys) / sizeof(kKeys[0]) == K_NONE, "one row per key");

Key FindKey(const char* key) {
    for (int i = 0; i < K_NONE; ++i) {
        const KeyRow& row = kKeys[i];
        const bool match = row.n == 0 ? std::strcmp(key, row.literal) == 0
                                      : std::strncmp(key, row.literal, (size_t)row.n) == 0;
        if (match) return (Key)i;
    }
    return K_NONE;
}

void StoreItem(Key k, const char* key, const char* value, NetConfigStore& s, const NetDlgParams& dlg) {
    NetIfRecord& eth = s.netIf[NETIF_WIRED];
    NetIfRecord& adsl = s.netIf[NETIF_DIALUP];
    NetIfRecord& wifi = s.netIf[NETIF_WIRELESS];
    WiredSnapshot& snap = s.wiredSnapshot;
    switch (k) {
    case K_SOFTVERION:
        if (dlg.pSoftVersion) *dlg.pSoftVersion = ReadInt(value);
        break;
    case K_IPCINFOTYPE:
        s.ipcinfoType = ReadInt(value);
        break;
    case K_CLIENTPOWER:
        if (dlg.pClientPower) *dlg.pClientPower = ReadInt(value);
        break;
    case K_ETH_IP:
        StoreAddress(eth.szIp, eth.dwIp, value);
        snap.dwIp = eth.dwIp;
        break;
    case K_ETH_NM:
        StoreAddress(eth.szMask, eth.dwMask, value);
        snap.dwMask = eth.dwMask;
        break;
    case K_ETH_GW:
        StoreAddress(eth.szGateway, eth.dwGateway, value);
        snap.dwGateway = eth.dwGateway;
        break;
    case K_ETH_DNS:
        StoreAddress(eth.szDns, eth.dwDns, value);
        snap.dwDns = eth.dwDns;
        break;
    case K_SELFADAPT:
        eth.bSelfAdapt = snap.bSelfAdapt = ReadInt(value);
        break;
    case K_DHCP:
        eth.bDhcp = snap.bDhcp = ReadInt(value);
        break;
    case K_ETH_MAC:
        CopyDisplayText(eth.szMac, value);
        break;
    case K_ADSL_IP:
        StoreAddress(adsl.szIp, adsl.dwIp, value);
        break;
    case K_ADSL_NM:
        StoreAddress(adsl.szMask, adsl.dwMask, value);
        break;
    case K_ADSL_GW:
        StoreAddress(adsl.szGateway, adsl.dwGateway, value);
        break;
    case K_ADSL_DNS:
        StoreAddress(adsl.szDns, adsl.dwDns, value);
        break;
    case K_ADSL_MAC:
        CopyDisplayText(adsl.szMac, value);
        break;
    case K_ADSL_ID:
        CopyText(adsl.szId, value);
        break;
    case K_ADSL_PW:
        CopyText(adsl.szPassword, value);
        break;
    case K_ADSL_ON:
        adsl.bOn = ReadInt(value);
        break;
    case K_WIFI_IP:
        StoreAddress(wifi.szIp, wifi.dwIp, value);
        break;
    case K_WIFI_NM:
        StoreAddress(wifi.szMask, wifi.dwMask, value);
        break;
    case K_WIFI_GW:
        StoreAddress(wifi.szGateway, wifi.dwGateway, value);
        break;
    case K_WIFI_DNS:
        StoreAddress(wifi.szDns, wifi.dwDns, value);
        break;
    case K_WIFI_MAC:
        CopyDisplayText(wifi.szMac, value);
        break;
    case K_WIFI_ID:
        CopyText(wifi.szId, value);
        break;
    case K_WIFI_PW:
        CopyText(wifi.szPassword, value);
        break;
    case K_WIFI_AUTH:
        wifi.nAuth = ReadInt(value);
        break;
    case K_WIFI_ENC:
        wifi.nEnc = ReadInt(value);
        break;
    case K_WIFI_Q:
        wifi.nQuality = ReadInt(value);
        break;
    case K_WIFI_ON:
        wifi.bOn = ReadInt(value);
        break;
    case K_ACTIVED:
        s.ACTIVED = ReadInt(value);
        break;
    case K_ORVGROUP:
        s.ORVGROUP = ReadInt(value);
        break;
    case K_ORVID:
        s.ORVID = ReadInt(value);
        break;
    case K_ORVSTATUS:
        s.ORVSTATUS = ReadInt(value);
        break;
    case K_SMARTONLINE:
        s.bSmartOnline = ReadInt(value);
        break;
    case K_LANMODEL:
        s.ORVLANModel = ReadInt(value);
        break;
    case K_HASETH:
        s.bNoEth = ReadInt(value) == 0 ? 1 : 0;
        break;
    case K_HOMEFLAG:
        s.bHome = ReadInt(value) == 1 ? 1 : 0;
        break;
    case K_GB_SUPPORT:
        s.gb.GB_bSupport = ReadInt(value);
        break;
    case K_GB_ENABLE:
        s.gb.GB_bEnable = ReadInt(value);
        break;
    case K_GB_DEVID:
        CopyText(s.gb.GB_devid, value);
        break;
    case K_GB_DEVPASSWD:
        CopyText(s.gb.GB_devpasswd, value);
        break;
    case K_GB_SERVERIP:
        CopyText(s.gb.GB_serverip, value);
        break;
    case K_GB_SERVERPORT:
        s.gb.GB_serverport = (uint16_t)ReadInt(value);
        break;
    case K_GB_LOCALPORT:
        s.gb.GB_localport = (uint16_t)ReadInt(value);
        break;
    case K_GB_EXPIRES:
        s.gb.GB_expires = ReadInt(value);
        break;
    case K_GB_ALARMINID:
        CopyText(s.gb.GB_alarminID, value);
        break;
    case K_GB_KEEPALIVE:
        s.gb.GB_keepalive = ReadInt(value);
        break;
    case K_GB_KA_OUTTIMES:
        s.gb.GB_KA_outtimes = ReadInt(value);
        break;
    case K_GB_EX_REFRESH:
        s.gb.GB_EX_refresh = ReadInt(value);
        break;
    case K_RTMP_URL: {
        // A stream number outside 0 to 2 names no server: the item is ignored.
        const int i = ReadStreamIndex(key + std::strlen(kKeys[K_RTMP_URL].literal));
        if (i >= 0 && i < NQ_RTMP_COUNT)
            CopyFirstWord(s.rtmp[i].szServerUrl, sizeof(s.rtmp[i].szServerUrl), value);
        break;
    }
    case K_RTMP_EN: {
        const int i = ReadStreamIndex(key + std::strlen(kKeys[K_RTMP_EN].literal));
        bool digits = false;
        const int on = ReadInt(value, &digits);
        if (i >= 0 && i < NQ_RTMP_COUNT && digits) s.rtmp[i].bEnable = on;
        break;
    }
    case K_RTMP_SUPPORT:
        if (dlg.pRtmpSupport) *dlg.pRtmpSupport = ReadInt(value);
        break;
    case K_DDNS_TYPE:
        s.ddns.nType = ReadInt(value);
        break;
    case K_DDNS_HOST:
        CopyText(s.ddns.szHost, value);
        break;
    case K_DDNS_USER:
        CopyText(s.ddns.szUser, value);
        break;
    case K_DDNS_PWD:
        CopyText(s.ddns.szPassword, value);
        break;
    case K_NONE:
        break;
    }
}

} // namespace

void ParseNetParams(const char* text, NetConfigStore& store, const NetDlgParams& dlg) {
    const int32_t ipcinfoType = store.ipcinfoType;
    std::memset(&store, 0, sizeof(store));
    store.ipcinfoType = ipcinfoType;

    if (text) {
        ParamTextReader reader(text, ITEM_BUFFER_SIZE);
        const char *key, *value;
        while (reader.Next(key, value))
            StoreItem(FindKey(key), key, value, store, dlg);
    }

    store.gbSnapshot = store.gb;
    store.ORVLANModelSnapshot = store.ORVLANModel;
    store.ddnsSnapshot = store.ddns;
}

bool IsSendableText(const char* text, size_t size) {
    for (size_t i = 0; i < size && text[i] != '\0'; ++i)
        if (text[i] == ';' || text[i] == '\r' || text[i] == '\n') return false;
    return true;
}
