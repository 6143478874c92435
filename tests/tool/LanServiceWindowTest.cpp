// The LAN service of the real main window against the device SDK's stand-in: start and stop, the
// search tick, the number-push switch, the callbacks on the SDK's thread, and the device list.
#include "LanServiceTestRun.h"
#include "TestTime.h"

#include "CredentialCopy.h"
#include "DeviceTable.h"

using namespace lantest;

namespace {

std::vector<std::string> ServiceLog(HWND dialog) {
    HWND box = GetDlgItem(dialog, IDC_LIST_SERVICE_LOG);
    std::vector<std::string> lines;
    const int n = (int)SendMessageA(box, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < n; ++i) {
        char buf[256] = "";
        if (SendMessageA(box, LB_GETTEXTLEN, i, 0) < (LRESULT)sizeof buf)
            SendMessageA(box, LB_GETTEXT, i, (LPARAM)buf);
        lines.push_back(buf);
    }
    return lines;
}

int SelectedServiceLine(HWND dialog) {
    return (int)SendMessageA(GetDlgItem(dialog, IDC_LIST_SERVICE_LOG), LB_GETCURSEL, 0, 0);
}

bool HasEntry(const char* ip) {
    for (const DeviceEntry& e : g_DeviceTable.Snapshot())
        if (e.nAlive > 0 && strcmp(e.szIp, ip) == 0) return true;
    return false;
}

// Index in the program's call log of the first call "function(args)", -1 when absent.
int CallIndex(const std::string& call) {
    std::vector<LoggedCall> calls = ProgramCalls();
    for (size_t i = 0; i < calls.size(); ++i)
        if (calls[i].function + "(" + calls[i].args + ")" == call) return (int)i;
    return -1;
}

const char kSearchCall[] = "QLC_LANSerchDevice(\"\", 0, 59162, 3, \"\", 0, 3600)";

// The window timers this program sets, seen at its import of SetTimer: the real timers, whatever the
// window records of them.
struct TimerSet {
    HWND hwnd;
    UINT_PTR id;
    UINT period;
    DWORD when;
};
std::vector<TimerSet> g_timersSet;
UINT_PTR(WINAPI* g_realSetTimer)(HWND, UINT_PTR, UINT, TIMERPROC);
UINT_PTR WINAPI RecordSetTimer(HWND hwnd, UINT_PTR id, UINT period, TIMERPROC proc) {
    g_timersSet.push_back({hwnd, id, period, GetTickCount()});
    return g_realSetTimer(hwnd, id, period, proc);
}

// When the program searched the LAN, seen at its import of the search.
std::vector<DWORD> g_searchTimes;
int(__cdecl* g_realSearch)(const char*, int, int, int, const char*, int, int);
int __cdecl RecordSearch(const char* ip, int port, int type, int retries, const char* group, int number,
                         int timeout) {
    g_searchTimes.push_back(GetTickCount());
    return g_realSearch(ip, port, type, retries, group, number, timeout);
}

// Points this module's import of dll!name at target; returns what it pointed at, NULL when absent.
void* RedirectImport(const char* dll, const char* name, void* target) {
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name;
         ++imp) {
        if (_stricmp(reinterpret_cast<const char*>(base + imp->Name), dll) != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (strcmp(reinterpret_cast<const char*>(byName->Name), name) != 0) continue;
            DWORD old;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old);
            void* previous = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(target);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
            return previous;
        }
    }
    return nullptr;
}

// The period of the list timer as last set on the window, 0 when it never was.
UINT ListTimerSet(HWND hwnd) {
    UINT period = 0;
    for (const TimerSet& t : g_timersSet)
        if (t.hwnd == hwnd && t.id == TIMER_LIST) period = t.period;
    return period;
}
} // namespace

// The start sequence: LAN tool, the first free search and broadcast ports, status line; then a search
// every 3 s with its fixed arguments, the first one on the search timer's first tick.
TEST(LanService, StartsItsServersOnFreePortsAndSearchesEveryThreeSeconds) {
    QuietLine("[Sdk]\nBusySearchPorts=9400,9401\nBusyBroadcastPorts=9500\n");
    Standin_ClearLog();
    g_timersSet.clear();
    g_searchTimes.clear();
    g_realSetTimer = reinterpret_cast<decltype(g_realSetTimer)>(
        RedirectImport("user32.dll", "SetTimer", reinterpret_cast<void*>(&RecordSetTimer)));
    g_realSearch = reinterpret_cast<decltype(g_realSearch)>(
        RedirectImport("QLCLIENT.dll", "QLC_LANSerchDevice", reinterpret_cast<void*>(&RecordSearch)));
    ASSERT_TRUE(g_realSetTimer && g_realSearch) << "this program imports no SetTimer or no search";
    MainRun run;
    run.script.Add("status line", [&run] {
        EXPECT_EQ(ServiceLog(run.hwnd), std::vector<std::string>{"已开启服务.服务运行中.无配置."});
        EXPECT_EQ(SelectedServiceLine(run.hwnd), 0) << "the last status line is selected";
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(run.hwnd, IDC_BTN_START)));
        EXPECT_NE(g_nSearchTimer, 0u);
        return true;
    });
    run.script.Add("three searches", [&run] {
        if (g_searchTimes.size() < 3) return false;
        run.Close();
        return true;
    });
    run.Run();
    RedirectImport("user32.dll", "SetTimer", reinterpret_cast<void*>(g_realSetTimer));
    RedirectImport("QLCLIENT.dll", "QLC_LANSerchDevice", reinterpret_cast<void*>(g_realSearch));

    std::vector<std::string> start =
        CallsNamed({"QLC_EnableLANTool", "QLC_StartLANSerchServer", "QLC_StartBroadcastServer"}, true);
    ASSERT_GE(start.size(), 5u) << Join(start);
    // The callbacks' addresses vary; everything before them is fixed.
    const char* expected[] = {
        "QLC_EnableLANTool(1, 0, 0, 0x",           "QLC_StartLANSerchServer(9400, 6666, 0x",
        "QLC_StartLANSerchServer(9401, 6666, 0x",  "QLC_StartLANSerchServer(9402, 6666, 0x",
        "QLC_StartBroadcastServer(9500, 9106, 0x", "QLC_StartBroadcastServer(9501, 9106, 0x"};
    ASSERT_GE(start.size(), 6u) << Join(start);
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(start[i].rfind(expected[i], 0), 0u) << "call " << i << ": got " << start[i];
    EXPECT_EQ(start[3].substr(start[3].size() - 4), ", 1)") << start[3];
    // No further port is tried after a server started (the next start entry is the shut-down's disable).
    if (start.size() > 6) {
        EXPECT_EQ(start[6].rfind("QLC_EnableLANTool(0, 0, 0, 0x", 0), 0u) << Join(start);
    }

    for (const std::string& call : CallsNamed({"QLC_LANSerchDevice"}, true))
        EXPECT_EQ(call, kSearchCall);
    // Measured from the search timer's start: a timer never fires early, so the lower bounds hold on
    // any machine; the n-th search is late only by the lateness of its own tick, which a slow machine
    // stretches. Three periods apart tell 3 s from the 2 s list tick and from a longer period.
    DWORD timerSet = 0;
    for (const TimerSet& t : g_timersSet)
        if (t.id == TIMER_SEARCH && timerSet == 0) timerSet = t.when;
    ASSERT_NE(timerSet, 0u) << "no search timer was set";
    ASSERT_GE(g_searchTimes.size(), 3u);
    const long first = static_cast<long>(g_searchTimes[0] - timerSet);
    const long third = static_cast<long>(g_searchTimes[2] - timerSet);
    EXPECT_GE(first, 2900) << "the first search " << first
                           << " ms after the timer's start, not on its first tick";
    EXPECT_GE(third, 8900) << "the third search " << third << " ms after the timer's start";
    EXPECT_LE(third, static_cast<long>(TestTimeLimit(12000)))
        << "the third search " << third << " ms after the timer's start";
}

TEST(LanService, FailedLanToolIsReportedAndSearchesStillRun) {
    QuietLine("[Sdk]\nLanToolFails=1\n");
    MainRun run;
    run.script.Add("failure line, search timer set", [&run] {
        EXPECT_EQ(ServiceLog(run.hwnd), std::vector<std::string>{"开启服务失败."});
        EXPECT_NE(g_nSearchTimer, 0u) << "timer 1 runs even though the LAN tool failed";
        Standin_ClearLog();
        SendMessageA(run.hwnd, WM_TIMER, TIMER_SEARCH, 0);
        EXPECT_EQ(CallsNamed({"QLC_LANSerchDevice"}, true), std::vector<std::string>{kSearchCall});
        run.Close();
        return true;
    });
    run.Run();
}

// Stopping keeps the servers but ends the searches and empties the list; the push switch adds the
// credential push to each search tick with the edits' current texts, and enables the file controls.
TEST(LanService, StopAndPushSwitch) {
    QuietLine();
    MainRun run;
    run.script.Add("push switch and search tick", [&run] {
        HWND h = run.hwnd;
        CheckDlgButton(h, IDC_CHECK_NUMBER_PUSH, BST_CHECKED);
        Command(h, IDC_CHECK_NUMBER_PUSH);
        EXPECT_EQ(g_nPushSwitch.load(), 1);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(h, IDC_EDIT_CFG_PATH)));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(h, IDC_BTN_BROWSE_CFG)));
        SetDlgItemTextA(h, IDC_EDIT_USER, "line-op");
        SetDlgItemTextA(h, IDC_EDIT_PASSWORD, "pw-1");
        Standin_ClearLog();
        SendMessageA(h, WM_TIMER, TIMER_SEARCH, 0);
        std::vector<std::string> expected = {kSearchCall, "QLC_LANToolDevice(\"line-op\", \"pw-1\", 1000)"};
        std::vector<std::string> got = CallsNamed({"QLC_LANSerchDevice", "QLC_LANToolDevice"}, true);
        EXPECT_EQ(got, expected) << Join(got);

        CheckDlgButton(h, IDC_CHECK_NUMBER_PUSH, BST_UNCHECKED);
        Command(h, IDC_CHECK_NUMBER_PUSH);
        EXPECT_EQ(g_nPushSwitch.load(), 0);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(h, IDC_EDIT_CFG_PATH)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(h, IDC_BTN_BROWSE_CFG)));
        Standin_ClearLog();
        SendMessageA(h, WM_TIMER, TIMER_SEARCH, 0);
        EXPECT_EQ(CountCalls("QLC_LANToolDevice"), 0);
        return true;
    });
    run.script.Add("stop", [&run] {
        HWND h = run.hwnd;
        LanSearchRecord a = SearchAnswer("10.0.0.1", 100101);
        Standin_InjectSearchAnswer(&a);
        if (!Standin_WaitIdle(TestTimeLimit(2000))) return false;
        SendMessageA(h, WM_REFRESH_DEVLIST, 0, 0);
        EXPECT_EQ(ListRows(h).size(), 1u);
        Standin_ClearLog();
        Command(h, IDC_BTN_START);
        std::vector<std::string> got = CallsNamed({"QLC_EnableLANTool", "QLC_StopLANSerchServer"}, false);
        EXPECT_EQ(got, std::vector<std::string>{"QLC_EnableLANTool"}) << "the servers stay until shut-down";
        EXPECT_EQ(CallsNamed({"QLC_EnableLANTool"}, true).at(0).rfind("QLC_EnableLANTool(0, 0, 0, 0x", 0),
                  0u);
        EXPECT_EQ(g_nSearchTimer, 0u);
        EXPECT_TRUE(ListRows(h).empty()) << RowsText(ListRows(h));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(h, IDC_BTN_START)));
        run.Close();
        return true;
    });
    run.Run();
    // Stopped already: the shut-down does not disable the LAN tool through the service a second time.
    EXPECT_EQ(CountCalls("QLC_EnableLANTool"), 2) << "the stop and the shut-down's own disable";
}

// Sightings from the SDK's thread become rows: IPC only, in table order, group with "-1" for none.
TEST(DeviceList, ListsOnlyIpcRowsWithGroupAndNumber) {
    QuietLine();
    MainRun run;
    run.script.Add("sightings", [&run] {
        const LanSearchRecord answers[] = {SearchAnswer("10.0.0.1", 100101),
                                           SearchAnswer("10.0.0.2", 100102, QLC_DEVTYPE_DVR),
                                           SearchAnswer("10.0.0.3", 100103, QLC_DEVTYPE_NVR),
                                           SearchAnswer("10.0.0.4", 100104, QLC_DEVTYPE_QNVR),
                                           SearchAnswer("10.0.0.5", 100105, 1234),
                                           SearchAnswer("10.0.0.6", -1, QLC_DEVTYPE_IPC, "B", 9000)};
        for (const LanSearchRecord& a : answers)
            Standin_InjectSearchAnswer(&a);
        LanSearchRecord end = SearchAnswer("10.0.0.9", 5);
        end.bEnd = 1;
        Standin_InjectSearchAnswer(&end);
        BroadcastRecord b = Broadcast(10, 0, 0, 7, 7, "C", 80);
        Standin_InjectBroadcast(&b, 0);
        BroadcastRecord ended = Broadcast(10, 0, 0, 8, 8);
        Standin_InjectBroadcast(&ended, 1);
        return true;
    });
    run.script.Add("rows", [&run] {
        if (!Standin_WaitIdle(TestTimeLimit(2000))) return false;
        SendMessageA(run.hwnd, WM_REFRESH_DEVLIST, 0, 0);
        std::vector<std::vector<std::string>> expected = {{"1", "A100101", "10.0.0.1", "8000", "0"},
                                                          {"6", "B-1", "10.0.0.6", "9000", "0"},
                                                          {"7", "C7", "10.0.0.7", "80", "0"}};
        std::vector<std::vector<std::string>> rows = ListRows(run.hwnd);
        EXPECT_EQ(rows, expected) << "got:\n" << RowsText(rows) << "expected:\n" << RowsText(expected);
        EXPECT_FALSE(HasEntry("10.0.0.9")) << "an answer with the end flag was taken";
        EXPECT_FALSE(HasEntry("10.0.0.8")) << "a broadcast with the end flag was taken";
        for (int i : {0, 5, 6})
            EXPECT_EQ(g_DeviceTable.Entry(i).bNew, 0) << "entry " << i << " was listed";
        EXPECT_EQ(g_DeviceTable.Entry(1).bNew, 1) << "the DVR was not listed, so it stays new";

        // The remembered address selects and focuses its row at every refresh; empty, none is selected.
        HWND list = GetDlgItem(run.hwnd, IDC_LIST_DEVICES);
        const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
        EXPECT_EQ(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0), 0);
        strcpy(g_szRememberedIp, "10.0.0.6");
        SendMessageA(run.hwnd, WM_REFRESH_DEVLIST, 0, 0);
        for (int row = 0; row < 3; ++row)
            EXPECT_EQ((UINT)SendMessageA(list, LVM_GETITEMSTATE, row, both), row == 1 ? both : 0u)
                << "row " << row << " with the remembered address 10.0.0.6";
        g_szRememberedIp[0] = '\0';
        SendMessageA(run.hwnd, WM_REFRESH_DEVLIST, 0, 0);
        EXPECT_EQ(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0), 0) << "the selection outlived the refresh";
        run.Close();
        return true;
    });
    run.Run();
}

// The list tick: 2 s while fewer than ten rows, 30 s from the first tick that counts ten, and 30 s
// still when rows disappear; a new start of the service makes it 2 s again. Each tick posts 0x2B10.
TEST(DeviceList, RefreshSlowsAtTenRowsAndStaysSlow) {
    QuietLine();
    g_realSetTimer = reinterpret_cast<decltype(g_realSetTimer)>(
        RedirectImport("user32.dll", "SetTimer", reinterpret_cast<void*>(&RecordSetTimer)));
    ASSERT_NE(g_realSetTimer, nullptr) << "this program imports no SetTimer";
    MainRun run;
    auto tick = [&run] {
        MSG stale;
        while (PeekMessageA(&stale, run.hwnd, WM_REFRESH_DEVLIST, WM_REFRESH_DEVLIST, PM_REMOVE)) {
        }
        SendMessageA(run.hwnd, WM_TIMER, TIMER_LIST, 0);
        MSG posted;
        EXPECT_TRUE(PeekMessageA(&posted, run.hwnd, WM_REFRESH_DEVLIST, WM_REFRESH_DEVLIST, PM_NOREMOVE))
            << "the tick posted no 0x2B10";
        return ListTimerSet(run.hwnd);
    };
    auto sight = [](int from, int to) {
        for (int i = from; i <= to; ++i) {
            char ip[16];
            snprintf(ip, sizeof ip, "10.0.1.%d", i);
            LanSearchRecord a = SearchAnswer(ip, 100000 + i);
            Standin_InjectSearchAnswer(&a);
        }
    };
    run.script.Add("nine rows", [&run, &tick, &sight] {
        EXPECT_EQ(ListTimerSet(run.hwnd), 2000u);
        sight(1, 9);
        if (!Standin_WaitIdle(TestTimeLimit(2000))) return false;
        SendMessageA(run.hwnd, WM_REFRESH_DEVLIST, 0, 0);
        EXPECT_EQ(ListRows(run.hwnd).size(), 9u);
        EXPECT_EQ(tick(), 2000u) << "nine rows keep the 2 s period";
        sight(10, 10);
        if (!Standin_WaitIdle(TestTimeLimit(2000))) return false;
        SendMessageA(run.hwnd, WM_REFRESH_DEVLIST, 0, 0);
        EXPECT_EQ(ListRows(run.hwnd).size(), 10u);
        EXPECT_EQ(tick(), 30000u) << "ten rows switch to 30 s";
        // Three search ticks without answers: every camera leaves the list.
        for (int i = 0; i < 3; ++i)
            SendMessageA(run.hwnd, WM_TIMER, TIMER_SEARCH, 0);
        SendMessageA(run.hwnd, WM_REFRESH_DEVLIST, 0, 0);
        EXPECT_EQ(ListRows(run.hwnd).size(), 0u) << RowsText(ListRows(run.hwnd));
        EXPECT_EQ(tick(), 30000u) << "the period went back to 2 s when rows disappeared";
        // Stop and start again: 2 s.
        Command(run.hwnd, IDC_BTN_START);
        Command(run.hwnd, IDC_BTN_START);
        EXPECT_EQ(ListTimerSet(run.hwnd), 2000u);
        run.Close();
        return true;
    });
    run.Run();
    RedirectImport("user32.dll", "SetTimer", reinterpret_cast<void*>(g_realSetTimer));
}

namespace {
HANDLE g_release;

// Releases the held callback once the window's shut-down is inside QLC_StopLANSerchServer, which waits
// for the callbacks of the search server to end.
DWORD WINAPI ReleaseWhenStopping(void*) {
    WaitUntil([] { return CountCalls("QLC_StopLANSerchServer") > 0; }, 10000, 5);
    Sleep(50);
    SetEvent(g_release);
    return 0;
}
} // namespace

// A search answer is held in flight while the operator closes the window: the close waits for
// it without a deadlock, and the camera still gets the texts the edits held, from the callbacks' copy.
TEST(LanServiceCallbacks, ClosingTheWindowWhileACallbackIsInFlight) {
    QuietLine();
    HANDLE entered = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    g_release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE releaser = nullptr;
    DWORD closeTook = 0;
    {
        MainRun run;
        run.script.Add("push switch on, a camera without a number", [&run, entered] {
            CheckDlgButton(run.hwnd, IDC_CHECK_NUMBER_PUSH, BST_CHECKED);
            Command(run.hwnd, IDC_CHECK_NUMBER_PUSH);
            SetDlgItemTextA(run.hwnd, IDC_EDIT_PASSWORD, "secret");
            Standin_ClearLog();
            // The line's thread stops with the callback chosen, so the search server's stop waits for it;
            // it enters the program only once the shut-down is inside that stop.
            Standin_HoldNextLanCallback(entered, g_release);
            LanSearchRecord a = SearchAnswer("10.0.0.10", 0);
            Standin_InjectSearchAnswer(&a);
            return true;
        });
        run.script.Add("callback held, close", [&run, &releaser, &closeTook, entered] {
            if (WaitForSingleObject(entered, 0) != WAIT_OBJECT_0) return false;
            releaser = CreateThread(nullptr, 0, ReleaseWhenStopping, nullptr, 0, nullptr);
            const DWORD start = GetTickCount();
            SendMessageA(run.hwnd, WM_CLOSE, 0, 0);
            closeTook = GetTickCount() - start;
            return true;
        });
        EXPECT_EQ(run.Run(), IDCANCEL);
    }
    SetEvent(g_release); // never left held, whatever happened above
    if (releaser) {
        EXPECT_EQ(WaitForSingleObject(releaser, TestTimeLimit(10000)), WAIT_OBJECT_0);
        CloseHandle(releaser);
    }
    EXPECT_LT(closeTook, TestTimeLimit(5000)) << "the close waited for the held callback far too long";
    const int stop = CallIndex("QLC_StopLANSerchServer()");
    const int push = CallIndex("QLC_LANToolDevice(\"admin\", \"secret\", 1000)");
    const int stopBroadcast = CallIndex("QLC_StopBroadcastServer()");
    EXPECT_TRUE(stop >= 0 && stop < push && push < stopBroadcast)
        << "expected the held callback's credential push between the two server stops; got indexes " << stop
        << ", " << push << ", " << stopBroadcast << "\n"
        << Join(CallsNamed({"QLC_StopLANSerchServer", "QLC_LANToolDevice", "QLC_StopBroadcastServer"}, true));
    EXPECT_TRUE(HasEntry("10.0.0.10")) << "the held callback did not finish its work";
    Standin_HoldNextLanCallback(nullptr, nullptr);
    CloseHandle(entered);
    CloseHandle(g_release);
}

// While the UI thread is busy (2 s without taking a message), callbacks on the SDK's thread finish their
// work with the current credentials: they never wait for the UI thread.
TEST(LanServiceCallbacks, CallbacksFinishWhileTheUiThreadIsBusy) {
    QuietLine();
    MainRun run;
    run.script.Add("busy UI thread", [&run] {
        CheckDlgButton(run.hwnd, IDC_CHECK_NUMBER_PUSH, BST_CHECKED);
        Command(run.hwnd, IDC_CHECK_NUMBER_PUSH);
        SetDlgItemTextA(run.hwnd, IDC_EDIT_USER, "op-2");
        SetDlgItemTextA(run.hwnd, IDC_EDIT_PASSWORD, "pw-2");
        Standin_ClearLog();
        LanSearchRecord a = SearchAnswer("10.0.0.11", 0);
        Standin_InjectSearchAnswer(&a);
        BroadcastRecord b = Broadcast(10, 0, 0, 12, 0);
        Standin_InjectBroadcast(&b, 0);
        const std::string expected = "QLC_LANToolDevice(\"op-2\", \"pw-2\", 1000)";
        // Busy: no message is taken on this thread until the 2 s are over or both callbacks are done.
        const bool done = WaitUntil(
            [&expected] {
                std::vector<std::string> pushes = CallsNamed({"QLC_LANToolDevice"}, true);
                return HasEntry("10.0.0.11") && HasEntry("10.0.0.12") && pushes.size() == 2 &&
                       pushes[0] == expected && pushes[1] == expected;
            },
            2000, 10);
        EXPECT_TRUE(done) << "the callbacks did not finish while the UI thread was busy:\n"
                          << Join(CallsNamed({"QLC_LANToolDevice"}, true));
        for (const LoggedCall& c : ProgramCalls())
            if (c.function == "QLC_LANToolDevice") {
                EXPECT_NE(c.thread, GetCurrentThreadId()) << "the credential push ran on the UI thread";
            }
        run.Close();
        return true;
    });
    run.Run();
}
