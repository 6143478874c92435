#include "GbkText.h"

#include <cstring>

namespace {

bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

} // namespace

size_t CopyGbkBounded(char* dest, size_t size, const char* src) {
    if (size == 0) return 0;
    std::memset(dest, 0, size);
    if (!src) return 0;
    size_t n = 0;
    while (src[n] != '\0') {
        // A lead byte with its trail byte forms one character; a lead byte at the very end stands alone.
        const size_t len = (IsGbkLeadByte(static_cast<unsigned char>(src[n])) && src[n + 1] != '\0') ? 2 : 1;
        if (n + len > size - 1) break;
        n += len;
    }
    std::memcpy(dest, src, n);
    return n;
}
