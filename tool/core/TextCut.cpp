#include "TextCut.h"

#include <cstring>

bool IsGbkLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

size_t CopyTextCut(char* dst, size_t dstSize, const char* src, size_t srcMax) {
    if (dstSize == 0) return 0;
    if (src == nullptr) {
        dst[0] = '\0';
        return 0;
    }
    const size_t len = strnlen(src, srcMax);
    const size_t limit = len < dstSize - 1 ? len : dstSize - 1;
    size_t n = 0;
    while (n < limit) {
        // A lead byte that ends the source is kept as it stands: only our own cut must not split a pair.
        const size_t step = (IsGbkLeadByte(static_cast<unsigned char>(src[n])) && n + 1 < len) ? 2 : 1;
        if (n + step > limit) break;
        n += step;
    }
    std::memcpy(dst, src, n);
    dst[n] = '\0';
    return n;
}
