// Helpers for driving windows from inside the test's own message loops.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Afx.h"

// Runs fn after ms milliseconds from whatever message loop this thread is in (a modal loop too).
void After(UINT ms, std::function<void()> fn);
// Once a visible top-level window of this thread, other than `except`, with class "#32770" exists,
// calls action(hwnd). Polls every 10 ms.
void WhenDialogShown(std::function<void(HWND)> action, HWND except = nullptr);
// Calls action() once hWnd is the thread's active window, or after about half a second anyway:
// windows of tests running in parallel may hold the activation. Polls every 10 ms.
void WhenActive(HWND hWnd, std::function<void()> action, int triesLeft = 50);
// Visible top-level dialog windows of this thread.
std::vector<HWND> ThreadDialogs();
// Pumps this thread's messages (through PreTranslateMessage) until done() or the time runs out.
bool PumpUntil(std::function<bool()> done, DWORD timeoutMs = 5000);
std::string WindowText(HWND hWnd);
