// QLCLIENT device SDK: LAN search, broadcast and number-push services, config packets to a camera.
// 32-bit only: LanToolRequest carries a pointer at a fixed offset.
#pragma once

#include <cstddef>
#include <cstdint>

#ifdef QLCLIENT_EXPORTS
#define QLCLIENT_API extern "C" __declspec(dllexport)
#else
#define QLCLIENT_API extern "C" __declspec(dllimport)
#endif

static_assert(sizeof(void*) == 4, "the SDK records hold 32-bit pointers: build for i686");

// Device type codes that cameras report.
enum {
    QLC_DEVTYPE_IPC = 59162,  // 0xE71A
    QLC_DEVTYPE_DVR = 55296,  // 0xD800
    QLC_DEVTYPE_NVR = 47104,  // 0xB800
    QLC_DEVTYPE_QNVR = 47116, // 0xB80C
};

// Data type of a config packet on a connection (QLC_SendData, the player's packet record).
enum { QLC_DATA_CFGPACKET = 0x51 };

// One camera's answer to a LAN search, handed to the search callback by value.
struct LanSearchRecord {
    char szGroup[4];      // cloud group text
    int32_t nCloudNumber; // 0 or less: the camera has none
    int32_t nDeviceType;  // QLC_DEVTYPE_*
    int32_t nReserved;
    char szIP[16]; // dotted IPv4
    int32_t nPort;
    char szMac[20];
    char szVersion[32];
    char szProductType[32];
    char szReserved1[20];
    int32_t bEnd; // non-zero: closes a search round, carries no camera
    char szReserved2[548];
};
static_assert(sizeof(LanSearchRecord) == 692, "LanSearchRecord size");
static_assert(offsetof(LanSearchRecord, szGroup) == 0, "LanSearchRecord.szGroup");
static_assert(offsetof(LanSearchRecord, nCloudNumber) == 4, "LanSearchRecord.nCloudNumber");
static_assert(offsetof(LanSearchRecord, nDeviceType) == 8, "LanSearchRecord.nDeviceType");
static_assert(offsetof(LanSearchRecord, szIP) == 16, "LanSearchRecord.szIP");
static_assert(offsetof(LanSearchRecord, nPort) == 32, "LanSearchRecord.nPort");
static_assert(offsetof(LanSearchRecord, bEnd) == 140, "LanSearchRecord.bEnd");

// One camera's broadcast, handed to the broadcast callback by pointer (valid during the call only).
struct BroadcastRecord {
    int32_t nDeviceType;
    char szGroup[8];
    uint32_t nCloudNumber;
    int32_t nPort;
    char szMac[20];
    char szVersion[32];
    char szReserved1[124];
    uint32_t dwIP; // IPv4 address, network byte order
    char szReserved2[544];
};
static_assert(sizeof(BroadcastRecord) == 744, "BroadcastRecord size");
static_assert(offsetof(BroadcastRecord, szGroup) == 4, "BroadcastRecord.szGroup");
static_assert(offsetof(BroadcastRecord, nCloudNumber) == 12, "BroadcastRecord.nCloudNumber");
static_assert(offsetof(BroadcastRecord, nPort) == 16, "BroadcastRecord.nPort");
static_assert(offsetof(BroadcastRecord, dwIP) == 196, "BroadcastRecord.dwIP");

// A camera's number-push request. The callback fills the answer fields in place; the SDK sends them
// to the camera after the callback has returned.
struct LanToolGuid {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
static_assert(sizeof(LanToolGuid) == 16, "LanToolGuid size");

struct LanToolRequest {
    char cCommand;        // request kind, always 1
    char szUser[256];     // out
    char szPassword[256]; // out
    char cPad[3];
    int32_t nCloudNumber; // in/out
    int32_t nReserved1[5];
    const char* pConfigData; // out: camera configuration data, NULL for none
    int32_t nConfigLength;   // out: bytes at pConfigData, 0 for none
    int32_t nDeviceType;     // in: QLC_DEVTYPE_*
    int32_t nDataValue;      // in: names the number file
    int32_t nReserved2;
    LanToolGuid guid; // in
    char szGroup[4];  // in
    char szIP[16];    // in
    int32_t nPort;    // in
};
static_assert(sizeof(LanToolRequest) == 600, "LanToolRequest size");
static_assert(offsetof(LanToolRequest, szUser) == 1, "LanToolRequest.szUser");
static_assert(offsetof(LanToolRequest, szPassword) == 257, "LanToolRequest.szPassword");
static_assert(offsetof(LanToolRequest, nCloudNumber) == 516, "LanToolRequest.nCloudNumber");
static_assert(offsetof(LanToolRequest, pConfigData) == 540, "LanToolRequest.pConfigData");
static_assert(offsetof(LanToolRequest, nConfigLength) == 544, "LanToolRequest.nConfigLength");
static_assert(offsetof(LanToolRequest, nDeviceType) == 548, "LanToolRequest.nDeviceType");
static_assert(offsetof(LanToolRequest, nDataValue) == 552, "LanToolRequest.nDataValue");
static_assert(offsetof(LanToolRequest, guid) == 560, "LanToolRequest.guid");
static_assert(offsetof(LanToolRequest, szGroup) == 576, "LanToolRequest.szGroup");
static_assert(offsetof(LanToolRequest, szIP) == 580, "LanToolRequest.szIP");
static_assert(offsetof(LanToolRequest, nPort) == 596, "LanToolRequest.nPort");

// Callbacks run on threads of the SDK, never on the thread that started the service.
typedef int(__cdecl* QLC_LanToolCallback)(LanToolRequest* pRequest);
typedef void(__cdecl* QLC_LanSearchCallback)(LanSearchRecord record);
// nServerPort: the broadcast server's port; nRecordSize: sizeof(BroadcastRecord); nIndex: the
// broadcast's running number; bEnd non-zero: no record, ignore the call.
typedef void(__cdecl* QLC_BroadcastCallback)(int nServerPort, BroadcastRecord* pRecord, int nRecordSize,
                                             int nIndex, int bEnd);

QLCLIENT_API int QLC_InitSDK(int nLocalPort, int nFlags);
QLCLIENT_API int QLC_SetLanguage(int nLanguage);
// Returns 1 when enabling succeeded. Disabling waits for a request callback that is under way.
QLCLIENT_API int QLC_EnableLANTool(int bEnable, int nReserved1, int nReserved2, QLC_LanToolCallback pfn);
// True when the server started on nPort (false when that port is taken: try the next).
QLCLIENT_API int QLC_StartLANSerchServer(int nPort, int nDevicePort, QLC_LanSearchCallback pfn, int bAll);
QLCLIENT_API int QLC_StopLANSerchServer(void);
QLCLIENT_API int QLC_StartBroadcastServer(int nPort, int nDevicePort, QLC_BroadcastCallback pfn);
QLCLIENT_API int QLC_StopBroadcastServer(void);
QLCLIENT_API int QLC_LANSerchDevice(const char* szIP, int nPort, int nDeviceType, int nRetries,
                                    const char* szGroup, int nCloudNumber, int nTimeoutSeconds);
QLCLIENT_API int QLC_LANToolDevice(const char* szUser, const char* szPassword, int nTimeoutMs);
QLCLIENT_API int QLC_DisConnect(int nConnection);
QLCLIENT_API int QLC_ReleaseSDK(void);
// Sends nLength bytes of a config packet (nDataType QLC_DATA_CFGPACKET) to the camera of nConnection.
QLCLIENT_API int QLC_SendData(int nConnection, int nDataType, const void* pData, int nLength);
