// Drives a real dialog in a test: runs it modally, as the program does, and takes scripted steps from a
// thread timer inside its modal loop, one step at a time.
#pragma once

#include "ThreadWindows.h"

#include "framework/Afx.h"

#include <functional>
#include <string>
#include <vector>

// Runs steps in order from a thread timer while a dialog's modal loop runs. A step returns true when it
// is done (the next one follows at the next tick) and false to be tried again. Ticks that arrive while
// a step is still running (it opened a nested modal loop) are skipped; a step added with AddNesting
// instead lets the steps after it run inside the loop that its action opens.
class ModalScript {
public:
    using Step = std::function<bool()>;

    explicit ModalScript(UINT tickMs = 20) : m_tickMs(tickMs) {}

    void Add(const std::string& name, Step step) { m_steps.push_back({name, std::move(step), nullptr}); }
    // Once ready() holds (null: at once) the script moves past this step, then runs action.
    void AddNesting(const std::string& name, Step ready, std::function<void()> action) {
        m_steps.push_back({name, std::move(ready), std::move(action)});
    }

    // Runs dialog.DoModal() with the steps; every step must be done, and the dialog ended, before
    // timeoutMs, else the test fails naming the step and the dialog is ended by force. Returns
    // DoModal's result.
    INT_PTR Run(CDialog& dialog, DWORD timeoutMs = 20000) {
        auto modal = [&dialog] { return dialog.DoModal(); };
        return RunModal(&dialog, modal, timeoutMs);
    }
    // The same for a call that runs a dialog's modal loop of its own.
    INT_PTR RunModal(CDialog* dialog, const std::function<INT_PTR()>& modal, DWORD timeoutMs);

    bool Finished() const { return m_next == m_steps.size(); }

    // False for a script whose later steps may rightly never come (the dialog ended before them).
    bool requireAllSteps = true;
    // Asked first at every tick: true holds everything else back for this tick (a box being answered).
    std::function<bool()> holdSteps;
    // Ends what is open when the deadline has passed; by default the nested menu or box, then the dialog.
    std::function<void()> forceEnd;

protected:
    CDialog* Dialog() const { return m_dialog; }

private:
    static VOID CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);

    struct Named {
        std::string name;
        Step step; // for a nesting step, its ready()
        std::function<void()> action;
    };
    std::vector<Named> m_steps;
    size_t m_next = 0;
    bool m_busy = false;
    bool m_forced = false;
    DWORD m_deadline = 0;
    UINT m_tickMs;
    CDialog* m_dialog = nullptr;
};
