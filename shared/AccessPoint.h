// One access point as a camera reports it, and the strip cell that shows its signal. Platform-free.
#pragma once

#include <cstdint>

// 112 bytes as the camera sends them: a list or scan reply is a run of these in the packet's data.
// The camera's name need not end within its field.
struct ApRecord {
    char szSsid[32];     // NUL-terminated when shorter than the field; empty marks the end of a list
    char szKey[64];      // zero-padded; Netquill shows it, LENSKIT does not read it
    int32_t nQuality;    // 0 to 100
    int32_t nEncryption; // -1 open, any other value encrypted
    int8_t nAuthIndex;   // item of Netquill's authentication list
    int8_t nEncIndex;    // item of Netquill's encryption list
    char reserved[6];
};
static_assert(sizeof(ApRecord) == 112, "ApRecord is 112 bytes on the wire");

// What a quality outside 1 to 100 gives.
enum SignalIconRange {
    SIGNAL_ICON_AS_IT_COMES, // the formula's cell: below 0 (no icon) for 0 and less, past the bars above 100
    SIGNAL_ICON_IN_BARS,     // held to the five bar cells, 0 to 4, for a list that draws whatever cell
                             // it is given from the strip
};
// Strip cell of the signal icon for a quality: 1-20 give 0, 21-40 1, ..., 81-100 4. Worked in 64 bits:
// the quality is the camera's and may be any int32.
inline int SignalIcon(int32_t quality, SignalIconRange range = SIGNAL_ICON_AS_IT_COMES) {
    const int64_t cell = (static_cast<int64_t>(quality) + 19) / 20 - 1;
    if (range == SIGNAL_ICON_IN_BARS) return cell < 0 ? 0 : (cell > 4 ? 4 : static_cast<int>(cell));
    return static_cast<int>(cell);
}
