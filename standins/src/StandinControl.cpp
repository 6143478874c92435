// QLCLIENT.dll's control API for tests (StandinControl.h): scenario, delays, held deliveries, injected
// events, and the log and the program's answers read back.
#include "Line.h"

#include <cstdio>
#include <cstring>

#include "SimExports.h"

using namespace line;

namespace {

// Waits until the line is idle, taking messages sent to this thread meanwhile: a callback on the event
// thread may be inside SendMessage to a window of the waiting thread.
bool WaitForIdle(DWORD timeoutMs) {
    ULONGLONG end = Now() + timeoutMs;
    for (;;) {
        {
            Guard g;
            if (Idle()) return true;
        }
        if (timeoutMs != INFINITE && Now() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_SENDMESSAGE);
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

} // namespace

STANDIN_API int Standin_LoadScenario(const char* szPath, char* szError, int nErrorSize) {
    std::vector<std::string> errors;
    LoadLine(szPath, errors);
    if (szError && nErrorSize > 0) {
        std::string all;
        for (const std::string& e : errors)
            all += (all.empty() ? "" : "\n") + e;
        snprintf(szError, (size_t)nErrorSize, "%s", all.c_str());
    }
    return errors.empty() ? 1 : 0;
}

STANDIN_API void Standin_SetZeroDelays(int bOn) {
    Guard g;
    g_zeroDelays = bOn != 0;
}

STANDIN_API void Standin_SetSpontaneous(int bOn) {
    Sim_EnsureLine();
    {
        Guard g;
        g_spontaneous = bOn != 0;
        if (g_spontaneous) ScheduleTickLocked();
    }
    if (!bOn) {
        Cancel(OWNER_TICK);
        Guard g;
        g_tickPending = false;
    }
}

STANDIN_API int Standin_WaitIdle(unsigned nTimeoutMs) {
    return WaitForIdle(nTimeoutMs) ? 1 : 0;
}

STANDIN_API void Standin_HoldNextLanCallback(void* hEntered, void* hRelease) {
    Guard g;
    g_holdEntered = (HANDLE)hEntered;
    g_holdRelease = (HANDLE)hRelease;
}

STANDIN_API void Standin_InjectSearchAnswer(const LanSearchRecord* pRecord) {
    LanSearchRecord rec = *pRecord;
    Schedule(OWNER_SEARCH, 0, [rec] { DeliverSearch(rec); });
}

STANDIN_API void Standin_InjectBroadcast(const BroadcastRecord* pRecord, int bEnd) {
    BroadcastRecord rec = *pRecord;
    Schedule(OWNER_BROADCAST, 0, [rec, bEnd] { DeliverBroadcast(rec, bEnd); });
}

STANDIN_API void Standin_InjectNumberPush(const LanToolRequest* pRequest) {
    LanToolRequest req = *pRequest;
    Schedule(OWNER_LANTOOL, 0, [req] { DeliverPush(req); });
}

STANDIN_API int Standin_GetLastPushAnswer(LanToolRequest* pAnswer) {
    Guard g;
    if (!g_hasAnswer) return 0;
    *pAnswer = g_lastAnswer;
    return 1;
}

STANDIN_API void Standin_InjectPacket(int nChannel, const void* pPacket, int nLength) {
    if (!pPacket || nLength < 0) return;
    std::vector<char> packet((const char*)pPacket, (const char*)pPacket + nLength);
    Schedule(OWNER_INJECT, 0, [nChannel, packet] { PostPacket(nChannel, packet); });
}

STANDIN_API int Standin_GetLogCount(void) {
    Guard g;
    return (int)g_log.size();
}

STANDIN_API int Standin_GetLogEntry(int nIndex, StandinLogEntry* pEntry) {
    Guard g;
    if (nIndex < 0 || (size_t)nIndex >= g_log.size()) return 0;
    *pEntry = g_log[(size_t)nIndex];
    return 1;
}

STANDIN_API void Standin_ClearLog(void) {
    Guard g;
    g_log.clear();
}

STANDIN_API int Standin_GetLastSentPacket(void* pBuffer, int nSize) {
    Guard g;
    if (g_lastSent.empty()) return 0;
    if (pBuffer && nSize > 0)
        memcpy(pBuffer, g_lastSent.data(),
               g_lastSent.size() < (size_t)nSize ? g_lastSent.size() : (size_t)nSize);
    return (int)g_lastSent.size();
}
