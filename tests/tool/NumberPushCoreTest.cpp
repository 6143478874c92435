// Number files: the path of a camera's file, the search by GUID over well-formed, short and corrupt
// files, and the GUID's text for the error log.
#include "NumberFiles.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>

namespace {

using Guid = uint8_t[NUMBER_GUID_SIZE];

void PutI32(std::string& s, size_t at, int32_t v) {
    if (s.size() < at + 4) s.resize(at + 4, '\0');
    for (int i = 0; i < 4; ++i)
        s[at + i] = static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
}

struct Record {
    uint8_t guidSeed; // the GUID's bytes are seed, seed+1, ... (0 gives the all-zero GUID)
    int32_t number;
};

void MakeGuid(uint8_t seed, Guid& g) {
    for (size_t i = 0; i < NUMBER_GUID_SIZE; ++i)
        g[i] = seed == 0 ? 0 : static_cast<uint8_t>(seed + i);
}

// A number file with `count` in its header and the given records.
std::string NumberFile(int32_t count, std::initializer_list<Record> records) {
    std::string s(NUMBER_FILE_HEADER_SIZE, '\0');
    s[0] = 'Q'; // the reserved words hold anything
    PutI32(s, 4, count);
    s[8] = 0x7F;
    for (const Record& r : records) {
        Guid g;
        MakeGuid(r.guidSeed, g);
        s.append(reinterpret_cast<const char*>(g), sizeof g);
        PutI32(s, s.size(), r.number);
    }
    return s;
}

} // namespace

TEST(NumberFiles, PathNamesGroupTypeHundredsFolderAndFile) {
    struct Case {
        const char* base;
        const char* group;
        const char* type;
        int32_t data;
        const char* expected; // '/' stands for the platform's separator
    };
    const Case cases[] = {
        {"base", "A", "IPC", 567, "base/A/IPC/5/567.orv"},
        {"base", "A", "IPC", 99, "base/A/IPC/0/99.orv"},
        {"d:/n", "ZZ", "QNVR", 123456, "d:/n/ZZ/QNVR/1234/123456.orv"},
        {"", "B", "4660", 100, "/B/4660/1/100.orv"}, // an empty base starts at the root
    };
    for (const Case& c : cases) {
        char path[NUMBER_PATH_SIZE];
        ASSERT_TRUE(NumberFilePath(path, Sep(c.base).c_str(), c.group, c.type, c.data)) << c.expected;
        EXPECT_EQ(std::string(path), Sep(c.expected));
    }
}

TEST(NumberFiles, OnlyLettersAndDigitsMayNameAFolder) {
    for (const char* g : {"A", "ZZ", "a1", "123"})
        EXPECT_TRUE(IsLookupGroup(g)) << g;
    for (const char* g : {"", "..", ".", "A\\", "A/B", "A\n", "A\r", "A B", "ABCD", "\xb0\xa1", "A%"})
        EXPECT_FALSE(IsLookupGroup(g)) << g;
    EXPECT_FALSE(IsLookupGroup(nullptr));
}

TEST(NumberFiles, PathTooLongIsNoPathRatherThanACutOne) {
    const std::string base(250, 'x'); // with the rest, past 259 characters
    char path[NUMBER_PATH_SIZE];
    std::memset(path, 'z', sizeof path);
    EXPECT_FALSE(NumberFilePath(path, base.c_str(), "A", "IPC", 567));
    EXPECT_EQ(path[0], '\0') << "a cut path would name another file";
    EXPECT_EQ(FindNumberInFile(path, Guid{}), 0);
}

TEST(NumberFiles, SearchByGuidOverWellFormedShortAndCorruptFiles) {
    struct Case {
        const char* what;
        std::string bytes;
        uint8_t guidSeed;
        int32_t expected;
    };
    std::string truncatedNumber = NumberFile(2, {{1, 100}, {9, 0x01020304}});
    truncatedNumber.resize(truncatedNumber.size() - 2); // the second record loses half its number
    const Case cases[] = {
        {"first record", NumberFile(3, {{1, 100}, {2, 200}, {3, 300}}), 1, 100},
        {"last record", NumberFile(3, {{1, 100}, {2, 200}, {3, 300}}), 3, 300},
        {"no match", NumberFile(3, {{1, 100}, {2, 200}, {3, 300}}), 4, 0},
        {"same GUID twice: the first", NumberFile(2, {{5, 11}, {5, 22}}), 5, 11},
        {"records past the count are not read", NumberFile(1, {{1, 100}, {2, 200}}), 2, 0},
        {"count 0", NumberFile(0, {{1, 100}}), 1, 0},
        {"negative count", NumberFile(-1, {{1, 100}}), 1, 0},
        {"matching record with a negative number", NumberFile(1, {{6, -5}}), 6, -5},
        {"count beyond the file", NumberFile(5, {{1, 100}, {2, 200}}), 2, 200},
        {"count beyond the file, no match", NumberFile(5, {{1, 100}}), 7, 0},
        {"all-zero GUID matches a missing record as number 0", NumberFile(3, {{1, 100}}), 0, 0},
        {"record cut inside its number reads the rest as zeros", truncatedNumber, 9, 0x0304},
        {"header only", NumberFile(1, {}), 1, 0},
        {"header cut before the count", std::string("\x01\x02\x03\x04\x05", 5), 1, 0},
        {"empty file", std::string(), 0, 0},
    };
    // Records on both sides of the read blocks' edges, the one cut by an edge among them.
    std::string large = NumberFile(10000, {});
    for (int i = 0; i < 10000; ++i) {
        Guid g;
        MakeGuid(static_cast<uint8_t>(i % 250 + 1), g);
        g[15] = static_cast<uint8_t>(i / 250);
        large.append(reinterpret_cast<const char*>(g), sizeof g);
        PutI32(large, large.size(), 1000000 + i);
    }
    const size_t edge = (NUMBER_READ_BLOCK - 1) / NUMBER_FILE_RECORD_SIZE; // the record across the first edge
    for (const size_t i : {edge - 1, edge, edge + 1, size_t{9999}}) {
        ScratchFolder dir;
        ASSERT_TRUE(WriteBytes(dir / "n.orv", large));
        Guid g;
        MakeGuid(static_cast<uint8_t>(i % 250 + 1), g);
        g[15] = static_cast<uint8_t>(i / 250);
        EXPECT_EQ(FindNumberInFile((dir / "n.orv").c_str(), g), static_cast<int32_t>(1000000 + i))
            << "record " << i;
    }

    ScratchFolder dir;
    for (const Case& c : cases) {
        const std::string path = dir / "n.orv";
        ASSERT_TRUE(WriteBytes(path, c.bytes)) << c.what;
        Guid g;
        MakeGuid(c.guidSeed, g);
        EXPECT_EQ(FindNumberInFile(path.c_str(), g), c.expected) << c.what;
    }
}

TEST(NumberFiles, HugeCountInAShortFileEndsAtOnce) {
    ScratchFolder dir;
    const std::string path = dir / "n.orv";
    ASSERT_TRUE(WriteBytes(path, NumberFile(0x7FFFFFFF, {{1, 100}})));
    Guid g;
    MakeGuid(2, g);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(FindNumberInFile(path.c_str(), g), 0);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
            .count();
    EXPECT_LT(ms, 1000) << "the search went on past the end of the file";
}

TEST(NumberFiles, MissingFileOrFolderIsNotFound) {
    ScratchFolder dir;
    Guid g;
    MakeGuid(1, g);
    EXPECT_EQ(FindNumberInFile((dir / "absent.orv").c_str(), g), 0);
    EXPECT_EQ(FindNumberInFile((dir / Sep("no/such/folder/1.orv")).c_str(), g), 0);
    EXPECT_EQ(FindNumberInFile(dir.Path().c_str(), g), 0) << "a folder is no number file";
}

TEST(NumberFiles, GuidTextTakesItsFieldsLittleEndian) {
    const Guid g = {0x78, 0x56, 0x34, 0x12, 0xBC, 0x9A, 0xF0, 0xDE,
                    0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    char text[GUID_TEXT_SIZE];
    FormatGuidText(g, text);
    EXPECT_STREQ(text, "{12345678-9ABC-DEF0-0123-456789ABCDEF}");
    EXPECT_EQ(std::strlen(text), 38u);

    Guid ff;
    std::memset(ff, 0xFF, sizeof ff);
    FormatGuidText(ff, text);
    EXPECT_STREQ(text, "{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}");
}
