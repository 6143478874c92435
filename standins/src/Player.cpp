// The player behind CTellurio: four windows, connections to the line's cameras, the packets a
// connected camera sends, and the split view it paints.
#include <cstdio>
#include <cstring>

#include "Line.h"
#include "SimExports.h"
#include "StandinControl.h"

namespace line {
namespace {

struct Window {
    int state = CONNECT_STATE_NONE;
    _ST_ChnInfo chn = {};
    std::string ip;
    unsigned gen = 0; // changes with every connect and disconnect, so late events of the old one die
};

struct Player {
    int owner = 0;
    void* user = nullptr;
    void* cb[16] = {};
    Window win[5]; // 1 to 4
    int selected = 0;
    int maximised = 0; // 1-4 shows that window alone
    int split = SPLIT_4;
    HWND display = nullptr;
    RECT rcDisplay = {};
    int versionState = 0; // 0 nothing asked, 1 pending, 2 arrived
    unsigned versionGen = 0;
    int versionWnd = 0;
    char version[128] = {};
    char versionOut[128] = {};
    TellurioPacketRecord notice[5] = {}; // 0x6401 records stay ours
    std::vector<char> noticePacket[5];
    bool repainting = false;
};

std::vector<Player*> g_players;
int g_nextOwner = OWNER_PLAYER;
HWND g_main = nullptr;

std::string Field(const char* s, size_t size) {
    return std::string(s, strnlen(s, size));
}

void RaiseState(Player* p, int w, int state) {
    PFN_ConnectState cb;
    void* user;
    _ST_ChnInfo chn;
    {
        Guard g;
        cb = (PFN_ConnectState)p->cb[0];
        user = p->user;
        chn = p->win[w].chn;
    }
    Log(STANDIN_EVENT, "OnConnectState", "window=%d, ip=%s, state=%d", w,
        Quote(chn.szIP, sizeof chn.szIP).c_str(), state);
    if (cb) cb(user, &chn, (ConnectState)state);
}

void PostRefit(Player* p) {
    HWND display;
    {
        Guard g;
        display = p->display;
        if (!display) return;
    }
    Log(STANDIN_EVENT, "post 0x6410", "");
    PostMessageA(display, TELLURIO_WM_REFIT, 0, 0);
}

void Repaint(Player* p) {
    HWND display;
    {
        Guard g;
        bool any = false;
        for (int w = 1; w <= 4; ++w)
            any = any || p->win[w].state == CONNECT_STATE_CONNECTED;
        display = p->display;
        p->repainting = any;
        if (!any) return;
        Schedule(p->owner, 200, [p] { Repaint(p); });
    }
    if (display) InvalidateRect(display, nullptr, FALSE);
}

void StartRepaint(Player* p) {
    Guard g;
    if (!p->repainting) {
        p->repainting = true;
        Schedule(p->owner, 200, [p] { Repaint(p); });
    }
}

// The camera connected into window w, if it still is; under the lock.
Camera* CameraOf(Player* p, int w, unsigned gen) {
    Window& win = p->win[w];
    if (win.gen != gen || win.state != CONNECT_STATE_CONNECTED) return nullptr;
    return FindCamera(win.ip.c_str());
}

std::vector<char> TextPacket(int kind, int module, int subKind, int nType, const std::string& text) {
    return MakePacket(kind, module, subKind, nType, 0, text.data(), (int)text.size());
}

// What a camera sends on its own once it is connected.
void SendGreeting(Player* p, int w, unsigned gen) {
    std::vector<std::vector<char>> packets;
    HWND main;
    {
        Guard g;
        Camera* c = CameraOf(p, w, gen);
        if (!c) return;
        char text[512];
        // Kind 5 carries a text offset in nType: 16 puts the text at byte 20.
        snprintf(text, sizeof text, "ProductType=%s;Version=%s;ORVGROUP=%d;", c->productType.c_str(),
                 c->version.c_str(), c->orvGroup);
        packets.push_back(TextPacket(5, 0, 1, 16, text));
        snprintf(text, sizeof text, "adcHValue=%d;adcLValue=%d;adcRValue=%d;", c->adcH, c->adcL, c->adcR);
        packets.push_back(TextPacket(6, 8, 0, 5, text));
        snprintf(text, sizeof text, "WIFI_ID=%s;WIFI_PW=%s;WIFI_Q=%d;ACTIVED=%d;", c->wifiId.c_str(),
                 c->wifiPw.c_str(), c->wifiQ, c->actived);
        packets.push_back(TextPacket(6, 2, 0, 8, text));
        if (!c->aps.empty())
            packets.push_back(MakePacket(6, 2, 0, 3, (int)c->aps.size(), c->aps.data(),
                                         (int)(c->aps.size() * sizeof(ApRecord))));
        p->noticePacket[w] = packets[0];
        TellurioPacketRecord& n = p->notice[w];
        n.nChannel = w;
        n.nDataType = QLC_DATA_CFGPACKET;
        n.pData = p->noticePacket[w].data();
        n.nLength = (int32_t)p->noticePacket[w].size();
        main = g_main;
    }
    for (const std::vector<char>& packet : packets)
        PostPacket(w, packet);
    if (main) {
        Log(STANDIN_EVENT, "post 0x6401", "channel=%d", w);
        PostMessageA(main, TELLURIO_WM_INFOPACKET, 0, (LPARAM)&p->notice[w]);
    }
}

void FinishConnect(Player* p, int w, unsigned gen) {
    int state;
    int delay;
    {
        Guard g;
        Window& win = p->win[w];
        if (win.gen != gen) return;
        Camera* c = FindCamera(win.ip.c_str());
        bool ok = c && Online(*c) && !c->connectFails && c->port == win.chn.nPort;
        win.state = state = ok ? CONNECT_STATE_CONNECTED : CONNECT_STATE_FAILED;
        delay = Delay(Current().delays.packet);
    }
    RaiseState(p, w, state);
    if (state != CONNECT_STATE_CONNECTED) return;
    PostRefit(p);
    StartRepaint(p);
    Schedule(p->owner, delay, [p, w, gen] { SendGreeting(p, w, gen); });
}

void Disconnect(Player* p, int w) {
    bool was;
    {
        Guard g;
        Window& win = p->win[w];
        was = win.state == CONNECT_STATE_CONNECTING || win.state == CONNECT_STATE_CONNECTED;
        win.state = CONNECT_STATE_NONE;
        ++win.gen;
    }
    if (was) Schedule(p->owner, 0, [p, w] { RaiseState(p, w, CONNECT_STATE_NONE); });
}

void DeliverVersion(Player* p, unsigned versionGen) {
    PFN_DeviceVersion cb;
    void* user;
    _DEVICE_VERSION dv = {};
    {
        Guard g;
        if (p->versionGen != versionGen || p->versionWnd < 1 || p->versionWnd > 4) return;
        Window& win = p->win[p->versionWnd];
        Camera* c = win.state == CONNECT_STATE_CONNECTED ? FindCamera(win.ip.c_str()) : nullptr;
        if (!c) return; // no camera to answer: the request stays pending
        snprintf(p->version, sizeof p->version, "%s", c->version.c_str());
        p->versionState = 2;
        memcpy(dv.szVersion, p->version, sizeof dv.szVersion);
        dv.nWindow = p->versionWnd;
        cb = (PFN_DeviceVersion)p->cb[9];
        user = p->user;
    }
    Log(STANDIN_EVENT, "OnDeviceVersion", "window=%d, %s", dv.nWindow, Quote(dv.szVersion).c_str());
    if (cb) cb(user, &dv);
}

// Window 1-4 under the point, 0 outside; under the lock.
int CellAt(const Player* p, POINT pt) {
    const RECT& r = p->rcDisplay;
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0 || pt.x < r.left || pt.y < r.top || pt.x >= r.right || pt.y >= r.bottom) return 0;
    if (p->maximised) return p->maximised;
    if (p->split != SPLIT_4) return 1;
    int col = (pt.x - r.left) * 2 / w, row = (pt.y - r.top) * 2 / h;
    return 1 + row * 2 + col;
}

RECT CellRect(const RECT& r, int cell, int single) {
    if (single) return r;
    int w = r.right - r.left, h = r.bottom - r.top;
    int col = (cell - 1) % 2, row = (cell - 1) / 2;
    RECT c = {r.left + col * w / 2, r.top + row * h / 2, r.left + (col + 1) * w / 2,
              r.top + (row + 1) * h / 2};
    return c;
}

void Fill(HDC dc, const RECT& r, COLORREF color) {
    HBRUSH b = CreateSolidBrush(color);
    FillRect(dc, &r, b);
    DeleteObject(b);
}

// Colour bars that slide with time, so a frozen view shows.
void TestPattern(HDC dc, const RECT& r, ULONGLONG t) {
    static const COLORREF bars[] = {RGB(192, 192, 192), RGB(192, 192, 0), RGB(0, 192, 192), RGB(0, 192, 0),
                                    RGB(192, 0, 192),   RGB(192, 0, 0),   RGB(0, 0, 192),   RGB(16, 16, 16)};
    int w = r.right - r.left;
    if (w <= 0) return;
    int barW = w / 8 > 0 ? w / 8 : 1;
    int shift = (int)((t / 40) % (ULONGLONG)(barW * 8));
    HRGN clip = CreateRectRgnIndirect(&r);
    SelectClipRgn(dc, clip);
    for (int i = -8; i < 8; ++i) {
        RECT b = {r.left + i * barW + shift, r.top, r.left + (i + 1) * barW + shift, r.bottom};
        if (b.right > r.left && b.left < r.right) Fill(dc, b, bars[(i + 8) % 8]);
    }
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
}

struct CellView {
    int state;
    std::string ip, number;
};

void PaintView(HDC dc, const RECT& r, const CellView* cells, int selected, int single, int split) {
    ULONGLONG t = Now();
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    int first = single ? single : 1, last = single ? single : (split == SPLIT_4 ? 4 : 1);
    for (int w = first; w <= last; ++w) {
        RECT c = CellRect(r, w, single || split != SPLIT_4);
        const CellView& v = cells[w];
        char line[96];
        if (v.state == CONNECT_STATE_CONNECTED) {
            TestPattern(dc, c, t + (ULONGLONG)w * 333);
            RECT label = {c.left + 4, c.top + 4, c.left + 4 + 170, c.top + 40};
            Fill(dc, label, RGB(0, 0, 0));
            SetTextColor(dc, RGB(255, 255, 255));
            snprintf(line, sizeof line, "%s", v.ip.c_str());
            TextOutA(dc, c.left + 8, c.top + 6, line, (int)strlen(line));
            snprintf(line, sizeof line, "%s", v.number.c_str());
            TextOutA(dc, c.left + 8, c.top + 22, line, (int)strlen(line));
        } else if (v.state == CONNECT_STATE_CONNECTING) {
            Fill(dc, c, RGB(40, 40, 48));
            SetTextColor(dc, RGB(200, 200, 200));
            snprintf(line, sizeof line, "%s  连接中...", v.ip.c_str());
            TextOutA(dc, c.left + 8, c.top + 6, line, (int)strlen(line));
        } else {
            Fill(dc, c, RGB(8, 8, 8));
            SetTextColor(dc, RGB(90, 90, 90));
            snprintf(line, sizeof line, "%d", w);
            TextOutA(dc, c.left + 8, c.top + 6, line, (int)strlen(line));
        }
        HBRUSH frame = CreateSolidBrush(w == selected ? RGB(255, 200, 0) : RGB(60, 60, 60));
        FrameRect(dc, &c, frame);
        if (w == selected) {
            RECT inner = {c.left + 1, c.top + 1, c.right - 1, c.bottom - 1};
            FrameRect(dc, &inner, frame);
        }
        DeleteObject(frame);
    }
    SelectObject(dc, oldFont);
}

Player* LastPlayer() {
    return g_players.empty() ? nullptr : g_players.back();
}

int Target(Player* p, int nWindow) {
    return nWindow >= 1 && nWindow <= 4 ? nWindow : p->selected;
}

} // namespace

HWND MainWindow() {
    Guard g;
    return g_main;
}

} // namespace line

using namespace line;

SIM_API void* SimPlayer_Create(void) {
    Sim_EnsureLine();
    Guard g;
    Player* p = new Player;
    p->owner = g_nextOwner++;
    g_players.push_back(p);
    Log(STANDIN_CALL, "CTellurio::CTellurio", "");
    return p;
}

SIM_API void SimPlayer_Destroy(void* pv) {
    Player* p = (Player*)pv;
    Log(STANDIN_CALL, "CTellurio::~CTellurio", "");
    {
        Guard g;
        p->user = nullptr;
        for (void*& cb : p->cb)
            cb = nullptr;
        for (int w = 1; w <= 4; ++w)
            ++p->win[w].gen;
    }
    Cancel(p->owner);
    {
        Guard g;
        for (size_t i = 0; i < g_players.size(); ++i)
            if (g_players[i] == p) g_players.erase(g_players.begin() + i);
    }
    delete p;
}

SIM_API int SimPlayer_Init(HWND hWnd) {
    Log(STANDIN_CALL, "Player_Init", "0x%08lX", (unsigned long)(uintptr_t)hWnd);
    Sim_EnsureLine();
    HWND main = hWnd ? GetAncestor(hWnd, GA_ROOT) : nullptr;
    {
        Guard g;
        g_main = main;
    }
    if (!main) return 0;
    Log(STANDIN_EVENT, "post 0x465", "");
    PostMessageA(main, TELLURIO_WM_PREVIEW_SHOW, 0, 0);
    return 1;
}

SIM_API void SimPlayer_RegisterCallback(void* pv, void* pUser, void* const* ppfn16) {
    Player* p = (Player*)pv;
    char args[200];
    int n = snprintf(args, sizeof args, "0x%08lX", (unsigned long)(uintptr_t)pUser);
    for (int i = 0; i < 16 && n > 0 && n < (int)sizeof args; ++i)
        n += snprintf(args + n, sizeof args - n, ", %s", ppfn16[i] ? "fn" : "NULL");
    Log(STANDIN_CALL, "CTellurio::RegisterCallback", "%s", args);
    Guard g;
    p->user = pUser;
    for (int i = 0; i < 16; ++i)
        p->cb[i] = ppfn16[i];
}

SIM_API int SimPlayer_Connect(void* pv, const _ST_ChnInfo* pChn, void* pReserved, int nStreamType,
                              int bDecode, int nFlags) {
    Player* p = (Player*)pv;
    const _ST_ChnInfo& c = *pChn;
    Log(STANDIN_CALL, "CTellurio::Connect",
        "{ip=%s,port=%d,number=%s,user=%s,password=%s,channel=%d,window=%d}, 0x%08lX, %d, %d, %d",
        Quote(c.szIP, sizeof c.szIP).c_str(), c.nPort, Quote(c.szCloudNumber, sizeof c.szCloudNumber).c_str(),
        Quote(c.szUser, sizeof c.szUser).c_str(), Quote(c.szPassword, sizeof c.szPassword).c_str(),
        c.nChannel, c.nWindow, (unsigned long)(uintptr_t)pReserved, nStreamType, bDecode, nFlags);
    int w = c.nWindow;
    if (w < 1 || w > 4) return -1;
    unsigned gen;
    int delay;
    {
        Guard g;
        Window& win = p->win[w];
        bool was = win.state == CONNECT_STATE_CONNECTING || win.state == CONNECT_STATE_CONNECTED;
        if (was)
            Log(STANDIN_NOTE, "CTellurio::Connect", "window %d drops %s", w, Quote(win.ip.c_str()).c_str());
        win.chn = c;
        win.chn.szIP[sizeof win.chn.szIP - 1] = '\0';
        win.chn.szCloudNumber[sizeof win.chn.szCloudNumber - 1] = '\0';
        win.chn.szUser[sizeof win.chn.szUser - 1] = '\0';
        win.chn.szPassword[sizeof win.chn.szPassword - 1] = '\0';
        win.ip = win.chn.szIP;
        win.state = CONNECT_STATE_CONNECTING;
        gen = ++win.gen;
        delay = Delay(Current().delays.connect);
    }
    Schedule(p->owner, 0, [p, w] { RaiseState(p, w, CONNECT_STATE_CONNECTING); });
    Schedule(p->owner, delay, [p, w, gen] { FinishConnect(p, w, gen); });
    return 0;
}

SIM_API int SimPlayer_GetConnectState(void* pv, int nWindow) {
    Player* p = (Player*)pv;
    Log(STANDIN_CALL, "CTellurio::GetConnectState", "%d", nWindow);
    Guard g;
    return nWindow >= 1 && nWindow <= 4 ? p->win[nWindow].state : CONNECT_STATE_NONE;
}

SIM_API int SimPlayer_GetSelectedIndex(void* pv, _ST_ChnInfo* pChn) {
    Player* p = (Player*)pv;
    Log(STANDIN_CALL, "CTellurio::GetSelectedIndex", "0x%08lX", (unsigned long)(uintptr_t)pChn);
    Guard g;
    if (pChn && p->selected) *pChn = p->win[p->selected].chn;
    return p->selected;
}

SIM_API void SimPlayer_RequestVersion(void* pv, int nWindow) {
    Player* p = (Player*)pv;
    Log(STANDIN_CALL, "CTellurio::RequestVersion", "%d", nWindow);
    unsigned gen;
    int delay;
    {
        Guard g;
        p->versionState = 1;
        p->version[0] = '\0';
        p->versionWnd = nWindow;
        gen = ++p->versionGen;
        delay = Delay(Current().delays.version);
    }
    Schedule(p->owner, delay, [p, gen] { DeliverVersion(p, gen); });
}

SIM_API const char* SimPlayer_GetVersion(void* pv) {
    Player* p = (Player*)pv;
    Log(STANDIN_CALL, "CTellurio::GetverSion", "");
    Guard g;
    if (p->versionState == 0) return nullptr;
    memcpy(p->versionOut, p->versionState == 2 ? p->version : "",
           p->versionState == 2 ? sizeof p->version : 1);
    return p->versionOut;
}

SIM_API void SimPlayer_SetDisplayRect(void* pv, HWND hWnd, const RECT* pRect) {
    Player* p = (Player*)pv;
    RECT r = {};
    if (pRect)
        r = *pRect;
    else if (hWnd)
        GetClientRect(hWnd, &r);
    Log(STANDIN_CALL, "CTellurio::SetDisplayRect", "0x%08lX, {%ld,%ld,%ld,%ld}",
        (unsigned long)(uintptr_t)hWnd, r.left, r.top, r.right, r.bottom);
    Guard g;
    p->display = hWnd;
    p->rcDisplay = r;
}

SIM_API void SimPlayer_WindowMoved(void* pv) {
    Player* p = (Player*)pv;
    Log(STANDIN_CALL, "CTellurio::WindowMoved", "");
    HWND display, main;
    {
        Guard g;
        display = p->display;
        main = g_main;
    }
    if (display) InvalidateRect(display, nullptr, FALSE);
    if (main) {
        Log(STANDIN_EVENT, "post 0x466", "");
        PostMessageA(main, TELLURIO_WM_PREVIEW_MOVE, 0, 0);
    }
}

SIM_API void SimPlayer_Paint(void* pv, HDC hDC) {
    Player* p = (Player*)pv;
    Log(STANDIN_CALL, "CTellurio::Paint", "0x%08lX", (unsigned long)(uintptr_t)hDC);
    CellView cells[5];
    RECT r;
    int selected, single, split;
    {
        Guard g;
        for (int w = 1; w <= 4; ++w) {
            cells[w].state = p->win[w].state;
            cells[w].ip = p->win[w].ip;
            cells[w].number = Field(p->win[w].chn.szCloudNumber, sizeof p->win[w].chn.szCloudNumber);
        }
        r = p->rcDisplay;
        selected = p->selected;
        single = p->maximised;
        split = p->split;
    }
    if (!hDC || r.right <= r.left || r.bottom <= r.top) return;
    PaintView(hDC, r, cells, selected, single, split);
}

SIM_API void SimPlayer_MouseEvent(void* pv, int nType, POINT pt) {
    Player* p = (Player*)pv;
    Log(STANDIN_CALL, "CTellurio::MouseEvent", "%d, {%ld,%ld}", nType, pt.x, pt.y);
    HWND display;
    {
        Guard g;
        int cell = CellAt(p, pt);
        if (nType == MOUSE_LBUTTONDOWN && cell)
            p->selected = cell;
        else if (nType == MOUSE_LBUTTONDBLCLK && cell)
            p->maximised = p->maximised ? 0 : cell;
        display = p->display;
    }
    if (display) InvalidateRect(display, nullptr, FALSE);
}

SIM_API void SimPlayer_MouseZoom(void* pv, POINT pt, int bZoomIn) {
    (void)pv;
    Log(STANDIN_CALL, "CTellurio::MouseZoom", "{%ld,%ld}, %d", pt.x, pt.y, bZoomIn);
}

SIM_API void SimPlayer_DividWindow(void* pv, int nSplit) {
    Player* p = (Player*)pv;
    Log(STANDIN_CALL, "CTellurio::DividWindow", "%d", nSplit);
    {
        Guard g;
        if (nSplit == 1 || nSplit == SPLIT_4) p->split = nSplit;
        p->maximised = 0;
    }
    PostRefit(p);
}

SIM_API void SimPlayer_Command(void* pv, int nCommand, int nWindow, int nArg) {
    Player* p = (Player*)pv;
    static const char* names[] = {"CTellurio::RemoteConfig",  "CTellurio::RebootDevice",
                                  "CTellurio::ChangeIpcMode", "CTellurio::CorrectingDeadPix",
                                  "CTellurio::CleanChnInfo",  "CTellurio::DisconnectAll",
                                  "CTellurio::SearchNetWork"};
    const char* name = names[nCommand];
    if (nCommand == SIM_CMD_MODE)
        Log(STANDIN_CALL, name, "%d, %d", nArg, nWindow);
    else
        Log(STANDIN_CALL, name, "%d", nWindow);
    if (nCommand == SIM_CMD_DISCONNECT_ALL) {
        for (int w = 1; w <= 4; ++w)
            Disconnect(p, w);
        return;
    }
    int w;
    unsigned gen;
    std::string ip;
    int delay = 0;
    {
        Guard g;
        w = Target(p, nWindow);
        Camera* c = w ? CameraOf(p, w, p->win[w].gen) : nullptr;
        if (!c) {
            Log(STANDIN_NOTE, name, "window %d: no connected camera, nothing done", w);
            return;
        }
        gen = p->win[w].gen;
        ip = c->ip;
        Log(STANDIN_NOTE, name, "window %d: %s", w, Quote(ip.c_str()).c_str());
        const Delays& d = Current().delays;
        switch (nCommand) {
        case SIM_CMD_REBOOT:
            c->offlineUntil = Now() + (ULONGLONG)d.rebootTime;
            break;
        case SIM_CMD_MODE:
            c->mode = nArg;
            break;
        case SIM_CMD_SCAN:
            delay = Delay(d.scan);
            break;
        case SIM_CMD_REMOTE_CONFIG:
            delay = Delay(d.packet);
            break;
        default:
            break;
        }
    }
    switch (nCommand) {
    case SIM_CMD_REBOOT:
    case SIM_CMD_CLEAN:
        Disconnect(p, w);
        break;
    case SIM_CMD_SCAN:
        // The scan's answer: nParam the count, the records as data.
        Schedule(p->owner, delay, [p, w, gen] {
            std::vector<char> packet;
            {
                Guard g;
                Camera* c = CameraOf(p, w, gen);
                if (!c) return;
                packet = MakePacket(6, 2, 0, 14, (int)c->aps.size(), c->aps.data(),
                                    (int)(c->aps.size() * sizeof(ApRecord)));
            }
            PostPacket(w, packet);
        });
        break;
    case SIM_CMD_REMOTE_CONFIG:
        // The camera answers with its pan-tilt settings: kind 5, sub-kind 7, text at byte 20.
        Schedule(p->owner, delay, [p, w, gen] {
            std::vector<char> packet;
            {
                Guard g;
                Camera* c = CameraOf(p, w, gen);
                if (!c) return;
                packet = TextPacket(5, 2, 7, 0, c->ptzParams);
            }
            PostPacket(w, packet);
        });
        break;
    default:
        break;
    }
}

STANDIN_API void Standin_InjectConnectState(int nWindow, int nState) {
    if (nWindow < 1 || nWindow > 4) return;
    Player* p;
    {
        Guard g;
        p = LastPlayer();
        if (!p) return;
        p->win[nWindow].state = nState;
        ++p->win[nWindow].gen;
    }
    Schedule(p->owner, 0, [p, nWindow, nState] { RaiseState(p, nWindow, nState); });
}
