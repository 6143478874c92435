// Echo packets, sweep candidates, the pool, adapter records and netsh command lines.
#include "AdapterRecord.h"
#include "IcmpEcho.h"

#include <gtest/gtest.h>

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

TEST(NetwatchEchoReply, ReadsOnlyWhatArrived) {
    // A buffer that still holds an earlier full reply of ours: a short packet must not borrow from it.
    uint8_t buf[kReplyBufferSize];
    std::memset(buf, 0, sizeof buf);
    buf[0] = 0x45;
    buf[20] = 0;                    // echo reply
    buf[24] = 0x34, buf[25] = 0x12; // identifier 0x1234
    buf[26] = 0x05, buf[27] = 0x00; // sequence 5
    buf[28] = 0xE8, buf[29] = 0x03; // send time 1000
    struct Case {
        size_t length;
        int type;
        bool hasId;
        uint16_t seq;
        uint32_t time;
        bool ours;
    } cases[] = {
        {32, 0, true, 5, 1000, true}, {1024, 0, true, 5, 1000, true}, {28, 0, true, 5, 0, true},
        {26, 0, true, 0, 0, true},    {25, 0, false, 0, 0, false},    {21, 0, false, 0, 0, false},
        {20, -1, false, 0, 0, false}, {0, -1, false, 0, 0, false},
    };
    for (const Case& c : cases) {
        EchoReplyView v = ReadEchoReply(buf, c.length);
        EXPECT_EQ(c.type, v.type) << "length " << c.length;
        EXPECT_EQ(c.hasId, v.hasIdentifier) << "length " << c.length;
        EXPECT_EQ(c.seq, v.sequence) << "length " << c.length;
        EXPECT_EQ(c.time, v.sendTimeMs) << "length " << c.length;
        EXPECT_EQ(c.ours, IsOurEchoReply(v, 0x1234)) << "length " << c.length;
    }
    EXPECT_FALSE(IsOurEchoReply(ReadEchoReply(buf, 32), 0x1235)) << "another process's identifier";
    buf[20] = 3;
    EXPECT_FALSE(IsOurEchoReply(ReadEchoReply(buf, 32), 0x1234)) << "destination unreachable";
    buf[20] = 8;
    EXPECT_FALSE(IsOurEchoReply(ReadEchoReply(buf, 32), 0x1234)) << "our own request seen by the raw socket";
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
