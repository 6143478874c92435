// The camera configuration file's loading and the decimal reading of the focus-test values.
#include "ConfigFile.h"
#include "FakeFileOps.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include <direct.h>
#include <windows.h>
#include <winioctl.h>
#define MakeDir(p) _mkdir(p)
#else
#include <unistd.h>
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
}

// Sizes are 64 bits: a file whose low 32 bits of size are small is still far too large, and nothing
// of it is read.
TEST(ConfigFile, SizesAbove4GiBAreTooLarge) {
    for (const uint64_t size :
         {(uint64_t{1} << 32) + 10, uint64_t{3} << 30, (uint64_t{1} << 32) + CONFIG_FILE_MAX}) {
        SizedFileOps ops;
        ops.size = size;
        ops.content = "0123456789";
        std::vector<char> buffer(CONFIG_BUF_SIZE, 'x');
        int length = 7;
        EXPECT_EQ(LoadConfigFile("big.cfg", buffer.data(), &length, ops), ConfigLoad::TooLarge) << size;
        EXPECT_EQ(length, 7) << size;
        EXPECT_EQ(buffer[0], 'x') << size;
        EXPECT_EQ(ops.reads, 0) << size;
    }
    // Through the system's own size path, on a sparse file of 4 GiB + 10 bytes.
    const std::string big = CaseDir() + "/big.cfg";
#ifdef _WIN32
    HANDLE h =
        CreateFileA(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD ignored;
    DeviceIoControl(h, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = (LONGLONG{1} << 32) + 10;
    const bool sized = SetFilePointerEx(h, end, nullptr, FILE_BEGIN) && SetEndOfFile(h);
    CloseHandle(h);
#else
    const bool sized = truncate(WriteFile(big, {}).c_str(), (off_t{1} << 32) + 10) == 0;
#endif
    ASSERT_TRUE(sized) << "no sparse file of 4 GiB here";
    std::vector<char> buffer(CONFIG_BUF_SIZE, 'x');
    int length = 7;
    EXPECT_EQ(LoadConfigFile(big.c_str(), buffer.data(), &length), ConfigLoad::TooLarge);
    EXPECT_EQ(length, 7);
    std::remove(big.c_str());
}

// The device SDK sends a snapshot after the number push has returned: neither a later load nor a
// cancel may change the bytes of one already handed out.
TEST(ConfigFile, SnapshotsHandedOutNeverChange) {
    const std::string dir = CaseDir();
    const std::vector<char> first = Pattern(64), second(100, 'z');
    WriteFile(dir + "/first.bin", first);
    WriteFile(dir + "/second.bin", second);
    ConfigStore store;
    const ConfigSnapshot none = store.Current();
    ASSERT_NE(none.data, nullptr);
    EXPECT_EQ(none.length, 0);

    ASSERT_EQ(store.Load((dir + "/first.bin").c_str()), ConfigLoad::Loaded);
    const ConfigSnapshot a = store.Current();
    ASSERT_EQ(a.length, 64);
    ASSERT_EQ(store.Load((dir + "/second.bin").c_str()), ConfigLoad::Loaded);
    const ConfigSnapshot b = store.Current();
    EXPECT_EQ(b.length, 100);
    EXPECT_EQ(std::string(b.data, 100), std::string(second.begin(), second.end()));
    EXPECT_EQ(store.Load((dir + "/missing.bin").c_str()), ConfigLoad::Unreadable);
    EXPECT_EQ(store.Current().data, b.data) << "a failed load keeps the snapshot in force";
    store.Clear();
    EXPECT_EQ(store.Current().length, 0);
    EXPECT_EQ(std::string(a.data, 64), std::string(first.begin(), first.end())) << "a later load changed it";
    EXPECT_EQ(std::string(b.data, 100), std::string(second.begin(), second.end())) << "the cancel changed it";
    for (int i = 0; i < CONFIG_BUF_SIZE; ++i)
        ASSERT_EQ(none.data[i], '\0') << "the empty snapshot at " << i;
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
