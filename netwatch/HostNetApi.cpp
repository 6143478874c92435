// winsock2.h must come before windows.h (through the headers below) pulls in the old winsock.h.
#include <winsock2.h>
#include <iphlpapi.h>

#include "HostNetApi.h"

#include "AdapterRecord.h"
#include "GbkText.h"

#include <cstdio>
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

const HostNetApi kRealApi = {RealGetNumberOfInterfaces, RealGetAdaptersInfo, RealGetNetworkParams,
                             RealReadConnectionName, RunCommandLine};

} // namespace

const HostNetApi& RealHostNetApi() {
    return kRealApi;
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
