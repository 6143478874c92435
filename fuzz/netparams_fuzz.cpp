// Feeds arbitrary parameter text through Netquill's parser and checks that every text field of the
// store stays terminated inside its bounds.
#include "NetConfigStore.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {
template <size_t N> void CheckTerminated(const char (&field)[N]) {
    if (strnlen(field, N) >= N) __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The text as CmdProc hands it on: NUL-terminated at the data length.
    std::vector<char> text(size + 1, 0);
    std::memcpy(text.data(), data, size);
    static NetConfigStore store;
    int softVersion = 0, clientPower = 4, rtmpSupport = 0;
    ParseNetParams(text.data(), store, NetDlgParams{&softVersion, &clientPower, &rtmpSupport});
    for (const NetIfRecord& r : store.netIf) {
        CheckTerminated(r.szIp);
        CheckTerminated(r.szMask);
        CheckTerminated(r.szGateway);
        CheckTerminated(r.szDns);
        CheckTerminated(r.szMac);
        CheckTerminated(r.szId);
        CheckTerminated(r.szPassword);
    }
    CheckTerminated(store.gb.GB_serverip);
    CheckTerminated(store.gb.GB_devid);
    CheckTerminated(store.gb.GB_devpasswd);
    CheckTerminated(store.gb.GB_alarminID);
    for (const RtmpServer& r : store.rtmp) CheckTerminated(r.szServerUrl);
    CheckTerminated(store.ddns.szHost);
    CheckTerminated(store.ddns.szUser);
    CheckTerminated(store.ddns.szPassword);
    if (store.nApCount != 0) __builtin_trap();
    return 0;
}
