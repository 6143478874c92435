// winsock2.h must come before windows.h (through the headers below) pulls in the old winsock.h.
#include <winsock2.h>
#include <iphlpapi.h>

#include "NetWatch.h"

#include "GbkText.h"
#include "NetTrace.h"

#include <process.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

DWORD RealGetNumberOfInterfaces(DWORD* count) {
    return ::GetNumberOfInterfaces(count);
}
DWORD RealGetAdaptersInfo(void* buffer, ULONG* size) {
    return ::GetAdaptersInfo(static_cast<IP_ADAPTER_INFO*>(buffer), size);
}
DWORD RealGetNetworkParams(void* buffer, ULONG* size) {
    return ::GetNetworkParams(static_cast<FIXED_INFO*>(buffer), size);
}

bool RealReadConnectionName(const char* adapterName, char* out, DWORD size) {
    char path[512];
    int n = std::snprintf(path, sizeof path,
                          "SYSTEM\\CurrentControlSet\\Control\\Network\\"
                          "{4D36E972-E325-11CE-BFC1-08002BE10318}\\%s\\Connection",
                          adapterName);
    if (n < 0 || static_cast<size_t>(n) >= sizeof path) return false;
    HKEY key = nullptr;
    // Read rights only: without elevation the key cannot be opened for writing.
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    // Up to a whole field's worth (260 bytes) is read; the registry does not promise a terminator,
    // so one byte beyond it stays free for one.
    char value[kNameSize + 1] = {0};
    DWORD cb = kNameSize;
    LONG rc = RegQueryValueExA(key, "Name", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &cb);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return false;
    CopyGbkBounded(out, size, value);
    return true;
}

// IP Helper's texts are char[16] that it terminates; a bound all the same.
void CopyDotted(char* out, const char* text) {
    CopyGbkBounded(out, kDottedSize, text);
}

const HostNetApi kRealApi = {RealGetNumberOfInterfaces, RealGetAdaptersInfo, RealGetNetworkParams,
                             RealReadConnectionName, RunCommandLine};

// Listener state, one per process. The thread handle and the stop event belong to Start and Stop.
std::atomic<int> g_nicKeepRunning{0};
std::atomic<HANDLE> g_nicEvent{nullptr};
HANDLE g_nicHandle = nullptr;
HANDLE g_nicThread = nullptr;
HANDLE g_nicStop = nullptr;
// The inventory whose Start started the listener: the program's one, which the listener and the
// finder call into.
const CSystemInfo* g_nicOwner = nullptr;
// Process-wide rather than on the listener's stack: a change request cancelled as the listener leaves
// may still complete into it.
OVERLAPPED g_nicOverlapped;

void StopNicListener() {
    g_nicKeepRunning = 0;
    if (!g_nicThread) return;
    SetEvent(g_nicStop);
    // The listener waits on the stop event too, so it leaves at once.
    WaitForSingleObject(g_nicThread, INFINITE);
    CloseHandle(g_nicThread);
    CloseHandle(g_nicStop);
    g_nicThread = nullptr;
    g_nicStop = nullptr;
}

} // namespace

const HostNetApi& RealHostNetApi() {
    return kRealApi;
}

CSystemInfo::CSystemInfo()
    : m_szDns1(), m_szDns2(), m_bRefresh(1), m_szSelected(), m_szTarget(), m_addressRequest(), m_bDnsDhcp(0),
      m_szDnsAddress(), m_api(kRealApi) {}

CSystemInfo::~CSystemInfo() {
    WaitForThreadEnd();
    // The listener calls into this inventory, and the finder's thread reads it and is destroyed after
    // it: a step of the finder that outlived its Stop (held up on this lock, say) must be over before
    // the records and the lock go.
    if (g_nicOwner == this) {
        StopNicListener();
        g_IPServer.WaitForThreadEnd();
        g_nicOwner = nullptr;
    }
    ClearAdapters();
}

void CSystemInfo::ClearAdapters() {
    for (AdapterRecord* r : m_adapters)
        std::free(r);
    m_adapters.clear();
}

int CSystemInfo::Start() {
    if (g_nicKeepRunning.load() == 0 && !g_nicThread) {
        // Set here, not by the listener: a Stop that comes before the thread runs must not be undone.
        g_nicKeepRunning = 1;
        g_nicOwner = this;
        g_nicStop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        uintptr_t h = g_nicStop ? _beginthreadex(nullptr, 0, NicChangeListener, g_nicStop, 0, nullptr) : 0;
        if (h) {
            g_nicThread = reinterpret_cast<HANDLE>(h);
        } else {
            if (g_nicStop) CloseHandle(g_nicStop);
            g_nicStop = nullptr;
            g_nicKeepRunning = 0;
        }
    }
    return CQServer::Start();
}

void CSystemInfo::Stop() {
    StopNicListener();
    CQServer::Stop();
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

int RunCommandLine(char* command, int wait, int show) {
    if (!command) return 0;
    STARTUPINFOA si;
    std::memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    std::memset(&pi, 0, sizeof pi);
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, show ? 0 : CREATE_NO_WINDOW, nullptr,
                        nullptr, &si, &pi))
        return 0;
    if (wait) WaitForSingleObject(pi.hProcess, 20000);
    // A process still running after the wait goes on by itself.
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return 1;
}

unsigned __stdcall NicChangeListener(void* stopEvent) {
    HANDLE stop = static_cast<HANDLE>(stopEvent);
    NetTrace("nic listening...\n");
    // Keeps Winsock started while the workers run: their address conversions (inet_addr, inet_ntoa)
    // also run outside the sweep's own start and clean-up.
    WSADATA wsa;
    bool started = WSAStartup(MAKEWORD(2, 2), &wsa) == 0;
    HANDLE change = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!change) {
        // Without the event every wait would fail at once: the loop would spin.
        if (started) WSACleanup();
        NetTrace("stop nic listen...\n");
        return 0;
    }
    std::memset(&g_nicOverlapped, 0, sizeof g_nicOverlapped);
    g_nicOverlapped.hEvent = change;
    g_nicEvent = change;
    const HANDLE events[2] = {change, stop};
    bool pending = false;
    while (g_nicKeepRunning.load() == 1) {
        DWORD limit = INFINITE;
        if (!pending) {
            if (NotifyAddrChange(&g_nicHandle, &g_nicOverlapped) == ERROR_IO_PENDING)
                pending = true;
            else
                limit = 1000; // ask again a second later, not in a tight loop
        }
        DWORD woke = WaitForMultipleObjects(2, events, FALSE, limit);
        if (woke == WAIT_OBJECT_0 + 1) break;
        if (woke == WAIT_OBJECT_0) {
            NetTrace("IP Address table changed...\n");
            g_SystemInfo.RequestRefresh();
            g_IPServer.RequestRefresh();
            ResetEvent(change);
            // Only a request that has completed is made again (SignalNicChange leaves it pending).
            if (HasOverlappedIoCompleted(&g_nicOverlapped)) pending = false;
        } else if (woke != WAIT_TIMEOUT) {
            NetTrace("WaitForSingleObject, timeout\n");
            if (WaitForSingleObject(stop, 1000) == WAIT_OBJECT_0) break;
        }
    }
    g_nicEvent = nullptr;
    if (pending) CancelIPChangeNotify(&g_nicOverlapped);
    CloseHandle(change);
    if (started) WSACleanup();
    NetTrace("stop nic listen...\n");
    return 0;
}

bool SignalNicChange() {
    HANDLE event = g_nicEvent.load();
    return event && SetEvent(event);
}
