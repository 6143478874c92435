// winsock2.h must come before windows.h (through the headers below) pulls in the old winsock.h.
#include <winsock2.h>
#include <iphlpapi.h>

#include "SystemInfo.h"

#include "GbkText.h"
#include "NetTrace.h"
#include "NicChangeListener.h"
#include "QIPServer.h"

#include <cstdlib>
#include <cstring>

namespace {

// IP Helper's texts are char[16] that it terminates; a bound all the same.
void CopyDotted(char* out, const char* text) {
    CopyGbkBounded(out, kDottedSize, text);
}

} // namespace

CSystemInfo::CSystemInfo(CQIPServer* finder)
    : m_szDns1(), m_szDns2(), m_bRefresh(1), m_szSelected(), m_szTarget(), m_addressRequest(), m_bDnsDhcp(0),
      m_szDnsAddress(), m_api(RealHostNetApi()), m_finder(finder) {}

CSystemInfo::~CSystemInfo() {
    WaitForThreadEnd();
    // The listener calls into this inventory, and the finder's thread reads it and is destroyed after
    // it: a step of the finder that outlived its Stop (held up on this lock, say) must be over before
    // the records and the lock go.
    if (EndNicListenerOf(this) && m_finder) m_finder->WaitForThreadEnd();
    ClearAdapters();
}

void CSystemInfo::ClearAdapters() {
    for (AdapterRecord* r : m_adapters)
        std::free(r);
    m_adapters.clear();
}

int CSystemInfo::Start() {
    StartNicListener(this);
    return CQServer::Start();
}

void CSystemInfo::Stop() {
    StopNicListener();
    CQServer::Stop();
}

void CSystemInfo::AddressTableChanged() {
    RequestRefresh();
    if (m_finder) m_finder->RequestRefresh();
}

AdapterRecord* CSystemInfo::FindAdapter(const char* name) {
    if (!name) return nullptr;
    AdapterRecord* copy = static_cast<AdapterRecord*>(std::malloc(sizeof(AdapterRecord)));
    if (!copy) return nullptr;
    bool found = false;
    {
        CQServerLock hold(m_lock);
        for (const AdapterRecord* r : m_adapters) {
            // Byte for byte: a GBK name compares equal only to the same bytes, and case counts.
            if (std::strcmp(r->szConnection, name) == 0) {
                *copy = *r;
                found = true;
                break;
            }
        }
    }
    if (!found) {
        std::free(copy);
        return nullptr;
    }
    return copy;
}

void CSystemInfo::CopyField(char* out, const char* name, size_t offset) {
    if (!out) return;
    char local[kNameSize];
    {
        CQServerLock hold(m_lock);
        CopyGbkBounded(local, sizeof local, name ? name : m_szSelected);
    }
    AdapterRecord* r = FindAdapter(local);
    if (!r) return;
    CopyDotted(out, reinterpret_cast<const char*>(r) + offset);
    std::free(r);
}

int CSystemInfo::GetAdapterDhcp(const char* name) {
    char local[kNameSize];
    {
        CQServerLock hold(m_lock);
        CopyGbkBounded(local, sizeof local, name ? name : m_szSelected);
    }
    AdapterRecord* r = FindAdapter(local);
    if (!r) return -1;
    int dhcp = static_cast<int>(r->DhcpEnabled);
    std::free(r);
    NetTrace("dhcp=%d\n", dhcp);
    return dhcp;
}

void CSystemInfo::GetAdapterIp(char* out, const char* name) {
    CopyField(out, name, offsetof(AdapterRecord, szIp));
}
void CSystemInfo::GetAdapterMask(char* out, const char* name) {
    CopyField(out, name, offsetof(AdapterRecord, szMask));
}
void CSystemInfo::GetAdapterGateway(char* out, const char* name) {
    CopyField(out, name, offsetof(AdapterRecord, szGateway));
}

void CSystemInfo::RefreshAdapters() {
    ClearAdapters();
    DWORD interfaces = 0;
    m_api.getNumberOfInterfaces(&interfaces);
    if (interfaces == 0) {
        NetTrace("NOT FOUND NIC...\n");
        return;
    }
    // One adapter entry per interface to start with. Extra addresses and gateways, or adapters the
    // count missed, need more: the call then says how much.
    unsigned long long want = static_cast<unsigned long long>(interfaces) * sizeof(IP_ADAPTER_INFO);
    if (want > 0x7FFFFFFFull) return;
    void* buffer = FillGrowing(static_cast<ULONG>(want), 4,
                               [this](void* b, ULONG* size) { return m_api.getAdaptersInfo(b, size); });
    if (!buffer) return;
    for (const IP_ADAPTER_INFO* a = static_cast<const IP_ADAPTER_INFO*>(buffer); a; a = a->Next) {
        AdapterRecord* r;
        while (!(r = static_cast<AdapterRecord*>(std::calloc(1, sizeof(AdapterRecord)))))
            Sleep(1);
        m_api.readConnectionName(a->AdapterName, r->szConnection, sizeof r->szConnection);
        CopyGbkBounded(r->szDescription, sizeof r->szDescription, a->Description);
        FormatMacText(a->Address, r->szMac);
        r->DhcpEnabled = a->DhcpEnabled;
        CopyDotted(r->szIp, a->IpAddressList.IpAddress.String);
        CopyDotted(r->szMask, a->IpAddressList.IpMask.String);
        CopyDotted(r->szGateway, a->GatewayList.IpAddress.String);
        m_adapters.push_back(r);
    }
    std::free(buffer);

    ULONG need = 0;
    m_api.getNetworkParams(nullptr, &need);
    if (need == 0) return;
    void* params = std::malloc(need);
    if (!params) return;
    if (m_api.getNetworkParams(params, &need) == ERROR_SUCCESS) {
        const FIXED_INFO* fi = static_cast<const FIXED_INFO*>(params);
        CopyDotted(m_szDns1, fi->DnsServerList.IpAddress.String);
        if (fi->DnsServerList.Next) CopyDotted(m_szDns2, fi->DnsServerList.Next->IpAddress.String);
    }
    std::free(params);
}

void CSystemInfo::Run() {
    RunEachSecond([this] { Step(); });
}

void CSystemInfo::Step() {
    CQServerLock hold(m_lock);

    // Taken before the rebuild, so a change reported while it runs is not lost.
    if (m_bRefresh.exchange(0)) RefreshAdapters();
    if (m_szSelected[0] == '\0') {
        for (const AdapterRecord* r : m_adapters) {
            if (inet_addr(r->szIp) != 0) {
                CopyGbkBounded(m_szSelected, sizeof m_szSelected, r->szConnection);
                break;
            }
        }
    }

    if (AddressRequestPending(m_addressRequest)) {
        char ip[kDottedSize] = "", mask[kDottedSize] = "", gateway[kDottedSize] = "";
        GetAdapterIp(ip, nullptr);
        GetAdapterMask(mask, nullptr);
        GetAdapterGateway(gateway, nullptr);
        bool same = AddressRequestMatches(m_addressRequest, ip, mask, gateway) &&
                    static_cast<int>(m_addressRequest.DhcpEnabled) == GetAdapterDhcp(nullptr);
        if (!same) {
            char command[kCommandLineSize];
            if (FormatAddressCommand(command, sizeof command, m_szTarget, m_addressRequest.DhcpEnabled,
                                     m_addressRequest.szIp, m_addressRequest.szMask,
                                     m_addressRequest.szGateway))
                m_api.runCommandLine(command, 1, 0);
            else
                NetTrace("address request for \"%s\" not run: it does not make a valid command line\n",
                         m_szTarget);
            std::memset(&m_addressRequest, 0, sizeof m_addressRequest);
            m_bRefresh = 1;
        }
    }

    if (m_bDnsDhcp || m_szDnsAddress[0] != '\0') {
        char command[kCommandLineSize];
        if (FormatDnsCommand(command, sizeof command, m_szTarget, m_bDnsDhcp, m_szDnsAddress))
            m_api.runCommandLine(command, 1, 0);
        else
            NetTrace("DNS request for \"%s\" not run: it does not make a valid command line\n", m_szTarget);
        m_bDnsDhcp = 0;
        std::memset(m_szDnsAddress, 0, sizeof m_szDnsAddress);
    }
}

void CSystemInfo::RequestAddress(const char* connection, uint32_t dhcp, const char* ip, const char* mask,
                                 const char* gateway) {
    CQServerLock hold(m_lock);
    CopyGbkBounded(m_szTarget, sizeof m_szTarget, connection);
    std::memset(&m_addressRequest, 0, sizeof m_addressRequest);
    m_addressRequest.DhcpEnabled = dhcp;
    CopyDotted(m_addressRequest.szIp, ip);
    CopyDotted(m_addressRequest.szMask, mask);
    CopyDotted(m_addressRequest.szGateway, gateway);
}

void CSystemInfo::RequestDns(const char* connection, int dhcp, const char* address) {
    CQServerLock hold(m_lock);
    CopyGbkBounded(m_szTarget, sizeof m_szTarget, connection);
    m_bDnsDhcp = dhcp;
    CopyGbkBounded(m_szDnsAddress, sizeof m_szDnsAddress, address);
}

std::vector<AdapterRecord> CSystemInfo::Adapters() {
    CQServerLock hold(m_lock);
    std::vector<AdapterRecord> copies;
    for (const AdapterRecord* r : m_adapters)
        copies.push_back(*r);
    return copies;
}

void CSystemInfo::GetSelectedName(char out[kNameSize]) {
    CQServerLock hold(m_lock);
    CopyGbkBounded(out, kNameSize, m_szSelected);
}

void CSystemInfo::GetDnsServers(char dns1[kDottedSize], char dns2[kDottedSize]) {
    CQServerLock hold(m_lock);
    CopyDotted(dns1, m_szDns1);
    CopyDotted(dns2, m_szDns2);
}

bool CSystemInfo::AddressRequestIsPending() {
    CQServerLock hold(m_lock);
    return AddressRequestPending(m_addressRequest);
}

bool CSystemInfo::DnsRequestIsPending() {
    CQServerLock hold(m_lock);
    return m_bDnsDhcp != 0 || m_szDnsAddress[0] != '\0';
}
