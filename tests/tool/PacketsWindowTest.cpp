// Received config packets in the real main window: the record's length and data type, the pan-tilt
// plug-in's exclusive hold on packets while its dialog runs, and a line camera whose own packets are
// decoded into device information, verdicts, wireless state and a search list.
#include "LanServiceTestRun.h"
#include "Packets.h"
#include "PacketsTestBytes.h"

#include "DeviceInfo.h"
#include "DlgDraw.h"

#include <malloc.h>

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
    TellurioPacketRecord* inFlight = nullptr;
    run.script.Add("packets", [&run, &inFlight] {
        // A full-size packet whose text runs into filler up to the buffer's end: the guard byte ends it.
        std::vector<char> full = WirelessPacket("WIFI_ID=FULL;ACTIVED=0;");
        full.resize(CFG_MAIN_BUFFER_SIZE, 'x');
        EXPECT_EQ(Deliver(run.hwnd, full), 0);
        EXPECT_STREQ(g_szWifiId, "FULL");

        std::vector<char> over = WirelessPacket("WIFI_ID=OVER;");
        over.resize(CFG_MAIN_BUFFER_SIZE + 1, ';');
        EXPECT_EQ(Deliver(run.hwnd, over), -1);
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

        // A record the library posts as the window closes is freed by the close, not lost with the
        // window. A large block, so that its release shows in the address space.
        SendMessageA(run.hwnd, WM_CLOSE, 0, 0);
        inFlight = NewRecord(std::vector<char>(1 << 20, ';'));
        PostMessageA(run.hwnd, 0x6400, 0, reinterpret_cast<LPARAM>(inFlight));
        return true;
    });
    run.Run();
    g_pfnSwivelCmdProc = nullptr;
    MEMORY_BASIC_INFORMATION mbi;
    ASSERT_EQ(VirtualQuery(inFlight, &mbi, sizeof mbi), sizeof mbi);
    EXPECT_NE(mbi.State, static_cast<DWORD>(MEM_COMMIT)) << "the record in flight at the close was not freed";
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
        Standin_WaitIdle(TestTimeLimit(2000));
        SendMessageA(run.hwnd, WM_REFRESH_DEVLIST, 0, 0);
        ClickRow(run.hwnd, 0);
        return true;
    });
    run.script.Add("decoded", [&run] {
        if (run.dlg.AdcR() != 900 || ItemText(run.hwnd, IDC_STATIC_WIFI_STATE) != "77 dBm") return false;
        EXPECT_STREQ(run.dlg.ReportedProductType(), "QL-IPC-F2");
        EXPECT_STREQ(run.dlg.ReportedVersion(), "V5.2.210318");
        EXPECT_EQ(run.dlg.ReportedGroup(), 65);
        EXPECT_EQ(run.dlg.AdcL(), 40);
        EXPECT_STREQ(g_szWifiId, "LINE-AP");
        EXPECT_EQ(g_nWifiQ, 77) << "the list after the state gives the camera's network's quality";
        EXPECT_EQ(ItemText(run.hwnd, IDC_STATIC_SSID), "LINE-AP");
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
// what arrived change nothing; and whatever another program posts as 0x6400 or 0x6401 is neither read
// nor freed.
TEST(ReceivedPackets, InfoNoticeHoldsTheThreadAndMalformedPacketsAndRecordsChangeNothing) {
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
        TellurioPacketRecord windowNine = {9, CFG_DATA_TYPE, packet.data(),
                                           static_cast<int32_t>(packet.size())};
        const struct {
            const void* record;
            int32_t dataType; // written into the notice above
            bool held;
        } notices[] = {{&notice, 80, false},
                       {&notice, CFG_DATA_TYPE, true},
                       {&windowNine, CFG_DATA_TYPE, false},
                       {reinterpret_cast<void*>(0x10), 0, false},
                       {GetModuleHandleA(nullptr), 0, false}};
        for (const auto& c : notices) {
            notice.nDataType = c.dataType;
            LARGE_INTEGER f, t0, t1;
            QueryPerformanceFrequency(&f);
            QueryPerformanceCounter(&t0);
            EXPECT_EQ(SendMessageA(run.hwnd, 0x6401, 0, reinterpret_cast<LPARAM>(c.record)), 0);
            QueryPerformanceCounter(&t1);
            const double ms = 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / f.QuadPart;
            if (c.held)
                EXPECT_GE(ms, 110.0) << "data type 81: the UI thread waits 20 ms and then 100 ms";
            else
                EXPECT_LT(ms, 100.0) << "record " << c.record << ", data type " << c.dataType
                                     << " must return at once";
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

        // Records that are not the library's, however much they look like one: the packet behind each
        // would be decoded, and the block freed, if it were taken.
        const std::vector<char> foreign = WirelessPacket("WIFI_ID=FOREIGN;ACTIVED=1;");
        const size_t size = sizeof(TellurioPacketRecord) + foreign.size();
        auto laidOut = [&foreign](void* at, int32_t length, char* packetAt) {
            auto* r = static_cast<TellurioPacketRecord*>(at);
            *r = {1, CFG_DATA_TYPE, packetAt, length};
            std::memcpy(r + 1, foreign.data(), foreign.size());
            return r;
        };
        auto library = [&laidOut](void* at, int32_t length) {
            return laidOut(at, length, static_cast<char*>(at) + sizeof(TellurioPacketRecord));
        };
        const HANDLE crtHeap = reinterpret_cast<HANDLE>(_get_heap_handle());
        const HANDLE otherHeap = HeapCreate(0, 0, 0);
        char* outer = static_cast<char*>(std::malloc(size + 32));
        alignas(8) char onStack[256];
        const int32_t n = static_cast<int32_t>(foreign.size());
        const struct {
            const char* what;
            void* record;
            HANDLE heap; // the block stays live in it
        } records[] = {
            {"nothing there", reinterpret_cast<void*>(0x10), nullptr},
            {"the program's image", GetModuleHandleA(nullptr), nullptr},
            {"the C runtime's heap, not a block of it", crtHeap, nullptr},
            {"a block of another heap", library(HeapAlloc(otherHeap, 0, size), n), otherHeap},
            {"the stack", library(onStack, n), nullptr},
            {"inside a block, not at its start", library(outer + 16, n), crtHeap},
            {"a block with no packet", laidOut(std::malloc(size), n, nullptr), crtHeap},
            {"a packet elsewhere", laidOut(std::malloc(size), n, outer + 32), crtHeap},
            {"a length the block cannot hold", library(std::malloc(size), n + 1), crtHeap},
            {"a negative length", library(std::malloc(size), -5), crtHeap},
        };
        const std::vector<char> before(g_recvPacket, g_recvPacket + 64);
        for (const auto& c : records) {
            TellurioPacketRecord copy = {};
            if (c.heap) copy = *static_cast<const TellurioPacketRecord*>(c.record);
            EXPECT_EQ(SendMessageA(run.hwnd, 0x6400, 0, reinterpret_cast<LPARAM>(c.record)), 0) << c.what;
            EXPECT_EQ(std::vector<char>(g_recvPacket, g_recvPacket + 64), before)
                << c.what << ": a packet was read";
            EXPECT_STRNE(g_szWifiId, "FOREIGN") << c.what << ": the packet was decoded";
            if (!c.heap) continue;
            const void* block = c.record == outer + 16 ? outer : c.record;
            EXPECT_TRUE(HeapValidate(c.heap, 0, block)) << c.what << ": the block was freed";
            EXPECT_EQ(std::memcmp(c.record, &copy, sizeof copy), 0) << c.what << ": the record was changed";
        }
        for (const auto& c : records)
            if (c.heap == crtHeap && c.record != outer + 16) std::free(c.record);
        std::free(outer);
        HeapDestroy(otherHeap);
        run.Close();
        return true;
    });
    run.Run();
}
