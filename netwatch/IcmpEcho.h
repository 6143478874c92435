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
// A sweep ends at the latest this long after its timeout, counted from its start: its sends may wait
// for room while the system looks up neighbours that never answer (about 3 s), and steady ICMP traffic
// (anything pinging this PC) never leaves the collection the quiet period it otherwise waits for.
constexpr int kSweepGraceMs = 5000;
// A collection with timeout 0 takes what is already queued, for no longer than this: a flood at the
// adapter must not hold up the sends around it.
constexpr int kQueuedReadMs = 5;

// RFC 1071: one's-complement sum of 16-bit words in memory order, an odd last byte on its own, carries
// folded back, inverted. Stored back in memory order, the sum over the whole packet checks to zero
// whatever the byte order of the machine that verifies it.
uint16_t InternetChecksum(int length, const void* data);

// Fills one echo request: type 8, code 0, the identifier, sequence number and send time little-endian
// as this machine stores them (the peer echoes the bytes back unchanged), then the checksum.
void BuildEchoRequest(uint8_t packet[kEchoRequestSize], uint16_t identifier, uint16_t sequence,
                      uint32_t sendTimeMs);

// One received packet. The ICMP fields follow the header length that the packet itself gives; they
// are read only from an IPv4 header (ipv4: version 4, at least 20 bytes long) after which all twelve
// bytes arrived (complete), never from whatever an earlier packet left in the buffer. An empty packet
// counts as IPv4, cut short.
struct EchoReplyView {
    bool ipv4;
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

// The raw socket and the clock as the sweep sees them.
class EchoSocket {
public:
    virtual ~EchoSocket() = default;
    // True once one more request can be sent without blocking; false when the worker is stopped, the
    // wait fails or the clock reaches deadlineMs first.
    virtual bool WaitForRoom(uint32_t deadlineMs) = 0;
    // Sends one echo request; what the send gives is not looked at.
    virtual void Send(uint32_t address, uint16_t identifier) = 0;
    // 1: a packet waits; 0: none arrived within timeoutMs, or the wait ended early for a stop;
    // -1: the wait failed.
    virtual int Wait(int timeoutMs) = 0;
    // The number of bytes received and their sender (network order), or -1 and the error code.
    virtual int Receive(uint8_t* buffer, int size, uint32_t& from, int& error) = 0;
    virtual uint32_t NowMs() = 0;
    // False once the worker has been told to stop.
    virtual bool Running() = 0;
};

// Reads replies, marking the candidates that answered, until none arrives within timeoutMs or the
// socket's clock reaches deadlineMs, the sweep's one deadline. With timeoutMs 0 it takes only what is
// already queued, for at most kQueuedReadMs. 0 when done; -1 when a wait or a receive failed or the
// worker was stopped: the candidates not heard from then cannot count as free.
int CollectEchoReplies(EchoSocket& socket, int timeoutMs, uint32_t deadlineMs, const uint32_t* addresses,
                       int count, int* replied, uint16_t identifier);

// One echo request to each address, and after every eighth what replies are queued by then; then the
// replies until none arrives within timeoutMs. All of it by one deadline, timeoutMs + kSweepGraceMs
// after the start. replied[i] = 1 for each address that answered. 0, or -1 as the collection, or when
// the deadline came before every request was sent.
int SweepEchoReplies(EchoSocket& socket, const uint32_t* addresses, int count, int timeoutMs, int* replied,
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
