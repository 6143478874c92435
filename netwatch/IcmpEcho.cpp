#include "IcmpEcho.h"

#include <cstring>

namespace {

uint16_t LoadLe16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t LoadLe32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void StoreLe16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

} // namespace

uint16_t InternetChecksum(int length, const void* data) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    uint32_t sum = 0;
    int i = 0;
    // Words as the x86 loads them from memory; the result goes back the same way.
    for (; i + 1 < length; i += 2)
        sum += LoadLe16(p + i);
    if (i < length) sum += p[i];
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<uint16_t>(~sum);
}

void BuildEchoRequest(uint8_t packet[kEchoRequestSize], uint16_t identifier, uint16_t sequence,
                      uint32_t sendTimeMs) {
    packet[0] = kIcmpEchoRequest;
    packet[1] = 0;
    StoreLe16(packet + 2, 0);
    StoreLe16(packet + 4, identifier);
    StoreLe16(packet + 6, sequence);
    for (int i = 0; i < 4; ++i)
        packet[8 + i] = static_cast<uint8_t>(sendTimeMs >> (8 * i));
    StoreLe16(packet + 2, InternetChecksum(kEchoRequestSize, packet));
}

EchoReplyView ReadEchoReply(const uint8_t* data, size_t length) {
    EchoReplyView v{-1, false, 0, 0, 0};
    const size_t icmp = kIpHeaderSize;
    if (length > icmp) v.type = data[icmp];
    if (length >= icmp + 6) {
        v.hasIdentifier = true;
        v.identifier = LoadLe16(data + icmp + 4);
    }
    if (length >= icmp + 8) v.sequence = LoadLe16(data + icmp + 6);
    if (length >= icmp + 12) v.sendTimeMs = LoadLe32(data + icmp + 8);
    return v;
}

void BuildSweepCandidates(uint32_t address, uint32_t out[kSweepCount]) {
    uint8_t octets[4];
    std::memcpy(octets, &address, 4);
    for (int i = 0; i < kSweepCount; ++i) {
        // In network order the last octet is the fourth byte in memory.
        octets[3] = static_cast<uint8_t>(kSweepFirstOctet + i);
        std::memcpy(&out[i], octets, 4);
    }
}

int MarkReplied(const uint32_t* addresses, int count, int* replied, uint32_t from) {
    for (int i = 0; i < count; ++i) {
        if (addresses[i] == from) {
            replied[i] = 1;
            return i;
        }
    }
    return -1;
}

int CollectUnanswered(const uint32_t* addresses, const int* replied, int count, uint32_t* out, int max) {
    int n = 0;
    for (int i = 0; i < count && n < max; ++i) {
        if (replied[i] == 0) out[n++] = addresses[i];
    }
    return n;
}
