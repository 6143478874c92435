// Received config packets in the real main window: the record's length and data type, the pan-tilt
// plug-in's exclusive hold on packets while its dialog runs, and a line camera whose own packets are
// decoded into device information, verdicts, wireless state and a search list.
#include "LanServiceTestRun.h"
#include "Packets.h"
#include "PacketsTestBytes.h"

#include "DeviceInfo.h"
#include "DlgDraw.h"

using namespace lantest;
using namespace packettest;

namespace {

std::vector<std::string> g_pluginPackets;
void __cdecl RecordingCmdProc(const void* packet) {
    int32_t words[2];
    std::memcpy(words, packet, sizeof words);
    g_pluginPackets.push_back(std::to_string(words[0]) + "/" + std::to_string(words[1]));
}
void __cdecl ThrowingCmdProc(const void*) {
    throw 42;
}

} // namespace

TEST(ReceivedPackets, LengthDataTypeAndAnOpenPanTiltPluginDecideWhatIsDecoded) {
    QuietLine();
    MainRun run;
    run.script.Add("packets", [&run] {
        // A full-size packet whose text runs into filler up to the buffer's end: the guard byte ends it.
        std::vector<char> full = WirelessPacket("WIFI_ID=FULL;ACTIVED=0;");
        full.resize(CFG_MAIN_BUFFER_SIZE, 'x');
        EXPECT_EQ(Deliver(run.hwnd, full), 0);
        EXPECT_STREQ(g_szWifiId, "FULL");

        std::vector<char> over = WirelessPacket("WIFI_ID=OVER;");
        over.resize(CFG_MAIN_BUFFER_SIZE + 1, ';');
        EXPECT_EQ(Deliver(run.hwnd, over), -1);
        EXPECT_EQ(Deliver(run.hwnd, WirelessPacket("WIFI_ID=NEG;"), CFG_DATA_TYPE, -5), -1)
            << "a negative length is a huge one";
        EXPECT_EQ(g_recvPacket[CFG_MAIN_BUFFER_SIZE - 1], 'x')
            << "a refused packet must not touch the buffer";

        EXPECT_EQ(Deliver(run.hwnd, WirelessPacket("WIFI_ID=OTHER;"), 80), 0);
        EXPECT_STREQ(g_szWifiId, "FULL") << "a record of data type 80 is not decoded";
        EXPECT_EQ(g_recvPacket[CFG_MAIN_BUFFER_SIZE - 1], 0) << "but it replaces the buffer";

        g_pfnSwivelCmdProc = RecordingCmdProc;
        Deliver(run.hwnd, WirelessPacket("WIFI_ID=DURING;"));
        Deliver(run.hwnd, ApPacket(3, 1, {Ap("FULL", 99)}));
        Deliver(run.hwnd, WirelessPacket("WIFI_ID=DURING;"), 80);
        EXPECT_EQ(g_pluginPackets, (std::vector<std::string>{"70/8", "70/3"}));
        EXPECT_STREQ(g_szWifiId, "FULL") << "the plug-in's packets reached the parsers";
        EXPECT_NE(g_nWifiQ, 99);
        g_pfnSwivelCmdProc = ThrowingCmdProc;
        EXPECT_EQ(Deliver(run.hwnd, WirelessPacket("WIFI_ID=DURING;")), 0);
        g_pfnSwivelCmdProc = nullptr;
        Deliver(run.hwnd, WirelessPacket("WIFI_ID=AFTER;"));
        EXPECT_STREQ(g_szWifiId, "AFTER");
        run.Close();
        return true;
    });
    run.Run();
    g_pfnSwivelCmdProc = nullptr;
}

// The operator's road: a line camera connects and sends its device information, ADC readings, wireless
// state and access points by itself; the status tick turns them into verdicts; a search lists what the
// camera in the selected window scans.
TEST(ReceivedPackets, AConnectedLineCameraIsDecodedJudgedAndScanned) {
    LoadScenarioText(
        "[Line]\nCameras=CAM1\nSearchDelay=0\n"
        "[CAM1]\nIP=10.0.0.1\nPort=8000\nType=59162\nGroup=A\nNumber=100101\n"
        "ProductType=QL-IPC-F2\nVersion=V5.2.210318\nOrvGroup=65\nAdcH=812\nAdcL=40\nAdcR=900\n"
        "Actived=2\nWifiId=LINE-AP\nWifiPw=pw\nWifiQ=50\nAccessPoints=OTHER:30:-1|LINE-AP:77:0\n");
    Standin_SetSpontaneous(0);
    Standin_SetZeroDelays(1);
    MainRun run;
    run.script.Add("connect", [&run] {
        run.dlg.SetExpectedValues("QL-IPC-F2", "V5.2.2104", "A", "LINE", "70");
        SendMessageA(run.hwnd, WM_TIMER, TIMER_STATUS, 0);
        EXPECT_EQ(run.dlg.Verdict(STATUS_PRODUCT_TYPE), VERDICT_UNKNOWN) << "no device information yet";
        const LanSearchRecord answer = SearchAnswer("10.0.0.1", 100101);
        Standin_InjectSearchAnswer(&answer);
        Standin_WaitIdle(2000);
        SendMessageA(run.hwnd, WM_REFRESH_DEVLIST, 0, 0);
        ClickRow(run.hwnd, 0);
        return true;
    });
    run.script.Add("decoded", [&run] {
        if (run.dlg.AdcR() != 900 || Text(run.hwnd, IDC_STATIC_WIFI_STATE) != "77 dBm") return false;
        EXPECT_STREQ(run.dlg.ReportedProductType(), "QL-IPC-F2");
        EXPECT_STREQ(run.dlg.ReportedVersion(), "V5.2.210318");
        EXPECT_EQ(run.dlg.ReportedGroup(), 65);
        EXPECT_EQ(run.dlg.AdcL(), 40);
        EXPECT_STREQ(g_szWifiId, "LINE-AP");
        EXPECT_EQ(g_nWifiQ, 77) << "the list after the state gives the camera's network's quality";
        EXPECT_EQ(Text(run.hwnd, IDC_STATIC_SSID), "LINE-AP");
        SendMessageA(run.hwnd, WM_TIMER, TIMER_STATUS, 0);
        // Build 210318 against 2104; no search has found the expected network yet; adcR 900 >= adcH 812.
        const int expected[STATUS_COUNT] = {2, 2, 2, 0, 2};
        for (int i = 0; i < STATUS_COUNT; ++i)
            EXPECT_EQ(run.dlg.Verdict(i), expected[i]) << "verdict " << i;

        HWND draw = run.dlg.DrawWindow()->GetSafeHwnd();
        RECT r;
        GetClientRect(draw, &r);
        SendMessageA(draw, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right / 4, r.bottom / 4)); // window 1
        PostMessageA(run.hwnd, WM_COMMAND, MAKEWPARAM(IDC_BTN_WIFI_SCAN, BN_CLICKED), 0);
        return true;
    });
    run.script.Add("scanned", [&run] {
        if (FindOtherThreadDialog(run.hwnd)) return false; // the wait box is still up
        const HWND combo = GetDlgItem(run.hwnd, IDC_COMBO_WIFI);
        EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 2);
        EXPECT_EQ(run.dlg.SsidFound(), 77) << "LINE-AP begins with the expected LINE";
        SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
        SendMessageA(run.hwnd, WM_TIMER, TIMER_STATUS, 0);
        EXPECT_EQ(run.dlg.Verdict(STATUS_WIFI_QUALITY), VERDICT_PASS);
        run.Close();
        return true;
    });
    run.Run();
    Standin_SetZeroDelays(0);
}

// The second notice only holds the UI thread; kind-5 packets with sub-kind 0 or a text offset outside
// what arrived change nothing.
TEST(ReceivedPackets, InfoNoticeHoldsTheThreadAndMalformedDeviceTextsChangeNothing) {
    QuietLine();
    MainRun run;
    run.script.Add("notices", [&run] {
        const std::string info = "ProductType=QL;Version=V5.2.300;ORVGROUP=66";
        Deliver(run.hwnd, MakePacket(5, 0, 1, 16, 0, info.data(), info.size()));
        EXPECT_STREQ(run.dlg.ReportedProductType(), "QL");
        const std::vector<char> latest(g_recvPacket, g_recvPacket + 64);

        // The library owns this record and keeps it after the call: a stack record must survive.
        std::vector<char> packet = WirelessPacket("WIFI_ID=NOTICE;ACTIVED=1;");
        TellurioPacketRecord notice = {1, 80, packet.data(), static_cast<int32_t>(packet.size())};
        const struct {
            int32_t dataType;
            bool held;
        } notices[] = {{80, false}, {CFG_DATA_TYPE, true}};
        for (const auto& c : notices) {
            notice.nDataType = c.dataType;
            LARGE_INTEGER f, t0, t1;
            QueryPerformanceFrequency(&f);
            QueryPerformanceCounter(&t0);
            EXPECT_EQ(SendMessageA(run.hwnd, 0x6401, 0, reinterpret_cast<LPARAM>(&notice)), 0);
            QueryPerformanceCounter(&t1);
            const double ms = 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / f.QuadPart;
            if (c.held)
                EXPECT_GE(ms, 110.0) << "data type 81: the UI thread waits 20 ms and then 100 ms";
            else
                EXPECT_LT(ms, 100.0) << "data type " << c.dataType << " must return at once";
        }
        EXPECT_EQ(std::vector<char>(g_recvPacket, g_recvPacket + 64), latest)
            << "the notice must leave the receive buffer alone";
        EXPECT_STRNE(g_szWifiId, "NOTICE") << "the notice's packet was decoded";

        // Sub-kind 0 is no device information: the last values stay.
        const std::string other = "ProductType=ZZ;";
        Deliver(run.hwnd, MakePacket(5, 0, 0, 16, 0, other.data(), other.size()));
        EXPECT_STREQ(run.dlg.ReportedProductType(), "QL");

        // A text offset outside what arrived: the packet is dropped and the last values stay.
        for (int32_t offset : {0x7FFFFFF0, -64, static_cast<int32_t>(16 + other.size())}) {
            EXPECT_EQ(Deliver(run.hwnd, MakePacket(5, 0, 1, offset, 0, other.data(), other.size())), 0);
            EXPECT_STREQ(run.dlg.ReportedProductType(), "QL") << "text offset " << offset;
            EXPECT_STREQ(run.dlg.ReportedVersion(), "V5.2.300") << "text offset " << offset;
            EXPECT_EQ(run.dlg.ReportedGroup(), 66) << "text offset " << offset;
        }
        // A record without a packet is released and counts as handled.
        auto* empty = static_cast<TellurioPacketRecord*>(std::malloc(sizeof(TellurioPacketRecord)));
        *empty = {1, CFG_DATA_TYPE, nullptr, 20};
        EXPECT_EQ(SendMessageA(run.hwnd, 0x6400, 0, reinterpret_cast<LPARAM>(empty)), 0);
        run.Close();
        return true;
    });
    run.Run();
}
