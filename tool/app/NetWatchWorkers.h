// The two background workers of the host network watch (free-address finder, adapter inventory), as
// the main window sees them: one global each, defined in LENSBENCH.cpp in this order (so destroyed in
// the reverse one) and each handed the other there, started by the main window's initialisation and
// stopped by its shut-down.
#pragma once

#include "NetWatch.h"

extern CQIPServer g_IPServer;
extern CSystemInfo g_SystemInfo;
