#include "Connection.h"
#include "CredentialCopy.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

TEST(Connection, FindFreeWindow) {
    const struct {
        int states[4];
        int selected;
        int expected;
        int stateCalls; // windows asked before the answer; the selection is asked only when all are busy
    } cases[] = {
        {{0, 0, 0, 0}, 3, 1, 1},
        {{2, 0, 2, 0}, 4, 2, 2}, // windows 1 and 3 connected: the next camera goes to 2
        {{1, 2, 3, 0}, 1, 3, 3}, // connecting counts as busy, failed as free
        {{2, 1, 2, 2}, 3, 3, 4}, // all busy: the selected window's camera is replaced
        {{2, 2, 2, 1}, 0, 0, 4}, // all busy, none selected: nothing may connect
        {{2, 2, 2, 2}, 5, 0, 4},
    };
    for (const auto& c : cases) {
        int stateCalls = 0;
        bool askedSelected = false;
        const int window = FindFreeWindow([&](int w) { return ++stateCalls, c.states[w - 1]; },
                                          [&] { return askedSelected = true, c.selected; });
        const std::string label = "states " + std::to_string(c.states[0]) + std::to_string(c.states[1]) +
                                  std::to_string(c.states[2]) + std::to_string(c.states[3]);
        EXPECT_EQ(window, c.expected) << label << ", selected " << c.selected;
        EXPECT_EQ(stateCalls, c.stateCalls) << label;
        EXPECT_EQ(askedSelected, c.stateCalls == 4) << label;
    }
}

TEST(Connection, PortFromText) {
    const struct {
        const char* text;
        int32_t port;
    } cases[] = {{"8000", 8000},
                 {"", 0},
                 {"abc", 0},
                 {"-80", 0},
                 {"80x1", 80},
                 {nullptr, 0},
                 {"99999999999", INT32_MAX}};
    for (const auto& c : cases)
        EXPECT_EQ(PortFromText(c.text), c.port) << "text \"" << (c.text ? c.text : "NULL") << "\"";
}

TEST(Connection, ChnInfoBytesAtTheirOffsetsTextsCutToFit) {
    const auto text = [](const unsigned char* rec, size_t at) {
        return std::string(reinterpret_cast<const char*>(rec + at));
    };
    const auto i32 = [](const unsigned char* rec, size_t at) {
        return int32_t(uint32_t(rec[at]) | uint32_t(rec[at + 1]) << 8 | uint32_t(rec[at + 2]) << 16 |
                       uint32_t(rec[at + 3]) << 24);
    };
    unsigned char rec[CHNINFO_SIZE + 4];
    std::memset(rec, 0xAA, sizeof rec);
    FillChnInfo(rec, {"192.168.1.64", 8000, "A123456", "admin", "secret", 3});
    EXPECT_EQ(text(rec, 100), "192.168.1.64");
    EXPECT_EQ(i32(rec, 248), 8000);
    EXPECT_EQ(text(rec, 252), "A123456");
    EXPECT_EQ(text(rec, 269), "admin");
    EXPECT_EQ(text(rec, 301), "secret");
    EXPECT_EQ(i32(rec, 336), 1);
    EXPECT_EQ(i32(rec, 340), 3);
    size_t nonZero = 0;
    for (size_t i = 0; i < CHNINFO_SIZE; ++i)
        nonZero += rec[i] != 0;
    EXPECT_EQ(nonZero, 12u + 2u + 7u + 5u + 6u + 1u + 1u) << "bytes outside the named fields were written";
    EXPECT_EQ(rec[CHNINFO_SIZE], 0xAA) << "written past the record";

    const std::string longUser(40, 'u'), longPass(300, 'p');
    FillChnInfo(rec,
                {"1234567890123456789", 1, "ABC12345678901234567", longUser.c_str(), longPass.c_str(), 1});
    EXPECT_EQ(text(rec, 100), "1234567890123456");
    EXPECT_EQ(text(rec, 252), "ABC1234567890123");
    EXPECT_EQ(text(rec, 269), std::string(31, 'u'));
    EXPECT_EQ(text(rec, 301), std::string(31, 'p'));
    EXPECT_EQ(i32(rec, 336), 1) << "a long password ran into the next field";
}

TEST(Connection, VersionPollCounterRunsAcrossConnections) {
    const struct {
        const char* version;
        int versionWnd, selected;
        int store, show;
        bool kill;
        int counter;
    } ticks[] = {
        {nullptr, 2, 1, 0, 0, false, 0}, // pending: not counted, selection not asked
        {"", 2, 1, 0, 0, false, 1},      // an empty answer counts but shows nothing
        {"V1.0", 2, 0, 2, 0, false, 2},  // no window selected: stored, and the poll goes on
        {"V1.0", 2, 0, 2, 0, true, 0},   // third answer with a text: the counter rule stops the poll
        {"V2.0", 3, 1, 3, 1, true, 1},   // another window selected: its own version is shown
        {"", 3, 1, 0, 0, false, 2},      {"", 3, 1, 0, 0, false, 3}, // 3 reached on an empty text: not reset
        {"V2.0", 0, 0, 0, 0, false, 4}, // no window of the last connect: nothing stored
    };
    VersionPoll poll;
    int n = 0;
    for (const auto& t : ticks) {
        bool asked = false;
        const VersionPollStep step =
            poll.Tick(t.version, t.versionWnd, [&] { return asked = true, t.selected; });
        EXPECT_EQ(step.nStoreWindow, t.store) << "tick " << n;
        EXPECT_EQ(step.nShowWindow, t.show) << "tick " << n;
        EXPECT_EQ(step.bKillTimer, t.kill) << "tick " << n;
        EXPECT_EQ(poll.Counter(), t.counter) << "tick " << n;
        EXPECT_EQ(asked, t.version != nullptr && *t.version != '\0') << "tick " << n;
        ++n;
    }
    const std::string longVersion(200, 'v');
    EXPECT_EQ(poll.Tick(longVersion.c_str(), 1, [] { return 0; }).strText,
              std::string(VERSION_TEXT_MAX, 'v'));
}

TEST(CredentialCopy, CallbacksReadWholePairsWhileUiChangesThem) {
    CredentialCopy copy;
    char user[CREDENTIAL_FIELD_SIZE], pass[CREDENTIAL_FIELD_SIZE];
    const std::string longUser(300, 'L');
    copy.Set(longUser.c_str(), nullptr);
    copy.Get(user, pass);
    EXPECT_EQ(std::string(user), std::string(255, 'L'));
    EXPECT_STREQ(pass, "");

    // The UI thread switches between two operators; the SDK's threads must see one or the other whole.
    const std::string userA = "admin", passA = "12345", userB(255, 'b'), passB(200, 'q');
    copy.Set(userA.c_str(), passA.c_str());
    std::atomic<bool> stop{false};
    std::atomic<int> torn{0};
    std::vector<std::thread> readers;
    for (int k = 0; k < 4; ++k) {
        readers.emplace_back([&] {
            char u[CREDENTIAL_FIELD_SIZE], p[CREDENTIAL_FIELD_SIZE];
            while (!stop.load(std::memory_order_relaxed)) {
                copy.Get(u, p);
                if (!(userA == u && passA == p) && !(userB == u && passB == p)) ++torn;
            }
        });
    }
    for (int i = 0; i < 20000; ++i)
        copy.Set((i % 2 ? userA : userB).c_str(), (i % 2 ? passA : passB).c_str());
    stop = true;
    for (std::thread& r : readers)
        r.join();
    EXPECT_EQ(torn.load(), 0) << "reads mixed two pairs or caught a text half-written";
}
