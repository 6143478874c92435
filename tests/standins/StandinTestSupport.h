// Helpers for the stand-in tests: scenario files, a main window that collects posted packets, and
// reading the call log.
#pragma once

#include <windows.h>

#include "ThreadWindows.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "QLCLIENT.h"
#include "StandinControl.h"
#include "Tellurio.h"

namespace sit {

// Two IPC cameras, one that asks for a number, one that never connects; no timing of its own.
inline const char* kLine =
    "[Line]\n"
    "Cameras=CAM1,CAM2,ASKER,BROKEN\n"
    "SearchDelay=0\nConnectDelay=0\nVersionDelay=0\nPacketDelay=0\nScanDelay=0\n"
    "[Sdk]\nBusySearchPorts=9400,9401\n"
    "[CAM1]\nIP=10.0.0.11\nPort=8000\nType=59162\nGroup=A\nNumber=1011\n"
    "Guid={00000001-0002-0003-0405-060708090A0B}\nData=567\nProductType=PT-1\nVersion=V5.2.0_210318\n"
    "OrvGroup=65\nAdcH=812\nAdcL=120\nAdcR=455\nActived=1\nWifiId=AP-ONE\nWifiPw=pw1\nWifiQ=78\n"
    "AccessPoints=AP-ONE:78:1|AP-TWO:0:-1|AP-THREE:100:1\n"
    "[CAM2]\nIP=10.0.0.12\nPort=8001\nType=55296\nGroup=B\nNumber=2012\nBroadcasts=0\n"
    "[ASKER]\nIP=10.0.0.13\nPort=8000\nType=59162\nGroup=A\nNumber=0\nData=99\nAskNumber=1\nAskAfter=0\n"
    "Guid={0E5F3A21-7B64-4C10-9A3B-2F1C8D00A120}\n"
    "[BROKEN]\nIP=10.0.0.14\nPort=8000\nType=59162\nConnectFails=1\n";

inline std::string WriteFile(const char* name, const char* text) {
    FILE* f = fopen(name, "wb");
    EXPECT_NE(f, nullptr) << "cannot write " << name;
    if (f) {
        fputs(text, f);
        fclose(f);
    }
    char full[MAX_PATH];
    GetFullPathNameA(name, MAX_PATH, full, nullptr);
    return full;
}

// Loads kLine with zero delays and no spontaneous broadcasts or requests, so tests drive each event.
inline void LoadQuietLine(const char* text = kLine) {
    std::string path = WriteFile("line.ini", text);
    char err[1024] = {};
    ASSERT_EQ(Standin_LoadScenario(path.c_str(), err, sizeof err), 1) << err;
    Standin_SetSpontaneous(0);
    Standin_SetZeroDelays(1);
    Standin_ClearLog();
}

inline std::vector<StandinLogEntry> Log() {
    std::vector<StandinLogEntry> all;
    StandinLogEntry e;
    for (int i = 0; Standin_GetLogEntry(i, &e); ++i)
        all.push_back(e);
    return all;
}

inline std::vector<StandinLogEntry> Calls(const char* prefix = "", int kind = STANDIN_CALL) {
    std::vector<StandinLogEntry> out;
    for (const StandinLogEntry& e : Log())
        if (e.nKind == kind && strncmp(e.szFunction, prefix, strlen(prefix)) == 0) out.push_back(e);
    return out;
}

struct Packet {
    int channel, dataType;
    std::vector<char> bytes;
    unsigned Kind() const { return Word(0) & 0x1F; }
    unsigned Module() const { return (Word(0) >> 5) & 0xFF; }
    unsigned SubKind() const { return (Word(0) >> 13) & 0xFF; }
    int Word(int i) const {
        int v = 0;
        memcpy(&v, bytes.data() + 4 * i, 4);
        return v;
    }
    std::string Text(int offset) const { return std::string(bytes.data() + offset, bytes.size() - offset); }
};

// A top-level window standing in for the program's main window: it keeps every 0x6400 packet and
// frees the record with this module's free, as the program does.
class MainWindow {
public:
    MainWindow() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "StandinTestMain";
        RegisterClassA(&wc);
        hwnd = CreateWindowA("StandinTestMain", "main", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr, nullptr,
                             wc.hInstance, nullptr);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, (LONG_PTR)this);
        video = CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 400, 300, hwnd, nullptr,
                              wc.hInstance, nullptr);
    }
    ~MainWindow() { DestroyWindow(hwnd); }

    HWND hwnd, video;
    std::vector<Packet> packets;
    std::vector<UINT> notices;  // 0x6401, 0x465, 0x466
    std::vector<WPARAM> refits; // 0x6410 sent to the main window when it is the display window

private:
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
        auto* self = (MainWindow*)GetWindowLongPtrA(h, GWLP_USERDATA);
        if (self && msg == TELLURIO_WM_CFGPACKET) {
            auto* rec = (TellurioPacketRecord*)lp;
            self->packets.push_back(
                {rec->nChannel, rec->nDataType, std::vector<char>(rec->pData, rec->pData + rec->nLength)});
            free(rec);
            return 0;
        }
        if (self && (msg == TELLURIO_WM_INFOPACKET || msg == TELLURIO_WM_PREVIEW_SHOW ||
                     msg == TELLURIO_WM_PREVIEW_MOVE)) {
            self->notices.push_back(msg);
            return 0;
        }
        if (self && msg == TELLURIO_WM_REFIT) {
            self->refits.push_back(wp);
            return 0;
        }
        return DefWindowProcA(h, msg, wp, lp);
    }
};

} // namespace sit
