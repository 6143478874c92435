#include "FwTestUtil.h"

#include "TestTime.h"

#include <map>

namespace {
std::map<UINT_PTR, std::function<void()>>& Pending() {
    static std::map<UINT_PTR, std::function<void()>> pending;
    return pending;
}

void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    auto it = Pending().find(id);
    if (it == Pending().end()) return;
    std::function<void()> fn = std::move(it->second);
    Pending().erase(it);
    fn();
}
} // namespace

void After(UINT ms, std::function<void()> fn) {
    UINT_PTR id = ::SetTimer(nullptr, 0, ms, Fire);
    Pending()[id] = std::move(fn);
}

static BOOL CALLBACK CollectDialog(HWND h, LPARAM p) {
    char cls[16] = {};
    ::GetClassNameA(h, cls, sizeof cls);
    if (::IsWindowVisible(h) && strcmp(cls, "#32770") == 0) ((std::vector<HWND>*)p)->push_back(h);
    return TRUE;
}

std::vector<HWND> ThreadDialogs() {
    std::vector<HWND> found;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectDialog, (LPARAM)&found);
    return found;
}

void WhenDialogShown(std::function<void(HWND)> action, HWND except) {
    for (HWND h : ThreadDialogs()) {
        if (h != except) {
            action(h);
            return;
        }
    }
    After(10, [action, except] { WhenDialogShown(action, except); });
}

void WhenActive(HWND hWnd, std::function<void()> action, int triesLeft) {
    if (::GetActiveWindow() == hWnd || triesLeft <= 0) {
        action();
        return;
    }
    After(10, [hWnd, action, triesLeft] { WhenActive(hWnd, action, triesLeft - 1); });
}

bool PumpUntil(std::function<bool()> done, DWORD timeoutMs) {
    timeoutMs = TestTimeLimit(timeoutMs);
    DWORD start = ::GetTickCount();
    MSG msg;
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs) return false;
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            continue;
        }
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return true;
}

std::string WindowText(HWND hWnd) {
    char buf[512] = {};
    ::GetWindowTextA(hWnd, buf, sizeof buf);
    return buf;
}
