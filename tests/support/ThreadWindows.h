// The windows of the test's own thread, their texts, and waits that keep the thread's messages moving.
// Tests run in parallel see each other's windows: a test looks only among its own thread's.
#pragma once

#include "TestTime.h"

#include <windows.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace thread_windows_detail {
struct Search {
    const char* cls;
    std::vector<HWND> found;
};
inline BOOL CALLBACK Collect(HWND hwnd, LPARAM param) {
    Search* s = reinterpret_cast<Search*>(param);
    char cls[32] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    if (IsWindowVisible(hwnd) && strcmp(cls, s->cls) == 0) s->found.push_back(hwnd);
    return TRUE;
}
inline std::map<UINT_PTR, std::function<void()>>& Pending() {
    static std::map<UINT_PTR, std::function<void()>> pending;
    return pending;
}
inline void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto it = Pending().find(id);
    if (it == Pending().end()) return;
    std::function<void()> fn = std::move(it->second);
    Pending().erase(it);
    fn();
}
} // namespace thread_windows_detail

// Visible top-level windows of this thread with this class: "#32770" for dialogs and message boxes,
// "#32768" for a pop-up menu.
inline std::vector<HWND> ThreadWindowsOfClass(const char* cls) {
    thread_windows_detail::Search s = {cls, {}};
    EnumThreadWindows(GetCurrentThreadId(), thread_windows_detail::Collect, reinterpret_cast<LPARAM>(&s));
    return s.found;
}
inline HWND FindThreadWindowOfClass(const char* cls) {
    const std::vector<HWND> found = ThreadWindowsOfClass(cls);
    return found.empty() ? nullptr : found.front();
}
inline std::vector<HWND> ThreadDialogs() {
    return ThreadWindowsOfClass("#32770");
}

// A dialog of this thread other than except (a message box over it, say), or NULL.
inline HWND FindOtherThreadDialog(HWND except) {
    for (HWND h : ThreadDialogs())
        if (h != except) return h;
    return nullptr;
}

inline std::string WindowText(HWND hwnd) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(hwnd, &text[0], static_cast<int>(text.size()))));
    return text;
}
inline std::string ItemText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}
// The text of a message box (its static 0xFFFF).
inline std::string MessageBoxText(HWND box) {
    return ItemText(box, 0xFFFF);
}

// A child of parent with exactly this text, or NULL.
inline HWND ChildWithText(HWND parent, const char* text) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (WindowText(child) == text) return child;
    return nullptr;
}
// A dialog of this thread with a child of exactly this text (a message box, for example), or NULL.
inline HWND FindThreadDialogWithText(const char* text) {
    for (HWND dialog : ThreadDialogs())
        if (ChildWithText(dialog, text)) return dialog;
    return nullptr;
}

// Runs fn after ms milliseconds from whatever message loop this thread is in (a modal loop too).
inline void After(UINT ms, std::function<void()> fn) {
    thread_windows_detail::Pending()[SetTimer(nullptr, 0, ms, thread_windows_detail::Fire)] = std::move(fn);
}

// Dispatches this thread's messages until done() holds once the queue is empty; false when it still
// does not after timeoutMs.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
    const DWORD limit = TestTimeLimit(timeoutMs), start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done()) return true;
        if (GetTickCount() - start > limit) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}
