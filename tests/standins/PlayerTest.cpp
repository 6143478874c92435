// The player stand-in: connections with their state callbacks, the packets a connected camera posts,
// the version request, window selection, commands and the painted split view.
#include <malloc.h>

#include <algorithm>

#include "StandinTestSupport.h"

namespace {

using namespace sit;

struct StateReport {
    int window, state;
    DWORD thread;
    void* user;
};

std::mutex g_mu;
std::vector<StateReport> g_states;
std::vector<std::string> g_versions;
DWORD g_versionThread;

void __cdecl OnState(void* user, _ST_ChnInfo* chn, ConnectState state) {
    std::lock_guard<std::mutex> l(g_mu);
    g_states.push_back({chn->nWindow, (int)state, GetCurrentThreadId(), user});
}

void __cdecl OnVersion(void*, _DEVICE_VERSION* v) {
    std::lock_guard<std::mutex> l(g_mu);
    g_versions.push_back(v->szVersion);
    g_versionThread = GetCurrentThreadId();
}

void __cdecl Nothing(void*) {}

// One empty function serves every slot the test does not watch; cdecl lets the caller clean up
// whatever it pushed. Casting through void (*)(void) states that the mismatch is meant.
template <class F> F Empty() {
    return reinterpret_cast<F>(reinterpret_cast<void (*)(void)>(Nothing));
}

std::vector<int> StatesOf(int window) {
    std::lock_guard<std::mutex> l(g_mu);
    std::vector<int> s;
    for (const StateReport& r : g_states)
        if (r.window == window) s.push_back(r.state);
    return s;
}

_ST_ChnInfo Chn(const char* ip, int port, int window) {
    _ST_ChnInfo c = {};
    strcpy(c.szIP, ip);
    c.nPort = port;
    snprintf(c.szCloudNumber, sizeof c.szCloudNumber, "A%d", window);
    strcpy(c.szUser, "admin");
    c.nChannel = 1;
    c.nWindow = window;
    return c;
}

class Player : public ::testing::Test {
protected:
    void SetUp() override {
        LoadQuietLine();
        {
            std::lock_guard<std::mutex> l(g_mu);
            g_states.clear();
            g_versions.clear();
        }
        player_.RegisterCallback(this, OnState, Empty<PFN_ChnTraffic>(), Empty<PFN_Message>(),
                                 Empty<PFN_RemoteVideo>(), Empty<PFN_VideoStats>(), Empty<PFN_DownloadRate>(),
                                 Empty<PFN_WindowEvent>(), Empty<PFN_Notice>(), Empty<PFN_PtzInfo>(),
                                 OnVersion, Empty<PFN_ChnText>(), Empty<PFN_ChnText>(), Empty<PFN_ChnEvent>(),
                                 Empty<PFN_ChnEvent>(), Empty<PFN_ChnText>(), Empty<PFN_ChnText>());
        Player_Init(main_.video);
        RECT r = {0, 0, 400, 300};
        player_.SetDisplayRect(main_.hwnd, &r);
    }

    void Connect(const char* ip, int port, int window) {
        _ST_ChnInfo c = Chn(ip, port, window);
        player_.Connect(c, nullptr, 0, 1, 0);
    }

    bool Settle(size_t packets = 0) {
        return PumpUntil([&] { return Standin_WaitIdle(0) && main_.packets.size() >= packets; });
    }

    MainWindow main_;
    CTellurio player_;
};

TEST_F(Player, ConnectReportsConnectingThenTheOutcomeFromItsOwnThread) {
    struct Case {
        const char* ip;
        int port, window, outcome;
    };
    const Case cases[] = {
        {"10.0.0.11", 8000, 1, CONNECT_STATE_CONNECTED},
        {"10.0.0.14", 8000, 2, CONNECT_STATE_FAILED}, // marked as failing in the scenario
        {"10.0.0.99", 8000, 3, CONNECT_STATE_FAILED}, // nobody at that address
        {"10.0.0.12", 9999, 4, CONNECT_STATE_FAILED}, // wrong port
    };
    for (const Case& c : cases)
        Connect(c.ip, c.port, c.window);
    ASSERT_TRUE(Settle());
    for (const Case& c : cases) {
        std::vector<int> want = {CONNECT_STATE_CONNECTING, c.outcome};
        EXPECT_EQ(StatesOf(c.window), want) << c.ip << ":" << c.port;
        EXPECT_EQ(player_.GetConnectState(c.window), c.outcome) << c.ip;
    }
    std::lock_guard<std::mutex> l(g_mu);
    for (const StateReport& r : g_states) {
        EXPECT_NE(r.thread, GetCurrentThreadId()) << "state callback on the caller's thread";
        EXPECT_EQ(r.user, this) << "the user pointer comes first";
    }
}

TEST_F(Player, ConnectedCameraPostsItsPacketsAsMallocRecords) {
    Connect("10.0.0.11", 8000, 2);
    ASSERT_TRUE(Settle(4)) << "got " << main_.packets.size() << " packets, expected 4";
    for (const Packet& p : main_.packets) {
        EXPECT_EQ(p.channel, 2);
        EXPECT_EQ(p.dataType, 81);
        EXPECT_EQ((int)p.bytes.size(), 20 + p.Word(3)) << "length covers header and data";
    }
    const Packet& info = main_.packets[0];
    EXPECT_EQ(info.Kind(), 5u);
    EXPECT_NE(info.SubKind(), 0u);
    EXPECT_NE(info.SubKind(), 7u);
    EXPECT_EQ(info.Text(4 + info.Word(1)), "ProductType=PT-1;Version=V5.2.0_210318;ORVGROUP=65;");
    const Packet& adc = main_.packets[1];
    EXPECT_EQ(adc.Kind(), 6u);
    EXPECT_EQ(adc.Module(), 8u);
    EXPECT_EQ(adc.Word(1), 5);
    EXPECT_EQ(adc.Text(20), "adcHValue=812;adcLValue=120;adcRValue=455;");
    const Packet& wifi = main_.packets[2];
    EXPECT_EQ(wifi.Module(), 2u);
    EXPECT_EQ(wifi.Word(1), 8);
    EXPECT_EQ(wifi.Text(20), "WIFI_ID=AP-ONE;WIFI_PW=pw1;WIFI_Q=78;ACTIVED=1;");
    const Packet& list = main_.packets[3];
    EXPECT_EQ(list.Word(1), 3);
    EXPECT_EQ(list.Word(3), 3 * 112);
    EXPECT_STREQ(list.bytes.data() + 20, "AP-ONE");
    EXPECT_STREQ(list.bytes.data() + 20 + 112, "AP-TWO");

    EXPECT_NE(std::find(main_.notices.begin(), main_.notices.end(), (UINT)TELLURIO_WM_INFOPACKET),
              main_.notices.end())
        << "no 0x6401 after the connection";
    EXPECT_NE(std::find(main_.notices.begin(), main_.notices.end(), (UINT)TELLURIO_WM_PREVIEW_SHOW),
              main_.notices.end())
        << "no 0x465 after Player_Init";
    ASSERT_FALSE(main_.refits.empty()) << "no 0x6410 to the display window";
    EXPECT_EQ(main_.refits.back(), 0u)
        << "0x6410 carries no rectangle: the window fits to its own client area";
}

// The window procedure above frees with this module's free; the block must be this CRT's.
TEST_F(Player, PostedRecordIsOneBlockOfTheSharedRuntimeHeap) {
    const char packet[24] = {6, 0, 0, 0, 8};
    Standin_InjectPacket(3, packet, sizeof packet);
    MSG msg = {};
    // Taken off the queue by hand: the window procedure would free it first.
    ASSERT_EQ(Standin_WaitIdle(TestTimeLimit(3000)), 1);
    ASSERT_TRUE(PeekMessageA(&msg, main_.hwnd, 0x6400, 0x6400, PM_REMOVE)) << "no 0x6400 posted";
    auto* rec = (TellurioPacketRecord*)msg.lParam;
    EXPECT_EQ(rec->nChannel, 3);
    EXPECT_EQ(rec->nLength, 24);
    EXPECT_EQ(rec->pData, (char*)(rec + 1)) << "packet bytes follow the record in the same block";
    EXPECT_EQ(memcmp(rec->pData, packet, sizeof packet), 0);
    EXPECT_GE(_msize(rec), sizeof *rec + sizeof packet) << "not a block of this module's malloc";
    free(rec);
    // Packets shorter than a header are posted as they are, nothing read beyond them.
    for (int length : {3, 0}) {
        Standin_InjectPacket(3, packet, length);
        ASSERT_EQ(Standin_WaitIdle(TestTimeLimit(3000)), 1);
        ASSERT_TRUE(PeekMessageA(&msg, main_.hwnd, 0x6400, 0x6400, PM_REMOVE))
            << length << " bytes: none posted";
        rec = (TellurioPacketRecord*)msg.lParam;
        EXPECT_EQ(rec->nLength, length);
        free(rec);
    }
}

TEST_F(Player, VersionIsEmptyWhilePendingThenTheCamerasOwn) {
    EXPECT_EQ(player_.GetverSion(), nullptr) << "nothing asked yet";
    player_.RequestVersion(3); // nobody connected there: stays pending
    ASSERT_TRUE(Settle());
    ASSERT_NE(player_.GetverSion(), nullptr);
    EXPECT_STREQ(player_.GetverSion(), "");

    Connect("10.0.0.11", 8000, 1);
    ASSERT_TRUE(Settle());
    player_.RequestVersion(1);
    ASSERT_TRUE(Settle());
    EXPECT_STREQ(player_.GetverSion(), "V5.2.0_210318");
    std::lock_guard<std::mutex> l(g_mu);
    ASSERT_EQ(g_versions.size(), 1u);
    EXPECT_EQ(g_versions[0], "V5.2.0_210318");
    EXPECT_NE(g_versionThread, GetCurrentThreadId());
}

TEST_F(Player, LeftClickSelectsTheWindowUnderThePointAndCommandsActOnIt) {
    struct Click {
        POINT pt;
        int window;
    };
    const Click clicks[] = {{{10, 10}, 1}, {{399, 0}, 2}, {{0, 299}, 3}, {{200, 150}, 4}, {{500, 10}, 4}};
    for (const Click& c : clicks) {
        POINT pt = c.pt;
        player_.MouseEvent(MOUSE_LBUTTONDOWN, pt);
        EXPECT_EQ(player_.GetSelectedIndex(nullptr), c.window) << "click at " << c.pt.x << "," << c.pt.y;
    }
    Connect("10.0.0.11", 8000, 1);
    Connect("10.0.0.12", 8001, 4);
    ASSERT_TRUE(Settle(7)); // CAM2 reports no access points
    main_.packets.clear();

    player_.CleanChnInfo(0); // window 4 is selected
    ASSERT_TRUE(Settle());
    EXPECT_EQ(player_.GetConnectState(4), CONNECT_STATE_NONE);
    EXPECT_EQ(player_.GetConnectState(1), CONNECT_STATE_CONNECTED) << "only the selected window is cleaned";
    EXPECT_EQ(StatesOf(4).back(), CONNECT_STATE_NONE);

    POINT first = {10, 10};
    player_.MouseEvent(MOUSE_LBUTTONDOWN, first);
    player_.SearchNetWork(0);
    player_.RemoteConfig(0);
    ASSERT_TRUE(Settle(2));
    const Packet& scan = main_.packets[0];
    EXPECT_EQ(scan.channel, 1);
    EXPECT_EQ(scan.Word(1), 14);
    EXPECT_EQ(scan.Word(2), 3) << "nParam counts the access points";
    EXPECT_EQ(scan.Word(3), 3 * 112);
    const Packet& ptz = main_.packets[1];
    EXPECT_EQ(ptz.Kind(), 5u);
    EXPECT_EQ(ptz.SubKind(), 7u);
    EXPECT_EQ(ptz.Text(20 + ptz.Word(1)), "PTZ_PROTOCOL=PELCO-D;PTZ_ADDR=1;PTZ_SPEED=128;");

    int mode = 2;
    player_.ChangeIpcMode(mode, 0);
    player_.DisconnectAll(1);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(player_.GetConnectState(1), CONNECT_STATE_NONE);
    std::vector<StandinLogEntry> calls = Calls("CTellurio::ChangeIpcMode");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_STREQ(calls[0].szArgs, "2, 0");
}

TEST_F(Player, PaintDrawsTheSplitViewWithTheSelectedWindowFramed) {
    Connect("10.0.0.11", 8000, 1);
    ASSERT_TRUE(Settle());
    POINT second = {300, 10};
    player_.MouseEvent(MOUSE_LBUTTONDOWN, second);

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 400, 300);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT all = {0, 0, 400, 300};
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    player_.Paint(dc);

    auto dark = [&](int x, int y) {
        COLORREF c = GetPixel(dc, x, y);
        return GetRValue(c) < 48 && GetGValue(c) < 48 && GetBValue(c) < 48;
    };
    int bright = 0;
    for (int x = 0; x < 200; x += 5)
        bright += !dark(x, 120);
    EXPECT_GT(bright, 20) << "the connected window shows no test pattern";
    EXPECT_TRUE(dark(100, 225)) << "free window 3 is not dark";
    EXPECT_TRUE(dark(300, 225)) << "free window 4 is not dark";
    EXPECT_EQ(GetPixel(dc, 200, 75), RGB(255, 200, 0)) << "selected window 2 is not framed";
    EXPECT_NE(GetPixel(dc, 0, 225), RGB(255, 200, 0)) << "an unselected window is framed";

    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
}

TEST(PlayerLifetime, NoCallbackAfterTheObjectIsGone) {
    std::string line = kLine;
    line.replace(line.find("ConnectDelay=0"), 14, "ConnectDelay=150");
    LoadQuietLine(line.c_str());
    Standin_SetZeroDelays(0);
    {
        std::lock_guard<std::mutex> l(g_mu);
        g_states.clear();
    }
    MainWindow main;
    {
        CTellurio player;
        player.RegisterCallback(nullptr, OnState, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                nullptr);
        Player_Init(main.video);
        _ST_ChnInfo c = Chn("10.0.0.11", 8000, 1);
        player.Connect(c, nullptr, 0, 1, 0);
    }
    PumpUntil([] { return false; }, 300);
    for (int s : StatesOf(1))
        EXPECT_NE(s, CONNECT_STATE_CONNECTED) << "connected report after the player was destroyed";
}

} // namespace
