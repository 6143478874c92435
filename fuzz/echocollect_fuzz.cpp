// The sweep's collection of replies, fed by a raw socket on a clock of its own that delivers the input
// as datagrams, with receive errors, a failing wait and a stop among them.
//
// Input: four bytes of settings, then records until the input ends.
//   settings: timeout (0: a collection of what is queued, else 8 ms a unit), the deadline (16 bits,
//             little-endian, ms after the start), the stop (0: none, else 16 ms a unit)
//   record:   gap (ms after the previous arrival); kind (bits 0-2: 0-3 a datagram, 4 a receive that
//             times out, 5 one too large for the buffer, 6 another receive error, 7 a wait that fails;
//             bits 3-5: the sender, 0-3 a candidate, 4-7 another host; bits 6-7: ms to read it);
//             length; then that many bytes of the datagram (fewer where the input ends).
#include "IcmpEcho.h"
#include "NetTrace.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/asan_interface.h>
#define LK_POISON(p, n) __asan_poison_memory_region((p), (n))
#define LK_UNPOISON(p, n) __asan_unpoison_memory_region((p), (n))
#endif
#endif
#ifndef LK_POISON
#define LK_POISON(p, n) ((void)(p), (void)(n))
#define LK_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace {

enum Kind { kData = 0, kTimedOut = 4, kTooLarge = 5, kOtherError = 6, kWaitFails = 7 };

struct Record {
    uint32_t atMs;
    int kind;
    uint32_t from;
    uint32_t readMs;
    std::vector<uint8_t> bytes;
};

uint32_t Addr(uint8_t last) {
    const uint8_t b[4] = {10, 0, 0, last};
    uint32_t v;
    std::memcpy(&v, b, 4);
    return v;
}

// Our identifier is 0: bytes that never arrived, zero here, would read as ours.
constexpr uint16_t kOurs = 0;
constexpr int kCandidates = 4;
constexpr uint32_t kStart = 1000;

class FuzzSocket : public EchoSocket {
public:
    explicit FuzzSocket(const std::vector<Record>& records) : m_records(records) {}
    bool WaitForRoom(uint32_t) override { __builtin_trap(); }
    void Send(uint32_t, uint16_t) override { __builtin_trap(); }
    int Wait(int timeoutMs) override {
        if (timeoutMs < 0 || ++waits > m_records.size() + 2) __builtin_trap(); // a loop that does not end
        const bool arrives = next < m_records.size() && m_records[next].atMs <= now + timeoutMs;
        const uint32_t until =
            arrives ? (m_records[next].atMs > now ? m_records[next].atMs : now) : now + timeoutMs;
        if (stopAtMs < until) {
            now = stopAtMs > now ? stopAtMs : now;
            return 0;
        }
        now = until;
        if (arrives && m_records[next].kind == kWaitFails) {
            waitFailed = true;
            return -1;
        }
        return arrives ? 1 : 0;
    }
    int Receive(uint8_t* buffer, int size, uint32_t& from, int& error) override {
        if (next >= m_records.size() || m_records[next].kind == kWaitFails)
            __builtin_trap(); // nothing waited
        const Record& r = m_records[next++];
        now += r.readMs;
        if (r.kind == kTimedOut || r.kind == kTooLarge || r.kind == kOtherError) {
            error = r.kind == kTimedOut ? kErrorTimedOut : r.kind == kTooLarge ? kErrorMessageSize : 10054;
            return -1;
        }
        // What lies beyond the datagram never arrived: zeros that would look like our reply, and out
        // of bounds under the sanitizer.
        LK_UNPOISON(buffer, size);
        std::memset(buffer, 0, size);
        const size_t n = r.bytes.size() < static_cast<size_t>(size) ? r.bytes.size() : size;
        if (n) std::memcpy(buffer, r.bytes.data(), n);
        LK_POISON(buffer + n, size - n);
        m_last = buffer;
        m_lastSize = size;
        from = r.from;
        return static_cast<int>(n);
    }
    uint32_t NowMs() override { return now; }
    bool Running() override { return now < stopAtMs; }
    // The collection's buffer is whole again before its frame is reused.
    void Release() { LK_UNPOISON(m_last, m_lastSize); }

    uint32_t now = kStart;
    uint32_t stopAtMs = UINT32_MAX;
    size_t next = 0;
    size_t waits = 0;
    bool waitFailed = false;

private:
    const std::vector<Record>& m_records;
    uint8_t* m_last = nullptr;
    int m_lastSize = 0;
};

int g_tooFew;
void CountTraces(const char* line) {
    if (std::strncmp(line, " Too few bytes from ", 20) == 0) ++g_tooFew;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const int timeoutMs = data[0] * 8;
    const uint32_t deadline = kStart + (data[1] | data[2] << 8);
    const uint32_t stopAtMs = data[3] ? kStart + data[3] * 16u : UINT32_MAX;
    std::vector<Record> records;
    uint32_t at = kStart;
    for (size_t i = 4; i + 3 <= size;) {
        Record r;
        at += data[i];
        r.atMs = at;
        r.kind = (data[i + 1] & 7) < 4 ? kData : data[i + 1] & 7;
        const int sender = (data[i + 1] >> 3) & 7;
        r.from = Addr(static_cast<uint8_t>(sender < kCandidates ? 101 + sender : sender - kCandidates + 1));
        r.readMs = data[i + 1] >> 6;
        const size_t length = data[i + 2];
        i += 3;
        const size_t n = length < size - i ? length : size - i;
        r.bytes.assign(data + i, data + i + n);
        i += n;
        records.push_back(r);
    }

    uint32_t candidates[kCandidates];
    for (int c = 0; c < kCandidates; ++c)
        candidates[c] = Addr(static_cast<uint8_t>(101 + c));
    int replied[kCandidates] = {0};
    g_tooFew = 0;
    SetNetTraceSink(CountTraces);
    FuzzSocket socket(records);
    socket.stopAtMs = stopAtMs;
    const int result =
        CollectEchoReplies(socket, timeoutMs, deadline, candidates, kCandidates, replied, kOurs);
    socket.Release();
    SetNetTraceSink(nullptr);

    // What the datagrams it read say, by the plain rules: a reply counts when it is ours (an IPv4 header
    // of at least 20 bytes, then all twelve bytes of an echo reply with our identifier) and comes from a
    // candidate. Only a packet cut short is traced as too short.
    int expected[kCandidates] = {0};
    int tooFew = 0;
    bool failed = socket.waitFailed;
    for (size_t r = 0; r < socket.next; ++r) {
        const Record& rec = records[r];
        if (rec.kind == kOtherError) failed = true;
        if (rec.kind != kData) continue;
        const std::vector<uint8_t>& p = rec.bytes;
        if (p.empty()) {
            ++tooFew;
            continue;
        }
        const size_t header = (p[0] & 0x0F) * 4u;
        if (p[0] >> 4 != 4 || header < 20) continue;
        if (p.size() < header + 12) {
            ++tooFew;
            continue;
        }
        const bool ours = p[header] == 0 && (p[header + 4] | p[header + 5] << 8) == kOurs;
        for (int c = 0; c < kCandidates; ++c) {
            if (ours && rec.from == candidates[c]) expected[c] = 1;
        }
    }
    if (std::memcmp(expected, replied, sizeof expected) != 0) __builtin_trap();
    if (tooFew != g_tooFew) __builtin_trap();
    // A failed wait or receive, or a stop, fails the collection; nothing else does.
    if (result != ((failed || socket.now >= stopAtMs) ? -1 : 0)) __builtin_trap();
    // It ends by its deadline, give or take the reading of one packet; with timeout 0 it reads only what
    // was queued, a few milliseconds' worth.
    const uint32_t end =
        timeoutMs == 0 && kStart + kQueuedReadMs < deadline ? kStart + kQueuedReadMs : deadline;
    if (static_cast<int32_t>(socket.now - end) > 3) __builtin_trap();
    if (timeoutMs == 0) {
        for (size_t r = 0; r < socket.next; ++r)
            if (records[r].atMs > kStart + kQueuedReadMs) __builtin_trap();
    }
    return 0;
}
