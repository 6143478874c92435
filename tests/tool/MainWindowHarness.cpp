#include "MainWindowHarness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

std::vector<LoggedCall> ProgramCalls() {
    std::vector<LoggedCall> calls;
    int n = Standin_GetLogCount();
    for (int i = 0; i < n; ++i) {
        StandinLogEntry e;
        if (!Standin_GetLogEntry(i, &e) || e.nKind != STANDIN_CALL) continue;
        calls.push_back({e.szFunction, e.szArgs, e.dwThreadId});
    }
    return calls;
}

std::vector<std::string> CallsNamed(const std::vector<std::string>& names, bool withArgs) {
    std::vector<std::string> out;
    for (const LoggedCall& c : ProgramCalls()) {
        for (const std::string& n : names) {
            if (c.function == n) {
                out.push_back(withArgs ? c.function + "(" + c.args + ")" : c.function);
                break;
            }
        }
    }
    return out;
}

int CountCalls(const std::string& function) {
    int n = 0;
    for (const LoggedCall& c : ProgramCalls())
        n += c.function == function;
    return n;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string s;
    for (const std::string& l : lines)
        s += "  " + l + "\n";
    return s;
}

void LoadScenarioText(const char* text) {
    char path[MAX_PATH];
    GetCurrentDirectoryA(sizeof path - 20, path);
    strcat(path, "\\scenario.ini");
    FILE* f = fopen(path, "w");
    ASSERT_NE(f, nullptr) << "cannot write " << path;
    fputs(text, f);
    fclose(f);
    char error[512] = "";
    ASSERT_EQ(Standin_LoadScenario(path, error, sizeof error), 1) << "scenario refused: " << error;
    Standin_SetZeroDelays(1);
}

RECT ControlRect(HWND dialog, int id) {
    RECT r = {0, 0, 0, 0};
    HWND control = GetDlgItem(dialog, id);
    if (!control) return r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}
