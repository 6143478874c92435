// Resource ids of the shared widgets: the wait box templates and the picture strip of both
// deliverables. Plain #defines so windres can read it too.
#pragma once

// LENSKIT
#define IDD_WAITBOX_MAIN 138
#define IDC_WAITBOX_TEXT_MAIN 1058
#define IDB_STRIP_MAIN 136

// Netquill
#define IDD_WAITBOX_NETQUILL 1001
#define IDC_WAITBOX_TEXT_NETQUILL 1027
#define IDB_STRIP_NETQUILL 1002
