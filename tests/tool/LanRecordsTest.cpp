#include "LanRecords.h"
#include "TextCut.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

void Put(Bytes& b, size_t at, const void* p, size_t n) {
    std::memcpy(b.data() + at, p, n);
}
void PutU32(Bytes& b, size_t at, uint32_t v) {
    const unsigned char le[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    Put(b, at, le, 4);
}

} // namespace

TEST(LanRecords, TypeTexts) {
    const struct {
        int32_t code;
        const char* text;
    } cases[] = {{59162, "IPC"},  {55296, "DVR"},   {47104, "NVR"},
                 {47116, "QNVR"}, {59163, "59163"}, {INT32_MIN, "-2147483648"}};
    for (const auto& c : cases) {
        char text[DEVICE_TYPE_TEXT_SIZE];
        DeviceTypeText(c.code, text);
        EXPECT_STREQ(text, c.text) << "code " << c.code;
    }
}

TEST(LanRecords, SearchRecordFieldsAtTheirOffsetsAndCut) {
    Bytes b(LAN_SEARCH_RECORD_SIZE, 0);
    Put(b, 0, "WXYZ", 4); // no terminator: cut at 3
    PutU32(b, 4, uint32_t(-1));
    PutU32(b, 8, DEVICE_TYPE_DVR);
    Put(b, 16, "123.123.123.1234", 16); // runs straight into the port: cut at 15
    PutU32(b, 32, 34567);
    PutU32(b, 140, 1);
    LanSearchResult r{};
    ASSERT_TRUE(ReadLanSearchRecord(b.data(), b.size(), r));
    EXPECT_STREQ(r.szGroup, "WXY");
    EXPECT_EQ(r.nNumber, -1);
    EXPECT_EQ(r.nTypeCode, DEVICE_TYPE_DVR);
    EXPECT_STREQ(r.szIp, "123.123.123.123");
    EXPECT_EQ(r.nPort, 34567);
    EXPECT_EQ(r.nEndFlag, 1);
    LanSearchResult untouched{};
    EXPECT_FALSE(ReadLanSearchRecord(b.data(), LAN_SEARCH_RECORD_SIZE - 1, untouched));
    EXPECT_EQ(untouched.nPort, 0) << "a short record was read";
}

TEST(LanRecords, BroadcastRecordFieldsAtTheirOffsets) {
    Bytes b(BROADCAST_RECORD_SIZE, 0);
    Put(b, 4, "ABCDEFGH", 8);
    PutU32(b, 12, 0xFFFFFFFEu);
    PutU32(b, 16, 554);
    const unsigned char ip[4] = {192, 168, 0, 255}; // network byte order
    Put(b, 196, ip, 4);
    BroadcastResult r{};
    ASSERT_TRUE(ReadBroadcastRecord(b.data(), b.size(), r));
    EXPECT_STREQ(r.szGroup, "ABC");
    EXPECT_EQ(r.uNumber, 0xFFFFFFFEu);
    EXPECT_EQ(r.nPort, 554);
    EXPECT_STREQ(r.szIp, "192.168.0.255");
    EXPECT_FALSE(ReadBroadcastRecord(b.data(), BROADCAST_RECORD_SIZE - 1, r));
}

TEST(TextCut, CutsAtFieldButNeverInsideGbkCharacter) {
    const struct {
        const char* src;
        size_t srcMax;
        size_t dstSize;
        const char* expected;
    } cases[] = {
        {"abcd", SIZE_MAX, 4, "abc"},
        {"abcd", 2, 4, "ab"},
        {"A\xD6\xD0", SIZE_MAX, 4, "A\xD6\xD0"}, // one GBK character fits exactly
        {"AB\xD6\xD0", SIZE_MAX, 4, "AB"},       // it would be split: left out whole
        {"ab\xD6", SIZE_MAX, 4, "ab\xD6"},       // a lone lead byte ending the source is not ours to drop
        {nullptr, SIZE_MAX, 4, ""},
    };
    for (const auto& c : cases) {
        char dst[8];
        std::memset(dst, 'x', sizeof dst);
        EXPECT_EQ(CopyTextCut(dst, c.dstSize, c.src, c.srcMax), std::strlen(c.expected));
        EXPECT_STREQ(dst, c.expected) << "source \"" << (c.src ? c.src : "NULL") << "\" into " << c.dstSize;
    }
}
