// Tellurio player library: camera connections, the four-window split view and device commands.
// The class is exported from Tellurio.dll; build with the same MinGW toolchain as the library.
#pragma once

#include <windows.h>
#include <cstddef>
#include <cstdint>

#ifdef TELLURIO_EXPORTS
#define TELLURIO_API __declspec(dllexport)
#else
#define TELLURIO_API __declspec(dllimport)
#endif

static_assert(sizeof(void*) == 4, "the player records hold 32-bit pointers: build for i686");

// What to connect to and into which window. The library copies it during Connect.
struct _ST_ChnInfo {
    char szDeviceName[64];
    int32_t nDeviceType;
    int32_t nStreamType;
    char szReserved1[28];
    char szIP[17]; // dotted IPv4, NUL-terminated
    char szDomain[131];
    int32_t nPort;
    char szCloudNumber[17]; // group letters and number, NUL-terminated
    char szUser[32];
    char szPassword[32];
    char cPad[3];
    int32_t nChannel; // camera channel, 1
    int32_t nWindow;  // target window, 1 to 4
    int32_t nReserved2;
};
static_assert(sizeof(_ST_ChnInfo) == 348, "_ST_ChnInfo size");
static_assert(offsetof(_ST_ChnInfo, szIP) == 100, "_ST_ChnInfo.szIP");
static_assert(offsetof(_ST_ChnInfo, nPort) == 248, "_ST_ChnInfo.nPort");
static_assert(offsetof(_ST_ChnInfo, szCloudNumber) == 252, "_ST_ChnInfo.szCloudNumber");
static_assert(offsetof(_ST_ChnInfo, szUser) == 269, "_ST_ChnInfo.szUser");
static_assert(offsetof(_ST_ChnInfo, szPassword) == 301, "_ST_ChnInfo.szPassword");
static_assert(offsetof(_ST_ChnInfo, nChannel) == 336, "_ST_ChnInfo.nChannel");
static_assert(offsetof(_ST_ChnInfo, nWindow) == 340, "_ST_ChnInfo.nWindow");

// A window's connection. GetConnectState returns NONE or FAILED for a free window.
enum ConnectState {
    CONNECT_STATE_NONE = 0,
    CONNECT_STATE_CONNECTING = 1,
    CONNECT_STATE_CONNECTED = 2,
    CONNECT_STATE_FAILED = 3,
};

enum MouseEventType {
    MOUSE_LBUTTONDOWN = 0,
    MOUSE_LBUTTONDBLCLK = 2,
    MOUSE_RBUTTONUP = 3,
};

enum SplitNum { SPLIT_4 = 4 };

// Handed to the device-version callback; the version text comes first.
struct _DEVICE_VERSION {
    char szVersion[128];
    int32_t nWindow;
    char szReserved[124];
};
static_assert(sizeof(_DEVICE_VERSION) == 256, "_DEVICE_VERSION size");
static_assert(offsetof(_DEVICE_VERSION, szVersion) == 0, "_DEVICE_VERSION.szVersion");

// Only ever seen through pointers in callbacks this library does not raise.
struct _ST_RemoteVideo;
struct _ST_DOWNLOADRATE;
struct PTZ_INFO_T;

// Window messages the library posts.
enum {
    TELLURIO_WM_CFGPACKET =
        0x6400, // to the main window; lParam a TellurioPacketRecord, freed by the receiver
    TELLURIO_WM_INFOPACKET = 0x6401,  // to the main window; lParam a TellurioPacketRecord the library owns
    TELLURIO_WM_REFIT = 0x6410,       // to the display window: fit the view to its client area; no parameters
    TELLURIO_WM_PREVIEW_SHOW = 0x465, // to the main window: place the local preview
    TELLURIO_WM_PREVIEW_MOVE = 0x466,
};

// lParam of 0x6400 and 0x6401. A 0x6400 record and its packet bytes are one block from the C runtime's
// malloc: the receiver's free(record) releases both.
struct TellurioPacketRecord {
    int32_t nChannel;  // the window the camera is connected into, 1 to 4
    int32_t nDataType; // 81: a config packet
    char* pData;       // header and data
    int32_t nLength;   // bytes at pData, header included
};
static_assert(sizeof(TellurioPacketRecord) == 16, "TellurioPacketRecord size");
static_assert(offsetof(TellurioPacketRecord, nDataType) == 4, "TellurioPacketRecord.nDataType");
static_assert(offsetof(TellurioPacketRecord, pData) == 8, "TellurioPacketRecord.pData");
static_assert(offsetof(TellurioPacketRecord, nLength) == 12, "TellurioPacketRecord.nLength");

// The sixteen callbacks, in slot order. Each gets the user pointer first and runs on a thread of the
// library, never on the caller's thread.
typedef void(__cdecl* PFN_ConnectState)(void* pUser, _ST_ChnInfo* pChn, ConnectState state); // 1
typedef void(__cdecl* PFN_ChnTraffic)(void* pUser, _ST_ChnInfo* pChn, unsigned long nBytes); // 2
typedef void(__cdecl* PFN_Message)(void* pUser, int nCode, char* szText);                    // 3
typedef void(__cdecl* PFN_RemoteVideo)(void* pUser, _ST_RemoteVideo* pVideo, int nCount);    // 4
typedef void(__cdecl* PFN_VideoStats)(void* pUser, int nWindow, unsigned long nFrames, unsigned long nBytes,
                                      unsigned long nWidth, unsigned long nHeight); // 5
typedef void(__cdecl* PFN_DownloadRate)(void* pUser, _ST_DOWNLOADRATE* pRate);      // 6
typedef void(__cdecl* PFN_WindowEvent)(void* pUser, int nWindow, int nEvent);       // 7
typedef void(__cdecl* PFN_Notice)(void* pUser, const char* szText, int nCode);      // 8
typedef void(__cdecl* PFN_PtzInfo)(void* pUser, PTZ_INFO_T* pInfo);                 // 9
typedef void(__cdecl* PFN_DeviceVersion)(void* pUser, _DEVICE_VERSION* pVersion);   // 10
typedef void(__cdecl* PFN_ChnText)(void* pUser, int nWindow, _ST_ChnInfo* pChn,
                                   char* szText);                                 // 11, 12, 15, 16
typedef void(__cdecl* PFN_ChnEvent)(void* pUser, int nWindow, _ST_ChnInfo* pChn); // 13, 14

// hWnd: the window of the video area; its top-level window receives the library's messages.
extern "C" TELLURIO_API int Player_Init(HWND hWnd);

class TELLURIO_API CTellurio {
public:
    CTellurio();
    ~CTellurio();
    CTellurio(const CTellurio&) = delete;
    CTellurio& operator=(const CTellurio&) = delete;

    void RegisterCallback(void* pUser, PFN_ConnectState pfnConnectState, PFN_ChnTraffic pfnChnTraffic,
                          PFN_Message pfnMessage, PFN_RemoteVideo pfnRemoteVideo,
                          PFN_VideoStats pfnVideoStats, PFN_DownloadRate pfnDownloadRate,
                          PFN_WindowEvent pfnWindowEvent, PFN_Notice pfnNotice, PFN_PtzInfo pfnPtzInfo,
                          PFN_DeviceVersion pfnDeviceVersion, PFN_ChnText pfnRecordFile,
                          PFN_ChnText pfnSnapshot, PFN_ChnEvent pfnRecordStart, PFN_ChnEvent pfnRecordStop,
                          PFN_ChnText pfnTalkStart, PFN_ChnText pfnTalkStop);
    // Copies chn; chn.nWindow (1-4) names the window. The state arrives through the first callback.
    int Connect(_ST_ChnInfo& chn, void* pReserved, int nStreamType, int bDecode, int nFlags);
    int GetConnectState(int nWindow);
    // 1-4 the selected window, 0 none. pChn, when given, receives that window's record.
    int GetSelectedIndex(_ST_ChnInfo* pChn);
    void RequestVersion(int nWindow);
    // NULL before any request, "" while one is pending, then the camera's version.
    const char* GetverSion();
    void SetDisplayRect(HWND hWnd, RECT* pRect);
    void WindowMoved();
    void Paint(HDC hDC);
    void MouseEvent(MouseEventType type, POINT& pt);
    void MouseZoom(POINT pt, int bZoomIn);
    void DividWindow(SplitNum split);
    // Commands: nWindow 0 acts on the selected window.
    void RemoteConfig(int nWindow);
    void RebootDevice(int nWindow);
    void ChangeIpcMode(int& nMode, int nWindow);
    void CorrectingDeadPix(int nWindow);
    void CleanChnInfo(int nWindow);
    void DisconnectAll(int bAll);
    void SearchNetWork(int nWindow);

private:
    void* m_pImpl;
};
