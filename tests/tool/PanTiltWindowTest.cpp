// The pan-tilt plug-in opened by a received packet, the pan-tilt keys and commands of the main window,
// run modally as the program runs it against the stand-in plug-in.
#include "MainWindowHarness.h"

#include "CfgPacket.h"
#include "TestTime.h"
#include "TextCut.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const char kPluginCaption[] = "云台控制";
const int kPluginParamsId = 1001; // the stand-in dialog's text of the parameters it was given

// The main window with the speed check in reach, noting the pan-tilt codes it gives.
class PanTiltDlg : public CLENSBENCHDlg {
public:
    using CLENSBENCHDlg::PanTiltMove;
    std::vector<int> codes;

protected:
    void PanTiltCommand(int code) override { codes.push_back(code); }
};

using PanTiltRun = MainRunOf<PanTiltDlg>;

std::vector<char> Packet(unsigned kind, unsigned module, unsigned subKind, int32_t nType,
                         const std::string& data) {
    std::vector<char> bytes(CFG_HEADER_SIZE + data.size());
    CfgPacket h{};
    h.header = (kind & 0x1F) | ((module & 0xFF) << 5) | ((subKind & 0xFF) << 13);
    h.nType = nType;
    h.nLength = static_cast<int32_t>(data.size());
    memcpy(bytes.data(), &h, sizeof h);
    memcpy(bytes.data() + CFG_HEADER_SIZE, data.data(), data.size());
    return bytes;
}

void Inject(int channel, const std::vector<char>& packet) {
    Standin_InjectPacket(channel, packet.data(), static_cast<int>(packet.size()));
    EXPECT_EQ(Standin_WaitIdle(TestTimeLimit(5000)), 1) << "the stand-in did not post the packet";
}

// A pan-tilt packet: module 0xF0 reads as -16, and the text sits 8 bytes after the header.
const std::string kParams = "PTZ=1;SPEED=5;";
std::vector<char> PanTiltPacket() {
    return Packet(5, 0xF0, 7, 8, "JUNKJUNK" + kParams);
}

HWND PluginDialog(HWND main) {
    HWND other = FindOtherThreadDialog(main);
    return other && WindowText(other) == kPluginCaption ? other : nullptr;
}

const std::vector<std::string> kPluginCalls = {"InitRCDlg",         "SetParam", "GetParam",
                                               "SwivelpaneDoModal", "CmdProc",  "ExitRCDlg"};

} // namespace

TEST(PanTiltWindow, PluginDialogTakesThePacketsWhileItIsOpen) {
    PanTiltRun run;
    run.script.Add("pan-tilt packet", [&run] {
        Standin_ClearLog();
        // Text offsets outside what arrived open nothing; the packet after them does.
        Inject(3, Packet(5, 0xF0, 7, 0x7FFFFFF0, kParams));
        Inject(3, Packet(5, 0xF0, 7, static_cast<int32_t>(kParams.size()), kParams));
        Inject(3, PanTiltPacket());
        return true;
    });
    run.script.Add("plug-in dialog open", [&run] {
        HWND plugin = PluginDialog(run.hwnd);
        if (!plugin) return false;
        EXPECT_NE(g_pfnSwivelCmdProc, nullptr) << "no CmdProc while the plug-in's dialog is open";
        EXPECT_EQ(ItemText(plugin, kPluginParamsId), kParams) << "the plug-in was given the wrong text";
        // A wireless-state reply and a second pan-tilt packet: both are the open plug-in's.
        Inject(3, Packet(6, 2, 0, 8, "WIFI_ID=abc;ACTIVED=1;"));
        Inject(3, PanTiltPacket());
        return true;
    });
    run.script.Add("replies reached the plug-in; close it", [&run] {
        if (CountCalls("CmdProc") < 2) return false;
        HWND plugin = PluginDialog(run.hwnd);
        EXPECT_NE(plugin, nullptr);
        if (plugin) PostMessageA(plugin, WM_COMMAND, IDOK, 0);
        return true;
    });
    run.script.Add("plug-in closed and freed", [&run] {
        if (PluginDialog(run.hwnd) || g_pfnSwivelCmdProc) return false;
        EXPECT_EQ(GetModuleHandleA("Swivelpane.dll"), nullptr) << "the plug-in stays loaded after its dialog";
        const std::vector<std::string> expected = {
            "InitRCDlg(3, 0)", "SetParam(-16, \"" + kParams + "\")", "SwivelpaneDoModal()",
            "CmdProc({kind=6,module=2,nType=8,nParam=0,nLength=22})",
            "CmdProc({kind=5,module=240,nType=8,nParam=0,nLength=22})"};
        const std::vector<std::string> got = CallsNamed(kPluginCalls, true);
        EXPECT_EQ(got, expected) << "got:\n" << Join(got);
        // Once closed, a pan-tilt packet goes to the window's own dispatcher again: a new dialog opens.
        Standin_ClearLog();
        Inject(4, PanTiltPacket());
        return true;
    });
    run.script.Add("second dialog", [&run] {
        HWND plugin = PluginDialog(run.hwnd);
        if (!plugin) return false;
        EXPECT_EQ(CallsNamed({"InitRCDlg"}, true), std::vector<std::string>{"InitRCDlg(4, 0)"});
        EXPECT_EQ(CountCalls("CmdProc"), 0);
        PostMessageA(plugin, WM_COMMAND, IDOK, 0);
        return true;
    });
    run.script.Add("close", [&run] {
        if (PluginDialog(run.hwnd) || g_pfnSwivelCmdProc) return false;
        run.Close();
        return true;
    });
    run.Run(30000);
    EXPECT_TRUE(run.script.Finished());
}

// A plug-in that exports no CmdProc still opens, and no CmdProc pointer is set while its dialog runs.
TEST(PanTiltWindow, PluginWithoutCmdProcStillOpens) {
    PanTiltRun run;
    run.script.Add("pan-tilt packet, plug-in without CmdProc", [&run] {
        char exe[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, exe, sizeof exe);
        *strrchr(exe, '\\') = '\0';
        const std::string dir = std::string(exe) + "\\nocmdproc";
        EXPECT_LT(dir.size(), sizeof g_App.szAppDir) << dir;
        CopyTextCut(g_App.szAppDir, dir.c_str());
        const std::string plugin = dir + "\\Swivelpane.dll";
        HMODULE probe = LoadLibraryA(plugin.c_str());
        EXPECT_NE(probe, nullptr) << plugin << " does not load, error " << GetLastError();
        if (probe) {
            EXPECT_EQ(GetProcAddress(probe, "CmdProc"), nullptr) << "this plug-in must not export CmdProc";
            FreeLibrary(probe);
        }
        Standin_ClearLog();
        Inject(2, PanTiltPacket());
        return true;
    });
    run.script.Add("plug-in dialog open without a CmdProc", [&run] {
        HWND plugin = PluginDialog(run.hwnd);
        if (!plugin) return false;
        EXPECT_EQ(g_pfnSwivelCmdProc, nullptr) << "a CmdProc pointer for a plug-in that has none";
        PostMessageA(plugin, WM_COMMAND, IDOK, 0);
        return true;
    });
    run.script.Add("closed and freed", [&run] {
        if (PluginDialog(run.hwnd)) return false;
        EXPECT_EQ(GetModuleHandleA("Swivelpane.dll"), nullptr) << "the plug-in stays loaded after its dialog";
        const std::vector<std::string> expected = {"InitRCDlg(2, 0)", "SetParam(-16, \"" + kParams + "\")",
                                                   "SwivelpaneDoModal()"};
        const std::vector<std::string> got = CallsNamed(kPluginCalls, true);
        EXPECT_EQ(got, expected) << "got:\n" << Join(got);
        run.Close();
        return true;
    });
    run.Run(30000);
    EXPECT_TRUE(run.script.Finished());
}

TEST(PanTiltWindow, MissingPluginLeavesNoTrace) {
    PanTiltRun run;
    run.script.Add("pan-tilt packet without a plug-in", [&run] {
        char cwd[MAX_PATH];
        GetCurrentDirectoryA(sizeof cwd, cwd);
        strcpy(g_App.szAppDir, cwd); // the test's own folder holds no Swivelpane.dll
        Standin_ClearLog();
        Inject(1, PanTiltPacket());
        return true;
    });
    run.script.Add("nothing happened", [&run] {
        // The posted packet is handled before the next timer tick.
        EXPECT_EQ(FindOtherThreadDialog(run.hwnd), nullptr);
        EXPECT_EQ(g_pfnSwivelCmdProc, nullptr);
        EXPECT_EQ(GetModuleHandleA("Swivelpane.dll"), nullptr);
        EXPECT_EQ(CallsNamed(kPluginCalls, false), std::vector<std::string>{});
        run.Close();
        return true;
    });
    run.Run(30000);
    EXPECT_TRUE(run.script.Finished());
}

namespace {
// Closes every message box that opens over the main window while a step runs, noting its text.
HWND g_boxOwner = nullptr;
std::vector<std::string> g_boxes;
VOID CALLBACK CloseBoxes(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = FindOtherThreadDialog(g_boxOwner);
    if (!box || !IsWindowEnabled(box)) return;
    g_boxes.push_back(MessageBoxText(box));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EnableWindow(box, FALSE); // noted once
}
} // namespace

TEST(PanTiltWindow, KeysCommandsAndTheSpeedCheck) {
    PanTiltRun run;
    run.script.Add("keys, waits and speeds", [&run] {
        // Each key's press and release give its codes (0: none); every report is taken, key or not, with
        // the result 1. Neighbours of the keys and the ids of other pan-tilt commands are no keys.
        const struct {
            int id, press, release;
        } keys[] = {{1068, 1, 21},  {1069, 2, 22},  {1070, 3, 23},  {1071, 4, 24},  {1072, 12, 21},
                    {1073, 13, 21}, {1074, 14, 21}, {1075, 15, 21}, {1076, 11, 31}, {1077, 10, 30},
                    {1078, 8, 28},  {1079, 9, 29},  {1085, 6, 0},   {0, 0, 0},      {1067, 0, 0},
                    {1080, 0, 0},   {1084, 0, 0},   {1086, 0, 0},   {1098, 0, 0},   {1004, 0, 0},
                    {-1068, 0, 0}};
        for (const auto& k : keys)
            for (int state : {1, 0}) {
                run.dlg.codes.clear();
                EXPECT_EQ(SendMessageA(run.hwnd, WM_MYBUTTON_STATE, static_cast<WPARAM>(k.id), state), 1)
                    << "id " << k.id << " state " << state;
                const int code = state ? k.press : k.release;
                EXPECT_EQ(run.dlg.codes, code ? std::vector<int>{code} : std::vector<int>{})
                    << "id " << k.id << " state " << state;
            }

        // Timed with the performance counter: Wine's tick count moves in steps and lags behind under
        // load, so that a pause of 100 ms could read as 88.
        for (int id : {IDC_PTZ_WAIT1, IDC_PTZ_WAIT2, IDC_PTZ_WAIT3}) {
            LARGE_INTEGER frequency, start, end;
            QueryPerformanceFrequency(&frequency);
            QueryPerformanceCounter(&start);
            SendMessageA(run.hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
            QueryPerformanceCounter(&end);
            const double took = (end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart;
            EXPECT_GE(took, 99.0) << "command " << id << " paused " << took << " ms, expected 100";
            EXPECT_LT(took, TestTimeLimit(1000)) << "command " << id;
        }

        g_boxOwner = run.hwnd;
        g_boxes.clear();
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, CloseBoxes);
        for (int speed : {3, 4, 255, 256, 1000})
            run.dlg.PanTiltMove(1, speed);
        KillTimer(nullptr, timer);
        EXPECT_EQ(g_boxes, (std::vector<std::string>{"The Speep is 4~255", "The Speep is 4~255"}))
            << "speeds 256 and 1000 each give the message, the others none";
        run.Close();
        return true;
    });
    run.Run(30000);
    EXPECT_TRUE(run.script.Finished());
}
