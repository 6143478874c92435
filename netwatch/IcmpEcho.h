// ICMP echo packets of the free-address sweep: the request we send, the reply we read, the collection
// of replies, the /24 candidates and the pool of addresses that stayed silent. Platform-free.
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
// A received packet is an IPv4 header, 20 bytes unless it carries options, then the ICMP message.
constexpr int kIpHeaderSize = 20;
// Type, code, checksum, identifier, sequence number and send time: what a reply of ours brings back.
constexpr int kEchoFieldsSize = 12;
constexpr int kIcmpEchoReply = 0;
constexpr int kIcmpEchoRequest = 8;

// Winsock's error codes that the collection tells apart.
constexpr int kErrorTimedOut = 10060;    // WSAETIMEDOUT: wait again
constexpr int kErrorMessageSize = 10040; // WSAEMSGSIZE: a packet larger than the buffer (a big ping)
// The collection ends at the latest this long after its own timeout: steady ICMP traffic (anything
// pinging this PC) never leaves it the quiet period it otherwise waits for.
constexpr int kCollectionGraceMs = 5000;

// RFC 1071: one's-complement sum of 16-bit words in memory order, an odd last byte on its own, carries
// folded back, inverted. Stored back in memory order, the sum over the whole packet checks to zero
// whatever the byte order of the machine that verifies it.
uint16_t InternetChecksum(int length, const void* data);

// Fills one echo request: type 8, code 0, the identifier, sequence number and send time little-endian
// as this machine stores them (the peer echoes the bytes back unchanged), then the checksum.
void BuildEchoRequest(uint8_t packet[kEchoRequestSize], uint16_t identifier, uint16_t sequence,
                      uint32_t sendTimeMs);

// One received packet. The ICMP fields follow the header length that the packet itself gives; they
// are read only from an IPv4 header after which all twelve bytes arrived (complete), never from
// whatever an earlier packet left in the buffer.
struct EchoReplyView {
    bool complete;
    int type;
    uint16_t identifier;
    uint16_t sequence;
    uint32_t sendTimeMs;
};
EchoReplyView ReadEchoReply(const uint8_t* data, size_t length);

// An echo reply to one of our own requests: type 0 and our identifier.
inline bool IsOurEchoReply(const EchoReplyView& v, uint16_t identifier) {
    return v.complete && v.type == kIcmpEchoReply && v.identifier == identifier;
}

// The raw socket and the clock as the collection sees them.
class EchoSocket {
public:
    virtual ~EchoSocket() = default;
    // 1: a packet waits; 0: none arrived within timeoutMs, or the wait ended early for a stop;
    // -1: the wait failed.
    virtual int Wait(int timeoutMs) = 0;
    // The number of bytes received and their sender (network order), or -1 and the error code.
    virtual int Receive(uint8_t* buffer, int size, uint32_t& from, int& error) = 0;
    virtual uint32_t NowMs() = 0;
    // False once the worker has been told to stop.
    virtual bool Running() = 0;
};

// Reads replies until none arrives within timeoutMs, or kCollectionGraceMs after that, marking the
// candidates that answered. 0 when done; -1 after a receive error or a stop: the candidates not heard
// from then cannot count as free.
int CollectEchoReplies(EchoSocket& socket, int timeoutMs, const uint32_t* addresses, int count, int* replied,
                       uint16_t identifier);

// Dotted text of an address in network order.
void FormatDotted(uint32_t address, char out[16]);

// The 154 candidates of the /24 of address (network byte order as stored): its last octet replaced by
// 101 .. 254, in that order. The mask plays no part.
void BuildSweepCandidates(uint32_t address, uint32_t out[kSweepCount]);

// Marks the first candidate equal to from as replied; returns its index, or -1 when from is not one.
int MarkReplied(const uint32_t* addresses, int count, int* replied, uint32_t from);

// The candidates whose replied flag is 0, in order, at most max of them; returns how many.
int CollectUnanswered(const uint32_t* addresses, const int* replied, int count, uint32_t* out, int max);
