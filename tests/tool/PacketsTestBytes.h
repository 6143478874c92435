// Config packets as a camera sends them, in the records the player library posts, for the tests of the
// main window's packet handling.
#pragma once

#include "CfgPacket.h"
#include "Tellurio.h"
#include "WirelessState.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace packettest {

inline std::vector<char> MakePacket(unsigned kind, unsigned module, unsigned subKind, int32_t nType,
                                    int32_t nParam, const void* data, size_t length) {
    std::vector<char> p(CFG_HEADER_SIZE + length);
    const int32_t words[5] = {static_cast<int32_t>((kind & 0x1F) | (module << 5) | (subKind << 13)), nType,
                              nParam, static_cast<int32_t>(length), 0};
    std::memcpy(p.data(), words, sizeof words);
    if (length) std::memcpy(p.data() + CFG_HEADER_SIZE, data, length);
    return p;
}

// Kind 6, module 2, nType 8; 3 (list) or 14 (scan reply, nParam the count) for the access points.
inline std::vector<char> WirelessPacket(const std::string& text) {
    return MakePacket(6, 2, 0, 8, 0, text.data(), text.size());
}
inline ApRecord Ap(const char* ssid, int32_t quality, int32_t encryption = -1) {
    ApRecord ap;
    std::memset(&ap, 0, sizeof ap);
    std::memcpy(ap.szSsid, ssid, strnlen(ssid, sizeof ap.szSsid));
    ap.nQuality = quality;
    ap.nEncryption = encryption;
    return ap;
}
inline std::vector<char> ApPacket(int32_t nType, int32_t count, const std::vector<ApRecord>& aps) {
    return MakePacket(6, 2, 0, nType, count, aps.data(), aps.size() * sizeof(ApRecord));
}

// A record as the library posts it with 0x6400: record and packet in one malloc'ed block, which the
// receiver frees. A stated length other than 0 replaces the packet's size.
inline TellurioPacketRecord* NewRecord(const std::vector<char>& packet, int dataType = CFG_DATA_TYPE,
                                       int32_t statedLength = 0) {
    auto* r = static_cast<TellurioPacketRecord*>(std::malloc(sizeof(TellurioPacketRecord) + packet.size()));
    r->nChannel = 1;
    r->nDataType = dataType;
    r->pData = reinterpret_cast<char*>(r + 1);
    r->nLength = statedLength ? statedLength : static_cast<int32_t>(packet.size());
    std::memcpy(r->pData, packet.data(), packet.size());
    return r;
}

// Sends 0x6400 with such a record; returns the handler's result.
inline LRESULT Deliver(HWND dialog, const std::vector<char>& packet, int dataType = CFG_DATA_TYPE) {
    return SendMessageA(dialog, 0x6400, 0, reinterpret_cast<LPARAM>(NewRecord(packet, dataType)));
}

} // namespace packettest
