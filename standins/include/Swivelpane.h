// Swivelpane pan-tilt plug-in: the RCDlg exports as its host looks them up by name (C linkage,
// undecorated, cdecl). Loaded at run time; nothing links against it.
#pragma once

typedef int(__cdecl* PFN_InitRCDlg)(int nChannel, int nLanguage);
typedef int(__cdecl* PFN_SetParam)(int nModule, const char* szText);
typedef int(__cdecl* PFN_GetParam)(void);
// Runs the plug-in's modal dialog; returns when it has closed.
typedef int(__cdecl* PFN_SwivelpaneDoModal)(void);
// One config packet from the camera (20-byte header, then the data); copied before it returns.
typedef void(__cdecl* PFN_CmdProc)(const void* pPacket);
// Ends the modal dialog from outside with nCode as its result.
typedef int(__cdecl* PFN_ExitRCDlg)(int nCode);

#define SWIVELPANE_DLL_NAME "Swivelpane.dll"
