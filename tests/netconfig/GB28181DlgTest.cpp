// The GB28181 dialog over the config store: what it shows, what OK stores, what the checks refuse.
#include "GB28181Dlg.h"
#include "NetConfigStore.h"
#include "SubDlgDriver.h"
#include "TextTable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

class GB28181DlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_netConfig = NetConfigStore{};
        g_nLanguage = 1;
        GbConfig& gb = g_netConfig.gb;
        gb.GB_bSupport = 1;
        gb.GB_bEnable = 1;
        strcpy(gb.GB_serverip, "192.168.1.100");
        gb.GB_serverport = 5060;
        gb.GB_localport = 5061;
        strcpy(gb.GB_devid, "34020000001320000001");
        strcpy(gb.GB_devpasswd, "secret");
        gb.GB_expires = 3600;
        gb.GB_EX_refresh = 0;
        strcpy(gb.GB_alarminID, "34020000001340000001");
        gb.GB_keepalive = 60;
        gb.GB_KA_outtimes = 3;
        before = gb;
    }
    static bool SameGb(const GbConfig& a, const GbConfig& b) { return memcmp(&a, &b, sizeof a) == 0; }

    CGB28181Dlg dlg;
    SubDlgScript script;
    GbConfig before{};
};

TEST_F(GB28181DlgTest, ShowsTheStoreAndEscStoresNothing) {
    std::string texts[6], enableText, caption;
    DWORD ip = 0;
    bool enabled = false, passwordMasked = true;
    const int kTextEdits[3] = {IDC_GB_DEVICE_ID, IDC_GB_PASSWORD, IDC_GB_ALARM_ID};
    int limits[3] = {0, 0, 0};
    script.WaitShown(dlg);
    script.Do("read", [&] {
        HWND h = dlg.GetSafeHwnd();
        texts[0] = ItemText(h, IDC_GB_DEVICE_ID);
        texts[1] = ItemText(h, IDC_GB_PASSWORD);
        texts[2] = ItemText(h, IDC_GB_SERVER_PORT);
        texts[3] = ItemText(h, IDC_GB_LOCAL_PORT);
        texts[4] = ItemText(h, IDC_GB_EXPIRES);
        texts[5] = ItemText(h, IDC_GB_KEEPALIVE);
        enableText = ItemText(h, IDC_GB_ENABLE);
        caption = WindowText(h);
        ip = IpAddress(h, IDC_GB_SERVER_IP);
        enabled = IsChecked(h, IDC_GB_ENABLE);
        passwordMasked = (GetWindowLongA(GetDlgItem(h, IDC_GB_PASSWORD), GWL_STYLE) & ES_PASSWORD) != 0;
        for (int i = 0; i < 3; ++i)
            limits[i] = (int)SendDlgItemMessageA(h, kTextEdits[i], EM_GETLIMITTEXT, 0, 0);
        SetItemText(h, IDC_GB_DEVICE_ID, "changed");
        PostMessageA(h, WM_COMMAND, IDCANCEL, 0); // Esc
    });
    EXPECT_EQ(script.Run(dlg), IDCANCEL);
    EXPECT_EQ(texts[0], "34020000001320000001");
    EXPECT_EQ(texts[1], "secret");
    EXPECT_EQ(texts[2], "5060");
    EXPECT_EQ(texts[3], "5061");
    EXPECT_EQ(texts[4], "3600");
    EXPECT_EQ(texts[5], "60");
    EXPECT_EQ(enableText, "Gb28181 Enable");
    EXPECT_EQ(caption, "GB28181");
    EXPECT_EQ(ip, (DWORD)MAKEIPADDRESS(192, 168, 1, 100)) << "got " << std::hex << ip;
    EXPECT_TRUE(enabled);
    EXPECT_FALSE(passwordMasked) << "the password is shown in plain characters";
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(limits[i], 20) << "input limit of edit " << kTextEdits[i];
    EXPECT_TRUE(SameGb(g_netConfig.gb, before)) << "Esc must leave GbConfig as it was";
}

TEST_F(GB28181DlgTest, OkButtonStoresEveryField) {
    script.WaitShown(dlg);
    script.Do("edit", [&] {
        HWND h = dlg.GetSafeHwnd();
        SetItemText(h, IDC_GB_DEVICE_ID, "11111111111111111111");
        SetItemText(h, IDC_GB_PASSWORD, "pw2");
        SetItemText(h, IDC_GB_SERVER_PORT, "65534");
        SetItemText(h, IDC_GB_LOCAL_PORT, "1025");
        SetItemText(h, IDC_GB_EXPIRES, "86400");
        SetItemText(h, IDC_GB_ALARM_ID, "alarm");
        SetItemText(h, IDC_GB_KEEPALIVE, "300");
        SetItemText(h, IDC_GB_EX_REFRESH, "600");
        SetItemText(h, IDC_GB_KA_OUTTIMES, "10");
        SetIpAddress(h, IDC_GB_SERVER_IP, 10, 1, 2, 3);
        CheckDlgButton(h, IDC_GB_ENABLE, BST_UNCHECKED);
    });
    script.Click(dlg, IDC_GB_OK);
    EXPECT_EQ(script.Run(dlg), IDOK);
    const GbConfig& gb = g_netConfig.gb;
    EXPECT_EQ(gb.GB_bSupport, 1) << "the dialog never writes GB_bSupport";
    EXPECT_EQ(gb.GB_bEnable, 0);
    EXPECT_STREQ(gb.GB_devid, "11111111111111111111");
    EXPECT_STREQ(gb.GB_devpasswd, "pw2");
    EXPECT_STREQ(gb.GB_serverip, "10.1.2.3");
    EXPECT_EQ(gb.GB_serverport, 65534);
    EXPECT_EQ(gb.GB_localport, 1025);
    EXPECT_EQ(gb.GB_expires, 86400);
    EXPECT_STREQ(gb.GB_alarminID, "alarm");
    EXPECT_EQ(gb.GB_keepalive, 300);
    EXPECT_EQ(gb.GB_EX_refresh, 600);
    EXPECT_EQ(gb.GB_KA_outtimes, 10);
}

TEST_F(GB28181DlgTest, ServerAddressEdgeCases) {
    struct Case {
        const char* stored;
        bool clearControl;
        DWORD shown;
        const char* saved;
    } cases[] = {
        {"abc", false, (DWORD)MAKEIPADDRESS(255, 255, 255, 255), "255.255.255.255"},
        {"", false, 0, "0.0.0.0"}, // no address from the camera: 0.0.0.0, not 255.255.255.255
        {"192.168.1.100", true, (DWORD)MAKEIPADDRESS(192, 168, 1, 100), "0.0.0.0"},
    };
    for (const Case& c : cases) {
        strcpy(g_netConfig.gb.GB_serverip, c.stored);
        CGB28181Dlg d;
        SubDlgScript s;
        DWORD shown = 0;
        s.WaitShown(d);
        s.Do("read", [&] {
            shown = IpAddress(d.GetSafeHwnd(), IDC_GB_SERVER_IP);
            if (c.clearControl)
                SendDlgItemMessageA(d.GetSafeHwnd(), IDC_GB_SERVER_IP, IPM_CLEARADDRESS, 0, 0);
        });
        s.Click(d, IDC_GB_OK);
        EXPECT_EQ(s.Run(d), IDOK) << c.stored;
        EXPECT_EQ(shown, c.shown) << "stored " << c.stored << ": got " << std::hex << shown;
        EXPECT_STREQ(g_netConfig.gb.GB_serverip, c.saved) << "stored " << c.stored;
    }
}

// Each case leaves one field out of its range; OK and Exit are refused with the field's message, the
// dialog stays open and the store keeps its values; Esc still closes.
TEST_F(GB28181DlgTest, ChecksRefuseOutOfRangeFields) {
    struct Case {
        const char* name;
        std::function<void(GbConfig&)> store; // a camera value
        int id;                               // or an operator edit
        const char* text;
        int button;
        const char* message; // part of the refusal's text
    } cases[] = {
        {"server port 65535", nullptr, IDC_GB_SERVER_PORT, "65535", IDC_GB_OK, "65534"},
        {"local port 0 from the camera", [](GbConfig& g) { g.GB_localport = 0; }, 0, nullptr, IDC_GB_OK,
         "1025"},
        {"expires 29", nullptr, IDC_GB_EXPIRES, "29", IDC_GB_OK, "86400"},
        {"keep-alive 0", nullptr, IDC_GB_KEEPALIVE, "0", IDC_GB_OK, "300"},
        {"port not a number", nullptr, IDC_GB_SERVER_PORT, "x", IDC_GB_OK, ""},
        {"hidden refresh 601 on Exit", [](GbConfig& g) { g.GB_EX_refresh = 601; }, 0, nullptr, IDC_GB_EXIT,
         "600"},
        {"hidden timeouts 11 on OK", [](GbConfig& g) { g.GB_KA_outtimes = 11; }, 0, nullptr, IDC_GB_OK, "10"},
        {"device id of 21", nullptr, IDC_GB_DEVICE_ID, "123456789012345678901", IDC_GB_OK, "20"},
        {"alarm id of 23 from the camera",
         [](GbConfig& g) { strcpy(g.GB_alarminID, "12345678901234567890123"); }, 0, nullptr, IDC_GB_OK, "20"},
    };
    for (const Case& c : cases) {
        SetUp();
        if (c.store) c.store(g_netConfig.gb);
        const GbConfig stored = g_netConfig.gb;
        CGB28181Dlg d;
        SubDlgScript s;
        std::string message, alarmShown;
        bool openAfter = false;
        s.WaitShown(d);
        s.Do("edit", [&] {
            alarmShown = ItemText(d.GetSafeHwnd(), IDC_GB_ALARM_ID);
            if (c.id) SetItemText(d.GetSafeHwnd(), c.id, c.text);
        });
        s.Click(d, c.button);
        s.CloseMessageBox(nullptr, &message);
        s.Do("still open", [&] {
            openAfter = IsWindowVisible(d.GetSafeHwnd()) != FALSE;
            PostMessageA(d.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
        });
        EXPECT_EQ(s.Run(d), IDCANCEL) << c.name;
        EXPECT_TRUE(openAfter) << c.name << ": a refused check must keep the dialog open";
        EXPECT_NE(message.find(c.message), std::string::npos) << c.name << ": message \"" << message << "\"";
        EXPECT_TRUE(SameGb(g_netConfig.gb, stored)) << c.name << ": the store must keep its values";
        EXPECT_EQ(alarmShown, stored.GB_alarminID) << c.name << ": a long camera text is shown whole";
    }
}

TEST_F(GB28181DlgTest, ExitWithValidFieldsEndsWithoutStoring) {
    script.WaitShown(dlg);
    script.Do("edit", [&] { SetItemText(dlg.GetSafeHwnd(), IDC_GB_SERVER_PORT, "6000"); });
    script.Click(dlg, IDC_GB_EXIT);
    EXPECT_EQ(script.Run(dlg), IDOK);
    EXPECT_TRUE(SameGb(g_netConfig.gb, before)) << "Exit runs the checks but stores nothing";
    EXPECT_EQ(dlg.m_nServerPort, 6000u) << "the members still take the controls";
}

} // namespace
