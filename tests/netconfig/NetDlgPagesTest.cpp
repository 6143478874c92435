// The network dialog as it comes up: the page chosen from the camera's parameters, the controls of
// each page and the values shown.
#include "NetDlgDriver.h"

#include <gtest/gtest.h>

namespace {

using D = NetDlgDriver;

struct PageCase {
    const char* name;
    const char* params;
    int page;         // radio index and m_nNetType
    int shown;        // controls expected visible (bit per entry of kPageControls)
    bool userEnabled; // edit 1005
    bool ipEnabled;   // the four address controls
    bool wiredRadioEnabled;
    const char* cloudNo;
    int statusText; // 25 online, 26 offline
};

// Controls that differ between the pages, in the order of the bits of PageCase::shown.
const int kPageControls[] = {IDC_NET_DHCP,      IDC_NET_SELF_ADAPT, IDC_NET_USER,        IDC_NET_PASSWORD,
                             IDC_NET_SSID_LIST, IDC_NET_SCAN,       IDC_NET_CUSTOM_SSID, IDC_NET_AUTH,
                             IDC_NET_ENC,       IDC_NET_CONNECT};
enum {
    DHCP = 1,
    SELF = 2,
    USER = 4,
    PW = 8,
    LIST = 16,
    SCAN = 32,
    CUSTOM = 64,
    AUTH = 128,
    ENC = 256,
    CONN = 512
};

const PageCase kPages[] = {
    {"wired with DHCP",
     "ACTIVED=0;bDHCP=1;ETH_IP=192.168.1.10;ETH_MAC=00:0a:bc:de:f0:12;ORVGROUP=65;ORVID=123;ORVSTATUS=1;", 0,
     DHCP | SELF, false, false, true, "A123", 25},
    {"ACTIVED out of range", "ACTIVED=3;ORVSTATUS=2;", 0, DHCP | SELF, false, true, true, "", 26},
    {"dial-up connected", "ACTIVED=1;ADSL_ON=1;ADSL_ID=user1;ORVGROUP=1145258561;ORVID=7;", 1, USER | PW,
     false, false, true, "ABCD7", 26},
    {"dial-up not connected", "ACTIVED=1;ADSL_ID=user1;", 1, USER | PW, true, false, true, "", 26},
    {"wireless, old firmware",
     "ACTIVED=2;Softverion=3391;WIFI_ID=home;WIFI_AUTH=4;WIFI_ENC=3;ORVGROUP=4390977;ORVID=5;", 2,
     PW | LIST | SCAN | AUTH | ENC, false, false, true, "A5", 26},
    {"wireless, custom SSID offered", "ACTIVED=2;Softverion=3392;WIFI_ID=home;", 2,
     PW | LIST | SCAN | CUSTOM | AUTH | ENC, false, false, true, "", 26},
    {"camera without Ethernet", "HasEth=0;ACTIVED=0;Softverion=100;", 2, PW | LIST | SCAN | AUTH | ENC, false,
     false, false, "", 26},
};

TEST(NetDlgPages, EachCameraOpensOnItsPage) {
    for (const PageCase& c : kPages) {
        SCOPED_TRACE(c.name);
        D d;
        bool checked = false;
        d.Run(c.params,
              {D::Do([&] {
                   checked = true;
                   EXPECT_EQ(c.page, D::Dlg().NetType());
                   for (int i = 0; i < 3; ++i)
                       EXPECT_EQ(i == c.page, ::IsDlgButtonChecked(D::Dlg().m_hWnd, IDC_NET_WIRED + i) != 0)
                           << "radio " << i;
                   for (size_t i = 0; i < sizeof kPageControls / sizeof kPageControls[0]; ++i)
                       EXPECT_EQ((c.shown >> i & 1) != 0, D::Visible(kPageControls[i]))
                           << "control " << kPageControls[i];
                   if (c.shown & USER) {
                       EXPECT_EQ(c.userEnabled, D::Enabled(IDC_NET_USER));
                   }
                   for (int id : {IDC_NET_IP, IDC_NET_MASK, IDC_NET_GATEWAY, IDC_NET_DNS})
                       EXPECT_EQ(c.ipEnabled, D::Enabled(id)) << "address control " << id;
                   EXPECT_EQ(c.wiredRadioEnabled, D::Enabled(IDC_NET_WIRED));
                   EXPECT_FALSE(D::Enabled(IDC_NET_DIALUP));
                   EXPECT_FALSE(D::Enabled(IDC_NET_WIRELESS));
                   for (int id : {IDC_NET_SMART_ONLINE, IDC_NET_IP_FILTER, IDC_NET_START_AP, IDC_NET_DDNS,
                                  IDC_NET_GB28181, IDC_NET_RTMP, IDC_NET_MODE, IDC_NET_IPERF_ON})
                       EXPECT_FALSE(D::Visible(id)) << "control " << id;
                   EXPECT_EQ(c.cloudNo, D::Text(IDC_NET_CLOUD_NO));
                   EXPECT_EQ(GetText(c.statusText), D::Text(IDC_NET_CLOUD_STATUS));
               }),
               D::Exit()});
        EXPECT_TRUE(checked);
        EXPECT_FALSE(d.timedOut);
    }
}

TEST(NetDlgPages, WiredPageShowsTheWiredRecord) {
    D d;
    d.Run("ACTIVED=0;bDHCP=1;ETH_IP=192.168.1.10;ETH_NM=255.255.255.0;ETH_GW=192.168.1.1;ETH_DNS=8.8.4.4;"
          "ETH_MAC=00:0a:bc:de:f0:12;",
          {D::Do([] {
               EXPECT_EQ(0xC0A8010Au, D::Address(IDC_NET_IP));
               EXPECT_EQ(0xFFFFFF00u, D::Address(IDC_NET_MASK));
               EXPECT_EQ(0xC0A80101u, D::Address(IDC_NET_GATEWAY));
               EXPECT_EQ(0x08080404u, D::Address(IDC_NET_DNS));
               EXPECT_EQ("00:0A:BC:DE:F0:12", D::Text(IDC_NET_MAC));
               EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(D::Dlg().m_hWnd, IDC_NET_DHCP));
           }),
           D::Exit()});
    EXPECT_FALSE(d.timedOut);
}

TEST(NetDlgPages, WirelessPageListsOnlyTheCurrentSsid) {
    D d;
    d.Run("ACTIVED=2;WIFI_ID=home;WIFI_PW=secret;WIFI_AUTH=4;WIFI_ENC=3;",
          {D::Do([] {
               HWND list = D::Item(IDC_NET_SSID_LIST);
               ASSERT_EQ(1, (int)::SendMessageA(list, CB_GETCOUNT, 0, 0));
               EXPECT_STREQ("home", (const char*)::SendMessageA(list, CB_GETITEMDATA, 0, 0));
               EXPECT_EQ(0, (int)::SendMessageA(list, CB_GETCURSEL, 0, 0));
               EXPECT_FALSE(D::Enabled(IDC_NET_SSID_LIST));
               EXPECT_FALSE(D::Enabled(IDC_NET_PASSWORD));
               EXPECT_TRUE(D::Enabled(IDC_NET_SCAN));
               EXPECT_EQ(4, (int)::SendDlgItemMessageA(D::Dlg().m_hWnd, IDC_NET_AUTH, CB_GETCURSEL, 0, 0));
               EXPECT_EQ(3, (int)::SendDlgItemMessageA(D::Dlg().m_hWnd, IDC_NET_ENC, CB_GETCURSEL, 0, 0));
               EXPECT_EQ(6, (int)::SendDlgItemMessageA(D::Dlg().m_hWnd, IDC_NET_AUTH, CB_GETCOUNT, 0, 0));
               EXPECT_EQ(4, (int)::SendDlgItemMessageA(D::Dlg().m_hWnd, IDC_NET_ENC, CB_GETCOUNT, 0, 0));
               EXPECT_EQ(-1, g_netConfig.nApCount);
               EXPECT_EQ(GetText(13), D::Text(IDC_NET_USER_LABEL));
           }),
           D::Exit()});
    EXPECT_FALSE(d.timedOut);
}

TEST(NetDlgPages, EnglishTextsAndSupportedSubDialogButtons) {
    D d;
    InitRCDlg(7, 1, nullptr);
    d.Run("GB_bSupport=1;RTMP_bSupport=1;", {D::Do([] {
                                                 EXPECT_EQ("Network Management", D::Caption());
                                                 EXPECT_EQ("Refresh", D::Text(IDC_NET_REFRESH));
                                                 EXPECT_EQ("Ok", D::Text(IDOK));
                                                 EXPECT_EQ("Exit", D::Text(IDCANCEL));
                                                 EXPECT_TRUE(D::Visible(IDC_NET_GB28181));
                                                 EXPECT_TRUE(D::Visible(IDC_NET_RTMP));
                                             }),
                                             D::Exit()});
    EXPECT_FALSE(d.timedOut);
    EXPECT_TRUE(D::Sent().empty()) << "opening the dialog sends nothing";
}

} // namespace
