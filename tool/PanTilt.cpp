// Pan-tilt keys and commands of the main window.
#include "LENSBENCHDlg.h"

// Not built yet: turning press-reporting button reports into pan-tilt command codes.
LRESULT CLENSBENCHDlg::OnMyButtonState(WPARAM, LPARAM) { return 0; }

// Not built yet: the 100 ms pause of commands 1094, 1095 and 1096.
void CLENSBENCHDlg::OnPanTiltWait() {}

// Not built yet: the pan-tilt test sequence (command 1098).
void CLENSBENCHDlg::OnPanTiltTest() {}

// Not built yet: the empty pan-tilt operation of commands 1080 to 1099.
void CLENSBENCHDlg::OnPanTiltEmpty() {}
