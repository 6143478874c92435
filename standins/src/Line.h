// Inside QLCLIENT.dll: the simulated production line shared by all stand-in libraries.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "AccessPoint.h"
#include "QLCLIENT.h"
#include "StandinControl.h"

namespace line {

struct Camera {
    std::string name; // its section
    std::string ip;
    int port = 0;
    std::string group = "A";
    int number = 0; // 0 or less: none
    int type = QLC_DEVTYPE_IPC;
    LanToolGuid guid = {};
    int dataValue = 0;
    std::string productType;
    std::string version;
    int orvGroup = 'A';
    int adcH = 0, adcL = 0, adcR = 0;
    int actived = 0;
    std::string wifiId, wifiPw;
    int wifiQ = 0;
    std::vector<ApRecord> aps;
    bool asksNumber = false;
    int askAfter = 0;
    bool connectFails = false;
    bool broadcasts = true;
    std::string ptzParams;
    // What the line has told the camera since.
    std::string user, password;
    int mode = 0;
    ULONGLONG offlineUntil = 0;
    ULONGLONG nextBroadcast = 0;
    ULONGLONG nextPush = 0;
};

struct Delays {
    int search = 30, connect = 300, version = 400, packet = 200, scan = 1500;
    int broadcastInterval = 5000, pushInterval = 2000, rebootTime = 5000;
};

struct Scenario {
    std::vector<Camera> cameras;
    Delays delays;
    bool lanToolFails = false, previewInitFails = false, createPlayerFails = false;
    std::vector<int> busySearchPorts, busyBroadcastPorts;
};

// Reads a scenario file; problems (each naming section and key) are appended to errors.
Scenario ReadScenario(const char* path, std::vector<std::string>& errors);
std::string DefaultScenarioPath();

// Everything below runs under the line's lock unless it says otherwise.
void Lock();
void Unlock();
struct Guard {
    Guard() { Lock(); }
    ~Guard() { Unlock(); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;
};

ULONGLONG Now();
Scenario& Current();                // under the lock
bool ZeroDelays();                  // under the lock
int Delay(int ms);                  // ms, or 0 with zero delays; under the lock
Camera* FindCamera(const char* ip); // under the lock; NULL when absent
bool Online(const Camera& c);

// Owners of scheduled events, so that stopping a service can drop its events and wait out the one
// that runs. Players use their own owner number, from OWNER_PLAYER up.
enum Owner { OWNER_SEARCH = 1, OWNER_BROADCAST, OWNER_LANTOOL, OWNER_TICK, OWNER_INJECT, OWNER_PLAYER = 100 };
// Runs fn on the line's thread after delayMs, without the lock held. Callable with or without it.
void Schedule(int owner, int delayMs, std::function<void()> fn);
// Drops the owner's pending events and waits until none of its events runs, taking no message
// meanwhile (as a real library's stop does). Call without the lock.
void Cancel(int owner);

void LogV(int kind, const char* function, const char* format, va_list args);
void Log(int kind, const char* function, const char* format, ...);
std::string Quote(const char* s, size_t max = 200);

// Builds a config packet: kind, module and sub-kind into the header word, then the data.
std::vector<char> MakePacket(int kind, int module, int subKind, int nType, int nParam, const void* data,
                             int length);
// Posts 0x6400 with a malloc'ed record to the player's main window; false when there is none.
bool PostPacket(int channel, const std::vector<char>& packet);
HWND MainWindow();

// On the line's thread, without the lock: one search answer, broadcast or number-push request to the
// program's callback, when it has set one.
void DeliverSearch(LanSearchRecord rec);
void DeliverBroadcast(BroadcastRecord rec, int end);
void DeliverPush(LanToolRequest req);
// Reads a scenario (NULL: the default file) and restarts the line with it: its cameras, no pending
// events, the cameras speaking of their own accord. Call without the lock.
void LoadLine(const char* path, std::vector<std::string>& errors);
// Under the lock: the cameras' next 250 ms tick, unless one is pending or they are silent.
void ScheduleTickLocked();
// Under the lock: no event runs and none is due.
bool Idle();

// What the line's thread shares with the SDK's exports (QLCLIENT.cpp) and the control API
// (StandinControl.cpp); all of it under the lock.
extern QLC_LanToolCallback g_lanTool; // the program's callbacks, as its calls to the SDK set them
extern QLC_LanSearchCallback g_search;
extern QLC_BroadcastCallback g_broadcast;
extern int g_broadcastPort;
extern bool g_zeroDelays;
extern bool g_spontaneous; // the cameras broadcast and ask for numbers of their own accord
extern bool g_tickPending;
extern HANDLE g_holdEntered, g_holdRelease; // Standin_HoldNextLanCallback
extern LanToolRequest g_lastAnswer;         // the program's latest answer to a number push
extern bool g_hasAnswer;
extern std::vector<char> g_lastSent; // the latest packet given to QLC_SendData
extern std::vector<StandinLogEntry> g_log;

} // namespace line
