#include "ResultFiles.h"

#include "GbkText.h"
#include "NumberFiles.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace {

// A rewrite uses the day's fixed temporary name; an error-log append is a seek followed by a write.
std::mutex& ResultFilesLock() {
    static std::mutex lock;
    return lock;
}
std::mutex& ErrLogLock() {
    static std::mutex lock;
    return lock;
}

const char kLineEnd[] = "\r\n";
const char kCountPrefix[] = "total=";
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
signed char TerminatedByte(const char* p, size_t n, size_t i) {
    return static_cast<signed char>(i < n ? p[i] : '\n');
}

// ResultLineGoesBefore on lines whose line feed is implied.
bool GoesBefore(const LineView& entry, const LineView& line) {
    const size_t n = (entry.n < line.n ? entry.n : line.n) + 1;
    for (size_t i = 0; i < n; ++i) {
        const signed char a = TerminatedByte(line.p, line.n, i);
        const signed char b = TerminatedByte(entry.p, entry.n, i);
        if (a != b) return a > b;
    }
    return line.n > entry.n;
}

// The line that starts at `at`: its bytes up to CR, LF or CR LF. Returns where the next one starts;
// crlf tells whether this one ended with CR LF.
const char* NextLine(const char* at, const char* end, LineView& line, bool& crlf) {
    const char* lf = static_cast<const char*>(std::memchr(at, '\n', static_cast<size_t>(end - at)));
    const char* stop = lf ? lf : end;
    const char* cr = static_cast<const char*>(std::memchr(at, '\r', static_cast<size_t>(stop - at)));
    if (cr != nullptr) stop = cr;
    line = LineView{at, static_cast<size_t>(stop - at)};
    crlf = cr != nullptr && cr + 1 == lf;
    if (stop == end) return end;
    return stop + (crlf ? 2 : 1);
}

// The same for a file whose only CRs are those before an LF: the line ends at the next LF.
const char* NextLineAtLf(const char* at, const char* end, LineView& line, bool& crlf) {
    const char* lf = static_cast<const char*>(std::memchr(at, '\n', static_cast<size_t>(end - at)));
    const char* stop = lf ? lf : end;
    crlf = lf != nullptr && lf > at && lf[-1] == '\r';
    line = LineView{at, static_cast<size_t>(stop - at) - (crlf ? 1 : 0)};
    return lf ? lf + 1 : end;
}

// The number of CRs in [p, end), eight bytes at a time: a rewrite looks at every byte of the file once
// more for them, and a plain loop over the bytes costs as much as the rest of the scan.
size_t CountCr(const char* p, const char* end) {
    const uint64_t kOnes = 0x0101010101010101ULL, kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    size_t n = 0;
    for (; end - p >= 8; p += 8) {
        uint64_t w;
        std::memcpy(&w, p, sizeof w);
        const uint64_t x = w ^ (kOnes * '\r'); // a zero byte for each CR
        // The top bit of each byte of x that is not zero; then one for each zero byte, summed bytewise.
        const uint64_t nonZero = ((x & kLow7) + kLow7) | x;
        n += static_cast<size_t>(((~nonZero & ~kLow7) >> 7) * kOnes >> 56);
    }
    for (; p < end; ++p)
        n += *p == '\r';
    return n;
}

// Where the entry lines start: after the first line when it is the count line, else at the start.
const char* BodyOf(const std::string& bytes) {
    const char* const begin = bytes.data();
    const size_t k = sizeof kCountPrefix - 1;
    if (bytes.size() < k || std::memcmp(begin, kCountPrefix, k) != 0) return begin;
    LineView countLine;
    bool crlf;
    return NextLine(begin, begin + bytes.size(), countLine, crlf);
}

// What a rewrite needs to know of the lines of a file, looked at for a copy of the entry.
struct Scan {
    const char* insertAt = nullptr; // the first line that sorts after the entry
    bool asWritten = true;          // every line ends in CR LF and none is empty
    size_t count = 0;               // entry lines
    size_t pairs = 0;               // CR LF line ends
    bool there = false;             // the entry is one of them; the scan stopped there
};

template <const char* (*Next)(const char*, const char*, LineView&, bool&)>
Scan ScanLines(const char* body, const char* end, const LineView& entry) {
    Scan r;
    for (const char* at = body; at < end;) {
        LineView line;
        bool crlf;
        const char* next = Next(at, end, line, crlf);
        r.pairs += crlf;
        r.asWritten = r.asWritten && crlf && line.n > 0;
        if (line.n > 0) {
            ++r.count;
            if (line.n == entry.n && std::memcmp(line.p, entry.p, line.n) == 0) {
                r.there = true;
                return r;
            }
            if (r.insertAt == nullptr && GoesBefore(entry, line)) r.insertAt = at;
        }
        at = next;
    }
    return r;
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

// A temporary file that holds entry lines while the file itself is missing is what is left of the
// day's file (a crash between writing it and moving it into place, or an older program that deleted
// the file before the move): it becomes the file, so that the rewrite keeps its lines. False when it
// cannot be told or done: then nothing may be written over it.
bool AdoptLeftover(FileOps& ops, const ResultFileNames& names) {
    uint64_t size = 0;
    bool isFolder = false;
    switch (ops.Status(names.tmpFile, size, isFolder)) {
    case PathStatus::Missing:
        return true;
    case PathStatus::Unknown:
        return false;
    case PathStatus::Found:
        break;
    }
    if (isFolder) return true; // not ours: the rewrite fails on it and leaves it alone
    if (size > RESULT_FILE_MAX) return false;
    std::string bytes;
    if (!ops.Read(names.tmpFile, bytes, static_cast<size_t>(RESULT_FILE_MAX) + 1)) return false;
    return CountResultEntries(bytes) == 0 || ops.Replace(names.tmpFile, names.file);
}

ResultAppend AppendLocked(const ResultFileNames& names, const std::vector<std::string>& lines, FileOps& ops) {
    uint64_t size = 0;
    bool isFolder = false;
    PathStatus status = ops.Status(names.file, size, isFolder);
    if (status == PathStatus::Missing) {
        // Only a new file needs its folders made (a file that is there has them).
        if (!ops.MakeFolder(names.monthFolder) || !ops.MakeFolder(names.typeFolder) ||
            !AdoptLeftover(ops, names))
            return ResultAppend::Failed;
        status = ops.Status(names.file, size, isFolder);
    }
    // A file whose status cannot be read may well be there, full of lines: never write over it.
    if (status == PathStatus::Unknown) return ResultAppend::Failed;
    const bool created = status == PathStatus::Missing;
    std::string old;
    if (!created) {
        if (isFolder || size > RESULT_FILE_MAX) return ResultAppend::Failed;
        if (!ops.Read(names.file, old, static_cast<size_t>(RESULT_FILE_MAX) + 1) ||
            old.size() > RESULT_FILE_MAX)
            return ResultAppend::Failed;
    }
    std::string content, next;
    bool added = false;
    for (const std::string& line : lines) {
        if (!MergeResultEntry(added ? content : old, line, next)) continue;
        content.swap(next);
        added = true;
    }
    if (!added) return ResultAppend::AlreadyThere;
    if (!WriteAndReplace(ops, names.tmpFile, names.file, content)) return ResultAppend::Failed;
    return created ? ResultAppend::Created : ResultAppend::Inserted;
}

} // namespace

bool MergeResultEntry(const std::string& oldBytes, const std::string& entry, std::string& newBytes) {
    const char* const end = oldBytes.data() + oldBytes.size();
    const char* const body = BodyOf(oldBytes);
    const LineView newLine{entry.data(), entry.size()};

    // Every line is looked at for a copy of the entry; the first line that sorts after it is where
    // the entry goes. When every line ends in CR LF and none is empty, the bytes can be copied as
    // they are. Nearly every file holds no CR but those before an LF: its lines are found with one
    // search for LF each, and the CRs so found are checked against all of them; any other file is
    // read once more by the whole rule. (A copy of the entry found the first way is one by the whole
    // rule too: it holds no CR, and an LF ends a line by either.)
    Scan r = ScanLines<NextLineAtLf>(body, end, newLine);
    if (!r.there && r.pairs != CountCr(body, end)) r = ScanLines<NextLine>(body, end, newLine);
    if (r.there) return false;
    const char* const insertAt = r.insertAt != nullptr ? r.insertAt : end;

    newBytes.clear();
    newBytes.reserve(oldBytes.size() + entry.size() + 32);
    newBytes += kCountPrefix + std::to_string(r.count + 1);
    newBytes += kLineEnd;
    auto copyLines = [&](const char* from, const char* to) {
        if (r.asWritten) {
            newBytes.append(from, static_cast<size_t>(to - from));
            return;
        }
        while (from < to) {
            LineView line;
            bool crlf;
            from = NextLine(from, to, line, crlf);
            if (line.n == 0) continue;
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

size_t CountResultEntries(const std::string& bytes) {
    const char* const end = bytes.data() + bytes.size();
    size_t count = 0;
    for (const char* at = BodyOf(bytes); at < end;) {
        LineView line;
        bool crlf;
        at = NextLine(at, end, line, crlf);
        count += line.n > 0;
    }
    return count;
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
    // The rewrite's own order, on the lines as given: a line feed that ends both compares equal.
    auto bare = [](const std::string& s) {
        return LineView{s.data(), !s.empty() && s.back() == '\n' ? s.size() - 1 : s.size()};
    };
    return GoesBefore(bare(newLine), bare(fileLine));
}

ResultAppend AppendResultLines(const ResultFileNames& names, const std::vector<std::string>& lines,
                               FileOps& ops) {
    std::lock_guard<std::mutex> hold(ResultFilesLock());
    return AppendLocked(names, lines, ops);
}

ResultAppend AppendResultEntry(const char* resultDir, const LocalStamp& now, const char* type,
                               const char* group, int32_t number, FileOps& ops) {
    std::string entry = ResultEntryLine(group, number);
    entry.pop_back(); // the line feed: lines are compared without their line ends
    return AppendResultLines(MakeResultFileNames(resultDir, now, type), {entry}, ops);
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

namespace {

// A GBK lead byte with its trail byte after it: the two are one character. A control character after
// a lead byte is no trail byte; it is escaped like any other.
bool IsGbkPair(const char* p) {
    const unsigned char lead = static_cast<unsigned char>(p[0]), trail = static_cast<unsigned char>(p[1]);
    return IsGbkLeadByte(lead) && trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
}

} // namespace

std::string ErrLogLine(const LocalStamp& now, const char* text) {
    // Control characters as \xNN; at the limit neither an escape nor a GBK character is cut in half.
    char cut[ERRLOG_TEXT_SIZE];
    size_t used = 0;
    for (const char* p = text ? text : ""; *p;) {
        const unsigned char c = static_cast<unsigned char>(*p);
        const bool control = c < 0x20 || c == 0x7F;
        const bool pair = IsGbkPair(p);
        const size_t take = pair ? 2 : 1;
        if (used + (control ? 4 : take) > sizeof cut - 1) break;
        if (control) {
            used += static_cast<size_t>(std::snprintf(cut + used, sizeof cut - used, "\\x%02X", c));
        } else {
            std::memcpy(cut + used, p, take);
            used += take;
        }
        p += take;
    }
    cut[used] = '\0';
    char line[ERRLOG_LINE_SIZE];
    const int n =
        std::snprintf(line, sizeof line, "%.2d:%.2d:%.2d %s\r\n", now.hour, now.minute, now.second, cut);
    if (n < 0) return std::string();
    return std::string(line, static_cast<size_t>(n) < sizeof line ? static_cast<size_t>(n) : sizeof line - 1);
}

bool AppendErrLogText(const char* appDir, const LocalStamp& now, const char* text, FileOps& ops) {
    if (appDir == nullptr || appDir[0] == '\0') return false;
    const std::string line = ErrLogLine(now, text);
    if (line.empty()) return false;
    std::lock_guard<std::mutex> hold(ErrLogLock());
    if (!ops.MakeFolder(ErrLogFolder(appDir))) return false;
    return ops.Append(ErrLogFile(appDir, now), line.data(), line.size());
}
