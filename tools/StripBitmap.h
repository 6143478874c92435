// The seven-cell picture strip shared by the level bar and the icon combo box: five signal-bar
// cells, a padlock and a check mark, 25 x 20 pixels each, as a 24-bit bottom-up DIB file.
// Platform-free so the generator runs in the native build.
#pragma once

#include <cstdint>
#include <vector>

constexpr int STRIP_CELL_WIDTH = 25;
constexpr int STRIP_CELL_HEIGHT = 20;
constexpr int STRIP_CELLS = 7;
constexpr int STRIP_WIDTH = STRIP_CELL_WIDTH * STRIP_CELLS; // 175

struct StripRgb {
    uint8_t r, g, b;
    bool operator==(const StripRgb& o) const { return r == o.r && g == o.g && b == o.b; }
};
constexpr StripRgb STRIP_BLACK{0, 0, 0};
constexpr StripRgb STRIP_SILVER{192, 192, 192};
constexpr StripRgb STRIP_GREEN{0, 255, 0};

// Colour of the pixel at (x, row), row 0 being the top row of the picture.
StripRgb StripPixel(int x, int row);

// The whole .bmp file: 14-byte file header, 40-byte info header, rows bottom-up padded to 4 bytes,
// two trailing zero bytes so that the image size field (10562) matches the bytes that follow.
std::vector<uint8_t> BuildStripBitmapFile();
