// Feeds arbitrary parameter text through Netquill's parser. Every text field of the store stays
// terminated inside its bounds, and every text that may be sent back is a whole value of the input:
// a value too long for its field is skipped, never cut.
#include "NetConfigStore.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace {
const char* g_text; // the input as the parser saw it

template <size_t N> void CheckTerminated(const char (&field)[N]) {
    if (strnlen(field, N) >= N) __builtin_trap();
}

// A value of the input: "=", any carriage returns the parser skips, the text, then ';', a carriage
// return or the end.
bool IsWholeValue(const char* field) {
    const size_t len = std::strlen(field);
    for (const char* p = std::strstr(g_text, field); p; p = std::strstr(p + 1, field)) {
        const char* before = p;
        while (before > g_text && before[-1] == '\r')
            --before;
        const char after = p[len];
        if (before > g_text && before[-1] == '=' && (after == ';' || after == '\r' || after == '\0'))
            return true;
    }
    return false;
}

template <size_t N> void CheckSendable(const char (&field)[N]) {
    CheckTerminated(field);
    if (field[0] && !IsWholeValue(field)) __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The text as CmdProc hands it on: NUL-terminated at the data length.
    std::vector<char> text(size + 1, 0);
    std::memcpy(text.data(), data, size);
    g_text = text.data();
    // A store of its own for each input, zero as at load, so that an input reproduces alone.
    std::unique_ptr<NetConfigStore> store(new NetConfigStore());
    int softVersion = 0, clientPower = 4, rtmpSupport = 0;
    ParseNetParams(text.data(), *store, NetDlgParams{&softVersion, &clientPower, &rtmpSupport});
    for (const NetIfRecord& r : store->netIf) {
        CheckSendable(r.szIp);
        CheckSendable(r.szMask);
        CheckSendable(r.szGateway);
        CheckSendable(r.szDns);
        CheckTerminated(r.szMac); // only shown: cut to its field
        CheckSendable(r.szId);
        CheckSendable(r.szPassword);
    }
    CheckSendable(store->gb.GB_serverip);
    CheckSendable(store->gb.GB_devid);
    CheckSendable(store->gb.GB_devpasswd);
    CheckSendable(store->gb.GB_alarminID);
    for (const RtmpServer& r : store->rtmp)
        CheckTerminated(r.szServerUrl); // the value's first word
    CheckSendable(store->ddns.szHost);
    CheckSendable(store->ddns.szUser);
    CheckSendable(store->ddns.szPassword);
    if (store->nApCount != 0) __builtin_trap();
    return 0;
}
