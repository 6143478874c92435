#include "LayoutCore.h"

#include <algorithm>

bool operator==(const LayoutBox& a, const LayoutBox& b) {
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

bool LayoutPercentUsable(int32_t nPercent) {
    return nPercent >= 0 && nPercent <= 100;
}

namespace {

// The share of a change: integer arithmetic, truncated toward zero (as C++ division does). 64 bits so
// that no client size can overflow the product.
int Share(int32_t nPercent, int delta) {
    return (int)((int64_t)nPercent * delta / 100);
}

// A control that would cross the right or bottom edge ends 5 pixels inside it. The cut can leave a
// negative size when the control starts within 5 pixels of the edge: that becomes 0 as well.
void ClampToClient(LayoutBox& b, int cx, int cy) {
    b.w = std::max(b.w, 0);
    b.h = std::max(b.h, 0);
    if (b.x + b.w > cx) b.w = std::max(cx - b.x - 5, 0);
    if (b.y + b.h > cy) b.h = std::max(cy - b.y - 5, 0);
}

int MoveX(const LayoutEntry& e, int left, int ux) {
    if (!(e.nFlags & LAYOUT_MOVE_X)) return left;
    if (e.nMode == 0) return left + ux;
    if (e.nMode == 1 || e.nMode == 2) return left + ux / 2;
    return left;
}

void KeepMinimum(const LayoutEntry& e, LayoutBox& b) {
    if (e.bKeepMin) {
        b.w = std::max(b.w, (int)e.nMinWidth);
        b.h = std::max(b.h, (int)e.nMinHeight);
    }
}

} // namespace

LayoutBox LayoutPlaceControl(const LayoutEntry& e, const LayoutBox& r, int dx, int dy, int cx, int cy) {
    const int ux = Share(e.nPercent, dx);
    const int uy = Share(e.nPercent, dy);
    LayoutBox b = r;
    b.x = MoveX(e, r.x, ux);
    if (e.nFlags & LAYOUT_MOVE_Y) {
        if (e.nMode == 0)
            b.y = r.y + uy;
        else if (e.nMode == 1 || e.nMode == 2)
            b.y = r.y + uy / 2;
    }
    if (e.nFlags & LAYOUT_MOVE_XY) {
        switch (e.nMode) {
        case 0:
            b.x += ux;
            b.y += uy;
            break;
        case 1:
            b.x += ux / 2;
            b.y += uy;
            break;
        case 2:
            b.x += ux;
            b.y += uy / 2;
            break;
        default:
            break;
        }
    }
    if (e.nFlags & LAYOUT_GROW_W) b.w += ux;
    if (e.nFlags & LAYOUT_GROW_H) b.h += uy;
    if (e.nFlags & LAYOUT_GROW_WH) {
        b.w += ux;
        b.h += uy;
    }
    KeepMinimum(e, b);
    ClampToClient(b, cx, cy);
    return b;
}

LayoutBox LayoutPlaceVideo(const LayoutEntry& first, const LayoutBox& r, int dx, int dy, int cx, int cy) {
    const int ux = Share(first.nPercent, dx);
    const int uy = Share(first.nPercent, dy);
    LayoutBox b{MoveX(first, r.x, ux), r.y, r.w + ux, r.h + uy};
    KeepMinimum(first, b);
    ClampToClient(b, cx, cy);
    return b;
}

bool LayoutApply(const LayoutEntry* pTable, unsigned nCount, int nVideoId, LayoutControls& controls, int dx,
                 int dy, int cx, int cy) {
    if (!pTable || nCount == 0) return false;
    for (unsigned i = 0; i < nCount; ++i) {
        const LayoutEntry& e = pTable[i];
        LayoutBox r;
        if (!LayoutPercentUsable(e.nPercent) || !controls.GetBox(e.nId, &r)) continue;
        controls.MoveTo(e.nId, LayoutPlaceControl(e, r, dx, dy, cx, cy));
    }
    LayoutBox video;
    if (!LayoutPercentUsable(pTable[0].nPercent) || !controls.GetBox(nVideoId, &video)) return false;
    controls.MoveTo(nVideoId, LayoutPlaceVideo(pTable[0], video, dx, dy, cx, cy));
    return true;
}
