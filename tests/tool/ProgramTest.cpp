// The real LENSKIT.exe, started as a process from a copy in the test's temporary folder: single
// instance, Config.ini beside the program, the call order of a whole start-and-close run, and the
// number push on a line of the stand-ins.
#include "ResultFiles.h"
#include "ThreadWindows.h"

#include <windows.h>

#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kTitle[] = "IPC产线调焦测试工具";

std::string Folder(const char* path) {
    std::string s = path;
    size_t slash = s.find_last_of('\\');
    return slash == std::string::npos ? "." : s.substr(0, slash);
}

std::string BinDir() {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    return Folder(self);
}

std::string WorkDir() {
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(sizeof cwd, cwd);
    return cwd;
}

// The program with the stand-in DLLs and their default line, copied beside each other.
void CopyProgram() {
    const std::string bin = BinDir(), work = WorkDir();
    for (const char* pattern : {"LENSKIT.exe", "*.dll", "*.ini"}) {
        WIN32_FIND_DATAA fd;
        HANDLE find = FindFirstFileA((bin + "\\" + pattern).c_str(), &fd);
        if (find == INVALID_HANDLE_VALUE) continue;
        do {
            if (strcmp(fd.cFileName, "Config.ini") == 0) continue;
            CopyFileA((bin + "\\" + fd.cFileName).c_str(), (work + "\\" + fd.cFileName).c_str(), FALSE);
        } while (FindNextFileA(find, &fd));
        FindClose(find);
    }
    ASSERT_NE(GetFileAttributesA((work + "\\LENSKIT.exe").c_str()), INVALID_FILE_ATTRIBUTES)
        << "LENSKIT.exe was not copied from " << bin;
}

struct WindowQuery {
    DWORD pid;
    const char* cls;
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM p) {
    WindowQuery* q = reinterpret_cast<WindowQuery*>(p);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != q->pid || !IsWindowVisible(hwnd)) return TRUE;
    char c[64] = "";
    GetClassNameA(hwnd, c, sizeof c);
    if (q->cls && strcmp(c, q->cls) != 0) return TRUE;
    if (q->caption && WindowText(hwnd) != q->caption) return TRUE;
    q->found = hwnd;
    return FALSE;
}

struct Program {
    PROCESS_INFORMATION pi{};

    bool Start() {
        std::string exe = WorkDir() + "\\LENSKIT.exe";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        std::vector<char> cmd(exe.begin(), exe.end());
        cmd.push_back('\0');
        return CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, WorkDir().c_str(),
                              &si, &pi) != FALSE;
    }
    ~Program() {
        if (pi.hProcess) {
            if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 99);
            CloseHandle(pi.hProcess);
            CloseHandle(pi.hThread);
        }
    }

    // A visible top-level window of this process with the given class and caption (NULL: any).
    HWND FindWindowOf(const char* cls, const char* caption) const {
        WindowQuery q = {pi.dwProcessId, cls, caption, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&q));
        return q.found;
    }

    HWND WaitWindow(const char* cls, const char* caption, DWORD ms) const {
        HWND h = nullptr;
        WaitUntil([&] { return (h = FindWindowOf(cls, caption)) || WaitExit(0) != -1; }, ms, 50);
        return h;
    }

    // Exit code, or -1 when it did not end in time.
    long WaitExit(DWORD ms) const {
        if (WaitForSingleObject(pi.hProcess, TestTimeLimit(ms)) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        return (long)code;
    }

    HWND MainWindow(DWORD ms) const { return WaitWindow("#32770", kTitle, ms); }
};

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    FILE* f = fopen(path.c_str(), "r");
    if (!f) return lines;
    char buf[1024];
    while (fgets(buf, sizeof buf, f)) {
        size_t n = strlen(buf);
        while (n && (buf[n - 1] == '\n' || buf[n - 1] == '\r'))
            buf[--n] = '\0';
        lines.push_back(buf);
    }
    fclose(f);
    return lines;
}

// Starts the program, waits for its main window and closes it; returns its exit code (-1: no window
// or no end).
long RunOnceAndClose() {
    Program p;
    if (!p.Start()) return -1;
    HWND main = p.MainWindow(30000);
    if (!main) return -1;
    PostMessageA(main, WM_CLOSE, 0, 0);
    return p.WaitExit(20000);
}

int CountLines(const std::string& path, const char* text) {
    int n = 0;
    for (const std::string& line : ReadLines(path))
        n += line.find(text) != std::string::npos;
    return n;
}

std::string ReadFile(const std::string& path) {
    std::string s;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return s;
    char buf[512];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0)
        s.append(buf, n);
    fclose(f);
    return s;
}

} // namespace

TEST(Program, SecondCopyShowsOneMessageAndNoWindow) {
    CopyProgram();
    Program first;
    ASSERT_TRUE(first.Start());
    HWND main1 = first.MainWindow(30000);
    ASSERT_NE(main1, nullptr) << "the first copy showed no main window";

    Program second;
    ASSERT_TRUE(second.Start());
    HWND box = second.WaitWindow("#32770", nullptr, 20000);
    ASSERT_NE(box, nullptr) << "the second copy showed nothing";
    EXPECT_TRUE(ChildWithText(box, "程序已开启，不能重复运行!")) << "the box has another text";
    EXPECT_EQ(second.FindWindowOf(nullptr, kTitle), nullptr) << "the second copy opened a main window";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_GE(second.WaitExit(20000), 0) << "the second copy did not end after its box";

    // The first copy is not affected; once it ends, its mutex goes with it.
    EXPECT_TRUE(IsWindowVisible(main1));
    PostMessageA(main1, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.WaitExit(20000), 0);

    Program third;
    ASSERT_TRUE(third.Start());
    HWND main3 = third.MainWindow(30000);
    EXPECT_NE(main3, nullptr) << "a new start after the first copy ended found the mutex still there";
    if (main3) PostMessageA(main3, WM_CLOSE, 0, 0);
    EXPECT_EQ(third.WaitExit(20000), 0);
}

TEST(Program, StartAndCloseWritesConfigDefaultsAndKeepsTheCallOrder) {
    CopyProgram();
    const std::string ini = WorkDir() + "\\Config.ini";
    const std::string log = WorkDir() + "\\calls.log";
    DeleteFileA(ini.c_str());
    SetEnvironmentVariableA("LK_STANDIN_LOG", log.c_str());

    {
        Program p;
        ASSERT_TRUE(p.Start());
        HWND main = p.MainWindow(30000);
        ASSERT_NE(main, nullptr) << "no main window";
        // Any program on the desktop may post the video window's re-fit message with any parameters.
        // Once the re-fit shows in the call log it has been handled: the program still runs and
        // answers, and then closes normally.
        HWND video = FindWindowExA(main, nullptr, "#32770", nullptr);
        ASSERT_NE(video, nullptr) << "no embedded video window";
        char refit[64];
        snprintf(refit, sizeof refit, "\tCTellurio::SetDisplayRect\t0x%08lX",
                 (unsigned long)(uintptr_t)video);
        const int refitsBefore = CountLines(log, refit);
        EXPECT_TRUE(PostMessageA(video, 0x6410, 0x10, 0x10));
        WaitUntil([&] { return CountLines(log, refit) != refitsBefore || p.WaitExit(0) != -1; }, 30000, 50);
        EXPECT_GT(CountLines(log, refit), refitsBefore) << "0x6410 was not handled";
        ASSERT_EQ(p.WaitExit(0), -1) << "the program ended after 0x6410";
        DWORD_PTR answer = 0;
        EXPECT_NE(SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, TestTimeLimit(20000), &answer),
                  0)
            << "the main window does not answer after 0x6410";

        // The player library's packet messages, posted by another program with made-up records: nothing
        // there, the program's own image, and the first blocks of its own read-write memory.
        std::vector<LPARAM> made = {0x10};
        HMODULE image = nullptr;
        DWORD needed = 0;
        if (EnumProcessModules(p.pi.hProcess, &image, sizeof image, &needed) && image)
            made.push_back(reinterpret_cast<LPARAM>(image));
        MEMORY_BASIC_INFORMATION mbi;
        for (uintptr_t at = 0x10000;
             made.size() < 6 &&
             VirtualQueryEx(p.pi.hProcess, reinterpret_cast<void*>(at), &mbi, sizeof mbi) == sizeof mbi;
             at = reinterpret_cast<uintptr_t>(mbi.BaseAddress) + mbi.RegionSize)
            if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE && mbi.Protect == PAGE_READWRITE)
                made.push_back(reinterpret_cast<LPARAM>(mbi.BaseAddress));
        for (UINT message : {0x6400u, 0x6401u})
            for (LPARAM lParam : made)
                EXPECT_TRUE(PostMessageA(main, message, 0, lParam));

        // A close while the full-screen view runs its own modal loop ends it and the program at once.
        PostMessageA(main, WM_COMMAND, 1100, 0);
        HWND full = nullptr;
        WaitUntil([&] { return (full = p.FindWindowOf("#32770", "")) || p.WaitExit(0) != -1; }, 20000, 50);
        EXPECT_NE(full, nullptr) << "no full-screen view";
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(p.WaitExit(5000), 0) << "the program did not end cleanly within 5 s of WM_CLOSE";
    }

    char shift[16] = "", threshold[16] = "";
    GetPrivateProfileStringA("TIAOJIAO", "SHIFT", "", shift, sizeof shift, ini.c_str());
    GetPrivateProfileStringA("TIAOJIAO", "THRESHOLD", "", threshold, sizeof threshold, ini.c_str());
    EXPECT_STREQ(shift, "16");
    EXPECT_STREQ(threshold, "30");

    // The whole run: constructor, initialisation, shut-down, destructor, each in its place; every
    // preview player made is released, the full-screen view open at the close or not.
    std::vector<std::string> order;
    int created = 0, released = 0;
    for (const std::string& line : ReadLines(log)) {
        if (line.find("\t0\tQLSP_CreatePlayer\t") != std::string::npos &&
            line.find("-> -1") == std::string::npos)
            ++created;
        if (line.find("\t0\tQLSP_ReleasePlayer\t") != std::string::npos) ++released;
        // seq, thread, kind, function, arguments
        size_t t1 = line.find('\t'), t2 = line.find('\t', t1 + 1), t3 = line.find('\t', t2 + 1);
        if (t3 == std::string::npos) continue;
        std::string kind = line.substr(t2 + 1, t3 - t2 - 1);
        size_t t4 = line.find('\t', t3 + 1);
        std::string function = line.substr(t3 + 1, t4 == std::string::npos ? std::string::npos : t4 - t3 - 1);
        if (kind != "0" && kind != "call") continue;
        for (const char* marker : {"CTellurio::CTellurio", "QLSP_CreatePlayer", "QLC_InitSDK", "QLSP_InitSDK",
                                   "Player_Init", "QLC_DisConnect", "QLSP_ReleaseSDK",
                                   "QLC_StopBroadcastServer", "QLC_ReleaseSDK", "CTellurio::~CTellurio"})
            if (function == marker && (order.empty() || order.back() != function)) order.push_back(function);
    }
    const std::vector<std::string> expected = {
        "CTellurio::CTellurio",    "QLSP_CreatePlayer", "QLC_InitSDK",          "QLSP_InitSDK",
        "QLSP_CreatePlayer",       "Player_Init",       "QLC_DisConnect",       "QLSP_ReleaseSDK",
        "QLC_StopBroadcastServer", "QLC_ReleaseSDK",    "CTellurio::~CTellurio"};
    std::string got;
    for (const std::string& s : order)
        got += s + " ";
    EXPECT_EQ(order, expected) << "got: " << got;
    EXPECT_EQ(created, 5);
    EXPECT_EQ(released, created) << "preview players made and released";
}

TEST(Program, AnExistingConfigIsReadAndLeftAsItIs) {
    CopyProgram();
    const std::string ini = WorkDir() + "\\Config.ini";
    const std::string content = "[TIAOJIAO]\r\nTHRESHOLD=55\r\n";
    FILE* f = fopen(ini.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fwrite(content.data(), 1, content.size(), f);
    fclose(f);
    EXPECT_EQ(RunOnceAndClose(), 0);
    EXPECT_EQ(ReadFile(ini), content) << "a file that exists is not given the missing key";
}

namespace {

// The form of an absolute path that the W functions take past MAX_PATH.
std::wstring LongPath(const std::string& path) {
    std::wstring w(path.size(), L'\0');
    w.resize(MultiByteToWideChar(CP_ACP, 0, path.data(), (int)path.size(), &w[0], (int)w.size()));
    return L"\\\\?\\" + w;
}

// folder\IPC\5\567.orv holding the records (GUID, number), its folders made on the way.
void WriteNumberFile(std::string folder, const std::vector<std::pair<GUID, int32_t>>& records) {
    for (const char* part : {"\\IPC", "\\5"})
        CreateDirectoryW(LongPath(folder += part).c_str(), nullptr);
    std::string bytes(16, '\0');
    bytes[4] = static_cast<char>(records.size());
    for (const auto& r : records) {
        bytes.append(reinterpret_cast<const char*>(&r.first), sizeof r.first);
        bytes.append(reinterpret_cast<const char*>(&r.second), sizeof r.second);
    }
    HANDLE f = CreateFileW(LongPath(folder + "\\567.orv").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE) << folder;
    DWORD written = 0;
    WriteFile(f, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(f);
}

// Numbers\A under base, where the cameras of group A find their files.
std::string NumbersOfGroupA(const std::string& base) {
    CreateDirectoryW(LongPath(base + "\\Numbers").c_str(), nullptr);
    CreateDirectoryW(LongPath(base + "\\Numbers\\A").c_str(), nullptr);
    return base + "\\Numbers\\A";
}

GUID CameraGuid(int i) {
    return GUID{0x0E5F3A21, 0x7B64, 0x4C10, {0x9A, 0x3B, 0x2F, 0x1C, 0x8D, 0x00, 0xB0, static_cast<BYTE>(i)}};
}

// A line of cameras of group A that each ask once for a number, right when the LAN tool is enabled.
std::string AskingLine(int cameras) {
    std::string text = "[Line]\r\nPushInterval=600000\r\nCameras=";
    for (int i = 0; i < cameras; ++i)
        text += (i ? ",C" : "C") + std::to_string(i);
    text += "\r\n";
    for (int i = 0; i < cameras; ++i) {
        const GUID g = CameraGuid(i);
        char guid[64];
        snprintf(guid, sizeof guid, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2,
                 g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6],
                 g.Data4[7]);
        text += "[C" + std::to_string(i) + "]\r\nIP=192.168.1." + std::to_string(130 + i) +
                "\r\nPort=8000\r\nType=59162\r\nGroup=A\r\nNumber=0\r\nGuid=" + guid +
                "\r\nData=567\r\nAskNumber=1\r\nAskAfter=0\r\n";
    }
    return text;
}

void WriteText(const std::string& path, const std::string& text) {
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
}

struct Answer {
    int number;
    double afterMs; // how long the camera waited for it
};

// The answers the stand-in noted in its call log.
std::vector<Answer> Answers(const std::string& log) {
    std::vector<Answer> answers;
    for (const std::string& line : ReadLines(log)) {
        if (line.find("\tOnNumberPush.answer\t") == std::string::npos) continue;
        const size_t number = line.find("number="), after = line.rfind("after ");
        if (number == std::string::npos || after == std::string::npos) continue;
        answers.push_back({atoi(line.c_str() + number + 7), atof(line.c_str() + after + 6)});
    }
    return answers;
}

LocalStamp Today() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return LocalStamp{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

} // namespace

// On the line, number files are looked up under Numbers beside the program: a camera whose group is
// ".." is not served from a file that group would reach outside it, while a camera of group A is
// served from its file; both requests are recorded, and only the unusable group is logged.
TEST(Program, NumberPushOnTheLineStaysInsideNumbers) {
    CopyProgram();
    const std::string work = WorkDir();
    const GUID served = {0x0E5F3A21, 0x7B64, 0x4C10, {0x9A, 0x3B, 0x2F, 0x1C, 0x8D, 0x00, 0xA1, 0x20}};
    const GUID dots = {0x0E5F3A21, 0x7B64, 0x4C10, {0x9A, 0x3B, 0x2F, 0x1C, 0x8D, 0x00, 0xA1, 0x21}};
    WriteNumberFile(NumbersOfGroupA(work), {{served, 100120}});
    WriteNumberFile(work, {{dots, 777777}}); // the decoy: Numbers\..\IPC\5\567.orv

    const std::string scenario = work + "\\DotsLine.ini";
    FILE* f = fopen(scenario.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fputs("[Line]\r\nCameras=IPC-NEW,IPC-DOTS\r\nPushInterval=600000\r\n"
          "[IPC-NEW]\r\nIP=192.168.1.120\r\nPort=8000\r\nType=59162\r\nGroup=A\r\nNumber=0\r\n"
          "Guid={0E5F3A21-7B64-4C10-9A3B-2F1C8D00A120}\r\nData=567\r\nAskNumber=1\r\nAskAfter=0\r\n"
          "[IPC-DOTS]\r\nIP=192.168.1.121\r\nPort=8000\r\nType=59162\r\nGroup=..\r\nNumber=0\r\n"
          "Guid={0E5F3A21-7B64-4C10-9A3B-2F1C8D00A121}\r\nData=567\r\nAskNumber=1\r\nAskAfter=0\r\n",
          f);
    fclose(f);
    SetEnvironmentVariableA("LK_STANDIN_SCENARIO", scenario.c_str());

    SYSTEMTIME t;
    GetLocalTime(&t);
    const LocalStamp today = {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
    const std::string results = MakeResultFileNames((work + "\\Results\\").c_str(), today, "IPC").file;
    {
        Program p;
        ASSERT_TRUE(p.Start());
        HWND main = p.MainWindow(30000);
        ASSERT_NE(main, nullptr) << "no main window";
        // Each camera asks once: the two requests are in when the file counts two lines.
        WaitUntil([&] { return ReadLines(results).size() >= 3; }, 60000, 100);
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(p.WaitExit(20000), 0);
    }
    SetEnvironmentVariableA("LK_STANDIN_SCENARIO", nullptr);

    EXPECT_EQ(ReadFile(results), "total=2\r\n0\r\nA100120\r\n")
        << "the \"..\" camera keeps the number it came with and is recorded with an empty group";
    const std::string log = ReadFile(ErrLogFile(work.c_str(), today));
    EXPECT_EQ(log.size() > 9 ? log.substr(9) : log,
              "Type:IPC Group:\\x2E\\x2E Data:567 Guid:{0E5F3A21-7B64-4C10-9A3B-2F1C8D00A121}\r\n")
        << "one line, for the \"..\" camera only";
}

// Today's result file held open by another program, shared (a viewer: it may be read but not
// replaced) and then exclusive (a copy: it may not be opened at all), longer than any single try:
// every camera is answered at once as without the holder, and its line is in the file soon after the
// holder lets go. Closed while the file is still held, the program names the lines in the error log.
TEST(Program, AHeldResultFileDelaysNoAnswerAndLosesNoLine) {
    CopyProgram();
    const std::string work = WorkDir();
    const std::string log = work + "\\calls.log", scenario = work + "\\HeldLine.ini";
    const int kCameras = 3;
    WriteText(scenario, AskingLine(kCameras));
    SetEnvironmentVariableA("LK_STANDIN_SCENARIO", scenario.c_str());
    SetEnvironmentVariableA("LK_STANDIN_LOG", log.c_str());
    const ResultFileNames names = MakeResultFileNames((work + "\\Results\\").c_str(), Today(), "IPC");
    for (const std::string& folder : {work + "\\Results", names.monthFolder, names.typeFolder})
        CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<std::string> lines = {"A100200"};
    auto fileText = [&lines] {
        std::string text = "total=" + std::to_string(lines.size()) + "\r\n";
        for (const std::string& line : lines)
            text += line + "\r\n";
        return text;
    };
    WriteText(names.file, fileText());

    const struct {
        const char* what;
        DWORD share; // of the holder
        bool closeWhileHeld;
    } phases[] = {{"shared", FILE_SHARE_READ | FILE_SHARE_WRITE, false},
                  {"exclusive", 0, false},
                  {"closed while held", 0, true}};
    int base = 100210;
    for (const auto& phase : phases) {
        SCOPED_TRACE(phase.what);
        std::vector<std::pair<GUID, int32_t>> records;
        for (int i = 0; i < kCameras; ++i)
            records.push_back({CameraGuid(i), base + i});
        WriteNumberFile(NumbersOfGroupA(work), records);
        HANDLE holder = CreateFileA(names.file.c_str(), GENERIC_READ, phase.share, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        DeleteFileA(log.c_str()); // the answers of the run before
        Program p;
        ASSERT_TRUE(p.Start());
        HWND main = p.MainWindow(30000);
        ASSERT_NE(main, nullptr) << "no main window";
        WaitUntil([&] { return Answers(log).size() >= kCameras; }, 30000, 50);
        const std::vector<Answer> answers = Answers(log);
        ASSERT_EQ(answers.size(), static_cast<size_t>(kCameras)) << "not every camera was answered";
        for (const Answer& a : answers) {
            EXPECT_GE(a.number, base) << "the camera was not given its number";
            // Before, each answer waited about 2 s for the file.
            EXPECT_LT(a.afterMs, TestTimeLimit(500)) << "the answer waited for the held file";
        }
        if (phase.closeWhileHeld) {
            PostMessageA(main, WM_CLOSE, 0, 0);
            EXPECT_EQ(p.WaitExit(20000), 0);
            CloseHandle(holder);
        } else {
            Sleep(2500); // longer than the replace was ever retried
            CloseHandle(holder);
            for (int i = 0; i < kCameras; ++i)
                lines.push_back("A" + std::to_string(base + i));
            WaitUntil([&] { return ReadFile(names.file) == fileText(); }, 10000, 50);
            EXPECT_EQ(ReadFile(names.file), fileText()) << "the lines held back did not reach the file";
            PostMessageA(main, WM_CLOSE, 0, 0);
            EXPECT_EQ(p.WaitExit(20000), 0);
        }
        base += 10;
    }
    SetEnvironmentVariableA("LK_STANDIN_SCENARIO", nullptr);
    SetEnvironmentVariableA("LK_STANDIN_LOG", nullptr);

    EXPECT_EQ(ReadFile(names.file), fileText()) << "the file changed under the last holder";
    std::string named;
    for (const std::string& line : ReadLines(ErrLogFile(work.c_str(), Today())))
        if (line.find("NotSaved:") != std::string::npos) named += line.substr(9) + "\n";
    std::string expected;
    for (int i = 0; i < kCameras; ++i)
        expected += "NotSaved:A" + std::to_string(base - 10 + i) + " File:" + names.file + "\n";
    EXPECT_EQ(named, expected) << "the lines lost at close are not named in the error log";
}

// Installed in a folder whose path takes 260 characters or more in the program's code page (here a
// line's Chinese folder names, two bytes each, that Windows itself still starts a program from), the
// program cannot know its folder: it says so once, still starts and closes, and no file of it is taken
// from or written to the folder that a cut path names (the parent, where a camera was once served from
// a stray Numbers).
TEST(Program, ALongInstallPathServesNothingFromAnotherFolder) {
    CopyProgram();
    const std::string work = WorkDir();
    // The last folder's name is long, so that the parent's Numbers are within reach of a cut path.
    const std::string name = "\\产线调焦测试工具安装目录", last = name + name.substr(1);
    std::string deep = work;
    while (deep.size() + last.size() < 262)
        CreateDirectoryW(LongPath(deep += name).c_str(), nullptr);
    CreateDirectoryW(LongPath(deep += last).c_str(), nullptr);
    const std::string exe = deep + "\\LENSKIT.exe";
    // Where a path cut at the buffer's end would end: the last folder that fits whole.
    const std::string cut = exe.substr(0, MAX_PATH);
    const std::string parent = cut.substr(0, cut.find_last_of('\\'));
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((work + "\\*.*").c_str(), &fd);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do {
        const std::string file = fd.cFileName;
        if (file.size() < 4 || (file.substr(file.size() - 4) != ".dll" && file != "LENSKIT.exe")) continue;
        ASSERT_TRUE(
            CopyFileW(LongPath(work + "\\" + file).c_str(), LongPath(deep + "\\" + file).c_str(), FALSE))
            << file;
    } while (FindNextFileA(find, &fd));
    FindClose(find);

    // The decoy: a number for the camera in the parent's Numbers.
    const GUID camera = CameraGuid(0);
    WriteNumberFile(NumbersOfGroupA(parent), {{camera, 777777}});
    const std::string scenario = work + "\\LongLine.ini", log = work + "\\calls.log";
    WriteText(scenario, AskingLine(1));
    SetEnvironmentVariableA("LK_STANDIN_SCENARIO", scenario.c_str());
    SetEnvironmentVariableA("LK_STANDIN_LOG", log.c_str());
    {
        PROCESS_INFORMATION pi{};
        STARTUPINFOW si{};
        si.cb = sizeof si;
        std::wstring app = LongPath(exe).substr(4), cmd = app;
        ASSERT_TRUE(
            CreateProcessW(app.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            << "error " << GetLastError();
        Program p;
        p.pi = pi;
        HWND box = p.WaitWindow("#32770", nullptr, 30000);
        ASSERT_NE(box, nullptr) << "nothing was shown";
        EXPECT_TRUE(ChildWithText(box,
                                  "程序所在文件夹的路径过长，号码推送、结果文件、错误日志和设置文件都不可用，"
                                  "请把程序放到路径较短的文件夹"))
            << "the first window is not the message";
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        HWND main = p.MainWindow(30000);
        ASSERT_NE(main, nullptr) << "no main window after the message";
        WaitUntil([&] { return !Answers(log).empty(); }, 30000, 50);
        PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(p.WaitExit(20000), 0);
    }
    SetEnvironmentVariableA("LK_STANDIN_SCENARIO", nullptr);
    SetEnvironmentVariableA("LK_STANDIN_LOG", nullptr);

    const std::vector<Answer> answers = Answers(log);
    ASSERT_EQ(answers.size(), 1u) << "the camera was not answered";
    EXPECT_EQ(answers[0].number, 0) << "served from " << parent;
    for (const std::string& folder : {parent, deep, work, work.substr(0, 2)}) // the last: the drive's root
        for (const char* name : {"\\Results", "\\ErrLogs", "\\Config.ini", "\\scene.dat"})
            EXPECT_EQ(GetFileAttributesW(LongPath(folder + name).c_str()), INVALID_FILE_ATTRIBUTES)
                << folder << name;
}
