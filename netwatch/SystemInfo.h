// The inventory of the PC's network adapters: its worker reads them again when asked (by the
// address-change listener, by an applied request) and applies address and DNS requests to a connection
// through netsh.
#pragma once

#include "AdapterRecord.h"
#include "HostNetApi.h"
#include "QServer.h"

#include <atomic>
#include <vector>

class CQIPServer;

class CSystemInfo : public CQServer {
public:
    // finder: the free-address finder that reads this inventory (NULL: none). An address change has it
    // look again; when this inventory started the listener, its destructor waits for the finder's thread.
    explicit CSystemInfo(CQIPServer* finder = nullptr);
    ~CSystemInfo() override;

    // Starts the worker, and the address-change listener for this inventory unless one runs.
    int Start();
    // Ends the listener, whichever inventory started it, and the worker (CQServer::Stop).
    void Stop();
    void RequestRefresh() { m_bRefresh = 1; }
    bool RefreshPending() const { return m_bRefresh.load() != 0; }
    // The listener's call at each change of the address table: this inventory and its finder read again.
    void AddressTableChanged();

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
    CQIPServer* m_finder;
};
