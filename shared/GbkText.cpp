#include "GbkText.h"

#include <cstring>

size_t CopyGbkBounded(char* dest, size_t size, const char* src, size_t srcMax) {
    if (size == 0) return 0;
    std::memset(dest, 0, size);
    if (!src) return 0;
    size_t n = 0;
    while (n < srcMax && src[n] != '\0') {
        // A lead byte with its trail byte forms one character; a lead byte at the very end stands alone.
        const bool pair =
            IsGbkLeadByte(static_cast<unsigned char>(src[n])) && n + 1 < srcMax && src[n + 1] != '\0';
        const size_t len = pair ? 2 : 1;
        if (n + len > size - 1) break;
        n += len;
    }
    std::memcpy(dest, src, n);
    return n;
}
