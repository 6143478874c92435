// Focus-test settings, the scene value and the camera configuration file.
#include "LENSBENCHDlg.h"

// Not built yet: loading a camera configuration file (button 1002).
void CLENSBENCHDlg::OnLoadConfigFile() {}

// Not built yet: storing the scene value (button 1025).
void CLENSBENCHDlg::OnSetScene() {}

// Not built yet: the cut test (button 1043).
void CLENSBENCHDlg::OnCutTest() {}

// Not built yet: storing SHIFT (command 1086).
void CLENSBENCHDlg::OnApplyShift() {}

// Not built yet: storing THRESHOLD (command 1084).
void CLENSBENCHDlg::OnApplyThreshold() {}
