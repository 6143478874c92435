// Writes arbitrary bytes as a result file (or as the day's leftover temporary file, the result file
// missing) and adds one entry line to it, then checks the outcome against the entry lines of the input
// counted by a rule of its own: every CR LF and every lone CR is a line feed, a first line that starts
// with "total=" is the count line, and every other line that is not empty is an entry line. The new
// file holds exactly those lines, in their order, with the new one once before the first line that
// sorts after it, a count line that counts them, and CR LF after each. The first five input bytes
// choose the entry line (group and number) and whether the bytes are the file or the leftover; the
// rest is the file. Each input starts without a result file or a temporary file, so a crash input
// reproduces alone.
#include "ResultFiles.h"

#include "FakeFileOps.h"
#include "NumberFiles.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// The system's operations without the flush to the disk, which only costs time here.
class NoSyncOps : public PassThroughFileOps {
public:
    bool Flush(Handle) override { return true; }
};

std::vector<std::string> EntryLines(const std::string& bytes) {
    std::string text;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r') {
            text += bytes[i];
            continue;
        }
        text += '\n';
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    }
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t lf; (lf = text.find('\n', from)) != std::string::npos; from = lf + 1)
        lines.push_back(text.substr(from, lf - from));
    lines.push_back(text.substr(from));
    if (lines.front().compare(0, 6, "total=") == 0) lines.erase(lines.begin());
    lines.erase(std::remove(lines.begin(), lines.end(), std::string()), lines.end());
    return lines;
}

// The file's order: bytes as signed values, each line with its line feed.
bool SortsAfter(const std::string& line, const std::string& entry) {
    const std::string a = line + '\n', b = entry + '\n';
    return std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), [](char x, char y) {
        return static_cast<signed char>(x) < static_cast<signed char>(y);
    });
}

// The run's own folder, removed when the fuzzer exits.
struct RunFolder {
    std::string path;
    RunFolder() {
        char tmpl[] = "/tmp/lk_resultfile_fuzz_XXXXXX";
        const char* d = mkdtemp(tmpl);
        if (d == nullptr) __builtin_trap();
        path = std::string(d) + "/";
    }
    ~RunFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

const std::string& Folder() {
    static const RunFolder dir;
    return dir.path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    static const char* const kGroups[] = {"", "A", "B1", "ZZ9"};
    const char* group = kGroups[data[0] & 3];
    const bool leftover = (data[0] & 4) != 0;
    int32_t number;
    std::memcpy(&number, data + 1, 4);
    const std::string old(reinterpret_cast<const char*>(data + 5), size - 5);
    std::string entry = ResultEntryLine(group, number);
    entry.pop_back(); // its line feed

    NoSyncOps ops;
    const LocalStamp at = {2026, 3, 7, 9, 5, 1};
    const ResultFileNames names = MakeResultFileNames(Folder().c_str(), at, "IPC");
    // Neither file of an earlier input is left; the folders are, which changes nothing.
    ops.Remove(names.file);
    ops.Remove(names.tmpFile);
    if (!ops.MakeFolder(names.monthFolder) || !ops.MakeFolder(names.typeFolder)) __builtin_trap();
    FileOps::Handle h = ops.Create(leftover ? names.tmpFile : names.file);
    if (h == nullptr || !ops.Write(h, old.data(), old.size()) || !ops.Close(h)) __builtin_trap();

    const ResultAppend r = AppendResultEntry(Folder().c_str(), at, "IPC", group, number, ops);
    std::string now;
    uint64_t tmpSize;
    bool tmpFolder;
    if (!ops.Read(names.file, now, RESULT_FILE_MAX) ||
        ops.Status(names.tmpFile, tmpSize, tmpFolder) != PathStatus::Missing)
        __builtin_trap();

    const std::vector<std::string> before = EntryLines(old);
    // A leftover without entry lines is no file: the entry makes a new one.
    const bool fresh = leftover && before.empty();
    if (std::find(before.begin(), before.end(), entry) != before.end()) {
        if (r != ResultAppend::AlreadyThere || now != old) __builtin_trap();
        return 0;
    }
    if (r != (fresh ? ResultAppend::Created : ResultAppend::Inserted)) __builtin_trap();
    std::vector<std::string> lines = before;
    const auto place = std::find_if(lines.begin(), lines.end(),
                                    [&entry](const std::string& line) { return SortsAfter(line, entry); });
    lines.insert(place, entry);
    std::string expected = "total=" + std::to_string(lines.size()) + "\r\n";
    for (const std::string& line : lines)
        expected += line + "\r\n";
    if (now != expected) __builtin_trap();
    return 0;
}
