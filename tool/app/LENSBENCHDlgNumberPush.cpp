// The device SDK's number-push callback: looks the camera up in its number file, answers it with the
// number, the operator's credentials and the camera configuration, enters it in the device table and
// records the request in the result file (and a failed look-up in the error log). The answer never
// waits for a file that someone else holds: the result line goes to the result writer.
#include "LENSBENCHDlgNumberPush.h"

#include "LENSBENCHDlg.h"

#include "ConfigFile.h"
#include "CredentialCopy.h"
#include "DeviceTable.h"
#include "LanRecords.h"
#include "NumberFiles.h"
#include "QLCLIENT.h"
#include "ResultFiles.h"
#include "ResultWriter.h"
#include "TextCut.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace {

// The two folders are read on the SDK's threads and may be set on the UI thread: each use copies
// them under this lock.
std::mutex g_dirsLock;

LocalStamp Now() {
    SYSTEMTIME t;
    ::GetLocalTime(&t);
    return LocalStamp{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

// Appends one timed line of printf-style text to today's error log beside the program (any thread).
__attribute__((format(printf, 1, 2))) void WriteErrLog(const char* format, ...) {
    char text[ERRLOG_TEXT_SIZE];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    AppendErrLogText(g_App.szAppDir, Now(), text);
}

} // namespace

void CLENSBENCHDlg::SetNumberPushDirs(const char* numberDir, const char* resultDir) {
    std::lock_guard<std::mutex> hold(g_dirsLock);
    CopyTextCut(m_szNumberDir, numberDir ? numberDir : "");
    CopyTextCut(m_szResultDir, resultDir ? resultDir : "");
}

// Nothing else configures the two folders, so the station keeps them beside the program: number files
// under "Numbers", result files under "Results" (made here; the month and type folders below it are
// made as requests come). Without a program directory, or with one too long for either path, they stay
// empty, and an empty folder is never used (it would mean the drive's root or the working directory).
void CLENSBENCHDlg::UseDefaultNumberPushDirs() {
    if (g_App.szAppDir[0] == '\0') return;
    char numberDir[MAX_PATH];
    char resultDir[MAX_PATH];
    const int n = std::snprintf(numberDir, sizeof numberDir, "%s\\Numbers", g_App.szAppDir);
    const int r = std::snprintf(resultDir, sizeof resultDir, "%s\\Results\\", g_App.szAppDir);
    if (n <= 0 || n >= (int)sizeof numberDir || r <= 0 || r >= (int)sizeof resultDir) return;
    ::CreateDirectoryA(resultDir, nullptr);
    SetNumberPushDirs(numberDir, resultDir);
}

int32_t CLENSBENCHDlg::LookupDeviceNumber(const char* type, const char* group, int dataValue,
                                          const LanToolGuid& guid) {
    char base[MAX_PATH];
    {
        std::lock_guard<std::mutex> hold(g_dirsLock);
        CopyTextCut(base, m_szNumberDir);
    }
    char path[NUMBER_PATH_SIZE];
    if (base[0] == '\0' || !NumberFilePath(path, base, group, type, dataValue)) return 0;
    uint8_t bytes[NUMBER_GUID_SIZE];
    static_assert(sizeof guid == sizeof bytes, "a GUID is 16 bytes");
    std::memcpy(bytes, &guid, sizeof bytes);
    return FindNumberInFile(path, bytes);
}

namespace {

// Kept for the day's error log: a result line that never reached its file is named there.
void LogUnwritten(const ResultWriter::Entry& e) {
    WriteErrLog("NotSaved:%s File:%s", e.line.c_str(), e.names.file.c_str());
}

} // namespace

void CLENSBENCHDlg::AppendResultLine(const char* type, const char* group, int number) {
    char dir[MAX_PATH];
    {
        std::lock_guard<std::mutex> hold(g_dirsLock);
        CopyTextCut(dir, m_szResultDir);
    }
    if (dir[0] == '\0') return;
    std::string line = ResultEntryLine(group, number);
    line.pop_back(); // its line feed
    ResultWriter::Entry entry{MakeResultFileNames(dir, Now(), type), std::move(line)};
    // Refused only once shut-down has closed the writer under a callback still on its way.
    if (!m_results.Post(entry)) LogUnwritten(entry);
}

bool CLENSBENCHDlg::WaitResultsWritten(unsigned timeoutMs) {
    return m_results.WaitIdle(timeoutMs);
}

void CLENSBENCHDlg::CloseResultWriter() {
    for (const ResultWriter::Entry& e : m_results.Close(kResultsCloseWaitMs))
        LogUnwritten(e);
}

int OnNumberPush(LanToolRequest* request) {
    if (request == nullptr) return 1;
    // The credentials come from the copy the UI thread keeps: reading the edits from here would wait
    // for the UI thread.
    char user[CREDENTIAL_FIELD_SIZE], password[CREDENTIAL_FIELD_SIZE];
    g_Credentials.Get(user, password);

    CLENSBENCHDlg* dlg = g_App.pMainDlg;
    if (dlg == nullptr) {
        // Shut-down has begun: the camera still gets the credentials, but there is nothing to look up
        // in and nowhere to record it.
        std::memset(request->szUser, 0, sizeof request->szUser);
        std::memset(request->szPassword, 0, sizeof request->szPassword);
        CopyTextCut(request->szUser, user);
        CopyTextCut(request->szPassword, password);
        request->pConfigData = nullptr;
        request->nConfigLength = 0;
        return 1;
    }
    return dlg->AnswerNumberPush(*request, user, password);
}

int CLENSBENCHDlg::AnswerNumberPush(LanToolRequest& r, const char* user, const char* password) {
    // The camera's texts need not be terminated: group at 3 characters, IP at 15, as the table keeps them.
    LanToolInput in;
    ReadLanToolRequest(&r, sizeof r, in);
    char type[DEVICE_TYPE_TEXT_SIZE];
    DeviceTypeText(in.nTypeCode, type);

    // Only letters and digits may name a number-file folder. Any other group is never looked up, is
    // logged as \xNN escapes and is recorded with an empty group, so that it can reach no other file and
    // split no line.
    const NumberPushPlan plan = PlanNumberPush(in, type);
    if (plan.logMiss) {
        const int32_t number = plan.lookUp ? LookupDeviceNumber(type, in.szGroup, in.nDataValue, r.guid) : 0;
        if (number < 1) {
            // The finished line goes in as text: a "%" in it is not a format.
            WriteErrLog("%s", plan.missText.c_str());
        } else {
            r.nCloudNumber = number;
            g_DeviceTable.ApplyNumberServed(type, in.szGroup, in.szIp, in.nPort, number, ::GetTickCount());
        }
    }

    // The SDK sends the configuration after this returns: it gets a snapshot that no later load or
    // cancel changes.
    const ConfigSnapshot config = m_config.Current();
    r.pConfigData = config.data;
    r.nConfigLength = config.length;

    std::memset(r.szUser, 0, sizeof r.szUser);
    std::memset(r.szPassword, 0, sizeof r.szPassword);
    CopyTextCut(r.szUser, user);
    CopyTextCut(r.szPassword, password);

    AppendResultLine(type, plan.szResultGroup, r.nCloudNumber);
    return 1;
}
