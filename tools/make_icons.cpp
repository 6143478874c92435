// Draws LENSKIT's two icons and writes them as .ico files (16 and 32 pixels, 32-bit colour with alpha).
//   make_icons <app.ico> <main.ico>
// app.ico: a camera lens seen from the front (about box and tray). main.ico: a camera with its lens
// (main window). The pictures are drawn from a few circles and boxes, 4 x 4 samples per pixel.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Rgba {
    double r, g, b, a;
};

// One picture in unit coordinates: (0, 0) top left, (1, 1) bottom right.
using Painter = std::function<Rgba(double x, double y)>;

Rgba Over(Rgba top, Rgba under) {
    double a = top.a + under.a * (1 - top.a);
    if (a <= 0) return {0, 0, 0, 0};
    auto mix = [&](double t, double u) { return (t * top.a + u * under.a * (1 - top.a)) / a; };
    return {mix(top.r, under.r), mix(top.g, under.g), mix(top.b, under.b), a};
}

double Dist(double x, double y, double cx, double cy) {
    return std::hypot(x - cx, y - cy);
}

bool InRoundBox(double x, double y, double l, double t, double r, double b, double rad) {
    double qx = std::fmax(std::fmax(l + rad - x, x - (r - rad)), 0.0);
    double qy = std::fmax(std::fmax(t + rad - y, y - (b - rad)), 0.0);
    return x >= l && x <= r && y >= t && y <= b && std::hypot(qx, qy) <= rad;
}

// Glass of a lens centred at (cx, cy) with radius rad: dark rim, blue glass darkening to the edge,
// an inner ring and a white glint at the top left.
Rgba Lens(double x, double y, double cx, double cy, double rad) {
    double d = Dist(x, y, cx, cy) / rad;
    if (d > 1) return {0, 0, 0, 0};
    if (d > 0.80) return {0.18, 0.19, 0.22, 1};
    if (d > 0.70) return {0.45, 0.47, 0.52, 1};
    Rgba glass{0.10 + 0.10 * (1 - d), 0.35 + 0.35 * (1 - d), 0.60 + 0.35 * (1 - d), 1};
    if (d > 0.36 && d < 0.44) glass = {0.05, 0.15, 0.35, 1};
    if (Dist(x, y, cx - rad * 0.28, cy - rad * 0.28) < rad * 0.16) glass = Over({1, 1, 1, 0.85}, glass);
    return glass;
}

Rgba AppIcon(double x, double y) {
    return Lens(x, y, 0.5, 0.5, 0.48);
}

Rgba MainIcon(double x, double y) {
    Rgba px{0, 0, 0, 0};
    if (InRoundBox(x, y, 0.14, 0.16, 0.44, 0.30, 0.04)) // viewfinder hump
        px = {0.25, 0.26, 0.30, 1};
    if (InRoundBox(x, y, 0.02, 0.26, 0.98, 0.92, 0.10)) // body
        px = {0.30, 0.32, 0.36, 1};
    if (InRoundBox(x, y, 0.02, 0.26, 0.98, 0.36, 0.06) && y < 0.33) // lighter top edge
        px = {0.55, 0.57, 0.62, 1};
    if (Dist(x, y, 0.84, 0.36) < 0.05) // record light
        px = {0.90, 0.15, 0.10, 1};
    Rgba lens = Lens(x, y, 0.50, 0.60, 0.30);
    return Over(lens, px);
}

std::vector<uint8_t> Render(const Painter& paint, int size) {
    const int kSub = 4;
    std::vector<uint8_t> bgra(size * size * 4);
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            double r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < kSub; ++sy) {
                for (int sx = 0; sx < kSub; ++sx) {
                    Rgba c = paint((px + (sx + 0.5) / kSub) / size, (py + (sy + 0.5) / kSub) / size);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            }
            // Icons store rows bottom-up and colour not premultiplied.
            uint8_t* out = &bgra[((size - 1 - py) * size + px) * 4];
            auto byte = [](double v) {
                return (uint8_t)std::lround(std::fmin(std::fmax(v, 0.0), 1.0) * 255);
            };
            out[0] = a > 0 ? byte(b / a) : 0;
            out[1] = a > 0 ? byte(g / a) : 0;
            out[2] = a > 0 ? byte(r / a) : 0;
            out[3] = byte(a / (kSub * kSub));
        }
    }
    return bgra;
}

void Put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(x & 0xFF);
    v.push_back((x >> 8) & 0xFF);
}

void Put32(std::vector<uint8_t>& v, uint32_t x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}

// One icon image: BITMAPINFOHEADER with the doubled height, the colour rows, then the AND mask
// (a pixel is masked out where it is mostly transparent, for displays that ignore alpha).
std::vector<uint8_t> IconImage(const Painter& paint, int size) {
    std::vector<uint8_t> bgra = Render(paint, size);
    int maskStride = ((size + 31) / 32) * 4;
    std::vector<uint8_t> img;
    Put32(img, 40);
    Put32(img, size);
    Put32(img, size * 2);
    Put16(img, 1);
    Put16(img, 32);
    Put32(img, 0);
    Put32(img, (uint32_t)(bgra.size() + maskStride * size));
    Put32(img, 0);
    Put32(img, 0);
    Put32(img, 0);
    Put32(img, 0);
    img.insert(img.end(), bgra.begin(), bgra.end());
    for (int y = 0; y < size; ++y) {
        std::vector<uint8_t> row(maskStride, 0);
        for (int x = 0; x < size; ++x)
            if (bgra[(y * size + x) * 4 + 3] < 128) row[x / 8] |= (uint8_t)(0x80 >> (x % 8));
        img.insert(img.end(), row.begin(), row.end());
    }
    return img;
}

bool WriteIcon(const char* path, const Painter& paint) {
    const int sizes[] = {16, 32};
    std::vector<std::vector<uint8_t>> images;
    for (int s : sizes)
        images.push_back(IconImage(paint, s));
    std::vector<uint8_t> file;
    Put16(file, 0);
    Put16(file, 1); // icon
    Put16(file, (uint32_t)images.size());
    uint32_t offset = 6 + 16 * (uint32_t)images.size();
    for (size_t i = 0; i < images.size(); ++i) {
        file.push_back((uint8_t)sizes[i]);
        file.push_back((uint8_t)sizes[i]);
        file.push_back(0); // no palette
        file.push_back(0);
        Put16(file, 1);
        Put16(file, 32);
        Put32(file, (uint32_t)images[i].size());
        Put32(file, offset);
        offset += (uint32_t)images[i].size();
    }
    for (auto& img : images)
        file.insert(file.end(), img.begin(), img.end());
    FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_icons <app.ico> <main.ico>\n");
        return 2;
    }
    if (!WriteIcon(argv[1], AppIcon) || !WriteIcon(argv[2], MainIcon)) {
        std::fprintf(stderr, "make_icons: cannot write the icons\n");
        return 1;
    }
    return 0;
}
