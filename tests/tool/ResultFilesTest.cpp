// Result files (entry lines unique, in byte order, counted; a rewrite that fails leaves the file as it
// was) and the error log (timed lines, text taken verbatim and cut), including writers on many threads.
#include "FakeFileOps.h"
#include "ResultFiles.h"
#include "ResultWriter.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

const LocalStamp kMorning = {2026, 3, 7, 9, 5, 1};

// The result directory in the scratch folder: ending with a separator.
std::string ResultDir(const ScratchFolder& dir) {
    return dir.Path() + FILE_PATH_SEPARATOR;
}

std::string MorningFile(const ScratchFolder& dir, const char* type = "IPC") {
    return MakeResultFileNames(ResultDir(dir).c_str(), kMorning, type).file;
}

} // namespace

TEST(ResultFiles, NamesByMonthTypeDayAndHalfDay) {
    struct Case {
        LocalStamp at;
        const char* type;
        const char* file; // '/' stands for the separator
        const char* tmp;
    };
    const Case cases[] = {
        {{2026, 3, 7, 0, 0, 0},
         "IPC",
         "r/2026_03/IPC/2026-03-07 AM IPC.txt",
         "r/2026_03/IPC/2026-03-07 tmp.txt"},
        {{2026, 3, 7, 12, 30, 0},
         "IPC",
         "r/2026_03/IPC/2026-03-07 AM IPC.txt",
         "r/2026_03/IPC/2026-03-07 tmp.txt"},
        {{2026, 3, 7, 13, 0, 0},
         "IPC",
         "r/2026_03/IPC/2026-03-07 PM IPC.txt",
         "r/2026_03/IPC/2026-03-07 tmp.txt"},
        {{2026, 11, 30, 23, 59, 59},
         "4660",
         "r/2026_11/4660/2026-11-30 PM 4660.txt",
         "r/2026_11/4660/2026-11-30 tmp.txt"},
    };
    for (const Case& c : cases) {
        const ResultFileNames n = MakeResultFileNames(Sep("r/").c_str(), c.at, c.type);
        EXPECT_EQ(n.file, Sep(c.file));
        EXPECT_EQ(n.tmpFile, Sep(c.tmp));
    }
    const ResultFileNames n = MakeResultFileNames("", kMorning, "DVR");
    EXPECT_EQ(n.monthFolder, "2026_03") << "an empty result directory is the working directory";
    EXPECT_EQ(n.typeFolder, Sep("2026_03/DVR"));
}

TEST(ResultFiles, LinesOrderAsSignedBytesWithTheLineFeed) {
    struct Case {
        const char* newLine;
        const char* fileLine;
        bool before;
    };
    const Case cases[] = {
        {"A12\n", "A123\n", true},
        {"A123\n", "A12\n", false},
        {"A10\n", "A9\n", true},
        {"A9\n", "A10\n", false},
        {"A6\n", "A7\n", true},
        {"A6\n", "A5\n", false},
        {"B1\n", "A99\n", false},
        {"\n", "A1\n", true}, // an empty group goes first
        {"A-1\n", "A1\n", true},
        {"A1\n", "A-1\n", false},
        // GBK bytes are negative as signed bytes: they sort before every ASCII character.
        {"\xB0\xA1"
         "1\n",
         "A1\n", true},
        {"A1\n",
         "\xB0\xA1"
         "1\n",
         false},
        // A last line without its line feed: no byte differs and the file's line is the shorter one.
        {"A12\n", "A12", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResultLineGoesBefore(c.newLine, c.fileLine), c.before)
            << "new " << c.newLine << " against file line " << c.fileLine;
}

TEST(ResultFiles, FirstRequestMakesFoldersAndFileThenLinesStaySortedAndCounted) {
    ScratchFolder dir;
    const std::string rd = ResultDir(dir);
    EXPECT_EQ(AppendResultEntry(rd.c_str(), kMorning, "IPC", "A", 5), ResultAppend::Created);
    EXPECT_TRUE(std::filesystem::is_directory(dir / Sep("2026_03/IPC")));
    EXPECT_EQ(FileBytes(MorningFile(dir)), "total=1\r\nA5\r\n");

    struct Step {
        const char* group;
        int32_t number;
        ResultAppend result;
        const char* text;
    };
    const Step steps[] = {
        {"A", 7, ResultAppend::Inserted, "total=2\nA5\nA7\n"},
        {"A", 6, ResultAppend::Inserted, "total=3\nA5\nA6\nA7\n"},
        {"A", 10, ResultAppend::Inserted, "total=4\nA10\nA5\nA6\nA7\n"},
        {"A", 8, ResultAppend::Inserted, "total=5\nA10\nA5\nA6\nA7\nA8\n"},
        {"", 3, ResultAppend::Inserted, "total=6\n3\nA10\nA5\nA6\nA7\nA8\n"},
        {"A", -1, ResultAppend::Inserted, "total=7\n3\nA-1\nA10\nA5\nA6\nA7\nA8\n"},
        // GBK bytes are negative as signed bytes: such a line goes before every ASCII one.
        {"\xB0\xA1", 1, ResultAppend::Inserted,
         "total=8\n\xB0\xA1"
         "1\n3\nA-1\nA10\nA5\nA6\nA7\nA8\n"},
        {"A", 9, ResultAppend::Inserted,
         "total=9\n\xB0\xA1"
         "1\n3\nA-1\nA10\nA5\nA6\nA7\nA8\nA9\n"},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(AppendResultEntry(rd.c_str(), kMorning, "IPC", s.group, s.number), s.result)
            << s.group << s.number;
        EXPECT_EQ(FileText(MorningFile(dir)), s.text) << "after " << s.group << s.number;
    }
    EXPECT_FALSE(std::filesystem::exists(MakeResultFileNames(rd.c_str(), kMorning, "IPC").tmpFile))
        << "the temporary file is left behind";
}

TEST(ResultFiles, ALineAlreadyThereLeavesTheFileByteForByte) {
    ScratchFolder dir;
    const std::string rd = ResultDir(dir);
    for (int n : {5, 7, 6})
        AppendResultEntry(rd.c_str(), kMorning, "IPC", "A", n);
    const std::string before = FileBytes(MorningFile(dir));
    for (int n : {5, 6, 7})
        EXPECT_EQ(AppendResultEntry(rd.c_str(), kMorning, "IPC", "A", n), ResultAppend::AlreadyThere);
    EXPECT_EQ(FileBytes(MorningFile(dir)), before);

    // A last line whose line feed was lost is the same entry, not one to add a second time.
    ASSERT_TRUE(WriteBytes(MorningFile(dir), "total=2\nA5\nA7"));
    EXPECT_EQ(AppendResultEntry(rd.c_str(), kMorning, "IPC", "A", 7), ResultAppend::AlreadyThere);
    EXPECT_EQ(FileBytes(MorningFile(dir)), "total=2\nA5\nA7");
    // Nor is a copy further down a damaged, unsorted file.
    ASSERT_TRUE(WriteBytes(MorningFile(dir), "total=2\r\nA9\r\nA5\r\n"));
    EXPECT_EQ(AppendResultEntry(rd.c_str(), kMorning, "IPC", "A", 5), ResultAppend::AlreadyThere);
}

TEST(ResultFiles, DamagedFilesKeepTheirLines) {
    const std::string longLine = "A" + std::string(1500, '7') + "\n"; // longer than one read
    struct Case {
        const char* what;
        std::string before;
        int32_t number;
        std::string after;
        bool leftover; // the bytes are the day's temporary file, and the file is missing
        ResultAppend result;
    };
    const ResultAppend kIns = ResultAppend::Inserted;
    const Case cases[] = {
        {"a first line that is an entry", "A100101\r\nA100102\r\n", 100120,
         "total=3\nA100101\nA100102\nA100120\n", false, kIns},
        {"CR-only line ends", "total=2\rA100101\rA100102\r", 100120, "total=3\nA100101\nA100102\nA100120\n",
         false, kIns},
        {"the count line is written anew", "total=x\nA1\n", 2, "total=2\nA1\nA2\n", false, kIns},
        {"empty lines are no entries", "total=5\n\nA1\r\n\r\n\rA3\n\n", 2, "total=3\nA1\nA2\nA3\n", false,
         kIns},
        {"empty file", "", 2, "total=1\nA2\n", false, kIns},
        {"last line without its line feed", "total=1\nA5", 6, "total=2\nA5\nA6\n", false, kIns},
        {"a long line is never split", "total=2\nA1\n" + longLine, 8, "total=3\nA1\n" + longLine + "A8\n",
         false, kIns},
        {"a long line before the new one", "total=2\n" + longLine + "A9\n", 8,
         "total=3\n" + longLine + "A8\nA9\n", false, kIns},
        // Bytes that a text-mode read takes for the end of the file or of a string are only bytes.
        {"Ctrl-Z in a line", "total=4\nA1\nA2\x1a\nA3\nA4\n", 5, "total=5\nA1\nA2\x1a\nA3\nA4\nA5\n", false,
         kIns},
        {"NUL in a line", std::string("total=2\nA1\0X\nA3\n", 16), 2,
         std::string("total=3\nA1\0X\nA2\nA3\n", 19), false, kIns},
        // What a crash between writing the temporary file and moving it into place leaves behind.
        {"a leftover temporary file", "total=2\r\nA5\r\nA7\r\n", 6, "total=3\nA5\nA6\nA7\n", true, kIns},
        {"a leftover without entries", "total=0\r\n", 6, "total=1\nA6\n", true, ResultAppend::Created},
    };
    for (const Case& c : cases) {
        ScratchFolder dir;
        const std::string rd = ResultDir(dir);
        const ResultFileNames names = MakeResultFileNames(rd.c_str(), kMorning, "IPC");
        AppendResultEntry(rd.c_str(), kMorning, "IPC", "Z", 0); // makes the folders
        if (c.leftover) std::filesystem::remove(names.file);
        ASSERT_TRUE(WriteBytes(c.leftover ? names.tmpFile : names.file, c.before)) << c.what;
        EXPECT_EQ(AppendResultEntry(rd.c_str(), kMorning, "IPC", "A", c.number), c.result) << c.what;
        EXPECT_EQ(FileText(names.file), c.after) << c.what;
        EXPECT_FALSE(std::filesystem::exists(names.tmpFile)) << c.what;
    }
    // Files with LF, CR LF or CR line ends, or all of them, are written back with CR LF throughout.
    ScratchFolder dir;
    const std::string rd = ResultDir(dir);
    AppendResultEntry(rd.c_str(), kMorning, "IPC", "Z", 0);
    ASSERT_TRUE(WriteBytes(MorningFile(dir), "total=2\nA1\r\nA3\rA4\n"));
    EXPECT_EQ(AppendResultEntry(rd.c_str(), kMorning, "IPC", "A", 2), ResultAppend::Inserted);
    EXPECT_EQ(FileBytes(MorningFile(dir)), "total=4\r\nA1\r\nA2\r\nA3\r\nA4\r\n");
}

namespace {

// The system's file operations, with the one step numbered failAt failing. The steps counted are
// those of writing a file: create, each write, flush, close and replace. A failing write writes half
// of its bytes first, as a full disk would. The status of unknownPath cannot be read.
class FailingOps : public PassThroughFileOps {
public:
    explicit FailingOps(int failAt) : m_failAt(failAt) {}
    int steps = 0;
    std::string unknownPath;

    PathStatus Status(const std::string& p, uint64_t& size, bool& folder) override {
        return p == unknownPath ? PathStatus::Unknown : Sys().Status(p, size, folder);
    }
    Handle Create(const std::string& p) override { return Fails() ? nullptr : Sys().Create(p); }
    bool Write(Handle h, const char* d, size_t n) override {
        if (!Fails()) return Sys().Write(h, d, n);
        Sys().Write(h, d, n / 2);
        return false;
    }
    bool Flush(Handle h) override { return !Fails() && Sys().Flush(h); }
    bool Close(Handle h) override {
        const bool fail = Fails();
        return Sys().Close(h) && !fail;
    }
    bool Replace(const std::string& from, const std::string& to) override {
        return !Fails() && Sys().Replace(from, to);
    }

private:
    bool Fails() { return steps++ == m_failAt; }
    int m_failAt;
};

} // namespace

TEST(ResultFiles, AFailureAtAnyStepLeavesTheFileAsItWasAndNoTemporaryFile) {
    ScratchFolder dir;
    const std::string rd = ResultDir(dir);
    const ResultFileNames names = MakeResultFileNames(rd.c_str(), kMorning, "IPC");
    std::string big = "total=8000\r\n"; // more than one piece of writing
    for (int i = 0; i < 8000; ++i)
        big += "A" + std::to_string(100000 + i) + "\r\n";
    for (const bool fileThere : {false, true}) {
        int steps = 0;
        for (int failAt = 0; steps == 0 && failAt < 20; ++failAt) {
            std::filesystem::remove(names.file);
            if (fileThere) {
                AppendResultEntry(rd.c_str(), kMorning, "IPC", "A", 1);
                ASSERT_TRUE(WriteBytes(names.file, big));
            }
            FailingOps ops(failAt);
            const ResultAppend r = AppendResultEntry(rd.c_str(), kMorning, "IPC", "A", 5, ops);
            EXPECT_FALSE(std::filesystem::exists(names.tmpFile)) << "step " << failAt << " failed";
            if (ops.steps <= failAt) { // no step failed: done
                EXPECT_EQ(r, fileThere ? ResultAppend::Inserted : ResultAppend::Created);
                steps = ops.steps;
                break;
            }
            EXPECT_EQ(r, ResultAppend::Failed) << "step " << failAt << " failed";
            EXPECT_EQ(FileBytes(names.file), fileThere ? big : "<missing>") << "step " << failAt << " failed";
        }
        EXPECT_EQ(steps, fileThere ? 6 : 5)
            << "create, " << (fileThere ? 2 : 1) << " writes, flush, close, replace";
    }
}

TEST(ResultFiles, FailuresLeaveTheFileAsItWas) {
    ScratchFolder dir;
    const std::string rd = ResultDir(dir);

    // The result directory's parent is missing: the month folder cannot be made.
    const std::string missing = dir / Sep("no/such/");
    EXPECT_EQ(AppendResultEntry(missing.c_str(), kMorning, "IPC", "A", 1), ResultAppend::Failed);
    EXPECT_FALSE(std::filesystem::exists(dir / "no"));

    // A file stands where the type folder belongs.
    ASSERT_TRUE(std::filesystem::create_directory(dir / "2026_03"));
    ASSERT_TRUE(WriteBytes(dir / Sep("2026_03/DVR"), "x"));
    EXPECT_EQ(AppendResultEntry(rd.c_str(), kMorning, "DVR", "A", 1), ResultAppend::Failed);
    EXPECT_EQ(FileBytes(dir / Sep("2026_03/DVR")), "x");

    // The temporary file cannot be made (a folder holds its name): the file keeps its lines and count.
    AppendResultEntry(rd.c_str(), kMorning, "IPC", "A", 5);
    const std::string before = FileBytes(MorningFile(dir));
    const std::string tmp = MakeResultFileNames(rd.c_str(), kMorning, "IPC").tmpFile;
    ASSERT_TRUE(std::filesystem::create_directory(tmp));
    ASSERT_TRUE(WriteBytes(tmp + FILE_PATH_SEPARATOR + "keep", "x")); // so that it is not removed either
    EXPECT_EQ(AppendResultEntry(rd.c_str(), kMorning, "IPC", "A", 6), ResultAppend::Failed);
    EXPECT_EQ(FileBytes(MorningFile(dir)), before);
    std::filesystem::remove_all(tmp);

    // A status that cannot be read says nothing of the lines in the file: it is not written over, and
    // neither is a temporary file whose status cannot be read while the file seems missing.
    FailingOps unknown(-1);
    unknown.unknownPath = MorningFile(dir);
    EXPECT_EQ(AppendResultEntry(rd.c_str(), kMorning, "IPC", "A", 6, unknown), ResultAppend::Failed);
    EXPECT_EQ(FileBytes(MorningFile(dir)), before);
    std::filesystem::rename(MorningFile(dir), tmp);
    unknown.unknownPath = tmp;
    EXPECT_EQ(AppendResultEntry(rd.c_str(), kMorning, "IPC", "A", 6, unknown), ResultAppend::Failed);
    EXPECT_EQ(FileBytes(tmp), before);
    EXPECT_FALSE(std::filesystem::exists(MorningFile(dir)));
    EXPECT_EQ(unknown.steps, 0) << "nothing was written";

    EXPECT_EQ(AppendResultEntry(rd.c_str(), kMorning, "IPC", "A", 6), ResultAppend::Inserted);
    EXPECT_EQ(FileText(MorningFile(dir)), "total=2\nA5\nA6\n");
}

TEST(ResultFiles, ManyThreadsLoseNoLine) {
    ScratchFolder dir;
    const std::string rd = ResultDir(dir);
    const int kThreads = 6, kEach = 20;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&rd, t] {
            for (int i = 0; i < kEach; ++i) {
                AppendResultEntry(rd.c_str(), kMorning, "IPC", "A", t * 1000 + i);
                AppendResultEntry(rd.c_str(), kMorning, "IPC", "A", i); // the same lines from every thread
            }
        });
    for (std::thread& th : threads)
        th.join();

    std::set<std::string> expected;
    for (int t = 0; t < kThreads; ++t)
        for (int i = 0; i < kEach; ++i) {
            expected.insert("A" + std::to_string(t * 1000 + i));
            expected.insert("A" + std::to_string(i));
        }
    std::string want = "total=" + std::to_string(expected.size()) + "\n";
    for (const std::string& line : expected)
        want += line + "\n"; // std::set orders "A10" before "A9" too
    EXPECT_EQ(FileText(MorningFile(dir)), want);
}

namespace {

const unsigned kGuardMs = 10000; // only a writer that never gets there waits this long

// The system's file operations, with a file that another program holds as a viewer (it may be read
// but not replaced) or a copy does (it may not be opened), or whose status cannot be read. The
// program's test on the line holds a file through a real handle.
enum class Hold { None, Shared, Exclusive, Unknown };
class HoldingOps : public FailingOps {
public:
    HoldingOps() : FailingOps(-1) {}
    void Take(const std::string& path, Hold kind) {
        std::lock_guard<std::mutex> g(m_lock);
        m_path = path;
        m_kind = kind;
    }
    void Let() { Take(std::string(), Hold::None); }
    PathStatus Status(const std::string& p, uint64_t& size, bool& folder) override {
        return Held(p, Hold::Unknown) ? PathStatus::Unknown : FailingOps::Status(p, size, folder);
    }
    bool Read(const std::string& p, std::string& b, size_t max) override {
        return !Held(p, Hold::Exclusive) && FailingOps::Read(p, b, max);
    }
    bool Replace(const std::string& from, const std::string& to) override {
        return !Held(to, Hold::Shared) && !Held(to, Hold::Exclusive) && FailingOps::Replace(from, to);
    }

private:
    bool Held(const std::string& p, Hold kind) {
        std::lock_guard<std::mutex> g(m_lock);
        return m_kind == kind && p == m_path;
    }
    std::mutex m_lock;
    std::string m_path;
    Hold m_kind = Hold::None;
};

ResultWriter::Entry Entry(const std::string& resultDir, const LocalStamp& at, const char* line) {
    return ResultWriter::Entry{MakeResultFileNames(resultDir.c_str(), at, "IPC"), line};
}

} // namespace

// A file held longer than any single try, shared or exclusive or with a status that cannot be read,
// holds back only its own lines: Post returns at once, lines for another file go in meanwhile, and
// the held lines go in, in one rewrite, once the holder lets go.
TEST(ResultWriter, AHeldFileDelaysItsLinesAndLosesNone) {
    ScratchFolder dir;
    const std::string rd = ResultDir(dir);
    const LocalStamp afternoon = {2026, 3, 7, 15, 0, 0};
    const std::string file = MakeResultFileNames(rd.c_str(), kMorning, "IPC").file;
    const std::string other = MakeResultFileNames(rd.c_str(), afternoon, "IPC").file;
    HoldingOps ops;
    ResultWriter writer(ops);
    ASSERT_TRUE(writer.Post(Entry(rd, kMorning, "A5")));
    ASSERT_TRUE(writer.WaitIdle(kGuardMs));
    std::set<std::string> lines = {"A5"};
    int n = 0;
    for (const Hold kind : {Hold::Shared, Hold::Exclusive, Hold::Unknown}) {
        const std::string a = "A" + std::to_string(60 + n), b = "A" + std::to_string(70 + n);
        ops.Take(file, kind);
        ASSERT_TRUE(writer.Post(Entry(rd, kMorning, a.c_str())));
        ASSERT_TRUE(writer.Post(Entry(rd, kMorning, b.c_str())));
        ASSERT_TRUE(writer.Post(Entry(rd, kMorning, a.c_str()))) << "a line already waiting is taken";
        ASSERT_TRUE(writer.Post(Entry(rd, afternoon, a.c_str())));
        for (int i = 0; i < 500 && FileText(other).find(a) == std::string::npos; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_NE(FileText(other).find(a + "\n"), std::string::npos)
            << "another file waited for the held one";
        // Long enough for several tries to fail.
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        EXPECT_FALSE(writer.WaitIdle(0));
        ops.Let();
        EXPECT_TRUE(writer.WaitIdle(kGuardMs)) << "hold " << n;
        lines.insert({a, b});
        std::string want = "total=" + std::to_string(lines.size()) + "\n";
        for (const std::string& line : lines)
            want += line + "\n";
        EXPECT_EQ(FileText(file), want) << "hold " << n;
        ++n;
    }
}

// At close the writer waits a short while for a held file, then hands back what it could not write,
// and takes nothing more.
TEST(ResultWriter, CloseHandsBackWhatAHeldFileKeptOut) {
    ScratchFolder dir;
    const std::string rd = ResultDir(dir);
    const std::string file = MakeResultFileNames(rd.c_str(), kMorning, "IPC").file;
    HoldingOps ops;
    ResultWriter writer(ops);
    ASSERT_TRUE(writer.Post(Entry(rd, kMorning, "A5")));
    ASSERT_TRUE(writer.WaitIdle(kGuardMs));
    ops.Take(file, Hold::Exclusive);
    ASSERT_TRUE(writer.Post(Entry(rd, kMorning, "A7")));
    ASSERT_TRUE(writer.Post(Entry(rd, kMorning, "A6")));
    const auto start = std::chrono::steady_clock::now();
    const std::vector<ResultWriter::Entry> left = writer.Close(300);
    const auto took = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0].line, "A7");
    EXPECT_EQ(left[1].line, "A6");
    EXPECT_EQ(left[0].names.file, file);
    EXPECT_GE(took, std::chrono::milliseconds(300)) << "it did not wait for the holder at all";
    EXPECT_LT(took, std::chrono::milliseconds(kGuardMs));
    EXPECT_FALSE(writer.Post(Entry(rd, kMorning, "A8")));
    ops.Let();
    EXPECT_EQ(FileText(file), "total=1\nA5\n");
}

TEST(ErrLog, TimedLinesInCallOrderWithTheTextVerbatim) {
    ScratchFolder dir;
    const LocalStamp t = {2026, 3, 7, 9, 5, 1};
    EXPECT_TRUE(AppendErrLogText(dir.Path().c_str(), t, "Type:IPC Group:A Data:5 Guid:{X}"));
    EXPECT_TRUE(AppendErrLogText(dir.Path().c_str(), t, "100% %s %d %n"));
    EXPECT_TRUE(AppendErrLogText(dir.Path().c_str(), t, "A\r\nB\x7f\xb0\xa1")); // control characters escaped
    const std::string file = ErrLogFile(dir.Path().c_str(), t);
    EXPECT_EQ(file, dir / Sep("ErrLogs/20260307.log"));
    EXPECT_EQ(FileBytes(file), "09:05:01 Type:IPC Group:A Data:5 Guid:{X}\r\n09:05:01 100% %s %d %n\r\n"
                               "09:05:01 A\\x0D\\x0AB\\x7F\xb0\xa1\r\n");

    const LocalStamp nextDay = {2026, 3, 8, 0, 0, 9};
    AppendErrLogText(dir.Path().c_str(), nextDay, "");
    EXPECT_EQ(FileBytes(dir / Sep("ErrLogs/20260308.log")), "00:00:09 \r\n");
}

TEST(ErrLog, LongTextIsCutAt499Characters) {
    ScratchFolder dir;
    const std::string text(800, 'x');
    AppendErrLogText(dir.Path().c_str(), kMorning, text.c_str());
    const std::string line = FileBytes(ErrLogFile(dir.Path().c_str(), kMorning));
    EXPECT_EQ(line, "09:05:01 " + std::string(499, 'x') + "\r\n");
    EXPECT_LE(line.size(), 511u);
    // A GBK character that the limit would cut in half is left out whole.
    const std::string gbk = std::string(498, 'x') + "\xB0\xA1";
    EXPECT_EQ(ErrLogLine(kMorning, gbk.c_str()), "09:05:01 " + std::string(498, 'x') + "\r\n");
}

TEST(ErrLog, AFolderThatCannotBeMadeLosesTheLineQuietly) {
    ScratchFolder dir;
    ASSERT_TRUE(WriteBytes(dir / "ErrLogs", "a file, not a folder"));
    EXPECT_FALSE(AppendErrLogText(dir.Path().c_str(), kMorning, "lost"));
    EXPECT_EQ(FileBytes(dir / "ErrLogs"), "a file, not a folder");
}

TEST(ErrLog, ManyThreadsKeepWholeLines) {
    ScratchFolder dir;
    const int kThreads = 6, kEach = 30;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&dir, t] {
            const std::string text = std::string(60, static_cast<char>('a' + t));
            for (int i = 0; i < kEach; ++i)
                AppendErrLogText(dir.Path().c_str(), kMorning, text.c_str());
        });
    for (std::thread& th : threads)
        th.join();
    const std::string all = FileBytes(ErrLogFile(dir.Path().c_str(), kMorning));
    const size_t lineSize = 9 + 60 + 2;
    ASSERT_EQ(all.size(), lineSize * kThreads * kEach);
    for (size_t at = 0; at < all.size(); at += lineSize) {
        const std::string line = all.substr(at, lineSize);
        EXPECT_EQ(line, "09:05:01 " + std::string(60, line[9]) + "\r\n") << "line at byte " << at;
    }
}
