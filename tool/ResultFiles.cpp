#include "ResultFiles.h"

#include "NumberFiles.h"

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace {

// One lock for both files: a rewrite uses the day's fixed temporary name, and the error-log append
// is a seek followed by a write.
std::mutex& FilesLock() {
    static std::mutex lock;
    return lock;
}

const char kLineEnd[] = "\r\n";
// The rewrite goes to the disk in pieces of this size.
constexpr size_t kWritePiece = 64 * 1024;

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

// One line of the file: its bytes without the line end.
struct LineView {
    const char* p;
    size_t n;
};

// Byte i of the line with its line feed: the comparison counts the line feed as the last byte.
signed char TerminatedByte(const LineView& l, size_t i) {
    return static_cast<signed char>(i < l.n ? l.p[i] : '\n');
}

// The order of ResultLineGoesBefore on lines whose line feed is implied.
bool GoesBefore(const LineView& entry, const LineView& line) {
    const size_t n = (entry.n < line.n ? entry.n : line.n) + 1;
    for (size_t i = 0; i < n; ++i) {
        const signed char a = TerminatedByte(line, i);
        const signed char b = TerminatedByte(entry, i);
        if (a != b) return a > b;
    }
    return line.n > entry.n;
}

// The count of "total=%d": optional white space, sign and digits; 0 when there are no digits.
// Held at the ends of the int range rather than wrapping.
int64_t CountOf(const LineView& l) {
    static const char kPrefix[] = "total=";
    const size_t k = sizeof kPrefix - 1;
    if (l.n < k || std::memcmp(l.p, kPrefix, k) != 0) return 0;
    size_t i = k;
    while (i < l.n && (l.p[i] == ' ' || (l.p[i] >= '\t' && l.p[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < l.n && (l.p[i] == '+' || l.p[i] == '-')) negative = l.p[i++] == '-';
    int64_t v = 0;
    for (; i < l.n && l.p[i] >= '0' && l.p[i] <= '9'; ++i)
        if (v <= INT_MAX) v = v * 10 + (l.p[i] - '0');
    if (negative) v = -v;
    return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : v;
}

// Writes the whole content to the temporary file, puts it on the disk and moves it over the file.
// On any failure the temporary file is removed and the file is as it was.
bool WriteAndReplace(FileOps& ops, const std::string& tmp, const std::string& file,
                     const std::string& content) {
    FileOps::Handle h = ops.Create(tmp);
    if (h == nullptr) {
        ops.Remove(tmp);
        return false;
    }
    bool ok = true;
    for (size_t at = 0; ok && at < content.size(); at += kWritePiece)
        ok = ops.Write(h, content.data() + at,
                       content.size() - at < kWritePiece ? content.size() - at : kWritePiece);
    ok = ok && ops.Flush(h);
    ok = ops.Close(h) && ok;
    ok = ok && ops.Replace(tmp, file);
    if (!ok) ops.Remove(tmp);
    return ok;
}

ResultAppend AppendLocked(const char* resultDir, const LocalStamp& now, const char* type, const char* group,
                          int32_t number, FileOps& ops) {
    std::string entry = ResultEntryLine(group, number);
    entry.pop_back(); // the line feed: lines are compared without their line ends
    const ResultFileNames names = MakeResultFileNames(resultDir, now, type);

    uint64_t size = 0;
    bool isFolder = false;
    if (!ops.Status(names.file, size, isFolder)) {
        // Only a new file needs its folders made (a file that is there has them).
        if (!ops.MakeFolder(names.monthFolder) || !ops.MakeFolder(names.typeFolder))
            return ResultAppend::Failed;
        const std::string content = "total=1" + std::string(kLineEnd) + entry + kLineEnd;
        return WriteAndReplace(ops, names.tmpFile, names.file, content) ? ResultAppend::Created
                                                                        : ResultAppend::Failed;
    }
    if (isFolder || size > RESULT_FILE_MAX) return ResultAppend::Failed;
    std::string old, content;
    if (!ops.Read(names.file, old, static_cast<size_t>(RESULT_FILE_MAX) + 1) || old.size() > RESULT_FILE_MAX)
        return ResultAppend::Failed;
    if (!MergeResultEntry(old, entry, content)) return ResultAppend::AlreadyThere;
    return WriteAndReplace(ops, names.tmpFile, names.file, content) ? ResultAppend::Inserted
                                                                    : ResultAppend::Failed;
}

} // namespace

bool MergeResultEntry(const std::string& oldBytes, const std::string& entry, std::string& newBytes) {
    const char* const begin = oldBytes.data();
    const char* const end = begin + oldBytes.size();
    const LineView newLine{entry.data(), entry.size()};

    // The next line from `at`: its bytes without CR LF or LF, and where the one after it starts.
    auto nextLine = [end](const char* at, LineView& line) {
        const char* lf = static_cast<const char*>(std::memchr(at, '\n', static_cast<size_t>(end - at)));
        const char* stop = lf ? lf : end;
        line = LineView{at, static_cast<size_t>(stop - at)};
        if (lf && line.n > 0 && stop[-1] == '\r') --line.n;
        return lf ? lf + 1 : end;
    };

    LineView countLine;
    const char* const body = nextLine(begin, countLine);
    // Every line is looked at for a copy of the entry; the first line that sorts after it is where
    // the entry goes. Whether every line already ends in CR LF decides whether the bytes can be
    // copied as they are.
    const char* insertAt = nullptr;
    bool crlfThroughout = true;
    for (const char* at = body; at < end;) {
        LineView line;
        const char* next = nextLine(at, line);
        if (line.n == newLine.n && std::memcmp(line.p, newLine.p, line.n) == 0) return false;
        if (insertAt == nullptr && GoesBefore(newLine, line)) insertAt = at;
        if (next - (line.p + line.n) != 2) crlfThroughout = false;
        at = next;
    }
    if (insertAt == nullptr) insertAt = end;

    newBytes.clear();
    newBytes.reserve(oldBytes.size() + entry.size() + 32);
    newBytes += Format("total=%lld", static_cast<long long>(CountOf(countLine) + 1));
    newBytes += kLineEnd;
    auto copyLines = [&](const char* from, const char* to) {
        if (crlfThroughout) {
            newBytes.append(from, static_cast<size_t>(to - from));
            return;
        }
        while (from < to) {
            LineView line;
            from = nextLine(from, line);
            newBytes.append(line.p, line.n);
            newBytes += kLineEnd;
        }
    };
    copyLines(body, insertAt);
    newBytes += entry;
    newBytes += kLineEnd;
    copyLines(insertAt, end);
    return true;
}

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

ResultAppend AppendResultEntry(const char* resultDir, const LocalStamp& now, const char* type,
                               const char* group, int32_t number, FileOps& ops) {
    std::lock_guard<std::mutex> hold(FilesLock());
    return AppendLocked(resultDir, now, type, group, number, ops);
}

std::string ErrLogFolder(const char* appDir) {
    return Format("%s%cErrLogs", appDir ? appDir : "", FILE_PATH_SEPARATOR);
}

std::string ErrLogFile(const char* appDir, const LocalStamp& now) {
    return Format("%s%c%.4d%.2d%.2d.log", ErrLogFolder(appDir).c_str(), FILE_PATH_SEPARATOR, now.year,
                  now.month, now.day);
}

std::string HexEscaped(const char* text) {
    std::string out;
    for (const char* p = text ? text : ""; *p; ++p)
        out += Format("\\x%02X", static_cast<unsigned char>(*p));
    return out;
}

bool AppendErrLogText(const char* appDir, const LocalStamp& now, const char* text, FileOps& ops) {
    // Control characters as \xNN, and never half of one cut off at the limit.
    char cut[ERRLOG_TEXT_SIZE];
    size_t used = 0;
    for (const char* p = text ? text : ""; *p; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        const bool control = c < 0x20 || c == 0x7F;
        if (used + (control ? 4 : 1) > sizeof cut - 1) break;
        if (control)
            used += static_cast<size_t>(std::snprintf(cut + used, sizeof cut - used, "\\x%02X", c));
        else
            cut[used++] = static_cast<char>(c);
    }
    cut[used] = '\0';
    char line[ERRLOG_LINE_SIZE];
    const int n =
        std::snprintf(line, sizeof line, "%.2d:%.2d:%.2d %s\r\n", now.hour, now.minute, now.second, cut);
    if (n < 0) return false;
    const size_t len = static_cast<size_t>(n) < sizeof line ? static_cast<size_t>(n) : sizeof line - 1;

    std::lock_guard<std::mutex> hold(FilesLock());
    const std::string folder = ErrLogFolder(appDir);
    if (!ops.MakeFolder(folder)) return false;
    return ops.Append(ErrLogFile(appDir, now), line, len);
}
