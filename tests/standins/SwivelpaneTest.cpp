// The pan-tilt plug-in stand-in, driven as its host does: loaded by name, bound by GetProcAddress.
#include "StandinTestSupport.h"
#include "QLSDKP.h"
#include "Swivelpane.h"

namespace {

using namespace sit;

template <class F> F Bind(HMODULE dll, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void (*)(void)>(GetProcAddress(dll, name)));
}

struct Plugin {
    HMODULE dll = LoadLibraryA(SWIVELPANE_DLL_NAME);
    PFN_InitRCDlg init = Bind<PFN_InitRCDlg>(dll, "InitRCDlg");
    PFN_SetParam setParam = Bind<PFN_SetParam>(dll, "SetParam");
    PFN_GetParam getParam = Bind<PFN_GetParam>(dll, "GetParam");
    PFN_SwivelpaneDoModal doModal = Bind<PFN_SwivelpaneDoModal>(dll, "SwivelpaneDoModal");
    PFN_CmdProc cmdProc = Bind<PFN_CmdProc>(dll, "CmdProc");
    PFN_ExitRCDlg exitDlg = Bind<PFN_ExitRCDlg>(dll, "ExitRCDlg");
    ~Plugin() {
        if (dll) FreeLibrary(dll);
    }
};

Plugin* g_plugin;
bool g_byExit;
std::string g_shown, g_packetLine;

// Runs inside the plug-in's modal loop: reads the dialog, forwards a packet, then closes it.
void CALLBACK Drive(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dlg = FindOtherThreadDialog(nullptr);
    if (!dlg || !GetDlgItem(dlg, IDOK)) return; // not up yet: next tick
    KillTimer(nullptr, id);
    g_shown = ItemText(dlg, 1001);
    const int packet[5] = {0x46, 14, 3, 0, 0};
    g_plugin->cmdProc(packet);
    g_packetLine = ItemText(dlg, 1002);
    if (g_byExit)
        g_plugin->exitDlg(7);
    else
        SendMessageA(GetDlgItem(dlg, IDOK), BM_CLICK, 0, 0);
}

TEST(Swivelpane, ShowsItsParametersTakesPacketsAndClosesEitherWay) {
    LoadQuietLine();
    Plugin plugin;
    ASSERT_NE(plugin.dll, nullptr) << "Swivelpane.dll did not load";
    ASSERT_TRUE(plugin.init && plugin.setParam && plugin.getParam && plugin.doModal && plugin.cmdProc &&
                plugin.exitDlg)
        << "an RCDlg export is missing";
    g_plugin = &plugin;
    struct Case {
        bool byExit;
        int result;
    };
    const Case cases[] = {{true, 7}, {false, IDOK}};
    for (const Case& c : cases) {
        g_byExit = c.byExit;
        g_shown.clear();
        EXPECT_EQ(plugin.init(2, 0), 1);
        EXPECT_EQ(plugin.setParam(2, "PTZ_SPEED=128;"), 1);
        SetTimer(nullptr, 0, 20, Drive);
        EXPECT_EQ(plugin.doModal(), c.result) << (c.byExit ? "ExitRCDlg" : "OK");
        EXPECT_EQ(g_shown, "PTZ_SPEED=128;");
        EXPECT_NE(g_packetLine.find("nType 14"), std::string::npos) << g_packetLine;
    }
    std::vector<StandinLogEntry> calls = Calls();
    std::vector<std::string> names;
    for (const StandinLogEntry& e : calls)
        names.push_back(std::string(e.szFunction) + "(" + e.szArgs + ")");
    const std::vector<std::string> want = {
        "InitRCDlg(2, 0)", "SetParam(2, \"PTZ_SPEED=128;\")", "SwivelpaneDoModal()",
        "CmdProc({kind=6,module=2,nType=14,nParam=3,nLength=0})", "ExitRCDlg(7)"};
    ASSERT_GE(names.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i)
        EXPECT_EQ(names[i], want[i]) << "call " << i;
}

TEST(Exports, EveryLibraryExportsTheNamesItsCallersLookFor) {
    struct Lib {
        const char* dll;
        std::vector<const char*> names;
    };
    const Lib libs[] = {
        {"QLCLIENT.dll",
         {"QLC_InitSDK", "QLC_SetLanguage", "QLC_EnableLANTool", "QLC_StartLANSerchServer",
          "QLC_StopLANSerchServer", "QLC_StartBroadcastServer", "QLC_StopBroadcastServer",
          "QLC_LANSerchDevice", "QLC_LANToolDevice", "QLC_DisConnect", "QLC_ReleaseSDK", "QLC_SendData"}},
        {"QLSDKP.dll",
         {"QLSP_InitSDK", "QLSP_SetCallBack", "QLSP_SetDefaultFrameControlMode", "QLSP_CreatePlayer",
          "QLSP_SetVideoPreview", "QLSP_ReleasePlayer", "QLSP_ReleaseSDK"}},
        {"Tellurio.dll",
         {"Player_Init", "_ZN9CTellurioC1Ev", "_ZN9CTellurioD1Ev",
          "_ZN9CTellurio7ConnectER11_ST_ChnInfoPviii", "_ZN9CTellurio10GetverSionEv",
          "_ZN9CTellurio5PaintEP5HDC__"}},
        {"Swivelpane.dll",
         {"InitRCDlg", "SetParam", "GetParam", "SwivelpaneDoModal", "CmdProc", "ExitRCDlg"}},
    };
    for (const Lib& lib : libs) {
        HMODULE m = LoadLibraryA(lib.dll);
        ASSERT_NE(m, nullptr) << lib.dll << " did not load";
        for (const char* name : lib.names)
            EXPECT_NE(GetProcAddress(m, name), nullptr) << lib.dll << " does not export " << name;
        FreeLibrary(m);
    }
}

TEST(PreviewSdk, CallsAreLoggedAndScenarioSwitchesMakeThemFail) {
    LoadQuietLine();
    EXPECT_EQ(QLSP_InitSDK(), 1);
    int a = QLSP_CreatePlayer(), b = QLSP_CreatePlayer();
    EXPECT_NE(a, QLSP_INVALID_PLAYER);
    EXPECT_NE(a, b) << "two players share a handle";
    RECT r = {11, 17, 300, 200};
    QLSP_SetVideoPreview(a, nullptr, &r, 1);
    std::vector<StandinLogEntry> calls = Calls("QLSP_SetVideoPreview");
    ASSERT_EQ(calls.size(), 1u);
    char want[64];
    snprintf(want, sizeof want, "%d, 0x00000000, {11,17,300,200}, 1", a);
    EXPECT_STREQ(calls[0].szArgs, want);
    // The release of the SDK notes the players' balance; a handle released twice is no live player.
    EXPECT_EQ(QLSP_ReleasePlayer(a), 1);
    EXPECT_EQ(QLSP_ReleasePlayer(a), 0);
    QLSP_ReleaseSDK();
    std::vector<StandinLogEntry> notes = Calls("QLSP_ReleaseSDK", STANDIN_NOTE);
    ASSERT_FALSE(notes.empty());
    EXPECT_STREQ(notes.back().szArgs, "players made 2, released 1, alive 1");
    // ...and ends the players left, so the next balance starts from none.
    EXPECT_EQ(QLSP_ReleasePlayer(b), 0) << "a player outlived the release of the SDK";

    std::string line = std::string(kLine) + "";
    line.replace(line.find("[Sdk]\n"), 6, "[Sdk]\nPreviewInitFails=1\nCreatePlayerFails=1\nLanToolFails=1\n");
    LoadQuietLine(line.c_str());
    EXPECT_EQ(QLSP_InitSDK(), 0);
    EXPECT_EQ(QLSP_CreatePlayer(), QLSP_INVALID_PLAYER);
    EXPECT_EQ(QLC_EnableLANTool(1, 0, 0, [](LanToolRequest*) { return 1; }), 0);
}

} // namespace
