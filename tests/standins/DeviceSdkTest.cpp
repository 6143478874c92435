// The device SDK stand-in: searches, broadcasts and number push from the simulated line, the call
// log, and the scenario file.
#include "StandinTestSupport.h"

namespace {

using namespace sit;

std::mutex g_mu;
std::vector<std::vector<char>> g_records; // raw bytes as the program reads them
std::vector<DWORD> g_threads;
std::vector<int> g_ints; // further arguments a callback got

void ResetSeen() {
    std::lock_guard<std::mutex> l(g_mu);
    g_records.clear();
    g_threads.clear();
    g_ints.clear();
}

size_t Seen() {
    std::lock_guard<std::mutex> l(g_mu);
    return g_records.size();
}

void __cdecl OnSearch(LanSearchRecord rec) {
    std::lock_guard<std::mutex> l(g_mu);
    g_records.emplace_back((char*)&rec, (char*)&rec + sizeof rec);
    g_threads.push_back(GetCurrentThreadId());
}

void __cdecl OnBroadcast(int port, BroadcastRecord* rec, int size, int index, int end) {
    std::lock_guard<std::mutex> l(g_mu);
    g_records.emplace_back((char*)rec, (char*)rec + sizeof *rec);
    g_threads.push_back(GetCurrentThreadId());
    g_ints.insert(g_ints.end(), {port, size, index, end});
}

const char kConfig[] = "CFG01";

int __cdecl OnPush(LanToolRequest* req) {
    {
        std::lock_guard<std::mutex> l(g_mu);
        g_records.emplace_back((char*)req, (char*)req + sizeof *req);
        g_threads.push_back(GetCurrentThreadId());
    }
    req->nCloudNumber = 4321;
    strcpy(req->szUser, "admin");
    strcpy(req->szPassword, "pw");
    req->pConfigData = kConfig;
    req->nConfigLength = 5;
    return 1;
}

int I32(const std::vector<char>& r, int off) {
    int v;
    memcpy(&v, r.data() + off, 4);
    return v;
}
std::string Str(const std::vector<char>& r, int off) {
    return std::string(r.data() + off);
}

// Tries ports upward from first as the program does; returns the port that started.
int StartSearchServer(int first = 9400) {
    for (int port = first; port < first + 100; ++port)
        if (QLC_StartLANSerchServer(port, 6666, OnSearch, 1)) return port;
    return 0;
}

TEST(DeviceSdk, SearchIsAnsweredByEveryCameraAtTheProgramsOffsets) {
    LoadQuietLine();
    ResetSeen();
    EXPECT_EQ(StartSearchServer(), 9402) << "ports 9400 and 9401 are taken in the scenario";
    QLC_LANSerchDevice("", 0, 59162, 3, "", 0, 3600);
    ASSERT_EQ(Standin_WaitIdle(TestTimeLimit(3000)), 1);

    ASSERT_EQ(Seen(), 5u) << "four cameras and the closing record";
    struct Expect {
        const char* group;
        int number, type;
        const char* ip;
        int port;
    };
    const Expect want[] = {{"A", 1011, 59162, "10.0.0.11", 8000},
                           {"B", 2012, 55296, "10.0.0.12", 8001},
                           {"A", 0, 59162, "10.0.0.13", 8000},
                           {"A", 0, 59162, "10.0.0.14", 8000}};
    for (int i = 0; i < 4; ++i) {
        const std::vector<char>& r = g_records[i];
        EXPECT_EQ(Str(r, 0), want[i].group) << "record " << i;
        EXPECT_EQ(I32(r, 4), want[i].number) << "record " << i;
        EXPECT_EQ(I32(r, 8), want[i].type) << "record " << i;
        EXPECT_EQ(Str(r, 16), want[i].ip) << "record " << i;
        EXPECT_EQ(I32(r, 32), want[i].port) << "record " << i;
        EXPECT_EQ(I32(r, 140), 0) << "record " << i << " must not carry the end flag";
    }
    EXPECT_NE(I32(g_records[4], 140), 0) << "the round ends with an end-flagged record";
    for (DWORD t : g_threads)
        EXPECT_NE(t, GetCurrentThreadId()) << "search callback ran on the caller's thread";
    QLC_StopLANSerchServer();
}

TEST(DeviceSdk, CamerasBroadcastByThemselvesAndInjectedBroadcastsKeepTheirEndFlag) {
    LoadQuietLine();
    // A release of the SDK with a tick pending must not keep the cameras quiet afterwards.
    Standin_SetSpontaneous(1);
    QLC_ReleaseSDK();
    ResetSeen();
    ASSERT_EQ(QLC_StartBroadcastServer(9500, 9106, OnBroadcast), 1);
    Standin_SetSpontaneous(1);
    ASSERT_TRUE(PumpUntil([] { return Seen() >= 1; }, 3000)) << "no camera broadcast within 3 s";
    Standin_SetSpontaneous(0);
    {
        std::lock_guard<std::mutex> l(g_mu);
        const std::vector<char>& r = g_records[0];
        EXPECT_EQ(Str(r, 4), "A");
        EXPECT_EQ(I32(r, 12), 1011) << "CAM1 speaks first";
        EXPECT_EQ(I32(r, 16), 8000);
        const unsigned char ip[4] = {10, 0, 0, 11};
        EXPECT_EQ(memcmp(r.data() + 196, ip, 4), 0) << "address at 196 in network byte order";
        EXPECT_EQ(g_ints[0], 9500);
        EXPECT_EQ(g_ints[1], 744);
        EXPECT_EQ(g_ints[3], 0);
        EXPECT_NE(g_threads[0], GetCurrentThreadId());
    }
    Standin_WaitIdle(TestTimeLimit(2000));
    ResetSeen();
    BroadcastRecord rec = {};
    rec.nCloudNumber = 77;
    Standin_InjectBroadcast(&rec, 1);
    ASSERT_EQ(Standin_WaitIdle(TestTimeLimit(2000)), 1);
    ASSERT_EQ(Seen(), 1u);
    EXPECT_EQ(I32(g_records[0], 12), 77);
    EXPECT_EQ(g_ints[3], 1) << "fifth argument: the injected end flag";
    QLC_StopBroadcastServer();
}

TEST(DeviceSdk, CameraWithoutNumberAsksUntilAnsweredAndRemembersTheNumber) {
    std::string line = std::string(kLine) + "";
    line.replace(line.find("[Line]\n"), 7, "[Line]\nPushInterval=100\n");
    LoadQuietLine(line.c_str());
    ResetSeen();
    ASSERT_EQ(QLC_EnableLANTool(1, 0, 0, OnPush), 1);
    Standin_SetSpontaneous(1);
    ASSERT_TRUE(PumpUntil([] { return Seen() >= 1; }, 3000)) << "ASKER sent no number-push request";
    {
        std::lock_guard<std::mutex> l(g_mu);
        const std::vector<char>& r = g_records[0];
        EXPECT_EQ(I32(r, 516), 0) << "asks without a number";
        EXPECT_EQ(I32(r, 548), 59162);
        EXPECT_EQ(I32(r, 552), 99);
        const unsigned char guid[16] = {0x21, 0x3A, 0x5F, 0x0E, 0x64, 0x7B, 0x10, 0x4C,
                                        0x9A, 0x3B, 0x2F, 0x1C, 0x8D, 0x00, 0xA1, 0x20};
        EXPECT_EQ(memcmp(r.data() + 560, guid, 16), 0) << "GUID as u32, u16, u16, 8 bytes";
        EXPECT_EQ(Str(r, 576), "A");
        EXPECT_EQ(Str(r, 580), "10.0.0.13");
        EXPECT_EQ(I32(r, 596), 8000);
        EXPECT_NE(g_threads[0], GetCurrentThreadId());
    }
    // With the number given, the camera stops asking (it would ask every 100 ms otherwise).
    PumpUntil([] { return false; }, 500);
    EXPECT_EQ(Seen(), 1u) << "the camera kept asking after it was given a number";
    Standin_SetSpontaneous(0);

    LanToolRequest answer;
    ASSERT_EQ(Standin_GetLastPushAnswer(&answer), 1);
    EXPECT_EQ(answer.nCloudNumber, 4321);
    bool noted = false;
    for (const StandinLogEntry& e : Log())
        if (strcmp(e.szFunction, "OnNumberPush.answer") == 0)
            noted =
                strstr(e.szArgs, "number=4321, user=\"admin\", password=\"pw\", config=5 bytes") != nullptr;
    EXPECT_TRUE(noted) << "the answer read back after the callback is not in the log";

    ResetSeen();
    StartSearchServer();
    QLC_LANSerchDevice("", 0, 59162, 3, "", 0, 3600);
    ASSERT_EQ(Standin_WaitIdle(TestTimeLimit(3000)), 1);
    ASSERT_GE(Seen(), 3u);
    EXPECT_EQ(I32(g_records[2], 4), 4321) << "ASKER reports the number it was given";
    QLC_EnableLANTool(0, 0, 0, OnPush);
    QLC_StopLANSerchServer();
}

// A stop must not return while its callback still runs: the program deletes the lock it takes.
HANDLE g_entered;
volatile LONG g_finished;

int __cdecl SlowPush(LanToolRequest*) {
    SetEvent(g_entered);
    Sleep(200);
    InterlockedExchange(&g_finished, 1);
    return 1;
}

void __cdecl SlowSearch(LanSearchRecord) {
    SetEvent(g_entered);
    Sleep(200);
    InterlockedExchange(&g_finished, 1);
}

TEST(DeviceSdk, StoppingWaitsForTheRunningCallbackAndSilencesIt) {
    LoadQuietLine();
    g_entered = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    struct Case {
        const char* name;
        void (*start)();
        void (*raise)();
        void (*stop)();
    };
    const Case cases[] = {
        {"LAN tool", [] { QLC_EnableLANTool(1, 0, 0, SlowPush); },
         [] {
             LanToolRequest r = {};
             Standin_InjectNumberPush(&r);
         },
         [] { QLC_EnableLANTool(0, 0, 0, SlowPush); }},
        {"search server", [] { QLC_StartLANSerchServer(9450, 6666, SlowSearch, 1); },
         [] {
             LanSearchRecord r = {};
             Standin_InjectSearchAnswer(&r);
         },
         [] { QLC_StopLANSerchServer(); }},
    };
    for (const Case& c : cases) {
        ResetEvent(g_entered);
        g_finished = 0;
        c.start();
        c.raise();
        ASSERT_EQ(WaitForSingleObject(g_entered, TestTimeLimit(3000)), WAIT_OBJECT_0)
            << c.name << ": callback never ran";
        c.stop();
        EXPECT_EQ(g_finished, 1) << c.name << ": stop returned while the callback still ran";
        g_finished = 0;
        ResetEvent(g_entered);
        c.raise();
        ASSERT_EQ(Standin_WaitIdle(TestTimeLimit(2000)), 1);
        EXPECT_EQ(WaitForSingleObject(g_entered, 0), (DWORD)WAIT_TIMEOUT)
            << c.name << ": callback after stop";
    }
    CloseHandle(g_entered);
}

static DWORD WINAPI SetEventLater(void* event) {
    Sleep(200);
    SetEvent((HANDLE)event);
    return 0;
}

// A held delivery has its callback chosen: the program is not called until the release, and a stop of
// the server meanwhile waits for it and then lets it through. Only the next delivery is held.
TEST(DeviceSdk, HeldDeliveryCountsAsRunningUntilReleased) {
    LoadQuietLine();
    ResetSeen();
    int port = 0;
    for (int p = 9500; p < 9600 && !port; ++p)
        if (QLC_StartBroadcastServer(p, 9106, OnBroadcast)) port = p;
    ASSERT_NE(port, 0);
    HANDLE entered = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    Standin_HoldNextLanCallback(entered, release);
    BroadcastRecord rec = {};
    rec.nCloudNumber = 77;
    Standin_InjectBroadcast(&rec, 0);
    ASSERT_EQ(WaitForSingleObject(entered, TestTimeLimit(3000)), WAIT_OBJECT_0)
        << "the delivery was never held";
    Sleep(50);
    EXPECT_EQ(Seen(), 0u) << "the callback ran while held";
    EXPECT_EQ(Standin_WaitIdle(50), 0) << "a held delivery counts as idle";

    HANDLE releaser = CreateThread(nullptr, 0, SetEventLater, release, 0, nullptr);
    const DWORD start = GetTickCount();
    QLC_StopBroadcastServer();
    const DWORD took = GetTickCount() - start;
    EXPECT_GE(took, 150u) << "the stop did not wait for the held delivery";
    EXPECT_EQ(Seen(), 1u) << "the held callback was dropped instead of delivered";

    ResetEvent(entered);
    ASSERT_NE(QLC_StartBroadcastServer(port, 9106, OnBroadcast), 0);
    Standin_InjectBroadcast(&rec, 0);
    ASSERT_EQ(Standin_WaitIdle(TestTimeLimit(2000)), 1) << "a second delivery was held too";
    EXPECT_EQ(Seen(), 2u);
    EXPECT_EQ(WaitForSingleObject(entered, 0), (DWORD)WAIT_TIMEOUT);
    QLC_StopBroadcastServer();
    WaitForSingleObject(releaser, TestTimeLimit(3000));
    CloseHandle(releaser);
    CloseHandle(entered);
    CloseHandle(release);
}

TEST(DeviceSdk, LogHoldsEveryCallInOrderWithArgumentsAndThreads) {
    SetEnvironmentVariableA("LK_STANDIN_LOG", "calls.log");
    LoadQuietLine();
    char cb[16];
    snprintf(cb, sizeof cb, "0x%08lX", (unsigned long)(uintptr_t)&OnPush);
    QLC_InitSDK(9200, 0);
    QLC_SetLanguage(2);
    QLC_EnableLANTool(1, 0, 0, OnPush);
    int port = StartSearchServer();
    QLC_LANSerchDevice("", 0, 59162, 3, "", 0, 3600);
    Standin_WaitIdle(TestTimeLimit(3000));
    QLC_LANToolDevice("admin", "", 1000);
    QLC_DisConnect(1);
    QLC_EnableLANTool(0, 0, 0, OnPush);
    QLC_StopLANSerchServer();
    QLC_ReleaseSDK();

    char search[64];
    snprintf(search, sizeof search, "%d, 6666, 0x%08lX, 1", port, (unsigned long)(uintptr_t)&OnSearch);
    std::vector<StandinLogEntry> calls = Calls("QLC_");
    // The first start attempts hit taken ports: compare the order of distinct calls after them.
    std::vector<std::pair<std::string, std::string>> got;
    for (const StandinLogEntry& e : calls)
        if (strcmp(e.szFunction, "QLC_StartLANSerchServer") != 0 || strstr(e.szArgs, search) == e.szArgs)
            got.emplace_back(e.szFunction, e.szArgs);
    const std::pair<std::string, std::string> expected[] = {
        {"QLC_InitSDK", "9200, 0"},
        {"QLC_SetLanguage", "2"},
        {"QLC_EnableLANTool", std::string("1, 0, 0, ") + cb},
        {"QLC_StartLANSerchServer", search},
        {"QLC_LANSerchDevice", "\"\", 0, 59162, 3, \"\", 0, 3600"},
        {"QLC_LANToolDevice", "\"admin\", \"\", 1000"},
        {"QLC_DisConnect", "1"},
        {"QLC_EnableLANTool", std::string("0, 0, 0, ") + cb},
        {"QLC_StopLANSerchServer", ""},
        {"QLC_ReleaseSDK", ""},
    };
    ASSERT_EQ(got.size(), sizeof expected / sizeof expected[0]);
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].first, expected[i].first) << "call " << i;
        EXPECT_EQ(got[i].second, expected[i].second) << "call " << i << " " << expected[i].first;
    }

    unsigned last = 0;
    bool first = true;
    int events = 0;
    for (const StandinLogEntry& e : Log()) {
        EXPECT_TRUE(first || e.nSeq > last) << "sequence numbers must rise: " << e.nSeq << " after " << last;
        first = false;
        last = e.nSeq;
        if (e.nKind == STANDIN_CALL) {
            EXPECT_EQ(e.dwThreadId, GetCurrentThreadId()) << e.szFunction << " logged on another thread";
        }
        if (e.nKind == STANDIN_EVENT) {
            ++events;
            EXPECT_NE(e.dwThreadId, GetCurrentThreadId()) << e.szFunction << " raised on the caller's thread";
        }
    }
    EXPECT_EQ(events, 5) << "four search answers and the closing record";

    FILE* f = fopen("calls.log", "rb");
    ASSERT_NE(f, nullptr) << "LK_STANDIN_LOG file was not written";
    std::string text(1 << 16, '\0');
    text.resize(fread(&text[0], 1, text.size(), f));
    fclose(f);
    EXPECT_NE(text.find("\t0\tQLC_InitSDK\t9200, 0\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\t0\tQLC_LANToolDevice\t\"admin\", \"\", 1000\n"), std::string::npos) << text;
}

TEST(DeviceSdk, SendDataLogsThePacketAndKeepsIt) {
    LoadQuietLine();
    char packet[64] = {};
    const int header[5] = {0x46, 9, 0, 0, 0};
    memcpy(packet, header, sizeof header);
    strcpy(packet + 20, "ACTIVED=1;");
    EXPECT_EQ(QLC_SendData(3, 81, packet, 30), 30);
    EXPECT_EQ(QLC_SendData(3, 81, nullptr, 30), -1) << "no packet is an error, not a crash";
    std::vector<StandinLogEntry> calls = Calls("QLC_SendData");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_STREQ(calls[0].szArgs,
                 "3, 81, {kind=6,module=2,nType=9,nParam=0,nLength=0,data=\"ACTIVED=1;\"}, 30");
    char back[64] = {};
    ASSERT_EQ(Standin_GetLastSentPacket(back, sizeof back), 30);
    EXPECT_EQ(memcmp(back, packet, 30), 0);
}

TEST(DeviceSdk, DefaultScenarioLoadsABelievableLine) {
    char err[1024] = {};
    ASSERT_EQ(Standin_LoadScenario(nullptr, err, sizeof err), 1) << err;
    Standin_SetSpontaneous(0);
    Standin_SetZeroDelays(1);
    ResetSeen();
    StartSearchServer();
    QLC_LANSerchDevice("", 0, 59162, 3, "", 0, 3600);
    ASSERT_EQ(Standin_WaitIdle(TestTimeLimit(3000)), 1);
    int ipc = 0, dvr = 0, unnumbered = 0;
    for (size_t i = 0; i + 1 < g_records.size(); ++i) {
        ipc += I32(g_records[i], 8) == QLC_DEVTYPE_IPC;
        dvr += I32(g_records[i], 8) == QLC_DEVTYPE_DVR;
        unnumbered += I32(g_records[i], 4) <= 0;
    }
    EXPECT_GE(ipc, 4);
    EXPECT_EQ(dvr, 1);
    EXPECT_EQ(unnumbered, 1);
    QLC_StopLANSerchServer();
}

TEST(DeviceSdk, ScenarioProblemsNameSectionAndKeyAndSpareTheGoodCameras) {
    const char* good = "[C0]\nIP=10.0.0.1\nPort=8000\nType=59162\n";
    struct Case {
        const char* line;   // [Line] and [Sdk] body
        const char* camera; // section C1
        const char* error;
        size_t cameras;
    };
    const Case cases[] = {
        {"Cameras=C0,C1\n", "IP=10.0.0.2\nPort=80x0\nType=59162\n", "[C1] Port: \"80x0\" is not a number", 1},
        {"Cameras=C0,C1\n", "Port=8000\nType=59162\n", "[C1] IP: missing", 1},
        {"Cameras=C0,C1\n", "IP=10.0.0.300\nPort=8000\nType=59162\n", "[C1] IP: \"10.0.0.300\" is not", 1},
        {"Cameras=C0,C1\n", "IP=10.0.0.2\nPort=8000\n", "[C1] Type: missing", 1},
        {"Cameras=C0,C1\n", "IP=10.0.0.2\nPort=8000\nType=59162\nGuid={123}\n", "[C1] Guid: \"{123}\"", 1},
        {"Cameras=C0,C1\n", "IP=10.0.0.2\nPort=8000\nType=59162\nAskNumber=2\n",
         "[C1] AskNumber: must be 0 or 1", 1},
        {"Cameras=C0,C1\n", "IP=10.0.0.2\nPort=8000\nType=59162\nGroup=ABCD\n", "[C1] Group: must be 1 to 3",
         1},
        {"Cameras=C0,C1\n", "IP=10.0.0.2\nPort=8000\nType=59162\nAccessPoints=AP:x:1\n",
         "[C1] AccessPoints: \"AP:x:1\"", 2},
        {"Cameras=C0,C9\n", "IP=10.0.0.2\nPort=8000\nType=59162\n", "[C9] IP: missing (no section", 1},
        {"Cameras=C0\nSearchDelay=-5\n", "", "[Line] SearchDelay: must be 0 to 3600000", 1},
        {"Cameras=C0\n[Sdk]\nBusySearchPorts=9400,abc\n", "", "[Sdk] BusySearchPorts: \"abc\" is not a port",
         1},
    };
    for (const Case& c : cases) {
        std::string ini = std::string("[Line]\n") + c.line + good + "[C1]\n" + c.camera;
        std::string path = WriteFile("bad.ini", ini.c_str());
        char err[1024] = {};
        EXPECT_EQ(Standin_LoadScenario(path.c_str(), err, sizeof err), 0) << "accepted: " << ini;
        EXPECT_NE(strstr(err, c.error), nullptr) << "expected \"" << c.error << "\", got \"" << err << "\"";
        Standin_SetSpontaneous(0);
        Standin_SetZeroDelays(1);
        ResetSeen();
        StartSearchServer(9460);
        QLC_LANSerchDevice("", 0, 59162, 3, "", 0, 3600);
        ASSERT_EQ(Standin_WaitIdle(TestTimeLimit(3000)), 1);
        EXPECT_EQ(Seen(), c.cameras + 1) << "cameras loaded despite: " << c.error;
        QLC_StopLANSerchServer();
    }
    char err[256] = {};
    std::string empty = WriteFile("empty.ini", "[Sdk]\nPreviewInitFails=1\n");
    EXPECT_EQ(Standin_LoadScenario(empty.c_str(), err, sizeof err), 1) << "a line without cameras: " << err;
    EXPECT_EQ(Standin_LoadScenario("no-such.ini", err, sizeof err), 0);
    EXPECT_NE(strstr(err, "not found"), nullptr) << err;
}

} // namespace
