// Echo packets, sweep candidates, the pool, adapter records and netsh command lines.
#include "AdapterRecord.h"
#include "IcmpEcho.h"
#include "NetTrace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The checksum as it lies in the packet: the two bytes in memory order.
std::vector<uint8_t> ChecksumBytes(const std::vector<uint8_t>& data) {
    uint16_t v = InternetChecksum(static_cast<int>(data.size()), data.data());
    uint8_t b[2];
    std::memcpy(b, &v, 2);
    return {b[0], b[1]};
}

// The standard network-order sum a receiver computes: 0 over a packet whose checksum is right.
uint16_t NetworkOrderCheck(const uint8_t* p, int n) {
    uint32_t sum = 0;
    for (int i = 0; i + 1 < n; i += 2)
        sum += (p[i] << 8) | p[i + 1];
    if (n & 1) sum += p[n - 1] << 8;
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<uint16_t>(~sum);
}

uint32_t Addr(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    uint8_t bytes[4] = {a, b, c, d};
    uint32_t v;
    std::memcpy(&v, bytes, 4);
    return v;
}

} // namespace

TEST(NetwatchChecksum, MatchesTheStandardSumWhateverTheLength) {
    struct Case {
        const char* what;
        std::vector<uint8_t> data;
        std::vector<uint8_t> expected;
    } cases[] = {
        {"RFC 1071 example", {0x00, 0x01, 0xF2, 0x03, 0xF4, 0xF5, 0xF6, 0xF7}, {0x22, 0x0D}},
        {"nothing", {}, {0xFF, 0xFF}},
        {"one odd byte counts as the high byte of a padded word", {0x01}, {0xFE, 0xFF}},
        {"odd length", {0x12, 0x34, 0x56}, {0x97, 0xCB}},
        {"one carry folded", {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x02}, {0xFF, 0xFD}},
        {"carry fold that carries again", {0xFF, 0xFF, 0xFF, 0xFF}, {0x00, 0x00}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChecksumBytes(c.data), c.expected) << c.what;
    }
}

TEST(NetwatchEchoRequest, LaysOutTheTwelveBytesLittleEndianWithAValidChecksum) {
    struct Case {
        uint16_t id, seq;
        uint32_t time;
    } cases[] = {{0x1234, 0xABCD, 0x11223344}, {0, 0, 0}, {0xFFFF, 0xFFFF, 0xFFFFFFFF}, {0x0102, 1, 999}};
    for (const Case& c : cases) {
        uint8_t p[kEchoRequestSize];
        std::memset(p, 0xEE, sizeof p);
        BuildEchoRequest(p, c.id, c.seq, c.time);
        const uint8_t expect[] = {8,
                                  0,
                                  p[2],
                                  p[3], // checked below
                                  uint8_t(c.id),
                                  uint8_t(c.id >> 8),
                                  uint8_t(c.seq),
                                  uint8_t(c.seq >> 8),
                                  uint8_t(c.time),
                                  uint8_t(c.time >> 8),
                                  uint8_t(c.time >> 16),
                                  uint8_t(c.time >> 24)};
        EXPECT_EQ(0, std::memcmp(p, expect, sizeof p)) << "id " << c.id << " seq " << c.seq;
        EXPECT_EQ(0, NetworkOrderCheck(p, sizeof p)) << "a receiver's check of the packet, id " << c.id;
        EXPECT_EQ(0, InternetChecksum(sizeof p, p)) << "our own check, id " << c.id;
    }
}

TEST(NetwatchEchoReply, ReadsTheFieldsAfterTheHeaderLengthAndOnlyWhatArrived) {
    // The buffer still holds an earlier full reply of ours: a short packet must not borrow from it.
    // The ICMP fields start after the header length, 20 bytes, or 24 with 4 bytes of options.
    auto reply = [](int headerWords) {
        std::vector<uint8_t> p(kReplyBufferSize, 0);
        const int icmp = headerWords * 4;
        p[0] = static_cast<uint8_t>(0x40 | headerWords);
        p[20] = 0x94;                           // an option's first byte where a fixed reader sees the type
        p[icmp + 4] = 0x34, p[icmp + 5] = 0x12; // identifier 0x1234
        p[icmp + 6] = 0x05, p[icmp + 7] = 0x00; // sequence 5
        p[icmp + 8] = 0xE8, p[icmp + 9] = 0x03; // send time 1000
        p[icmp] = 0;                            // echo reply
        return p;
    };
    struct Case {
        int headerWords;
        size_t length;
        bool ours;
    } cases[] = {
        {5, 32, true},  {5, 1024, true}, {5, 31, false}, {5, 28, false}, {5, 27, false},
        {5, 26, false}, {5, 20, false},  {5, 16, false}, {5, 0, false},  {6, 36, true},
        {6, 35, false}, {6, 32, false},  {4, 32, false}, {15, 80, true}, {15, 71, false},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> p = reply(c.headerWords);
        EchoReplyView v = ReadEchoReply(p.data(), c.length);
        EXPECT_EQ(c.ours, IsOurEchoReply(v, 0x1234))
            << "header " << c.headerWords * 4 << ", length " << c.length;
        EXPECT_EQ(c.ours, v.complete) << "header " << c.headerWords * 4 << ", length " << c.length;
        if (c.ours) {
            EXPECT_EQ(5, v.sequence);
            EXPECT_EQ(1000u, v.sendTimeMs);
        }
    }
    std::vector<uint8_t> p = reply(5);
    EXPECT_FALSE(IsOurEchoReply(ReadEchoReply(p.data(), 32), 0x1235)) << "another process's identifier";
    p[20] = 3;
    EXPECT_FALSE(IsOurEchoReply(ReadEchoReply(p.data(), 32), 0x1234)) << "destination unreachable";
    p[20] = 8;
    EXPECT_FALSE(IsOurEchoReply(ReadEchoReply(p.data(), 32), 0x1234))
        << "our own request seen by the raw socket";
    p[20] = 0;
    p[0] = 0x65;
    EXPECT_FALSE(ReadEchoReply(p.data(), 32).complete) << "not IPv4";
}

namespace {

// A raw socket on a clock of its own: each packet arrives at its time (ms); error non-zero makes the
// receive fail with that code instead, kWaitFails the wait for it.
class ScriptedSocket : public EchoSocket {
public:
    struct Arrival {
        uint32_t atMs;
        std::vector<uint8_t> bytes;
        uint32_t from;
        int error;
    };
    static constexpr int kWaitFails = -1;
    std::vector<Arrival> arrivals;
    size_t next = 0;
    uint32_t now = 0;
    uint32_t stopAtMs = UINT32_MAX; // Stop comes then, ending a wait early
    uint32_t roomAtMs = 0;          // the sends wait for room until then
    uint32_t receiveMs = 0;         // what reading one packet takes
    int sends = 0;
    bool WaitForRoom(uint32_t deadlineMs) override {
        const uint32_t until = std::max(now, roomAtMs), end = std::min(deadlineMs, stopAtMs);
        now = std::max(now, std::min(until, end));
        return until < end;
    }
    void Send(uint32_t, uint16_t) override { ++sends; }
    int Wait(int timeoutMs) override {
        bool arrives =
            next < arrivals.size() && arrivals[next].atMs <= now + static_cast<uint32_t>(timeoutMs);
        uint32_t until =
            arrives ? std::max(now, arrivals[next].atMs) : now + static_cast<uint32_t>(timeoutMs);
        if (stopAtMs < until) {
            now = stopAtMs;
            return 0;
        }
        now = until;
        if (arrives && arrivals[next].error == kWaitFails) return -1;
        return arrives ? 1 : 0;
    }
    int Receive(uint8_t* buffer, int size, uint32_t& from, int& error) override {
        const Arrival& a = arrivals[next++];
        now += receiveMs;
        if (a.error) {
            error = a.error;
            return -1;
        }
        std::memcpy(buffer, a.bytes.data(), std::min<size_t>(a.bytes.size(), size));
        from = a.from;
        return static_cast<int>(a.bytes.size());
    }
    uint32_t NowMs() override { return now; }
    bool Running() override { return now < stopAtMs; }
};

// An echo reply as the raw socket delivers it: a 20-byte IPv4 header, then the 12 bytes we sent.
std::vector<uint8_t> EchoReplyPacket(uint16_t identifier, uint16_t sequence) {
    std::vector<uint8_t> p(kIpHeaderSize, 0);
    p[0] = 0x45;
    uint8_t icmp[kEchoRequestSize];
    BuildEchoRequest(icmp, identifier, sequence, 0);
    icmp[0] = kIcmpEchoReply;
    p.insert(p.end(), icmp, icmp + sizeof icmp);
    return p;
}

// Another host's echo replies, one a millisecond from fromMs to toMs: with a millisecond to read each,
// one is always queued.
std::vector<ScriptedSocket::Arrival> Flood(uint32_t fromMs, uint32_t toMs) {
    std::vector<ScriptedSocket::Arrival> flood;
    for (uint32_t t = fromMs; t <= toMs; ++t)
        flood.push_back({t, EchoReplyPacket(0x7777, static_cast<uint16_t>(t)), Addr(10, 0, 0, 9), 0});
    return flood;
}

std::vector<std::string>& g_coreTraces = *new std::vector<std::string>;
void KeepTrace(const char* line) {
    g_coreTraces.push_back(line);
}

} // namespace

TEST(NetwatchCollection, SkipsWhatItCannotReadAndEndsByItsDeadline) {
    SetNetTraceSink(KeepTrace);
    const uint32_t a = Addr(10, 0, 0, 101), b = Addr(10, 0, 0, 102), c = Addr(10, 0, 0, 103);
    const uint32_t candidates[] = {a, b, c};
    const uint16_t ours = 0x4321;
    std::vector<uint8_t> shortOfOurs = EchoReplyPacket(ours, 1);
    shortOfOurs.resize(26);
    struct Case {
        const char* what;
        std::vector<ScriptedSocket::Arrival> arrivals;
        int result;
        std::vector<int> replied;
        uint32_t endsAtMs;
    } cases[] = {
        {"a packet too big for the buffer is skipped, the replies behind it count",
         {{100, {}, 0, kErrorMessageSize}, {200, EchoReplyPacket(ours, 2), b, 0}},
         0,
         {0, 1, 0},
         1200},
        {"a reply cut short counts as no answer", {{100, shortOfOurs, a, 0}}, 0, {0, 0, 0}, 1100},
        {"any other receive error fails the sweep",
         {{100, EchoReplyPacket(ours, 1), a, 0}, {300, {}, 0, 10054}},
         -1,
         {1, 0, 0},
         300},
        {"a timeout of the receive waits again",
         {{100, {}, 0, kErrorTimedOut}, {500, EchoReplyPacket(ours, 3), c, 0}},
         0,
         {0, 0, 1},
         1500},
        {"a failed wait fails the sweep: who had not answered may still be there",
         {{100, EchoReplyPacket(ours, 1), a, 0}, {300, {}, 0, ScriptedSocket::kWaitFails}},
         -1,
         {1, 0, 0},
         300},
    };
    // Someone else pings every 700 ms for 20 s: no quiet second ever comes, and the deadline itself
    // ends the collection, not the packet after it.
    Case steady{"steady foreign traffic", {}, 0, {1, 0, 0}, 6000};
    steady.arrivals.push_back({50, EchoReplyPacket(ours, 4), a, 0});
    for (uint32_t t = 700; t <= 20000; t += 700)
        steady.arrivals.push_back(
            {t, EchoReplyPacket(0x7777, static_cast<uint16_t>(t)), Addr(10, 0, 0, 9), 0});

    std::vector<Case> all(std::begin(cases), std::end(cases));
    all.push_back(steady);
    for (const Case& t : all) {
        g_coreTraces.clear();
        ScriptedSocket socket;
        socket.arrivals = t.arrivals;
        int replied[3] = {0, 0, 0};
        EXPECT_EQ(t.result, CollectEchoReplies(socket, 1000, 6000, candidates, 3, replied, ours)) << t.what;
        EXPECT_EQ(t.replied, std::vector<int>(replied, replied + 3)) << t.what;
        EXPECT_EQ(t.endsAtMs, socket.now) << t.what;
    }
    EXPECT_EQ(1u, std::count(g_coreTraces.begin(), g_coreTraces.end(),
                             std::string("从 10.0.0.101 返回 32 字节, 数据包序列号 = 4, 延时大小: 50 ms\n")));

    // Told to stop, before or during a wait: it leaves at once, and the sweep counts as not done.
    for (uint32_t stopAt : {0u, 700u}) {
        ScriptedSocket stopped;
        stopped.stopAtMs = stopAt;
        stopped.arrivals = {{0, EchoReplyPacket(ours, 5), a, 0}};
        int replied[3] = {0, 0, 0};
        EXPECT_EQ(-1, CollectEchoReplies(stopped, 1000, 6000, candidates, 3, replied, ours))
            << "stop at " << stopAt;
        EXPECT_EQ(stopAt, stopped.now);
        EXPECT_EQ(stopAt ? 1u : 0u, stopped.next) << "packets read after a stop at " << stopAt;
    }
    int replied[3] = {0, 0, 0};

    // Between the sends, a collection takes what is queued, not what a flood keeps bringing.
    ScriptedSocket flooded;
    flooded.arrivals = Flood(0, 10000);
    flooded.receiveMs = 1;
    EXPECT_EQ(0, CollectEchoReplies(flooded, 0, 6000, candidates, 3, replied, ours));
    EXPECT_LE(flooded.now, 10u) << "a collection of what is queued read a flood for " << flooded.now << " ms";

    // Only a packet cut short is traced as such: one that is not IPv4 is nobody's reply.
    g_coreTraces.clear();
    ScriptedSocket cut;
    std::vector<uint8_t> notIpv4 = EchoReplyPacket(ours, 1);
    notIpv4[0] = 0x65;
    cut.arrivals = {{100, shortOfOurs, a, 0}, {200, notIpv4, b, 0}};
    CollectEchoReplies(cut, 1000, 6000, candidates, 3, replied, ours);
    EXPECT_EQ(
        std::vector<std::string>({" Too few bytes from 10.0.0.101 /n", "No data within five seconds.\n"}),
        g_coreTraces);
    EXPECT_EQ(std::vector<int>({0, 0, 0}), std::vector<int>(replied, replied + 3));
    SetNetTraceSink(nullptr);
}

TEST(NetwatchSweep, EndsByItsOneDeadlineAndFailsWhenItCannotTell) {
    SetNetTraceSink(KeepTrace);
    uint32_t candidates[kSweepCount];
    BuildSweepCandidates(Addr(10, 0, 0, 23), candidates);
    const uint16_t ours = 0x4321;
    struct Case {
        const char* what;
        std::vector<ScriptedSocket::Arrival> arrivals;
        uint32_t roomAtMs;
        int result, sends;
        uint32_t endsAtMs;
        int answered; // the candidate that answered, or -1
    } cases[] = {
        {"a quiet second after the last packet",
         {{40, EchoReplyPacket(ours, 1), candidates[2], 0}},
         0,
         0,
         kSweepCount,
         1041,
         2},
        {"a flood at the adapter: the deadline, with every request sent", Flood(0, 10000), 0, 0, kSweepCount,
         6000, -1},
        {"the sends wait for room past the deadline", {}, 7000, -1, 0, 6000, -1},
        {"the last collection's wait fails",
         {{500, {}, 0, ScriptedSocket::kWaitFails}},
         0,
         -1,
         kSweepCount,
         500,
         -1},
    };
    for (const Case& c : cases) {
        ScriptedSocket socket;
        socket.arrivals = c.arrivals;
        socket.roomAtMs = c.roomAtMs;
        socket.receiveMs = 1;
        int replied[kSweepCount];
        std::memset(replied, 0xAB, sizeof replied);
        EXPECT_EQ(c.result, SweepEchoReplies(socket, candidates, kSweepCount, 1000, replied, ours)) << c.what;
        EXPECT_EQ(c.sends, socket.sends) << c.what;
        EXPECT_EQ(c.endsAtMs, socket.now) << c.what;
        if (c.result == 0) {
            for (int i = 0; i < kSweepCount; ++i)
                ASSERT_EQ(i == c.answered, replied[i] == 1) << c.what << ": candidate " << i;
        }
    }
    SetNetTraceSink(nullptr);
}

TEST(NetwatchSweep, CandidatesAreDotHundredOneToTwoFiftyFourOfTheSameSlash24) {
    for (uint32_t local : {Addr(192, 168, 1, 23), Addr(192, 168, 1, 200), Addr(10, 1, 2, 3)}) {
        uint32_t out[kSweepCount];
        BuildSweepCandidates(local, out);
        uint8_t l[4];
        std::memcpy(l, &local, 4);
        for (int i = 0; i < kSweepCount; ++i) {
            uint8_t b[4];
            std::memcpy(b, &out[i], 4);
            ASSERT_TRUE(b[0] == l[0] && b[1] == l[1] && b[2] == l[2] && b[3] == 101 + i)
                << "candidate " << i << ": got " << int(b[0]) << "." << int(b[1]) << "." << int(b[2]) << "."
                << int(b[3]) << ", expected last octet " << 101 + i;
        }
    }
    EXPECT_EQ(154, kSweepCount);
}

TEST(NetwatchAdapters, MacTextAndRequestRules) {
    const uint8_t mac[8] = {0x00, 0x1a, 0x2B, 0xc4, 0xFF, 0x09, 0x77, 0x88};
    char text[20];
    std::memset(text, 'x', sizeof text);
    FormatMacText(mac, text);
    EXPECT_STREQ("00:1A:2B:C4:FF:09", text);

    struct Case {
        uint32_t dhcp;
        const char *ip, *mask, *gw;
        bool pending;
    } cases[] = {
        {0, "", "", "", false},
        {1, "", "", "", true},
        {0, "10.0.0.5", "", "", false},
        {0, "", "255.255.255.0", "", false},
        {0, "10.0.0.5", "255.255.255.0", "", true},
        {0, "", "", "10.0.0.1", true},
    };
    for (const Case& c : cases) {
        AdapterRecord r{};
        r.DhcpEnabled = c.dhcp;
        std::strcpy(r.szIp, c.ip);
        std::strcpy(r.szMask, c.mask);
        std::strcpy(r.szGateway, c.gw);
        EXPECT_EQ(c.pending, AddressRequestPending(r))
            << "dhcp " << c.dhcp << " ip '" << c.ip << "' mask '" << c.mask << "' gateway '" << c.gw << "'";
    }

    AdapterRecord r{};
    std::strcpy(r.szIp, "10.0.0.5");
    std::strcpy(r.szMask, "255.255.255.0");
    std::strcpy(r.szGateway, "10.0.0.1");
    EXPECT_TRUE(AddressRequestMatches(r, "10.0.0.5", "255.255.255.0", "10.0.0.1"));
    EXPECT_FALSE(AddressRequestMatches(r, "10.0.0.5", "255.255.255.0", ""));
    EXPECT_FALSE(AddressRequestMatches(r, "10.0.0.50", "255.255.255.0", "10.0.0.1"));
}

TEST(NetwatchAdapters, ATooSmallBufferIsAskedForAgainAFewTimes) {
    struct Case {
        const char* what;
        unsigned long need, growth, error;
        bool keepsGrowing, filled;
        int calls;
    } cases[] = {
        {"the first guess is enough", 600, 0, 0, false, true, 1},
        {"a second address needs more", 1300, 0, 0, false, true, 2},
        {"the list grows between calls", 1300, 700, 0, false, true, 3},
        {"it keeps growing", 1300, 700, 0, true, false, 4},
        {"another error", 0, 0, 232, false, false, 1},
    };
    for (const Case& c : cases) {
        int calls = 0;
        unsigned long need = c.need, growth = c.growth;
        void* b = FillGrowing(static_cast<unsigned long>(640), 4, [&](void* buffer, unsigned long* size) {
            ++calls;
            if (c.error) return c.error;
            if (*size < need) {
                *size = need;
                need += growth;
                if (!c.keepsGrowing) growth = 0;
                return kErrorBufferOverflow;
            }
            std::memset(buffer, 0xAB, need);
            return 0ul;
        });
        EXPECT_EQ(c.filled, b != nullptr) << c.what;
        EXPECT_EQ(c.calls, calls) << c.what;
        std::free(b);
    }
}

TEST(NetwatchNetsh, CommandLinesAreExactAndNeverCutOrBrokenOut) {
    char out[kCommandLineSize];
    struct Case {
        bool dns;
        int dhcp;
        std::string name;
        const char *ip, *mask, *gw;
        bool ok;
        const char* expected;
    } cases[] = {
        {false, 1, "Local Area Connection", "", "", "", true,
         "netsh interface ip set address name=\"Local Area Connection\" source=dhcp"},
        {false, 0, "LAN", "192.168.1.5", "255.255.255.0", "192.168.1.1", true,
         "netsh interface ip set address name=\"LAN\" source=static addr=192.168.1.5 mask=255.255.255.0 "
         "gateway=192.168.1.1 1"},
        {true, 1, "LAN", nullptr, nullptr, nullptr, true,
         "netsh interface ip set dns name=\"LAN\" source=dhcp"},
        {true, 0, "LAN", "8.8.4.4", nullptr, nullptr, true,
         "netsh interface ip set dns name=\"LAN\" source=static addr=8.8.4.4 register=primary"},
        // A name as long as the field holds does not fit in the line: no cut command runs.
        {false, 0, std::string(259, 'N'), "192.168.1.5", "255.255.255.0", "192.168.1.1", false, ""},
        {true, 1, std::string(259, 'N'), nullptr, nullptr, nullptr, false, ""},
        {false, 1, "LAN\" source=static addr=1.2.3.4", "", "", "", false, ""},
        {true, 0, "LAN", "1.2.3.4\"", nullptr, nullptr, false, ""},
    };
    for (const Case& c : cases) {
        std::memset(out, 'x', sizeof out);
        bool ok = c.dns ? FormatDnsCommand(out, sizeof out, c.name.c_str(), c.dhcp, c.ip)
                        : FormatAddressCommand(out, sizeof out, c.name.c_str(), c.dhcp, c.ip, c.mask, c.gw);
        EXPECT_EQ(c.ok, ok) << c.expected << " / name of " << c.name.size() << " bytes";
        EXPECT_STREQ(c.expected, out) << "name of " << c.name.size() << " bytes";
    }
}
