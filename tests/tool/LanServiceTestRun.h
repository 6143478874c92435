// What the LAN service, device list and connection tests share: records to inject and readers and
// drivers of the main window's controls (the modal run itself is MainRun of the harness).
#pragma once

#include "MainWindowHarness.h"

#include "QLCLIENT.h"
#include "StandinControl.h"
#include "resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace lantest {

// A line without cameras and without spontaneous broadcasts: only what a test injects happens.
inline void QuietLine(const char* extra = "") {
    std::string text = std::string("[Line]\nSearchDelay=0\n") + extra;
    LoadScenarioText(text.c_str());
    Standin_SetSpontaneous(0);
}

// Copies a text into a zeroed field, leaving its last byte 0.
template <size_t N> void PutText(char (&field)[N], const char* text) {
    memcpy(field, text, strnlen(text, N - 1));
}

inline LanSearchRecord SearchAnswer(const char* ip, int number, int type = QLC_DEVTYPE_IPC,
                                    const char* group = "A", int port = 8000) {
    LanSearchRecord r;
    memset(&r, 0, sizeof r);
    PutText(r.szGroup, group);
    r.nCloudNumber = number;
    r.nDeviceType = type;
    PutText(r.szIP, ip);
    r.nPort = port;
    return r;
}

inline BroadcastRecord Broadcast(unsigned a, unsigned b, unsigned c, unsigned d, unsigned number,
                                 const char* group = "A", int port = 8000) {
    BroadcastRecord r;
    memset(&r, 0, sizeof r);
    r.nDeviceType = QLC_DEVTYPE_IPC;
    PutText(r.szGroup, group);
    r.nCloudNumber = number;
    r.nPort = port;
    r.dwIP = a | (b << 8) | (c << 16) | (d << 24); // network order in memory
    return r;
}

// The rows of device list 1005, each its five column texts.
inline std::vector<std::vector<std::string>> ListRows(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_LIST_DEVICES);
    std::vector<std::vector<std::string>> rows;
    const int count = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        std::vector<std::string> row;
        for (int column = 0; column < 5; ++column) {
            char buf[64] = "";
            LVITEMA item;
            memset(&item, 0, sizeof item);
            item.iSubItem = column;
            item.pszText = buf;
            item.cchTextMax = sizeof buf;
            SendMessageA(list, LVM_GETITEMTEXTA, (WPARAM)i, (LPARAM)&item);
            row.push_back(buf);
        }
        rows.push_back(row);
    }
    return rows;
}

inline std::string RowsText(const std::vector<std::vector<std::string>>& rows) {
    std::string s;
    for (const auto& row : rows) {
        s += "  ";
        for (const std::string& c : row)
            s += "[" + c + "]";
        s += "\n";
    }
    return s.empty() ? "  (no rows)\n" : s;
}

// Selects only `row` (-1: none) and clicks the list, as the operator's click does.
inline void ClickRow(HWND dialog, int row) {
    HWND list = GetDlgItem(dialog, IDC_LIST_DEVICES);
    LVITEMA state;
    memset(&state, 0, sizeof state);
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = 0;
    SendMessageA(list, LVM_SETITEMSTATE, (WPARAM)-1, (LPARAM)&state);
    if (row >= 0) {
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list, LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)&state);
    }
    NMITEMACTIVATE click;
    memset(&click, 0, sizeof click);
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = IDC_LIST_DEVICES;
    click.hdr.code = NM_CLICK;
    click.iItem = row;
    SendMessageA(dialog, WM_NOTIFY, IDC_LIST_DEVICES, (LPARAM)&click);
}

inline void SetListText(HWND dialog, int row, int column, const char* text) {
    LVITEMA item;
    memset(&item, 0, sizeof item);
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    SendMessageA(GetDlgItem(dialog, IDC_LIST_DEVICES), LVM_SETITEMTEXTA, (WPARAM)row, (LPARAM)&item);
}

inline void Command(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

} // namespace lantest
