// What QLCLIENT.dll, the home of the simulated line, offers the other stand-in libraries.
// Not for the program: it reaches the line only through the libraries' own headers.
#pragma once

#include <windows.h>

#include "Tellurio.h"

#ifdef QLCLIENT_EXPORTS
#define SIM_API extern "C" __declspec(dllexport)
#else
#define SIM_API extern "C" __declspec(dllimport)
#endif

// Appends one entry (STANDIN_CALL, STANDIN_EVENT or STANDIN_NOTE) with the calling thread's id.
SIM_API void Sim_Log(int nKind, const char* szFunction, const char* szFormat, ...);
// A switch of the scenario's [Sdk] section ("PreviewInitFails", "CreatePlayerFails"), 0 when absent.
SIM_API int Sim_SdkSwitch(const char* szKey);
// Loads the scenario once, on first use by any of the libraries.
SIM_API void Sim_EnsureLine(void);

// The player behind CTellurio; one per object.
SIM_API void* SimPlayer_Create(void);
SIM_API void SimPlayer_Destroy(void* p);
SIM_API int SimPlayer_Init(HWND hWnd);
SIM_API void SimPlayer_RegisterCallback(void* p, void* pUser, void* const* ppfn16);
SIM_API int SimPlayer_Connect(void* p, const _ST_ChnInfo* pChn, void* pReserved, int nStreamType, int bDecode,
                              int nFlags);
SIM_API int SimPlayer_GetConnectState(void* p, int nWindow);
SIM_API int SimPlayer_GetSelectedIndex(void* p, _ST_ChnInfo* pChn);
SIM_API void SimPlayer_RequestVersion(void* p, int nWindow);
SIM_API const char* SimPlayer_GetVersion(void* p);
SIM_API void SimPlayer_SetDisplayRect(void* p, HWND hWnd, const RECT* pRect);
SIM_API void SimPlayer_WindowMoved(void* p);
SIM_API void SimPlayer_Paint(void* p, HDC hDC);
SIM_API void SimPlayer_MouseEvent(void* p, int nType, POINT pt);
SIM_API void SimPlayer_MouseZoom(void* p, POINT pt, int bZoomIn);
SIM_API void SimPlayer_DividWindow(void* p, int nSplit);
// nCommand: one of the SIM_CMD_* below; nArg the mode for SIM_CMD_MODE, else unused.
SIM_API void SimPlayer_Command(void* p, int nCommand, int nWindow, int nArg);

enum {
    SIM_CMD_REMOTE_CONFIG,
    SIM_CMD_REBOOT,
    SIM_CMD_MODE,
    SIM_CMD_DEAD_PIXEL,
    SIM_CMD_CLEAN,
    SIM_CMD_DISCONNECT_ALL,
    SIM_CMD_SCAN,
};
