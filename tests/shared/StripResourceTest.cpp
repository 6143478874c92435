// Reads the picture strip back from this module's resources, as both deliverables carry it, and checks
// it against the picture it should hold: header fields, the five bar cells, padlock and check mark.
#include "WidgetRes.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

struct Rgb {
    int r, g, b;
};
bool operator==(const Rgb& a, const Rgb& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}
std::ostream& operator<<(std::ostream& os, const Rgb& c) {
    return os << "(" << c.r << "," << c.g << "," << c.b << ")";
}
const Rgb kBlack{0, 0, 0}, kSilver{192, 192, 192}, kGreen{0, 255, 0};

class Strip {
public:
    explicit Strip(int id) {
        HRSRC res = FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
        if (!res) return;
        m_size = SizeofResource(nullptr, res);
        HGLOBAL mem = LoadResource(nullptr, res);
        m_bytes = mem ? static_cast<const unsigned char*>(LockResource(mem)) : nullptr;
    }
    bool Found() const { return m_bytes != nullptr; }
    DWORD Size() const { return m_size; }
    BITMAPINFOHEADER Header() const {
        BITMAPINFOHEADER h;
        std::memcpy(&h, m_bytes, sizeof h);
        return h;
    }
    // row 0 is the top row of the picture; rows are stored bottom-up, padded to 4 bytes.
    Rgb At(int x, int row) const {
        const unsigned char* p = m_bytes + 40 + (19 - row) * 528 + x * 3;
        return Rgb{p[2], p[1], p[0]};
    }

private:
    const unsigned char* m_bytes = nullptr;
    DWORD m_size = 0;
};

void CheckHeader(int id) {
    Strip s(id);
    ASSERT_TRUE(s.Found()) << "bitmap " << id << " not in the module's resources";
    ASSERT_GE(s.Size(), 40u + 10562u) << "bitmap " << id;
    const BITMAPINFOHEADER h = s.Header();
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biWidth, 175);
    EXPECT_EQ(h.biHeight, 20) << "positive height: bottom-up rows";
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biBitCount, 24);
    EXPECT_EQ(h.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(h.biSizeImage, 10562u);
    EXPECT_EQ(h.biXPelsPerMeter, 2834);
    EXPECT_EQ(h.biYPelsPerMeter, 2834);
    EXPECT_EQ(h.biClrUsed, 0u);
}

TEST(StripResource, HeaderFieldsOfBothCopies) {
    CheckHeader(IDB_STRIP_MAIN);
    CheckHeader(IDB_STRIP_NETQUILL);
    Strip a(IDB_STRIP_MAIN), b(IDB_STRIP_NETQUILL);
    ASSERT_TRUE(a.Found() && b.Found());
    for (int row = 0; row < 20; ++row)
        for (int x = 0; x < 175; ++x)
            ASSERT_EQ(a.At(x, row), b.At(x, row)) << "the two copies differ at x " << x << " row " << row;
}

TEST(StripResource, BarCells) {
    Strip s(IDB_STRIP_MAIN);
    ASSERT_TRUE(s.Found());
    for (int cell = 0; cell <= 4; ++cell) {
        for (int x = 0; x < 25; ++x) {
            // Bars at x = 1, 6, 11, 16, 21, 4 wide, 4, 8, 12, 16, 20 high; the first cell + 1 green.
            const int bar = (x >= 1 && (x - 1) % 5 < 4) ? (x - 1) / 5 : -1;
            for (int row = 0; row < 20; ++row) {
                Rgb expected = kBlack;
                if (bar >= 0 && row >= 20 - 4 * (bar + 1)) expected = bar <= cell ? kGreen : kSilver;
                ASSERT_EQ(s.At(cell * 25 + x, row), expected)
                    << "cell " << cell << " x " << x << " row " << row;
            }
        }
    }
}

// Bounding box of the silver pixels of one cell within the given rows.
struct Box {
    int left = 99, right = -1, top = 99, bottom = -1;
};
Box SilverBox(const Strip& s, int cell, int firstRow, int lastRow) {
    Box b;
    for (int row = firstRow; row <= lastRow; ++row)
        for (int x = 0; x < 25; ++x)
            if (s.At(cell * 25 + x, row) == kSilver) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, row);
                b.bottom = std::max(b.bottom, row);
            }
    return b;
}

TEST(StripResource, PadlockAndCheckMark) {
    Strip s(IDB_STRIP_MAIN);
    ASSERT_TRUE(s.Found());
    for (int cell = 5; cell <= 6; ++cell)
        for (int row = 0; row < 20; ++row)
            for (int x = 0; x < 25; ++x) {
                const Rgb c = s.At(cell * 25 + x, row);
                ASSERT_TRUE(c == kBlack || c == kSilver)
                    << "cell " << cell << " x " << x << " row " << row << ": " << c;
            }

    const Box shackle = SilverBox(s, 5, 0, 9);
    EXPECT_EQ(shackle.left, 8);
    EXPECT_EQ(shackle.right, 17);
    EXPECT_EQ(shackle.top, 1);
    EXPECT_EQ(shackle.bottom, 9);
    // Two legs of 2 pixels with a hollow between them under the arch.
    for (int row = 3; row <= 9; ++row) {
        EXPECT_EQ(s.At(125 + 8, row), kSilver) << "left leg, row " << row;
        EXPECT_EQ(s.At(125 + 9, row), kSilver) << "left leg, row " << row;
        EXPECT_EQ(s.At(125 + 12, row), kBlack) << "inside of the shackle, row " << row;
        EXPECT_EQ(s.At(125 + 16, row), kSilver) << "right leg, row " << row;
        EXPECT_EQ(s.At(125 + 17, row), kSilver) << "right leg, row " << row;
    }
    for (int row = 0; row < 20; ++row)
        for (int x = 0; x < 25; ++x) {
            const bool body = row >= 10 && row <= 18 && x >= 7 && x <= 18;
            if (row >= 10) {
                EXPECT_EQ(s.At(125 + x, row), body ? kSilver : kBlack)
                    << "padlock body x " << x << " row " << row;
            }
        }

    const Box check = SilverBox(s, 6, 0, 19);
    EXPECT_EQ(check.left, 3);
    EXPECT_EQ(check.right, 20);
    EXPECT_EQ(check.top, 4);
    EXPECT_EQ(check.bottom, 15);
    for (int x = 0; x < 25; ++x)
        EXPECT_EQ(s.At(150 + x, 15), (x == 8 || x == 9) ? kSilver : kBlack) << "low point row 15, x " << x;
    // Every row of the mark is a stroke 2 pixels thick (one run, or two where the arms meet their ends).
    for (int row = 4; row <= 15; ++row) {
        int silver = 0;
        for (int x = 0; x < 25; ++x)
            silver += s.At(150 + x, row) == kSilver;
        EXPECT_TRUE(silver == 2 || silver == 4) << "row " << row << " has " << silver << " silver pixels";
    }
}

} // namespace
