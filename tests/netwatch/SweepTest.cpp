// The ICMP sweep over a raw socket, inside the private network namespace of scripts/test: there
// 10.77.0.150 is an address of the namespace's own loopback (it answers), and the rest of
// 10.77.0.0/24 is routed into a veth pair where nobody answers.
#include <winsock2.h>

#include "NetwatchTestSupport.h"
#include "TestTime.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

namespace {

uint32_t Ip(const char* dotted) {
    return inet_addr(dotted);
}

std::string Dotted(uint32_t a) {
    in_addr in;
    in.s_addr = a;
    return inet_ntoa(in);
}

struct Winsock {
    Winsock() { WSAStartup(MAKEWORD(2, 2), &data); }
    ~Winsock() { WSACleanup(); }
    WSADATA data;
};

// Sends one ICMP message of the given type and identifier to dest from a raw socket of its own, padded
// to size bytes.
void SendIcmp(const char* dest, uint8_t type, uint16_t identifier, uint16_t sequence, uint32_t sendTime,
              size_t size = kEchoRequestSize) {
    SOCKET t = socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
    ASSERT_NE(INVALID_SOCKET, t) << "raw socket: " << WSAGetLastError();
    std::vector<uint8_t> p(size, 0);
    BuildEchoRequest(p.data(), identifier, sequence, sendTime);
    p[0] = type;
    p[2] = p[3] = 0;
    uint16_t sum = InternetChecksum(static_cast<int>(p.size()), p.data());
    std::memcpy(p.data() + 2, &sum, 2);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = inet_addr(dest);
    ASSERT_EQ(int(p.size()), sendto(t, reinterpret_cast<const char*>(p.data()), static_cast<int>(p.size()), 0,
                                    reinterpret_cast<sockaddr*>(&to), sizeof to));
    closesocket(t);
}

// The inventory reads a host of the test's own with this one adapter, and selects it.
void OnlyAdapter(const char* ip, const char* mask) {
    Host() = FakeHost{};
    Host().adapters = {{"{1}", "LAN", "veth", {1, 2, 3, 4, 5, 6}, 0, ip, mask, ""}};
    g_SystemInfo.SetHostNetApi(FakeHostApi());
    g_SystemInfo.Step();
}

} // namespace

TEST(NetwatchSweep, TheAnsweringHostIsLeftOutOfThePool) {
    CaptureTraces();
    struct Case {
        const char* ip;
        int max, count;
        const char *first, *last;
    } cases[] = {
        {"10.77.0.23", 255, 153, "10.77.0.101", "10.77.0.254"},
        {"10.77.0.150", 50, 50, "10.77.0.101", "10.77.0.151"},
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> out(kFreePoolSize, 0);
        DWORD t0 = GetTickCount();
        int n = FindFreeAddresses(c.ip, 1000, out.data(), c.max);
        DWORD took = GetTickCount() - t0;
        ASSERT_EQ(c.count, n) << c.ip << JoinedTraces();
        EXPECT_EQ(c.first, Dotted(out[0])) << c.ip;
        EXPECT_EQ(c.last, Dotted(out[n - 1])) << c.ip;
        for (int i = 0; i < n; ++i) {
            EXPECT_NE(Ip("10.77.0.150"), out[i]) << c.ip << ": the answering host is in the pool at " << i;
            if (i) {
                EXPECT_LT(ntohl(out[i - 1]), ntohl(out[i])) << c.ip << ": not ascending at " << i;
            }
        }
        // The last collection ends after a full second without any packet.
        EXPECT_GE(took, 1000u) << c.ip;
    }
    EXPECT_EQ(2 * kSweepCount, [] {
        int sends = 0;
        for (const std::string& t : Traces())
            sends += t.compare(0, 13, "after send : ") == 0;
        return sends;
    }());
    EXPECT_TRUE(HasTraceStartingWith("从 10.77.0.150 返回 32 字节")) << JoinedTraces();
    // The raw socket also sees its own request to the local address.
    EXPECT_TRUE(HasTraceStartingWith(" nonecho type 8 recvd /n")) << JoinedTraces();
}

TEST(NetwatchSweep, AStoppedSweepSendsNothing) {
    CaptureTraces();
    HANDLE stop = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    uint32_t candidates[kSweepCount];
    int replied[kSweepCount];
    BuildSweepCandidates(Ip("10.77.0.23"), candidates);
    EXPECT_EQ(-1, PingSweep(candidates, kSweepCount, 1000, replied, stop));
    EXPECT_FALSE(HasTraceStartingWith("after send : ")) << JoinedTraces();
    CloseHandle(stop);
}

TEST(NetwatchSweep, AStopWhileTheSendsWaitForRoomEndsTheSweepAndTheNextStartSweepsAgain) {
    CaptureTraces();
    OnlyAdapter("10.77.0.23", "255.255.255.0");

    // Here the requests to the silent addresses fill the send buffer after about 120 of them, and the
    // sends wait some 3 s for the neighbour look-ups to give up.
    ASSERT_EQ(1, g_IPServer.Start());
    ASSERT_TRUE(WaitForTrace("after send : 100\n", 1, 5000)) << JoinedTraces();
    Sleep(800);
    ASSERT_EQ(0, CountTraces("after send : 153\n")) << "the sends never waited for room: nothing to stop";
    DWORD t0 = GetTickCount();
    g_IPServer.Stop();
    DWORD took = GetTickCount() - t0;
    EXPECT_LT(took, TestTimeLimit(200)) << "Stop took " << took << " ms";
    EXPECT_EQ(1, CountTraces("initIPList, freecnt:-1\n")) << JoinedTraces();
    EXPECT_EQ(-1, g_IPServer.FreeCount());

    // The same address, swept in full this time.
    ASSERT_EQ(1, g_IPServer.Start());
    EXPECT_TRUE(WaitForTrace("initIPList, freecnt:153\n", 1, 15000)) << JoinedTraces();
    g_IPServer.Stop();
    EXPECT_EQ(153, g_IPServer.FreeCount());
}

TEST(NetwatchSweep, OnlyOurRepliesFromCandidatesCount) {
    CaptureTraces();
    Winsock ws;
    SOCKET s = socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
    ASSERT_NE(INVALID_SOCKET, s) << "raw socket: " << WSAGetLastError();
    uint16_t ours = static_cast<uint16_t>(GetCurrentProcessId());
    const uint32_t candidates[] = {Ip("10.77.0.150"), Ip("10.77.0.151")};
    int replied[2] = {0, 0};

    SendIcmp("127.0.0.1", 0, ours, 1, GetTickCount()); // ours, but not from a candidate
    SendIcmp("10.77.0.150", 0, static_cast<uint16_t>(ours + 1), 2, GetTickCount()); // another process's
    SendIcmp("10.77.0.150", 3, ours, 3, GetTickCount());                            // destination unreachable
    ASSERT_EQ(0, ReceiveEchoReplies(300, s, candidates, 2, replied, ours));
    EXPECT_EQ(0, replied[0]) << JoinedTraces();
    EXPECT_EQ(0, replied[1]);
    EXPECT_TRUE(HasTraceStartingWith("从 127.0.0.1 返回 32 字节, 数据包序列号 = 1, ")) << JoinedTraces();
    EXPECT_GE(CountTraces(" someone else's packet! /n"), 1) << JoinedTraces();
    EXPECT_GE(CountTraces(" nonecho type 3 recvd /n"), 1) << JoinedTraces();
    EXPECT_EQ(1, CountTraces("No data within five seconds.\n"));

    // Our reply from a candidate, sent 40 ms "after" its request: the delay is receive minus send time.
    // Before it, a packet too large for the receive buffer, which must not end the collection.
    SendIcmp("10.77.0.150", 0, static_cast<uint16_t>(ours + 1), 6, GetTickCount(), 1400);
    SendIcmp("10.77.0.150", 0, ours, 7, GetTickCount() - 40);
    ASSERT_EQ(0, ReceiveEchoReplies(300, s, candidates, 2, replied, ours));
    EXPECT_EQ(1, replied[0]);
    EXPECT_EQ(0, replied[1]);
    bool delayOk = false;
    for (const std::string& t : Traces()) {
        const std::string head = "从 10.77.0.150 返回 32 字节, 数据包序列号 = 7, 延时大小: ";
        if (t.compare(0, head.size(), head) == 0) {
            unsigned ms = static_cast<unsigned>(strtoul(t.c_str() + head.size(), nullptr, 10));
            delayOk = ms >= 40 && ms < 1000;
        }
    }
    EXPECT_TRUE(delayOk) << JoinedTraces();
    closesocket(s);

    // A wait that fails (here on a socket that is gone) tells nothing of who answered: the sweep fails.
    EXPECT_EQ(-1, ReceiveEchoReplies(300, s, candidates, 2, replied, ours));
}

TEST(NetwatchSweep, TheFinderSweepsWhenTheSelectedAddressChangesAndOnlyThen) {
    CaptureTraces();
    OnlyAdapter("0.0.0.0", "0.0.0.0");
    unsigned step = 0;

    // No address yet: no sweep, and the finder looks again at every step while its pool is empty.
    g_IPServer.Step(step);
    EXPECT_EQ(0, CountTraces("initIPList, freecnt:153\n"));
    EXPECT_EQ(0, g_IPServer.FreeCount());
    EXPECT_TRUE(g_IPServer.RefreshPending()) << "step 0 asks for the next look";

    Host().adapters[0].ip = "10.77.0.23";
    Host().adapters[0].mask = "255.255.255.0";
    g_SystemInfo.RequestRefresh();
    g_SystemInfo.Step();
    g_IPServer.Step(step);
    ASSERT_EQ(153, g_IPServer.FreeCount()) << JoinedTraces();
    EXPECT_EQ(1, CountTraces("initIPList, freecnt:153\n"));
    EXPECT_EQ(1, CountTraces("freeip:10.77.0.101\n"));
    EXPECT_EQ(0, CountTraces("freeip:10.77.0.150\n"));
    char local[16];
    g_IPServer.GetLocalIp(local);
    EXPECT_STREQ("10.77.0.23", local);
    std::vector<uint32_t> marks = g_IPServer.Marks();
    for (int i = 0; i < kFreePoolSize; ++i)
        EXPECT_EQ(i < 153, marks[i] == 0) << "mark " << i << " is " << marks[i];

    // An address-change request with the address unchanged sweeps nothing.
    g_IPServer.RequestRefresh();
    g_IPServer.Step(step);
    EXPECT_FALSE(g_IPServer.RefreshPending());
    EXPECT_EQ(1, CountTraces("initIPList, freecnt:153\n"));

    // Every 60 steps the finder looks again on its own.
    step = 60;
    g_IPServer.Step(step);
    EXPECT_TRUE(g_IPServer.RefreshPending());
    EXPECT_EQ(61u, step);

    // A new address: a new sweep for its /24. While it runs, the address changes again (DHCP replacing
    // an address of its own choosing, say) and the listener tells both workers.
    Host().adapters[0].ip = "10.77.0.160";
    g_SystemInfo.RequestRefresh();
    g_SystemInfo.Step();
    std::thread sweep([&step] { g_IPServer.Step(step); });
    bool sweeping = WaitForTrace("after send : 50\n", 2, 5000);
    Host().adapters[0].ip = "10.77.0.170";
    g_SystemInfo.RequestRefresh();
    g_IPServer.RequestRefresh();
    sweep.join();
    ASSERT_TRUE(sweeping) << JoinedTraces();
    EXPECT_EQ(2, CountTraces("initIPList, freecnt:153\n")) << JoinedTraces();
    g_IPServer.GetLocalIp(local);
    EXPECT_STREQ("10.77.0.160", local);

    // The change is swept right after, also when the finder looks before the inventory has read the
    // adapters again.
    g_IPServer.Step(step);
    EXPECT_EQ(2, CountTraces("initIPList, freecnt:153\n")) << JoinedTraces();
    g_SystemInfo.Step();
    g_IPServer.Step(step);
    EXPECT_EQ(3, CountTraces("initIPList, freecnt:153\n")) << JoinedTraces();
    g_IPServer.GetLocalIp(local);
    EXPECT_STREQ("10.77.0.170", local);
}
