// The RTMP and DDNS dialogs over the config store: shown from the store, written only by OK.
#include "DdnsDlg.h"
#include "NetConfigStore.h"
#include "RtmpDlg.h"
#include "SubDlgDriver.h"
#include "TextTable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class RtmpDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_netConfig = NetConfigStore{};
        g_nLanguage = 1;
        g_netConfig.rtmp[0] = {1, "rtmp://a/live"};
        g_netConfig.rtmp[1] = {0, "rtmp://b/live"};
        g_netConfig.rtmp[2] = {1, ""};
    }
    static bool SameRtmp(const RtmpServer* a, const RtmpServer* b) {
        return memcmp(a, b, sizeof(RtmpServer) * NQ_RTMP_COUNT) == 0;
    }
    CRtmpDlg dlg;
    SubDlgScript script;
};

TEST_F(RtmpDlgTest, OkStoresFlagsAndAddresses) {
    std::string url1, label3, check2Text;
    bool c1 = false, c2 = true, c3 = false;
    const int kUrlEdits[3] = {IDC_RTMP_URL1, IDC_RTMP_URL2, IDC_RTMP_URL3};
    int limits[3] = {0, 0, 0};
    script.WaitShown(dlg);
    script.Do("read and edit", [&] {
        HWND h = dlg.GetSafeHwnd();
        url1 = ItemText(h, IDC_RTMP_URL1);
        label3 = ItemText(h, IDC_RTMP_URL3_LABEL);
        check2Text = ItemText(h, IDC_RTMP_ENABLE2);
        c1 = IsChecked(h, IDC_RTMP_ENABLE1);
        c2 = IsChecked(h, IDC_RTMP_ENABLE2);
        c3 = IsChecked(h, IDC_RTMP_ENABLE3);
        for (int i = 0; i < 3; ++i)
            limits[i] = (int)SendDlgItemMessageA(h, kUrlEdits[i], EM_GETLIMITTEXT, 0, 0);
        CheckDlgButton(h, IDC_RTMP_ENABLE1, BST_UNCHECKED); // address stays
        CheckDlgButton(h, IDC_RTMP_ENABLE2, BST_CHECKED);
        SetItemText(h, IDC_RTMP_URL2, "");
        SetItemText(h, IDC_RTMP_URL3, "rtmp://c/s3");
    });
    script.Click(dlg, IDOK);
    EXPECT_EQ(script.Run(dlg), IDOK);
    EXPECT_EQ(url1, "rtmp://a/live");
    EXPECT_EQ(label3, "RTMP Server Address");
    EXPECT_EQ(check2Text, "Enable Rtmp Server Of Stream 2");
    EXPECT_TRUE(c1 && !c2 && c3) << "checks shown: " << c1 << c2 << c3 << ", expected 101";
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(limits[i], CRtmpDlg::URL_MAX_CHARS) << "input limit of edit " << kUrlEdits[i];
    const RtmpServer* r = g_netConfig.rtmp;
    EXPECT_EQ(r[0].bEnable, 0);
    EXPECT_STREQ(r[0].szServerUrl, "rtmp://a/live") << "clearing the check keeps the address";
    EXPECT_EQ(r[1].bEnable, 1);
    EXPECT_STREQ(r[1].szServerUrl, "") << "an empty address is stored empty";
    EXPECT_EQ(r[2].bEnable, 1);
    EXPECT_STREQ(r[2].szServerUrl, "rtmp://c/s3");
}

TEST_F(RtmpDlgTest, CancelAfterEditsLeavesTheRecords) {
    RtmpServer before[NQ_RTMP_COUNT];
    memcpy(before, g_netConfig.rtmp, sizeof before);
    script.WaitShown(dlg);
    script.Do("edit", [&] {
        HWND h = dlg.GetSafeHwnd();
        CheckDlgButton(h, IDC_RTMP_ENABLE1, BST_UNCHECKED);
        SetItemText(h, IDC_RTMP_URL1, "rtmp://other");
    });
    script.Click(dlg, IDCANCEL);
    EXPECT_EQ(script.Run(dlg), IDCANCEL);
    EXPECT_TRUE(SameRtmp(g_netConfig.rtmp, before));
}

// The record holds 127 characters: a longer address is refused rather than cut.
TEST_F(RtmpDlgTest, AddressLongerThanTheRecordIsRefused) {
    const std::string fits(127, 'u'), tooLong(128, 'u');
    std::string message;
    script.WaitShown(dlg);
    script.Do("too long", [&] { SetItemText(dlg.GetSafeHwnd(), IDC_RTMP_URL2, tooLong.c_str()); });
    script.Click(dlg, IDOK);
    script.CloseMessageBox(nullptr, &message);
    script.Do("store untouched", [&] {
        EXPECT_STREQ(g_netConfig.rtmp[1].szServerUrl, "rtmp://b/live");
        SetItemText(dlg.GetSafeHwnd(), IDC_RTMP_URL2, fits.c_str());
    });
    script.Click(dlg, IDOK);
    EXPECT_EQ(script.Run(dlg), IDOK);
    EXPECT_NE(message.find("127"), std::string::npos) << "message \"" << message << "\"";
    EXPECT_EQ(std::string(g_netConfig.rtmp[1].szServerUrl), fits);
}

class DdnsDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_netConfig = NetConfigStore{};
        g_nLanguage = 1;
        DdnsConfig& d = g_netConfig.ddns;
        d.nType = 3;
        strcpy(d.szHost, "cam.example");
        strcpy(d.szUser, "user");
        strcpy(d.szPassword, "pw");
        before = d;
    }
    static bool SameDdns(const DdnsConfig& a, const DdnsConfig& b) { return memcmp(&a, &b, sizeof a) == 0; }
    CDdnsDlg dlg;
    SubDlgScript script;
    DdnsConfig before{};
};

TEST_F(DdnsDlgTest, ShowsProvidersAndStoreThenOkStores) {
    std::vector<std::string> entries;
    int sel = -2;
    std::string host, caption, clearText;
    bool masked = false;
    const int kTextEdits[3] = {IDC_DDNS_HOST, IDC_DDNS_USER, IDC_DDNS_PASSWORD};
    int limits[3] = {0, 0, 0};
    script.WaitShown(dlg);
    script.Do("read and edit", [&] {
        HWND h = dlg.GetSafeHwnd();
        HWND combo = GetDlgItem(h, IDC_DDNS_TYPE);
        for (int i = 0, n = (int)SendMessageA(combo, CB_GETCOUNT, 0, 0); i < n; ++i) {
            char buf[64] = "";
            SendMessageA(combo, CB_GETLBTEXT, i, (LPARAM)buf);
            entries.push_back(buf);
        }
        sel = (int)SendMessageA(combo, CB_GETCURSEL, 0, 0);
        host = ItemText(h, IDC_DDNS_HOST);
        caption = WindowText(h);
        clearText = ItemText(h, IDC_DDNS_CLEAR);
        masked = (GetWindowLongA(GetDlgItem(h, IDC_DDNS_PASSWORD), GWL_STYLE) & ES_PASSWORD) != 0;
        for (int i = 0; i < 3; ++i)
            limits[i] = (int)SendDlgItemMessageA(h, kTextEdits[i], EM_GETLIMITTEXT, 0, 0);
        SendMessageA(combo, CB_SETCURSEL, 6, 0);
        SetItemText(h, IDC_DDNS_USER, "new");
    });
    script.Click(dlg, IDOK);
    EXPECT_EQ(script.Run(dlg), IDOK);
    ASSERT_EQ(entries.size(), 8u);
    EXPECT_EQ(entries[0], "Dyndns DDNS");
    EXPECT_EQ(entries[3], "oray花生壳 DDNS");
    EXPECT_EQ(entries[7], "heckerddns DDNS") << "entries stay in list order, unsorted";
    EXPECT_EQ(sel, 3);
    EXPECT_EQ(host, "cam.example");
    EXPECT_EQ(caption, "DDNS");
    EXPECT_EQ(clearText, "EMPTY");
    EXPECT_TRUE(masked) << "the password edit masks its characters";
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(limits[i], 25) << "input limit of edit " << kTextEdits[i];
    EXPECT_EQ(g_netConfig.ddns.nType, 6);
    EXPECT_STREQ(g_netConfig.ddns.szUser, "new");
    EXPECT_STREQ(g_netConfig.ddns.szHost, "cam.example");
}

TEST_F(DdnsDlgTest, TypeOutsideTheListShowsNoSelectionAndStoresMinusOne) {
    g_netConfig.ddns.nType = 8;
    int sel = 0;
    script.WaitShown(dlg);
    script.Do("read",
              [&] { sel = (int)SendDlgItemMessageA(dlg.GetSafeHwnd(), IDC_DDNS_TYPE, CB_GETCURSEL, 0, 0); });
    script.Click(dlg, IDOK);
    EXPECT_EQ(script.Run(dlg), IDOK);
    EXPECT_EQ(sel, CB_ERR);
    EXPECT_EQ(g_netConfig.ddns.nType, -1);
}

TEST_F(DdnsDlgTest, EmptyClearsTheScreenOnly) {
    struct Case {
        int endButton;
        bool stores;
    } cases[] = {{IDOK, true}, {IDCANCEL, false}};
    for (const Case& c : cases) {
        SetUp();
        CDdnsDlg d;
        SubDlgScript s;
        std::string hostAfterClear = "?";
        s.WaitShown(d);
        s.Click(d, IDC_DDNS_CLEAR);
        s.Do("read", [&] {
            hostAfterClear = ItemText(d.GetSafeHwnd(), IDC_DDNS_HOST);
            EXPECT_TRUE(SameDdns(g_netConfig.ddns, before)) << "EMPTY alone changes no stored value";
        });
        s.Click(d, c.endButton);
        EXPECT_EQ(s.Run(d), c.endButton);
        EXPECT_EQ(hostAfterClear, "");
        if (c.stores) {
            EXPECT_EQ(g_netConfig.ddns.nType, 0);
            EXPECT_STREQ(g_netConfig.ddns.szHost, "");
            EXPECT_STREQ(g_netConfig.ddns.szUser, "");
            EXPECT_STREQ(g_netConfig.ddns.szPassword, "");
        } else {
            EXPECT_TRUE(SameDdns(g_netConfig.ddns, before)) << "EMPTY then Cancel changes nothing";
        }
    }
}

TEST_F(DdnsDlgTest, LongStoredTextIsShownWholeAndRefusedUntilShortened) {
    const std::string longHost(30, 'h');
    strcpy(g_netConfig.ddns.szHost, longHost.c_str());
    std::string shown, message;
    script.WaitShown(dlg);
    script.Do("read", [&] { shown = ItemText(dlg.GetSafeHwnd(), IDC_DDNS_HOST); });
    script.Click(dlg, IDOK);
    script.CloseMessageBox(nullptr, &message);
    script.Do("shorten",
              [&] { SetItemText(dlg.GetSafeHwnd(), IDC_DDNS_HOST, std::string(25, 'h').c_str()); });
    script.Click(dlg, IDOK);
    EXPECT_EQ(script.Run(dlg), IDOK);
    EXPECT_EQ(shown, longHost);
    EXPECT_NE(message.find("25"), std::string::npos) << "message \"" << message << "\"";
    EXPECT_EQ(std::string(g_netConfig.ddns.szHost), std::string(25, 'h'));
}

} // namespace
