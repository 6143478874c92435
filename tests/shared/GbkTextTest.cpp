#include "GbkText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(GbkText, BoundedCopyKeepsWholeCharacters) {
    struct Case {
        const char* src;
        size_t size;
        std::string expected;
    };
    // "\xCB\xD1\xCB\xF7" is two GBK characters (4 bytes).
    const Case cases[] = {
        {"abc", 8, "abc"},
        {"abcdefghij", 8, "abcdefg"},                // cut to size - 1
        {"\xCB\xD1\xCB\xF7", 5, "\xCB\xD1\xCB\xF7"}, // fits exactly
        {"\xCB\xD1\xCB\xF7", 4, "\xCB\xD1"},         // second character would be cut: left out
        {"a\xCB\xD1", 3, "a"},
        {"ab\xCB\xD1", 4, "ab"},
        {"abc\xCB", 8, "abc\xCB"}, // a lone lead byte at the end is one byte
        {"", 8, ""},
        {"abc", 1, ""},
    };
    // 16 Chinese characters (32 bytes) in a 32-byte field keep 15 (30 bytes), not a half character.
    std::string chinese;
    for (int i = 0; i < 16; ++i)
        chinese += "\xCD\xF8";
    char field[33];
    field[32] = '#';
    EXPECT_EQ(CopyGbkBounded(field, 32, chinese.c_str()), 30u);
    EXPECT_EQ(std::string(field), chinese.substr(0, 30));
    EXPECT_EQ(CopyGbkBounded(field, 32, ("A" + chinese).c_str()), 31u) << "one ASCII byte in front";
    EXPECT_EQ(field[32], '#');

    for (const Case& c : cases) {
        char buf[16];
        std::memset(buf, '#', sizeof buf);
        const size_t n = CopyGbkBounded(buf, c.size, c.src);
        EXPECT_EQ(std::string(buf), c.expected) << "src \"" << c.src << "\" size " << c.size;
        EXPECT_EQ(n, c.expected.size()) << "src \"" << c.src << "\" size " << c.size;
        for (size_t i = n; i < c.size; ++i)
            EXPECT_EQ(buf[i], '\0') << "byte " << i << " not zeroed";
        EXPECT_EQ(buf[c.size], '#') << "wrote past the field of " << c.size << " bytes";
    }
    char buf[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(CopyGbkBounded(buf, sizeof buf, nullptr), 0u);
    EXPECT_EQ(std::string(buf, 4), std::string(4, '\0'));
}

} // namespace
