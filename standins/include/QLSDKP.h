// QLSDKP preview SDK: local preview players.
#pragma once

#include <windows.h>

#ifdef QLSDKP_EXPORTS
#define QLSDKP_API extern "C" __declspec(dllexport)
#else
#define QLSDKP_API extern "C" __declspec(dllimport)
#endif

// A player handle; QLSP_INVALID_PLAYER when a player could not be created.
enum { QLSP_INVALID_PLAYER = -1 };

// Player events (nEvent), delivered on a thread of the SDK.
typedef void(__cdecl* QLSP_EventCallback)(int nPlayer, int nEvent, void* pData, int nLength, void* pUser);

// 0 means the SDK could not start.
QLSDKP_API int QLSP_InitSDK(void);
QLSDKP_API int QLSP_SetCallBack(QLSP_EventCallback pfn, void* pUser, int nFlags, int nReserved);
QLSDKP_API int QLSP_SetDefaultFrameControlMode(int nMode);
QLSDKP_API int QLSP_CreatePlayer(void);
// Shows the player's preview in pRect (screen coordinates) over hWnd.
QLSDKP_API int QLSP_SetVideoPreview(int nPlayer, HWND hWnd, const RECT* pRect, int bShow);
QLSDKP_API int QLSP_ReleasePlayer(int nPlayer);
QLSDKP_API int QLSP_ReleaseSDK(void);
