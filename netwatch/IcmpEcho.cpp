#include "IcmpEcho.h"

#include "LittleEndian.h"
#include "NetTrace.h"

#include <cstdio>
#include <cstring>

namespace {

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
        sum += ReadLeU16(p + i);
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
    EchoReplyView v{true, false, -1, 0, 0, 0};
    if (length == 0) return v;
    const size_t icmp = static_cast<size_t>(data[0] & 0x0F) * 4;
    v.ipv4 = (data[0] >> 4) == 4 && icmp >= static_cast<size_t>(kIpHeaderSize);
    if (!v.ipv4 || length < icmp + kEchoFieldsSize) return v;
    v.complete = true;
    v.type = data[icmp];
    v.identifier = ReadLeU16(data + icmp + 4);
    v.sequence = ReadLeU16(data + icmp + 6);
    v.sendTimeMs = ReadLeU32(data + icmp + 8);
    return v;
}

int CollectEchoReplies(EchoSocket& socket, int timeoutMs, uint32_t deadlineMs, const uint32_t* addresses,
                       int count, int* replied, uint16_t identifier) {
    uint8_t buffer[kReplyBufferSize];
    uint32_t end = deadlineMs;
    if (timeoutMs == 0) {
        const uint32_t queued = socket.NowMs() + kQueuedReadMs;
        if (static_cast<int32_t>(queued - end) < 0) end = queued;
    }
    char dotted[16];
    for (;;) {
        if (!socket.Running()) return -1;
        const int32_t left = static_cast<int32_t>(end - socket.NowMs());
        if (left <= 0) return 0;
        // No wait runs past the end, so the whole collection ends by it.
        const bool capped = left < timeoutMs;
        int ready = socket.Wait(capped ? static_cast<int>(left) : timeoutMs);
        if (ready < 0) {
            // Whoever had not answered yet may still be there: no free address can be told.
            std::perror("select()");
            return -1;
        }
        if (ready == 0) {
            // A wait cut short by Stop is no quiet period.
            if (!socket.Running()) return -1;
            if (capped) continue;
            NetTrace("No data within five seconds.\n");
            return 0;
        }
        uint32_t from = 0;
        int error = 0;
        int got = socket.Receive(buffer, sizeof buffer, from, error);
        if (got < 0) {
            if (error == kErrorTimedOut) {
                NetTrace(" timed out/n");
                continue;
            }
            // Only this packet is lost; the replies behind it still count.
            if (error == kErrorMessageSize) continue;
            NetTrace(" recvfrom() failed: %d/n", error);
            return -1;
        }
        uint32_t now = socket.NowMs();
        EchoReplyView reply = ReadEchoReply(buffer, static_cast<size_t>(got));
        // Nothing else comes through an IPv4 raw socket; what does is nobody's reply, short or not.
        if (!reply.ipv4) continue;
        FormatDotted(from, dotted);
        if (!reply.complete) {
            NetTrace(" Too few bytes from %s /n", dotted);
            continue;
        }
        if (reply.type != kIcmpEchoReply) {
            NetTrace(" nonecho type %d recvd /n", reply.type);
            continue;
        }
        if (!IsOurEchoReply(reply, identifier)) {
            NetTrace(" someone else's packet! /n");
            continue;
        }
        MarkReplied(addresses, count, replied, from);
        NetTrace("从 %s 返回 %d 字节, 数据包序列号 = %d, 延时大小: %u ms\n", dotted, got, reply.sequence,
                 static_cast<unsigned>(now - reply.sendTimeMs));
    }
}

int SweepEchoReplies(EchoSocket& socket, const uint32_t* addresses, int count, int timeoutMs, int* replied,
                     uint16_t identifier) {
    std::memset(replied, 0, sizeof(int) * count);
    // The finder holds its lock for the whole sweep: nothing may stretch it past this.
    const uint32_t deadline = socket.NowMs() + static_cast<uint32_t>(timeoutMs) + kSweepGraceMs;
    for (int i = 0; i < count; ++i) {
        if (!socket.WaitForRoom(deadline)) return -1;
        socket.Send(addresses[i], identifier);
        NetTrace("after send : %d\n", i);
        if (i % 8 == 0 && CollectEchoReplies(socket, 0, deadline, addresses, count, replied, identifier) != 0)
            return -1;
    }
    return CollectEchoReplies(socket, timeoutMs, deadline, addresses, count, replied, identifier);
}

void FormatDotted(uint32_t address, char out[16]) {
    uint8_t b[4];
    std::memcpy(b, &address, 4);
    std::snprintf(out, 16, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
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
