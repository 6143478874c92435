// The commands that act on the camera at once (scan, connect, disconnect, refresh, AP mode, iperf)
// and the camera's replies through CmdProc.
#include "NetDlgDriver.h"
#include "TestTime.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

namespace {

using D = NetDlgDriver;

ApRecord Ap(const char* ssid, int quality, int encryption, int auth = 4, int enc = 3, const char* key = "") {
    ApRecord r{};
    // A 32-character SSID fills the field unterminated, as a camera may send it.
    memcpy(r.szSsid, ssid, strnlen(ssid, sizeof r.szSsid));
    memcpy(r.szKey, key, strnlen(key, sizeof r.szKey)); // 64 characters fill the key unterminated
    r.nQuality = quality;
    r.nEncryption = encryption;
    r.nAuthIndex = (int8_t)auth;
    r.nEncIndex = (int8_t)enc;
    return r;
}

void ReplyScan(const std::vector<ApRecord>& recs, int count) {
    D::Reply(14, count, recs.data(), (int)(recs.size() * sizeof(ApRecord)));
}

int ListCount() {
    return (int)::SendMessageA(D::Item(IDC_NET_SSID_LIST), CB_GETCOUNT, 0, 0);
}
std::string ListItem(int i) {
    return (const char*)::SendMessageA(D::Item(IDC_NET_SSID_LIST), CB_GETITEMDATA, (WPARAM)i, 0);
}

void Select(int item) {
    ::SendMessageA(D::Item(IDC_NET_SSID_LIST), CB_SETCURSEL, (WPARAM)item, 0);
    ::SendMessageA(D::Dlg().m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_NET_SSID_LIST, CBN_SELCHANGE),
                   (LPARAM)D::Item(IDC_NET_SSID_LIST));
}

const char* const kWireless = "ACTIVED=2;WIFI_ID=home;Softverion=4000;WIFI_AUTH=4;WIFI_ENC=3;";
const char* const kLongSsid = "0123456789abcdef0123456789ABCDEF"; // 32 characters
const std::string kLongKey = std::string(kLongSsid) + kLongSsid;  // 64 characters

TEST(NetDlgScan, ListsAccessPointsUntilAnEmptySsid) {
    D d;
    d.Run(kWireless, {D::Do([] { D::Click(IDC_NET_SCAN); }), D::WhenWaitBox([] {
                          std::vector<SentPacket> s = D::Sent();
                          ASSERT_EQ(1u, s.size());
                          EXPECT_EQ(14, s[0].nType);
                          EXPECT_EQ(20, s[0].bytes);
                          EXPECT_EQ(GetText(38), std::string(D::Dlg().WaitBox().GetBaseText()));
                          ReplyScan({Ap("net0", 0, 2), Ap("net1", 150, -1), Ap("", 50, 0), Ap("net3", 50, 0),
                                     Ap("net4", 50, 0)},
                                    5);
                      }),
                      D::AfterWaitBox([] {
                          ASSERT_EQ(3, ListCount());
                          EXPECT_EQ("net0", ListItem(0));
                          EXPECT_EQ("net1", ListItem(1));
                          EXPECT_EQ(GetText(39), ListItem(2));
                          EXPECT_EQ(0, (int)::SendMessageA(D::Item(IDC_NET_SSID_LIST), CB_GETCURSEL, 0, 0));
                          EXPECT_EQ(5, g_netConfig.nApCount);
                          EXPECT_EQ(1, g_netConfig.apList[0].nQuality) << "quality 0 is stored as 1";
                          const PowerComboItem& r0 = D::Dlg().SsidList().GetItemRecord(0);
                          const PowerComboItem& r1 = D::Dlg().SsidList().GetItemRecord(1);
                          EXPECT_EQ(-1, r0.icon[0]);
                          EXPECT_EQ(-1, r0.icon[1]);
                          EXPECT_EQ(5, r0.icon[2]) << "encrypted: lock";
                          EXPECT_EQ(0, r0.icon[3]);
                          EXPECT_EQ(180, r0.x[2]);
                          EXPECT_EQ(210, r0.x[3]);
                          EXPECT_EQ(-1, r1.icon[2]) << "open network: no lock";
                          EXPECT_EQ(4, r1.icon[3]) << "a quality above 100 keeps to the last bar";
                          EXPECT_FALSE(D::Enabled(IDC_NET_SSID_LIST))
                              << "an incomplete listing leaves the list as it was";
                      }),
                      D::Exit()});
    EXPECT_FALSE(d.timedOut);
}

TEST(NetDlgScan, ScanResultsOtherThanAListShowOnlyNotFound) {
    struct Case {
        const char* name;
        int count;   // what the reply's nParam (or the timeout) gives
        int records; // records the reply carries
        bool timeout;
        int expectedApCount;
    } cases[] = {
        {"no access point", 0, 0, false, 1},
        {"more than the list holds", 130, 130, false, 1},
        {"wait ran out", 19, 0, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        D d;
        bool stayedOpen = false;
        std::vector<unsigned char> afterList; // the store behind the access-point list
        auto storeAfterList = [] {
            const unsigned char* b = reinterpret_cast<const unsigned char*>(&g_netConfig);
            return std::vector<unsigned char>(b + offsetof(NetConfigStore, netIf), b + sizeof g_netConfig);
        };
        d.Run(kWireless,
              {D::Do([] { D::Click(IDC_NET_SCAN); }), D::WhenWaitBox([&] {
                   // Records an earlier scan left in the store are no result of this one.
                   g_netConfig.nApCount = 1;
                   g_netConfig.apList[0] = Ap("stale", 50, -1);
                   afterList = storeAfterList();
                   if (c.timeout)
                       D::Dlg().WaitBox().EndPopUp(POPUP_TIMEOUT);
                   else
                       ReplyScan(std::vector<ApRecord>((size_t)c.records, Ap("far", 50, 2)), c.count);
               }),
               D::AfterWaitBox([&] {
                   EXPECT_TRUE(afterList == storeAfterList()) << "records past the list's 128 go nowhere";
                   ASSERT_EQ(1, ListCount());
                   EXPECT_EQ(GetText(39), ListItem(0));
                   EXPECT_EQ(c.expectedApCount, g_netConfig.nApCount);
                   // OK over the not-found item sends nothing of the stale record.
                   Standin_ClearLog();
                   D::Click(IDOK);
               }),
               D::Do([&] {
                   stayedOpen = true;
                   ExitRCDlg(IDCANCEL);
               })});
        EXPECT_FALSE(d.timedOut);
        EXPECT_FALSE(stayedOpen);
        EXPECT_EQ("ACTIVED=2;", D::LastSentText());
    }
}

TEST(NetDlgScan, OkWithoutAListedAccessPointIsAsIfNoScanRan) {
    struct Case {
        const char* name;
        const char* params;
        bool parseAfterScan;  // else the not-found item is picked
        const char* expected; // null: nothing sent, the dialog stays open
        std::vector<int> boxes;
    } cases[] = {
        {"not-found item, wireless camera", kWireless, false, "ACTIVED=2;", {}},
        {"not-found item, camera not yet wireless", "HasEth=0;ACTIVED=0;", false, nullptr, {42}},
        {"listed record emptied by a later parse", kWireless, true, "ACTIVED=2;", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        D d;
        bool stayedOpen = false;
        d.Run(c.params, {D::Do([] { D::Click(IDC_NET_SCAN); }), D::WhenWaitBox([] {
                             ReplyScan({Ap("net0", 30, 2), Ap("", 0, 0)}, 2);
                         }),
                         D::AfterWaitBox([&c] {
                             if (c.parseAfterScan)
                                 D::ReplyText(4, CFG_REPLY_SUCCESS, kWireless); // unasked: parsed, no layout
                             else
                                 Select(1);
                             Standin_ClearLog();
                             D::Click(IDC_NET_CONNECT); // no record to connect to
                             D::Click(IDOK);
                         }),
                         D::Do([&] {
                             stayedOpen = true;
                             ExitRCDlg(IDCANCEL);
                         })});
        EXPECT_FALSE(d.timedOut);
        std::vector<std::string> boxes{GetText(28)};
        for (int t : c.boxes)
            boxes.push_back(GetText(t));
        EXPECT_EQ(boxes, d.boxes);
        EXPECT_EQ(c.expected == nullptr, stayedOpen);
        if (c.expected)
            EXPECT_EQ(c.expected, D::LastSentText());
        else
            EXPECT_TRUE(D::Sent().empty());
    }
}

TEST(NetDlgScan, PickedAccessPointGoesOutWithOk) {
    D d;
    d.answers = {IDYES};
    d.Run(kWireless,
          {D::Do([] { D::Click(IDC_NET_SCAN); }), D::WhenWaitBox([] {
               g_netConfig.apList[3] = Ap("keep", 10, -1);
               // A count above the records that came: only those are listed, not what is left behind them.
               ReplyScan({Ap("net0", 30, 2, 1, 1, "k0"), Ap(kLongSsid, 60, 2, 3, 2, kLongKey.c_str()),
                          Ap("net2", 90, -1)},
                         5);
           }),
           D::AfterWaitBox([] {
               EXPECT_STREQ("keep", g_netConfig.apList[3].szSsid) << "records past the reply stay";
               EXPECT_EQ(3, g_netConfig.nApCount);
               ASSERT_EQ(3, ListCount());
               EXPECT_EQ(kLongSsid, ListItem(1)) << "a full SSID field shows without its key";
               EXPECT_TRUE(D::Enabled(IDC_NET_SSID_LIST));
               EXPECT_TRUE(D::Enabled(IDC_NET_PASSWORD));
               EXPECT_EQ(30, (int)::SendMessageA(D::Item(IDC_NET_SSID_LIST), CB_GETITEMHEIGHT, 2, 0));
               Select(1);
               EXPECT_EQ(kLongKey, D::Text(IDC_NET_PASSWORD)) << "a key filling its field is taken whole";
               EXPECT_EQ(3, (int)::SendDlgItemMessageA(D::Dlg().m_hWnd, IDC_NET_AUTH, CB_GETCURSEL, 0, 0));
               EXPECT_EQ(2, (int)::SendDlgItemMessageA(D::Dlg().m_hWnd, IDC_NET_ENC, CB_GETCURSEL, 0, 0));
               // A scan reply while no scan waits changes neither the records nor what OK sends.
               ReplyScan({Ap("other0", 30, 2), Ap("other1", 30, 2)}, 2);
               EXPECT_STREQ("net0", g_netConfig.apList[0].szSsid);
               D::Click(IDOK);
           })});
    EXPECT_FALSE(d.timedOut);
    EXPECT_EQ(std::vector<std::string>{GetText(43)}, d.boxes) << "no validation box for the key";
    std::vector<SentPacket> sent = D::Sent();
    ASSERT_EQ(2u, sent.size()) << "the scan, then one set-parameters packet";
    EXPECT_EQ(9, sent[1].nType);
    EXPECT_EQ("ACTIVED=2;WIFI_AP=1;WIFI_ID=" + std::string(kLongSsid) + ";WIFI_PW=" + kLongKey +
                  ";WIFI_AUTH=3;WIFI_ENC=2;NW_RESTART=1;",
              D::LastSentText());
}

TEST(NetDlgScan, CustomSsidIsTypedAndSent) {
    D d;
    d.answers = {IDOK, IDOK, IDYES};
    d.Run(kWireless, {D::Do([] {
                          D::Click(IDC_NET_CUSTOM_SSID);
                          EXPECT_TRUE(D::Visible(IDC_NET_USER));
                          EXPECT_TRUE(D::Enabled(IDC_NET_USER));
                          EXPECT_FALSE(D::Visible(IDC_NET_SSID_LIST));
                          EXPECT_EQ(1, D::Dlg().m_bCustomSsid);
                          D::SetText(IDC_NET_USER, "");
                          D::Click(IDOK); // empty typed SSID: refused
                      }),
                      D::Do([] {
                          EXPECT_TRUE(D::Sent().empty());
                          D::SetText(IDC_NET_USER, "a;nlIP=16777343"); // would add an item of its own
                          D::Click(IDOK);
                      }),
                      D::Do([] {
                          EXPECT_TRUE(D::Sent().empty());
                          D::SetText(IDC_NET_USER, "typed");
                          D::SetText(IDC_NET_PASSWORD, "pw");
                          D::Click(IDOK);
                      })});
    EXPECT_FALSE(d.timedOut);
    ASSERT_EQ(3u, d.boxes.size());
    EXPECT_EQ(GetText(42), d.boxes[0]);
    EXPECT_EQ(GetText(101), d.boxes[1]);
    EXPECT_EQ("ACTIVED=2;WIFI_AP=0;WIFI_ID=typed;WIFI_PW=pw;WIFI_AUTH=4;WIFI_ENC=3;NW_RESTART=1;",
              D::LastSentText());
}

// A typed SSID restarts the camera's network unless SSID, key, authentication and encryption are the
// camera's own; a record of the access-point list, from this scan or any other, plays no part.
TEST(NetDlgScan, TypedSsidRestartsUnlessTheCameraUsesItAlready) {
    const struct {
        const char* name;
        bool scanFirst; // the list holds a record equal to the camera's own settings
        const char* ssid;
        int enc;
        bool restart;
    } cases[] = {
        {"another SSID after a scan listed the camera's own", true, "other", 3, true},
        {"the camera's own settings", false, "home", 3, false},
        {"the camera's own SSID with another encryption", false, "home", 2, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        D d;
        d.answers = {IDYES};
        std::vector<Step> steps;
        if (c.scanFirst)
            steps = {D::Do([] { D::Click(IDC_NET_SCAN); }),
                     D::WhenWaitBox([] { ReplyScan({Ap("home", 50, 2, 4, 3, "k")}, 1); }),
                     D::AfterWaitBox(nullptr)};
        steps.push_back(D::Do([&c] {
            D::Click(IDC_NET_CUSTOM_SSID);
            D::SetText(IDC_NET_USER, c.ssid);
            D::SetText(IDC_NET_PASSWORD, "k");
            ::SendDlgItemMessageA(D::Dlg().m_hWnd, IDC_NET_ENC, CB_SETCURSEL, (WPARAM)c.enc, 0);
            Standin_ClearLog();
            D::Click(IDOK);
        }));
        d.Run("ACTIVED=2;WIFI_ID=home;WIFI_PW=k;Softverion=4000;WIFI_AUTH=4;WIFI_ENC=3;", steps);
        EXPECT_FALSE(d.timedOut);
        EXPECT_EQ(std::string("ACTIVED=2;WIFI_AP=0;WIFI_ID=") + c.ssid + ";WIFI_PW=k;WIFI_AUTH=4;WIFI_ENC=" +
                      std::to_string(c.enc) + ";" + (c.restart ? "NW_RESTART=1;" : ""),
                  D::LastSentText());
        EXPECT_EQ(c.restart ? std::vector<std::string>{GetText(43)} : std::vector<std::string>{}, d.boxes);
    }
}

TEST(NetDlgConnect, DialUpConnectSendsBothFieldsAndReportsTheReply) {
    D d;
    const char* user32 = "abcdefghijklmnopqrstuvwxyz012345";
    d.Run("ACTIVED=1;",
          {D::Do([&] {
               D::SetText(IDC_NET_USER, user32);
               D::SetText(IDC_NET_PASSWORD, "pw");
               D::Click(IDC_NET_CONNECT);
           }),
           D::WhenWaitBox([&] {
               std::vector<unsigned char> b = D::LastSentBytes();
               ASSERT_EQ(84u, b.size());
               CfgPacket p;
               memcpy(&p, b.data(), sizeof p);
               EXPECT_EQ(0x46u, p.header);
               EXPECT_EQ(1, p.nType);
               EXPECT_EQ(32, p.nParam);
               EXPECT_EQ(32, p.nLength);
               EXPECT_EQ(std::string(user32), std::string((char*)&b[20], 32)) << "fills the field, no NUL";
               EXPECT_EQ(std::string("pw", 2) + std::string(30, '\0'), std::string((char*)&b[52], 32));
               EXPECT_EQ(GetText(30), std::string(D::Dlg().WaitBox().GetBaseText()));
               D::ReplyText(1, CFG_REPLY_SUCCESS, "ACTIVED=1;ADSL_ON=1;ADSL_ID=x;");
           }),
           D::AfterWaitBox([] {
               EXPECT_EQ(GetText(27), D::Text(IDC_NET_CONNECT)) << "laid out again as connected";
               EXPECT_FALSE(D::Enabled(IDC_NET_USER));
               EXPECT_EQ("x", D::Text(IDC_NET_USER));
               D::Click(IDC_NET_REFRESH);
               const SentPacket refresh = D::Sent().back();
               EXPECT_EQ(20, refresh.bytes);
               EXPECT_EQ(32, refresh.nParam) << "a header-only request keeps the connect's words";
               EXPECT_EQ(32, refresh.nLength);
           }),
           D::Exit()});
    EXPECT_FALSE(d.timedOut);
    EXPECT_EQ(std::vector<std::string>{GetText(31)}, d.boxes);
}

TEST(NetDlgConnect, ResultsOfTheConnectionCommands) {
    struct Case {
        const char* name;
        const char* params;
        std::function<void()> answer; // run while the wait box is open
        std::vector<int> boxes;       // texts shown, in order
        std::vector<int> types;       // nType of every packet sent
    } cases[] = {
        {"dial-up failure",
         "ACTIVED=1;",
         [] { D::ReplyText(1, CFG_REPLY_FAILURE, "ACTIVED=1;"); },
         {32},
         {1}},
        {"dial-up timeout", "ACTIVED=1;", [] { D::Dlg().WaitBox().EndPopUp(POPUP_TIMEOUT); }, {33}, {1}},
        {"only the connect's own reply ends its wait",
         "ACTIVED=1;",
         [] {
             ReplyScan({}, 17);                                // a late scan reply
             D::ReplyText(2, CFG_REPLY_FAILURE, "ACTIVED=1;"); // the answer to another request
             EXPECT_TRUE(D::WaitBoxOpen());
             D::ReplyText(1, CFG_REPLY_SUCCESS, "ACTIVED=1;");
         },
         {31},
         {1}},
        {"no permission does not end the wait",
         "ACTIVED=1;",
         [] {
             D::ReplyText(1, CFG_REPLY_NO_PERMISSION, "ACTIVED=0;");
             EXPECT_TRUE(D::WaitBoxOpen());
             EXPECT_EQ(1, g_netConfig.ACTIVED) << "no parse on no permission";
             D::Dlg().WaitBox().EndPopUp(POPUP_TIMEOUT);
         },
         {53, 33},
         {1}},
        {"dial-up disconnect",
         "ACTIVED=1;ADSL_ON=1;ADSL_ID=u;ADSL_PW=p;",
         [] { D::ReplyText(2, CFG_REPLY_SUCCESS, "ACTIVED=1;"); },
         {35},
         {2}},
        {"wireless disconnect timeout",
         "ACTIVED=2;WIFI_ON=1;",
         [] { D::Dlg().WaitBox().EndPopUp(POPUP_TIMEOUT); },
         {37},
         {5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        D d;
        d.Run(c.params, {D::Do([] {
                             D::SetText(IDC_NET_USER, "u");
                             D::SetText(IDC_NET_PASSWORD, "p");
                             D::Click(IDC_NET_CONNECT);
                         }),
                         D::WhenWaitBox(c.answer), D::AfterWaitBox([] {}), D::Exit()});
        EXPECT_FALSE(d.timedOut);
        std::vector<std::string> boxes;
        for (int t : c.boxes)
            boxes.push_back(GetText(t));
        EXPECT_EQ(boxes, d.boxes);
        std::vector<int> types;
        for (const SentPacket& s : D::Sent())
            types.push_back(s.nType);
        EXPECT_EQ(c.types, types);
    }
}

// Whatever cannot go out stops the command with a box, sends nothing, and leaves the dialog open with
// what the operator typed. A text over its limit is named by its field's label (text 12 user name,
// 6 password); the exchange's limits are the store's fields, the connect packet's 32 bytes are
// checked by the connect itself.
TEST(NetDlgConnect, FieldsThatCannotGoOutStopBeforeSending) {
    const std::string name40 = "网络管理网络管理网络管理网络管理网络管理"; // 20 characters, 40 bytes
    const std::string key80 = name40 + name40;
    const struct {
        const char* name;
        int command;
        std::string user, password;
        int box;
        bool underLabel; // the box names the field by its label text
    } cases[] = {
        {"connect, empty password", IDC_NET_CONNECT, "u", "", 29, false},
        {"connect, password with ;", IDC_NET_CONNECT, "u", "p;ACTIVED=0", 101, false},
        {"connect, user name with ;", IDC_NET_CONNECT, "u;", "p", 101, false},
        {"connect, password over the packet's 32 bytes", IDC_NET_CONNECT, "u", std::string(33, 'p'), 6, true},
        {"connect, user name over 32 bytes", IDC_NET_CONNECT, name40, "p", 12, true},
        {"OK, user name over 32 bytes", IDOK, name40, "newpw", 12, true},
        {"OK, password over 64 bytes", IDOK, "u", key80, 6, true},
        {"iperf, user name over 32 bytes", IDC_NET_IPERF_ON, name40, "p", 12, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        D d;
        d.answers = {IDYES, IDYES};
        bool stayedOpen = false;
        d.Run("ACTIVED=1;ADSL_ID=u;ADSL_PW=oldpw;", {D::Do([&c] {
                                                         D::SetText(IDC_NET_USER, c.user.c_str());
                                                         D::SetText(IDC_NET_PASSWORD, c.password.c_str());
                                                         D::Click(c.command);
                                                     }),
                                                     D::Do([&] {
                                                         stayedOpen = true;
                                                         EXPECT_EQ(c.user, D::Text(IDC_NET_USER));
                                                         EXPECT_EQ(c.password, D::Text(IDC_NET_PASSWORD));
                                                         ExitRCDlg(IDCANCEL);
                                                     })});
        EXPECT_TRUE(stayedOpen);
        EXPECT_TRUE(D::Sent().empty());
        ASSERT_EQ(1u, d.boxes.size());
        if (c.underLabel)
            EXPECT_EQ(0u, d.boxes[0].rfind(std::string(GetText(c.box)) + "\n", 0)) << "box: " << d.boxes[0];
        else
            EXPECT_EQ(GetText(c.box), d.boxes[0]);
    }
}

TEST(NetDlgConnect, WirelessConnectTakesTheSsidOfThePickedRecord) {
    D d;
    d.Run(kWireless, {D::Do([] { D::Click(IDC_NET_SCAN); }), D::WhenWaitBox([] {
                          ReplyScan({Ap("net0", 30, 2), Ap(kLongSsid, 60, 2, 3, 2, "k1")}, 2);
                      }),
                      D::AfterWaitBox([] {
                          Select(1);
                          D::SetText(IDC_NET_PASSWORD, "secret");
                          D::Click(IDC_NET_CONNECT);
                      }),
                      D::WhenWaitBox([] {
                          std::vector<unsigned char> b = D::LastSentBytes();
                          ASSERT_EQ(84u, b.size());
                          CfgPacket p;
                          memcpy(&p, b.data(), sizeof p);
                          EXPECT_EQ(4, p.nType);
                          EXPECT_EQ(std::string(kLongSsid), std::string((char*)&b[20], 32));
                          EXPECT_EQ(std::string("secret") + std::string(26, '\0'),
                                    std::string((char*)&b[52], 32));
                          D::ReplyText(4, CFG_REPLY_SUCCESS, "ACTIVED=2;WIFI_ON=1;WIFI_ID=net1;");
                      }),
                      D::AfterWaitBox([] {
                          EXPECT_EQ(-1, g_netConfig.nApCount) << "the page is laid out afresh";
                          EXPECT_EQ(1, ListCount());
                          EXPECT_EQ("net1", ListItem(0));
                      }),
                      D::Exit()});
    EXPECT_FALSE(d.timedOut);
    EXPECT_EQ(std::vector<std::string>{GetText(31)}, d.boxes);
}

TEST(NetDlgReplies, RepliesThatChangeOrLeaveThePage) {
    D d;
    d.Run("ACTIVED=0;ETH_IP=10.0.0.2;",
          {D::Do([] {
               D::Reply(8, 0, "ACTIVED=2;", 10, 0x45); // kind 5: not ours
               EXPECT_EQ(0, D::Dlg().NetType());
               D::Reply(8, 0, "ACTIVED=2;", 10, 0x466); // module 35: the IP filter's, not a refresh
               EXPECT_EQ(0, g_netConfig.ACTIVED);
               D::ReplyText(9, 0, "ACTIVED=2;"); // answer to set-parameters: nothing
               EXPECT_EQ(0, g_netConfig.ACTIVED);
               D::Reply(8, 0, "ACTIVED=2;", 10, 0x46);
               EXPECT_EQ(2, D::Dlg().NetType());
               D::ReplyText(8, 0, "ACTIVED=7;");
               EXPECT_EQ(0, D::Dlg().NetType()) << "unknown ACTIVED: wired page";
               // A length that does not fit the copy is not read at all.
               CfgPacket huge{};
               huge.header = 0x46;
               huge.nType = 8;
               huge.nLength = (int)(CFG_NETQUILL_BUFFER_SIZE - CFG_HEADER_SIZE);
               CmdProc(&huge);
               huge.nLength = -5;
               CmdProc(&huge);
               EXPECT_EQ(7, g_netConfig.ACTIVED) << "refused replies leave the store";
               D::ReplyText(8, CFG_REPLY_NO_PERMISSION, "ACTIVED=2;");
           }),
           D::Do([] {
               EXPECT_EQ(0, D::Dlg().NetType());
               EXPECT_EQ(7, g_netConfig.ACTIVED);
           }),
           D::Exit()});
    EXPECT_FALSE(d.timedOut);
    EXPECT_EQ(std::vector<std::string>{GetText(53)}, d.boxes);
}

// A wait box, message box or sub-dialog on top of the network dialog.
bool AnotherDialogOpen() {
    return ThreadDialogs().size() > 1;
}

// ExitRCDlg ends whatever the dialog runs at the time - a wait, a question, a sub-dialog - and the
// modal call returns at once; nothing is asked or sent after it, not even for a reply that follows.
TEST(NetDlgReplies, ExitRCDlgEndsWhatRunsAndNothingFollows) {
    const struct {
        const char* name;
        const char* params;
        std::function<void()> start;    // opens the wait, box or sub-dialog
        std::vector<int> types;         // nType of every packet sent
        std::vector<std::string> boxes; // texts of the boxes (and dialogs) left open
    } cases[] = {
        {"scan wait", kWireless, [] { D::Click(IDC_NET_SCAN); }, {14}, {}},
        {"dial-up connect wait",
         "ACTIVED=1;",
         [] {
             D::SetText(IDC_NET_USER, "u");
             D::SetText(IDC_NET_PASSWORD, "p");
             D::Click(IDC_NET_CONNECT);
         },
         {1},
         {}},
        {"restart question of OK",
         "ACTIVED=1;ADSL_ID=u;ADSL_PW=p;",
         [] {
             D::SetText(IDC_NET_PASSWORD, "q");
             D::Click(IDOK);
         },
         {},
         {GetText(43)}},
        {"AP-mode question", "", [] { D::Reply(12, 0, nullptr, 0); }, {}, {GetText(45)}},
        {"GB28181 dialog", "GB_bSupport=1;", [] { D::Click(IDC_NET_GB28181); }, {}, {""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        D d;
        d.answers = {D::LEAVE_OPEN};
        DWORD exitAt = 0;
        auto exit = [&exitAt] {
            exitAt = ::GetTickCount();
            ExitRCDlg(IDCANCEL);
            D::Reply(12, 0, nullptr, 0);               // an AP-mode state that would ask to start it
            D::ReplyText(8, 0, "ACTIVED=0;ORVID=99;"); // a refresh reply: read no more
        };
        d.Run(c.params, {D::Do(c.start), Step{&AnotherDialogOpen, exit}});
        const DWORD returnedAfter = ::GetTickCount() - exitAt;
        EXPECT_FALSE(d.timedOut);
        ASSERT_NE(0u, exitAt);
        EXPECT_LT(returnedAfter, TestTimeLimit(2000)) << "the modal call returns at once";
        EXPECT_NE(99, g_netConfig.ORVID) << "a reply after ExitRCDlg is not read";
        std::vector<int> types;
        for (const SentPacket& p : D::Sent())
            types.push_back(p.nType);
        EXPECT_EQ(c.types, types);
        EXPECT_EQ(c.boxes, d.boxes);
    }
}

TEST(NetDlgReplies, AccessPointModeStates) {
    struct Case {
        int state;
        std::vector<int> answers;
        std::vector<int> boxes;
        int startsSent; // AP-mode start requests
    } cases[] = {
        {0, {IDNO}, {45}, 0}, {0, {IDYES}, {45, 48}, 1}, {1, {}, {47}, 0}, {2, {IDYES}, {46}, 1},
        {2, {IDNO}, {46}, 0}, {-1, {}, {49}, 0},         {5, {}, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("state " + std::to_string(c.state));
        D d;
        d.answers = c.answers;
        d.Run("", {D::Do([] {
                       D::Click(IDC_NET_START_AP); // the query
                   }),
                   D::Do([&c] { D::Reply(12, c.state, nullptr, 0); }), D::Exit()});
        EXPECT_FALSE(d.timedOut);
        std::vector<std::string> boxes;
        for (int t : c.boxes)
            boxes.push_back(GetText(t));
        EXPECT_EQ(boxes, d.boxes);
        std::vector<SentPacket> s = D::Sent();
        ASSERT_EQ((size_t)(1 + c.startsSent), s.size());
        EXPECT_EQ(12, s[0].nType);
        EXPECT_EQ(0, s[0].nParam);
        if (c.startsSent) {
            EXPECT_EQ(12, s[1].nType);
            EXPECT_EQ(1, s[1].nParam);
        }
    }
}

TEST(NetDlgCommands, RefreshSendsOncePerTimerPeriod) {
    D d;
    d.Run("", {D::Do([] {
                   D::Click(IDC_NET_REFRESH);
                   D::Click(IDC_NET_REFRESH);
                   EXPECT_EQ(1u, D::Sent().size());
                   ::SendMessageA(D::Dlg().m_hWnd, WM_TIMER, 0, 0);
                   D::Click(IDC_NET_REFRESH);
                   std::vector<SentPacket> s = D::Sent();
                   ASSERT_EQ(2u, s.size());
                   EXPECT_EQ(8, s[1].nType);
                   EXPECT_EQ(20, s[1].bytes);
               }),
               D::Exit()});
    EXPECT_FALSE(d.timedOut);
}

TEST(NetDlgCommands, IperfSelfAdaptAndDhcp) {
    D d;
    d.answers = {IDOK};
    d.Run("ACTIVED=0;ETH_IP=10.0.0.2;ETH_NM=255.0.0.0;ETH_GW=10.0.0.1;",
          {D::Do([] {
               D::SetText(IDC_NET_IPERF_CMD, "");
               D::Click(IDC_NET_IPERF_ON);
               std::vector<SentPacket> s = D::Sent();
               ASSERT_EQ(1u, s.size());
               EXPECT_EQ(254, s[0].nType);
               EXPECT_EQ(20, s[0].bytes) << "empty command: header only, the NUL is not counted";
               EXPECT_TRUE(D::Enabled(IDC_NET_IPERF_OFF));
               EXPECT_FALSE(D::Enabled(IDC_NET_IPERF_ON));
               D::Click(IDC_NET_IPERF_OFF);
               EXPECT_EQ(255, D::Sent().back().nType);
               EXPECT_TRUE(D::Enabled(IDC_NET_IPERF_ON));
               EXPECT_FALSE(D::Enabled(IDC_NET_IPERF_OFF));

               D::SetCheck(IDC_NET_DHCP, true);
               EXPECT_EQ(1, g_netConfig.netIf[NETIF_WIRED].bDhcp);
               EXPECT_FALSE(D::Enabled(IDC_NET_IP)) << "DHCP disables the address controls";
               EXPECT_EQ(0, g_netConfig.wiredSnapshot.bDhcp);
               D::SetCheck(IDC_NET_SELF_ADAPT, true); // shows its hint
           }),
           D::Do([] {
               Standin_ClearLog();
               D::Click(IDOK);
           })});
    EXPECT_FALSE(d.timedOut);
    EXPECT_EQ(std::vector<std::string>{GetText(22)}, d.boxes);
    EXPECT_EQ("ACTIVED=0;bIPSelfAdapt=1;bDHCP=1;", D::LastSentText());
}

} // namespace
