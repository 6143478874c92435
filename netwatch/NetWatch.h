// The two process-wide workers of the host network watch. The program defines them in one
// translation unit, the free-address finder first, so they are built in that order and destroyed in
// the reverse one.
#pragma once

#include "QIPServer.h"
#include "SystemInfo.h"

extern CQIPServer g_IPServer;
extern CSystemInfo g_SystemInfo;
