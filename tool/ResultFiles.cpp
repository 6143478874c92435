#include "ResultFiles.h"

#include "NumberFiles.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <sys/stat.h>

#ifdef _WIN32
#include <direct.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// One lock for both files: a rewrite uses the day's fixed temporary name, and the error-log append
// is a seek followed by a write.
std::mutex& FilesLock() {
    static std::mutex lock;
    return lock;
}

// Lines are read in pieces of at most 1023 characters; a longer line is copied piece by piece.
constexpr int kLineMax = 1024;

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
    char buf[512];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    if (n < 0) return std::string();
    if (static_cast<size_t>(n) < sizeof buf) return std::string(buf, static_cast<size_t>(n));
    std::string big(static_cast<size_t>(n) + 1, '\0');
    va_start(args, format);
    std::vsnprintf(&big[0], big.size(), format, args);
    va_end(args);
    big.resize(static_cast<size_t>(n));
    return big;
}

bool IsFolder(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && (st.st_mode & S_IFMT) == S_IFDIR;
}

// True when the folder exists afterwards: made now, or there already (a file of that name is no folder).
bool MakeFolder(const std::string& path) {
#ifdef _WIN32
    const int r = _mkdir(path.c_str());
#else
    const int r = mkdir(path.c_str(), 0777);
#endif
    return r == 0 || (errno == EEXIST && IsFolder(path));
}

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// Puts the finished temporary file in the result file's place in one step, so that a failure leaves
// either the old file or the new one, never neither.
bool ReplaceWith(const std::string& tmp, const std::string& file) {
#ifdef _WIN32
    return MoveFileExA(tmp.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(tmp.c_str(), file.c_str()) == 0;
#endif
}

bool ReadPiece(FILE* f, std::string& line) {
    char buf[kLineMax];
    if (std::fgets(buf, sizeof buf, f) == nullptr) return false;
    line.assign(buf);
    return true;
}

bool EndsLine(const std::string& piece) { return !piece.empty() && piece.back() == '\n'; }

// Copies the file into tmp with the count line replaced and the new line before piece `insertAt`
// (-1: after the last). A last line without its line feed gets one before the new line follows it.
// False when anything could not be written.
bool WriteMerged(FILE* in, const std::string& tmp, int total, const std::string& newLine, long insertAt) {
    FILE* out = std::fopen(tmp.c_str(), "w");
    if (out == nullptr) return false;
    bool ok = std::fprintf(out, "total=%d\n", total) > 0;
    std::string piece;
    bool lineEnded = true;
    while (ReadPiece(in, piece) && !EndsLine(piece)) {
    } // the old count line, however long
    for (long k = 1; ok && ReadPiece(in, piece); ++k) {
        if (k == insertAt) ok = std::fputs(newLine.c_str(), out) >= 0;
        if (ok) ok = std::fputs(piece.c_str(), out) >= 0;
        lineEnded = EndsLine(piece);
    }
    if (ok && insertAt < 0) {
        if (!lineEnded) ok = std::fputc('\n', out) != EOF;
        if (ok) ok = std::fputs(newLine.c_str(), out) >= 0;
    }
    if (std::ferror(in)) ok = false;
    if (std::fclose(out) != 0) ok = false;
    return ok;
}

ResultAppend AppendLocked(const char* resultDir, const LocalStamp& now, const char* type, const char* group,
                          int32_t number) {
    const std::string newLine = ResultEntryLine(group, number);
    const ResultFileNames names = MakeResultFileNames(resultDir, now, type);
    if (!MakeFolder(names.monthFolder) || !MakeFolder(names.typeFolder)) return ResultAppend::Failed;

    if (!Exists(names.file)) {
        FILE* f = std::fopen(names.file.c_str(), "a+");
        if (f == nullptr) return ResultAppend::Failed;
        std::fseek(f, 0, SEEK_SET);
        bool ok = std::fputs("total=1\n", f) >= 0 && std::fputs(newLine.c_str(), f) >= 0;
        if (std::fclose(f) != 0) ok = false;
        return ok ? ResultAppend::Created : ResultAppend::Failed;
    }

    FILE* in = std::fopen(names.file.c_str(), "r");
    if (in == nullptr) return ResultAppend::Failed;
    int total = 0;
    long insertAt = -1;
    std::string piece;
    if (ReadPiece(in, piece) && std::sscanf(piece.c_str(), "total=%d", &total) != 1) total = 0;
    while (!EndsLine(piece) && ReadPiece(in, piece)) {
    }
    // Only a piece that begins a line is compared: the new line never goes into the middle of a line
    // longer than one piece.
    bool lineStart = true;
    for (long k = 1; ReadPiece(in, piece); ++k) {
        if (lineStart) {
            // A last line that lost its line feed is still the same entry: no second copy of it.
            if (piece == newLine || (!EndsLine(piece) && piece + '\n' == newLine)) {
                std::fclose(in);
                return ResultAppend::AlreadyThere;
            }
            if (ResultLineGoesBefore(newLine, piece)) {
                insertAt = k;
                break;
            }
        }
        lineStart = EndsLine(piece);
    }

    std::remove(names.tmpFile.c_str());
    std::rewind(in);
    const bool written = WriteMerged(in, names.tmpFile, total + 1, newLine, insertAt);
    std::fclose(in);
    if (!written || !ReplaceWith(names.tmpFile, names.file)) {
        std::remove(names.tmpFile.c_str());
        return ResultAppend::Failed;
    }
    return ResultAppend::Inserted;
}

} // namespace

ResultFileNames MakeResultFileNames(const char* resultDir, const LocalStamp& now, const char* type) {
    const char s = FILE_PATH_SEPARATOR;
    ResultFileNames n;
    n.monthFolder = Format("%s%4d_%02d", resultDir ? resultDir : "", now.year, now.month);
    n.typeFolder = Format("%s%c%s", n.monthFolder.c_str(), s, type ? type : "");
    n.file = Format("%s%c%4d-%02d-%02d %s %s.txt", n.typeFolder.c_str(), s, now.year, now.month, now.day,
                    now.hour <= 12 ? "AM" : "PM", type ? type : "");
    n.tmpFile = Format("%s%c%4d-%02d-%02d tmp.txt", n.typeFolder.c_str(), s, now.year, now.month, now.day);
    return n;
}

std::string ResultEntryLine(const char* group, int32_t number) {
    return Format("%s%d\n", group ? group : "", static_cast<int>(number));
}

bool ResultLineGoesBefore(const std::string& newLine, const std::string& fileLine) {
    const size_t n = newLine.size() < fileLine.size() ? newLine.size() : fileLine.size();
    for (size_t i = 0; i < n; ++i) {
        const signed char a = static_cast<signed char>(fileLine[i]);
        const signed char b = static_cast<signed char>(newLine[i]);
        if (a != b) return a > b;
    }
    return fileLine.size() > newLine.size();
}

ResultAppend AppendResultEntry(const char* resultDir, const LocalStamp& now, const char* type, const char* group,
                               int32_t number) {
    std::lock_guard<std::mutex> hold(FilesLock());
    return AppendLocked(resultDir, now, type, group, number);
}

std::string ErrLogFolder(const char* appDir) {
    return Format("%s%cErrLogs", appDir ? appDir : "", FILE_PATH_SEPARATOR);
}

std::string ErrLogFile(const char* appDir, const LocalStamp& now) {
    return Format("%s%c%.4d%.2d%.2d.log", ErrLogFolder(appDir).c_str(), FILE_PATH_SEPARATOR, now.year,
                  now.month, now.day);
}

bool AppendErrLogText(const char* appDir, const LocalStamp& now, const char* text) {
    char cut[ERRLOG_TEXT_SIZE];
    std::snprintf(cut, sizeof cut, "%s", text ? text : "");
    char line[ERRLOG_LINE_SIZE];
    const int n = std::snprintf(line, sizeof line, "%.2d:%.2d:%.2d %s\r\n", now.hour, now.minute, now.second, cut);
    if (n < 0) return false;
    const size_t len = static_cast<size_t>(n) < sizeof line ? static_cast<size_t>(n) : sizeof line - 1;

    std::lock_guard<std::mutex> hold(FilesLock());
    const std::string folder = ErrLogFolder(appDir);
    if (!IsFolder(folder)) MakeFolder(folder);
    const std::string file = ErrLogFile(appDir, now);
#ifdef _WIN32
    HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = SetFilePointer(h, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER &&
                    WriteFile(h, line, static_cast<DWORD>(len), &written, nullptr) && written == len;
    CloseHandle(h);
    return ok;
#else
    const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0666);
    if (fd < 0) return false;
    const bool ok = write(fd, line, len) == static_cast<ssize_t>(len);
    close(fd);
    return ok;
#endif
}
