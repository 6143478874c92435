// QLSDKP.dll: preview players that only keep their handles; every call is logged on the line. The
// players made and released are counted, and the release of the SDK notes the balance in the log.
#include "QLSDKP.h"

#include "SimExports.h"
#include "StandinControl.h"

#include <mutex>
#include <set>

namespace {
LONG g_nextPlayer = 0;

std::mutex g_playersLock;
// Since the SDK was last released: its release ends every player, so a handle released after it shows
// in the log as "no live player".
std::set<int> g_alive; // handles made and not yet released
int g_made = 0, g_released = 0;
} // namespace

QLSDKP_API int QLSP_InitSDK(void) {
    Sim_Log(STANDIN_CALL, "QLSP_InitSDK", "");
    return Sim_SdkSwitch("PreviewInitFails") ? 0 : 1;
}

QLSDKP_API int QLSP_SetCallBack(QLSP_EventCallback pfn, void* pUser, int nFlags, int nReserved) {
    Sim_Log(STANDIN_CALL, "QLSP_SetCallBack", "%s, 0x%08lX, %d, %d", pfn ? "fn" : "NULL",
            (unsigned long)(uintptr_t)pUser, nFlags, nReserved);
    return 1;
}

QLSDKP_API int QLSP_SetDefaultFrameControlMode(int nMode) {
    Sim_Log(STANDIN_CALL, "QLSP_SetDefaultFrameControlMode", "%d", nMode);
    return 1;
}

// Players can be created before the SDK starts; the program does so.
QLSDKP_API int QLSP_CreatePlayer(void) {
    int handle =
        Sim_SdkSwitch("CreatePlayerFails") ? QLSP_INVALID_PLAYER : (int)InterlockedIncrement(&g_nextPlayer);
    Sim_Log(STANDIN_CALL, "QLSP_CreatePlayer", "-> %d", handle);
    if (handle != QLSP_INVALID_PLAYER) {
        std::lock_guard<std::mutex> lock(g_playersLock);
        g_alive.insert(handle);
        ++g_made;
    }
    return handle;
}

QLSDKP_API int QLSP_SetVideoPreview(int nPlayer, HWND hWnd, const RECT* pRect, int bShow) {
    if (pRect)
        Sim_Log(STANDIN_CALL, "QLSP_SetVideoPreview", "%d, 0x%08lX, {%ld,%ld,%ld,%ld}, %d", nPlayer,
                (unsigned long)(uintptr_t)hWnd, pRect->left, pRect->top, pRect->right, pRect->bottom, bShow);
    else
        Sim_Log(STANDIN_CALL, "QLSP_SetVideoPreview", "%d, 0x%08lX, NULL, %d", nPlayer,
                (unsigned long)(uintptr_t)hWnd, bShow);
    return nPlayer != QLSP_INVALID_PLAYER ? 1 : 0;
}

QLSDKP_API int QLSP_ReleasePlayer(int nPlayer) {
    Sim_Log(STANDIN_CALL, "QLSP_ReleasePlayer", "%d", nPlayer);
    bool alive;
    {
        std::lock_guard<std::mutex> lock(g_playersLock);
        alive = g_alive.erase(nPlayer) != 0;
        if (alive) ++g_released;
    }
    if (!alive) Sim_Log(STANDIN_NOTE, "QLSP_ReleasePlayer", "%d is no live player", nPlayer);
    return alive ? 1 : 0;
}

QLSDKP_API int QLSP_ReleaseSDK(void) {
    Sim_Log(STANDIN_CALL, "QLSP_ReleaseSDK", "");
    int made, released, alive;
    {
        std::lock_guard<std::mutex> lock(g_playersLock);
        made = g_made;
        released = g_released;
        alive = (int)g_alive.size();
        g_made = g_released = 0;
        g_alive.clear();
    }
    Sim_Log(STANDIN_NOTE, "QLSP_ReleaseSDK", "players made %d, released %d, alive %d", made, released, alive);
    return 1;
}
