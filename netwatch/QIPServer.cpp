#include <winsock2.h>

#include "QIPServer.h"

#include "NetTrace.h"
#include "SystemInfo.h"

#include <cstdio>
#include <cstring>

namespace {

// Shared by the whole process; only the finder's one worker sweeps, so one sweep runs at a time.
uint8_t g_echoPacket[kEchoRequestSize];
uint16_t g_echoSequence = 0;

// How soon a wait on the socket sees a Stop.
constexpr int kSliceMs = 100;

class WinsockEchoSocket : public EchoSocket {
public:
    WinsockEchoSocket(SOCKET s, HANDLE stop) : m_socket(s), m_stop(stop) {}
    // Requests to addresses that nobody owns stay queued in the system until its neighbour look-up
    // gives up, seconds later; while they fill the socket's send buffer a send blocks, deaf to Stop.
    bool WaitForRoom(uint32_t deadlineMs) override {
        for (;;) {
            if (!Running() || static_cast<int32_t>(GetTickCount() - deadlineMs) >= 0) return false;
            fd_set writable;
            FD_ZERO(&writable);
            FD_SET(m_socket, &writable);
            timeval tv;
            tv.tv_sec = 0;
            tv.tv_usec = kSliceMs * 1000;
            const int ready = select(0, nullptr, &writable, nullptr, &tv);
            if (ready == SOCKET_ERROR) {
                std::perror("select()");
                return false;
            }
            if (ready > 0) return true;
        }
    }
    void Send(uint32_t address, uint16_t identifier) override {
        SendEchoRequest(m_socket, address, identifier);
    }
    // In slices, so that a Stop is seen within one of them rather than after the whole timeout.
    int Wait(int timeoutMs) override {
        const DWORD start = GetTickCount();
        for (;;) {
            const int left = timeoutMs - static_cast<int>(GetTickCount() - start);
            const int slice = left < 0 ? 0 : left < kSliceMs ? left : kSliceMs;
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(m_socket, &readable);
            timeval tv;
            tv.tv_sec = slice / 1000;
            tv.tv_usec = (slice % 1000) * 1000;
            int ready = select(0, &readable, nullptr, nullptr, &tv);
            if (ready == SOCKET_ERROR) return -1;
            if (ready > 0) return 1;
            if (left <= slice || !Running()) return 0;
        }
    }
    int Receive(uint8_t* buffer, int size, uint32_t& from, int& error) override {
        sockaddr_in sender;
        int senderLen = sizeof sender;
        std::memset(&sender, 0, sizeof sender);
        int got = recvfrom(m_socket, reinterpret_cast<char*>(buffer), size, 0,
                           reinterpret_cast<sockaddr*>(&sender), &senderLen);
        if (got == SOCKET_ERROR) {
            error = WSAGetLastError();
            return -1;
        }
        from = sender.sin_addr.s_addr;
        return got;
    }
    uint32_t NowMs() override { return GetTickCount(); }
    bool Running() override { return !IsStopSet(m_stop); }

private:
    SOCKET m_socket;
    HANDLE m_stop;
};

} // namespace

CQIPServer::CQIPServer(CSystemInfo* inventory)
    : m_freeAddresses(), m_nCount(0), m_marks(), m_bRefresh(1), m_szLocalIp(), m_inventory(inventory) {}

CQIPServer::~CQIPServer() {
    WaitForThreadEnd();
}

void CQIPServer::Stop() {
    CQServer::Stop();
}

void CQIPServer::Run() {
    unsigned step = 0;
    RunEachSecond([this, &step] { Step(step); });
}

void CQIPServer::Step(unsigned& step) {
    {
        CQServerLock hold(m_lock);
        // Taken before the look: an address change reported while it runs (a sweep takes seconds) is
        // looked at in the next step, not lost.
        if (m_bRefresh.exchange(0) || m_nCount <= 0) {
            // Until the inventory has read the adapters again, the address it gives may be the one
            // from before the change: look once more at the next step. (Its flag is cleared under its
            // lock, before the read that the look below then waits for.)
            if (m_inventory && m_inventory->RefreshPending()) m_bRefresh = 1;
            char ip[16] = "";
            if (m_inventory) m_inventory->GetAdapterIp(ip, nullptr);
            if (ip[0] != '\0' && std::strcmp(ip, "0.0.0.0") != 0 && std::strcmp(ip, m_szLocalIp) != 0) {
                std::memcpy(m_szLocalIp, ip, sizeof m_szLocalIp);
                initIPList(ip);
                // A sweep cut short by Stop is made again by the next Start.
                if (StopRequested()) m_szLocalIp[0] = '\0';
            }
        }
    }
    if (step % 60 == 0) m_bRefresh = 1;
    ++step;
}

void CQIPServer::initIPList(const char* ip) {
    m_nCount = FindFreeAddresses(ip, 1000, m_freeAddresses, kFreePoolSize, StopEvent());
    for (uint32_t& mark : m_marks)
        mark = 1;
    NetTrace("initIPList, freecnt:%d\n", m_nCount);
    for (int i = 0; i < m_nCount; ++i) {
        m_marks[i] = 0;
        in_addr a;
        a.s_addr = m_freeAddresses[i];
        NetTrace("freeip:%s\n", inet_ntoa(a));
    }
}

int CQIPServer::FreeCount() {
    CQServerLock hold(m_lock);
    return m_nCount;
}

std::vector<uint32_t> CQIPServer::FreeAddresses() {
    CQServerLock hold(m_lock);
    return std::vector<uint32_t>(m_freeAddresses, m_freeAddresses + (m_nCount > 0 ? m_nCount : 0));
}

std::vector<uint32_t> CQIPServer::Marks() {
    CQServerLock hold(m_lock);
    return std::vector<uint32_t>(m_marks, m_marks + kFreePoolSize);
}

void CQIPServer::GetLocalIp(char out[16]) {
    CQServerLock hold(m_lock);
    std::memcpy(out, m_szLocalIp, sizeof m_szLocalIp);
}

int FindFreeAddresses(const char* ip, int timeoutMs, uint32_t* out, int max, HANDLE stop) {
    uint32_t candidates[kSweepCount];
    int replied[kSweepCount];
    BuildSweepCandidates(inet_addr(ip), candidates);
    if (PingSweep(candidates, kSweepCount, timeoutMs, replied, stop) != 0) return -1;
    return CollectUnanswered(candidates, replied, kSweepCount, out, max);
}

int PingSweep(const uint32_t* addresses, int count, int timeoutMs, int* replied, HANDLE stop) {
    std::memset(replied, 0, sizeof(int) * count);
    // Nothing else in the program need have started Winsock; the count is per call, so this pairs up.
    WSADATA wsa;
    bool started = WSAStartup(MAKEWORD(2, 2), &wsa) == 0;
    SOCKET s = socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
    if (s == INVALID_SOCKET) {
        NetTrace("Failed create socket\n");
        if (started) WSACleanup();
        return -1;
    }
    WinsockEchoSocket sweep(s, stop);
    int result = SweepEchoReplies(sweep, addresses, count, timeoutMs, replied,
                                  static_cast<uint16_t>(GetCurrentProcessId()));
    closesocket(s);
    if (started) WSACleanup();
    return result;
}

int SendEchoRequest(UINT_PTR s, uint32_t address, uint16_t identifier) {
    BuildEchoRequest(g_echoPacket, identifier, g_echoSequence++, GetTickCount());
    sockaddr_in to;
    std::memset(&to, 0, sizeof to);
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = address;
    to.sin_port = 0;
    sendto(s, reinterpret_cast<const char*>(g_echoPacket), kEchoRequestSize, 0,
           reinterpret_cast<sockaddr*>(&to), sizeof to);
    return 0;
}

int ReceiveEchoReplies(int timeoutMs, UINT_PTR s, const uint32_t* addresses, int count, int* replied,
                       uint16_t identifier, HANDLE stop) {
    WinsockEchoSocket socket(s, stop);
    return CollectEchoReplies(socket, timeoutMs, GetTickCount() + timeoutMs + kSweepGraceMs, addresses, count,
                              replied, identifier);
}
