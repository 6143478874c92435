// The system calls the adapter inventory makes, and the process runner that applies its netsh lines.
#pragma once

#include <windows.h>

// The program uses the real ones; tests put in their own adapter lists and a process runner that
// starts nothing. Buffers are IP_ADAPTER_INFO chains and a FIXED_INFO record, as IP Helper fills them.
struct HostNetApi {
    DWORD (*getNumberOfInterfaces)(DWORD* count);
    DWORD (*getAdaptersInfo)(void* buffer, ULONG* size);
    DWORD (*getNetworkParams)(void* buffer, ULONG* size);
    // Reads value "Name" of the adapter's connection key; false leaves out as it was.
    bool (*readConnectionName)(const char* adapterName, char* out, DWORD size);
    int (*runCommandLine)(char* command, int wait, int show);
};
const HostNetApi& RealHostNetApi();

// Runs a command line as a new process, without a window unless show; waits up to 20 s when wait.
// 1 when the process started.
int RunCommandLine(char* command, int wait, int show);
