// The text table: language choice, the one-time device labels and the slots. Each test runs in a
// process of its own, so every test starts with the once-flag clear. Chinese texts are GBK bytes.
#include "NetConfigStore.h"
#include "TextTable.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// The cloud labels and their device replacements, in both languages.
const char* const kCloudIdEn = "Orvalink ID:";
const char* const kCloudIdZh = "Orvanet\xba\xc5\xc2\xeb:";                      // Orvanet号码:
const char* const kCloudStatusZh = "Orvanet\xd7\xb4\xcc\xac:";                  // Orvanet状态:
const char* const kDeviceIdZh = "\xc9\xe8\xb1\xb8\xba\xc5\xc2\xeb\xa3\xba";     // 设备号码：
const char* const kDeviceStatusZh = "\xc9\xe8\xb1\xb8\xd7\xb4\xcc\xac\xa3\xba"; // 设备状态：

TEST(TextTable, LanguageOneIsEnglishEveryOtherValueChinese) {
    struct Case {
        int index;
        const char* english;
        const char* chinese;
    };
    // Texts whose transcription is easy to get wrong: the longest, mixed scripts, inner spaces,
    // the last index, texts shared by two indices.
    const Case cases[] = {
        {0, "Network Management", "\xcd\xf8\xc2\xe7\xb9\xdc\xc0\xed"}, // 网络管理
        {13, "SSID:", "\xce\xde\xcf\xdfSSID:"},                        // 无线SSID:
        {22, "Auto Turn Off After 24 Hours Connected",
         "\xce\xaa\xc1\xcb\xc9\xe8\xb1\xb8\xb0\xb2\xd7\xb0\xba\xf3\xce\xc8\xb6\xa8\xd4\xcb\xd0\xd0\xa3\xac"
         "\xc1\xac"
         "\xbd\xd3"
         "24\xd0\xa1\xca\xb1\xba\xf3\xa3\xac\xb1\xbe\xb9\xa6\xc4\xdc\xbd\xab\xd7\xd4\xb6\xaf\xb9\xd8\xb1"
         "\xd5"},
        {43, "Restart to enable changing,and unplug the cable, are you sure?",
         "\xd0\xde\xb8\xc4\xcd\xf8\xc2\xe7\xc5\xe4\xd6\xc3\xbb\xe1\xb6\xcf\xbf\xaa\xc1\xac\xbd\xd3\xa3\xac"
         "\xb2\xa2"
         "\xd0\xe8\xb5\xe3\xbb\xf7\xa1\xb0\xca\xc7\xa1\xb1\xba\xf3\xb0\xce\xb5\xf4\xcd\xf8\xcf\xdf\xa3\xac"
         "\xca\xc7"
         "\xb7\xf1\xd0\xde\xb8\xc4\xa3\xbf"},
        {23, kCloudIdEn, kCloudIdZh},
        {24, "Status:", kCloudStatusZh},
        {56, "GB28181", "GB28181"},
        {69, "RTMP Server Address", "RTMP \xb7\xfe\xce\xf1\xc6\xf7\xb5\xd8\xd6\xb7"}, // RTMP 服务器地址
        {77, "DDNS User   Name", "\xd3\xc3\xbb\xa7\xc3\xfb:"},                        // 用户名:
        {91, "Refresh", "\xcb\xa2\xd0\xc2"},                                          // 刷新
        {99, "IP Seg", "IP \xb6\xce"},                                                // IP 段
        {100, "WARNING", "\xbe\xaf\xb8\xe6"},                                         // 警告
        {101, "Input can not contain ';' or line breaks!",
         "\xca\xe4\xc8\xeb\xc4\xda\xc8\xdd\xb2\xbb\xc4\xdc\xb0\xfc\xba\xac\xb7\xd6\xba\xc5(;)"
         "\xbb\xf2\xbb\xbb\xd0\xd0\xb7\xfb\xa3\xa1"},
        {107, "Smart On-OffLine", "\xd6\xc7\xc4\xdc\xc9\xcf\xcf\xc2\xcf\xdf"}, // 智能上下线
    };
    for (int language : {1, 0, 2, -1}) {
        g_nLanguage = language;
        for (const Case& c : cases) {
            const char* expected = language == 1 ? c.english : c.chinese;
            EXPECT_STREQ(GetText(c.index), expected) << "language " << language << " text " << c.index;
        }
        // Unused numbers are empty; outside the table is an empty text too, not a read beyond it.
        EXPECT_STREQ(GetText(102), "");
        EXPECT_STREQ(GetText(-1), "");
        EXPECT_STREQ(GetText(NQ_TEXT_COUNT), "");
    }
}

TEST(TextTable, DeviceLabelsWhenTheFirstLookupSeesIpcinfoTypeOne) {
    g_netConfig.ipcinfoType = 1;
    g_nLanguage = 1;
    EXPECT_STREQ(GetText(23), "Device ID:");
    EXPECT_STREQ(GetText(24), "Status:");
    // The slot is rewritten whole: nothing of the longer old text is left after the terminator.
    const char* slot = GetText(23);
    for (int i = (int)std::strlen("Device ID:"); i < NQ_TEXT_SLOT; ++i)
        EXPECT_EQ(slot[i], '\0') << "byte " << i;
    g_nLanguage = 0;
    EXPECT_STREQ(GetText(23), kDeviceIdZh);
    EXPECT_STREQ(GetText(24), kDeviceStatusZh);
    // The decision lasts: clearing ipcinfoType later changes no text.
    g_netConfig.ipcinfoType = 0;
    EXPECT_STREQ(GetText(23), kDeviceIdZh);
    g_nLanguage = 1;
    EXPECT_STREQ(GetText(23), "Device ID:");
}

TEST(TextTable, CloudLabelsStayWhenIpcinfoTypeArrivesAfterTheFirstLookup) {
    g_nLanguage = 2;
    EXPECT_STREQ(GetText(0), "\xcd\xf8\xc2\xe7\xb9\xdc\xc0\xed");
    int members[3] = {0, 4, 0};
    ParseNetParams("ipcinfoType=1;", g_netConfig, NetDlgParams{&members[0], &members[1], &members[2]});
    ASSERT_EQ(g_netConfig.ipcinfoType, 1);
    EXPECT_STREQ(GetText(23), kCloudIdZh);
    EXPECT_STREQ(GetText(24), kCloudStatusZh);
    g_nLanguage = 1;
    EXPECT_STREQ(GetText(23), kCloudIdEn);
    EXPECT_STREQ(GetText(24), "Status:");
}

} // namespace
