// The wireless state and the wireless search of the real main window: the controls that show the
// active interface and the signal, the quality taken from a listed network, and the search's wait box,
// list and message against the stand-in player.
#include "LanServiceTestRun.h"
#include "Packets.h"
#include "PacketsTestBytes.h"

#include "DlgDraw.h"

#include <algorithm>

using namespace lantest;
using namespace packettest;

namespace {

const char kNoNetwork[] = "没有搜索到网络";
const char kExpectedNotFound[] = "没有搜索到设定的无线SSID！";

bool Visible(HWND dialog, int id) {
    return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE;
}

std::vector<std::string> ComboTexts(HWND dialog) {
    std::vector<std::string> texts;
    const int n = (int)SendDlgItemMessageA(dialog, IDC_COMBO_WIFI, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < n; ++i) {
        char buf[128] = "";
        SendDlgItemMessageA(dialog, IDC_COMBO_WIFI, CB_GETLBTEXT, i, (LPARAM)buf);
        texts.push_back(buf);
    }
    return texts;
}

void ClickSearch(HWND dialog) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_BTN_WIFI_SCAN, BN_CLICKED),
                 (LPARAM)GetDlgItem(dialog, IDC_BTN_WIFI_SCAN));
}

// The player's window 1 is selected, as a click into the video selects it: the search goes to its camera.
void SelectWindowOne(CLENSBENCHDlg& dlg) {
    HWND draw = dlg.DrawWindow()->GetSafeHwnd();
    RECT r;
    GetClientRect(draw, &r);
    SendMessageA(draw, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right / 4, r.bottom / 4));
}

// The search's wait box is up: answer it as the camera in window 1 (or another) does, from the line's
// thread.
bool AnswerWhenWaiting(HWND dialog, int32_t count, const std::vector<ApRecord>& aps, int channel = 1) {
    HWND box = FindOtherThreadDialog(dialog);
    if (!box) return false;
    EXPECT_EQ(WindowText(box), "搜索网络");
    const std::vector<char> reply = ApPacket(14, count, aps);
    Standin_InjectPacket(channel, reply.data(), static_cast<int>(reply.size()));
    return true;
}

} // namespace

TEST(WirelessWindow, StateShowsTheActiveInterfaceAndTheListedQuality) {
    QuietLine();
    MainRun run;
    run.script.Add("states", [&run] {
        const HWND h = run.hwnd;
        const struct {
            const char* text;
            bool wiredChecked, wifiChecked, wiredEnabled, shown;
            const char* quality; // shown text, when shown
        } states[] = {
            {"WIFI_ID=LINE;WIFI_PW=pw;WIFI_Q=150;ACTIVED=1;", false, true, false, true, "49 dBm"},
            // The other button's check is left as it was.
            {"WIFI_ID=LINE;WIFI_Q=70;ACTIVED=0;", true, true, true, false, ""},
        };
        for (const auto& c : states) {
            Deliver(h, WirelessPacket(c.text));
            EXPECT_EQ(SendDlgItemMessageA(h, IDC_RADIO_WIRED, BM_GETCHECK, 0, 0) == BST_CHECKED,
                      c.wiredChecked)
                << c.text;
            EXPECT_EQ(SendDlgItemMessageA(h, IDC_RADIO_WIFI, BM_GETCHECK, 0, 0) == BST_CHECKED, c.wifiChecked)
                << c.text;
            EXPECT_EQ(IsWindowEnabled(GetDlgItem(h, IDC_RADIO_WIRED)) != FALSE, c.wiredEnabled) << c.text;
            EXPECT_EQ(IsWindowEnabled(GetDlgItem(h, IDC_RADIO_WIFI)) != FALSE, !c.wiredEnabled) << c.text;
            for (int id : {IDC_STATIC_SSID, IDC_STATIC_SIGNAL, IDC_STATIC_WIFI_STATE})
                EXPECT_EQ(Visible(h, id), c.shown) << c.text << ": control " << id;
            if (c.shown) {
                EXPECT_EQ(ItemText(h, IDC_STATIC_SSID), "LINE");
                EXPECT_EQ(ItemText(h, IDC_STATIC_WIFI_STATE), c.quality)
                    << "150 shown as its remainder by 101";
                EXPECT_EQ(run.dlg.SignalBar().GetLevel(), 150);
            }
        }
        return true;
    });
    run.script.Add("listed quality", [&run] {
        const HWND h = run.hwnd;
        Deliver(h, WirelessPacket("WIFI_ID=LINE;WIFI_Q=10;ACTIVED=1;"));
        Deliver(h, ApPacket(3, 2, {Ap("LINE-2", 20), Ap("LINE", 88)}));
        EXPECT_EQ(ItemText(h, IDC_STATIC_WIFI_STATE), "88 dBm");
        EXPECT_EQ(run.dlg.SignalBar().GetLevel(), 88);

        Deliver(h, ApPacket(3, 1, {Ap("OTHER", 30)}));
        EXPECT_EQ(ItemText(h, IDC_STATIC_WIFI_STATE), "88 dBm")
            << "the network is not listed: the quality stays";
        EXPECT_STREQ(g_apList[1].szSsid, "LINE") << "a shorter list overwrites only its own records";

        Deliver(h, ApPacket(3, 1, {Ap("LINE", 150)}));
        EXPECT_EQ(ItemText(h, IDC_STATIC_WIFI_STATE), "150 dBm") << "a listed quality is shown as it comes";

        // 65 records: the 65th is cut off and cannot spill into the state behind the list.
        std::vector<ApRecord> many(65, Ap("FILL", 1));
        many[64] = Ap("SPILL", 5);
        Deliver(h, ApPacket(3, 65, many));
        EXPECT_STREQ(g_szWifiId, "LINE");
        EXPECT_STREQ(g_apList[63].szSsid, "FILL");
        run.Close();
        return true;
    });
    run.Run();
}

TEST(WirelessWindow, SearchListsTheReplyAndLooksForTheExpectedNetwork) {
    QuietLine();
    MainRun run;
    const std::vector<ApRecord> aps = {Ap("zeta", 0, 3), Ap("alpha", 55, -1), Ap("LINE-1", 100, 0)};

    run.script.Add("first search", [&run] {
        SelectWindowOne(run.dlg);
        Standin_ClearLog();
        ClickSearch(run.hwnd);
        return true;
    });
    // A second search command while the first waits (a click queued behind it) must not take the
    // reply away from it; nor may a reply from another window's camera answer it.
    run.script.Add("a second command, another camera's reply, then the answer", [&run, &aps] {
        if (!FindOtherThreadDialog(run.hwnd)) return false;
        ClickSearch(run.hwnd);
        AnswerWhenWaiting(run.hwnd, 2, {Ap("WINDOW-2", 90), Ap("LINE-2", 90)}, 2);
        return AnswerWhenWaiting(run.hwnd, 3, aps);
    });
    run.script.Add("listed; no network expected, so the message", [&run, &aps] {
        HWND box = FindThreadDialogWithText(kExpectedNotFound);
        if (!box) return false;
        EXPECT_EQ(CallsNamed({"CTellurio::SearchNetWork"}, true),
                  std::vector<std::string>{"CTellurio::SearchNetWork(0)"});
        EXPECT_EQ(ComboTexts(run.hwnd), (std::vector<std::string>{"zeta", "alpha", "LINE-1"}))
            << "the camera's order, not the sorted one";
        const int locks[] = {LOCK_ICON, -1, LOCK_ICON}, signals[] = {0, 2, 4};
        for (int i = 0; i < 3; ++i) {
            const PowerComboItem& item = run.dlg.WifiList().GetItemRecord(i);
            EXPECT_EQ(item.icon[2], locks[i]) << "item " << i;
            EXPECT_EQ(item.icon[3], signals[i]) << "item " << i;
            EXPECT_EQ(item.icon[1], -1) << "item " << i << ": the first cell holds no icon";
            EXPECT_EQ(std::vector<int>(item.x + 1, item.x + 4), (std::vector<int>{100, 150, 180}))
                << "item " << i << ": x offsets of cells 1 to 3";
            EXPECT_STREQ(item.text, aps[i].szSsid);
        }
        EXPECT_EQ(g_apList[0].nQuality, 1) << "quality 0 becomes 1";
        EXPECT_EQ(g_nApCount, 3);
        EXPECT_EQ(run.dlg.SsidFound(), 0);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    run.script.Add("second search, the line's network expected", [&run] {
        if (FindOtherThreadDialog(run.hwnd)) return false;
        run.dlg.SetExpectedValues("", "", "", "LINE", "60");
        ClickSearch(run.hwnd);
        return true;
    });
    run.script.Add("answered again", [&run, &aps] { return AnswerWhenWaiting(run.hwnd, 3, aps); });
    run.script.Add("found, no message", [&run] {
        if (FindOtherThreadDialog(run.hwnd)) return false;
        EXPECT_EQ(run.dlg.SsidFound(), 100);
        EXPECT_EQ(run.dlg.SsidQuality(), 100);
        EXPECT_EQ(SendDlgItemMessageA(run.hwnd, IDC_COMBO_WIFI, CB_GETCURSEL, 0, 0), 0);
        EXPECT_TRUE(SendDlgItemMessageA(run.hwnd, IDC_COMBO_WIFI, CB_GETDROPPEDSTATE, 0, 0))
            << "a listed search opens the drop-down list";
        SendDlgItemMessageA(run.hwnd, IDC_COMBO_WIFI, CB_SHOWDROPDOWN, FALSE, 0);
        ClickSearch(run.hwnd);
        return true;
    });
    run.script.Add("third answer, an empty second name", [&run] {
        return AnswerWhenWaiting(run.hwnd, 3, {Ap("AP-9", 40), Ap("", 50), Ap("LINE", 60)});
    });
    run.script.Add("cut at the empty name", [&run] {
        if (FindOtherThreadDialog(run.hwnd)) return false;
        std::vector<std::string> texts = ComboTexts(run.hwnd);
        std::sort(texts.begin(), texts.end());
        EXPECT_EQ(texts, (std::vector<std::string>{"AP-9", kNoNetwork}));
        EXPECT_FALSE(SendDlgItemMessageA(run.hwnd, IDC_COMBO_WIFI, CB_GETDROPPEDSTATE, 0, 0));
        EXPECT_EQ(run.dlg.SsidFound(), 0) << "LINE lies after the end of the list";
        EXPECT_EQ(run.dlg.SsidQuality(), 100) << "the last found quality is kept";
        ClickSearch(run.hwnd);
        return true;
    });
    // Without a reply the box's own end codes are no count: the list left by the last scan is not shown.
    auto endBox = [&run](WPARAM key) {
        HWND box = FindOtherThreadDialog(run.hwnd);
        if (!box) return false;
        PostMessageA(box, WM_KEYDOWN, key, 0);
        return true;
    };
    auto noNetwork = [&run](const char* after) {
        if (FindOtherThreadDialog(run.hwnd)) return false;
        EXPECT_EQ(ComboTexts(run.hwnd), std::vector<std::string>{kNoNetwork}) << after;
        EXPECT_EQ(run.dlg.SsidFound(), 0) << after;
        ClickSearch(run.hwnd);
        return true;
    };
    run.script.Add("Esc in the wait box", [&endBox] { return endBox(VK_ESCAPE); });
    run.script.Add("no network after Esc", [&noNetwork] { return noNetwork("Esc"); });
    run.script.Add("Enter in the wait box", [&endBox] { return endBox(VK_RETURN); });
    run.script.Add("no network after Enter", [&noNetwork] { return noNetwork("Enter"); });
    // The box waits 30 s for the camera: after 55 ticks of 500 ms it is still up.
    HWND waiting = nullptr;
    run.script.Add("the wait goes on", [&run, &waiting] {
        waiting = FindOtherThreadDialog(run.hwnd);
        if (!waiting) return false;
        for (int tick = 0; tick < 55; ++tick)
            PostMessageA(waiting, WM_TIMER, 0, 0);
        return true;
    });
    run.script.Add("the wait runs out", [&waiting] {
        MSG m;
        if (PeekMessageA(&m, waiting, WM_TIMER, WM_TIMER, PM_NOREMOVE)) return false; // ticks still queued
        EXPECT_TRUE(IsWindowVisible(waiting)) << "the wait box gave up before 30 s";
        for (int tick = 0; tick < 15; ++tick)
            PostMessageA(waiting, WM_TIMER, 0, 0); // it ends with its timeout code on the 62nd tick
        return true;
    });
    run.script.Add("no network after the timeout", [&noNetwork] { return noNetwork("timeout"); });
    run.script.Add("a count above 64 with fewer records", [&run] {
        return AnswerWhenWaiting(run.hwnd, 65, {Ap("LINE-A", 70), Ap("LINE-B", 60), Ap("LINE-C", 50)});
    });
    run.script.Add("no network for a count out of range", [&noNetwork] { return noNetwork("count 65"); });
    run.script.Add("a reply shorter than its count", [&run] {
        return AnswerWhenWaiting(run.hwnd, 5, {Ap("LINE-X", 70), Ap("B", 40)});
    });
    run.script.Add("only the records it carried", [&run] {
        if (FindOtherThreadDialog(run.hwnd)) return false;
        EXPECT_EQ(ComboTexts(run.hwnd), (std::vector<std::string>{"LINE-X", "B"}))
            << "the third record is left from an earlier scan";
        EXPECT_EQ(run.dlg.SsidFound(), 70);
        SendDlgItemMessageA(run.hwnd, IDC_COMBO_WIFI, CB_SHOWDROPDOWN, FALSE, 0);
        run.Close();
        return true;
    });
    run.Run();
}
