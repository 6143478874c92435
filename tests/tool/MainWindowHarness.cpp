#include "MainWindowHarness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace {
ModalScript* g_running = nullptr;
const UINT kTickMs = 20;
} // namespace

INT_PTR ModalScript::Run(CDialog& dialog, DWORD timeoutMs) {
    m_dialog = &dialog;
    m_next = 0;
    m_forced = false;
    m_deadline = GetTickCount() + timeoutMs;
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
    if (self->Finished()) return;
    if (static_cast<LONG>(GetTickCount() - self->m_deadline) > 0) {
        ADD_FAILURE() << "step \"" << self->m_steps[self->m_next].name << "\" was not done in time";
        self->m_forced = true;
        // Whatever nested menu or box is open goes first, then the dialog itself.
        EndMenu();
        HWND other = FindOtherThreadDialog(self->m_dialog->GetSafeHwnd());
        if (other) PostMessageA(other, WM_COMMAND, IDCANCEL, 0);
        if (self->m_dialog->GetSafeHwnd()) self->m_dialog->EndDialog(IDABORT);
        return;
    }
    self->m_busy = true;
    bool done = self->m_steps[self->m_next].step();
    self->m_busy = false;
    if (done) ++self->m_next;
}

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
    for (const LoggedCall& c : ProgramCalls()) n += c.function == function;
    return n;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string s;
    for (const std::string& l : lines) s += "  " + l + "\n";
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

namespace {
struct Search {
    const char* text;
    HWND except;
    HWND found;
};

BOOL CALLBACK HasChildText(HWND child, LPARAM param) {
    Search* s = reinterpret_cast<Search*>(param);
    char buf[256] = "";
    GetWindowTextA(child, buf, sizeof buf);
    if (strcmp(buf, s->text) == 0) {
        s->found = child;
        return FALSE;
    }
    return TRUE;
}

bool IsVisibleDialog(HWND hwnd) {
    char cls[32] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    return IsWindowVisible(hwnd) && strcmp(cls, "#32770") == 0;
}

BOOL CALLBACK DialogWithText(HWND hwnd, LPARAM param) {
    Search* s = reinterpret_cast<Search*>(param);
    if (!IsVisibleDialog(hwnd)) return TRUE;
    Search inner = {s->text, nullptr, nullptr};
    EnumChildWindows(hwnd, HasChildText, reinterpret_cast<LPARAM>(&inner));
    if (inner.found) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK WindowOfClass(HWND hwnd, LPARAM param) {
    Search* s = reinterpret_cast<Search*>(param);
    char cls[32] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    if (!IsWindowVisible(hwnd) || strcmp(cls, s->text) != 0) return TRUE;
    s->found = hwnd;
    return FALSE;
}

BOOL CALLBACK OtherDialog(HWND hwnd, LPARAM param) {
    Search* s = reinterpret_cast<Search*>(param);
    if (hwnd == s->except || !IsVisibleDialog(hwnd)) return TRUE;
    s->found = hwnd;
    return FALSE;
}
} // namespace

HWND FindThreadDialogWithText(const char* text) {
    Search s = {text, nullptr, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), DialogWithText, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND FindThreadWindowOfClass(const char* cls) {
    Search s = {cls, nullptr, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), WindowOfClass, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND FindOtherThreadDialog(HWND except) {
    Search s = {nullptr, except, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), OtherDialog, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

RECT ControlRect(HWND dialog, int id) {
    RECT r = {0, 0, 0, 0};
    HWND control = GetDlgItem(dialog, id);
    if (!control) return r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}
