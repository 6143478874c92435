// Netquill's one config store: everything the plug-in knows about the camera, cleared and refilled
// by every parse of a parameter text and edited in place by the dialogs. Platform-free, so the
// parser runs in the native build under the sanitizers and the fuzzer.
#pragma once

#include "AccessPoint.h"

#include <cstddef>
#include <cstdint>

constexpr int NQ_AP_LIST_SIZE = 128;

// Index of a NetIfRecord in the store; the index is also the camera's connection type (ACTIVED).
enum { NETIF_WIRED = 0, NETIF_DIALUP = 1, NETIF_WIRELESS = 2, NETIF_COUNT = 3 };

// One network interface of the camera. Addresses are kept twice: the text as received and the
// number in host byte order (first octet in the most significant byte).
struct NetIfRecord {
    char szIp[16];
    char szMask[16];
    char szGateway[16];
    char szDns[16];
    char szMac[20];
    // Room for what edits 1005 and 1006 accept and a terminator: a 32-byte SSID or user name, and a
    // 64-character wireless key (a camera's own key must never be dropped and then sent back empty).
    char szId[33];       // dial-up user name or wireless SSID
    char szPassword[65]; // dial-up or wireless password
    int32_t nAuth;       // wireless authentication index
    int32_t nEnc;        // wireless encryption index
    uint32_t dwIp;
    uint32_t dwMask;
    uint32_t dwGateway;
    uint32_t dwDns;
    int32_t bDhcp;      // wired only
    int32_t bSelfAdapt; // wired only
    int32_t bOn;        // dial-up and wireless: the connection is up
    int32_t nQuality;   // wireless signal quality
};

// The wired settings as last received; OK sends the wired keys whose record value differs.
struct WiredSnapshot {
    uint32_t dwIp;
    uint32_t dwMask;
    uint32_t dwGateway;
    uint32_t dwDns;
    int32_t bDhcp;
    int32_t bSelfAdapt;
};

// GB28181 settings; each field holds the value of the key of its name.
struct GbConfig {
    int32_t GB_bSupport;
    int32_t GB_bEnable;
    char GB_serverip[18];
    uint16_t GB_serverport;
    uint16_t GB_localport;
    char GB_devid[21];
    char GB_devpasswd[33];
    int32_t GB_expires;
    int32_t GB_EX_refresh;
    char GB_alarminID[24];
    int32_t GB_keepalive;
    int32_t GB_KA_outtimes;
};

// One RTMP server, streams 1 to 3 at indices 0 to 2.
struct RtmpServer {
    int32_t bEnable;       // RTMP_EN<n>
    char szServerUrl[128]; // RTMP_SERVER_URL<n>
};
constexpr int NQ_RTMP_COUNT = 3;

struct DdnsConfig {
    int32_t nType;       // DDNS_Type: the provider's index in the DDNS dialog's list
    char szHost[64];     // DDNS_Host
    char szUser[64];     // DDNS_User
    char szPassword[64]; // DDNS_Pwd
};

struct NetConfigStore {
    int32_t ipcinfoType; // 1: device-ID labels instead of cloud labels; a parse does not clear it
    int32_t nApCount;    // valid entries of apList; -1 not scanned
    ApRecord apList[NQ_AP_LIST_SIZE];
    NetIfRecord netIf[NETIF_COUNT]; // NETIF_WIRED, NETIF_DIALUP, NETIF_WIRELESS
    WiredSnapshot wiredSnapshot;
    int32_t ACTIVED;   // connection type in use: 0 wired, 1 dial-up, 2 wireless
    int32_t ORVGROUP;  // cloud group letters, first letter in the lowest byte
    int32_t ORVID;     // cloud number
    int32_t ORVSTATUS; // 1 online
    int32_t bSmartOnline;
    int32_t ORVLANModelSnapshot;
    int32_t ORVLANModel; // 0 normal, 1 large-connection LAN mode
    int32_t bNoEth;      // the camera reported HasEth 0
    int32_t bHome;       // the camera reported HomeIPCFlag 1
    GbConfig gb;
    GbConfig gbSnapshot;
    RtmpServer rtmp[NQ_RTMP_COUNT];
    RtmpServer rtmpSnapshot[NQ_RTMP_COUNT]; // taken by the network dialog's initialisation only
    DdnsConfig ddns;
    DdnsConfig ddnsSnapshot;
};

// The process's one store, zero at load.
extern NetConfigStore g_netConfig;

// The three values of the parameter text that the network dialog object holds instead of the store
// (m_nSoftVersion, m_nClientPower, m_bRtmpSupport); a parse changes them only when their key is there.
struct NetDlgParams {
    int* pSoftVersion;
    int* pClientPower;
    int* pRtmpSupport;
};

// Clears the store (all but ipcinfoType), reads the parameter text into it and takes the GB28181,
// ORVLANModel and DDNS snapshots. A null text only clears. A text value longer than its field is
// skipped: the field keeps what it holds, cleared or an earlier item's value (an address key still
// gives its number, and its text goes with the number: cleared when it does not fit); only the MAC texts,
// which are never sent back, and the RTMP URL's first word are cut to their fields. An item longer
// than 511 characters is skipped. The network dialog's ParseParams calls this, then hands the same
// text to the IP filter dialog's ParseList.
void ParseNetParams(const char* text, NetConfigStore& store, const NetDlgParams& dlg);

// Dotted text as the socket library's inet_addr reads it (a.b.c.d, a.b.c, a.b or a; each part a C
// number; white space may follow), in host byte order. Anything else, "" included, gives all bits
// set. The plug-in reads addresses with this, never through Winsock, which nothing here starts.
uint32_t ReadDottedAddress(const char* text);

// False when the text, up to its NUL or size bytes, holds ";", CR or LF. Such a value would end its
// item in a parameter text early and could smuggle in items of its own, so it is never sent.
bool IsSendableText(const char* text, size_t size = (size_t)-1);
