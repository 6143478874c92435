// A host on our framework that loads the built Netquill.dll, binds its exports by name and drives
// them as an outside program would: two framework copies in one process, Netquill's dialog run from
// inside the host's own modal loop, replies passed in buffers the host owns and then reuses.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Afx.h"
#include "CfgPacket.h"
#include "FwTestUtil.h"
#include "TestTime.h"
#include "StandinControl.h"

#include <commctrl.h>

namespace {

constexpr UINT IDD_HOST = 100, IDC_HOST_GO = 101, IDD_DOVAV = 102;
// Controls of Netquill's network dialog that the host looks at.
constexpr int IDC_IP_ADDRESS = 1028, IDC_REFRESH = 1034;

const char* const kCaptionEnglish = "Network Management";
const char* const kCaptionChinese = "\xcd\xf8\xc2\xe7\xb9\xdc\xc0\xed"; // 网络管理

struct Netquill {
    HMODULE h = ::LoadLibraryA("Netquill.dll");
    int (*InitRCDlg)(int, int, const char*) = nullptr;
    void (*InitNetworkDlg)(int, int, const char*) = nullptr;
    int (*SetParam)(int, const char*) = nullptr;
    int (*GetParam)() = nullptr;
    int (*QRemoteCfgDlgDoModal)() = nullptr;
    void (*ShowNetworkDlg)(const char*) = nullptr;
    void (*CmdProc)(const void*) = nullptr;
    int (*ExitRCDlg)(int) = nullptr;

    Netquill() {
        Bind(InitRCDlg, "InitRCDlg");
        Bind(InitNetworkDlg, "InitNetworkDlg");
        Bind(SetParam, "SetParam");
        Bind(GetParam, "GetParam");
        Bind(QRemoteCfgDlgDoModal, "QRemoteCfgDlgDoModal");
        Bind(ShowNetworkDlg, "ShowNetworkDlg");
        Bind(CmdProc, "CmdProc");
        Bind(ExitRCDlg, "ExitRCDlg");
    }
    ~Netquill() {
        if (h) ::FreeLibrary(h);
    }
    template <typename F> void Bind(F& f, const char* name) {
        f = h ? (F)(void*)::GetProcAddress(h, name) : nullptr;
        if (!f) missing += std::string(name) + " ";
    }
    bool Complete() const { return h && missing.empty(); }
    std::string missing;
};

// Runs body(netquillDialog) once Netquill's dialog is on screen, from inside whatever modal loop
// runs then. If it never shows, or the body forgets to end it, the watchdog ends the run so the
// test fails instead of hanging.
struct DialogDriver {
    Netquill& nq;
    bool shown = false;
    bool watchdogFired = false;
    bool finished = false;
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
    DialogDriver(Netquill& n, std::function<void(HWND)> body, HWND except = nullptr) : nq(n) {
        std::shared_ptr<bool> live = alive;
        WhenDialogShown(
            [this, live, body](HWND h) {
                if (!*live) return;
                shown = true;
                body(h);
            },
            except);
        After(TestTimeLimit(10000), [this, live] {
            if (!*live || finished) return;
            watchdogFired = true;
            nq.ExitRCDlg(-1);
        });
    }
    ~DialogDriver() { *alive = false; }
};

uint32_t IpControlValue(HWND dlg) {
    DWORD v = 0;
    ::SendMessageA(::GetDlgItem(dlg, IDC_IP_ADDRESS), IPM_GETADDRESS, 0, (LPARAM)&v);
    return v;
}

// A reply of the camera as the host receives it, in a buffer the host owns.
std::vector<char> Reply(uint32_t header, int nType, int nParam, const char* text) {
    const size_t len = std::strlen(text);
    std::vector<char> buf(CFG_HEADER_SIZE + len);
    CfgPacket* p = reinterpret_cast<CfgPacket*>(buf.data());
    p->header = header;
    p->nType = nType;
    p->nParam = nParam;
    p->nLength = (int32_t)len;
    p->reserved = 0;
    std::memcpy(p->Data(), text, len);
    return buf;
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// Waits for h while answering the messages other threads send to this one's windows.
void WaitPumping(HANDLE h) {
    const DWORD until = ::GetTickCount() + TestTimeLimit(5000);
    while (::MsgWaitForMultipleObjects(1, &h, FALSE, 100, QS_SENDMESSAGE) != WAIT_OBJECT_0 &&
           (int)(::GetTickCount() - until) < 0) {
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    }
}

// The dialog of template IDD_DOVAV, modeless, on a thread of its own that pumps its messages until
// it is told to quit.
class ForeignDialog {
public:
    ForeignDialog() {
        m_ready = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_thread = ::CreateThread(nullptr, 0, &Main, this, 0, &m_threadId);
        WaitPumping(m_ready);
    }
    ~ForeignDialog() {
        ::PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
        WaitPumping(m_thread);
        ::CloseHandle(m_thread);
        ::CloseHandle(m_ready);
    }
    HWND hDlg = nullptr;

private:
    static DWORD WINAPI Main(LPVOID param) {
        ForeignDialog* self = static_cast<ForeignDialog*>(param);
        self->hDlg = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_DOVAV), nullptr,
                                          PlainDialogProc, 0);
        MSG msg;
        ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE); // the queue exists before anyone posts to it
        ::SetEvent(self->m_ready);
        while (::GetMessageA(&msg, nullptr, 0, 0) > 0)
            ::DispatchMessageA(&msg);
        ::DestroyWindow(self->hDlg);
        return 0;
    }
    HANDLE m_ready = nullptr;
    HANDLE m_thread = nullptr;
    DWORD m_threadId = 0;
};

// The host's own window: its button runs Netquill's modal export from inside the host's loop.
class CHostDlg : public CDialog {
public:
    explicit CHostDlg(std::function<void()> go) : CDialog(IDD_HOST), m_go(std::move(go)) {}
    bool returned = false;
    void OnGo() {
        m_go();
        returned = true;
        EndDialog(IDOK);
    }
    DECLARE_MESSAGE_MAP()

private:
    std::function<void()> m_go;
};

// clang-format off
BEGIN_MESSAGE_MAP(CHostDlg, CDialog)
ON_BN_CLICKED(IDC_HOST_GO, OnGo)
END_MESSAGE_MAP()
// clang-format on

} // namespace

TEST(NetquillHost, ExportsBindByNameAndAnswerOneWithoutADialog) {
    Netquill nq;
    ASSERT_TRUE(nq.Complete()) << "Netquill.dll (error " << ::GetLastError()
                               << "), missing exports: " << nq.missing;
    EXPECT_EQ(nq.InitRCDlg(5, 1, nullptr), 1);
    nq.InitNetworkDlg(5, 1, "ignored");
    EXPECT_EQ(nq.SetParam(99, nullptr), 1);
    EXPECT_EQ(nq.SetParam(2, "ETH_IP=192.168.1.10;"), 1);
    EXPECT_EQ(nq.GetParam(), 1);
    EXPECT_EQ(nq.ExitRCDlg(3), 1) << "no dialog open";
    auto kind5 = Reply(0x45, 8, 0, "ETH_IP=1.1.1.1;");
    nq.CmdProc(kind5.data()); // not a reply of kind 6: nothing
    auto refresh = Reply(0x46, 8, 0, "ETH_IP=1.1.1.1;");
    nq.CmdProc(refresh.data()); // no dialog to answer: dropped as well

    // The ExitRCDlg above left nothing pending: the next run stays open until it is ended, and shows
    // the store of the earlier SetParam.
    uint32_t ip = 0;
    DWORD openFor = 0;
    DialogDriver drive(nq, [&](HWND dlg) {
        const DWORD start = ::GetTickCount();
        After(150, [&, dlg, start] {
            openFor = ::GetTickCount() - start;
            // A second modal call while the dialog runs opens nothing and parses nothing.
            EXPECT_EQ(nq.QRemoteCfgDlgDoModal(), 1);
            nq.ShowNetworkDlg("ETH_IP=1.1.1.1;");
            ip = IpControlValue(dlg);
            EXPECT_TRUE(::IsWindowVisible(dlg));
            EXPECT_EQ(ThreadDialogs().size(), 1u);
            drive.finished = true;
            EXPECT_EQ(nq.ExitRCDlg(0), 1);
        });
    });
    EXPECT_EQ(nq.QRemoteCfgDlgDoModal(), 1);
    EXPECT_TRUE(drive.shown) << "the network dialog never showed";
    EXPECT_FALSE(drive.watchdogFired);
    EXPECT_GE(openFor, 100u);
    EXPECT_EQ(ip, 0xC0A8010Au) << "IP control shows the store of SetParam";
    EXPECT_TRUE(ThreadDialogs().empty()) << "the network dialog's window is gone";
}

TEST(NetquillHost, ModalRunInsideTheHostsLoopUsesThePluginsTemplateAndFont) {
    Netquill nq;
    ASSERT_TRUE(nq.Complete()) << nq.missing;
    EXPECT_EQ(nq.InitRCDlg(1, 1, ""), 1);

    std::string text = "ETH_IP=192.168.1.10;ETH_NM=255.255.255.0;ACTIVED=0;";
    std::string caption;
    uint32_t ip = 0;
    LOGFONTA dlgFont = {};
    HFONT hFont = nullptr;
    bool hostOwnsPluginWindow = true;
    HWND hNetquillDlg = nullptr;

    CHostDlg host([&] { nq.ShowNetworkDlg(text.c_str()); });
    std::unique_ptr<DialogDriver> drive;
    After(0, [&] {
        // The host may reuse its text as soon as the call has parsed it.
        drive.reset(new DialogDriver(
            nq,
            [&](HWND dlg) {
                hNetquillDlg = dlg;
                text.assign(text.size(), 'x');
                caption = WindowText(dlg);
                ip = IpControlValue(dlg);
                // A dialog keeps answering WM_GETFONT with its template's font; its controls show
                // what WM_SETFONT gave them.
                hFont = (HFONT)::SendMessageA(::GetDlgItem(dlg, IDC_REFRESH), WM_GETFONT, 0, 0);
                ::GetObjectA(hFont, sizeof dlgFont, &dlgFont);
                hostOwnsPluginWindow = CWnd::FromHandlePermanent(dlg) != nullptr;
                drive->finished = true;
                EXPECT_EQ(nq.ExitRCDlg(7), 1);
            },
            host.m_hWnd));
        host.PostMessage(WM_COMMAND, MAKEWPARAM(IDC_HOST_GO, BN_CLICKED),
                         (LPARAM)::GetDlgItem(host, IDC_HOST_GO));
    });
    EXPECT_EQ(host.DoModal(), IDOK);
    EXPECT_TRUE(host.returned) << "ShowNetworkDlg returned into the host's handler";
    ASSERT_TRUE(drive && drive->shown) << "the network dialog never showed";
    EXPECT_FALSE(drive->watchdogFired);

    EXPECT_EQ(caption, kCaptionEnglish);
    EXPECT_EQ(ip, 0xC0A8010Au);
    EXPECT_FALSE(hostOwnsPluginWindow) << "the host's framework copy must not know Netquill's windows";
    // Arial 16, weight 400, default character set, swiss family with default pitch.
    EXPECT_STREQ(dlgFont.lfFaceName, "Arial");
    EXPECT_EQ(dlgFont.lfHeight, 16);
    EXPECT_EQ(dlgFont.lfWidth, 0);
    EXPECT_EQ(dlgFont.lfWeight, 400);
    EXPECT_EQ(dlgFont.lfItalic, 0);
    EXPECT_EQ(dlgFont.lfUnderline, 0);
    EXPECT_EQ(dlgFont.lfStrikeOut, 0);
    EXPECT_EQ(dlgFont.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(dlgFont.lfPitchAndFamily, FF_SWISS | DEFAULT_PITCH);
    // After the run the font is deleted and the dialog's window is gone.
    LOGFONTA after = {};
    EXPECT_EQ(::GetObjectA(hFont, sizeof after, &after), 0) << "the dialog font outlived the run";
    EXPECT_FALSE(::IsWindow(hNetquillDlg));
}

TEST(NetquillHost, LanguageAndParametersPerRun) {
    Netquill nq;
    ASSERT_TRUE(nq.Complete()) << nq.missing;
    struct Run {
        int language;
        bool viaInitNetworkDlg;
        const char* text; // nullptr: no new parse, the store carries over
        const char* caption;
        uint32_t ip;
    };
    const Run runs[] = {
        {1, false, nullptr, kCaptionEnglish, 0}, // no parse yet: the all-zero store
        {1, false, "ETH_IP=10.1.1.1;", kCaptionEnglish, 0x0A010101u},
        {0, false, nullptr, kCaptionChinese, 0x0A010101u},
        {2, false, "ETH_IP=10.2.2.2;", kCaptionChinese, 0x0A020202u},
        {1, true, nullptr, kCaptionEnglish, 0x0A020202u},
        {-1, true, "", kCaptionChinese, 0},
    };
    for (const Run& r : runs) {
        if (r.viaInitNetworkDlg)
            nq.InitNetworkDlg(0, r.language, nullptr);
        else
            EXPECT_EQ(nq.InitRCDlg(0, r.language, nullptr), 1);
        std::string caption;
        uint32_t ip = 1;
        DialogDriver drive(nq, [&](HWND dlg) {
            caption = WindowText(dlg);
            ip = IpControlValue(dlg);
            drive.finished = true;
            nq.ExitRCDlg(IDCANCEL);
        });
        if (r.text)
            nq.ShowNetworkDlg(r.text);
        else
            EXPECT_EQ(nq.QRemoteCfgDlgDoModal(), 1);
        const std::string what =
            "language " + std::to_string(r.language) + (r.text ? ", text " + std::string(r.text) : "");
        ASSERT_TRUE(drive.shown) << what << ": the network dialog never showed";
        EXPECT_FALSE(drive.watchdogFired) << what;
        EXPECT_EQ(caption, r.caption) << what;
        EXPECT_EQ(ip, r.ip) << what;
    }
}

TEST(NetquillHost, ExitRCDlgAlsoEndsTheDialogTitledDOVavAreredo) {
    Netquill nq;
    ASSERT_TRUE(nq.Complete()) << nq.missing;
    nq.InitRCDlg(0, 1, nullptr);
    INT_PTR otherResult = -5;
    int exitResult = 0;
    bool otherVisible = false, foreignVisible = false;
    HWND hNetquillDlg = nullptr;
    std::unique_ptr<ForeignDialog> foreign;
    DialogDriver drive(nq, [&](HWND dlg) {
        hNetquillDlg = dlg;
        // The host opens a dialog of that title, and from inside its loop closes everything. It has no
        // owner, so nothing but ExitRCDlg's own search can end it.
        After(0, [&] {
            After(50, [&] {
                HWND hOther = ::FindWindowA(nullptr, "DOVav_Areredo");
                otherVisible = ::IsWindowVisible(hOther) != FALSE;
                // One of the same title on another thread, on top of it, is none of Netquill's.
                foreign.reset(new ForeignDialog);
                drive.finished = true;
                exitResult = nq.ExitRCDlg(4);
                foreignVisible = ::IsWindowVisible(foreign->hDlg) != FALSE;
            });
            otherResult = ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_DOVAV), nullptr,
                                            PlainDialogProc, 0);
        });
    });
    EXPECT_EQ(nq.QRemoteCfgDlgDoModal(), 1);
    ASSERT_TRUE(drive.shown);
    EXPECT_FALSE(drive.watchdogFired) << "ExitRCDlg did not end the runs";
    EXPECT_EQ(exitResult, 1);
    EXPECT_TRUE(otherVisible) << "the DOVav_Areredo dialog was on screen when ExitRCDlg came";
    EXPECT_EQ(otherResult, 0) << "the DOVav_Areredo dialog ends with 0";
    EXPECT_TRUE(foreignVisible) << "the other thread's dialog of that title stays";
    foreign.reset();
    EXPECT_FALSE(::IsWindow(hNetquillDlg));
    EXPECT_EQ(::FindWindowA(nullptr, "DOVav_Areredo"), nullptr);
}

TEST(NetquillHost, RepliesAreCopiedAndRequestsGoOnTheHostsConnection) {
    Netquill nq;
    ASSERT_TRUE(nq.Complete()) << nq.missing;
    nq.InitRCDlg(42, 1, nullptr);
    nq.SetParam(2, "ETH_IP=192.168.1.10;ACTIVED=0;");
    Standin_ClearLog();

    std::vector<char> sent(64, 0);
    int sentLength = 0;
    std::string sendArgs;
    uint32_t ipAfterRefresh = 0, ipAfterKind5 = 0;
    DialogDriver drive(nq, [&](HWND dlg) {
        // The refresh button asks the camera for its parameters on the host's connection.
        ::SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_REFRESH, BN_CLICKED),
                       (LPARAM)::GetDlgItem(dlg, IDC_REFRESH));
        sentLength = Standin_GetLastSentPacket(sent.data(), (int)sent.size());
        for (int i = Standin_GetLogCount() - 1; i >= 0; --i) {
            StandinLogEntry e = {};
            if (Standin_GetLogEntry(i, &e) && std::strcmp(e.szFunction, "QLC_SendData") == 0) {
                sendArgs = e.szArgs;
                break;
            }
        }
        // The camera's answer arrives in a buffer the host fills, hands over and scribbles on at once.
        std::vector<char>* reply = new std::vector<char>(Reply(0x46, 8, 0, "ETH_IP=10.0.0.7;ACTIVED=0;"));
        nq.CmdProc(reply->data());
        std::memset(reply->data(), 0xCC, reply->size());
        delete reply;
        ipAfterRefresh = IpControlValue(dlg);
        // A packet of another kind changes nothing.
        auto other = Reply(0x45, 8, 0, "ETH_IP=1.1.1.1;ACTIVED=0;");
        nq.CmdProc(other.data());
        ipAfterKind5 = IpControlValue(dlg);
        drive.finished = true;
        nq.ExitRCDlg(0);
    });
    EXPECT_EQ(nq.QRemoteCfgDlgDoModal(), 1);
    ASSERT_TRUE(drive.shown);
    EXPECT_FALSE(drive.watchdogFired);
    ASSERT_EQ(sentLength, 20) << "refresh request: the header only";
    const CfgPacket* req = reinterpret_cast<const CfgPacket*>(sent.data());
    EXPECT_EQ(req->header, 0x46u);
    EXPECT_EQ(req->nType, 8);
    EXPECT_EQ(sendArgs.rfind("42, 81, ", 0), 0u) << "QLC_SendData arguments: " << sendArgs;
    EXPECT_EQ(ipAfterRefresh, 0x0A000007u);
    EXPECT_EQ(ipAfterKind5, 0x0A000007u);
}

namespace {

void Click(HWND dlg, int id) {
    ::SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)::GetDlgItem(dlg, id));
}

// The nType of every packet sent since the stand-in's log was cleared.
std::vector<int> SentTypes() {
    std::vector<int> types;
    for (int i = 0; i < Standin_GetLogCount(); ++i) {
        StandinLogEntry e = {};
        const char* t = Standin_GetLogEntry(i, &e) && std::strcmp(e.szFunction, "QLC_SendData") == 0
                            ? std::strstr(e.szArgs, "nType=")
                            : nullptr;
        if (t) types.push_back(std::atoi(t + 6));
    }
    return types;
}

std::string LastSentText() {
    std::vector<char> buf(CFG_NETQUILL_BUFFER_SIZE);
    const int n = Standin_GetLastSentPacket(buf.data(), (int)buf.size());
    return n > (int)CFG_HEADER_SIZE ? std::string(buf.data() + CFG_HEADER_SIZE, (size_t)n - CFG_HEADER_SIZE)
                                    : "";
}

// Answers every box that opens over dlg, Yes where it asks, OK otherwise, and keeps its text, until
// it goes out of scope.
struct BoxAnswerer {
    std::vector<std::string> texts;
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
    explicit BoxAnswerer(HWND dlg) { Poll(dlg); }
    ~BoxAnswerer() { *alive = false; }
    void Poll(HWND dlg) {
        std::shared_ptr<bool> live = alive;
        After(10, [this, live, dlg] {
            if (!*live) return;
            for (HWND h : ThreadDialogs()) {
                if (h == dlg || ::GetPropA(h, "lk.answered")) continue;
                ::SetPropA(h, "lk.answered", (HANDLE)1);
                texts.push_back(MessageBoxText(h));
                const int answer = ::GetDlgItem(h, IDYES) ? IDYES : IDOK;
                ::PostMessageA(h, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                               (LPARAM)::GetDlgItem(h, answer));
            }
            Poll(dlg);
        });
    }
};

} // namespace

// A user name of 20 Chinese characters is 40 bytes, over the 32 of the camera's field: a paste takes
// what fits, and a text over it, however it got into the edit, stops OK with a box naming the field.
// Nothing goes out, not even with Yes to every box, and the dialog keeps what the operator typed.
TEST(NetquillHost, AUserNameOverItsFieldSendsNothing) {
    Netquill nq;
    ASSERT_TRUE(nq.Complete()) << nq.missing;
    nq.InitRCDlg(3, 0, nullptr);
    Standin_ClearLog();
    const std::string name = "网络管理网络管理网络管理网络管理网络管理";
    std::string pasted, label, userAfter;
    std::vector<std::string> boxes;
    bool stayedOpen = false;
    DialogDriver drive(nq, [&](HWND dlg) {
        HWND hUser = ::GetDlgItem(dlg, 1005);
        label = ItemText(dlg, 1025);
        ::SetWindowTextA(hUser, "");
        ::SendMessageA(hUser, EM_REPLACESEL, TRUE, (LPARAM)name.c_str());
        pasted = WindowText(hUser);
        ::SetWindowTextA(hUser, name.c_str());
        ::SetWindowTextA(::GetDlgItem(dlg, 1006), "newpw");
        {
            BoxAnswerer answerer(dlg);
            Click(dlg, IDOK); // every box runs, and is answered, inside
            boxes = answerer.texts;
        }
        stayedOpen = ::IsWindowVisible(dlg) != FALSE;
        userAfter = WindowText(hUser);
        drive.finished = true;
        nq.ExitRCDlg(IDCANCEL);
    });
    nq.ShowNetworkDlg("ACTIVED=1;ADSL_ID=olduser;ADSL_PW=oldpw;");
    ASSERT_TRUE(drive.shown);
    EXPECT_FALSE(drive.watchdogFired);
    EXPECT_EQ(name.substr(0, 32), pasted) << "the edit takes 32 bytes, 16 characters";
    EXPECT_TRUE(SentTypes().empty()) << "sent: " << LastSentText();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(0u, boxes[0].rfind(label + "\n", 0)) << "the box names the field: " << boxes[0];
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(name, userAfter);
}

// The custom-SSID edit of one camera's dialog, left with Exit, is no part of the next camera's: its OK
// after an RTMP change alone sends that change and no wireless key.
TEST(NetquillHost, ACustomSsidLeftWithExitIsNotTheNextCamerasSsid) {
    Netquill nq;
    ASSERT_TRUE(nq.Complete()) << nq.missing;
    nq.InitRCDlg(3, 1, nullptr);
    DialogDriver first(nq, [&](HWND dlg) {
        Click(dlg, 1010); // custom SSID
        first.finished = true;
        Click(dlg, IDCANCEL);
    });
    nq.ShowNetworkDlg("ACTIVED=2;WIFI_ID=cam1net;Softverion=4000;");
    ASSERT_TRUE(first.shown);

    Standin_ClearLog();
    std::vector<std::string> boxes;
    DialogDriver second(nq, [&](HWND dlg) {
        WhenDialogShown(
            [](HWND rtmp) {
                ::SetWindowTextA(::GetDlgItem(rtmp, 1070), "rtmp://x");
                Click(rtmp, IDOK);
            },
            dlg);
        Click(dlg, 1066); // the RTMP dialog runs inside
        {
            BoxAnswerer answerer(dlg);
            Click(dlg, IDOK); // ends the dialog; else the watchdog does
            boxes = answerer.texts;
        }
    });
    nq.ShowNetworkDlg("ACTIVED=2;WIFI_ID=cam2net;WIFI_PW=key2;Softverion=4000;RTMP_bSupport=1;");
    ASSERT_TRUE(second.shown);
    EXPECT_FALSE(second.watchdogFired);
    EXPECT_EQ(std::vector<int>{9}, SentTypes());
    EXPECT_EQ("ACTIVED=2;RTMP_SERVER_URL0=rtmp://x;", LastSentText());
    EXPECT_TRUE(boxes.empty()) << "no restart question";
}

// ExitRCDlg while a scan waits for the camera's list: the modal call returns at once, not when the
// wait runs out, and nothing follows the scan.
TEST(NetquillHost, ExitRCDlgDuringAScanWaitReturnsAtOnce) {
    Netquill nq;
    ASSERT_TRUE(nq.Complete()) << nq.missing;
    nq.InitRCDlg(3, 1, nullptr);
    Standin_ClearLog();
    DWORD exitAt = 0;
    DialogDriver drive(nq, [&](HWND dlg) {
        WhenDialogShown(
            [&](HWND) {
                exitAt = ::GetTickCount();
                drive.finished = true;
                nq.ExitRCDlg(IDCANCEL);
            },
            dlg);
        Click(dlg, 1007); // the scan: its wait box runs inside
    });
    nq.ShowNetworkDlg("ACTIVED=2;WIFI_ID=home;Softverion=4000;");
    const DWORD took = ::GetTickCount() - exitAt;
    ASSERT_TRUE(drive.shown);
    ASSERT_NE(0u, exitAt) << "the wait box never showed";
    EXPECT_LT(took, TestTimeLimit(2000)) << "ms from ExitRCDlg to the modal call's return";
    EXPECT_EQ(std::vector<int>{14}, SentTypes());
}
