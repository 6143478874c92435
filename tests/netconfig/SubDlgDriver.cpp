#include "SubDlgDriver.h"

#include "StandinControl.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

void SubDlgScript::WaitShown(CDialog& dialog) {
    Add("dialog shown", [&dialog] { return dialog.GetSafeHwnd() && IsWindowVisible(dialog.GetSafeHwnd()); });
}

void SubDlgScript::Click(CDialog& dialog, int id) {
    Add("click " + std::to_string(id), [&dialog, id] {
        HWND button = GetDlgItem(dialog.GetSafeHwnd(), id);
        PostMessageA(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)button);
        return true;
    });
}

void SubDlgScript::CloseMessageBox(std::string* caption, std::string* text) {
    Add("message box", [this, caption, text] {
        HWND box = FindOtherThreadDialog(Dialog()->GetSafeHwnd());
        if (!box) return false;
        if (caption) *caption = WindowText(box);
        if (text) *text = MessageBoxText(box);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    // The box is gone before the script goes on.
    Add("message box closed", [this] { return FindOtherThreadDialog(Dialog()->GetSafeHwnd()) == nullptr; });
}

void SubDlgScript::Do(const std::string& name, std::function<void()> action) {
    Add(name, [action] {
        action();
        return true;
    });
}

void SubDlgScript::Later(const std::string& name, std::function<void()> action) {
    AddNesting(name, nullptr, std::move(action));
}

void SetItemText(HWND dialog, int id, const char* text) {
    SetDlgItemTextA(dialog, id, text);
}

DWORD IpAddress(HWND dialog, int id) {
    DWORD a = 0;
    SendDlgItemMessageA(dialog, id, IPM_GETADDRESS, 0, (LPARAM)&a);
    return a;
}

void SetIpAddress(HWND dialog, int id, BYTE b0, BYTE b1, BYTE b2, BYTE b3) {
    SendDlgItemMessageA(dialog, id, IPM_SETADDRESS, 0, (LPARAM)MAKEIPADDRESS(b0, b1, b2, b3));
}

bool IsChecked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

std::vector<SentPacket> SentPackets() {
    std::vector<SentPacket> out;
    const int n = Standin_GetLogCount();
    for (int i = 0; i < n; ++i) {
        StandinLogEntry e;
        if (!Standin_GetLogEntry(i, &e) || e.nKind != STANDIN_CALL ||
            strcmp(e.szFunction, "QLC_SendData") != 0)
            continue;
        SentPacket p;
        int used = 0;
        if (sscanf(e.szArgs, "%d, %d, {kind=%u,module=%u,nType=%d,nParam=%d,nLength=%d,data=%n",
                   &p.connection, &p.dataType, &p.kind, &p.module, &p.nType, &p.nParam, &p.nLength,
                   &used) < 7 ||
            used == 0) {
            ADD_FAILURE() << "unreadable QLC_SendData entry: " << e.szArgs;
            continue;
        }
        const char* rest = e.szArgs + used;
        const char* close = strrchr(rest, '}');
        if (close) {
            p.data.assign(rest, close);
            sscanf(close + 1, ", %d", &p.length);
        }
        out.push_back(p);
    }
    return out;
}
