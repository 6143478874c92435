#include "TextTable.h"

#include <cstring>

#include "NetConfigStore.h"

int g_nLanguage = 0;

namespace {

// Writable: ApplyInfoTypeLabels replaces two slots of each table in place. The Chinese texts are
// GBK bytes, written as escapes so that every compiler stores the same bytes; each line shows the
// text in a comment. Numbers 102 to 106 are not used.
char s_english[NQ_TEXT_COUNT][NQ_TEXT_SLOT] = {
    /*   0 */ "Network Management",
    /*   1 */ "Network Type:",
    /*   2 */ "Ethernet",
    /*   3 */ "PPPOE",
    /*   4 */ "WIFI",
    /*   5 */ "User ID:",
    /*   6 */ "Passwd:",
    /*   7 */ "Auth:",
    /*   8 */ "Encryp:",
    /*   9 */ "Search",
    /*  10 */ "Custom",
    /*  11 */ "Connect",
    /*  12 */ "ID:",
    /*  13 */ "SSID:",
    /*  14 */ "Network Info",
    /*  15 */ "IP:",
    /*  16 */ "Netmask:",
    /*  17 */ "Gateway:",
    /*  18 */ "DNS:",
    /*  19 */ "MAC:",
    /*  20 */ "DHCP",
    /*  21 */ "Self Adaption IP Addr",
    /*  22 */ "Auto Turn Off After 24 Hours Connected",
    /*  23 */ "Orvalink ID:",
    /*  24 */ "Status:",
    /*  25 */ "Online",
    /*  26 */ "Offline",
    /*  27 */ "Disconnect",
    /*  28 */ "Please search SSID at first!",
    /*  29 */ "ID or Passwd Cann't be empty!",
    /*  30 */ "Connecting",
    /*  31 */ "Connect Succeed",
    /*  32 */ "Connect Failed",
    /*  33 */ "Connect Timeout",
    /*  34 */ "Disconnecting",
    /*  35 */ "Disconnect Succeed",
    /*  36 */ "Disconnect Fail",
    /*  37 */ "Disconnect Timeout",
    /*  38 */ "Searching WIFI SSID",
    /*  39 */ "Not found WIFI SSID!",
    /*  40 */ "Passwd cann't be NULL!",
    /*  41 */ "ID or password can not be emputy!",
    /*  42 */ "Please refresh and select WIFI AP!",
    /*  43 */ "Restart to enable changing,and unplug the cable, are you sure?",
    /*  44 */ "Start AP",
    /*  45 */ "Start AP will disconnect the network,are you sure?",
    /*  46 */ "Start AP will restart this machine,are you sure?",
    /*  47 */ "AP has started",
    /*  48 */ "AP will start,please wait 1min!",
    /*  49 */ "This machine does not support wireless related functions!",
    /*  50 */ "Refresh",
    /*  51 */ "Ok",
    /*  52 */ "Exit",
    /*  53 */ "User No Permission",
    /*  54 */ "The Last byte of the IP Should not be 255",
    /*  55 */ "IP and gateway are not in the same subnet",
    /*  56 */ "GB28181",
    /*  57 */ "Gb28181 Enable",
    /*  58 */ "Device ID",
    /*  59 */ "Password",
    /*  60 */ "Server Ip",
    /*  61 */ "Server Port",
    /*  62 */ "Local Port",
    /*  63 */ "Refresh Interval",
    /*  64 */ "Alarm ID",
    /*  65 */ "Keep Alive",
    /*  66 */ "ORV LAN Model",
    /*  67 */ "Normal",
    /*  68 */ "LAN MaxNum",
    /*  69 */ "RTMP Server Address",
    /*  70 */ "Start RTMP",
    /*  71 */ "Enable Rtmp Server Of Stream 1",
    /*  72 */ "Enable Rtmp Server Of Stream 2",
    /*  73 */ "Enable Rtmp Server Of Stream 3",
    /*  74 */ "RTMP Server Address",
    /*  75 */ "DDNS Server Type",
    /*  76 */ "DDNS Domain Name",
    /*  77 */ "DDNS User   Name",
    /*  78 */ "DDNS password",
    /*  79 */ "OK",
    /*  80 */ "CANCEL",
    /*  81 */ "EMPTY",
    /*  82 */ "IP Filter",
    /*  83 */ "IP Addr Start",
    /*  84 */ "IP Addr end",
    /*  85 */ "State",
    /*  86 */ "No Power Limit",
    /*  87 */ "Forbid Connect",
    /*  88 */ "Allow Connect",
    /*  89 */ "Add",
    /*  90 */ "Delete",
    /*  91 */ "Refresh",
    /*  92 */ "Save",
    /*  93 */ "Please Select An IP",
    /*  94 */ "IP Item Full",
    /*  95 */ "IP Repeat To Add",
    /*  96 */ "IP Is Not Exist",
    /*  97 */ "IP Invalid",
    /*  98 */ "Para Error",
    /*  99 */ "IP Seg",
    /* 100 */ "WARNING",
    /* 101 */ "Input can not contain ';' or line breaks!",
    /* 102 */ "",
    /* 103 */ "",
    /* 104 */ "",
    /* 105 */ "",
    /* 106 */ "",
    /* 107 */ "Smart On-OffLine",
};

char s_chinese[NQ_TEXT_COUNT][NQ_TEXT_SLOT] = {
    /*   0 */ "\xcd\xf8\xc2\xe7\xb9\xdc\xc0\xed",                   // 网络管理
    /*   1 */ "\xc4\xac\xc8\xcf\xc1\xac\xbd\xd3:",                  // 默认连接:
    /*   2 */ "\xd3\xd0\xcf\xdf\xc1\xac\xbd\xd3",                   // 有线连接
    /*   3 */ "\xb2\xa6\xba\xc5\xc1\xac\xbd\xd3",                   // 拨号连接
    /*   4 */ "\xce\xde\xcf\xdf\xc1\xac\xbd\xd3",                   // 无线连接
    /*   5 */ "\xd3\xc3\xbb\xa7\xc3\xfb:",                          // 用户名:
    /*   6 */ "\xc3\xdc\xc2\xeb:",                                  // 密码:
    /*   7 */ "\xbc\xd3\xc3\xdc\xb7\xbd\xca\xbd:",                  // 加密方式:
    /*   8 */ "\xbc\xd3\xc3\xdc\xc0\xe0\xd0\xcd:",                  // 加密类型:
    /*   9 */ "\xcb\xd1\xcb\xf7",                                   // 搜索
    /*  10 */ "\xd7\xd4\xb6\xa8\xd2\xe5",                           // 自定义
    /*  11 */ "\xc1\xac\xbd\xd3",                                   // 连接
    /*  12 */ "\xd5\xca\xba\xc5:",                                  // 帐号:
    /*  13 */ "\xce\xde\xcf\xdfSSID:",                              // 无线SSID:
    /*  14 */ "\xcd\xf8\xc2\xe7\xd0\xc5\xcf\xa2",                   // 网络信息
    /*  15 */ "IP\xb5\xd8\xd6\xb7:",                                // IP地址:
    /*  16 */ "\xd7\xd3\xcd\xf8\xd1\xda\xc2\xeb:",                  // 子网掩码:
    /*  17 */ "\xc4\xac\xc8\xcf\xcd\xf8\xb9\xd8:",                  // 默认网关:
    /*  18 */ "\xd3\xf2\xc3\xfb\xb7\xfe\xce\xf1\xc6\xf7:",          // 域名服务器:
    /*  19 */ "\xcd\xf8\xbf\xa8\xb5\xd8\xd6\xb7:",                  // 网卡地址:
    /*  20 */ "\xd7\xd4\xb6\xaf\xbb\xf1\xc8\xa1\xb5\xd8\xd6\xb7",   // 自动获取地址
    /*  21 */ "\xd7\xd4\xb6\xaf\xca\xca\xd3\xa6IP\xb5\xd8\xd6\xb7", // 自动适应IP地址
                                                                    /*  22 */
    "\xce\xaa\xc1\xcb\xc9\xe8\xb1\xb8\xb0\xb2\xd7\xb0\xba\xf3\xce\xc8\xb6\xa8\xd4\xcb\xd0"
    "\xd0\xa3\xac\xc1\xac\xbd\xd3"
    "24\xd0\xa1\xca\xb1\xba\xf3\xa3\xac\xb1\xbe\xb9\xa6\xc4\xdc\xbd\xab\xd7\xd4\xb6\xaf\xb9"
    "\xd8\xb1\xd5", // 为了设备安装后稳定运行，连接24小时后，本功能将自动关闭
    /*  23 */ "Orvanet\xba\xc5\xc2\xeb:",                              // Orvanet号码:
    /*  24 */ "Orvanet\xd7\xb4\xcc\xac:",                              // Orvanet状态:
    /*  25 */ "\xd4\xda\xcf\xdf",                                      // 在线
    /*  26 */ "\xb2\xbb\xd4\xda\xcf\xdf",                              // 不在线
    /*  27 */ "\xb6\xcf\xbf\xaa",                                      // 断开
    /*  28 */ "\xc7\xeb\xcf\xc8\xcb\xd1\xcb\xf7\xce\xde\xcf\xdfSSID!", // 请先搜索无线SSID!
                                                                       /*  29 */
    "\xd3\xc3\xbb\xa7\xc3\xfb\xbb\xf2\xc3\xdc\xc2\xeb\xb2\xbb\xc4\xdc\xce\xaa\xbf\xd5!", // 用户名或密码不能为空!
    /*  30 */ "\xd5\xfd\xd4\xda\xc1\xac\xbd\xd3",                                        // 正在连接
    /*  31 */ "\xc1\xac\xbd\xd3\xb3\xc9\xb9\xa6",                                        // 连接成功
    /*  32 */ "\xc1\xac\xbd\xd3\xca\xa7\xb0\xdc",                                        // 连接失败
    /*  33 */ "\xc1\xac\xbd\xd3\xb3\xac\xca\xb1",                                        // 连接超时
    /*  34 */ "\xd5\xfd\xd4\xda\xb6\xcf\xbf\xaa",                                        // 正在断开
    /*  35 */ "\xb6\xcf\xbf\xaa\xb3\xc9\xb9\xa6",                                        // 断开成功
    /*  36 */ "\xb6\xcf\xbf\xaa\xca\xa7\xb0\xdc",                                        // 断开失败
    /*  37 */ "\xb2\xd9\xd7\xf7\xb3\xac\xca\xb1",                                        // 操作超时
    /*  38 */ "\xcb\xd1\xcb\xf7\xcd\xf8\xc2\xe7",                                        // 搜索网络
    /*  39 */ "\xc3\xbb\xd3\xd0\xcb\xd1\xcb\xf7\xb5\xbd\xcd\xf8\xc2\xe7!", // 没有搜索到网络!
    /*  40 */ "\xc3\xdc\xc2\xeb\xb2\xbb\xc4\xdc\xce\xaa\xbf\xd5!",         // 密码不能为空!
                                                                           /*  41 */
    "\xd3\xc3\xbb\xa7\xc3\xfb\xba\xcd\xc3\xdc\xc2\xeb\xb2\xbb\xc4\xdc\xce\xaa\xbf\xd5\xa3"
    "\xa1", // 用户名和密码不能为空！
            /*  42 */
    "\xc7\xeb\xd1\xa1\xd4\xf1\xd2\xaa\xc1\xac\xbd\xd3\xb5\xc4\xce\xde\xcf\xdf\xcd\xf8\xc2"
    "\xe7\xa3\xa1", // 请选择要连接的无线网络！
                    /*  43 */
    "\xd0\xde\xb8\xc4\xcd\xf8\xc2\xe7\xc5\xe4\xd6\xc3\xbb\xe1\xb6\xcf\xbf\xaa\xc1\xac\xbd"
    "\xd3\xa3\xac\xb2\xa2\xd0\xe8\xb5\xe3\xbb\xf7\xa1\xb0\xca\xc7\xa1\xb1\xba\xf3\xb0\xce"
    "\xb5\xf4\xcd\xf8\xcf\xdf\xa3\xac\xca\xc7\xb7\xf1\xd0\xde\xb8\xc4\xa3\xbf", // 修改网络配置会断开连接，并需点击“是”后拔掉网线，是否修改？
    /*  44 */
    "\xbf\xaa\xc6\xf4"
    "AP", // 开启AP
          /*  45 */
    "\xca\xb9\xd3\xc3\xce\xde\xcf\xdf\xcd\xf8\xc2\xe7\xca\xb1\xa3\xac\xbf\xaa\xc6\xf4"
    "AP\xbb\xe1\xb6\xcf\xbf\xaa\xcd\xf8\xc2\xe7\xa3\xac\xca\xc7\xb7\xf1\xbf\xaa\xc6\xf4\xa3"
    "\xbf", // 使用无线网络时，开启AP会断开网络，是否开启？
            /*  46 */
    "\xb4\xcb\xbf\xee\xbb\xfa\xc6\xf7\xbf\xaa\xc6\xf4"
    "AP\xd0\xe8\xd2\xaa\xd6\xd8\xc6\xf4\xc9\xe8\xb1\xb8\xa3\xac\xca\xc7\xb7\xf1\xbf\xaa\xc6"
    "\xf4\xa3\xbf", // 此款机器开启AP需要重启设备，是否开启？
                    /*  47 */
    "AP\xd2\xd1\xbf\xaa\xc6\xf4\xa3\xac\xc7\xeb\xd3\xc3\xbf\xcd\xbb\xa7\xb6\xcb\xcb\xd1\xcb"
    "\xf7\xa3\xa1", // AP已开启，请用客户端搜索！
                    /*  48 */
    "AP\xd5\xfd\xd4\xda\xbf\xaa\xc6\xf4\xa3\xac\xc7\xeb"
    "1\xb7\xd6\xd6\xd3\xba\xf3\xca\xb9\xd3\xc3\xbf\xcd\xbb\xa7\xb6\xcb\xcb\xd1\xcb\xf7\xa3"
    "\xa1", // AP正在开启，请1分钟后使用客户端搜索！
            /*  49 */
    "\xb4\xcb\xbf\xee\xbb\xfa\xc6\xf7\xb2\xbb\xd6\xa7\xb3\xd6\xce\xde\xcf\xdf\xcf\xe0\xb9"
    "\xd8\xb9\xa6\xc4\xdc\xa3\xa1", // 此款机器不支持无线相关功能！
    /*  50 */ "\xcb\xa2\xd0\xc2",   // 刷新
    /*  51 */ "\xc8\xb7\xb6\xa8",   // 确定
    /*  52 */ "\xcd\xcb\xb3\xf6",   // 退出
    /*  53 */ "\xd3\xc3\xbb\xa7\xce\xde\xc8\xa8\xcf\xde\xa3\xa1", // 用户无权限！
                                                                  /*  54 */
    "IP\xb5\xd8\xd6\xb7\xb5\xda"
    "4\xd7\xd6\xbd\xda\xb2\xbb\xc4\xdc\xce\xaa"
    "255", // IP地址第4字节不能为255
           /*  55 */
    "IP\xba\xcd\xcd\xf8\xb9\xd8\xb2\xbb\xd4\xda\xcd\xac\xd2\xbb\xb8\xf6\xcd\xf8\xb6\xce\xc4"
    "\xda", // IP和网关不在同一个网段内
    /*  56 */ "GB28181",
    /*  57 */ "GB28181 \xbf\xaa\xc6\xf4",                                       // GB28181 开启
    /*  58 */ "\xc9\xe8\xb1\xb8ID",                                             // 设备ID
    /*  59 */ "\xc3\xdc\xc2\xeb",                                               // 密码
    /*  60 */ "\xb7\xfe\xce\xf1\xc6\xf7IP",                                     // 服务器IP
    /*  61 */ "\xb7\xfe\xce\xf1\xc6\xf7\xb6\xcb\xbf\xda",                       // 服务器端口
    /*  62 */ "\xb1\xbe\xb5\xd8\xb6\xcb\xbf\xda",                               // 本地端口
    /*  63 */ "\xd7\xa2\xb2\xe1\xd6\xdc\xc6\xda",                               // 注册周期
    /*  64 */ "\xb1\xa8\xbe\xafID",                                             // 报警ID
    /*  65 */ "\xd0\xc4\xcc\xf8\xd6\xdc\xc6\xda",                               // 心跳周期
    /*  66 */ "\xbe\xd6\xd3\xf2\xcd\xf8\xc4\xa3\xca\xbd:",                      // 局域网模式:
    /*  67 */ "\xb3\xa3\xd3\xc3\xc4\xa3\xca\xbd",                               // 常用模式
                                                                                /*  68 */
    "\xbe\xd6\xd3\xf2\xcd\xf8\xb4\xf3\xc1\xac\xbd\xd3\xca\xfd\xc4\xa3\xca\xbd", // 局域网大连接数模式
    /*  69 */ "RTMP \xb7\xfe\xce\xf1\xc6\xf7\xb5\xd8\xd6\xb7",                  // RTMP 服务器地址
    /*  70 */ "\xc6\xf4\xb6\xafRTMP",                                           // 启动RTMP
                                                                                /*  71 */
    "\xc6\xf4\xb6\xaf"
    "1\xc2\xeb\xc1\xf7RTMP\xd7\xd4\xb6\xa8\xd2\xe5\xb7\xfe\xce\xf1\xc6\xf7", // 启动1码流RTMP自定义服务器
                                                                             /*  72 */
    "\xc6\xf4\xb6\xaf"
    "2\xc2\xeb\xc1\xf7RTMP\xd7\xd4\xb6\xa8\xd2\xe5\xb7\xfe\xce\xf1\xc6\xf7", // 启动2码流RTMP自定义服务器
                                                                             /*  73 */
    "\xc6\xf4\xb6\xaf"
    "3\xc2\xeb\xc1\xf7RTMP\xd7\xd4\xb6\xa8\xd2\xe5\xb7\xfe\xce\xf1\xc6\xf7", // 启动3码流RTMP自定义服务器
    /*  74 */ "\xb7\xfe\xce\xf1\xc6\xf7\xb5\xd8\xd6\xb7:",                   // 服务器地址:
    /*  75 */ "\xb7\xfe\xce\xf1\xc6\xf7\xc0\xe0\xd0\xcd:",                   // 服务器类型:
    /*  76 */ "\xd3\xf2\xc3\xfb:",                                           // 域名:
    /*  77 */ "\xd3\xc3\xbb\xa7\xc3\xfb:",                                   // 用户名:
    /*  78 */ "\xc3\xdc\xc2\xeb:",                                           // 密码:
    /*  79 */ "\xc8\xb7\xb6\xa8",                                            // 确定
    /*  80 */ "\xc8\xa1\xcf\xfb",                                            // 取消
    /*  81 */ "\xc7\xe5\xbf\xd5",                                            // 清空
    /*  82 */ "IP\xc8\xa8\xcf\xde",                                          // IP权限
    /*  83 */ "IP\xb5\xd8\xd6\xb7\xbf\xaa\xca\xbc",                          // IP地址开始
    /*  84 */ "IP\xb5\xd8\xd6\xb7\xbd\xe1\xca\xf8",                          // IP地址结束
    /*  85 */ "\xb5\xb1\xc7\xb0\xd7\xb4\xcc\xac",                            // 当前状态
    /*  86 */ "\xb2\xbb\xd7\xf6\xcf\xde\xd6\xc6",                            // 不做限制
    /*  87 */ "\xbd\xfb\xd6\xb9\xc1\xac\xbd\xd3",                            // 禁止连接
    /*  88 */ "\xd4\xca\xd0\xed\xc1\xac\xbd\xd3",                            // 允许连接
    /*  89 */ "\xcc\xed\xbc\xd3",                                            // 添加
    /*  90 */ "\xc9\xbe\xb3\xfd",                                            // 删除
    /*  91 */ "\xcb\xa2\xd0\xc2",                                            // 刷新
    /*  92 */ "\xb1\xa3\xb4\xe6",                                            // 保存
    /*  93 */ "\xc7\xeb\xd1\xa1\xd4\xf1IP",                                  // 请选择IP
    /*  94 */ "IP\xcc\xf5\xc4\xbf\xd2\xd1\xc2\xfa",                          // IP条目已满
    /*  95 */ "IP\xd6\xd8\xb8\xb4\xcc\xed\xbc\xd3",                          // IP重复添加
    /*  96 */ "IP\xb2\xbb\xb4\xe6\xd4\xda",                                  // IP不存在
    /*  97 */ "IP\xb2\xbb\xba\xcf\xb7\xa8",                                  // IP不合法
    /*  98 */ "\xb2\xce\xca\xfd\xb4\xed\xce\xf3",                            // 参数错误
    /*  99 */ "IP \xb6\xce",                                                 // IP 段
    /* 100 */ "\xbe\xaf\xb8\xe6",                                            // 警告
                                                                             /* 101 */
    "\xca\xe4\xc8\xeb\xc4\xda\xc8\xdd\xb2\xbb\xc4\xdc\xb0\xfc\xba\xac\xb7\xd6\xba\xc5(;)"
    "\xbb\xf2\xbb\xbb\xd0\xd0\xb7\xfb\xa3\xa1", // 输入内容不能包含分号(;)或换行符！
    /* 102 */ "",
    /* 103 */ "",
    /* 104 */ "",
    /* 105 */ "",
    /* 106 */ "",
    /* 107 */ "\xd6\xc7\xc4\xdc\xc9\xcf\xcf\xc2\xcf\xdf", // 智能上下线
};

bool s_bLabelsApplied = false;

void ReplaceSlot(char (&slot)[NQ_TEXT_SLOT], const char* text) {
    std::memset(slot, 0, sizeof(slot));
    std::strncpy(slot, text, sizeof(slot) - 1);
}

} // namespace

void ApplyInfoTypeLabels() {
    if (g_netConfig.ipcinfoType != 1) return;
    ReplaceSlot(s_english[23], "Device ID:");
    ReplaceSlot(s_chinese[23], "\xc9\xe8\xb1\xb8\xba\xc5\xc2\xeb\xa3\xba"); // 设备号码：
    ReplaceSlot(s_english[24], "Status:");
    ReplaceSlot(s_chinese[24], "\xc9\xe8\xb1\xb8\xd7\xb4\xcc\xac\xa3\xba"); // 设备状态：
}

const char* GetText(int index) {
    if (!s_bLabelsApplied) {
        s_bLabelsApplied = true;
        ApplyInfoTypeLabels();
    }
    if (index < 0 || index >= NQ_TEXT_COUNT) return "";
    return g_nLanguage == 1 ? s_english[index] : s_chinese[index];
}

#ifdef _WIN32
CString LoadText(int index) {
    return CString(GetText(index));
}
#endif
