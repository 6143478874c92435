// The IP filter dialog's reader of the camera's list: every parameter text and every module-35 reply
// goes through it. Checks that the table stays within its 20 entries and its 32-byte fields, that the
// mode stays one the radio group can show, and that every address comes from an item the reader
// could hold whole (at most 511 characters): a longer item is skipped, never cut.
#include "IpFilterList.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {
size_t Occurrences(const char* text, const char* word) {
    size_t n = 0;
    for (const char* p = std::strstr(text, word); p; p = std::strstr(p + 1, word))
        ++n;
    return n;
}

// Whether address lies inside one ';'-item of the text of at most 511 characters.
bool FromAWholeItem(const std::vector<std::string>& items, const char* address) {
    for (const std::string& item : items)
        if (item.size() <= 511 && item.find(address) != std::string::npos) return true;
    return false;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The text as CmdProc hands it on: NUL-terminated at the data length.
    std::vector<char> text(size + 1, 0);
    std::memcpy(text.data(), data, size);
    std::vector<std::string> items(1);
    for (const char* p = text.data(); *p; ++p) {
        if (*p == ';')
            items.emplace_back();
        else
            items.back() += *p;
    }
    // A table of its own for each input, so that an input reproduces alone.
    IpFilterEntry entries[IP_FILTER_MAX_ENTRIES] = {};
    int deviceMode = IP_FILTER_FORBID, mode = IP_FILTER_ALLOW;

    const int count = ReadIpFilterList(text.data(), entries, deviceMode, mode);
    if (count < 0 || count > IP_FILTER_MAX_ENTRIES) __builtin_trap();
    if (static_cast<size_t>(count) > Occurrences(text.data(), "IPAddr2")) __builtin_trap();
    if (deviceMode < IP_FILTER_NO_LIMIT || deviceMode > IP_FILTER_ALLOW) __builtin_trap();
    if (mode < IP_FILTER_NO_LIMIT || mode > IP_FILTER_ALLOW) __builtin_trap();
    for (int i = 0; i < IP_FILTER_MAX_ENTRIES; ++i) {
        const IpFilterEntry& e = entries[i];
        if (strnlen(e.start, sizeof e.start) == sizeof e.start) __builtin_trap();
        if (strnlen(e.end, sizeof e.end) == sizeof e.end) __builtin_trap();
        // Addresses are the camera's own text, cut to the field at most. Past the entries read and
        // the one still open, the table stays empty.
        if (e.start[0] && !FromAWholeItem(items, e.start)) __builtin_trap();
        if (e.end[0] && !FromAWholeItem(items, e.end)) __builtin_trap();
        if (i > count && (e.start[0] || e.end[0] || e.index)) __builtin_trap();
    }
    return 0;
}
