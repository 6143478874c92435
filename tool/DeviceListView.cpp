// The main window's device list 1005.
#include "LENSBENCHDlg.h"

LRESULT CLENSBENCHDlg::OnRefreshDeviceListMsg(WPARAM, LPARAM) {
    RefreshDeviceList();
    return 0;
}

// Not built yet: rebuilding the device list from the device table.
void CLENSBENCHDlg::RefreshDeviceList() {}

// Not built yet: the list tick of timer 4 (slowing to 30 s, posting the refresh).
void CLENSBENCHDlg::OnListTick() {}
