// Small helpers the network dialog's files share: the config store, fixed text fields read with a
// bound, and the layout of the access-point list.
#pragma once

#include <cstddef>
#include <cstring>

#include "NetConfigStore.h"

namespace netdlg {

// The process's one config store, which the dialog shows and edits.
inline NetConfigStore& Store() {
    return g_netConfig;
}

// Bytes of a fixed text field up to its first NUL, at most size.
inline size_t FieldLen(const char* field, size_t size) {
    const void* nul = std::memchr(field, 0, size);
    return nul ? (size_t)((const char*)nul - field) : size;
}

// Texts compared byte by byte up to the terminator, neither read past its field.
inline bool FieldEquals(const char* a, size_t aSize, const char* b, size_t bSize) {
    const size_t la = FieldLen(a, aSize), lb = FieldLen(b, bSize);
    return la == lb && std::memcmp(a, b, la) == 0;
}

// Item height of the access-point list.
constexpr int SSID_ITEM_HEIGHT = 30;

} // namespace netdlg
