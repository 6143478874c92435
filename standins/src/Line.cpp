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

// Shared with the exports; see Line.h.
QLC_LanToolCallback g_lanTool = nullptr;
QLC_LanSearchCallback g_search = nullptr;
QLC_BroadcastCallback g_broadcast = nullptr;
int g_broadcastPort = 0;
bool g_zeroDelays = false;
bool g_spontaneous = true;
bool g_tickPending = false;
HANDLE g_holdEntered = nullptr, g_holdRelease = nullptr;
LanToolRequest g_lastAnswer;
bool g_hasAnswer = false;
std::vector<char> g_lastSent;
std::vector<StandinLogEntry> g_log;

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

unsigned g_logSeq = 0;
FILE* g_logFile = nullptr;
bool g_logFileTried = false;
const size_t kLogCap = 200000; // a long run of the program keeps its latest calls

Scenario g_scenario;
bool g_loaded = false;
int g_broadcastIndex = 0;
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

std::string Field(const char* s, size_t size) {
    return std::string(s, strnlen(s, size));
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

} // namespace

void ScheduleTickLocked() {
    if (g_spontaneous && !g_tickPending) {
        g_tickPending = true;
        Schedule(OWNER_TICK, 250, Tick);
    }
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

bool Idle() {
    if (g_runningOwner != 0) return false;
    ULONGLONG now = Now();
    for (const Event& e : g_events)
        if (e.due <= now) return false;
    return true;
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

// ---- what the other stand-in libraries use (SimExports.h) ---------------------------------------

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
