// GBK text in fixed-size fields: the lead-byte test and the bounded copy. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>

// The first byte of a GBK double-byte character. Fixed to GBK, whatever the ANSI code page:
// IsDBCSLeadByte gives the same answer only while that code page is 936.
inline bool IsGbkLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

// Copies src, up to its first NUL and at most srcMax bytes of it, into dest (size bytes in all): at
// most size - 1 bytes, NUL-terminated, the rest of dest zeroed. A GBK double-byte character that would
// not fit whole is left out rather than cut in half, so a cut text never ends in a stray lead byte; a
// lead byte that ends the source is not ours to drop and is copied as it stands. Reads no more of src
// than srcMax bytes, nor than size + 1. NULL src gives an empty text. Returns the bytes copied.
size_t CopyGbkBounded(char* dest, size_t size, const char* src, size_t srcMax = SIZE_MAX);
