// Tellurio.dll: the CTellurio class over the line's player.
#include "Tellurio.h"
#include "SimExports.h"

extern "C" TELLURIO_API int Player_Init(HWND hWnd) {
    return SimPlayer_Init(hWnd);
}

CTellurio::CTellurio() : m_pImpl(SimPlayer_Create()) {}
CTellurio::~CTellurio() {
    SimPlayer_Destroy(m_pImpl);
}

void CTellurio::RegisterCallback(void* pUser, PFN_ConnectState pfnConnectState, PFN_ChnTraffic pfnChnTraffic,
                                 PFN_Message pfnMessage, PFN_RemoteVideo pfnRemoteVideo,
                                 PFN_VideoStats pfnVideoStats, PFN_DownloadRate pfnDownloadRate,
                                 PFN_WindowEvent pfnWindowEvent, PFN_Notice pfnNotice, PFN_PtzInfo pfnPtzInfo,
                                 PFN_DeviceVersion pfnDeviceVersion, PFN_ChnText pfnRecordFile,
                                 PFN_ChnText pfnSnapshot, PFN_ChnEvent pfnRecordStart,
                                 PFN_ChnEvent pfnRecordStop, PFN_ChnText pfnTalkStart,
                                 PFN_ChnText pfnTalkStop) {
    void* const slots[16] = {
        (void*)pfnConnectState, (void*)pfnChnTraffic,    (void*)pfnMessage,     (void*)pfnRemoteVideo,
        (void*)pfnVideoStats,   (void*)pfnDownloadRate,  (void*)pfnWindowEvent, (void*)pfnNotice,
        (void*)pfnPtzInfo,      (void*)pfnDeviceVersion, (void*)pfnRecordFile,  (void*)pfnSnapshot,
        (void*)pfnRecordStart,  (void*)pfnRecordStop,    (void*)pfnTalkStart,   (void*)pfnTalkStop};
    SimPlayer_RegisterCallback(m_pImpl, pUser, slots);
}

int CTellurio::Connect(_ST_ChnInfo& chn, void* pReserved, int nStreamType, int bDecode, int nFlags) {
    return SimPlayer_Connect(m_pImpl, &chn, pReserved, nStreamType, bDecode, nFlags);
}
int CTellurio::GetConnectState(int nWindow) {
    return SimPlayer_GetConnectState(m_pImpl, nWindow);
}
int CTellurio::GetSelectedIndex(_ST_ChnInfo* pChn) {
    return SimPlayer_GetSelectedIndex(m_pImpl, pChn);
}
void CTellurio::RequestVersion(int nWindow) {
    SimPlayer_RequestVersion(m_pImpl, nWindow);
}
const char* CTellurio::GetverSion() {
    return SimPlayer_GetVersion(m_pImpl);
}
void CTellurio::SetDisplayRect(HWND hWnd, RECT* pRect) {
    SimPlayer_SetDisplayRect(m_pImpl, hWnd, pRect);
}
void CTellurio::WindowMoved() {
    SimPlayer_WindowMoved(m_pImpl);
}
void CTellurio::Paint(HDC hDC) {
    SimPlayer_Paint(m_pImpl, hDC);
}
void CTellurio::MouseEvent(MouseEventType type, POINT& pt) {
    SimPlayer_MouseEvent(m_pImpl, type, pt);
}
void CTellurio::MouseZoom(POINT pt, int bZoomIn) {
    SimPlayer_MouseZoom(m_pImpl, pt, bZoomIn);
}
void CTellurio::DividWindow(SplitNum split) {
    SimPlayer_DividWindow(m_pImpl, split);
}
void CTellurio::RemoteConfig(int nWindow) {
    SimPlayer_Command(m_pImpl, SIM_CMD_REMOTE_CONFIG, nWindow, 0);
}
void CTellurio::RebootDevice(int nWindow) {
    SimPlayer_Command(m_pImpl, SIM_CMD_REBOOT, nWindow, 0);
}
void CTellurio::ChangeIpcMode(int& nMode, int nWindow) {
    SimPlayer_Command(m_pImpl, SIM_CMD_MODE, nWindow, nMode);
}
void CTellurio::CorrectingDeadPix(int nWindow) {
    SimPlayer_Command(m_pImpl, SIM_CMD_DEAD_PIXEL, nWindow, 0);
}
void CTellurio::CleanChnInfo(int nWindow) {
    SimPlayer_Command(m_pImpl, SIM_CMD_CLEAN, nWindow, 0);
}
void CTellurio::DisconnectAll(int bAll) {
    SimPlayer_Command(m_pImpl, SIM_CMD_DISCONNECT_ALL, bAll, 0);
}
void CTellurio::SearchNetWork(int nWindow) {
    SimPlayer_Command(m_pImpl, SIM_CMD_SCAN, nWindow, 0);
}
