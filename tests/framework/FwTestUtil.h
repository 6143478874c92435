// Helpers for driving windows from inside the test's own message loops.
#pragma once

#include "ThreadWindows.h"

#include <functional>

#include "Afx.h"

// Once a visible top-level window of this thread, other than `except`, with class "#32770" exists,
// calls action(hwnd). Polls every 10 ms.
void WhenDialogShown(std::function<void(HWND)> action, HWND except = nullptr);
// Calls action() once hWnd is the thread's active window, or after about half a second anyway:
// windows of tests running in parallel may hold the activation. Polls every 10 ms.
void WhenActive(HWND hWnd, std::function<void()> action, int triesLeft = 50);
