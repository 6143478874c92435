// The tests' hang guards and waits, stretched on a slow machine: LK_TEST_TIME_SCALE (1 to 20, from the
// environment) multiplies them where everything runs emulated. A guard that fires is a failure, so a
// longer guard costs nothing while the tests pass.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <functional>

inline DWORD TestTimeScale() {
    static const DWORD scale = [] {
        char value[16] = "";
        DWORD n = GetEnvironmentVariableA("LK_TEST_TIME_SCALE", value, sizeof value);
        int s = (n > 0 && n < sizeof value) ? atoi(value) : 1;
        return static_cast<DWORD>(s >= 1 && s <= 20 ? s : 1);
    }();
    return scale;
}

inline DWORD TestTimeLimit(DWORD ms) {
    return ms * TestTimeScale();
}

// Waits until done() holds, looking every pollMs without taking this thread's messages (for work on
// other threads); false when it still does not hold after timeoutMs, stretched.
inline bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD pollMs = 2) {
    const DWORD limit = TestTimeLimit(timeoutMs), start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > limit) return false;
        Sleep(pollMs);
    }
    return true;
}
