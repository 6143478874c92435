#include "TextCut.h"

size_t CopyTextCut(char* dst, size_t dstSize, const char* src, size_t srcMax) {
    return CopyGbkBounded(dst, dstSize, src, srcMax);
}
