// The reader of the camera's IP access list: entries, mode, and items that do not fit.
#include "IpFilterList.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// An item of exactly length characters: head, then filler.
std::string Item(const std::string& head, size_t length) {
    return head + std::string(length - head.size(), 'x');
}

// The entries read as "index:start-end" items joined by " ".
std::string Table(const IpFilterEntry* entries, int count) {
    std::string s;
    for (int i = 0; i < count; ++i) {
        if (!s.empty()) s += " ";
        s += std::to_string(entries[i].index) + ":" + entries[i].start + "-" + entries[i].end;
    }
    return s;
}

} // namespace

TEST(IpFilterList, ReadsTheCameraList) {
    std::string many = "IPListPower=2;";
    for (int i = 0; i < 21; ++i)
        many += "IPIndex=" + std::to_string(i) + ";IPAddr1=10.0.0." + std::to_string(i + 1) + ";IPAddr2=;";
    struct Case {
        const char* name;
        std::string text;
        const char* table;
        int mode; // the mode before is 2
        int count;
    } cases[] = {
        {"two entries",
         "IPListPower=1;IPIndex=0;IPAddr1=10.0.0.5;IPAddr2=;IPIndex=1;IPAddr1=10.0.1.1;IPAddr2=10.0.1.9;",
         "0:10.0.0.5- 1:10.0.1.1-10.0.1.9", 1, 2},
        {"mode out of range", "IPListPower=7;", "", 0, 0},
        {"start without its closing item", "IPAddr1=10.0.0.5;", "", 2, 0},
        {"no filter item keeps the mode", "ETH_IP=1.2.3.4;ACTIVED=0;", "", 2, 0},
        {"closing item without '='", "IPIndex=4;IPAddr1=10.0.0.5;IPAddr2;", "4:10.0.0.5-", 2, 1},
        {"value ends at a carriage return", "IPAddr1=10.0.0.5\r\n;IPAddr2=\r10.0.0.9\rx;",
         "0:10.0.0.5-10.0.0.9", 2, 1},
        {"an empty item ends the parse", "IPAddr1=10.0.0.5;;IPAddr2=;", "", 2, 0},
        {"keys compared as prefixes", "IPListPowerX=1;IPAddr1x=10.0.0.5;IPAddr2y=;", "0:10.0.0.5-", 1, 1},
        {"more than 20 entries keep the first 20", many, nullptr, 2, 20},
        {"address longer than the field is cut", "IPAddr1=" + std::string(40, '1') + ";IPAddr2=;",
         "0:1111111111111111111111111111111-", 2, 1},
        {"items over 511 characters are skipped, the next one is read",
         Item("IPAddr1=10.0.0.7\r", 511) + ";IPAddr2=;" + Item("IPAddr1=10.0.0.8\r", 512) + ";IPAddr2=;" +
             Item("IPListPower=1\r", 5000) + ";IPIndex=3;IPAddr1=10.0.0.9;IPAddr2=;",
         "0:10.0.0.7- 0:- 3:10.0.0.9-", 2, 3},
    };
    for (const Case& c : cases) {
        IpFilterEntry entries[IP_FILTER_MAX_ENTRIES];
        std::memset(entries, 'x', sizeof entries);
        int deviceMode = 2, mode = 2;
        const int count = ReadIpFilterList(c.text.c_str(), entries, deviceMode, mode);
        if (c.table) {
            EXPECT_EQ(Table(entries, count), c.table) << c.name;
        }
        EXPECT_EQ(count, c.count) << c.name;
        EXPECT_EQ(deviceMode, c.mode) << c.name;
        EXPECT_EQ(mode, c.mode) << c.name << ": the shown mode follows";
        for (int i = 0; i < count; ++i)
            EXPECT_LT(strnlen(entries[i].start, 32), 32u) << c.name << ": entry " << i << " unterminated";
        for (int i = count + 1; i < IP_FILTER_MAX_ENTRIES; ++i) // count: an entry opened, not closed
            EXPECT_EQ(entries[i].start[0] | entries[i].end[0] | entries[i].index, 0)
                << c.name << ": entry " << i;
    }
}

TEST(IpFilterList, NullTextEmptiesTheListAndTheMode) {
    IpFilterEntry entries[IP_FILTER_MAX_ENTRIES];
    int deviceMode = 1, mode = 1;
    ASSERT_EQ(ReadIpFilterList("IPAddr1=10.0.0.5;IPAddr2=;", entries, deviceMode, mode), 1);
    EXPECT_EQ(deviceMode, 1) << "no mode item keeps the mode";
    EXPECT_EQ(ReadIpFilterList(nullptr, entries, deviceMode, mode), 0);
    EXPECT_EQ(entries[0].start[0], '\0');
    EXPECT_EQ(deviceMode, 0) << "no list at all: the previous camera's mode goes too";
    EXPECT_EQ(mode, 0);
}
