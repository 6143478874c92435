#include "NetDlgDriver.h"

#include "TestTime.h"

#include <cstdio>
#include <cstring>

NetDlgDriver* NetDlgDriver::s_active = nullptr;

NetDlgDriver::NetDlgDriver() {
    InitRCDlg(7, 0, nullptr);
    Standin_ClearLog();
}

NetDlgDriver::~NetDlgDriver() {
    if (m_timer) ::KillTimer(nullptr, m_timer);
    s_active = nullptr;
}

void NetDlgDriver::Run(const char* params, std::vector<Step> steps, int timeoutMs) {
    m_steps = std::move(steps);
    m_next = 0;
    m_deadline = ::GetTickCount() + TestTimeLimit((DWORD)timeoutMs);
    s_active = this;
    m_timer = ::SetTimer(nullptr, 0, 10, &NetDlgDriver::OnTick);
    ShowNetworkDlg(params);
    ::KillTimer(nullptr, m_timer);
    m_timer = 0;
    s_active = nullptr;
}

void CALLBACK NetDlgDriver::OnTick(HWND, UINT, UINT_PTR, DWORD) {
    if (s_active) s_active->Tick();
}

namespace {
struct BoxSearch {
    HWND hBox = nullptr;
};
BOOL CALLBACK FindBox(HWND hWnd, LPARAM lParam) {
    char cls[16] = {};
    ::GetClassNameA(hWnd, cls, sizeof cls);
    if (strcmp(cls, "#32770") != 0 || !::IsWindowVisible(hWnd)) return TRUE;
    CNetworkDlg& dlg = NetworkDlg();
    if (hWnd == dlg.m_hWnd || hWnd == dlg.WaitBox().m_hWnd || ::GetPropA(hWnd, "lk.left")) return TRUE;
    reinterpret_cast<BoxSearch*>(lParam)->hBox = hWnd;
    return FALSE;
}
} // namespace

bool NetDlgDriver::AnswerBoxes() {
    BoxSearch s;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindBox, (LPARAM)&s);
    if (!s.hBox) return false;
    if (::GetPropA(s.hBox, "lk.answered")) return true; // answered, not yet gone
    char text[512] = {};
    ::GetDlgItemTextA(s.hBox, 0xFFFF, text, sizeof text);
    boxes.push_back(text);
    int answer = ::GetDlgItem(s.hBox, IDYES) ? IDNO : IDOK;
    if (!answers.empty()) {
        answer = answers.front();
        answers.erase(answers.begin());
    }
    if (answer == LEAVE_OPEN) {
        ::SetPropA(s.hBox, "lk.left", (HANDLE)1);
        return false;
    }
    ::SetPropA(s.hBox, "lk.answered", (HANDLE)1);
    ::PostMessageA(s.hBox, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), (LPARAM)::GetDlgItem(s.hBox, answer));
    return true;
}

namespace {
BOOL CALLBACK FindLeftBox(HWND hWnd, LPARAM lParam) {
    if (!::GetPropA(hWnd, "lk.left")) return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}
} // namespace

void NetDlgDriver::AnswerLeftBox(int answer) {
    HWND hBox = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindLeftBox, (LPARAM)&hBox);
    if (!hBox) return;
    ::RemovePropA(hBox, "lk.left");
    ::SetPropA(hBox, "lk.answered", (HANDLE)1);
    ::PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), (LPARAM)::GetDlgItem(hBox, answer));
}

void NetDlgDriver::Tick() {
    if (AnswerBoxes()) return;
    if ((int)(::GetTickCount() - m_deadline) > 0) {
        timedOut = true;
        Dlg().WaitBox().EndPopUp(POPUP_TIMEOUT);
        ExitRCDlg(-2);
        return;
    }
    if (m_next >= m_steps.size() || !DialogUp()) return;
    Step& s = m_steps[m_next];
    if (s.ready && !s.ready()) return;
    ++m_next; // before the action: it may open a modal loop in which the next steps run
    if (s.action) s.action();
}

std::string NetDlgDriver::Text(int id) {
    char buf[256] = {};
    ::GetWindowTextA(Item(id), buf, sizeof buf);
    return buf;
}

std::string NetDlgDriver::Caption() {
    char buf[256] = {};
    ::GetWindowTextA(Dlg().m_hWnd, buf, sizeof buf);
    return buf;
}

void NetDlgDriver::Click(int id) {
    ::SendMessageA(Dlg().m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)Item(id));
}

void NetDlgDriver::SetCheck(int id, bool on) {
    ::SendMessageA(Item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    Click(id);
}

void NetDlgDriver::SetText(int id, const char* text) { ::SetWindowTextA(Item(id), text); }

void NetDlgDriver::SetAddress(int id, DWORD address) { ::SendMessageA(Item(id), IPM_SETADDRESS, 0, (LPARAM)address); }

DWORD NetDlgDriver::Address(int id) {
    DWORD a = 0;
    ::SendMessageA(Item(id), IPM_GETADDRESS, 0, (LPARAM)&a);
    return a;
}

bool NetDlgDriver::WaitBoxOpen() {
    HWND h = Dlg().WaitBox().m_hWnd;
    return h && ::IsWindowVisible(h);
}

bool NetDlgDriver::DialogUp() {
    HWND h = Dlg().m_hWnd;
    return h && ::IsWindowVisible(h);
}

std::vector<SentPacket> NetDlgDriver::Sent() {
    std::vector<SentPacket> out;
    const int n = Standin_GetLogCount();
    for (int i = 0; i < n; ++i) {
        StandinLogEntry e{};
        if (!Standin_GetLogEntry(i, &e) || strcmp(e.szFunction, "QLC_SendData") != 0) continue;
        SentPacket p;
        const char* t = strstr(e.szArgs, "nType=");
        if (t) sscanf(t, "nType=%d,nParam=%d,nLength=%d", &p.nType, &p.nParam, &p.nLength);
        const char* last = strrchr(e.szArgs, ',');
        if (last) p.bytes = atoi(last + 1);
        out.push_back(p);
    }
    return out;
}

std::vector<unsigned char> NetDlgDriver::LastSentBytes() {
    std::vector<unsigned char> buf(CFG_NETQUILL_BUFFER_SIZE);
    const int n = Standin_GetLastSentPacket(buf.data(), (int)buf.size());
    buf.resize(n > 0 ? (size_t)n : 0);
    return buf;
}

std::string NetDlgDriver::LastSentText() {
    std::vector<unsigned char> b = LastSentBytes();
    if (b.size() < CFG_HEADER_SIZE) return "<nothing sent>";
    return std::string(b.begin() + CFG_HEADER_SIZE, b.end());
}

void NetDlgDriver::Reply(int nType, int nParam, const void* data, int nLength, unsigned header) {
    std::vector<unsigned char> buf(CFG_HEADER_SIZE + (size_t)(nLength > 0 ? nLength : 0));
    CfgPacket p{};
    p.header = header;
    p.nType = nType;
    p.nParam = nParam;
    p.nLength = nLength;
    memcpy(buf.data(), &p, sizeof p);
    if (nLength > 0) memcpy(buf.data() + CFG_HEADER_SIZE, data, (size_t)nLength);
    CmdProc(buf.data());
}
