// Bounded copies of GBK text into fixed-size fields. Platform-free.
#pragma once

#include <cstddef>

// Copies src into dest (size bytes in all): at most size - 1 bytes, NUL-terminated, the rest of dest
// zeroed. A GBK double-byte character that would not fit whole is left out rather than cut in half,
// so a cut text never ends in a stray lead byte. NULL src gives an empty text. Returns the bytes
// copied.
size_t CopyGbkBounded(char* dest, size_t size, const char* src);
