// Writes arbitrary bytes as a result file in a folder of its own and adds one entry line to it, then
// checks what the rewrite promises: every line of the old file (each entry line above all) is still
// there, the new line is there once, and the count line is N + 1 (N read from the old first line). The first
// five input bytes choose the entry line (group and number); the rest is the file.
#include "ResultFiles.h"

#include "NumberFiles.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// The system's operations without the flush to the disk, which only costs time here.
class NoSyncOps : public FileOps {
public:
    bool Status(const std::string& p, uint64_t& s, bool& f) override { return Sys().Status(p, s, f); }
    bool MakeFolder(const std::string& p) override { return Sys().MakeFolder(p); }
    bool Read(const std::string& p, std::string& b, size_t m) override { return Sys().Read(p, b, m); }
    Handle Create(const std::string& p) override { return Sys().Create(p); }
    bool Write(Handle h, const char* d, size_t n) override { return Sys().Write(h, d, n); }
    bool Flush(Handle) override { return true; }
    bool Close(Handle h) override { return Sys().Close(h); }
    bool Replace(const std::string& a, const std::string& b) override { return Sys().Replace(a, b); }
    bool Remove(const std::string& p) override { return Sys().Remove(p); }
    bool Append(const std::string& p, const char* d, size_t n) override { return Sys().Append(p, d, n); }

private:
    static FileOps& Sys() { return SystemFileOps(); }
};

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < bytes.size()) {
        size_t lf = bytes.find('\n', at);
        const size_t stop = lf == std::string::npos ? bytes.size() : lf;
        size_t n = stop - at;
        if (lf != std::string::npos && n > 0 && bytes[stop - 1] == '\r') --n;
        lines.push_back(bytes.substr(at, n));
        at = lf == std::string::npos ? bytes.size() : lf + 1;
    }
    if (bytes.empty()) lines.push_back(std::string());
    return lines;
}

long long CountOf(const std::string& first) {
    if (first.compare(0, 6, "total=") != 0) return 0;
    size_t i = 6;
    while (i < first.size() && std::strchr(" \t\n\v\f\r", first[i]) && first[i] != '\0')
        ++i;
    const bool negative = i < first.size() && first[i] == '-';
    if (i < first.size() && (first[i] == '-' || first[i] == '+')) ++i;
    long long v = 0;
    while (i < first.size() && first[i] >= '0' && first[i] <= '9') {
        v = v * 10 + (first[i++] - '0');
        if (v > INT_MAX) v = INT_MAX + 1LL; // held beyond the range
    }
    if (negative) v = -v;
    return v > INT_MAX ? INT_MAX : v < INT_MIN ? INT_MIN : v;
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
    int32_t number;
    std::memcpy(&number, data + 1, 4);
    const std::string old(reinterpret_cast<const char*>(data + 5), size - 5);
    std::string entry = ResultEntryLine(group, number);
    entry.pop_back(); // its line feed

    static NoSyncOps ops;
    const LocalStamp at = {2026, 3, 7, 9, 5, 1};
    const ResultFileNames names = MakeResultFileNames(Folder().c_str(), at, "IPC");
    ops.MakeFolder(names.monthFolder);
    ops.MakeFolder(names.typeFolder);
    FileOps::Handle h = ops.Create(names.file);
    if (h == nullptr || !ops.Write(h, old.data(), old.size()) || !ops.Close(h)) __builtin_trap();

    const ResultAppend r = AppendResultEntry(Folder().c_str(), at, "IPC", group, number, ops);
    std::string now;
    uint64_t tmpSize;
    bool tmpFolder;
    if (!ops.Read(names.file, now, RESULT_FILE_MAX) || ops.Status(names.tmpFile, tmpSize, tmpFolder))
        __builtin_trap();

    const std::vector<std::string> before = Lines(old), after = Lines(now);
    size_t copies = 0;
    for (size_t i = 1; i < after.size(); ++i)
        copies += after[i] == entry;
    if (r == ResultAppend::AlreadyThere) {
        if (now != old) __builtin_trap();
        bool there = false;
        for (size_t i = 1; i < before.size(); ++i)
            there = there || before[i] == entry;
        if (!there) __builtin_trap();
        return 0;
    }
    if (r != ResultAppend::Inserted || copies != 1) __builtin_trap();
    if (after[0] != "total=" + std::to_string(CountOf(before[0]) + 1)) __builtin_trap();
    if (after.size() != before.size() + 1) __builtin_trap();
    // Every entry line of the old file is still there, in the same order; so is every other line,
    // damaged ones included.
    size_t j = 1;
    for (size_t i = 1; i < before.size(); ++i, ++j) {
        if (after[j] == entry) ++j;
        if (j >= after.size() || after[j] != before[i]) __builtin_trap();
    }
    return 0;
}
