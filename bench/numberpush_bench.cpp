// The number push's file work against the plainest whole-file-at-once way of doing the same:
//  - look-up: the last record of a 100,000-record number file, against reading the whole file in one
//    call and scanning it;
//  - insert: one new entry line into a 10,000-line result file, against reading the whole file in
//    one call and writing the new content in one call, with the same flush and replace;
//  - answer: what the number push does with files before a camera gets its answer (the look-up, and
//    the result line handed to the writer) while another program holds the result file, against the
//    same with the file free; and how soon the lines held back are in the file once it is let go.
// Rounds alternate between the two so that both see the same machine. Prints p50 and p99 of each and
// the ratios. Run it with scripts/bench (under Wine, and natively for comparison).
#include "FileOps.h"
#include "NumberFiles.h"
#include "ResultFiles.h"
#include "ResultWriter.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kRecords = 100000;
constexpr int kLines = 10000;
constexpr int kRounds = 300;

double Now() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void Guid(int i, uint8_t (&g)[NUMBER_GUID_SIZE]) {
    for (size_t k = 0; k < sizeof g; ++k)
        g[k] = static_cast<uint8_t>(i >> (8 * (k % 4)) ^ (k * 37));
}

bool WriteAll(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// Reference look-up: the whole file in one read, then the same search over memory.
int32_t LookupWhole(const char* path, const uint8_t (&guid)[NUMBER_GUID_SIZE]) {
    FILE* f = std::fopen(path, "rb");
    if (!f) return 0;
    std::fseek(f, 0, SEEK_END);
    const long size = std::ftell(f);
    std::fseek(f, 0, SEEK_SET);
    std::vector<uint8_t> all(static_cast<size_t>(size));
    const size_t got = std::fread(all.data(), 1, all.size(), f);
    std::fclose(f);
    if (got < NUMBER_FILE_HEADER_SIZE) return 0;
    int32_t count;
    std::memcpy(&count, all.data() + 4, 4);
    for (int32_t i = 0; i < count; ++i) {
        const size_t at = NUMBER_FILE_HEADER_SIZE + static_cast<size_t>(i) * NUMBER_FILE_RECORD_SIZE;
        if (at + NUMBER_FILE_RECORD_SIZE > got) break;
        if (std::memcmp(all.data() + at, guid, NUMBER_GUID_SIZE) == 0) {
            int32_t n;
            std::memcpy(&n, all.data() + at + NUMBER_GUID_SIZE, 4);
            return n;
        }
    }
    return 0;
}

// Reference insert: read everything in one call, find the place, write everything in one call, with
// the same flush and replace as the program.
bool InsertWhole(const std::string& file, const std::string& tmp, const std::string& entry) {
    FileOps& ops = SystemFileOps();
    std::string old;
    if (!ops.Read(file, old, RESULT_FILE_MAX)) return false;
    const size_t body = old.find('\n') + 1;
    size_t at = body;
    const std::string line = entry + "\r\n";
    while (at < old.size()) {
        const size_t end = old.find('\n', at) + 1;
        if (old.compare(at, end - at, line) > 0) break; // ASCII lines: plain order will do
        at = end;
    }
    const std::string total = "total=" + std::to_string(std::atoi(old.c_str() + 6) + 1) + "\r\n";
    const std::string out = total + old.substr(body, at - body) + line + old.substr(at);
    FileOps::Handle h = ops.Create(tmp);
    if (h == nullptr) return false;
    const bool ok = ops.Write(h, out.data(), out.size()) && ops.Flush(h);
    return ops.Close(h) && ok && ops.Replace(tmp, file);
}

// Another program holding a file, as a copy does: nobody else may open it. On Windows a real handle
// without sharing; natively (no such locks) the file layer refuses the file while it is held.
class Holder : public FileOps {
public:
    bool Take(const std::string& path) {
        std::lock_guard<std::mutex> g(m_lock);
        m_path = path;
#ifdef _WIN32
        m_handle = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
        return m_handle != INVALID_HANDLE_VALUE;
#else
        return true;
#endif
    }
    void Let() {
        std::lock_guard<std::mutex> g(m_lock);
        m_path.clear();
#ifdef _WIN32
        if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
#endif
    }
    PathStatus Status(const std::string& p, uint64_t& s, bool& f) override {
        return Sys().Status(p, s, f);
    }
    bool MakeFolder(const std::string& p) override {
        return Sys().MakeFolder(p);
    }
    bool Read(const std::string& p, std::string& b, size_t m) override {
        return !Held(p) && Sys().Read(p, b, m);
    }
    Handle Create(const std::string& p) override {
        return Sys().Create(p);
    }
    bool Write(Handle h, const char* d, size_t n) override {
        return Sys().Write(h, d, n);
    }
    bool Flush(Handle h) override {
        return Sys().Flush(h);
    }
    bool Close(Handle h) override {
        return Sys().Close(h);
    }
    bool Replace(const std::string& a, const std::string& b) override {
        return !Held(b) && Sys().Replace(a, b);
    }
    bool Remove(const std::string& p) override {
        return Sys().Remove(p);
    }
    bool Append(const std::string& p, const char* d, size_t n) override {
        return Sys().Append(p, d, n);
    }

private:
    static FileOps& Sys() {
        return SystemFileOps();
    }
    bool Held(const std::string& p) {
#ifdef _WIN32
        (void)p;
        return false; // the system refuses it
#else
        std::lock_guard<std::mutex> g(m_lock);
        return p == m_path;
#endif
    }
    std::mutex m_lock;
    std::string m_path;
#ifdef _WIN32
    HANDLE m_handle = INVALID_HANDLE_VALUE;
#endif
};

struct Stats {
    double p50, p99;
};
Stats Percentiles(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return Stats{v[v.size() / 2], v[std::min(v.size() - 1, v.size() * 99 / 100)]};
}

void Report(const char* what, const std::vector<double>& ours, const std::vector<double>& ref,
            double target) {
    const Stats a = Percentiles(ours), b = Percentiles(ref);
    std::printf("%-8s ours p50 %7.3f ms  p99 %7.3f ms | reference p50 %7.3f ms  p99 %7.3f ms | "
                "ratio p50 %.2fx  p99 %.2fx (target %.1fx)\n",
                what, a.p50, a.p99, b.p50, b.p99, a.p50 / b.p50, a.p99 / b.p99, target);
}

} // namespace

int main() {
    namespace fs = std::filesystem;
    const char sep = FILE_PATH_SEPARATOR;
    // A folder of this run's own: two runs at once must not share files.
    std::string dir;
    std::random_device seed;
    for (int i = 0; i < 100 && dir.empty(); ++i) {
        const fs::path p = fs::temp_directory_path() / ("lk_bench_" + std::to_string(seed()));
        std::error_code ec;
        if (fs::create_directory(p, ec)) dir = p.string();
    }
    if (dir.empty()) {
        std::printf("no scratch folder could be made\n");
        return 1;
    }

    // A number file of 100,000 records; the camera asked about is the last one.
    std::string orv(NUMBER_FILE_HEADER_SIZE, '\0');
    const int32_t count = kRecords;
    std::memcpy(&orv[4], &count, 4);
    for (int i = 0; i < kRecords; ++i) {
        uint8_t g[NUMBER_GUID_SIZE];
        Guid(i, g);
        orv.append(reinterpret_cast<const char*>(g), sizeof g);
        const int32_t number = 100000 + i;
        orv.append(reinterpret_cast<const char*>(&number), 4);
    }
    const std::string orvPath = dir + sep + "567.orv";
    uint8_t last[NUMBER_GUID_SIZE];
    Guid(kRecords - 1, last);

    // Two copies of a result file of 10,000 entry lines (even numbers); new lines fall between them.
    const LocalStamp at = {2026, 3, 7, 9, 5, 1};
    const std::string oursDir = dir + sep + "ours" + sep, refDir = dir + sep + "ref" + sep;
    fs::create_directories(oursDir);
    fs::create_directories(refDir);
    std::string result = "total=" + std::to_string(kLines) + "\r\n";
    for (int i = 0; i < kLines; ++i)
        result += "A" + std::to_string(1000000 + 2 * i) + "\r\n";
    AppendResultEntry(oursDir.c_str(), at, "IPC", "A", 1); // the folders
    const ResultFileNames ours = MakeResultFileNames(oursDir.c_str(), at, "IPC");
    const ResultFileNames ref = MakeResultFileNames(refDir.c_str(), at, "IPC");
    fs::create_directories(ref.typeFolder);
    if (!WriteAll(orvPath, orv) || !WriteAll(ours.file, result) || !WriteAll(ref.file, result)) {
        std::printf("cannot write the files under %s\n", dir.c_str());
        return 1;
    }

    std::vector<double> lookOurs, lookRef, insOurs, insRef, both;
    for (int r = 0; r < kRounds; ++r) {
        double t = Now();
        const int32_t a = FindNumberInFile(orvPath.c_str(), last);
        const double look = Now() - t;
        t = Now();
        const int32_t b = LookupWhole(orvPath.c_str(), last);
        lookRef.push_back(Now() - t);
        if (a != 100000 + kRecords - 1 || b != a) {
            std::printf("look-up gave %d and %d\n", a, b);
            return 1;
        }
        const int number = 1000001 + 2 * ((r * 7919) % kLines);
        t = Now();
        const ResultAppend added = AppendResultEntry(oursDir.c_str(), at, "IPC", "A", number);
        const double ins = Now() - t;
        t = Now();
        const bool refAdded = InsertWhole(ref.file, ref.tmpFile, "A" + std::to_string(number));
        insRef.push_back(Now() - t);
        if (added != ResultAppend::Inserted || !refAdded) {
            std::printf("insert %d failed\n", number);
            return 1;
        }
        lookOurs.push_back(look);
        insOurs.push_back(ins);
        both.push_back(look + ins);
    }
    std::printf("%d rounds under %s\n", kRounds, dir.c_str());
    Report("look-up", lookOurs, lookRef, 1.5);
    Report("insert", insOurs, insRef, 1.2);
    const Stats s = Percentiles(both);
    std::printf("together ours p50 %7.3f ms  p99 %7.3f ms (target p50 < 10 ms)\n", s.p50, s.p99);

    // The answer's file work in blocks of rounds, the day's result file held by another program in
    // every other block; the lines held back go in when the holder lets go.
    Holder holder;
    ResultWriter writer(holder);
    std::vector<double> answerHeld, answerFree;
    double landedMs = 0;
    constexpr int kBlock = 25;
    for (int block = 0; block < kRounds / kBlock; ++block) {
        const bool held = block % 2 == 0;
        if (held && !holder.Take(ours.file)) {
            std::printf("the result file could not be held\n");
            return 1;
        }
        for (int i = 0; i < kBlock; ++i) {
            const int number = 3000001 + 2 * (block * kBlock + i);
            const double t = Now();
            const int32_t found = FindNumberInFile(orvPath.c_str(), last);
            const bool posted = writer.Post({ours, "A" + std::to_string(number)});
            (held ? answerHeld : answerFree).push_back(Now() - t);
            if (found != 100000 + kRecords - 1 || !posted) {
                std::printf("answer %d failed\n", number);
                return 1;
            }
        }
        if (held && writer.WaitIdle(0)) {
            std::printf("lines went into a held file\n");
            return 1;
        }
        const double let = Now();
        if (held) holder.Let();
        if (!writer.WaitIdle(10000)) {
            std::printf("the lines did not go in\n");
            return 1;
        }
        if (held) landedMs = std::max(landedMs, Now() - let);
    }
    const Stats h = Percentiles(answerHeld), f = Percentiles(answerFree);
    std::printf("answer   result file held p50 %7.3f ms  p99 %7.3f ms | file free p50 %7.3f ms  p99 %7.3f ms "
                "(target: as without the holder)\n",
                h.p50, h.p99, f.p50, f.p99);
    std::printf("         lines held back in the file at most %.0f ms after the holder let go\n", landedMs);
    writer.Close(1000);

    std::error_code ec;
    fs::remove_all(dir, ec);
    return 0;
}
