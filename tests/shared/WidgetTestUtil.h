// Helpers of the widget tests: a memory canvas whose pixels can be read back, and a message pump.
#pragma once

#include <windows.h>

#include <cstdint>
#include <ostream>

// A 24-bit top-down DIB section selected into a memory DC.
class DibCanvas {
public:
    DibCanvas(int width, int height) : m_width(width), m_height(height) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 24;
        bi.bmiHeader.biCompression = BI_RGB;
        m_dc = ::CreateCompatibleDC(nullptr);
        m_bmp = ::CreateDIBSection(m_dc, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_old = ::SelectObject(m_dc, m_bmp);
    }
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;
    ~DibCanvas() {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bmp);
        ::DeleteDC(m_dc);
    }
    bool Ok() const { return m_dc && m_bmp && m_bits; }
    HDC Dc() const { return m_dc; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void Fill(COLORREF c) {
        ::GdiFlush();
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x) {
                uint8_t* p = Row(y) + 3 * x;
                p[0] = GetBValue(c);
                p[1] = GetGValue(c);
                p[2] = GetRValue(c);
            }
    }
    COLORREF At(int x, int y) const {
        ::GdiFlush();
        const uint8_t* p = Row(y) + 3 * x;
        return RGB(p[2], p[1], p[0]);
    }

private:
    uint8_t* Row(int y) const { return m_bits + y * ((m_width * 3 + 3) & ~3); }
    int m_width, m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bmp = nullptr;
    HGDIOBJ m_old = nullptr;
    uint8_t* m_bits = nullptr;
};

// Colours print as (r,g,b) in failure messages.
struct Rgb {
    COLORREF c;
    bool operator==(const Rgb& o) const { return c == o.c; }
};
inline std::ostream& operator<<(std::ostream& os, const Rgb& v) {
    return os << "(" << int(GetRValue(v.c)) << "," << int(GetGValue(v.c)) << "," << int(GetBValue(v.c))
              << ")";
}

// Pixels of the given colour inside [x0, x1) x [y0, y1).
inline int CountColor(const DibCanvas& canvas, COLORREF c, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            n += canvas.At(x, y) == c;
    return n;
}

// Dispatches every message waiting in this thread's queue.
inline void PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}
