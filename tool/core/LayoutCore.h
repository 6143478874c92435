// Control anchoring, the part that needs no window: the anchoring table and the arithmetic that moves
// and grows one control when the dialog's client area changes size. LayoutAnchor drives it.
#pragma once

#include <cstdint>

// Flags of a LayoutEntry.
enum : int32_t {
    LAYOUT_MOVE_X = 0x01,  // move horizontally
    LAYOUT_MOVE_Y = 0x02,  // move vertically
    LAYOUT_MOVE_XY = 0x04, // move both ways, on top of the two above
    LAYOUT_GROW_W = 0x08,  // grow the width
    LAYOUT_GROW_H = 0x10,  // grow the height
    LAYOUT_GROW_WH = 0x20, // grow both
};

// One anchored control. nMode 0 applies the full share of the change; modes 1 and 2 apply half a share
// (horizontally, or for LAYOUT_MOVE_XY half horizontally in mode 1 and half vertically in mode 2).
struct LayoutEntry {
    int32_t nId;
    int32_t nFlags;
    int32_t nPercent; // share of the change, 0 to 100; any other value leaves the control alone
    int32_t nMode;
    bool bKeepMin; // never smaller than the control was at Init
    int32_t nMinWidth;
    int32_t nMinHeight;
};

// A control's place in the dialog's client coordinates.
struct LayoutBox {
    int x, y, w, h;
};

bool operator==(const LayoutBox& a, const LayoutBox& b);

// What the anchoring needs from the dialog.
class LayoutControls {
public:
    // The control's window rectangle in the dialog's client coordinates; false when there is no such control.
    virtual bool GetBox(int nId, LayoutBox* pBox) = 0;
    virtual void MoveTo(int nId, const LayoutBox& box) = 0;

protected:
    ~LayoutControls() = default;
};

bool LayoutPercentUsable(int32_t nPercent);

// Where one entry's control goes when the client area changed by (dx, dy) to (cx, cy).
LayoutBox LayoutPlaceControl(const LayoutEntry& entry, const LayoutBox& r, int dx, int dy, int cx, int cy);

// Where the video group box goes: it keeps its top (and its left unless the first entry moves
// horizontally) and grows by the first entry's share of the change.
LayoutBox LayoutPlaceVideo(const LayoutEntry& first, const LayoutBox& r, int dx, int dy, int cx, int cy);

// Moves every usable entry's control, then the video group box nVideoId. Returns false when the
// group box or the first entry cannot be used: the caller then keeps its base size.
bool LayoutApply(const LayoutEntry* pTable, unsigned nCount, int nVideoId, LayoutControls& controls, int dx,
                 int dy, int cx, int cy);
