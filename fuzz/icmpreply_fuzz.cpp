// The sweep's reader of received ICMP packets (any bytes a raw socket can deliver), and the checksum
// over them.
#include "IcmpEcho.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Exactly the bytes received, in a block of their own: a read past them is caught.
    std::vector<uint8_t> packet(data, data + size);
    EchoReplyView v = ReadEchoReply(packet.data(), packet.size());
    // Read only after the header length the packet gives, and only when all of the fields arrived.
    const size_t header = size > 0 ? static_cast<size_t>(packet[0] & 0x0F) * 4 : 0;
    if (v.complete && (header < kIpHeaderSize || size < header + kEchoFieldsSize)) __builtin_trap();
    if (IsOurEchoReply(v, 0x1234) && packet[header] != 0) __builtin_trap();
    InternetChecksum(static_cast<int>(packet.size()), packet.data());

    // A request carrying the packet's first bytes as its fields checks to zero, as its peer verifies it.
    if (size >= 8) {
        uint8_t request[kEchoRequestSize];
        uint16_t id, seq;
        uint32_t ms;
        std::memcpy(&id, data, 2);
        std::memcpy(&seq, data + 2, 2);
        std::memcpy(&ms, data + 4, 4);
        BuildEchoRequest(request, id, seq, ms);
        if (InternetChecksum(kEchoRequestSize, request) != 0 || request[0] != kIcmpEchoRequest)
            __builtin_trap();
    }

    // A reply's sender against the candidates of a /24 taken from the packet.
    if (size >= 4) {
        uint32_t address;
        std::memcpy(&address, data, 4);
        uint32_t candidates[kSweepCount];
        BuildSweepCandidates(address, candidates);
        int replied[kSweepCount] = {0};
        uint32_t from = size >= 16 ? (uint32_t(data[12]) | uint32_t(data[13]) << 8 |
                                      uint32_t(data[14]) << 16 | uint32_t(data[15]) << 24)
                                   : address;
        int at = MarkReplied(candidates, kSweepCount, replied, from);
        uint32_t pool[kFreePoolSize];
        int n = CollectUnanswered(candidates, replied, kSweepCount, pool, kFreePoolSize);
        if (n != (at >= 0 ? kSweepCount - 1 : kSweepCount)) __builtin_trap();
    }
    return 0;
}
