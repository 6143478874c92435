// The main window's LAN service: start and stop, the search tick and the number-push switch.
#include "LENSBENCHDlg.h"

// Not built yet: starting and stopping the LAN service (LAN tool, search and broadcast servers, timers
// 1, 4 and 5). Until it is, the service never runs and its running flag stays 0.
void CLENSBENCHDlg::StartStopService() {}

// Not built yet: the search tick (LAN search and ageing of the device table).
void CLENSBENCHDlg::OnSearchTick() {}

// Not built yet: the number-push switch of checkbox 1023.
void CLENSBENCHDlg::OnNumberPushSwitch() {}
