// The simulated production line: one event thread that plays the cameras, the call log, and the
// scenario in force. Every callback of every stand-in library runs on the event thread.
#include "Line.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "SimExports.h"
#include "StandinControl.h"

namespace line {
namespace {

struct Event {
    ULONGLONG due;
    unsigned long long seq;
    int owner;
    std::function<void()> fn;
};

struct Core {
    CRITICAL_SECTION cs;
    CONDITION_VARIABLE eventDone; // woken whenever the event thread finishes an event
    Core() {
        InitializeCriticalSection(&cs);
        InitializeConditionVariable(&eventDone);
    }
    // Never deleted: the event thread may still hold it while the process ends.
};
Core g_core;

std::vector<Event> g_events;
unsigned long long g_eventSeq = 0;
HANDLE g_wake = nullptr;
DWORD g_threadId = 0;
int g_runningOwner = 0; // owner of the event being run, 0 none

std::vector<StandinLogEntry> g_log;
unsigned g_logSeq = 0;
FILE* g_logFile = nullptr;
bool g_logFileTried = false;
const size_t kLogCap = 200000; // a long run of the program keeps its latest calls

Scenario g_scenario;
bool g_loaded = false;
bool g_zeroDelays = false;
bool g_spontaneous = true;
bool g_tickPending = false;

QLC_LanToolCallback g_lanTool = nullptr;
QLC_LanSearchCallback g_search = nullptr;
int g_searchPort = 0;
QLC_BroadcastCallback g_broadcast = nullptr;
int g_broadcastPort = 0;
int g_broadcastIndex = 0;
HANDLE g_holdEntered = nullptr, g_holdRelease = nullptr; // Standin_HoldNextLanCallback
LanToolRequest g_lastAnswer;
bool g_hasAnswer = false;
std::vector<char> g_lastSent;
const unsigned kCancelGiveUpMs = 10000;

DWORD WINAPI EventThread(void*) {
    for (;;) {
        Lock();
        ULONGLONG now = Now();
        size_t next = g_events.size();
        for (size_t i = 0; i < g_events.size(); ++i)
            if (next == g_events.size() || g_events[i].due < g_events[next].due ||
                (g_events[i].due == g_events[next].due && g_events[i].seq < g_events[next].seq))
                next = i;
        if (next == g_events.size() || g_events[next].due > now) {
            DWORD wait = next == g_events.size() ? INFINITE : (DWORD)(g_events[next].due - now);
            Unlock();
            WaitForSingleObject(g_wake, wait);
            continue;
        }
        Event ev = std::move(g_events[next]);
        g_events.erase(g_events.begin() + next);
        g_runningOwner = ev.owner;
        Unlock();
        ev.fn();
        Lock();
        g_runningOwner = 0;
        WakeAllConditionVariable(&g_core.eventDone);
        Unlock();
    }
}

// Waits for cond, taking messages sent to this thread meanwhile: a callback on the event thread may
// be inside SendMessage to a window of the waiting thread.
template <class Cond> bool WaitFor(Cond cond, DWORD timeoutMs) {
    ULONGLONG end = Now() + timeoutMs;
    for (;;) {
        {
            Guard g;
            if (cond()) return true;
        }
        if (timeoutMs != INFINITE && Now() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_SENDMESSAGE);
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

void WriteLogFile(const StandinLogEntry& e) {
    if (!g_logFileTried) {
        g_logFileTried = true;
        char path[MAX_PATH];
        DWORD n = GetEnvironmentVariableA("LK_STANDIN_LOG", path, sizeof path);
        if (n > 0 && n < sizeof path) g_logFile = fopen(path, "wb");
    }
    if (g_logFile) {
        fprintf(g_logFile, "%u\t%lu\t%d\t%s\t%s\n", e.nSeq, (unsigned long)e.dwThreadId, e.nKind,
                e.szFunction, e.szArgs);
        fflush(g_logFile);
    }
}

void Tick();

void ScheduleTickLocked() {
    if (g_spontaneous && !g_tickPending) {
        g_tickPending = true;
        Schedule(OWNER_TICK, 250, Tick);
    }
}

void FillSearchRecord(const Camera& c, LanSearchRecord& r) {
    memset(&r, 0, sizeof r);
    strncpy(r.szGroup, c.group.c_str(), sizeof r.szGroup - 1);
    r.nCloudNumber = c.number;
    r.nDeviceType = c.type;
    strncpy(r.szIP, c.ip.c_str(), sizeof r.szIP - 1);
    r.nPort = c.port;
    strncpy(r.szVersion, c.version.c_str(), sizeof r.szVersion - 1);
    strncpy(r.szProductType, c.productType.c_str(), sizeof r.szProductType - 1);
}

uint32_t NetworkOrder(const std::string& ip) {
    unsigned a = 0, b = 0, c = 0, d = 0;
    sscanf(ip.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d);
    // The bytes in address order, as a little-endian word.
    return a | (b << 8) | (c << 16) | (d << 24);
}

// Called on the line's thread with the callback already chosen, so the delivery counts as running.
void HoldIfAsked() {
    HANDLE entered, release;
    {
        Guard g;
        entered = g_holdEntered;
        release = g_holdRelease;
        g_holdEntered = g_holdRelease = nullptr;
    }
    if (!release) return;
    Log(STANDIN_NOTE, "hold", "delivery held");
    SetEvent(entered);
    WaitForSingleObject(release, 10000);
}

void DeliverSearch(LanSearchRecord rec) {
    QLC_LanSearchCallback cb;
    {
        Guard g;
        cb = g_search;
    }
    if (!cb) return;
    HoldIfAsked();
    Log(STANDIN_EVENT, "OnLanSearchResult", "{group=%s,number=%d,type=%d,ip=%s,port=%d,end=%d}",
        Quote(rec.szGroup, sizeof rec.szGroup).c_str(), rec.nCloudNumber, rec.nDeviceType,
        Quote(rec.szIP, sizeof rec.szIP).c_str(), rec.nPort, rec.bEnd);
    cb(rec);
}

void DeliverBroadcast(BroadcastRecord rec, int end) {
    QLC_BroadcastCallback cb;
    int port, index;
    {
        Guard g;
        cb = g_broadcast;
        port = g_broadcastPort;
        index = ++g_broadcastIndex;
    }
    if (!cb) return;
    HoldIfAsked();
    Log(STANDIN_EVENT, "OnBroadcastResult", "%d, {group=%s,number=%u,port=%d,ip=0x%08lX}, %d, %d, %d", port,
        Quote(rec.szGroup, sizeof rec.szGroup).c_str(), rec.nCloudNumber, rec.nPort, (unsigned long)rec.dwIP,
        (int)sizeof rec, index, end);
    cb(port, &rec, (int)sizeof rec, index, end);
}

std::string Field(const char* s, size_t size) {
    return std::string(s, strnlen(s, size));
}

void DeliverPush(LanToolRequest req) {
    QLC_LanToolCallback cb;
    {
        Guard g;
        cb = g_lanTool;
    }
    if (!cb) return;
    Log(STANDIN_EVENT, "OnNumberPush", "{number=%d,type=%d,data=%d,group=%s,ip=%s,port=%d}", req.nCloudNumber,
        req.nDeviceType, req.nDataValue, Quote(req.szGroup, sizeof req.szGroup).c_str(),
        Quote(req.szIP, sizeof req.szIP).c_str(), req.nPort);
    LanToolRequest answer = req;
    // How long the program kept the camera waiting: the answer goes out when the callback returns.
    // The performance counter, since the tick count moves in steps.
    LARGE_INTEGER frequency, asked, answered;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&asked);
    int result = cb(&answer);
    QueryPerformanceCounter(&answered);
    const double tookMs = (double)(answered.QuadPart - asked.QuadPart) * 1000.0 / (double)frequency.QuadPart;
    // The answer goes back to the camera now: the SDK reads it after the callback has returned.
    unsigned sum = 0;
    bool configOk = answer.nConfigLength >= 0 && answer.nConfigLength <= 0x100000 &&
                    (answer.nConfigLength == 0 || answer.pConfigData != nullptr);
    if (configOk)
        for (int i = 0; i < answer.nConfigLength; ++i)
            sum = sum * 31 + (unsigned char)answer.pConfigData[i];
    std::string user = Field(answer.szUser, sizeof answer.szUser);
    std::string password = Field(answer.szPassword, sizeof answer.szPassword);
    {
        Guard g;
        g_lastAnswer = answer;
        g_hasAnswer = true;
        if (Camera* c = FindCamera(Field(req.szIP, sizeof req.szIP).c_str())) {
            if (answer.nCloudNumber > 0) c->number = answer.nCloudNumber;
            c->user = user;
            c->password = password;
        }
    }
    if (configOk)
        Log(STANDIN_NOTE, "OnNumberPush.answer",
            "result=%d, number=%d, user=%s, password=%s, config=%d bytes/%08X, after %.1f ms", result,
            answer.nCloudNumber, Quote(user.c_str()).c_str(), Quote(password.c_str()).c_str(),
            answer.nConfigLength, sum, tookMs);
    else
        Log(STANDIN_NOTE, "OnNumberPush.answer",
            "result=%d, number=%d, user=%s, password=%s, bad config %d bytes at %p, after %.1f ms", result,
            answer.nCloudNumber, Quote(user.c_str()).c_str(), Quote(password.c_str()).c_str(),
            answer.nConfigLength, (const void*)answer.pConfigData, tookMs);
}

LanToolRequest MakeRequest(const Camera& c) {
    LanToolRequest r;
    memset(&r, 0, sizeof r);
    r.cCommand = 1;
    r.nCloudNumber = c.number;
    r.nDeviceType = c.type;
    r.nDataValue = c.dataValue;
    r.guid = c.guid;
    strncpy(r.szGroup, c.group.c_str(), sizeof r.szGroup - 1);
    strncpy(r.szIP, c.ip.c_str(), sizeof r.szIP - 1);
    r.nPort = c.port;
    return r;
}

BroadcastRecord MakeBroadcast(const Camera& c) {
    BroadcastRecord r;
    memset(&r, 0, sizeof r);
    r.nDeviceType = c.type;
    strncpy(r.szGroup, c.group.c_str(), sizeof r.szGroup - 1);
    r.nCloudNumber = c.number > 0 ? (uint32_t)c.number : 0;
    r.nPort = c.port;
    strncpy(r.szVersion, c.version.c_str(), sizeof r.szVersion - 1);
    r.dwIP = NetworkOrder(c.ip);
    return r;
}

// Every 250 ms: cameras broadcast and unnumbered ones ask for a number.
void Tick() {
    Guard g;
    g_tickPending = false;
    if (!g_spontaneous) return;
    ULONGLONG now = Now();
    for (Camera& c : g_scenario.cameras) {
        if (!Online(c)) continue;
        if (c.broadcasts && g_broadcast && now >= c.nextBroadcast) {
            c.nextBroadcast = now + g_scenario.delays.broadcastInterval;
            BroadcastRecord rec = MakeBroadcast(c);
            Schedule(OWNER_BROADCAST, 0, [rec] { DeliverBroadcast(rec, 0); });
        }
        if (c.asksNumber && c.number <= 0 && g_lanTool && now >= c.nextPush) {
            c.nextPush = now + g_scenario.delays.pushInterval;
            LanToolRequest req = MakeRequest(c);
            Schedule(OWNER_LANTOOL, 0, [req] { DeliverPush(req); });
        }
    }
    ScheduleTickLocked();
}

void LoadLine(const char* path, std::vector<std::string>& errors) {
    for (int owner : {OWNER_SEARCH, OWNER_BROADCAST, OWNER_LANTOOL, OWNER_TICK, OWNER_INJECT})
        Cancel(owner);
    std::string file = path ? path : DefaultScenarioPath();
    Scenario sc = ReadScenario(file.c_str(), errors);
    {
        Guard g;
        g_scenario = sc;
        g_loaded = true;
        g_spontaneous = true;
        g_tickPending = false;
        ULONGLONG now = Now();
        int i = 0;
        for (Camera& c : g_scenario.cameras) {
            // Spread the broadcasts so that cameras do not all speak in the same tick.
            c.nextBroadcast = now + 300 + 400 * i++;
            c.nextPush = now + c.askAfter;
        }
        ScheduleTickLocked();
    }
    Log(STANDIN_NOTE, "scenario", "%s: %d cameras", Quote(file.c_str(), 300).c_str(), (int)sc.cameras.size());
    for (const std::string& e : errors) {
        Log(STANDIN_NOTE, "scenario.error", "%s", e.c_str());
        fprintf(stderr, "stand-in scenario %s: %s\n", file.c_str(), e.c_str());
    }
}

bool PortBusy(const std::vector<int>& busy, int port) {
    for (int p : busy)
        if (p == port) return true;
    return false;
}

} // namespace

void Lock() {
    EnterCriticalSection(&g_core.cs);
}
void Unlock() {
    LeaveCriticalSection(&g_core.cs);
}
ULONGLONG Now() {
    return GetTickCount64();
}
Scenario& Current() {
    return g_scenario;
}
bool ZeroDelays() {
    return g_zeroDelays;
}
int Delay(int ms) {
    return g_zeroDelays ? 0 : ms;
}

Camera* FindCamera(const char* ip) {
    for (Camera& c : g_scenario.cameras)
        if (c.ip == ip) return &c;
    return nullptr;
}

bool Online(const Camera& c) {
    return Now() >= c.offlineUntil;
}

void Schedule(int owner, int delayMs, std::function<void()> fn) {
    Guard g;
    if (!g_wake) {
        g_wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        HANDLE t = CreateThread(nullptr, 0, EventThread, nullptr, 0, &g_threadId);
        CloseHandle(t);
    }
    g_events.push_back(
        Event{Now() + (ULONGLONG)(delayMs < 0 ? 0 : delayMs), ++g_eventSeq, owner, std::move(fn)});
    SetEvent(g_wake);
}

void Cancel(int owner) {
    Guard g;
    for (size_t i = g_events.size(); i-- > 0;)
        if (g_events[i].owner == owner) g_events.erase(g_events.begin() + i);
    // From inside a callback the running event is the caller itself.
    if (GetCurrentThreadId() == g_threadId) return;
    // As a real library waits for its callbacks: blocked, taking no message meanwhile, so a callback
    // that waits for the caller's thread deadlocks here as it would on the line. The stand-in gives
    // up after a while (a real one would not), so that a test fails instead of hanging.
    const ULONGLONG giveUp = Now() + kCancelGiveUpMs;
    while (g_runningOwner == owner) {
        const ULONGLONG now = Now();
        if (now >= giveUp) {
            Unlock();
            Log(STANDIN_NOTE, "deadlock", "a stop waited %u ms for a callback that did not return",
                kCancelGiveUpMs);
            Lock();
            return;
        }
        SleepConditionVariableCS(&g_core.eventDone, &g_core.cs, (DWORD)(giveUp - now));
    }
}

std::string Quote(const char* s, size_t max) {
    if (!s) return "NULL";
    std::string out = "\"";
    size_t n = strnlen(s, max);
    for (size_t i = 0; i < n; ++i) {
        unsigned char ch = (unsigned char)s[i];
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += (char)ch;
        } else if (ch < 0x20) {
            char esc[8];
            snprintf(esc, sizeof esc, "\\x%02X", ch);
            out += esc;
        } else {
            out += (char)ch;
        }
    }
    // Stops at the bound: a full fixed-size field may have no terminator, and nothing past it is ours.
    return out + "\"";
}

void LogV(int kind, const char* function, const char* format, va_list args) {
    StandinLogEntry e = {};
    e.dwThreadId = GetCurrentThreadId();
    e.nKind = kind;
    snprintf(e.szFunction, sizeof e.szFunction, "%s", function);
    vsnprintf(e.szArgs, sizeof e.szArgs, format, args);
    Guard g;
    e.nSeq = g_logSeq++;
    if (g_log.size() >= kLogCap) g_log.erase(g_log.begin(), g_log.begin() + kLogCap / 2);
    g_log.push_back(e);
    WriteLogFile(e);
}

void Log(int kind, const char* function, const char* format, ...) {
    va_list args;
    va_start(args, format);
    LogV(kind, function, format, args);
    va_end(args);
}

std::vector<char> MakePacket(int kind, int module, int subKind, int nType, int nParam, const void* data,
                             int length) {
    std::vector<char> p(20 + (size_t)length);
    uint32_t header =
        (uint32_t)(kind & 0x1F) | ((uint32_t)(module & 0xFF) << 5) | ((uint32_t)(subKind & 0xFF) << 13);
    int32_t words[5] = {(int32_t)header, nType, nParam, length, 0};
    memcpy(p.data(), words, sizeof words);
    if (length > 0) memcpy(p.data() + 20, data, (size_t)length);
    return p;
}

bool PostPacket(int channel, const std::vector<char>& packet) {
    HWND main = MainWindow();
    uint32_t header = 0;
    int32_t nType = 0;
    // Only for the log, and only what the packet holds: a test may inject one shorter than a header.
    if (packet.size() >= 4) memcpy(&header, packet.data(), 4);
    if (packet.size() >= 8) memcpy(&nType, packet.data() + 4, 4);
    if (!main) {
        Log(STANDIN_NOTE, "post 0x6400", "no main window (Player_Init not called): packet dropped");
        return false;
    }
    // One block: the receiver's free(record) releases the packet bytes too.
    auto* rec = (TellurioPacketRecord*)malloc(sizeof(TellurioPacketRecord) + packet.size());
    if (!rec) return false;
    rec->nChannel = channel;
    rec->nDataType = QLC_DATA_CFGPACKET;
    rec->pData = (char*)(rec + 1);
    rec->nLength = (int32_t)packet.size();
    if (!packet.empty()) memcpy(rec->pData, packet.data(), packet.size());
    Log(STANDIN_EVENT, "post 0x6400", "channel=%d, kind=%u, module=%u, subkind=%u, nType=%d, length=%d",
        channel, header & 0x1F, (header >> 5) & 0xFF, (header >> 13) & 0xFF, nType, (int)packet.size());
    if (!PostMessageA(main, TELLURIO_WM_CFGPACKET, 0, (LPARAM)rec)) {
        free(rec);
        return false;
    }
    return true;
}

} // namespace line

using namespace line;

// ---- what the other stand-in libraries use -------------------------------------------------------

SIM_API void Sim_Log(int nKind, const char* szFunction, const char* szFormat, ...) {
    va_list args;
    va_start(args, szFormat);
    LogV(nKind, szFunction, szFormat, args);
    va_end(args);
}

SIM_API void Sim_EnsureLine(void) {
    {
        Guard g;
        if (g_loaded) return;
        g_loaded = true; // one attempt, even when the file is bad
    }
    char path[MAX_PATH];
    DWORD n = GetEnvironmentVariableA("LK_STANDIN_SCENARIO", path, sizeof path);
    std::vector<std::string> errors;
    LoadLine(n > 0 && n < sizeof path ? path : nullptr, errors);
}

SIM_API int Sim_SdkSwitch(const char* szKey) {
    Sim_EnsureLine();
    Guard g;
    if (strcmp(szKey, "PreviewInitFails") == 0) return g_scenario.previewInitFails;
    if (strcmp(szKey, "CreatePlayerFails") == 0) return g_scenario.createPlayerFails;
    if (strcmp(szKey, "LanToolFails") == 0) return g_scenario.lanToolFails;
    return 0;
}

// ---- QLCLIENT ---------------------------------------------------------------------------------------

static unsigned long Addr(const void* p) {
    return (unsigned long)(uintptr_t)p;
}

QLCLIENT_API int QLC_InitSDK(int nLocalPort, int nFlags) {
    Log(STANDIN_CALL, "QLC_InitSDK", "%d, %d", nLocalPort, nFlags);
    Sim_EnsureLine();
    return 1;
}

QLCLIENT_API int QLC_SetLanguage(int nLanguage) {
    Log(STANDIN_CALL, "QLC_SetLanguage", "%d", nLanguage);
    return 1;
}

QLCLIENT_API int QLC_EnableLANTool(int bEnable, int nReserved1, int nReserved2, QLC_LanToolCallback pfn) {
    Log(STANDIN_CALL, "QLC_EnableLANTool", "%d, %d, %d, 0x%08lX", bEnable, nReserved1, nReserved2,
        Addr((void*)pfn));
    Sim_EnsureLine();
    if (bEnable) {
        Guard g;
        if (g_scenario.lanToolFails || !pfn) return 0;
        g_lanTool = pfn;
        ULONGLONG now = Now();
        for (Camera& c : g_scenario.cameras)
            if (c.nextPush < now + c.askAfter) c.nextPush = now + c.askAfter;
        return 1;
    }
    {
        Guard g;
        g_lanTool = nullptr;
    }
    Cancel(OWNER_LANTOOL);
    return 1;
}

QLCLIENT_API int QLC_StartLANSerchServer(int nPort, int nDevicePort, QLC_LanSearchCallback pfn, int bAll) {
    Log(STANDIN_CALL, "QLC_StartLANSerchServer", "%d, %d, 0x%08lX, %d", nPort, nDevicePort, Addr((void*)pfn),
        bAll);
    Sim_EnsureLine();
    Guard g;
    if (g_search || !pfn || PortBusy(g_scenario.busySearchPorts, nPort)) return 0;
    g_search = pfn;
    g_searchPort = nPort;
    return 1;
}

QLCLIENT_API int QLC_StopLANSerchServer(void) {
    Log(STANDIN_CALL, "QLC_StopLANSerchServer", "");
    {
        Guard g;
        g_search = nullptr;
        g_searchPort = 0;
    }
    Cancel(OWNER_SEARCH);
    return 1;
}

QLCLIENT_API int QLC_StartBroadcastServer(int nPort, int nDevicePort, QLC_BroadcastCallback pfn) {
    Log(STANDIN_CALL, "QLC_StartBroadcastServer", "%d, %d, 0x%08lX", nPort, nDevicePort, Addr((void*)pfn));
    Sim_EnsureLine();
    Guard g;
    if (g_broadcast || !pfn || PortBusy(g_scenario.busyBroadcastPorts, nPort)) return 0;
    g_broadcast = pfn;
    g_broadcastPort = nPort;
    return 1;
}

QLCLIENT_API int QLC_StopBroadcastServer(void) {
    Log(STANDIN_CALL, "QLC_StopBroadcastServer", "");
    {
        Guard g;
        g_broadcast = nullptr;
        g_broadcastPort = 0;
    }
    Cancel(OWNER_BROADCAST);
    return 1;
}

QLCLIENT_API int QLC_LANSerchDevice(const char* szIP, int nPort, int nDeviceType, int nRetries,
                                    const char* szGroup, int nCloudNumber, int nTimeoutSeconds) {
    Log(STANDIN_CALL, "QLC_LANSerchDevice", "%s, %d, %d, %d, %s, %d, %d", Quote(szIP).c_str(), nPort,
        nDeviceType, nRetries, Quote(szGroup).c_str(), nCloudNumber, nTimeoutSeconds);
    Sim_EnsureLine();
    Guard g;
    if (!g_search) return 0;
    int delay = Delay(g_scenario.delays.search);
    for (const Camera& c : g_scenario.cameras) {
        if (!Online(c)) continue;
        LanSearchRecord rec;
        FillSearchRecord(c, rec);
        Schedule(OWNER_SEARCH, delay, [rec] { DeliverSearch(rec); });
    }
    LanSearchRecord end;
    memset(&end, 0, sizeof end);
    end.bEnd = 1;
    Schedule(OWNER_SEARCH, delay, [end] { DeliverSearch(end); });
    return 1;
}

QLCLIENT_API int QLC_LANToolDevice(const char* szUser, const char* szPassword, int nTimeoutMs) {
    Log(STANDIN_CALL, "QLC_LANToolDevice", "%s, %s, %d", Quote(szUser).c_str(), Quote(szPassword).c_str(),
        nTimeoutMs);
    Sim_EnsureLine();
    Guard g;
    for (Camera& c : g_scenario.cameras)
        if (Online(c)) {
            c.user = szUser ? std::string(szUser, strnlen(szUser, 255)) : std::string();
            c.password = szPassword ? std::string(szPassword, strnlen(szPassword, 255)) : std::string();
        }
    return 1;
}

QLCLIENT_API int QLC_DisConnect(int nConnection) {
    Log(STANDIN_CALL, "QLC_DisConnect", "%d", nConnection);
    return 1;
}

QLCLIENT_API int QLC_ReleaseSDK(void) {
    Log(STANDIN_CALL, "QLC_ReleaseSDK", "");
    {
        Guard g;
        g_lanTool = nullptr;
        g_search = nullptr;
        g_broadcast = nullptr;
        g_spontaneous = false;
    }
    for (int owner : {OWNER_SEARCH, OWNER_BROADCAST, OWNER_LANTOOL, OWNER_TICK, OWNER_INJECT})
        Cancel(owner);
    return 1;
}

QLCLIENT_API int QLC_SendData(int nConnection, int nDataType, const void* pData, int nLength) {
    if (!pData || nLength < 20 || nLength > 0x100000) {
        Log(STANDIN_CALL, "QLC_SendData", "%d, %d, 0x%08lX, %d", nConnection, nDataType, Addr(pData),
            nLength);
        return -1;
    }
    int32_t w[4];
    memcpy(w, pData, sizeof w);
    const char* data = (const char*)pData + 20;
    Log(STANDIN_CALL, "QLC_SendData", "%d, %d, {kind=%u,module=%u,nType=%d,nParam=%d,nLength=%d,data=%s}, %d",
        nConnection, nDataType, (uint32_t)w[0] & 0x1F, ((uint32_t)w[0] >> 5) & 0xFF, w[1], w[2], w[3],
        Quote(data, (size_t)(nLength - 20) < 300 ? (size_t)(nLength - 20) : 300).c_str(), nLength);
    Guard g;
    g_lastSent.assign((const char*)pData, (const char*)pData + nLength);
    return nLength;
}

// ---- control API for tests ----------------------------------------------------------------------------

STANDIN_API int Standin_LoadScenario(const char* szPath, char* szError, int nErrorSize) {
    std::vector<std::string> errors;
    LoadLine(szPath, errors);
    if (szError && nErrorSize > 0) {
        std::string all;
        for (const std::string& e : errors)
            all += (all.empty() ? "" : "\n") + e;
        snprintf(szError, (size_t)nErrorSize, "%s", all.c_str());
    }
    return errors.empty() ? 1 : 0;
}

STANDIN_API void Standin_SetZeroDelays(int bOn) {
    Guard g;
    g_zeroDelays = bOn != 0;
}

STANDIN_API void Standin_SetSpontaneous(int bOn) {
    Sim_EnsureLine();
    {
        Guard g;
        g_spontaneous = bOn != 0;
        if (g_spontaneous) ScheduleTickLocked();
    }
    if (!bOn) {
        Cancel(OWNER_TICK);
        Guard g;
        g_tickPending = false;
    }
}

STANDIN_API int Standin_WaitIdle(unsigned nTimeoutMs) {
    return WaitFor(
               [] {
                   if (g_runningOwner != 0) return false;
                   ULONGLONG now = Now();
                   for (const Event& e : g_events)
                       if (e.due <= now) return false;
                   return true;
               },
               nTimeoutMs)
               ? 1
               : 0;
}

STANDIN_API void Standin_HoldNextLanCallback(void* hEntered, void* hRelease) {
    Guard g;
    g_holdEntered = (HANDLE)hEntered;
    g_holdRelease = (HANDLE)hRelease;
}

STANDIN_API void Standin_InjectSearchAnswer(const LanSearchRecord* pRecord) {
    LanSearchRecord rec = *pRecord;
    Schedule(OWNER_SEARCH, 0, [rec] { DeliverSearch(rec); });
}

STANDIN_API void Standin_InjectBroadcast(const BroadcastRecord* pRecord, int bEnd) {
    BroadcastRecord rec = *pRecord;
    Schedule(OWNER_BROADCAST, 0, [rec, bEnd] { DeliverBroadcast(rec, bEnd); });
}

STANDIN_API void Standin_InjectNumberPush(const LanToolRequest* pRequest) {
    LanToolRequest req = *pRequest;
    Schedule(OWNER_LANTOOL, 0, [req] { DeliverPush(req); });
}

STANDIN_API int Standin_GetLastPushAnswer(LanToolRequest* pAnswer) {
    Guard g;
    if (!g_hasAnswer) return 0;
    *pAnswer = g_lastAnswer;
    return 1;
}

STANDIN_API void Standin_InjectPacket(int nChannel, const void* pPacket, int nLength) {
    if (!pPacket || nLength < 0) return;
    std::vector<char> packet((const char*)pPacket, (const char*)pPacket + nLength);
    Schedule(OWNER_INJECT, 0, [nChannel, packet] { PostPacket(nChannel, packet); });
}

STANDIN_API int Standin_GetLogCount(void) {
    Guard g;
    return (int)g_log.size();
}

STANDIN_API int Standin_GetLogEntry(int nIndex, StandinLogEntry* pEntry) {
    Guard g;
    if (nIndex < 0 || (size_t)nIndex >= g_log.size()) return 0;
    *pEntry = g_log[(size_t)nIndex];
    return 1;
}

STANDIN_API void Standin_ClearLog(void) {
    Guard g;
    g_log.clear();
}

STANDIN_API int Standin_GetLastSentPacket(void* pBuffer, int nSize) {
    Guard g;
    if (g_lastSent.empty()) return 0;
    if (pBuffer && nSize > 0)
        memcpy(pBuffer, g_lastSent.data(),
               g_lastSent.size() < (size_t)nSize ? g_lastSent.size() : (size_t)nSize);
    return (int)g_lastSent.size();
}
