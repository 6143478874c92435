// The camera's IP access list as its parameter texts give it: a mode and up to 20 entries, each one
// address or a range inside one /24. Platform-free, so the reader runs natively under the sanitizers
// and the fuzzer; the IP filter dialog keeps the result as its device table.
#pragma once

#include <cstdint>

// One entry of the camera's list.
struct IpFilterEntry {
    int32_t index;  // the camera's IPIndex
    char start[32]; // single address or first of the range, dotted text
    char end[32];   // last of the range; empty for a single address
};

constexpr int IP_FILTER_MAX_ENTRIES = 20;
enum { IP_FILTER_NO_LIMIT = 0, IP_FILTER_FORBID = 1, IP_FILTER_ALLOW = 2 };

// Reads the items IPListPower, IPIndex, IPAddr1 and IPAddr2 of a parameter text into entries, which
// it zeroes first, and returns how many entries IPAddr2 items closed (at most 20; later ones are
// dropped). IPListPower sets deviceMode and mode; a deviceMode outside 0 to 2 then becomes 0, and so
// does a mode that was read out of range. Addresses longer than a field are cut to 31 bytes; an item
// longer than 511 characters is skipped. A text without an IPListPower item keeps both modes; a NULL
// text, no list at all (SetParam(NULL) between two cameras), gives the defaults: no entry, no limit.
int ReadIpFilterList(const char* text, IpFilterEntry (&entries)[IP_FILTER_MAX_ENTRIES], int& deviceMode,
                     int& mode);
