// The main window's connections into the player's four windows, the version poll and the commands.
#include "LENSBENCHDlg.h"

// Not built yet: connecting the device of the clicked row.
void CLENSBENCHDlg::OnDeviceListClick(NMHDR*, LRESULT* pResult) { *pResult = 0; }

// Not built yet: the player's connection-state callback (runs on a thread of the library).
void CLENSBENCHDlg::OnConnectState(void*, _ST_ChnInfo*, ConnectState) {}

// Not built yet: the player's device-version callback (runs on a thread of the library).
void CLENSBENCHDlg::OnDeviceVersion(void*, _DEVICE_VERSION*) {}

// Not built yet: one tick of the version poll (timer 15). Returns false when the poll stopped early
// and the tick must skip the default processing.
bool CLENSBENCHDlg::OnVersionPoll() { return true; }

// Not built yet: showing the selected window's number and version on a click of the main window.
void CLENSBENCHDlg::OnLButtonDown(UINT nFlags, CPoint point) { CDialog::OnLButtonDown(nFlags, point); }

// Not built yet: the same for a click on the embedded video window.
LRESULT CLENSBENCHDlg::OnVideoClicked(WPARAM, LPARAM) { return 0; }

// Not built yet: the commands of the right-hand column, each one call on the player object.
void CLENSBENCHDlg::OnAudioListen() {}
void CLENSBENCHDlg::OnRemoteConfig() {}
void CLENSBENCHDlg::OnRebootDevice() {}
void CLENSBENCHDlg::OnModeBlackWhite() {}
void CLENSBENCHDlg::OnModeColour() {}
void CLENSBENCHDlg::OnModeAuto() {}
void CLENSBENCHDlg::OnCorrectDeadPixels() {}
void CLENSBENCHDlg::OnDisconnect() {}
void CLENSBENCHDlg::OnDisconnectAll() {}
