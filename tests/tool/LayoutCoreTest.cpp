// The anchoring arithmetic, without windows: where each entry's control goes for a given change.
#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <vector>

#include "LayoutCore.h"
#include "MainLayout.h"
#include "resource.h"

// Beside LayoutBox, so that failure messages can print it.
std::ostream& operator<<(std::ostream& os, const LayoutBox& b) {
    return os << "(" << b.x << ", " << b.y << ", " << b.w << ", " << b.h << ")";
}

namespace {

struct PlaceCase {
    const char* what;
    LayoutEntry entry;
    LayoutBox before;
    int dx, dy, cx, cy;
    LayoutBox expected;
};

TEST(LayoutCore, PlaceControlFollowsFlagsModesAndShares) {
    const LayoutBox r{100, 50, 40, 20};
    // clang-format off
    const PlaceCase cases[] = {
        {"move x, full share", {1, LAYOUT_MOVE_X, 100, 0, false, 0, 0}, r, 30, 10, 1000, 1000, {130, 50, 40, 20}},
        {"move x, half share", {1, LAYOUT_MOVE_X, 100, 1, false, 0, 0}, r, 31, 10, 1000, 1000, {115, 50, 40, 20}},
        {"move x, mode 2 is half too", {1, LAYOUT_MOVE_X, 100, 2, false, 0, 0}, r, 30, 10, 1000, 1000, {115, 50, 40, 20}},
        {"move x, unknown mode stays", {1, LAYOUT_MOVE_X, 100, 3, false, 0, 0}, r, 30, 10, 1000, 1000, {100, 50, 40, 20}},
        {"move y, full share", {1, LAYOUT_MOVE_Y, 100, 0, false, 0, 0}, r, 30, 10, 1000, 1000, {100, 60, 40, 20}},
        {"move y, half share", {1, LAYOUT_MOVE_Y, 100, 1, false, 0, 0}, r, 30, 11, 1000, 1000, {100, 55, 40, 20}},
        {"move both, mode 0", {1, LAYOUT_MOVE_XY, 100, 0, false, 0, 0}, r, 30, 10, 1000, 1000, {130, 60, 40, 20}},
        {"move both, mode 1 halves x", {1, LAYOUT_MOVE_XY, 100, 1, false, 0, 0}, r, 30, 10, 1000, 1000, {115, 60, 40, 20}},
        {"move both, mode 2 halves y", {1, LAYOUT_MOVE_XY, 100, 2, false, 0, 0}, r, 30, 10, 1000, 1000, {130, 55, 40, 20}},
        {"move both adds to move x", {1, LAYOUT_MOVE_X | LAYOUT_MOVE_XY, 100, 0, false, 0, 0}, r, 30, 10, 1000, 1000, {160, 60, 40, 20}},
        {"grow width", {1, LAYOUT_GROW_W, 100, 0, false, 0, 0}, r, 30, 10, 1000, 1000, {100, 50, 70, 20}},
        {"grow height", {1, LAYOUT_GROW_H, 100, 0, false, 0, 0}, r, 30, 10, 1000, 1000, {100, 50, 40, 30}},
        {"grow both", {1, LAYOUT_GROW_WH, 100, 0, false, 0, 0}, r, 30, 10, 1000, 1000, {100, 50, 70, 30}},
        {"grow ignores the mode", {1, LAYOUT_GROW_WH, 100, 1, false, 0, 0}, r, 30, 10, 1000, 1000, {100, 50, 70, 30}},
        {"percent share truncates toward zero", {1, LAYOUT_MOVE_XY, 50, 0, false, 0, 0}, r, 33, -33, 1000, 1000, {116, 34, 40, 20}},
        {"negative half share truncates toward zero", {1, LAYOUT_MOVE_X, 100, 1, false, 0, 0}, r, -3, 0, 1000, 1000, {99, 50, 40, 20}},
        {"percent 0 moves nothing", {1, LAYOUT_MOVE_XY | LAYOUT_GROW_WH, 0, 0, false, 0, 0}, r, 300, 300, 1000, 1000, {100, 50, 40, 20}},
        {"shrinking below zero gives zero", {1, LAYOUT_GROW_WH, 100, 0, false, 0, 0}, r, -60, -30, 1000, 1000, {100, 50, 0, 0}},
        {"keep minimum stops the shrink", {1, LAYOUT_GROW_WH, 100, 0, true, 35, 18}, r, -20, -10, 1000, 1000, {100, 50, 35, 18}},
        {"crossing the right edge ends 5 inside", {1, LAYOUT_GROW_W, 100, 0, false, 0, 0}, r, 100, 0, 200, 1000, {100, 50, 95, 20}},
        {"crossing the bottom edge ends 5 inside", {1, LAYOUT_GROW_H, 100, 0, false, 0, 0}, r, 0, 100, 1000, 100, {100, 50, 40, 45}},
        {"a control ending exactly on the edge is not cut", {1, 0, 100, 0, false, 0, 0}, r, 0, 0, 140, 70, {100, 50, 40, 20}},
        {"cut next to the edge never goes negative", {1, LAYOUT_MOVE_XY, 100, 0, false, 0, 0}, r, 2, 2, 105, 55, {102, 52, 0, 0}},
    };
    // clang-format on
    for (const PlaceCase& c : cases) {
        LayoutBox got = LayoutPlaceControl(c.entry, c.before, c.dx, c.dy, c.cx, c.cy);
        EXPECT_EQ(got, c.expected) << c.what << ": got " << got << ", expected " << c.expected;
    }
}

TEST(LayoutCore, PlaceVideoKeepsTopAndGrowsByFirstShare) {
    const LayoutBox r{8, 3, 800, 700};
    // clang-format off
    const PlaceCase cases[] = {
        {"first entry moving both ways: the box only grows", {1005, LAYOUT_MOVE_XY, 100, 0, false, 0, 0}, r, 50, 40, 1226, 1000, {8, 3, 850, 740}},
        {"first entry moving x: the box moves too", {1005, LAYOUT_MOVE_X, 100, 0, false, 0, 0}, r, 50, 40, 2000, 2000, {58, 3, 850, 740}},
        {"half share of the first entry", {1005, LAYOUT_MOVE_X, 50, 1, false, 0, 0}, r, 50, 40, 2000, 2000, {20, 3, 825, 720}},
        {"first entry's minimum applies", {1005, LAYOUT_MOVE_XY, 100, 0, true, 790, 690}, r, -50, -40, 2000, 2000, {8, 3, 790, 690}},
        {"clamped to the client area", {1005, LAYOUT_MOVE_XY, 100, 0, false, 0, 0}, r, 50, 40, 700, 600, {8, 3, 687, 592}},
    };
    // clang-format on
    for (const PlaceCase& c : cases) {
        LayoutBox got = LayoutPlaceVideo(c.entry, c.before, c.dx, c.dy, c.cx, c.cy);
        EXPECT_EQ(got, c.expected) << c.what << ": got " << got << ", expected " << c.expected;
    }
}

// Controls of a pretend dialog; records the moves in order.
class FakeControls final : public LayoutControls {
public:
    std::map<int, LayoutBox> boxes;
    std::vector<int> moved;

    bool GetBox(int nId, LayoutBox* pBox) override {
        auto it = boxes.find(nId);
        if (it == boxes.end()) return false;
        *pBox = it->second;
        return true;
    }
    void MoveTo(int nId, const LayoutBox& box) override {
        boxes[nId] = box;
        moved.push_back(nId);
    }
};

TEST(LayoutCore, ApplySkipsMissingControlsAndUnusablePercents) {
    LayoutEntry table[] = {
        {10, LAYOUT_MOVE_XY, 100, 0, false, 0, 0},
        {11, LAYOUT_MOVE_XY, 100, 0, false, 0, 0}, // not in the dialog
        {12, LAYOUT_MOVE_XY, 101, 0, false, 0, 0}, // percent out of range
        {13, LAYOUT_MOVE_XY, -1, 0, false, 0, 0},  // percent out of range
        {14, LAYOUT_MOVE_X, 100, 0, false, 0, 0},
    };
    FakeControls c;
    c.boxes = {{10, {500, 10, 100, 50}},
               {12, {500, 100, 10, 10}},
               {13, {500, 120, 10, 10}},
               {14, {500, 200, 10, 10}},
               {1015, {5, 5, 480, 400}}};
    ASSERT_TRUE(LayoutApply(table, 5, 1015, c, 20, 30, 640, 480));

    EXPECT_EQ(c.moved, (std::vector<int>{10, 14, 1015}))
        << "moved controls in table order, then the group box";
    EXPECT_EQ(c.boxes[10], (LayoutBox{520, 40, 100, 50}));
    EXPECT_EQ(c.boxes[12], (LayoutBox{500, 100, 10, 10})) << "percent 101 must leave the control alone";
    EXPECT_EQ(c.boxes[13], (LayoutBox{500, 120, 10, 10})) << "percent -1 must leave the control alone";
    EXPECT_EQ(c.boxes[14], (LayoutBox{520, 200, 10, 10}));
    EXPECT_EQ(c.boxes[1015], (LayoutBox{5, 5, 500, 430}));
}

TEST(LayoutCore, ApplyReportsWhenTheVideoBoxCannotBeFitted) {
    LayoutEntry good[] = {{10, LAYOUT_MOVE_XY, 100, 0, false, 0, 0}};
    LayoutEntry badFirst[] = {{10, LAYOUT_MOVE_XY, 200, 0, false, 0, 0},
                              {11, LAYOUT_MOVE_XY, 100, 0, false, 0, 0}};

    FakeControls noVideo;
    noVideo.boxes = {{10, {500, 10, 100, 50}}};
    EXPECT_FALSE(LayoutApply(good, 1, 1015, noVideo, 20, 30, 640, 480)) << "no group box: the base must stay";
    EXPECT_EQ(noVideo.moved, (std::vector<int>{10}))
        << "the controls still move before the group box is looked at";

    FakeControls withVideo;
    withVideo.boxes = {{10, {500, 10, 100, 50}}, {11, {500, 100, 10, 10}}, {1015, {5, 5, 480, 400}}};
    EXPECT_FALSE(LayoutApply(badFirst, 2, 1015, withVideo, 20, 30, 640, 480))
        << "first entry's percent unusable: the group box is not fitted";
    EXPECT_EQ(withVideo.moved, (std::vector<int>{11}));

    FakeControls empty;
    EXPECT_FALSE(LayoutApply(nullptr, 3, 1015, empty, 20, 30, 640, 480));
    EXPECT_FALSE(LayoutApply(good, 0, 1015, empty, 20, 30, 640, 480));
    EXPECT_TRUE(empty.moved.empty());
}

TEST(LayoutCore, MainTableMovesTheRightHandColumnWithTheCorner) {
    const int expectedIds[kMainLayoutCount] = {1005, 1004, 1022, 1024, 1021, 1076, 1083, 1077, 1035,  1036,
                                               1037, 1080, 1060, 1086, 1063, 1084, 1081, 1055, 10101, 1085,
                                               1087, 1091, 1061, 1101, 1093, 1089, 1006, 1090, 1007,  1100};
    const LayoutEntry* table = MainLayoutTable();
    ASSERT_EQ(table, MainLayoutTable()) << "the table is one per process";
    for (unsigned i = 0; i < kMainLayoutCount; ++i) {
        const LayoutEntry& e = table[i];
        EXPECT_EQ(e.nId, expectedIds[i]) << "entry " << i;
        EXPECT_EQ(e.nFlags, LAYOUT_MOVE_XY) << "entry " << i << " (id " << e.nId << ")";
        EXPECT_EQ(e.nPercent, 100) << "entry " << i << " (id " << e.nId << ")";
        EXPECT_EQ(e.nMode, 0) << "entry " << i << " (id " << e.nId << ")";
        EXPECT_FALSE(e.bKeepMin) << "entry " << i << " (id " << e.nId << ")";
    }
}

} // namespace
