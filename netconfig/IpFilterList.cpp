#include "IpFilterList.h"

#include <cstdlib>
#include <cstring>

#include "GbkText.h"
#include "ParamText.h"

namespace {
const int kTokenSize = 512;
}

int ReadIpFilterList(const char* text, IpFilterEntry (&entries)[IP_FILTER_MAX_ENTRIES], int& deviceMode,
                     int& mode) {
    memset(entries, 0, sizeof entries);
    if (!text) {
        // No list: nothing of the previous camera's may show or be saved.
        deviceMode = mode = IP_FILTER_NO_LIMIT;
        return 0;
    }
    int count = 0; // entries closed by an IPAddr2 item; the current entry is entries[count]
    bool sawMode = false;

    char token[kTokenSize];
    const char* p = text;
    for (int n = CopyToken(token, kTokenSize, p); n > 0; n = CopyToken(token, kTokenSize, p)) {
        p += n;
        if (*p == ';') ++p;
        if (n > kTokenSize - 1) continue; // too long to hold whole: skipped
        token[n] = '\0';

        char* key = token;
        while (*key == '=')
            ++key;
        char* value = strchr(key, '=');
        if (value) {
            *value++ = '\0';
            while (*value == '\r')
                ++value;
            if (char* cr = strchr(value, '\r')) *cr = '\0';
            if (*value == '\0') value = nullptr;
        }

        // Entries beyond the table's 20 are dropped: the camera holds no more.
        IpFilterEntry* cur = count < IP_FILTER_MAX_ENTRIES ? &entries[count] : nullptr;
        if (KeyMatches(key, "IPListPower")) {
            if (value) {
                deviceMode = mode = atoi(value);
                sawMode = true;
            }
        } else if (KeyMatches(key, "IPIndex")) {
            if (value && cur) cur->index = atoi(value);
        } else if (KeyMatches(key, "IPAddr1")) {
            if (value && cur) CopyGbkBounded(cur->start, sizeof cur->start, value);
        } else if (KeyMatches(key, "IPAddr2")) {
            if (value && cur) CopyGbkBounded(cur->end, sizeof cur->end, value);
            if (cur) ++count; // closes the entry, with or without a value
        }
    }

    if (deviceMode < IP_FILTER_NO_LIMIT || deviceMode > IP_FILTER_ALLOW) deviceMode = IP_FILTER_NO_LIMIT;
    // The shown mode must not keep a value no radio button stands for: Save would send it.
    if (sawMode && (mode < IP_FILTER_NO_LIMIT || mode > IP_FILTER_ALLOW)) mode = deviceMode;
    return count;
}
