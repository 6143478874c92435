// Bounded copies of camera and operator texts into fixed-size fields: the shared GBK-aware copy
// (GbkText.h), with the field's size taken from its type where it can be. Platform-free.
#pragma once

#include "GbkText.h"

#include <cstddef>

// CopyGbkBounded: at most srcMax bytes of src, up to its first NUL, into dst (dstSize bytes, the rest
// zeroed). A text that does not fit is cut, but never between the two bytes of a GBK character: a
// Chinese name cut in half would show a stray byte. Returns the length copied. A NULL src gives an
// empty text.
inline size_t CopyTextCut(char* dst, size_t dstSize, const char* src,
                          size_t srcMax = static_cast<size_t>(-1)) {
    return CopyGbkBounded(dst, dstSize, src, srcMax);
}

template <size_t N>
size_t CopyTextCut(char (&dst)[N], const char* src, size_t srcMax = static_cast<size_t>(-1)) {
    return CopyTextCut(dst, N, src, srcMax);
}
