// Drives a real dialog in a test: runs it modally, as the program does, and takes scripted steps from a
// thread timer inside its modal loop, one step at a time.
#pragma once

#include "ThreadWindows.h"

#include "framework/Afx.h"

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

    // Runs dialog.DoModal() with the steps; every step must be done, and the dialog ended, before
    // timeoutMs, else the test fails naming the step and the dialog is ended by force. Returns
    // DoModal's result.
    INT_PTR Run(CDialog& dialog, DWORD timeoutMs = 20000);

    bool Finished() const { return m_next == m_steps.size(); }

protected:
    CDialog* Dialog() const { return m_dialog; }

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
