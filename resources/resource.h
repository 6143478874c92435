// Resource ids of LENSKIT: templates, icons, accelerators, strings and the controls of the main window.
// Shared by LENSKIT.rc and the program's code; plain #defines so windres can read it too.
#pragma once

// Dialog templates
#define IDD_ABOUTBOX 100
#define IDD_LENSKIT_DIALOG 102
#define IDD_FULLSCREEN 144
#define IDD_DRAW 145

// Icons: 128 is the about box's and the tray's icon, 130 the main window's own.
#define IDI_APP 128
#define IDI_MAINWND 130

#define IDR_ACCEL_MAIN 139

// Strings. Entry 1 is missing on purpose: the device-version callback asks for it and gets nothing.
#define IDS_ABOUTBOX 101

// System-menu command of the about entry (low four bits clear, as system-menu ids must be).
#define IDM_ABOUTBOX 0x0010

// Controls of the main window, template 102
#define IDC_STATIC_1001 1001
#define IDC_BTN_BROWSE_CFG 1002
#define IDC_EDIT_CFG_PATH 1003
#define IDC_BTN_START 1004
#define IDC_LIST_DEVICES 1005
#define IDC_EDIT_USER 1006
#define IDC_EDIT_PASSWORD 1007
#define IDC_EDIT_BARCODE_FILE 1008
#define IDC_BTN_CLEAR_LIST 1009
#define IDC_CHECK_SAVE_NUMBER 1010
#define IDC_LIST_SERVICE_LOG 1011
#define IDC_STATIC_VIDEO 1015
#define IDC_BTN_FULLSCREEN_SPARE 1016
#define IDC_CHECK_AUDIO 1021
#define IDC_BTN_REMOTE_SETTINGS 1022
#define IDC_CHECK_NUMBER_PUSH 1023
#define IDC_BTN_RESTORE_SYSTEM 1024
#define IDC_BTN_SET_SCENE 1025
#define IDC_EDIT_SCENE 1027
#define IDC_RADIO_WIRED 1029
#define IDC_RADIO_WIFI 1030
#define IDC_STATIC_SSID 1031
#define IDC_PROGRESS 1032
#define IDC_STATIC_SIGNAL 1033
#define IDC_STATIC_WIFI_STATE 1034
#define IDC_BTN_MODE_BW 1035
#define IDC_BTN_MODE_COLOR 1036
#define IDC_BTN_MODE_AUTO 1037
#define IDC_BTN_CUT_TEST 1043
#define IDC_EDIT_CUT_COUNT 1046
#define IDC_EDIT_CUT_INTERVAL 1047
#define IDC_BTN_WIFI_SCAN 1055
#define IDC_EDIT_CLOUD_NUMBER 1061
#define IDC_EDIT_CUT_COLOR 1067
#define IDC_BTN_DEADPIX 1076
#define IDC_EDIT_CORRECT_STATUS 1077
#define IDC_GROUP_WIFI 1081
#define IDC_LABEL_CORRECT_STATUS 1083
#define IDC_LABEL_VERSION 1085
#define IDC_EDIT_VERSION 1087
#define IDC_LABEL_USER 1089
#define IDC_LABEL_PASSWORD 1090
#define IDC_LABEL_CLOUD_NUMBER 1091
#define IDC_BTN_DISCONNECT_ALL 1093
#define IDC_BTN_FULLSCREEN 1100
#define IDC_BTN_DISCONNECT 1101
#define IDC_COMBO_WIFI 10101

// Ids the main window handles that its template does not hold.
// Status controls painted by verdict (product type, version, group, wireless quality, ADC values).
#define IDC_STATUS_PRODUCT 1052
#define IDC_STATUS_VERSION 1053
#define IDC_STATUS_GROUP 1054
#define IDC_STATUS_WIFI_QUALITY 1058
#define IDC_STATUS_ADC 1059
// Focus settings: the edits read by the two store commands.
#define IDC_EDIT_SHIFT 1060
#define IDC_EDIT_THRESHOLD 1063
#define IDC_BTN_APPLY_THRESHOLD 1084
#define IDC_BTN_APPLY_SHIFT 1086
// Pan-tilt keys (press-reporting buttons); 1076, 1077 and 1085 double as keys as well.
#define IDC_PTZ_KEY1 1068
#define IDC_PTZ_KEY2 1069
#define IDC_PTZ_KEY3 1070
#define IDC_PTZ_KEY4 1071
#define IDC_PTZ_KEY5 1072
#define IDC_PTZ_KEY6 1073
#define IDC_PTZ_KEY7 1074
#define IDC_PTZ_KEY8 1075
#define IDC_PTZ_KEY9 1078
#define IDC_PTZ_KEY10 1079
// Pan-tilt commands: three 100 ms waits and the test sequence.
#define IDC_PTZ_WAIT1 1094
#define IDC_PTZ_WAIT2 1095
#define IDC_PTZ_WAIT3 1096
#define IDC_PTZ_TEST 1098
// Commands with no effect or routed to the empty operation (as are 1081, 1083, 1087, 1089 and 1091).
#define IDC_NOOP_1080 1080
#define IDC_NOOP_1082 1082
#define IDC_NOOP_1088 1088
#define IDC_NOOP_1092 1092
#define IDC_NOOP_1099 1099
#define IDC_NOOP_10100 10100
