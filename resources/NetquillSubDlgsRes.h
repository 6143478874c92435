// Control ids of Netquill's GB28181, RTMP, DDNS and IP filter dialogs (templates 1003, 1004, 1005,
// 1007). Plain #defines so windres reads it too.
#pragma once

// GB28181 dialog
#define IDD_GB28181_DLG         1003
#define IDC_GB_ENABLE           1036
#define IDC_GB_DEVICE_ID        1037
#define IDC_GB_PASSWORD         1038
#define IDC_GB_ALARM_ID         1039
#define IDC_GB_EXPIRES          1040
#define IDC_GB_LOCAL_PORT       1041
#define IDC_GB_SERVER_PORT      1042
#define IDC_GB_SERVER_IP        1043
#define IDC_GB_OK               1045
#define IDC_GB_DEVICE_ID_LABEL  1046
#define IDC_GB_EXIT             1047
#define IDC_GB_PASSWORD_LABEL   1048
#define IDC_GB_SERVER_IP_LABEL  1049
#define IDC_GB_SERVER_PORT_LABEL 1050
#define IDC_GB_LOCAL_PORT_LABEL 1051
#define IDC_GB_EXPIRES_LABEL    1052
#define IDC_GB_ALARM_ID_LABEL   1053
#define IDC_GB_KEEPALIVE        1063
#define IDC_GB_KEEPALIVE_LABEL  1071
#define IDC_GB_KA_OUTTIMES      1080
#define IDC_GB_KA_OUTTIMES_LABEL 1081
#define IDC_GB_EX_REFRESH       1082

// RTMP dialog
#define IDD_RTMP_DLG            1004
#define IDC_RTMP_ENABLE1        1068
#define IDC_RTMP_URL1_LABEL     1069
#define IDC_RTMP_URL1           1070
#define IDC_RTMP_ENABLE2        1071
#define IDC_RTMP_URL2_LABEL     1072
#define IDC_RTMP_URL2           1073
#define IDC_RTMP_ENABLE3        1074
#define IDC_RTMP_URL3_LABEL     1075
#define IDC_RTMP_URL3           1076

// DDNS dialog
#define IDD_DDNS_DLG            1005
#define IDC_DDNS_HOST           1063
#define IDC_DDNS_USER           1064
#define IDC_DDNS_PASSWORD       1065
#define IDC_DDNS_TYPE           1073
#define IDC_DDNS_TYPE_LABEL     1074
#define IDC_DDNS_HOST_LABEL     1075
#define IDC_DDNS_USER_LABEL     1076
#define IDC_DDNS_CLEAR          1077
#define IDC_DDNS_PASSWORD_LABEL 1048

// IP filter dialog
#define IDD_IPFILTER_DLG        1007
#define IDC_IPF_REFRESH         1007
#define IDC_IPF_NO_LIMIT        1084
#define IDC_IPF_FORBID          1085
#define IDC_IPF_ALLOW           1086
#define IDC_IPF_START           1087
#define IDC_IPF_DELETE          1088
#define IDC_IPF_LIST            1089
#define IDC_IPF_ADD             1090
#define IDC_IPF_SAVE            1092
#define IDC_IPF_END             1094
#define IDC_IPF_RANGE           1096
#define IDC_IPF_DASH            1098
#define IDC_IPF_EXIT            1100
