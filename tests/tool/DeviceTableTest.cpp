#include "DeviceListTimer.h"
#include "DeviceTable.h"
#include "Sightings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

int CountLive(const DeviceTable& t) {
    int n = 0;
    for (const DeviceEntry& e : t.Snapshot())
        n += e.nAlive > 0;
    return n;
}

bool SameEntries(const DeviceTable& a, const std::array<DeviceEntry, DEVICE_TABLE_SIZE>& b) {
    return std::memcmp(a.Snapshot().data(), b.data(), sizeof(DeviceEntry) * DEVICE_TABLE_SIZE) == 0;
}

std::string Ip(int n) {
    return "10.1.0." + std::to_string(n + 1);
}

} // namespace

TEST(DeviceTable, AnsweringCameraStaysSilentOneLeavesAfterThreeTicksAndIsClearedAtFourth) {
    DeviceTable t;
    uint32_t now = 1000;
    for (int tick = 0; tick < 5; ++tick, now += 3000) {
        ASSERT_EQ(t.ApplySearchResult(Search("A", 77, "10.0.0.5"), false, now), 0);
        t.Age();
        EXPECT_EQ(t.Entry(0).nAlive, 2) << "after tick " << tick;
    }
    // Silent from here on: listed at 2 and 1, unlisted at 0 but not yet cleared, cleared at the fourth tick.
    const struct {
        int alive;
        size_t rows;
        const char* ip;
        int number;
    } expected[] = {{1, 1, "10.0.0.5", 77}, {0, 0, "10.0.0.5", 77}, {0, 0, "0.0.0.0", -1}};
    for (const auto& x : expected) {
        t.Age();
        const DeviceEntry e = t.Entry(0);
        EXPECT_EQ(e.nAlive, x.alive);
        EXPECT_STREQ(e.szIp, x.ip) << "alive " << x.alive;
        EXPECT_EQ(e.nNumber, x.number) << "alive " << x.alive;
        EXPECT_EQ(t.CollectListRows("").size(), x.rows) << "alive " << x.alive;
    }
}

TEST(DeviceTable, MatchingWithPushSwitchOff) {
    DeviceTable t;
    // One address reporting two numbers takes two entries; the same pair refreshes its entry.
    EXPECT_EQ(t.ApplySearchResult(Search("A", 100, "10.0.0.1"), false, 1), 0);
    EXPECT_EQ(t.ApplySearchResult(Search("A", 200, "10.0.0.1"), false, 2), 1);
    EXPECT_EQ(t.ApplySearchResult(Search("B", 100, "10.0.0.1", 9000, DEVICE_TYPE_DVR), false, 50), 0);
    DeviceEntry e = t.Entry(0);
    EXPECT_STREQ(e.szGroup, "B");
    EXPECT_STREQ(e.szType, "DVR");
    EXPECT_EQ(e.nPort, 9000);
    EXPECT_EQ(e.dwFirstSeen, 1u);
    EXPECT_EQ(e.dwLastSeen, 50u);
    // A broadcast with a known number from a new address moves that entry.
    EXPECT_EQ(t.ApplyBroadcastResult(Broadcast("C", 200, "10.0.0.9", 7000), false, 60), 1);
    e = t.Entry(1);
    EXPECT_STREQ(e.szIp, "10.0.0.9");
    EXPECT_STREQ(e.szType, "IPC");
    // Two cameras broadcasting number 0 share one entry with the latest address.
    EXPECT_EQ(t.ApplyBroadcastResult(Broadcast("A", 0, "10.0.0.2"), false, 3), 2);
    EXPECT_EQ(t.ApplyBroadcastResult(Broadcast("A", 0, "10.0.0.3"), false, 4), 2);
    EXPECT_STREQ(t.Entry(2).szIp, "10.0.0.3");
    EXPECT_EQ(CountLive(t), 3);
}

TEST(DeviceTable, MatchingWithPushSwitchOnKeepsOneEntryPerAddress) {
    // Search: a new entry stores numbers above 1, a refresh numbers above 0.
    // Broadcast: a new entry stores numbers above 1, a refresh any number but 0.
    const struct {
        bool broadcast;
        int32_t number;
        int32_t expected;
    } steps[] = {{false, 1, -1},    {false, 0, -1}, {false, -5, -1}, {false, 1, 1},    {false, 0, 1},
                 {false, 300, 300}, {true, 0, 300}, {true, 1, 1},    {true, 777, 777}, {true, 0, 777}};
    DeviceTable t;
    for (const auto& s : steps) {
        const int index =
            s.broadcast ? t.ApplyBroadcastResult(Broadcast("Z", uint32_t(s.number), "10.0.0.3"), true, 9)
                        : t.ApplySearchResult(Search("Z", s.number, "10.0.0.3", 81), true, 9);
        EXPECT_EQ(index, 0);
        EXPECT_EQ(t.Entry(0).nNumber, s.expected)
            << (s.broadcast ? "broadcast" : "search") << " with number " << s.number;
    }
    EXPECT_EQ(CountLive(t), 1);
    // A known number from another address is another camera.
    EXPECT_EQ(t.ApplyBroadcastResult(Broadcast("A", 777, "10.0.0.4"), true, 3), 1);
    EXPECT_EQ(t.ApplySearchResult(Search("A", 42, "10.0.0.5"), true, 3), 2);
    EXPECT_EQ(t.Entry(2).nNumber, 42);
}

TEST(DeviceTable, NewCameraInFreedEntryDoesNotInheritPreviousNumber) {
    DeviceTable t;
    ASSERT_EQ(t.ApplySearchResult(Search("A", 123, "10.0.0.1"), true, 0), 0);
    for (int i = 0; i < 3; ++i)
        t.Age();
    ASSERT_EQ(t.Entry(0).nNumber, 123) << "a free entry keeps its number until the next tick";
    ASSERT_EQ(t.ApplySearchResult(Search("A", 0, "10.0.0.2"), true, 5), 0);
    const auto rows = t.CollectListRows("");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].strColumns[1], "A-1") << "listed under the previous camera's number";
    for (int i = 0; i < 3; ++i)
        t.Age();
    ASSERT_EQ(t.ApplyBroadcastResult(Broadcast("A", 1, "10.0.0.3"), true, 6), 0);
    EXPECT_EQ(t.Entry(0).nNumber, -1);
}

TEST(DeviceTable, SixtyFifthCameraDroppedUntilAnEntryFreesAndEndFlagIgnored) {
    for (bool push : {false, true}) {
        DeviceTable t;
        for (int i = 0; i < DEVICE_TABLE_SIZE; ++i)
            ASSERT_EQ(t.ApplySearchResult(Search("A", 1000 + i, Ip(i)), push, 0), i);
        const auto full = t.Snapshot();
        EXPECT_EQ(t.ApplySearchResult(Search("A", 9999, Ip(64)), push, 1), -1);
        EXPECT_EQ(t.ApplyBroadcastResult(Broadcast("A", 9999, Ip(65)), push, 1), -1);
        EXPECT_EQ(t.ApplyNumberServed("IPC", "A", Ip(66).c_str(), 1, 5, 1), -1);
        EXPECT_EQ(t.ApplySearchResult(Search("A", 1000, Ip(0), 1, DEVICE_TYPE_IPC, 1), push, 1), -1);
        EXPECT_TRUE(SameEntries(t, full)) << "a dropped or ended sighting changed the table, push " << push;
        // Camera 5 falls silent while the others keep answering.
        for (int tick = 0; tick < 3; ++tick) {
            t.Age();
            for (int i = 0; i < DEVICE_TABLE_SIZE; ++i)
                if (i != 5) t.ApplySearchResult(Search("A", 1000 + i, Ip(i)), push, 0);
        }
        EXPECT_EQ(t.ApplySearchResult(Search("A", 9999, Ip(64)), push, 2), 5) << "push " << push;
    }
}

TEST(DeviceTable, NumberServedMarksKnownAddressOrTakesFreeEntry) {
    DeviceTable t;
    ASSERT_EQ(t.ApplySearchResult(Search("A", 0, "10.0.0.1"), true, 100), 0);
    t.Age();
    EXPECT_EQ(t.ApplyNumberServed("IPC", "Q", "10.0.0.1", 1, 4321, 900), 0);
    DeviceEntry e = t.Entry(0);
    EXPECT_EQ(e.nNumber, 4321);
    EXPECT_EQ(e.bServed, 1);
    EXPECT_EQ(e.nAlive, 2) << "alive count and times stay";
    EXPECT_EQ(e.dwLastSeen, 100u);
    EXPECT_EQ(t.ApplyNumberServed("NVR", "QQQQQ", "10.0.0.7", 6000, 55, 900), 1);
    e = t.Entry(1);
    EXPECT_EQ(e.nAlive, 3);
    EXPECT_EQ(e.bServed, 1);
    EXPECT_STREQ(e.szGroup, "QQQ") << "group cut at 3 characters";
    // The served flag goes when the entry is cleared.
    for (int i = 0; i < 4; ++i)
        t.Age();
    EXPECT_EQ(t.Entry(1).bServed, 0);
}

TEST(DeviceList, RowsOnlyForLiveIpcEntriesWithAddress) {
    DeviceTable t;
    const int32_t types[] = {DEVICE_TYPE_IPC, DEVICE_TYPE_DVR, DEVICE_TYPE_NVR, DEVICE_TYPE_QNVR, 1234};
    for (int i = 0; i < 5; ++i)
        t.ApplySearchResult(Search("A", 11 + i, Ip(i), 8000, types[i]), false, 0);
    t.ApplySearchResult(Search("A", 16, "0.0.0.0"), false, 0);
    t.ApplySearchResult(Search("B", -1, "10.0.0.7", 34567), false, 0xFFFFF000u);
    t.ApplySearchResult(Search("B", -1, "10.0.0.7", 34567), false, 0x0001F000u); // across the tick wrap
    EXPECT_STREQ(t.Entry(4).szType, "1234");

    const auto rows = t.CollectListRows("10.0.0.7");
    ASSERT_EQ(rows.size(), 2u);
    const std::string expected[2][5] = {{"1", "A11", "10.1.0.1", "8000", "0"},
                                        {"7", "B-1", "10.0.0.7", "34567", "131"}};
    for (size_t r = 0; r < 2; ++r)
        for (int c = 0; c < 5; ++c)
            EXPECT_EQ(rows[r].strColumns[c], expected[r][c]) << "row " << r << " column " << c;
    EXPECT_FALSE(rows[0].bSelect);
    EXPECT_TRUE(rows[1].bSelect) << "the remembered address selects its row";
    EXPECT_EQ(t.Entry(6).bNew, 0) << "a listed entry is no longer new";
    EXPECT_EQ(t.Entry(1).bNew, 1) << "an unlisted one still is";
    for (const DeviceListRow& row : t.CollectListRows(""))
        EXPECT_FALSE(row.bSelect);
    // An empty remembered address selects only a row whose address is itself empty.
    t.ApplySearchResult(Search("A", 20, ""), false, 0);
    const auto withEmpty = t.CollectListRows("");
    ASSERT_EQ(withEmpty.size(), 3u);
    EXPECT_FALSE(withEmpty[0].bSelect);
    EXPECT_FALSE(withEmpty[1].bSelect);
    EXPECT_TRUE(withEmpty[2].bSelect) << "entry " << withEmpty[2].nIndex << " with no address";
}

TEST(DeviceList, TimerSwitchesToThirtySecondsAtTenRowsAndStays) {
    DeviceListTimer timer;
    EXPECT_EQ(timer.Start(), DEVICE_LIST_FAST_MS);
    const struct {
        int rows;
        unsigned reset; // period the tick sets the timer to, 0 for none
        unsigned period;
    } ticks[] = {{9, 0, 2000}, {10, 30000, 30000}, {3, 0, 30000}, {0, 0, 30000}};
    for (const auto& k : ticks) {
        EXPECT_EQ(timer.OnTick(k.rows), k.reset) << "tick with " << k.rows << " rows";
        EXPECT_EQ(timer.Period(), k.period) << "after a tick with " << k.rows << " rows";
    }
    EXPECT_EQ(timer.Start(), DEVICE_LIST_FAST_MS) << "a new start of the service returns to 2 s";
}
