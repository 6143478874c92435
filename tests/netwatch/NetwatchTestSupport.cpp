#include <winsock2.h>
#include <iphlpapi.h>

#include "NetwatchTestSupport.h"
#include "TestTime.h"

#include <algorithm>
#include <cstring>
#include <mutex>

// The process-wide workers, in the program's order, each handed the other.
CQIPServer g_IPServer(&g_SystemInfo);
CSystemInfo g_SystemInfo(&g_IPServer);

namespace {

// Never destroyed: the workers' destructors trace after this file's other statics are gone.
std::mutex& g_traceMutex = *new std::mutex;
std::vector<std::string>& g_traces = *new std::vector<std::string>;

void Collect(const char* line) {
    std::lock_guard<std::mutex> hold(g_traceMutex);
    g_traces.push_back(line);
}

FakeHost g_host;
std::mutex g_hostMutex;

DWORD FakeInterfaces(DWORD* count) {
    std::lock_guard<std::mutex> hold(g_hostMutex);
    *count = g_host.interfaceCount >= 0 ? g_host.interfaceCount : static_cast<DWORD>(g_host.adapters.size());
    return NO_ERROR;
}

DWORD FakeAdaptersInfo(void* buffer, ULONG* size) {
    std::lock_guard<std::mutex> hold(g_hostMutex);
    ++g_host.adapterQueries;
    ULONG need = static_cast<ULONG>(g_host.adapters.size() * sizeof(IP_ADAPTER_INFO));
    if (need == 0) return ERROR_NO_DATA;
    if (*size < need) {
        *size = need;
        return ERROR_BUFFER_OVERFLOW;
    }
    IP_ADAPTER_INFO* info = static_cast<IP_ADAPTER_INFO*>(buffer);
    std::memset(info, 0, need);
    for (size_t i = 0; i < g_host.adapters.size(); ++i) {
        const FakeAdapter& a = g_host.adapters[i];
        IP_ADAPTER_INFO& e = info[i];
        e.Next = i + 1 < g_host.adapters.size() ? &info[i + 1] : nullptr;
        std::snprintf(e.AdapterName, sizeof e.AdapterName, "%s", a.guid.c_str());
        std::snprintf(e.Description, sizeof e.Description, "%s", a.description.c_str());
        e.AddressLength = 6;
        std::memcpy(e.Address, a.mac, 6);
        e.DhcpEnabled = a.dhcp;
        std::snprintf(e.IpAddressList.IpAddress.String, 16, "%s", a.ip.c_str());
        std::snprintf(e.IpAddressList.IpMask.String, 16, "%s", a.mask.c_str());
        std::snprintf(e.GatewayList.IpAddress.String, 16, "%s", a.gateway.c_str());
    }
    return ERROR_SUCCESS;
}

DWORD FakeNetworkParams(void* buffer, ULONG* size) {
    std::lock_guard<std::mutex> hold(g_hostMutex);
    if (g_host.dns.empty()) {
        *size = 0;
        return ERROR_NO_DATA;
    }
    ULONG need = sizeof(FIXED_INFO) + sizeof(IP_ADDR_STRING) * g_host.dns.size();
    if (!buffer || *size < need) {
        *size = need;
        return ERROR_BUFFER_OVERFLOW;
    }
    std::memset(buffer, 0, need);
    FIXED_INFO* fi = static_cast<FIXED_INFO*>(buffer);
    IP_ADDR_STRING* more = reinterpret_cast<IP_ADDR_STRING*>(fi + 1);
    IP_ADDR_STRING* entry = &fi->DnsServerList;
    for (size_t i = 0; i < g_host.dns.size(); ++i) {
        std::snprintf(entry->IpAddress.String, 16, "%s", g_host.dns[i].c_str());
        if (i + 1 < g_host.dns.size()) {
            entry->Next = &more[i];
            entry = entry->Next;
        }
    }
    return ERROR_SUCCESS;
}

bool FakeConnectionName(const char* guid, char* out, DWORD size) {
    std::lock_guard<std::mutex> hold(g_hostMutex);
    for (const FakeAdapter& a : g_host.adapters) {
        if (a.guid == guid && !a.connection.empty()) {
            std::snprintf(out, size, "%s", a.connection.c_str());
            return true;
        }
    }
    return false;
}

int FakeRun(char* command, int wait, int show) {
    std::lock_guard<std::mutex> hold(g_hostMutex);
    g_host.commands.push_back(std::string(command) + (wait ? " [wait]" : "") + (show ? " [show]" : ""));
    return 1;
}

} // namespace

void CaptureTraces() {
    SetNetTraceSink(Collect);
}

std::vector<std::string> Traces() {
    std::lock_guard<std::mutex> hold(g_traceMutex);
    return g_traces;
}

int CountTraces(const std::string& line) {
    std::lock_guard<std::mutex> hold(g_traceMutex);
    return static_cast<int>(std::count(g_traces.begin(), g_traces.end(), line));
}

bool HasTraceStartingWith(const std::string& prefix) {
    std::lock_guard<std::mutex> hold(g_traceMutex);
    for (const std::string& t : g_traces)
        if (t.compare(0, prefix.size(), prefix) == 0) return true;
    return false;
}

std::string JoinedTraces() {
    std::string all;
    for (const std::string& t : Traces())
        all += "[" + t + "]";
    return all;
}

bool WaitForTrace(const std::string& line, int count, int timeoutMs) {
    return WaitUntil([&] { return CountTraces(line) >= count; }, static_cast<DWORD>(timeoutMs));
}

FakeHost& Host() {
    return g_host;
}

HostNetApi FakeHostApi() {
    return HostNetApi{FakeInterfaces, FakeAdaptersInfo, FakeNetworkParams, FakeConnectionName, FakeRun};
}
