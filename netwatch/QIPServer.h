// The free-address finder: keeps the addresses .101 to .254 of the selected adapter's /24 that did
// not answer an ICMP echo request, and sweeps again whenever that adapter's address changes.
#pragma once

#include "IcmpEcho.h"
#include "QServer.h"

#include <atomic>
#include <cstdint>
#include <vector>

class CSystemInfo;

class CQIPServer : public CQServer {
public:
    // inventory: where the selected adapter's address comes from. NULL: none, and nothing to sweep.
    explicit CQIPServer(CSystemInfo* inventory = nullptr);
    ~CQIPServer() override;

    void Stop();
    void RequestRefresh() { m_bRefresh = 1; }
    bool RefreshPending() const { return m_bRefresh.load() != 0; }

    // Rebuilds the pool for the dotted address ip.
    void initIPList(const char* ip);
    void Run() override;
    // The once-a-second work of the body; step is the body's step counter, advanced here.
    void Step(unsigned& step);

    // What the pool holds now (copies, under the lock): count is -1 after a failed sweep.
    int FreeCount();
    std::vector<uint32_t> FreeAddresses();
    std::vector<uint32_t> Marks();
    void GetLocalIp(char out[16]);

private:
    uint32_t m_freeAddresses[kFreePoolSize];
    int m_nCount;
    uint32_t m_marks[kFreePoolSize];
    std::atomic<int> m_bRefresh;
    char m_szLocalIp[16];
    CSystemInfo* m_inventory;
};

// A sweep ends early, failed, once stop (a manual-reset event; nullptr: none) is set.
// The candidates of ip's /24 that did not answer, at most max, into out; -1 when the sweep failed.
int FindFreeAddresses(const char* ip, int timeoutMs, uint32_t* out, int max, HANDLE stop = nullptr);
// One echo request to each address; replied[i] = 1 for each that answered. Ends at the latest
// timeoutMs + kSweepGraceMs after it starts. -1 without a raw socket, when a wait or a receive failed,
// when stopped, or when the deadline came before every request was sent.
int PingSweep(const uint32_t* addresses, int count, int timeoutMs, int* replied, HANDLE stop = nullptr);
// Sockets are passed as UINT_PTR (what SOCKET is) so this header needs no winsock2.h.
int SendEchoRequest(UINT_PTR s, uint32_t address, uint16_t identifier);
// Reads replies until none comes within timeoutMs (at most kSweepGraceMs longer); 0, or -1 when a wait
// or a receive failed or on a stop.
int ReceiveEchoReplies(int timeoutMs, UINT_PTR s, const uint32_t* addresses, int count, int* replied,
                       uint16_t identifier, HANDLE stop = nullptr);
