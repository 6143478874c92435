// Control of the simulated production line behind the stand-in libraries, for tests.
// Exported by QLCLIENT.dll, the home of the simulated line; the other stand-in libraries use the same line.
//
// Environment: LK_STANDIN_SCENARIO names the scenario file (default: StandinLine.ini beside
// QLCLIENT.dll); LK_STANDIN_LOG names a file that receives every log entry as one line:
// "seq<TAB>thread<TAB>kind<TAB>function<TAB>arguments".
#pragma once

#include "QLCLIENT.h"

#ifdef QLCLIENT_EXPORTS
#define STANDIN_API extern "C" __declspec(dllexport)
#else
#define STANDIN_API extern "C" __declspec(dllimport)
#endif

enum StandinEntryKind {
    STANDIN_CALL = 0,  // the program called a stand-in function (on the program's thread)
    STANDIN_EVENT = 1, // the stand-in raised a callback or posted a message (on its own thread)
    STANDIN_NOTE = 2,  // the line itself: scenario errors, answers sent back to cameras
};

struct StandinLogEntry {
    unsigned nSeq;       // 0, 1, 2, ... in the order of the calls
    unsigned dwThreadId; // thread that made the call or raised the event
    int nKind;           // StandinEntryKind
    char szFunction[48]; // e.g. "QLC_LANSerchDevice", "CTellurio::Connect", "OnLanSearchResult"
    char szArgs[460];    // arguments as C text: 9400, "admin", {ip="10.0.0.5",port=8000}; cut to fit
};

// Loads a scenario and restarts the line: its cameras, and the line's pending events dropped. Servers
// and the LAN tool stay as the program set them, and the log stays.
// NULL loads the default file. Returns 1, or 0 with the problems (each naming its section and key)
// in szError; cameras without a problem are still loaded.
STANDIN_API int Standin_LoadScenario(const char* szPath, char* szError, int nErrorSize);
// Response delays (search answers, connection, version, packets, scan) all zero when bOn.
STANDIN_API void Standin_SetZeroDelays(int bOn);
// Periodic broadcasts and number-push requests of the cameras; on after loading a scenario.
STANDIN_API void Standin_SetSpontaneous(int bOn);
// Waits until no event is due and no callback is running. While it waits it still takes messages
// sent to this thread (callbacks may SendMessage to the caller's windows). 1 idle, 0 timed out.
STANDIN_API int Standin_WaitIdle(unsigned nTimeoutMs);

// Holds the next search or broadcast delivery in flight: once its callback is chosen (a server stopped
// from now on still waits for it), the line's thread sets the event hEntered and waits for hRelease
// (at most 10 s) before calling the program. Both are event handles of the caller; one delivery only.
STANDIN_API void Standin_HoldNextLanCallback(void* hEntered, void* hRelease);

// One event each, raised from the line's thread as if a camera had sent it.
STANDIN_API void Standin_InjectSearchAnswer(const LanSearchRecord* pRecord);
STANDIN_API void Standin_InjectBroadcast(const BroadcastRecord* pRecord, int bEnd);
// The answer written into the request is kept; read it with Standin_GetLastPushAnswer.
STANDIN_API void Standin_InjectNumberPush(const LanToolRequest* pRequest);
STANDIN_API int Standin_GetLastPushAnswer(LanToolRequest* pAnswer); // 0 when no request was answered
// Sets a window's state and raises the connection-state callback (the window keeps its camera).
STANDIN_API void Standin_InjectConnectState(int nWindow, int nState);
// Posts message 0x6400 with a copy of the packet to the player's main window (nChannel its channel);
// any length from 0 up, a packet shorter than its header included.
STANDIN_API void Standin_InjectPacket(int nChannel, const void* pPacket, int nLength);

// The log of every call the program made, in order.
STANDIN_API int Standin_GetLogCount(void);
STANDIN_API int Standin_GetLogEntry(int nIndex, StandinLogEntry* pEntry); // 0 when out of range
STANDIN_API void Standin_ClearLog(void);
// The last packet given to QLC_SendData; returns its length (copies at most nSize bytes), 0 if none.
STANDIN_API int Standin_GetLastSentPacket(void* pBuffer, int nSize);
