#include "StripBitmap.h"

namespace {

bool InBar(int x, int row) {
    // Bar j: 4 pixels wide at x = 1 + 5j, standing on the bottom row, 4 * (j + 1) pixels high.
    for (int j = 0; j < 5; ++j) {
        const int left = 1 + 5 * j;
        const int height = 4 * (j + 1);
        if (x >= left && x < left + 4 && row >= STRIP_CELL_HEIGHT - height) return true;
    }
    return false;
}

int BarIndex(int x) {
    return (x - 1) / 5;
}

bool InPadlock(int x, int row) {
    // Shackle, 2 pixels thick, x 8..17 over rows 1..9; body x 7..18 over rows 10..18.
    if (row == 1) return x >= 10 && x <= 15;
    if (row == 2) return x >= 9 && x <= 16;
    if (row >= 3 && row <= 9) return (x >= 8 && x <= 9) || (x >= 16 && x <= 17);
    if (row >= 10 && row <= 18) return x >= 7 && x <= 18;
    return false;
}

bool InCheckMark(int x, int row) {
    // Two pixels per row: the short arm from (3..4, 10) down to the low point (8..9, 15), the long
    // arm from (9..10, 14) up to (19..20, 4).
    if (row >= 10 && row <= 15 && (x == row - 7 || x == row - 6)) return true;
    if (row >= 4 && row <= 14 && (x == 23 - row || x == 24 - row)) return true;
    return false;
}

void Put16(std::vector<uint8_t>& v, uint32_t value) {
    v.push_back(uint8_t(value));
    v.push_back(uint8_t(value >> 8));
}

void Put32(std::vector<uint8_t>& v, uint32_t value) {
    Put16(v, value & 0xFFFF);
    Put16(v, value >> 16);
}

} // namespace

StripRgb StripPixel(int x, int row) {
    if (x < 0 || x >= STRIP_WIDTH || row < 0 || row >= STRIP_CELL_HEIGHT) return STRIP_BLACK;
    const int cell = x / STRIP_CELL_WIDTH;
    const int cx = x % STRIP_CELL_WIDTH;
    if (cell <= 4) {
        if (!InBar(cx, row)) return STRIP_BLACK;
        return BarIndex(cx) <= cell ? STRIP_GREEN : STRIP_SILVER;
    }
    if (cell == 5) return InPadlock(cx, row) ? STRIP_SILVER : STRIP_BLACK;
    return InCheckMark(cx, row) ? STRIP_SILVER : STRIP_BLACK;
}

std::vector<uint8_t> BuildStripBitmapFile() {
    const uint32_t stride = (STRIP_WIDTH * 3 + 3) & ~3u;       // 528
    const uint32_t imageSize = stride * STRIP_CELL_HEIGHT + 2; // 10562
    const uint32_t offBits = 14 + 40;
    std::vector<uint8_t> f;
    f.reserve(offBits + imageSize);
    // BITMAPFILEHEADER
    f.push_back('B');
    f.push_back('M');
    Put32(f, offBits + imageSize);
    Put32(f, 0);
    Put32(f, offBits);
    // BITMAPINFOHEADER
    Put32(f, 40);
    Put32(f, STRIP_WIDTH);
    Put32(f, STRIP_CELL_HEIGHT); // positive: bottom-up
    Put16(f, 1);
    Put16(f, 24);
    Put32(f, 0); // BI_RGB
    Put32(f, imageSize);
    Put32(f, 2834);
    Put32(f, 2834);
    Put32(f, 0);
    Put32(f, 0);
    for (int row = STRIP_CELL_HEIGHT - 1; row >= 0; --row) {
        for (int x = 0; x < STRIP_WIDTH; ++x) {
            const StripRgb c = StripPixel(x, row);
            f.push_back(c.b);
            f.push_back(c.g);
            f.push_back(c.r);
        }
        for (uint32_t pad = STRIP_WIDTH * 3; pad < stride; ++pad)
            f.push_back(0);
    }
    f.push_back(0);
    f.push_back(0);
    return f;
}
