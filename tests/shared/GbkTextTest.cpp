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
        {"abcdefghij", 8, "abcdefg"},              // cut to size - 1
        {"\xCB\xD1\xCB\xF7", 5, "\xCB\xD1\xCB\xF7"}, // fits exactly
        {"\xCB\xD1\xCB\xF7", 4, "\xCB\xD1"},         // second character would be cut: left out
        {"a\xCB\xD1", 3, "a"},
        {"ab\xCB\xD1", 4, "ab"},
        {"abc\xCB", 8, "abc\xCB"},                   // a lone lead byte at the end is one byte
        {"", 8, ""},
        {"abc", 1, ""},
    };
    for (const Case& c : cases) {
        char buf[16];
        std::memset(buf, '#', sizeof buf);
        const size_t n = CopyGbkBounded(buf, c.size, c.src);
        EXPECT_EQ(std::string(buf), c.expected) << "src \"" << c.src << "\" size " << c.size;
        EXPECT_EQ(n, c.expected.size()) << "src \"" << c.src << "\" size " << c.size;
        for (size_t i = n; i < c.size; ++i) EXPECT_EQ(buf[i], '\0') << "byte " << i << " not zeroed";
        EXPECT_EQ(buf[c.size], '#') << "wrote past the field of " << c.size << " bytes";
    }
    char buf[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(CopyGbkBounded(buf, sizeof buf, nullptr), 0u);
    EXPECT_EQ(std::string(buf, 4), std::string(4, '\0'));
}

TEST(GbkText, ThirtyOneByteFieldOfChineseText) {
    // 16 GBK characters are 32 bytes: a 32-byte field keeps 15 of them (30 bytes), not 31 bytes.
    std::string text;
    for (int i = 0; i < 16; ++i) text += "\xCD\xF8";
    char field[32];
    EXPECT_EQ(CopyGbkBounded(field, sizeof field, text.c_str()), 30u);
    EXPECT_EQ(std::string(field), text.substr(0, 30));
    // With one ASCII byte in front the cut falls after 31 bytes exactly.
    text = "A" + text;
    EXPECT_EQ(CopyGbkBounded(field, sizeof field, text.c_str()), 31u);
}

} // namespace
