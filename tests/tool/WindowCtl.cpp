// lk_windowctl: drives LENSKIT's main window from outside, for scripts/run and the process tests.
//   lk_windowctl wait <seconds>    exit 0 once the main window is visible
//   lk_windowctl close <seconds>   post WM_CLOSE to it, exit 0 once its process has ended with code 0;
//                                  says how long after the post it ended
// It runs in the same wineserver as the program, so FindWindow sees only that session's windows.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

static const char kTitle[] = "IPC产线调焦测试工具";

static HWND FindMainWindow(bool mustBeVisible) {
    HWND hwnd = FindWindowA(nullptr, kTitle);
    if (hwnd && mustBeVisible && !IsWindowVisible(hwnd)) return nullptr;
    return hwnd;
}

int main(int argc, char** argv) {
    if (argc != 3 || (strcmp(argv[1], "wait") != 0 && strcmp(argv[1], "close") != 0)) {
        fprintf(stderr, "usage: lk_windowctl wait|close <seconds>\n");
        return 2;
    }
    const DWORD limitMs = (DWORD)atoi(argv[2]) * 1000;
    const DWORD start = GetTickCount();

    if (strcmp(argv[1], "wait") == 0) {
        while (!FindMainWindow(true)) {
            if (GetTickCount() - start > limitMs) {
                fprintf(stderr, "lk_windowctl: no visible main window after %s s\n", argv[2]);
                return 1;
            }
            Sleep(50);
        }
        return 0;
    }

    HWND hwnd = FindMainWindow(false);
    if (!hwnd) {
        fprintf(stderr, "lk_windowctl: no main window to close\n");
        return 1;
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) {
        fprintf(stderr, "lk_windowctl: cannot open process %lu (error %lu)\n", pid, GetLastError());
        return 1;
    }
    const DWORD posted = GetTickCount();
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    DWORD waited = WaitForSingleObject(process, limitMs);
    const DWORD tookMs = GetTickCount() - posted;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    if (waited != WAIT_OBJECT_0) {
        fprintf(stderr, "lk_windowctl: the program did not end within %s s after WM_CLOSE\n", argv[2]);
        return 1;
    }
    printf("lk_windowctl: the program ended with exit code %lu, %lu ms after WM_CLOSE\n", code, tookMs);
    return code == 0 ? 0 : 1;
}
