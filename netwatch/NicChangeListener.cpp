// winsock2.h must come before windows.h (through the headers below) pulls in the old winsock.h.
#include <winsock2.h>
#include <iphlpapi.h>

#include "NicChangeListener.h"

#include "NetTrace.h"
#include "SystemInfo.h"

#include <process.h>

#include <atomic>
#include <cstring>

namespace {

// Listener state, one per process. The thread handle and the stop event belong to Start and Stop.
std::atomic<int> g_nicKeepRunning{0};
std::atomic<HANDLE> g_nicEvent{nullptr};
HANDLE g_nicHandle = nullptr;
HANDLE g_nicThread = nullptr;
HANDLE g_nicStop = nullptr;
// The inventory whose Start started the listener: the one the listener calls into.
CSystemInfo* g_nicOwner = nullptr;
// Process-wide rather than on the listener's stack: a change request cancelled as the listener leaves
// may still complete into it.
OVERLAPPED g_nicOverlapped;

// The listener thread: waits for changes of the PC's IP address table, or for its stop event (the
// argument), and asks the owner and its finder to refresh at each change.
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
            g_nicOwner->AddressTableChanged();
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

} // namespace

void StartNicListener(CSystemInfo* owner) {
    if (g_nicKeepRunning.load() != 0 || g_nicThread) return;
    // Set here, not by the listener: a Stop that comes before the thread runs must not be undone.
    g_nicKeepRunning = 1;
    g_nicOwner = owner;
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

bool EndNicListenerOf(const CSystemInfo* owner) {
    if (!owner || g_nicOwner != owner) return false;
    StopNicListener();
    g_nicOwner = nullptr;
    return true;
}

bool SignalNicChange() {
    HANDLE event = g_nicEvent.load();
    return event && SetEvent(event);
}
