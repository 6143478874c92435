// Test harness for LENSKIT's main window: runs the real dialog modally in the test process, as the
// program does, and drives it from a thread timer inside its modal loop, one step at a time.
#pragma once

#include "LENSBENCH.h"
#include "LENSBENCHDlg.h"
#include "StandinControl.h"

#include <functional>
#include <string>
#include <vector>

// Runs steps in order from a 20 ms thread timer while a dialog's modal loop runs. A step returns true
// when it is done (the next one follows at the next tick) and false to be tried again. Ticks that
// arrive while a step is still running (it opened a nested modal loop) are skipped.
class ModalScript {
public:
    using Step = std::function<bool()>;

    void Add(const std::string& name, Step step) { m_steps.push_back({name, std::move(step)}); }

    // Runs dialog.DoModal() with the steps; every step must be done before timeoutMs, else the test
    // fails naming the step and the dialog is ended by force. Returns DoModal's result.
    INT_PTR Run(CDialog& dialog, DWORD timeoutMs = 20000);

    bool Finished() const { return m_next == m_steps.size(); }

private:
    static VOID CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);

    struct Named {
        std::string name;
        Step step;
    };
    std::vector<Named> m_steps;
    size_t m_next = 0;
    bool m_busy = false;
    bool m_forced = false;
    DWORD m_deadline = 0;
    CDialog* m_dialog = nullptr;
};

// The main window run modally as the program runs it, until the script's steps are done; the script's
// first step waits for the window to be shown.
struct MainRun {
    CLENSBENCHDlg dlg;
    ModalScript script;
    HWND hwnd = nullptr;

    MainRun() {
        theApp.m_pMainWnd = &dlg;
        script.Add("main window shown", [this] {
            hwnd = dlg.GetSafeHwnd();
            return hwnd && IsWindowVisible(hwnd);
        });
    }
    ~MainRun() { theApp.m_pMainWnd = nullptr; }
    MainRun(const MainRun&) = delete;
    MainRun& operator=(const MainRun&) = delete;
    INT_PTR Run(DWORD timeoutMs = 20000) { return script.Run(dlg, timeoutMs); }
    void Close() { PostMessageA(hwnd, WM_CLOSE, 0, 0); }
};

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

// A visible top-level window of this thread whose class is the dialog class and which holds a child
// with exactly this text (a message box, for example); NULL when there is none.
HWND FindThreadDialogWithText(const char* text);
// A visible top-level window of this thread with this class (a pop-up menu is "#32768").
HWND FindThreadWindowOfClass(const char* cls);
// A visible top-level dialog of this thread other than `except`.
HWND FindOtherThreadDialog(HWND except);

// Window rectangle of a control in its dialog's client coordinates.
RECT ControlRect(HWND dialog, int id);
