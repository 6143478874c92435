// The wireless scan of the main window.
#include "LENSBENCHDlg.h"

// Not built yet: the wireless scan of button 1055.
void CLENSBENCHDlg::OnWirelessSearch() {}

// Not built yet: a selection in the scanned-network list 10101.
void CLENSBENCHDlg::OnWirelessSelChange() {}
