// The platform-free side of received packets: the receive buffer, the routing, the readers of the
// camera's texts and records, and the verdict rules. Whatever the camera claims, nothing is read or
// written outside the buffer or a field.
#include "DeviceInfo.h"
#include "ReceivedPacket.h"
#include "WirelessState.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

CfgPacket Packet(unsigned kind, unsigned module, unsigned subKind, int32_t nType, int32_t nLength = 0) {
    CfgPacket p;
    std::memset(&p, 0, sizeof p);
    p.header = (kind & 0x1F) | ((module & 0xFF) << 5) | ((subKind & 0xFF) << 13);
    p.nType = nType;
    p.nLength = nLength;
    return p;
}

} // namespace

TEST(ReceivedPacket, OnlyWhatFitsIsStoredAndEveryTextEnds) {
    std::unique_ptr<char[]> storage(new char[RECV_BUFFER_SIZE]);
    char(&buf)[RECV_BUFFER_SIZE] = *reinterpret_cast<char(*)[RECV_BUFFER_SIZE]>(storage.get());
    std::memset(buf, 'o', RECV_BUFFER_SIZE);
    std::vector<char> full(CFG_MAIN_BUFFER_SIZE + 1, 'x');
    ASSERT_TRUE(StoreReceivedPacket(buf, full.data(), CFG_MAIN_BUFFER_SIZE));
    EXPECT_EQ(buf[CFG_MAIN_BUFFER_SIZE], '\0') << "the guard byte after a full packet must be 0";

    EXPECT_FALSE(StoreReceivedPacket(buf, full.data(), CFG_MAIN_BUFFER_SIZE + 1));
    EXPECT_EQ(buf[CFG_MAIN_BUFFER_SIZE - 1], 'x') << "a refused packet changed the buffer";

    // A posted record is the library's only with its packet right behind it and inside its block.
    const uintptr_t at = 0x10000;
    const struct {
        uintptr_t packet;
        int32_t length;
        size_t block;
        bool library;
    } records[] = {{at + 16, 20, 36, true},  {at + 16, 0, 16, true}, {at + 16, 21, 36, false},
                   {at + 16, -1, 36, false}, {0, 0, 16, false},      {at + 17, 0, 36, false},
                   {at + 16, 0, 15, false},  {at, 0, 16, false},     {at + 16, INT32_MIN, 36, false}};
    for (const auto& c : records)
        EXPECT_EQ(IsLibraryPacketRecord(at, c.packet, c.length, c.block), c.library)
            << "packet at +" << static_cast<long>(c.packet - at) << ", length " << c.length << ", block "
            << c.block;

    const char small[] = {1, 2, 3};
    ASSERT_TRUE(StoreReceivedPacket(buf, small, sizeof small));
    for (size_t i = sizeof small; i < RECV_BUFFER_SIZE; ++i)
        ASSERT_EQ(buf[i], '\0') << "byte " << i << " of the previous packet survived";

    // The device text's offset is the camera's nType: inside the buffer or nothing.
    const int64_t last = static_cast<int64_t>(RECV_BUFFER_SIZE) - 1;
    const struct {
        int32_t nType;
        int64_t offset; // -1: no text
    } offsets[] = {{16, 20},
                   {-4, 0},
                   {-5, -1},
                   {INT32_MIN, -1},
                   {static_cast<int32_t>(last - 4), last},
                   {static_cast<int32_t>(last - 3), -1}};
    for (const auto& c : offsets) {
        const CfgPacket p = Packet(5, 0, 1, c.nType);
        std::memcpy(buf, &p, sizeof p);
        EXPECT_EQ(DeviceInfoText(buf), c.offset < 0 ? nullptr : buf + c.offset) << "nType " << c.nType;
    }
}

TEST(ReceivedPacket, RoutesBySignedFieldsAndBoundsTheAccessPointTable) {
    const struct {
        CfgPacket packet;
        CfgRoute expected;
    } routes[] = {
        {Packet(5, 0, 0, 16), CfgRoute::Ignore},        {Packet(5, 2, 7, 0), CfgRoute::PanTilt},
        {Packet(5, 0, 0xFF, 16), CfgRoute::DeviceInfo}, {Packet(6, 2, 0, 3), CfgRoute::ApList},
        {Packet(6, 2, 7, 8), CfgRoute::WirelessState},  {Packet(6, 2, 0, 14), CfgRoute::ScanReply},
        {Packet(6, 2, 0, 9), CfgRoute::Ignore},         {Packet(6, 8, 0, 5), CfgRoute::AdcValues},
        {Packet(6, 35, 0, 3), CfgRoute::Ignore},        {Packet(21, 2, 0, 8), CfgRoute::Ignore}, // kind -11
        {Packet(6, 130, 0, 8), CfgRoute::Ignore}, // module -126
    };
    for (const auto& c : routes)
        EXPECT_EQ(static_cast<int>(RouteCfgPacket(c.packet)), static_cast<int>(c.expected))
            << "header 0x" << std::hex << c.packet.header << std::dec << ", nType " << c.packet.nType;

    // What the camera's fields point at must lie in what arrived, or the packet is dropped.
    const struct {
        CfgPacket packet;
        size_t arrived;
        bool fits;
    } fits[] = {
        {Packet(5, 0, 1, 16), 40, true},       {Packet(5, 0, 1, 35), 40, true},
        {Packet(5, 0, 1, 36), 40, false},      {Packet(5, 0, 1, 0x7FFFFFF0), 40, false},
        {Packet(5, 0, 1, -64), 40, false},     {Packet(5, 2, 7, 0), 21, true},
        {Packet(5, 2, 7, 0), 20, false},       {Packet(5, 2, 7, -21), 40, false},
        {Packet(6, 2, 0, 14, 224), 244, true}, {Packet(6, 2, 0, 14, 225), 244, false},
        {Packet(6, 2, 0, 3, -1), 244, false},  {Packet(6, 2, 0, 8), 20, true},
        {Packet(6, 2, 0, 8), 19, false},
    };
    for (const auto& c : fits)
        EXPECT_EQ(CfgPacketFits(c.packet, c.arrived), c.fits)
            << "header 0x" << std::hex << c.packet.header << std::dec << ", nType " << c.packet.nType
            << ", nLength " << c.packet.nLength << ", " << c.arrived << " bytes arrived";

    const struct {
        int32_t nLength;
        size_t bufferSize, expected;
    } tables[] = {{336, CFG_MAIN_BUFFER_SIZE, 336},
                  {INT32_MAX, CFG_MAIN_BUFFER_SIZE, 7168},
                  {-1, CFG_MAIN_BUFFER_SIZE, 0},
                  {INT32_MIN, CFG_MAIN_BUFFER_SIZE, 0},
                  {5000, 1020, 1000},
                  {5000, 3, 0}};
    for (const auto& c : tables)
        EXPECT_EQ(ApTableBytes(Packet(6, 2, 0, 14, c.nLength), 7168, c.bufferSize), c.expected)
            << "nLength " << c.nLength << ", buffer " << c.bufferSize;
}

TEST(ReceivedTexts, ValuesAreClearedCutToTheirFieldsAndHeldToInt32) {
    char type[32], version[64];
    int32_t group = 7;
    std::memset(type, 'z', sizeof type);
    EXPECT_EQ(ParseProductInfoText(("ProductType=" + std::string(40, 'T') +
                                    ";Version=" + std::string(100, 'V') + ";ORVGROUP=99999999999")
                                       .c_str(),
                                   type, version, group),
              unsigned(INFO_PRODUCT_TYPE_CUT | INFO_VERSION_CUT));
    EXPECT_EQ(std::string(type), std::string(31, 'T'));
    EXPECT_EQ(std::string(version), std::string(63, 'V'));
    EXPECT_EQ(group, INT32_MAX);
    EXPECT_EQ(ParseProductInfoText(
                  ("ProductType=" + std::string(31, 'T') + ";Version=V5;ORVGROUP=A;Other=1").c_str(), type,
                  version, group),
              0u)
        << "31 bytes fit";
    ParseProductInfoText("ORVGROUP=A;Other=1", type, version, group);
    EXPECT_STREQ(type, "") << "a text without the item must clear the old value";
    EXPECT_EQ(group, 0) << "a group letter is not a number";

    // ADC readings: a key that is absent keeps its reading; one that is present but not a number is 0.
    const struct {
        const char* text;
        int32_t h, l, r; // from 7, 8, 9
    } adcs[] = {{"adcRValue=5", 7, 8, 5},
                {"adcLValue=-3;adcHValue=x", 0, -3, 9},
                {"adcHValue=1;;adcRValue=2", 1, 8, 9},
                {"adcH=1;adcRValue\r=4;adcLValue=\r6", 7, 6, 4}};
    for (const auto& c : adcs) {
        int32_t h = 7, l = 8, r = 9;
        ParseAdcText(c.text, h, l, r);
        EXPECT_EQ(std::to_string(h) + "," + std::to_string(l) + "," + std::to_string(r),
                  std::to_string(c.h) + "," + std::to_string(c.l) + "," + std::to_string(c.r))
            << "H,L,R after \"" << c.text << "\"";
    }

    std::unique_ptr<WirelessStateBlock> b(new WirelessStateBlock);
    std::memset(b.get(), 0x5A, sizeof *b);
    ParseWirelessText(("WIFI_IDX=" + std::string(40, 'I') + ";WIFI_PW=" + std::string(30, 'P') +
                       ";WIFI_Q=-99999999999;ACTIVED=2")
                          .c_str(),
                      *b);
    EXPECT_EQ(std::string(b->szWifiId), std::string(31, 'I')) << "WIFI_IDX matches WIFI_ID, cut to 31";
    EXPECT_EQ(std::string(b->szWifiPw), std::string(15, 'P'));
    EXPECT_EQ(b->nWifiQ, INT32_MIN);
    EXPECT_EQ(b->nApCount, 0) << "the state text clears the whole block";
    EXPECT_EQ(b->apList[63].nQuality, 0);

    // A name that fills its 32 bytes is read as those 32 bytes, never into the key behind it.
    std::memset(b->apList[5].szSsid, 'N', 32);
    b->apList[5].szKey[0] = 'K';
    b->apList[5].nQuality = 40;
    std::strcpy(b->szWifiId, std::string(31, 'N').c_str());
    EXPECT_EQ(ListedQuality(*b, 7), 7);
    char name[33];
    ApName(b->apList[5], name);
    EXPECT_EQ(std::string(name), std::string(32, 'N'));

    EXPECT_EQ(SignalIcon(INT32_MAX), 107374182);
    EXPECT_EQ(SignalIcon(INT32_MIN), -107374182);
    EXPECT_EQ(StateQualityShown(-150), -49);
}

TEST(ReceivedTexts, ScanListsTheRepliedRecordsAndMatchesByPrefix) {
    std::unique_ptr<WirelessStateBlock> b(new WirelessStateBlock);
    std::memset(b.get(), 0, sizeof *b);
    for (int i = 0; i < AP_LIST_SIZE; ++i) {
        std::snprintf(b->apList[i].szSsid, sizeof b->apList[i].szSsid, "net%d", i);
        b->apList[i].nQuality = 50 + i;
    }
    ScanOutcome out = BuildScanList(19, *b, nullptr);
    EXPECT_EQ(out.nRows, 19);
    EXPECT_FALSE(out.bSsidMatched);
    out = BuildScanList(12, *b, "net1");
    EXPECT_EQ(out.nSsidFound, 61) << "net1, net10 and net11 begin with net1: the last one counts";
    EXPECT_FALSE(BuildScanList(12, *b, "et1").bSsidMatched);
    EXPECT_FALSE(BuildScanList(12, *b, "net10-and-more").bSsidMatched);
    for (int n : {0, -1, 65, INT_MIN}) {
        EXPECT_TRUE(BuildScanList(n, *b, "net").bNoNetwork) << "count " << n;
        EXPECT_EQ(b->nApCount, 12) << "count " << n << " must not become the count";
    }
    // A reply lists no more records than it carried, whatever count it claims; a count outside 1 to 64
    // is no network.
    const struct {
        int32_t nParam, nLength, expected;
    } replies[] = {{5, 2 * 112, 2},  {5, 2 * 112 + 111, 2}, {3, 5 * 112, 3}, {64, 64 * 112, 64},
                   {65, 3 * 112, 0}, {70, 64 * 112, 0},     {-1, 112, 0},    {0, 112, 0}};
    for (const auto& c : replies) {
        CfgPacket p = Packet(6, 2, 0, 14, c.nLength);
        p.nParam = c.nParam;
        EXPECT_EQ(ScanReplyCount(p), c.expected) << "nParam " << c.nParam << ", nLength " << c.nLength;
    }
}

TEST(StatusVerdicts, RulesForEachVerdict) {
    const struct {
        const char* what;
        bool info;
        const char *type, *version;
        int32_t group;
        const char *expType, *expVersion, *expGroup, *expSsid, *expQuality;
        int32_t ssidQuality, adcH, adcR;
        const char* expected; // verdicts 0..4, from "11111"
    } cases[] = {
        {"nothing expected, a type reported", true, "QL", "", 0, "", "", "", "", "", 0, 0, 0, "00011"},
        {"nothing expected, nothing reported", true, "", "", 0, "", "", "", "", "", 0, 0, 0, "20011"},
        {"build 199 against 200", true, "", "V5.2.199", 0, "", "V5.2.200", "", "", "", 0, 0, 0, "20011"},
        {"build 1000 against 200", true, "", "V5.2.1000", 0, "", "V5.2.200", "", "", "", 0, 0, 0, "22011"},
        {"another prefix", true, "", "V5.3.900", 0, "", "V5.2.200", "", "", "", 0, 0, 0, "20011"},
        {"build 0 expected", true, "", "V5.2.900", 0, "", "V5.2.0", "", "", "", 0, 0, 0, "20011"},
        {"build is characters 6 to 9", true, "", "V5.2.1234", 0, "", "V5.2.12345", "", "", "", 0, 0, 0,
         "22011"},
        {"both shorter than the prefix", true, "", "V5", 0, "", "V5", "", "", "", 0, 0, 0, "20011"},
        {"low byte is the group letter", true, "", "", 0x4241, "", "", "A", "", "", 0, 0, 0, "20211"},
        {"two letters expected", true, "", "", 65, "", "", "AB", "", "", 0, 0, 0, "20011"},
        {"type is a prefix only", true, "QL-F2", "", 0, "QL", "", "", "", "", 0, 0, 0, "00011"},
        {"before any information", false, "QL", "", 0, "QL", "", "", "LINE", "60", 60, 5, 5, "11122"},
        {"quality below the least", false, "", "", 0, "", "", "", "LINE", "60", 59, 6, 5, "11100"},
        {"no least quality", false, "", "", 0, "", "", "", "LINE", "", 100, 0, -1, "11100"},
    };
    for (const auto& c : cases) {
        const StatusInputs in = {c.info,     c.type,    c.version,    c.group,       c.expType, c.expVersion,
                                 c.expGroup, c.expSsid, c.expQuality, c.ssidQuality, c.adcH,    c.adcR};
        int status[STATUS_COUNT] = {1, 1, 1, 1, 1};
        EvaluateVerdicts(in, status);
        std::string got;
        for (int v : status)
            got += static_cast<char>('0' + v);
        EXPECT_EQ(got, c.expected) << c.what;
    }
    // A value cut to its field is not the camera's: it fails where the cut text would have matched.
    const StatusInputs cut = {true,
                              "QL",
                              "V5.2.300",
                              0,
                              "QL",
                              "V5.2.200",
                              "",
                              "",
                              "",
                              0,
                              0,
                              0,
                              INFO_PRODUCT_TYPE_CUT | INFO_VERSION_CUT};
    int verdicts[STATUS_COUNT] = {1, 1, 1, 1, 1};
    EvaluateVerdicts(cut, verdicts);
    EXPECT_EQ(verdicts[STATUS_PRODUCT_TYPE], VERDICT_FAIL);
    EXPECT_EQ(verdicts[STATUS_VERSION], VERDICT_FAIL);
    // With no network expected the quality verdict keeps what it had.
    const StatusInputs none = {true, "", "", 0, "", "", "", "", "", 0, 0, 0};
    int status[STATUS_COUNT] = {1, 1, 1, 0, 1};
    EvaluateVerdicts(none, status);
    EXPECT_EQ(status[STATUS_WIFI_QUALITY], VERDICT_FAIL);
}
