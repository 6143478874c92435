// The framework's program entry: InitInstance runs, FALSE ends the program without a message loop.
#include <gtest/gtest.h>

#include <string>

#include "Afx.h"
#include "TestTime.h"

TEST(FrameworkApp, InitInstanceReturningFalseEndsWithoutAMessageLoop) {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string exe(path);
    exe = exe.substr(0, exe.rfind('\\') + 1) + "fw_test_app.exe";
    std::string cmd = "\"" + exe + "\" hello";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(
        ::CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << exe << ": " << ::GetLastError();
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(pi.hProcess, TestTimeLimit(20000)))
        << "the program did not end";
    DWORD code = 0;
    ::GetExitCodeProcess(pi.hProcess, &code);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    EXPECT_EQ(51u, code) << "5x: dialog ended with 5; x1: instance, command line and app object handed over;"
                            " 99: the message loop ran";
}
