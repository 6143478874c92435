// Little-endian words read from bytes as they came (a camera's record, a file, a reply), whatever their
// alignment. Platform-free.
#pragma once

#include <cstdint>

inline uint16_t ReadLeU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t ReadLeU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline int32_t ReadLeI32(const uint8_t* p) {
    return static_cast<int32_t>(ReadLeU32(p));
}
