// The status verdicts of the main window.
#include "LENSBENCHDlg.h"

// Not built yet: one evaluation of the verdicts (timer 5).
void CLENSBENCHDlg::EvaluateStatus() {}
