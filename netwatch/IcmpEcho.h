// ICMP echo packets of the free-address sweep: the request we send, the reply we read, the /24
// candidates and the pool of addresses that stayed silent. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int kEchoRequestSize = 12;
// The sweep asks .101 to .254 of the local /24; the pool holds at most 255 addresses.
constexpr int kSweepFirstOctet = 101;
constexpr int kSweepLastOctet = 254;
constexpr int kSweepCount = kSweepLastOctet - kSweepFirstOctet + 1;
constexpr int kFreePoolSize = 255;
constexpr int kReplyBufferSize = 1024;
// A received packet is an IPv4 header of this size followed by the ICMP message.
constexpr int kIpHeaderSize = 20;
constexpr int kIcmpEchoReply = 0;
constexpr int kIcmpEchoRequest = 8;

// RFC 1071: one's-complement sum of 16-bit words in memory order, an odd last byte on its own, carries
// folded back, inverted. Stored back in memory order, the sum over the whole packet checks to zero
// whatever the byte order of the machine that verifies it.
uint16_t InternetChecksum(int length, const void* data);

// Fills one echo request: type 8, code 0, the identifier, sequence number and send time little-endian
// as this machine stores them (the peer echoes the bytes back unchanged), then the checksum.
void BuildEchoRequest(uint8_t packet[kEchoRequestSize], uint16_t identifier, uint16_t sequence,
                      uint32_t sendTimeMs);

// One received packet, read at the fixed offsets. A field that lies beyond the bytes received is not
// there: it is never taken from whatever an earlier packet left in the buffer.
struct EchoReplyView {
    int type;           // byte 20; -1 when the packet ends before it
    bool hasIdentifier; // bytes 24-25 arrived
    uint16_t identifier;
    uint16_t sequence;   // bytes 26-27, 0 when missing
    uint32_t sendTimeMs; // bytes 28-31, 0 when missing
};
EchoReplyView ReadEchoReply(const uint8_t* data, size_t length);

// An echo reply to one of our own requests: type 0 and our identifier.
inline bool IsOurEchoReply(const EchoReplyView& v, uint16_t identifier) {
    return v.type == kIcmpEchoReply && v.hasIdentifier && v.identifier == identifier;
}

// The 154 candidates of the /24 of address (network byte order as stored): its last octet replaced by
// 101 .. 254, in that order. The mask plays no part.
void BuildSweepCandidates(uint32_t address, uint32_t out[kSweepCount]);

// Marks the first candidate equal to from as replied; returns its index, or -1 when from is not one.
int MarkReplied(const uint32_t* addresses, int count, int* replied, uint32_t from);

// The candidates whose replied flag is 0, in order, at most max of them; returns how many.
int CollectUnanswered(const uint32_t* addresses, const int* replied, int count, uint32_t* out, int max);
