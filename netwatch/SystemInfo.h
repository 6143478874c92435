// The inventory of the PC's network adapters, its address-change listener, and the path that applies
// address and DNS requests to a connection through netsh.
#pragma once

#include "AdapterRecord.h"
#include "QServer.h"

#include <atomic>
#include <vector>

// The system calls the inventory makes. The program uses the real ones; tests put in their own
// adapter lists and a process runner that starts nothing. Buffers are IP_ADAPTER_INFO chains and a
// FIXED_INFO record, as IP Helper fills them.
struct HostNetApi {
    DWORD (*getNumberOfInterfaces)(DWORD* count);
    DWORD (*getAdaptersInfo)(void* buffer, ULONG* size);
    DWORD (*getNetworkParams)(void* buffer, ULONG* size);
    // Reads value "Name" of the adapter's connection key; false leaves out as it was.
    bool (*readConnectionName)(const char* adapterName, char* out, DWORD size);
    int (*runCommandLine)(char* command, int wait, int show);
};
const HostNetApi& RealHostNetApi();

class CSystemInfo : public CQServer {
public:
    CSystemInfo();
    ~CSystemInfo() override;

    int Start();
    void Stop();
    void RequestRefresh() { m_bRefresh = 1; }
    bool RefreshPending() const { return m_bRefresh.load() != 0; }

    // A copy of the first record named name (caller frees it with free), NULL when none.
    AdapterRecord* FindAdapter(const char* name);
    // name NULL: the selected adapter. -1 when there is no such adapter.
    int GetAdapterDhcp(const char* name);
    // out holds 16 bytes; left as it was when there is no such adapter.
    void GetAdapterIp(char* out, const char* name);
    void GetAdapterMask(char* out, const char* name);
    void GetAdapterGateway(char* out, const char* name);

    // Rebuilds the inventory; the caller holds the lock.
    void RefreshAdapters();
    void Run() override;
    // The once-a-second work of the body: refresh, selection, pending requests.
    void Step();

    // Places requests for the worker to apply to connection (the lock is taken here). An address
    // request with dhcp non-zero asks for DHCP; else for ip, mask and gateway.
    void RequestAddress(const char* connection, uint32_t dhcp, const char* ip, const char* mask,
                        const char* gateway);
    void RequestDns(const char* connection, int dhcp, const char* address);

    // What the inventory holds now (copies, taken under the lock).
    std::vector<AdapterRecord> Adapters();
    void GetSelectedName(char out[kNameSize]);
    void GetDnsServers(char dns1[kDottedSize], char dns2[kDottedSize]);
    bool AddressRequestIsPending();
    bool DnsRequestIsPending();

    // Only before Start.
    void SetHostNetApi(const HostNetApi& api) { m_api = api; }

private:
    void CopyField(char* out, const char* name, size_t offset);
    void ClearAdapters();

    std::vector<AdapterRecord*> m_adapters;
    char m_szDns1[kDottedSize];
    char m_szDns2[kDottedSize];
    std::atomic<int> m_bRefresh;
    char m_szSelected[kNameSize];
    char m_szTarget[kNameSize];
    AdapterRecord m_addressRequest;
    int m_bDnsDhcp;
    char m_szDnsAddress[32];
    HostNetApi m_api;
};

// Runs a command line as a new process, without a window unless show; waits up to 20 s when wait.
// 1 when the process started.
int RunCommandLine(char* command, int wait, int show);

// The listener thread: waits for changes of the PC's IP address table, or for its stop event (the
// argument), and asks both workers to refresh at each change. Started by Start, ended by Stop.
unsigned __stdcall NicChangeListener(void* stopEvent);
// Wakes the listener as an address change does. Wine never signals NotifyAddrChange, so this is how
// a change is made in tests. False while the listener has no event.
bool SignalNicChange();
