#include "FwTestUtil.h"

void WhenDialogShown(std::function<void(HWND)> action, HWND except) {
    if (HWND h = FindOtherThreadDialog(except)) {
        action(h);
        return;
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
