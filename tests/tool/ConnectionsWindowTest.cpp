// Connections of the real main window through the player's stand-in: a click on a row connects the
// camera into a window, the connection report starts the version poll on the UI thread, the selected
// window's number and version are shown, and every command reaches the player.
#include "LanServiceTestRun.h"

#include "DlgDraw.h"

using namespace lantest;

namespace {

const char kTwoCameras[] =
    "[Line]\nCameras=CAM1,CAM2\n"
    "[CAM1]\nIP=10.0.0.1\nPort=8000\nType=59162\nGroup=A\nNumber=100101\nVersion=V-one\n"
    "[CAM2]\nIP=10.0.0.2\nPort=8000\nType=59162\nGroup=A\nNumber=100102\nVersion=V-two\n";

std::string ConnectArgs(const char* ip, int port, const char* number, int window, const char* user = "admin",
                        const char* password = "") {
    char buf[300];
    snprintf(buf, sizeof buf,
             "CTellurio::Connect({ip=\"%s\",port=%d,number=\"%s\",user=\"%s\",password=\"%s\",channel=1,"
             "window=%d}, "
             "0x00000000, 0, 1, 0)",
             ip, port, number, user, password, window);
    return buf;
}

std::vector<std::string> Connects() {
    return CallsNamed({"CTellurio::Connect"}, true);
}

// A left click on the embedded video inside window 1-4 of the split view, as the operator clicks.
void ClickVideoWindow(CLENSBENCHDlg& dlg, int window) {
    HWND draw = dlg.DrawWindow()->GetSafeHwnd();
    RECT r;
    GetClientRect(draw, &r);
    const int x = (window % 2 == 1) ? r.right / 4 : r.right * 3 / 4;
    const int y = (window <= 2) ? r.bottom / 4 : r.bottom * 3 / 4;
    SendMessageA(draw, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}

void InjectRows(HWND dialog, const std::vector<LanSearchRecord>& answers) {
    for (const LanSearchRecord& a : answers)
        Standin_InjectSearchAnswer(&a);
    Standin_WaitIdle(TestTimeLimit(2000));
    SendMessageA(dialog, WM_REFRESH_DEVLIST, 0, 0);
}

void SetStates(int s1, int s2, int s3, int s4) {
    const int states[] = {s1, s2, s3, s4};
    for (int w = 1; w <= 4; ++w)
        Standin_InjectConnectState(w, states[w - 1]);
    Standin_WaitIdle(TestTimeLimit(2000));
}

} // namespace

// The operator's road: click a row, the camera connects into window 1; its version is stored but shown
// only once a window is selected; selecting windows shows their own number and version.
TEST(Connections, ClickConnectsAndTheSelectedWindowShowsItsNumberAndVersion) {
    LoadScenarioText(kTwoCameras);
    Standin_SetSpontaneous(0);
    MainRun run;
    run.script.Add("click the first row", [&run] {
        InjectRows(run.hwnd, {SearchAnswer("10.0.0.1", 100101), SearchAnswer("10.0.0.2", 100102)});
        EXPECT_EQ(ListRows(run.hwnd).size(), 2u) << RowsText(ListRows(run.hwnd));
        Standin_ClearLog();
        ClickRow(run.hwnd, 0);
        EXPECT_EQ(Connects(), std::vector<std::string>{ConnectArgs("10.0.0.1", 8000, "A100101", 1)})
            << Join(Connects());
        EXPECT_EQ(run.dlg.VersionWindow(), 1);
        EXPECT_STREQ(run.dlg.WindowNumber(1), "A100101");
        return true;
    });
    run.script.Add("version stored, nothing shown without a selected window", [&run] {
        if (strcmp(run.dlg.WindowVersion(1), "V-one") != 0) return false;
        std::vector<LoggedCall> calls = ProgramCalls();
        bool requested = false;
        for (const LoggedCall& c : calls)
            if (c.function == "CTellurio::RequestVersion") {
                requested = true;
                EXPECT_EQ(c.args, "1");
                EXPECT_EQ(c.thread, GetCurrentThreadId()) << "the version was requested off the UI thread";
            }
        EXPECT_TRUE(requested);
        EXPECT_EQ(ItemText(run.hwnd, IDC_EDIT_VERSION), "");
        EXPECT_EQ(ItemText(run.hwnd, IDC_EDIT_CLOUD_NUMBER), "");
        ClickVideoWindow(run.dlg, 1);
        return true;
    });
    run.script.Add("window 1 selected: its number and version", [&run] {
        if (ItemText(run.hwnd, IDC_EDIT_VERSION) != "V-one") return false;
        EXPECT_EQ(ItemText(run.hwnd, IDC_EDIT_CLOUD_NUMBER), "A100101");
        // Emptied, so that only the connected report of the next camera can fill it again.
        SetDlgItemTextA(run.hwnd, IDC_EDIT_CLOUD_NUMBER, "");
        Standin_ClearLog();
        ClickRow(run.hwnd, 1);
        EXPECT_EQ(Connects(), std::vector<std::string>{ConnectArgs("10.0.0.2", 8000, "A100102", 2)})
            << "window 1 is busy: " << Join(Connects());
        return true;
    });
    run.script.Add("second camera's version stored, the selected window's shown", [&run] {
        if (strcmp(run.dlg.WindowVersion(2), "V-two") != 0) return false;
        EXPECT_EQ(ItemText(run.hwnd, IDC_EDIT_VERSION), "V-one")
            << "edit 1087 shows the selected window's version";
        EXPECT_EQ(ItemText(run.hwnd, IDC_EDIT_CLOUD_NUMBER), "A100101")
            << "the connected report shows the selected window's number, not the new camera's";
        // A click on the main window's own client area shows the selection again.
        SetDlgItemTextA(run.hwnd, IDC_EDIT_VERSION, "");
        SetDlgItemTextA(run.hwnd, IDC_EDIT_CLOUD_NUMBER, "");
        SendMessageA(run.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        EXPECT_EQ(ItemText(run.hwnd, IDC_EDIT_VERSION), "V-one");
        EXPECT_EQ(ItemText(run.hwnd, IDC_EDIT_CLOUD_NUMBER), "A100101");
        ClickVideoWindow(run.dlg, 2);
        return true;
    });
    run.script.Add("window 2 selected", [&run] {
        if (ItemText(run.hwnd, IDC_EDIT_VERSION) != "V-two") return false;
        EXPECT_EQ(ItemText(run.hwnd, IDC_EDIT_CLOUD_NUMBER), "A100102");
        // Window 4 holds nothing: the edits keep what they show.
        ClickVideoWindow(run.dlg, 4);
        SendMessageA(run.hwnd, WM_VIDEO_CLICKED, 0, 0);
        EXPECT_EQ(ItemText(run.hwnd, IDC_EDIT_VERSION), "V-two");
        EXPECT_EQ(ItemText(run.hwnd, IDC_EDIT_CLOUD_NUMBER), "A100102");
        run.Close();
        return true;
    });
    run.Run();
}

// Which window a clicked camera goes into: the first free one; when all four are busy, the selected
// one; with all busy and none selected, nowhere, and nothing changes.
TEST(Connections, TheCameraGoesIntoTheFirstFreeOrTheSelectedWindow) {
    LoadScenarioText("[Line]\nSearchDelay=0\n");
    Standin_SetSpontaneous(0);
    MainRun run;
    run.script.Add("choices", [&run] {
        InjectRows(run.hwnd, {SearchAnswer("10.0.9.1", 300001)});
        const int connected = CONNECT_STATE_CONNECTED, connecting = CONNECT_STATE_CONNECTING;

        SetStates(connected, CONNECT_STATE_NONE, connecting, CONNECT_STATE_FAILED);
        Standin_ClearLog();
        ClickRow(run.hwnd, 0);
        EXPECT_EQ(Connects(), std::vector<std::string>{ConnectArgs("10.0.9.1", 8000, "A300001", 2)})
            << "windows 1 and 3 busy: " << Join(Connects());
        EXPECT_EQ(run.dlg.VersionWindow(), 2);

        SetStates(connected, connected, connecting, connected);
        Standin_ClearLog();
        ClickRow(run.hwnd, 0);
        EXPECT_TRUE(Connects().empty()) << "all busy and none selected: " << Join(Connects());
        EXPECT_EQ(run.dlg.VersionWindow(), 2) << "nothing may change";
        for (int w : {1, 3, 4})
            EXPECT_STREQ(run.dlg.WindowNumber(w), "") << "window " << w;

        ClickVideoWindow(run.dlg, 3);
        SetStates(connected, connected, connecting, connected);
        Standin_ClearLog();
        ClickRow(run.hwnd, 0);
        EXPECT_EQ(Connects(), std::vector<std::string>{ConnectArgs("10.0.9.1", 8000, "A300001", 3)})
            << "all busy, window 3 selected: " << Join(Connects());
        EXPECT_EQ(run.dlg.VersionWindow(), 3);
        EXPECT_STREQ(run.dlg.WindowNumber(3), "A300001");
        run.Close();
        return true;
    });
    run.Run();
}

// The port column is read as its leading digits; texts beyond the record's fields are cut, so the
// click still connects.
TEST(Connections, RowTextsAreReadIntoTheConnectionRecord) {
    LoadScenarioText("[Line]\nSearchDelay=0\n");
    Standin_SetSpontaneous(0);
    MainRun run;
    run.script.Add("rows with odd texts", [&run] {
        InjectRows(run.hwnd, {SearchAnswer("10.0.9.2", 300002)});
        struct Case {
            const char* port;
            int expected;
        };
        const Case cases[] = {{"8000", 8000}, {"abc", 0}, {"81x", 81}, {"", 0}};
        for (const Case& c : cases) {
            SetStates(0, 0, 0, 0);
            SetListText(run.hwnd, 0, 3, c.port);
            Standin_ClearLog();
            ClickRow(run.hwnd, 0);
            EXPECT_EQ(Connects(), std::vector<std::string>{ConnectArgs("10.0.9.2", c.expected, "A300002", 1)})
                << "port column \"" << c.port << "\"";
        }
        // An 18-character number column and a 40-character user name are cut to the record's fields.
        SetStates(0, 0, 0, 0);
        SetListText(run.hwnd, 0, 1, "ABC12345678901234X");
        SetListText(run.hwnd, 0, 3, "8000");
        SetDlgItemTextA(run.hwnd, IDC_EDIT_USER, "u123456789012345678901234567890123456789");
        Standin_ClearLog();
        ClickRow(run.hwnd, 0);
        EXPECT_EQ(Connects(), std::vector<std::string>{ConnectArgs("10.0.9.2", 8000, "ABC1234567890123", 1,
                                                                   "u123456789012345678901234567890")})
            << Join(Connects());
        run.Close();
        return true;
    });
    run.Run();
}

// The connection reports come on the library's thread and are handled on the UI thread in their order:
// connected then disconnected leaves no poll running; disconnected then connected polls.
TEST(Connections, ConnectionReportsAreHandledOnTheUiThreadInOrder) {
    LoadScenarioText("[Line]\nSearchDelay=0\n");
    Standin_SetSpontaneous(0);
    MainRun run;
    DWORD since = 0;
    run.script.Add("connected, then gone", [&since] {
        Standin_ClearLog();
        Standin_InjectConnectState(1, CONNECT_STATE_CONNECTED);
        Standin_InjectConnectState(1, CONNECT_STATE_NONE);
        since = GetTickCount();
        return true;
    });
    run.script.Add("no poll", [&since] {
        if (GetTickCount() - since < TestTimeLimit(700)) return false;
        std::vector<LoggedCall> calls = ProgramCalls();
        int requests = 0, polls = 0;
        for (const LoggedCall& c : calls) {
            if (c.function == "CTellurio::RequestVersion") {
                ++requests;
                EXPECT_EQ(c.thread, GetCurrentThreadId()) << "RequestVersion off the UI thread";
            }
            polls += c.function == "CTellurio::GetverSion";
        }
        EXPECT_EQ(requests, 1);
        EXPECT_EQ(polls, 0) << "the poll runs although the last report was not connected";
        Standin_ClearLog();
        Standin_InjectConnectState(1, CONNECT_STATE_NONE);
        Standin_InjectConnectState(1, CONNECT_STATE_CONNECTED);
        return true;
    });
    run.script.Add("polling", [&run, &since] {
        // No camera answers: the version stays pending and the poll goes on every 200 ms.
        if (CountCalls("CTellurio::GetverSion") < 3) return false;
        for (const LoggedCall& c : ProgramCalls())
            if (c.function == "CTellurio::GetverSion") {
                EXPECT_EQ(c.thread, GetCurrentThreadId());
            }
        // A click on the list with no selected row stops the poll and does nothing else.
        ClickRow(run.hwnd, -1);
        since = GetTickCount();
        return true;
    });
    run.script.Add("a timer message already queued may still arrive", [&since] {
        if (GetTickCount() - since < TestTimeLimit(250)) return false;
        Standin_ClearLog();
        since = GetTickCount();
        return true;
    });
    run.script.Add("stopped", [&run, &since] {
        if (GetTickCount() - since < TestTimeLimit(600)) return false;
        std::vector<std::string> player =
            CallsNamed({"CTellurio::GetverSion", "CTellurio::Connect", "CTellurio::GetConnectState",
                        "CTellurio::GetSelectedIndex"},
                       false);
        EXPECT_TRUE(player.empty()) << "after the click:\n" << Join(player);
        run.Close();
        return true;
    });
    run.Run();
}

// Every command button and accelerator key is one call on the player with its argument; help is none.
TEST(Connections, EveryCommandReachesThePlayer) {
    LoadScenarioText("[Line]\nSearchDelay=0\n");
    Standin_SetSpontaneous(0);
    MainRun run;
    run.script.Add("buttons", [&run] {
        struct Case {
            int id;
            const char* call;
        };
        const Case cases[] = {
            {IDC_BTN_REMOTE_SETTINGS, "CTellurio::RemoteConfig(0)"},
            {IDC_BTN_RESTORE_SYSTEM, "CTellurio::RebootDevice(0)"},
            {IDC_BTN_MODE_BW, "CTellurio::ChangeIpcMode(1, 0)"},
            {IDC_BTN_MODE_COLOR, "CTellurio::ChangeIpcMode(2, 0)"},
            {IDC_BTN_MODE_AUTO, "CTellurio::ChangeIpcMode(3, 0)"},
            {IDC_BTN_DEADPIX, "CTellurio::CorrectingDeadPix(0)"},
            {IDC_BTN_DISCONNECT, "CTellurio::CleanChnInfo(0)"},
            {IDC_BTN_DISCONNECT_ALL, "CTellurio::DisconnectAll(1)"},
        };
        const std::vector<std::string> commands = {"CTellurio::RemoteConfig",  "CTellurio::RebootDevice",
                                                   "CTellurio::ChangeIpcMode", "CTellurio::CorrectingDeadPix",
                                                   "CTellurio::CleanChnInfo",  "CTellurio::DisconnectAll",
                                                   "CTellurio::SearchNetWork"};
        for (const Case& c : cases) {
            Standin_ClearLog();
            Command(run.hwnd, c.id);
            EXPECT_EQ(CallsNamed(commands, true), std::vector<std::string>{c.call}) << "button " << c.id;
        }
        // The audio check box calls nothing.
        Standin_ClearLog();
        CheckDlgButton(run.hwnd, IDC_CHECK_AUDIO, BST_CHECKED);
        Command(run.hwnd, IDC_CHECK_AUDIO);
        CheckDlgButton(run.hwnd, IDC_CHECK_AUDIO, BST_UNCHECKED);
        Command(run.hwnd, IDC_CHECK_AUDIO);
        EXPECT_TRUE(CallsNamed(commands, false).empty());

        // WM_HELP is answered TRUE and opens nothing.
        HELPINFO help;
        memset(&help, 0, sizeof help);
        help.cbSize = sizeof help;
        help.iContextType = HELPINFO_WINDOW;
        help.iCtrlId = IDC_LIST_DEVICES;
        help.hItemHandle = GetDlgItem(run.hwnd, IDC_LIST_DEVICES);
        EXPECT_EQ(SendMessageA(run.hwnd, WM_HELP, 0, (LPARAM)&help), TRUE);
        EXPECT_EQ(FindOtherThreadDialog(run.hwnd), nullptr) << "WM_HELP opened a window";

        Standin_ClearLog();
        HWND target = GetFocus() ? GetFocus() : run.hwnd;
        for (UINT key = VK_F1; key <= VK_F6; ++key)
            PostMessageA(target, WM_KEYDOWN, key, 1);
        return true;
    });
    run.script.Add("keys", [&run] {
        const std::vector<std::string> commands = {"CTellurio::RemoteConfig", "CTellurio::RebootDevice",
                                                   "CTellurio::ChangeIpcMode"};
        std::vector<std::string> got = CallsNamed(commands, true);
        if (got.size() < 5) return false;
        const std::vector<std::string> expected = {
            "CTellurio::ChangeIpcMode(2, 0)", "CTellurio::ChangeIpcMode(1, 0)",
            "CTellurio::ChangeIpcMode(3, 0)", "CTellurio::RebootDevice(0)", "CTellurio::RemoteConfig(0)"};
        EXPECT_EQ(got, expected) << "F1 to F6 (F5 does nothing):\n" << Join(got);
        run.Close();
        return true;
    });
    run.Run();
}

// The default line as the operator meets it: its IPC cameras (not its DVR) are listed within 10 s; a
// click connects the first one into window 1, and selecting that window shows its number and version.
TEST(Connections, DefaultLineListsItsCamerasAndAClickConnectsOne) {
    MainRun run;
    DWORD shown = 0;
    run.script.Add("listed", [&run, &shown] {
        if (!shown) shown = GetTickCount();
        std::vector<std::vector<std::string>> rows = ListRows(run.hwnd);
        if (rows.size() < 6) {
            EXPECT_LT(GetTickCount() - shown, TestTimeLimit(10000)) << "not all cameras listed after 10 s:\n"
                                                                    << RowsText(rows);
            return GetTickCount() - shown >= TestTimeLimit(10000);
        }
        std::vector<std::string> ips;
        for (const auto& row : rows)
            ips.push_back(row[2]);
        const std::vector<std::string> expected = {"192.168.1.101", "192.168.1.102", "192.168.1.103",
                                                   "192.168.1.104", "192.168.1.105", "192.168.1.120"};
        EXPECT_EQ(ips, expected) << RowsText(rows);
        EXPECT_EQ(rows[0][1], "A100101");
        EXPECT_EQ(rows[0][3], "8000");
        Standin_ClearLog();
        ClickRow(run.hwnd, 0);
        EXPECT_EQ(Connects(), std::vector<std::string>{ConnectArgs("192.168.1.101", 8000, "A100101", 1)})
            << Join(Connects());
        return true;
    });
    run.script.Add("connected and versioned", [&run] {
        if (strcmp(run.dlg.WindowVersion(1), "V5.2.0_210318") != 0) return false;
        ClickVideoWindow(run.dlg, 1);
        return true;
    });
    run.script.Add("window 1 selected", [&run] {
        if (ItemText(run.hwnd, IDC_EDIT_VERSION) != "V5.2.0_210318") return false;
        EXPECT_EQ(ItemText(run.hwnd, IDC_EDIT_CLOUD_NUMBER), "A100101");
        run.Close();
        return true;
    });
    run.Run(25000);
}
