// QLCLIENT.dll's own exports, the device SDK: its servers and the LAN tool hand the program's callbacks
// to the line, whose thread calls them; every call is logged with its arguments.
#include "Line.h"

#include <cstring>

#include "SimExports.h"

using namespace line;

namespace {

unsigned long Addr(const void* p) {
    return (unsigned long)(uintptr_t)p;
}

void FillSearchRecord(const Camera& c, LanSearchRecord& r) {
    memset(&r, 0, sizeof r);
    strncpy(r.szGroup, c.group.c_str(), sizeof r.szGroup - 1);
    r.nCloudNumber = c.number;
    r.nDeviceType = c.type;
    strncpy(r.szIP, c.ip.c_str(), sizeof r.szIP - 1);
    r.nPort = c.port;
    strncpy(r.szVersion, c.version.c_str(), sizeof r.szVersion - 1);
    strncpy(r.szProductType, c.productType.c_str(), sizeof r.szProductType - 1);
}

bool PortBusy(const std::vector<int>& busy, int port) {
    for (int p : busy)
        if (p == port) return true;
    return false;
}

} // namespace

QLCLIENT_API int QLC_InitSDK(int nLocalPort, int nFlags) {
    Log(STANDIN_CALL, "QLC_InitSDK", "%d, %d", nLocalPort, nFlags);
    Sim_EnsureLine();
    return 1;
}

QLCLIENT_API int QLC_SetLanguage(int nLanguage) {
    Log(STANDIN_CALL, "QLC_SetLanguage", "%d", nLanguage);
    return 1;
}

QLCLIENT_API int QLC_EnableLANTool(int bEnable, int nReserved1, int nReserved2, QLC_LanToolCallback pfn) {
    Log(STANDIN_CALL, "QLC_EnableLANTool", "%d, %d, %d, 0x%08lX", bEnable, nReserved1, nReserved2,
        Addr((void*)pfn));
    Sim_EnsureLine();
    if (bEnable) {
        Guard g;
        if (Current().lanToolFails || !pfn) return 0;
        g_lanTool = pfn;
        ULONGLONG now = Now();
        for (Camera& c : Current().cameras)
            if (c.nextPush < now + c.askAfter) c.nextPush = now + c.askAfter;
        return 1;
    }
    {
        Guard g;
        g_lanTool = nullptr;
    }
    Cancel(OWNER_LANTOOL);
    return 1;
}

QLCLIENT_API int QLC_StartLANSerchServer(int nPort, int nDevicePort, QLC_LanSearchCallback pfn, int bAll) {
    Log(STANDIN_CALL, "QLC_StartLANSerchServer", "%d, %d, 0x%08lX, %d", nPort, nDevicePort, Addr((void*)pfn),
        bAll);
    Sim_EnsureLine();
    Guard g;
    if (g_search || !pfn || PortBusy(Current().busySearchPorts, nPort)) return 0;
    g_search = pfn;
    return 1;
}

QLCLIENT_API int QLC_StopLANSerchServer(void) {
    Log(STANDIN_CALL, "QLC_StopLANSerchServer", "");
    {
        Guard g;
        g_search = nullptr;
    }
    Cancel(OWNER_SEARCH);
    return 1;
}

QLCLIENT_API int QLC_StartBroadcastServer(int nPort, int nDevicePort, QLC_BroadcastCallback pfn) {
    Log(STANDIN_CALL, "QLC_StartBroadcastServer", "%d, %d, 0x%08lX", nPort, nDevicePort, Addr((void*)pfn));
    Sim_EnsureLine();
    Guard g;
    if (g_broadcast || !pfn || PortBusy(Current().busyBroadcastPorts, nPort)) return 0;
    g_broadcast = pfn;
    g_broadcastPort = nPort;
    return 1;
}

QLCLIENT_API int QLC_StopBroadcastServer(void) {
    Log(STANDIN_CALL, "QLC_StopBroadcastServer", "");
    {
        Guard g;
        g_broadcast = nullptr;
        g_broadcastPort = 0;
    }
    Cancel(OWNER_BROADCAST);
    return 1;
}

QLCLIENT_API int QLC_LANSerchDevice(const char* szIP, int nPort, int nDeviceType, int nRetries,
                                    const char* szGroup, int nCloudNumber, int nTimeoutSeconds) {
    Log(STANDIN_CALL, "QLC_LANSerchDevice", "%s, %d, %d, %d, %s, %d, %d", Quote(szIP).c_str(), nPort,
        nDeviceType, nRetries, Quote(szGroup).c_str(), nCloudNumber, nTimeoutSeconds);
    Sim_EnsureLine();
    Guard g;
    if (!g_search) return 0;
    int delay = Delay(Current().delays.search);
    for (const Camera& c : Current().cameras) {
        if (!Online(c)) continue;
        LanSearchRecord rec;
        FillSearchRecord(c, rec);
        Schedule(OWNER_SEARCH, delay, [rec] { DeliverSearch(rec); });
    }
    LanSearchRecord end;
    memset(&end, 0, sizeof end);
    end.bEnd = 1;
    Schedule(OWNER_SEARCH, delay, [end] { DeliverSearch(end); });
    return 1;
}

QLCLIENT_API int QLC_LANToolDevice(const char* szUser, const char* szPassword, int nTimeoutMs) {
    Log(STANDIN_CALL, "QLC_LANToolDevice", "%s, %s, %d", Quote(szUser).c_str(), Quote(szPassword).c_str(),
        nTimeoutMs);
    Sim_EnsureLine();
    Guard g;
    for (Camera& c : Current().cameras)
        if (Online(c)) {
            c.user = szUser ? std::string(szUser, strnlen(szUser, 255)) : std::string();
            c.password = szPassword ? std::string(szPassword, strnlen(szPassword, 255)) : std::string();
        }
    return 1;
}

QLCLIENT_API int QLC_DisConnect(int nConnection) {
    Log(STANDIN_CALL, "QLC_DisConnect", "%d", nConnection);
    return 1;
}

QLCLIENT_API int QLC_ReleaseSDK(void) {
    Log(STANDIN_CALL, "QLC_ReleaseSDK", "");
    {
        Guard g;
        g_lanTool = nullptr;
        g_search = nullptr;
        g_broadcast = nullptr;
        g_spontaneous = false;
        // The pending tick is cancelled below: a later Standin_SetSpontaneous must schedule a new one.
        g_tickPending = false;
    }
    for (int owner : {OWNER_SEARCH, OWNER_BROADCAST, OWNER_LANTOOL, OWNER_TICK, OWNER_INJECT})
        Cancel(owner);
    return 1;
}

QLCLIENT_API int QLC_SendData(int nConnection, int nDataType, const void* pData, int nLength) {
    if (!pData || nLength < 20 || nLength > 0x100000) {
        Log(STANDIN_CALL, "QLC_SendData", "%d, %d, 0x%08lX, %d", nConnection, nDataType, Addr(pData),
            nLength);
        return -1;
    }
    int32_t w[4];
    memcpy(w, pData, sizeof w);
    const char* data = (const char*)pData + 20;
    Log(STANDIN_CALL, "QLC_SendData", "%d, %d, {kind=%u,module=%u,nType=%d,nParam=%d,nLength=%d,data=%s}, %d",
        nConnection, nDataType, (uint32_t)w[0] & 0x1F, ((uint32_t)w[0] >> 5) & 0xFF, w[1], w[2], w[3],
        Quote(data, (size_t)(nLength - 20) < 300 ? (size_t)(nLength - 20) : 300).c_str(), nLength);
    Guard g;
    g_lastSent.assign((const char*)pData, (const char*)pData + nLength);
    return nLength;
}
