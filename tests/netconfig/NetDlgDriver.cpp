#include "NetDlgDriver.h"

#include <cstdio>
#include <cstring>

NetDlgDriver::NetDlgDriver() {
    InitRCDlg(7, 0, nullptr);
    Standin_ClearLog();
}

void NetDlgDriver::Run(const char* params, std::vector<Step> steps, int timeoutMs) {
    ModalScript script(10);
    for (size_t i = 0; i < steps.size(); ++i) {
        const Step s = steps[i];
        auto ready = [s] { return DialogUp() && (!s.ready || s.ready()); };
        script.AddNesting(
            "step " + std::to_string(i + 1), ready, s.action ? s.action : [] {});
    }
    script.requireAllSteps = false; // a step after OK waits for a dialog that OK may have ended
    script.holdSteps = [this] { return AnswerBoxes(); };
    script.forceEnd = [this] {
        timedOut = true;
        Dlg().WaitBox().EndPopUp(POPUP_TIMEOUT);
        ExitRCDlg(-2);
    };
    auto show = [params] {
        ShowNetworkDlg(params);
        return INT_PTR(0);
    };
    script.RunModal(&Dlg(), show, static_cast<DWORD>(timeoutMs));
}

bool NetDlgDriver::AnswerBoxes() {
    HWND box = OpenBox();
    if (!box) return false;
    if (::GetPropA(box, "lk.answered")) return true; // answered, not yet gone
    boxes.push_back(MessageBoxText(box));
    int answer = ::GetDlgItem(box, IDYES) ? IDNO : IDOK;
    if (!answers.empty()) {
        answer = answers.front();
        answers.erase(answers.begin());
    }
    if (answer == LEAVE_OPEN) {
        ::SetPropA(box, "lk.left", (HANDLE)1);
        return false;
    }
    ::SetPropA(box, "lk.answered", (HANDLE)1);
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), (LPARAM)::GetDlgItem(box, answer));
    return true;
}

HWND NetDlgDriver::OpenBox() {
    for (HWND h : ThreadDialogs())
        if (h != Dlg().m_hWnd && h != Dlg().WaitBox().m_hWnd && !::GetPropA(h, "lk.left")) return h;
    return nullptr;
}

void NetDlgDriver::AnswerLeftBox(int answer) {
    for (HWND box : ThreadDialogs()) {
        if (!::GetPropA(box, "lk.left")) continue;
        ::RemovePropA(box, "lk.left");
        ::SetPropA(box, "lk.answered", (HANDLE)1);
        ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), (LPARAM)::GetDlgItem(box, answer));
        return;
    }
}

void NetDlgDriver::Click(int id) {
    ::SendMessageA(Dlg().m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)Item(id));
}

void NetDlgDriver::SetCheck(int id, bool on) {
    ::SendMessageA(Item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    Click(id);
}

void NetDlgDriver::SetText(int id, const char* text) {
    ::SetWindowTextA(Item(id), text);
}

void NetDlgDriver::SetAddress(int id, DWORD address) {
    ::SendMessageA(Item(id), IPM_SETADDRESS, 0, (LPARAM)address);
}

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
