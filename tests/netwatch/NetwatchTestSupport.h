// Shared pieces of the workers' tests: the trace lines they write, and a host whose adapters, DNS
// servers and process runner are the test's own (nothing is ever started, no setting is touched).
#pragma once

#include "NetTrace.h"
#include "NetWatch.h"

#include <string>
#include <vector>

// The process-wide workers, as the program keeps them.
extern CQIPServer g_IPServer;
extern CSystemInfo g_SystemInfo;

// Takes the workers' trace lines from here on (from every thread).
void CaptureTraces();
std::vector<std::string> Traces();
int CountTraces(const std::string& line);
bool HasTraceStartingWith(const std::string& prefix);
std::string JoinedTraces();
// Waits until line was traced (count times in all); false after timeoutMs.
bool WaitForTrace(const std::string& line, int count, int timeoutMs);

struct FakeAdapter {
    std::string guid;       // the adapter name IP Helper gives
    std::string connection; // the registry's connection name; empty: unreadable
    std::string description;
    unsigned char mac[6];
    unsigned dhcp;
    std::string ip, mask, gateway;
};

struct FakeHost {
    std::vector<FakeAdapter> adapters;
    int interfaceCount = -1; // -1: as many as adapters
    std::vector<std::string> dns;
    std::vector<std::string> commands; // every command line the inventory ran
    int adapterQueries = 0;
};
// The one fake host of this process, and the API that reads it.
FakeHost& Host();
HostNetApi FakeHostApi();
