// The number push's entry from the device SDK (LENSBENCHDlgNumberPush.cpp): the LAN service hands it to
// the SDK with the LAN tool, the shut-down takes it back. It runs on the SDK's threads and never touches
// the window; the window's part of the work goes through g_App.pMainDlg.
#pragma once

struct LanToolRequest;

int OnNumberPush(LanToolRequest* request);
