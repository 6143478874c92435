// OK of the network dialog: the permission and page checks, the set-parameters text with only the
// changed keys, the restart question and the snapshots it brings up to date.
#include "NetDlgDriver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using D = NetDlgDriver;

std::string Addr(uint32_t a) {
    return std::to_string((int)a);
}

bool AnyBoxOpen() {
    for (HWND h : ThreadDialogs())
        if (h != D::Dlg().m_hWnd && h != D::Dlg().WaitBox().m_hWnd) return true;
    return false;
}

struct OkOutcome {
    bool stillOpen = false;
    std::vector<SentPacket> sent;
    std::string text;
    std::vector<std::string> boxes;
};

// Opens the dialog on params, runs edit, presses OK, and reports what happened.
OkOutcome PressOk(const char* params, std::function<void()> edit, std::vector<int> answers = {}) {
    D d;
    d.answers = std::move(answers);
    OkOutcome out;
    d.Run(params, {D::Do([&] {
                       if (edit) edit();
                       Standin_ClearLog();
                       D::Click(IDOK);
                   }),
                   Step{[] { return !AnyBoxOpen(); },
                        [&] {
                            out.stillOpen = true;
                            ExitRCDlg(IDCANCEL);
                        }}});
    EXPECT_FALSE(d.timedOut);
    out.sent = D::Sent();
    out.text = out.sent.empty() ? "<nothing sent>" : D::LastSentText();
    out.boxes = d.boxes;
    return out;
}

struct OkCase {
    const char* name;
    const char* params;
    std::function<void()> edit;
    std::vector<int> answers;
    std::string expectedText; // empty: nothing may be sent and the dialog stays open
    std::vector<int> expectedBoxes;
};

const char* const kWired =
    "ACTIVED=0;ETH_IP=192.168.1.10;ETH_NM=255.255.255.0;ETH_GW=192.168.1.1;ETH_DNS=8.8.8.8;";
const char* const kDialUp = "ACTIVED=1;ADSL_ID=u;ADSL_PW=p;ETH_IP=192.168.1.10;ETH_NM=255.255.255.0;"
                            "ETH_GW=192.168.1.1;ETH_DNS=8.8.8.8;";

void SetWired(uint32_t ip, uint32_t mask, uint32_t gw) {
    D::SetAddress(IDC_NET_IP, ip);
    D::SetAddress(IDC_NET_MASK, mask);
    D::SetAddress(IDC_NET_GATEWAY, gw);
}

TEST(NetDlgApply, OkSendsOnlyWhatChanged) {
    const std::string allWired = "ACTIVED=0;bIPSelfAdapt=0;bDHCP=0;nlIP=" + Addr(0xC0A8010A) +
                                 ";nlNM=-256;nlGW=" + Addr(0xC0A80101) + ";nlDNS=" + Addr(0x08080808) + ";";
    const OkCase cases[] = {
        {"wired, nothing changed", kWired, nullptr, {}, "ACTIVED=0;", {}},
        {"wired, new address",
         kWired,
         [] { D::SetAddress(IDC_NET_IP, 0xC0A801C8); },
         {},
         "ACTIVED=0;nlIP=" + Addr(0xC0A801C8) + ";",
         {}},
        {"dial-up camera moved to the wired page",
         kDialUp,
         [] {
             D::Click(IDC_NET_WIRED);
             g_netConfig.rtmp[1].bEnable = 1;
         },
         {IDYES},
         allWired + "RTMP_EN1=1;NW_RESTART=1;",
         {43}},
        {"dial-up camera moved to the wired page, restart refused",
         kDialUp,
         [] { D::Click(IDC_NET_WIRED); },
         {IDNO},
         "",
         {43}},
        {"dial-up, unchanged texts", kDialUp, nullptr, {}, "ACTIVED=1;ADSL_ID=u;ADSL_PW=p;", {}},
        {"dial-up, new password",
         kDialUp,
         [] { D::SetText(IDC_NET_PASSWORD, "q"); },
         {IDYES},
         "ACTIVED=1;ADSL_ID=u;ADSL_PW=q;NW_RESTART=1;",
         {43}},
        {"dial-up, empty user name", kDialUp, [] { D::SetText(IDC_NET_USER, ""); }, {}, "", {41}},
        {"dial-up, user name too long for the camera's field",
         "ACTIVED=1;ADSL_ID=abcdefghijklmnopqrstuvwxyz0123456789abcd;"
         "ADSL_PW=p;",
         nullptr,
         {},
         "",
         {41}},
        // A text value with ";", CR or LF would end its item and add its own: refused before anything is
        // asked.
        {"dial-up password with ;",
         kDialUp,
         [] { D::SetText(IDC_NET_PASSWORD, "p;ACTIVED=0"); },
         {},
         "",
         {101}},
        {"DDNS password with ;", kWired, [] { strcpy(g_netConfig.ddns.szPassword, "x;y"); }, {}, "", {101}},
        {"GB28181 device id with CR",
         "GB_bSupport=1;GB_devid=abc;",
         [] { strcpy(g_netConfig.gb.GB_devid, "a\rb"); },
         {},
         "",
         {101}},
        {"RTMP URL with LF",
         kWired,
         [] { strcpy(g_netConfig.rtmp[0].szServerUrl, "rtmp://a\nb"); },
         {},
         "",
         {101}},
        {"wireless camera, no scan", "ACTIVED=2;WIFI_ID=home;", nullptr, {}, "ACTIVED=2;", {}},
        {"no Ethernet, not yet wireless", "HasEth=0;ACTIVED=0;", nullptr, {}, "", {42}},
        {"gateway in another subnet",
         kWired,
         [] { SetWired(0xC0A80164, 0xFFFFFF00, 0xC0A80201); },
         {},
         "",
         {55}},
        {"last octet 255", kWired, [] { SetWired(0xC0A801FF, 0xFFFFFF00, 0xC0A80101); }, {}, "", {54}},
        {"last octet 255 and another subnet",
         kWired,
         [] { SetWired(0xC0A801FF, 0xFFFFFF00, 0xC0A80201); },
         {},
         "",
         {55}},
        {"mask 0.0.0.0 passes any gateway",
         "ACTIVED=0;ETH_IP=10.0.0.1;ETH_NM=0.0.0.0;ETH_GW=192.168.1.1;",
         nullptr,
         {},
         "ACTIVED=0;",
         {}},
        {"RTMP URL of stream 3",
         kWired,
         [] { strcpy(g_netConfig.rtmp[2].szServerUrl, "rtmp://x"); },
         {},
         "ACTIVED=0;RTMP_SERVER_URL2=rtmp://x;",
         {}},
        {"RTMP received before the dialog is no change",
         "RTMP_SERVER_URL0=rtmp://a;RTMP_EN0=1;",
         nullptr,
         {},
         "ACTIVED=0;",
         {}},
        {"GB28181 server port",
         "GB_bSupport=1;GB_serverport=5060;GB_devid=abc;",
         [] { g_netConfig.gb.GB_serverport = 5061; },
         {},
         "ACTIVED=0;GB_serverport=5061;",
         {}},
        {"DDNS host",
         "DDNS_Host=old;DDNS_User=u;",
         [] { strcpy(g_netConfig.ddns.szHost, "new"); },
         {},
         "ACTIVED=0;DDNS_Host=new;",
         {}},
        {"LAN mode picked",
         kWired,
         [] {
             ::SendMessageA(D::Item(IDC_NET_MODE), CB_SETCURSEL, 1, 0);
             ::SendMessageA(D::Dlg().m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_NET_MODE, CBN_SELCHANGE),
                            (LPARAM)D::Item(IDC_NET_MODE));
         },
         {},
         "ACTIVED=0;ORVLANModel=1;",
         {}},
        {"smart online ticked",
         kWired,
         [] { ::CheckDlgButton(D::Dlg().m_hWnd, IDC_NET_SMART_ONLINE, BST_CHECKED); },
         {},
         "ACTIVED=0;bSmartOnline=1;",
         {}},
        // Last: the received ClientPower stays with the dialog for the runs after it.
        {"ClientPower 5 may set", "ClientPower=5;", nullptr, {}, "ACTIVED=0;", {}},
        {"ClientPower 3 may not", "ClientPower=3;", nullptr, {}, "", {53}},
        {"ClientPower 8 may not", "ClientPower=8;", nullptr, {}, "", {53}},
    };
    for (const OkCase& c : cases) {
        SCOPED_TRACE(c.name);
        OkOutcome out = PressOk(c.params, c.edit, c.answers);
        if (c.expectedText.empty()) {
            EXPECT_TRUE(out.sent.empty()) << "sent " << out.text;
            EXPECT_TRUE(out.stillOpen) << "the dialog must stay open";
        } else {
            ASSERT_EQ(1u, out.sent.size());
            EXPECT_EQ(c.expectedText, out.text);
            EXPECT_EQ(9, out.sent[0].nType);
            EXPECT_EQ((int)(20 + c.expectedText.size()), out.sent[0].bytes) << "no NUL is sent";
            EXPECT_FALSE(out.stillOpen) << "a sent OK closes the dialog";
        }
        std::vector<std::string> expectedBoxes;
        for (int t : c.expectedBoxes)
            expectedBoxes.push_back(GetText(t));
        EXPECT_EQ(expectedBoxes, out.boxes);
    }
}

TEST(NetDlgApply, RefusedRestartKeepsEveryChangeForTheNextOk) {
    D d;
    d.answers = {IDNO, IDYES};
    bool firstStayedOpen = false;
    d.Run("ACTIVED=1;ADSL_ID=u;ADSL_PW=p;GB_bSupport=1;GB_serverport=5060;",
          {D::Do([] {
               D::Click(IDC_NET_WIRED);
               strcpy(g_netConfig.rtmp[0].szServerUrl, "r");
               strcpy(g_netConfig.ddns.szUser, "x");
               g_netConfig.gb.GB_serverport = 5061;
               D::Click(IDOK);
           }),
           D::Do([&] {
               firstStayedOpen = true;
               EXPECT_TRUE(D::Sent().empty());
               D::Click(IDOK);
           })});
    EXPECT_FALSE(d.timedOut);
    EXPECT_TRUE(firstStayedOpen);
    ASSERT_EQ(1u, D::Sent().size());
    EXPECT_EQ("ACTIVED=0;bIPSelfAdapt=0;bDHCP=0;nlIP=0;nlNM=0;nlGW=0;nlDNS=0;RTMP_SERVER_URL0=r;DDNS_User=x;"
              "NW_RESTART=1;GB_serverport=5061;",
              D::LastSentText());
    EXPECT_STREQ("r", g_netConfig.rtmpSnapshot[0].szServerUrl) << "what was sent is the new reference";
    EXPECT_STREQ("x", g_netConfig.ddnsSnapshot.szUser);
    EXPECT_EQ(2u, d.boxes.size());
}

// A reply that arrives while OK asks its question and sends from the same buffer (an AP-mode start)
// changes nothing of what OK then sends.
TEST(NetDlgApply, ARequestSentDuringTheQuestionLeavesOksPacket) {
    D d;
    d.answers = {D::LEAVE_OPEN, IDYES};
    bool stillOpen = false;
    d.Run(kDialUp, {D::Do([] {
                        D::SetText(IDC_NET_PASSWORD, "q");
                        D::Click(IDOK);
                    }),
                    d.WhenBoxes(1,
                                [] {
                                    D::Reply(12, 2, nullptr, 0); // asks whether to start AP mode: Yes
                                    D::AnswerLeftBox(IDYES);
                                }),
                    D::Do([&] {
                        stillOpen = true;
                        ExitRCDlg(IDCANCEL);
                    })});
    EXPECT_FALSE(d.timedOut);
    EXPECT_FALSE(stillOpen) << "OK went out and ended the dialog";
    EXPECT_EQ((std::vector<std::string>{GetText(43), GetText(46)}), d.boxes);
    std::vector<SentPacket> sent = D::Sent();
    ASSERT_EQ(2u, sent.size());
    EXPECT_EQ(12, sent[0].nType);
    EXPECT_EQ(9, sent[1].nType);
    EXPECT_EQ(1, sent[1].nParam) << "the word the AP-mode start left";
    EXPECT_EQ("ACTIVED=1;ADSL_ID=u;ADSL_PW=q;NW_RESTART=1;", D::LastSentText());
}

TEST(NetDlgApply, PacketHeaderOfTheSetParameters) {
    OkOutcome out = PressOk(kWired, nullptr);
    std::vector<unsigned char> b = D::LastSentBytes();
    ASSERT_GE(b.size(), 20u);
    CfgPacket p;
    memcpy(&p, b.data(), sizeof p);
    EXPECT_EQ(0x46u, p.header);
    EXPECT_EQ(9, p.nType);
    EXPECT_EQ(0, p.nParam) << "nothing sent before: the word keeps its zero";
    EXPECT_EQ(0, p.reserved);
}

} // namespace
