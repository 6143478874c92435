#include "CfgPacket.h"
#include "ParamText.h"

#include <gtest/gtest.h>

#include <cstring>

#include <string>
#include <utility>
#include <vector>

namespace {

using Items = std::vector<std::pair<std::string, std::string>>;

Items ParseAll(const char* text, int tokenSize = 256) {
    Items items;
    ParamTextReader reader(text, tokenSize);
    const char* key;
    const char* value;
    while (reader.Next(key, value))
        items.emplace_back(key, value);
    return items;
}

TEST(ParamText, ParseLoopCases) {
    struct Case {
        const char* text;
        Items expected;
    };
    const Case cases[] = {
        {"", {}},
        {"A=1;B=2;", {{"A", "1"}, {"B", "2"}}},
        {"A=1;;B=2;", {{"A", "1"}}},               // an empty item ends the parse
        {";A=1;", {}},                             // so does a leading ';'
        {"A=1;B=2", {{"A", "1"}, {"B", "2"}}},     // last item without ';'
        {"NOEQUALS;B=2;", {{"B", "2"}}},           // item without '=' skipped
        {"A=x\ry;B=2;", {{"A", "x"}, {"B", "2"}}}, // value cut at a carriage return
        {"A=\r\rv;", {{"A", "v"}}},                // leading carriage returns skipped
        {"A=\r;B=1;", {{"B", "1"}}},               // nothing but CRs: ignored
        {"A=;B=1;", {{"B", "1"}}},                 // empty value: ignored
        {"==K=V=W;", {{"K", "V=W"}}},              // leading '=' skipped, later '=' kept in value
        {"=;B=1;", {{"B", "1"}}},
        {"WIFI_ID=\xC4\xE3\xBA\xC3;", {{"WIFI_ID", "\xC4\xE3\xBA\xC3"}}}, // GBK bytes pass as they stand
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseAll(c.text), c.expected) << "text: " << c.text;
    }
}

TEST(ParamText, ItemLongerThanTokenBufferIsSkippedWhole) {
    std::string text = "A=1;LONG=" + std::string(600, 'x') + ";B=2;";
    EXPECT_EQ(ParseAll(text.c_str(), 256), (Items{{"A", "1"}, {"B", "2"}}));
    // An item of exactly 255 characters still fits a 256-byte buffer.
    std::string fits = "K=" + std::string(253, 'y') + ";";
    Items items = ParseAll(fits.c_str(), 256);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].second.size(), 253u);
    std::string tooLong = "K=" + std::string(254, 'y') + ";Z=9";
    EXPECT_EQ(ParseAll(tooLong.c_str(), 256), (Items{{"Z", "9"}}));
}

TEST(ParamText, CopyTokenIsBounded) {
    char buf[8];
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(CopyToken(buf, 4, "abcdefgh;x"), 8);
    EXPECT_EQ(std::string(buf, 4), "abc#");
    EXPECT_EQ(CopyToken(buf, 8, "ab;cd"), 2);
    EXPECT_EQ(CopyToken(buf, 8, nullptr), 0);
    EXPECT_EQ(CopyToken(buf, 8, ";"), 0);
}

TEST(ParamText, KeyPrefixMatching) {
    EXPECT_TRUE(KeyMatches("WIFI_IDX", "WIFI_ID"));
    EXPECT_TRUE(KeyMatches("WIFI_ID", "WIFI_ID"));
    EXPECT_FALSE(KeyMatches("WIFI_I", "WIFI_ID"));
    EXPECT_FALSE(KeyMatches("wifi_id", "WIFI_ID"));
}

TEST(ParamText, AppendIsBoundedAndAtomic) {
    char buf[16] = "";
    EXPECT_EQ(ParamTextAppendf(buf, sizeof buf, "ACTIVED=%d;", 2), 10);
    EXPECT_EQ(ParamTextAppendf(buf, sizeof buf, "WIFI_ID=%s;", "toolong"), -1);
    EXPECT_STREQ(buf, "ACTIVED=2;");
    EXPECT_EQ(ParamTextAppendf(buf, sizeof buf, "A=%d;", -5), 15);
    EXPECT_STREQ(buf, "ACTIVED=2;A=-5;");
}

TEST(ParamText, FixedFieldIsTerminatedAndZeroFilled) {
    char field[8];
    std::memset(field, 'z', sizeof field);
    CopyFixedField(field, sizeof field, "abc");
    EXPECT_EQ(std::string(field, sizeof field), std::string("abc\0\0\0\0\0", 8));
    CopyFixedField(field, sizeof field, "0123456789");
    EXPECT_EQ(std::string(field, sizeof field), std::string("0123456\0", 8));
}

TEST(CfgPacketHeader, FieldReadings) {
    EXPECT_EQ(CfgKindSigned(0x46), 6);
    EXPECT_EQ(CfgModuleSigned(0x46), 2);
    EXPECT_EQ(CfgSubKindSigned(0x46), 0);
    EXPECT_EQ(CfgKindUnsigned(0x466), 6u);
    EXPECT_EQ(CfgModuleSigned(0x466), 35);
    EXPECT_TRUE(CfgIsIpFilterModule(0x466));
    EXPECT_FALSE(CfgIsIpFilterModule(0x46));
    const uint32_t panTilt = 5 | (7u << 13);
    EXPECT_EQ(CfgKindSigned(panTilt), 5);
    EXPECT_EQ(CfgSubKindSigned(panTilt), 7);
    // The main program reads the fields sign-extended.
    EXPECT_EQ(CfgKindSigned(0x1F), -1);
    EXPECT_EQ(CfgModuleSigned(0xFFu << 5), -1);
    EXPECT_EQ(CfgSubKindSigned(0xFFu << 13), -1);

    uint32_t h = 0xFFFFFFFFu;
    CfgSetKindModule(h, 6, 35);
    EXPECT_EQ(h & 0x1FFFu, 0x466u);
    EXPECT_EQ(h >> 13, 0xFFFFFFFFu >> 13);
}

} // namespace
