// The camera configuration file's loading and the decimal reading of the focus-test values.
#include "ConfigFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <direct.h>
#define MakeDir(p) _mkdir(p)
#else
#define MakeDir(p) mkdir(p, 0700)
#endif

namespace {

// A folder of this test's own, so that cases running in parallel never share files.
std::string CaseDir() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string dir = ::testing::TempDir() + "cfg_" + info->name();
    MakeDir(dir.c_str());
    return dir;
}

std::string WriteFile(const std::string& path, const std::vector<char>& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    EXPECT_NE(f, nullptr) << "cannot write " << path;
    if (f) {
        if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
    return path;
}

std::vector<char> Pattern(size_t n) {
    std::vector<char> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = static_cast<char>(i * 7 + 3); // NULs, CR and LF among them
    return v;
}

const char* Name(ConfigLoad r) {
    switch (r) {
    case ConfigLoad::Loaded:
        return "Loaded";
    case ConfigLoad::Empty:
        return "Empty";
    case ConfigLoad::TooLarge:
        return "TooLarge";
    case ConfigLoad::Unreadable:
        return "Unreadable";
    case ConfigLoad::NoBuffer:
        return "NoBuffer";
    case ConfigLoad::ShortRead:
        return "ShortRead";
    }
    return "?";
}

} // namespace

// Each case starts from a buffer that already holds an earlier file of 100 bytes.
TEST(ConfigFile, LoadResultsAndWhatTheBufferHoldsAfterwards) {
    const std::string dir = CaseDir();
    const std::vector<char> earlier = Pattern(100);
    struct Case {
        const char* what;
        std::string path;
        ConfigLoad expected;
        std::vector<char> content; // what the buffer must hold afterwards (the rest zero)
    };
    const std::vector<char> full = Pattern(CONFIG_FILE_MAX);
    const std::vector<Case> cases = {
        {"exactly the largest size", WriteFile(dir + "/full.bin", full), ConfigLoad::Loaded, full},
        {"one byte over", WriteFile(dir + "/over.bin", Pattern(CONFIG_FILE_MAX + 1)), ConfigLoad::TooLarge,
         earlier},
        {"buffer-sized (30720) is still too large", WriteFile(dir + "/buf.bin", Pattern(CONFIG_BUF_SIZE)),
         ConfigLoad::TooLarge, earlier},
        {"empty file", WriteFile(dir + "/empty.bin", {}), ConfigLoad::Empty, {}},
        {"binary bytes stay as they are",
         WriteFile(dir + "/crlf.bin", {'a', '\r', '\n', '\0', 'b', '\x1a', 'c'}),
         ConfigLoad::Loaded,
         {'a', '\r', '\n', '\0', 'b', '\x1a', 'c'}},
        {"missing file", dir + "/missing.bin", ConfigLoad::Unreadable, earlier},
        {"a folder", dir, ConfigLoad::Unreadable, earlier},
    };
    for (const Case& c : cases) {
        std::vector<char> buffer(CONFIG_BUF_SIZE, '\0');
        std::copy(earlier.begin(), earlier.end(), buffer.begin());
        int length = static_cast<int>(earlier.size());
        const ConfigLoad got = LoadConfigFile(c.path.c_str(), buffer.data(), &length);
        EXPECT_EQ(got, c.expected) << c.what << ": got " << Name(got) << ", expected " << Name(c.expected);
        const int expectedLength = c.expected == ConfigLoad::Loaded  ? static_cast<int>(c.content.size())
                                   : c.expected == ConfigLoad::Empty ? 0
                                                                     : static_cast<int>(earlier.size());
        EXPECT_EQ(length, expectedLength) << c.what;
        std::vector<char> expected(CONFIG_BUF_SIZE, '\0');
        std::copy(c.content.begin(), c.content.end(), expected.begin());
        EXPECT_TRUE(buffer == expected) << c.what << ": the buffer does not hold what it should";
    }
}

TEST(ConfigFile, NoBufferIsReportedAfterTheFileOpened) {
    const std::string dir = CaseDir();
    int length = 5;
    EXPECT_EQ(LoadConfigFile(WriteFile(dir + "/a.bin", Pattern(10)).c_str(), nullptr, &length),
              ConfigLoad::NoBuffer);
    EXPECT_EQ(length, 5);
    // A missing file is found out first: the file's status comes before the buffer.
    EXPECT_EQ(LoadConfigFile((dir + "/none.bin").c_str(), nullptr, &length), ConfigLoad::Unreadable);
    ClearConfigBuffer(nullptr, &length);
    EXPECT_EQ(length, 0);
}

// The number push copies the buffer under the lock on the SDK's threads: a load must not change the
// buffer while the lock is held by someone else.
TEST(ConfigFile, LoadWaitsForTheLockBeforeTouchingTheBuffer) {
    const std::string dir = CaseDir();
    const std::string path = WriteFile(dir + "/new.bin", Pattern(64));
    std::vector<char> buffer(CONFIG_BUF_SIZE, 'x');
    int length = 9;
    std::atomic<bool> done{false};
    std::thread loader;
    {
        std::lock_guard<std::mutex> reader(g_ConfigFileLock);
        loader = std::thread([&] {
            LoadConfigFile(path.c_str(), buffer.data(), &length);
            done = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(done.load()) << "the load finished while the reader held the lock";
        EXPECT_EQ(buffer[0], 'x');
        EXPECT_EQ(length, 9);
    }
    loader.join();
    EXPECT_EQ(length, 64);
    EXPECT_EQ(buffer[0], Pattern(64)[0]);
}

TEST(ConfigFile, DecimalValueReadsLikeTheCLibrary) {
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        {"12abc", 12},
        {"-7", -7},
        {"  +5", 5},
        {"abc", 0},
        {"", 0},
        {"0x1F", 0},
        {"3.9", 3},
        {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},
        {"\t42 ", 42},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecimalValue(c.text), c.expected) << "text \"" << c.text << "\"";
    EXPECT_EQ(DecimalValue(nullptr), 0);
}
