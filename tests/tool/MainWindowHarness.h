// Test harness for LENSKIT's main window: runs the real dialog modally in the test process, as the
// program does, and drives it from a thread timer inside its modal loop, one step at a time.
#pragma once

#include "LENSBENCH.h"
#include "LENSBENCHDlg.h"
#include "StandinControl.h"
#include "ModalScript.h"

#include <functional>
#include <string>
#include <vector>

// The main window (or a test's subclass of it) run modally as the program runs it, until the script's
// steps are done; the script's first step waits for the window to be shown.
template <class Dialog> struct MainRunOf {
    Dialog dlg;
    ModalScript script;
    HWND hwnd = nullptr;

    MainRunOf() {
        theApp.m_pMainWnd = &dlg;
        script.Add("main window shown", [this] {
            hwnd = dlg.GetSafeHwnd();
            return hwnd && IsWindowVisible(hwnd);
        });
    }
    ~MainRunOf() { theApp.m_pMainWnd = nullptr; }
    MainRunOf(const MainRunOf&) = delete;
    MainRunOf& operator=(const MainRunOf&) = delete;
    INT_PTR Run(DWORD timeoutMs = 20000) { return script.Run(dlg, timeoutMs); }
    void Close() { PostMessageA(hwnd, WM_CLOSE, 0, 0); }
};
using MainRun = MainRunOf<CLENSBENCHDlg>;

// The stand-ins' log of the program's calls, as "Function(args)" lines in order.
struct LoggedCall {
    std::string function;
    std::string args;
    unsigned thread;
};
std::vector<LoggedCall> ProgramCalls();
// Only the calls whose function is in names, as "Function" or "Function(args)" when withArgs.
std::vector<std::string> CallsNamed(const std::vector<std::string>& names, bool withArgs);
int CountCalls(const std::string& function);
// Joined for failure messages.
std::string Join(const std::vector<std::string>& lines);

// Loads a scenario written from text into the current folder (the test's own temporary folder).
void LoadScenarioText(const char* text);

// Window rectangle of a control in its dialog's client coordinates.
RECT ControlRect(HWND dialog, int id);
