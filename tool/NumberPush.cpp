// The device SDK's number-push callback.
#include "LENSBENCHDlg.h"

#include "QLCLIENT.h"

// Not built yet: looking the camera up in the number files and answering it. The request goes back
// unanswered; 1 is what the SDK expects for every request.
int OnNumberPush(LanToolRequest*) { return 1; }
