// The number push of the real main window against the device SDK's stand-in: a camera found in its
// number file gets its number, the credentials of edits 1006 and 1007 and the configuration buffer,
// enters the device table and its result file; a failed look-up goes to the error log; an empty group
// is answered without a look-up. Every file lives in the test's own temporary folder.
#include "LanServiceTestRun.h"

#include "CredentialCopy.h"
#include "DeviceTable.h"
#include "LENSBENCHDlgNumberPush.h"
#include "NumberFiles.h"
#include "ResultFiles.h"
#include "TestTime.h"

#include <direct.h>

#include <string>

using namespace lantest;

namespace {

std::string CurrentFolder() {
    char buf[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof buf, buf);
    return buf;
}

const LanToolGuid kGuid = {0x12345678, 0x9ABC, 0xDEF0, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};
const char kGuidText[] = "{12345678-9ABC-DEF0-0123-456789ABCDEF}";

LanToolRequest Request(const char* ip, const char* group, int data, int number = -1,
                       LanToolGuid guid = kGuid) {
    LanToolRequest r;
    memset(&r, 0, sizeof r);
    r.cCommand = 1;
    PutText(r.szUser, "stale user");
    r.nCloudNumber = number;
    r.nConfigLength = 77;
    r.nDeviceType = QLC_DEVTYPE_IPC;
    r.nDataValue = data;
    r.guid = guid;
    PutText(r.szGroup, group);
    PutText(r.szIP, ip);
    r.nPort = 34567;
    return r;
}

void WriteNumberFile(const std::string& path, int32_t number) {
    std::string s(16, '\0');
    s[4] = 2; // two records: an other camera, then ours
    LanToolGuid other = kGuid;
    other.Data1 = 1;
    s.append(reinterpret_cast<const char*>(&other), 16);
    s.append("\x07\x00\x00\x00", 4);
    s.append(reinterpret_cast<const char*>(&kGuid), 16);
    s.append(reinterpret_cast<const char*>(&number), 4);
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    fwrite(s.data(), 1, s.size(), f);
    fclose(f);
}

std::string ReadAll(const std::string& path, const char* mode) {
    FILE* f = fopen(path.c_str(), mode);
    if (!f) return "<missing>";
    std::string s;
    int c;
    while ((c = fgetc(f)) != EOF)
        s.push_back((char)c);
    fclose(f);
    return s;
}

LocalStamp Today() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return LocalStamp{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

// Sends one request and waits in the modal script until the stand-in holds the answer to it.
struct PushStep {
    LanToolRequest answer;
    bool sent = false;
    bool Run(const LanToolRequest& request) {
        if (!sent) {
            Standin_InjectNumberPush(&request);
            sent = true;
            return false;
        }
        if (!Standin_GetLastPushAnswer(&answer) || strcmp(answer.szIP, request.szIP) != 0) return false;
        return true;
    }
};

// The run's folders: number files under numbers\, results under results\, the error log under
// ErrLogs\ of the program directory, which the test points at its own folder.
struct PushRun {
    MainRun run;
    std::string dir = CurrentFolder();
    std::string resultDir = dir + "\\results\\";

    PushRun() {
        // Only the month and type folders are made: the result directory itself must exist.
        _mkdir(resultDir.c_str());
        QuietLine();
        run.script.Add("folders and credentials", [this] {
            strcpy(g_App.szAppDir, dir.c_str());
            run.dlg.SetNumberPushDirs((dir + "\\numbers").c_str(), resultDir.c_str());
            SetDlgItemTextA(run.hwnd, IDC_EDIT_USER, "operator");
            SetDlgItemTextA(run.hwnd, IDC_EDIT_PASSWORD, "pa%sword");
            return true;
        });
    }
    std::string ResultFile(const char* type = "IPC") const {
        return MakeResultFileNames(resultDir.c_str(), Today(), type).file;
    }
    std::string ErrLog() const { return ReadAll(ErrLogFile(dir.c_str(), Today()), "rb"); }
};

const DeviceEntry* EntryWithIp(const std::array<DeviceEntry, DEVICE_TABLE_SIZE>& table, const char* ip) {
    for (const DeviceEntry& e : table)
        if (strcmp(e.szIp, ip) == 0) return &e;
    return nullptr;
}

} // namespace

TEST(NumberPush, FoundCameraGetsNumberCredentialsAndEntersTableAndResultFile) {
    PushRun p;
    ASSERT_EQ(_mkdir((p.dir + "\\numbers").c_str()), 0);
    for (const char* sub : {"\\numbers\\A", "\\numbers\\A\\IPC", "\\numbers\\A\\IPC\\5"})
        _mkdir((p.dir + sub).c_str());
    WriteNumberFile(p.dir + "\\numbers\\A\\IPC\\5\\567.orv", 4242);

    PushStep first, second;
    std::array<DeviceEntry, DEVICE_TABLE_SIZE> table{};
    p.run.script.Add("camera found", [&] { return first.Run(Request("10.0.0.7", "A", 567)); });
    // A camera already in the table (from a search) keeps its entry; only its number and flag change.
    p.run.script.Add("camera searched", [&] {
        const LanSearchRecord answer = SearchAnswer("10.0.0.8", 9);
        Standin_InjectSearchAnswer(&answer);
        return true;
    });
    p.run.script.Add("known camera", [&] {
        if (!second.sent && !EntryWithIp(g_DeviceTable.Snapshot(), "10.0.0.8")) return false;
        return second.Run(Request("10.0.0.8", "A", 567));
    });
    p.run.script.Add("table", [&] {
        table = g_DeviceTable.Snapshot();
        p.run.Close();
        return true;
    });
    p.run.Run();

    ASSERT_TRUE(first.sent && second.sent);
    EXPECT_EQ(first.answer.nCloudNumber, 4242);
    EXPECT_STREQ(first.answer.szUser, "operator") << "the field is zeroed before the user name goes in";
    EXPECT_STREQ(first.answer.szPassword, "pa%sword");
    EXPECT_NE(first.answer.pConfigData, nullptr) << "the configuration buffer goes by address";
    EXPECT_EQ(first.answer.nConfigLength, 0) << "nothing loaded: no configuration";
    EXPECT_EQ(first.answer.nPort, 34567) << "input fields stay as they came";

    const DeviceEntry* e = EntryWithIp(table, "10.0.0.7");
    ASSERT_NE(e, nullptr) << "the served camera took a free entry";
    EXPECT_EQ(e->nNumber, 4242);
    EXPECT_EQ(e->bServed, 1);
    EXPECT_EQ(e->nAlive, 3);
    EXPECT_EQ(e->nPort, 34567);
    EXPECT_STREQ(e->szType, "IPC");
    const DeviceEntry* known = EntryWithIp(table, "10.0.0.8");
    ASSERT_NE(known, nullptr);
    EXPECT_EQ(known->nNumber, 4242);
    EXPECT_EQ(known->bServed, 1);
    EXPECT_EQ(known->nPort, 8000) << "the searched entry keeps its port";

    // Both cameras got the same number: one line, counted once.
    EXPECT_EQ(ReadAll(p.ResultFile(), "r"), "total=1\nA4242\n");
    EXPECT_EQ(p.ErrLog(), "<missing>") << "nothing failed";
}

// A group that is not 1 to 3 letters or digits names no file: ".." finds no decoy beside the number
// files, the log shows the group as \xNN, and the result line has an empty group.
TEST(NumberPush, FailedLookupsAreLoggedVerbatimAndStillRecorded) {
    PushRun p; // no number files, only a decoy that "..\IPC\5\567.orv" from the base would reach
    for (const char* sub : {"\\IPC", "\\IPC\\5"})
        _mkdir((p.dir + sub).c_str());
    WriteNumberFile(p.dir + "\\IPC\\5\\567.orv", 777777);
    PushStep missing, percent, dots, newline;
    p.run.script.Add("missing file", [&] { return missing.Run(Request("10.0.0.9", "B", 99, 55)); });
    p.run.script.Add("percent group", [&] { return percent.Run(Request("10.0.0.10", "%s", 5, -1)); });
    p.run.script.Add("dots group", [&] { return dots.Run(Request("10.0.0.13", "..", 567, 8)); });
    p.run.script.Add("line-feed group", [&] {
        if (newline.Run(Request("10.0.0.14", "A\n", 5, 9))) {
            p.run.Close();
            return true;
        }
        return false;
    });
    p.run.Run();

    ASSERT_TRUE(missing.sent && percent.sent && dots.sent && newline.sent);
    EXPECT_EQ(missing.answer.nCloudNumber, 55) << "the number it came with stays";
    EXPECT_STREQ(missing.answer.szUser, "operator") << "a failed look-up is still answered";
    EXPECT_EQ(EntryWithIp(g_DeviceTable.Snapshot(), "10.0.0.9"), nullptr) << "no number, no entry";
    EXPECT_EQ(dots.answer.nCloudNumber, 8) << "served from the decoy outside the number files";
    EXPECT_STREQ(dots.answer.szUser, "operator");
    EXPECT_EQ(EntryWithIp(g_DeviceTable.Snapshot(), "10.0.0.13"), nullptr);

    std::string log = p.ErrLog(), lines;
    for (size_t at = 0; at + 8 <= log.size();) { // the texts after the times
        const size_t end = log.find("\r\n", at);
        if (end == std::string::npos) break;
        lines += log.substr(at + 8, end - at - 8) + "|";
        at = end + 2;
    }
    const std::string g = std::string(" Guid:") + kGuidText + "|";
    EXPECT_EQ(lines, " Type:IPC Group:B Data:99" + g + " Type:IPC Group:\\x25\\x73 Data:5" + g +
                         " Type:IPC Group:\\x2E\\x2E Data:567" + g + " Type:IPC Group:\\x41\\x0A Data:5" + g)
        << log;

    EXPECT_EQ(ReadAll(p.ResultFile(), "r"), "total=4\n-1\n8\n9\nB55\n");
}

// Without a program directory and number-push folders (the program's path did not fit) a camera is
// still answered, but nothing is looked up or written: an empty folder would be the drive's root or
// the working directory.
TEST(NumberPush, EmptyGroupOrNoDataValueIsAnsweredWithoutALookup) {
    PushRun p;
    PushStep noGroup, noData, noFolders;
    p.run.script.Add("empty group", [&] { return noGroup.Run(Request("10.0.0.11", "", 567, 12)); });
    p.run.script.Add("data value 0", [&] { return noData.Run(Request("10.0.0.12", "C", 0, 13)); });
    p.run.script.Add("no folders", [&] {
        if (!noFolders.sent) {
            EXPECT_TRUE(p.run.dlg.WaitResultsWritten(TestTimeLimit(10000)));
            g_App.szAppDir[0] = '\0';
            p.run.dlg.SetNumberPushDirs("", "");
        }
        if (noFolders.Run(Request("10.0.0.15", "C", 567, 14))) {
            p.run.Close();
            return true;
        }
        return false;
    });
    p.run.Run();

    ASSERT_TRUE(noGroup.sent && noData.sent && noFolders.sent);
    EXPECT_EQ(noGroup.answer.nCloudNumber, 12);
    EXPECT_STREQ(noGroup.answer.szPassword, "pa%sword");
    EXPECT_EQ(noData.answer.nCloudNumber, 13);
    EXPECT_EQ(noFolders.answer.nCloudNumber, 14);
    EXPECT_STREQ(noFolders.answer.szUser, "operator");
    EXPECT_EQ(p.ErrLog(), "<missing>") << "no look-up, nothing to log, and no folder to log in";
    EXPECT_EQ(ReadAll(p.ResultFile(), "r"), "total=2\n12\nC13\n");
    const std::string month = MakeResultFileNames("", Today(), "IPC").monthFolder;
    EXPECT_EQ(GetFileAttributesA(month.c_str()), INVALID_FILE_ATTRIBUTES) << "results in the working folder";
    EXPECT_EQ(GetFileAttributesA("\\ErrLogs"), INVALID_FILE_ATTRIBUTES) << "an error log at the drive's root";
}

// Between the start of shut-down and the LAN tool's end a request finds no window: it is still
// answered with the credentials, and nothing is looked up or written.
TEST(NumberPush, WithoutTheWindowOnlyTheCredentialsGoBack) {
    ASSERT_EQ(g_App.pMainDlg, nullptr);
    g_Credentials.Set("late user", "late password");
    LanToolRequest r = Request("10.0.0.20", "A", 567, 31);
    EXPECT_EQ(OnNumberPush(&r), 1);
    EXPECT_STREQ(r.szUser, "late user");
    EXPECT_STREQ(r.szPassword, "late password");
    EXPECT_EQ(r.nCloudNumber, 31);
    EXPECT_EQ(r.pConfigData, nullptr);
    EXPECT_EQ(r.nConfigLength, 0);
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA("*", &found);
    int entries = 0;
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (strcmp(found.cFileName, ".") && strcmp(found.cFileName, "..")) ++entries;
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    EXPECT_EQ(entries, 0) << "no result file or error log in the working folder";
}
