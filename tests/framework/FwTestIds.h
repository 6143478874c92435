// Resource ids of the framework tests' templates.
#pragma once

#define IDD_MAIN 100
#define IDD_DDX 101
#define IDD_INNER 102
#define IDD_CHILD 103
#define IDD_OWNERDRAW 104
#define IDD_CONTROLS 105
#define IDR_ACCEL 200
#define IDS_GREETING 300

#define IDC_EDIT 1001
#define IDC_GO 1002
#define IDC_LABEL 1003
#define IDC_TEXT 1010
#define IDC_PORT 1011
#define IDC_RADIO1 1012
#define IDC_RADIO2 1013
#define IDC_RADIO3 1014
#define IDC_CHECK 1015
#define IDC_AFTER 1016
#define IDC_POWER 1020
#define IDC_PLUGIN_LABEL 1030
#define IDC_LIST 1040
#define IDC_IP 1041
#define IDC_LOG 1042
#define IDC_MODE 1043
#define IDC_TIPPED 1044

#define ID_MENU_ITEM 40001
#define ID_KEY_F5 40005
#define ID_KEY_F6 40006
