// The program's process-wide values: the one record the main window fills for the library callbacks,
// and the few values that the LAN service shares with the main window's start-up and shut-down.
#pragma once

#include <windows.h>

#include <atomic>

#include "ProgramPath.h"

static_assert(PROGRAM_PATH_SIZE == MAX_PATH, "the program folder's paths are the system's");

class CLENSBENCHDlg;

struct AppGlobals {
    char szAppDir[MAX_PATH];          // program directory, no trailing backslash
    int nPreviewPlayer;               // the local preview player of the preview SDK, -1 for none
    CLENSBENCHDlg* volatile pMainDlg; // how callbacks of the outside libraries reach the window; NULL
                                      // before initialisation and once shut-down has begun
};
extern AppGlobals g_App;

// Registered "TaskbarCreated" message (the shell restarted and wants its icons back).
extern const UINT WM_TASKBARCREATED;

// Window messages between the program and the outside libraries.
enum : UINT {
    WM_TRAY_NOTIFY = 0x464,    // tray icon callback from the shell
    WM_PREVIEW_PLACE1 = 0x465, // place the local preview (from the preview SDK)
    WM_PREVIEW_PLACE2 = 0x466,
    WM_REFRESH_DEVLIST = 0x2B10,  // rebuild the device list
    WM_CFG_PACKET = 0x6400,       // a config packet from the player library
    WM_INFO_PACKET = 0x6401,      // the same, second form
    WM_LEAVE_FULLSCREEN = 0x6409, // the full-screen view was left with Esc
    WM_FIT_DISPLAY = 0x6410,      // the player asks its display window to re-fit
    WM_VIDEO_CLICKED = 0x6411,    // the embedded video window was clicked
    // Our own: the player's connection-state callback hands its work to the UI thread (wParam the
    // state), since timer 15 and edit 1061 belong to that thread. Posted, so states keep their order.
    WM_CONNECT_STATE = WM_APP + 0x21,
};

// The open pan-tilt plug-in's CmdProc while its dialog runs, else NULL; the received-packet handler
// hands packets to it instead of decoding them. UI thread only.
typedef void(__cdecl* SwivelCmdProcFn)(const void* packet);
extern SwivelCmdProcFn g_pfnSwivelCmdProc;

// Timer ids of the main window.
enum : UINT_PTR { TIMER_SEARCH = 1, TIMER_LIST = 4, TIMER_STATUS = 5, TIMER_VERSION = 15 };

// The LAN service's values that the main window's start-up and shut-down touch.
class DeviceTable;
extern DeviceTable g_DeviceTable; // the 64-entry device table, with its own lock
extern UINT_PTR g_nSearchTimer;   // id of the running search timer, 0 when it does not run
extern char g_szRememberedIp[16]; // the device list selects the row with this address

// The number-push switch (checkbox 1023): written on the UI thread only, read by the SDK's callbacks.
extern std::atomic<int> g_nPushSwitch;
// Edits 1006 and 1007 as the SDK's callbacks read them: the UI thread keeps the copy current.
class CredentialCopy;
extern CredentialCopy g_Credentials;

// The program directory + "\\" + name, the one way to a file beside the program (Config.ini,
// scene.dat, the pan-tilt plug-in); false, with path empty, when there is none (see ProgramPath.h).
inline bool ProgramFilePath(const char* name, char (&path)[MAX_PATH]) {
    return ProgramFilePath(g_App.szAppDir, name, path);
}
