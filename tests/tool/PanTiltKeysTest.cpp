// The pan-tilt test sequence and the plug-in's parameter text.
#include "CfgPacket.h"
#include "PanTiltKeys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct RecordingHooks : PanTiltSequenceHooks {
    std::vector<std::string> ops;
    std::vector<unsigned> waits;
    unsigned long now = 1700000000;
    void EmptyOperation() override { ops.push_back("empty"); }
    void Move(int command, int speed) override {
        ops.push_back("move " + std::to_string(command) + "," + std::to_string(speed));
    }
    void Command(int code) override { ops.push_back("command " + std::to_string(code)); }
    void Wait(unsigned ms) override {
        ops.push_back("wait");
        waits.push_back(ms);
        now += 1; // every pause takes us into a later second
    }
    unsigned long NowSeconds() override { return now; }
};

} // namespace

TEST(PanTiltSequence, ThreePassesThenTheClosingPauses) {
    RecordingHooks hooks;
    RunPanTiltTestSequence(hooks);

    std::vector<std::string> expected;
    for (int direction : {2, 1, 2}) {
        for (const std::string& op : {std::string("empty"), std::string("move 4,255"), std::string("wait"),
                                      std::string("command 21"), "move " + std::to_string(direction) + ",255",
                                      std::string("wait"), std::string("command 21"), std::string("wait")})
            expected.push_back(op);
    }
    for (const char* op : {"empty", "wait", "wait"})
        expected.push_back(op);
    EXPECT_EQ(hooks.ops, expected);

    // Each pause: its draw seeded with the second it was drawn in, inside its range.
    ASSERT_EQ(hooks.waits.size(), 11u);
    const struct {
        unsigned least, range;
    } pauses[] = {{800, 3200}, {600, 2400}, {0, 0},       {800, 3200}, {1000, 2000},
                  {0, 0},      {800, 3200}, {1500, 1500}, {0, 0}};
    unsigned long second = 1700000000;
    unsigned total = 0;
    for (size_t i = 0; i < 9; ++i) {
        const unsigned got = hooks.waits[i];
        total += got;
        if (pauses[i].range == 0) {
            EXPECT_EQ(got, 3000u) << "pause " << i;
        } else {
            EXPECT_EQ(got, PanTiltPause(second, pauses[i].least, pauses[i].range)) << "pause " << i;
            EXPECT_GE(got, pauses[i].least) << "pause " << i;
            EXPECT_LT(got, pauses[i].least + pauses[i].range) << "pause " << i;
        }
        ++second;
    }
    EXPECT_EQ(hooks.waits[9], 100u);
    EXPECT_EQ(hooks.waits[10], 100u);
    total += 200;
    EXPECT_GE(total, 14700u);
    EXPECT_LE(total, 30200u);
}

namespace {

// A receive buffer of `size` bytes holding a kind-5 packet whose text offset is nType.
std::vector<char> Packet(size_t size, int32_t nType, size_t textAt, const std::string& text) {
    std::vector<char> buf(size, '\0');
    CfgPacket header{};
    header.header = 5 | (7u << 13);
    header.nType = nType;
    memcpy(buf.data(), &header, sizeof header);
    memcpy(buf.data() + textAt, text.data(), text.size());
    return buf;
}

} // namespace

TEST(PanTiltPlugin, ParamTextStartsAtTheOffsetAndStaysInsideTheBuffer) {
    const struct {
        const char* what;
        size_t size;
        int32_t nType;
        size_t textAt;
        std::string text;
        std::string expected;
    } cases[] = {
        {"offset 0", 256, 0, 20, "PTZ=1;", "PTZ=1;"},
        {"offset 8: bytes before it are skipped", 256, 8, 20, "JUNKJUNKSPEED=5;", "SPEED=5;"},
        {"ends at the first NUL", 256, 0, 20, std::string("A=1;\0B=2;", 9), "A=1;"},
        {"offset past the buffer", 256, 300, 20, "X=1;", ""},
        {"offset just at the buffer's end", 256, 236, 20, "X=1;", ""},
        {"negative offset", 256, -4, 20, "X=1;", ""},
        {"huge offset", 256, 0x7FFFFFF0, 20, "X=1;", ""},
        {"text without NUL up to the buffer's end", 24, 0, 20, "ABCD", "ABCD"},
        {"a buffer shorter than a header", 12, 0, 0, "", ""},
    };
    for (const auto& c : cases) {
        std::vector<char> buf =
            Packet(std::max<size_t>(c.size, sizeof(CfgPacket)), c.nType, c.textAt, c.text);
        EXPECT_EQ(SwivelParamText(buf.data(), c.size), c.expected) << c.what;
    }
    EXPECT_EQ(SwivelParamText(nullptr, 100), "");
}
