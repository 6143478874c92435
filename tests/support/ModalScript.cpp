#include "ModalScript.h"

#include <gtest/gtest.h>

namespace {
ModalScript* g_running = nullptr;
const UINT kTickMs = 20;
} // namespace

INT_PTR ModalScript::Run(CDialog& dialog, DWORD timeoutMs) {
    m_dialog = &dialog;
    m_next = 0;
    m_forced = false;
    m_deadline = GetTickCount() + TestTimeLimit(timeoutMs);
    g_running = this;
    UINT_PTR timer = SetTimer(nullptr, 0, kTickMs, &ModalScript::Tick);
    INT_PTR result = dialog.DoModal();
    KillTimer(nullptr, timer);
    g_running = nullptr;
    if (!m_forced && !Finished())
        ADD_FAILURE() << "the dialog ended before step \"" << m_steps[m_next].name << "\" was done";
    return result;
}

VOID CALLBACK ModalScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalScript* self = g_running;
    if (!self || self->m_busy || self->m_forced) return;
    // The deadline holds after the last step as well: a dialog that does not end fails, it does not hang.
    if (static_cast<LONG>(GetTickCount() - self->m_deadline) > 0) {
        if (self->Finished())
            ADD_FAILURE() << "the dialog did not end after the last step";
        else
            ADD_FAILURE() << "step \"" << self->m_steps[self->m_next].name << "\" was not done in time";
        self->m_forced = true;
        // Whatever nested menu or box is open goes first, then the dialog itself.
        EndMenu();
        if (HWND other = FindOtherThreadDialog(self->m_dialog->GetSafeHwnd()))
            PostMessageA(other, WM_COMMAND, IDCANCEL, 0);
        if (self->m_dialog->GetSafeHwnd()) self->m_dialog->EndDialog(IDABORT);
        return;
    }
    if (self->Finished()) return;
    self->m_busy = true;
    const bool done = self->m_steps[self->m_next].step();
    self->m_busy = false;
    if (done) ++self->m_next;
}
