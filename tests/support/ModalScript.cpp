#include "ModalScript.h"

#include <gtest/gtest.h>

namespace {
ModalScript* g_running = nullptr;
} // namespace

INT_PTR ModalScript::RunModal(CDialog* dialog, const std::function<INT_PTR()>& modal, DWORD timeoutMs) {
    m_dialog = dialog;
    m_next = 0;
    m_forced = false;
    m_deadline = GetTickCount() + TestTimeLimit(timeoutMs);
    g_running = this;
    UINT_PTR timer = SetTimer(nullptr, 0, m_tickMs, &ModalScript::Tick);
    INT_PTR result = modal();
    KillTimer(nullptr, timer);
    g_running = nullptr;
    if (requireAllSteps && !m_forced && !Finished())
        ADD_FAILURE() << "the dialog ended before step \"" << m_steps[m_next].name << "\" was done";
    return result;
}

VOID CALLBACK ModalScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalScript* self = g_running;
    if (!self || self->m_busy || self->m_forced) return;
    if (self->holdSteps && self->holdSteps()) return;
    // The deadline holds after the last step as well: a dialog that does not end fails, it does not hang.
    if (static_cast<LONG>(GetTickCount() - self->m_deadline) > 0) {
        if (self->Finished())
            ADD_FAILURE() << "the dialog did not end after the last step";
        else
            ADD_FAILURE() << "step \"" << self->m_steps[self->m_next].name << "\" was not done in time";
        self->m_forced = true;
        if (self->forceEnd) {
            self->forceEnd();
            return;
        }
        // Whatever nested menu or box is open goes first, then the dialog itself.
        EndMenu();
        HWND dialog = self->m_dialog->GetSafeHwnd();
        if (HWND other = FindOtherThreadDialog(dialog)) PostMessageA(other, WM_COMMAND, IDCANCEL, 0);
        if (dialog) self->m_dialog->EndDialog(IDABORT);
        return;
    }
    if (self->Finished()) return;
    Named& s = self->m_steps[self->m_next];
    if (s.action) {
        if (s.step && !s.step()) return;
        const std::function<void()> action = s.action;
        ++self->m_next; // before the action: the loop it may open runs the next steps
        action();
        return;
    }
    self->m_busy = true;
    const bool done = s.step();
    self->m_busy = false;
    if (done) ++self->m_next;
}
