// Result files and the error log of the number push. Every request leaves one entry line "group" +
// "number" in a result file per half-day and device type, kept unique, sorted and counted; a failed
// look-up leaves a timed line in the day's error log. Platform-free: callers pass the local time, and
// the file operations come through FileOps. The result files are rewritten through a temporary file
// whose name is fixed per day, so rewrites run one at a time under the result files' lock; appends to
// the error log run one at a time under a lock of their own, so a rewrite never holds up a log line.
// Neither lock is ever held while waiting for a file that someone else holds (ResultWriter.h retries).
//
// A result file is read as bytes: CR, LF and CR LF each end a line, so that a NUL or a Ctrl-Z inside a
// damaged line is only part of that line. The first line is the count line only when it starts with
// "total="; every other line that is not empty is an entry line. It is written with CRLF line ends, as
// the program's files have always had on disk, and "total=" counts the entry lines written.
#pragma once

#include "FileOps.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct LocalStamp {
    int year, month, day, hour, minute, second;
};

// Where one request's entry line goes: the month folder (resultDir + "YYYY_MM" + separator), the type
// folder under it, the file ("YYYY-MM-DD AM type.txt" up to hour 12, "... PM ..." from 13) and the
// temporary file of the rewrite ("YYYY-MM-DD tmp.txt"), all as full paths.
struct ResultFileNames {
    std::string monthFolder, typeFolder, file, tmpFile;
};
ResultFileNames MakeResultFileNames(const char* resultDir, const LocalStamp& now, const char* type);

// "group" + "number" + "\n".
std::string ResultEntryLine(const char* group, int32_t number);

// True when newLine belongs before fileLine: at the first differing byte (bytes as signed 8-bit
// values) the file's is the greater, or no byte differs over the shorter length and the file's line is
// the longer. With the line feed counted, "A12\n" goes before "A123\n", and "A10\n" before "A9\n".
// The rewrite places its lines by this order (on lines without their line ends, the feed implied).
bool ResultLineGoesBefore(const std::string& newLine, const std::string& fileLine);

enum class ResultAppend {
    Created,      // the file was new: "total=1" and the line
    Inserted,     // the file was rewritten with the count one up and the line in its place
    AlreadyThere, // the line was in the file; the file is unchanged
    Failed,       // a folder, the file or the temporary file could not be made, read or written, the
                  // file's status could not be read, or the file is larger than RESULT_FILE_MAX: the
                  // file is unchanged and no temporary file is left (a leftover one may have become
                  // the file, see below)
};

// A result file larger than this is left alone (a half-day's file holds a few thousand short lines).
constexpr uint64_t RESULT_FILE_MAX = 64u << 20;

// Adds entry lines (without their line ends) to the one result file of names, in one rewrite, under
// the result files' lock. The file is never changed in place: the whole new content goes into the
// temporary file, which is flushed to the disk and then moved over the file in one step (a new file is
// made the same way), so that a failure or a crash at any point leaves the old file or the new one
// whole. When the file is missing but a temporary file holding entry lines is there (left by a crash
// or by an older program), that one becomes the file first and the lines go into it. Inserted when
// any line was added, AlreadyThere when all were in the file already.
ResultAppend AppendResultLines(const ResultFileNames& names, const std::vector<std::string>& lines,
                               FileOps& ops = SystemFileOps());

// The same for the entry line of one request; resultDir is empty (the working directory) or ends with
// a separator.
ResultAppend AppendResultEntry(const char* resultDir, const LocalStamp& now, const char* type,
                               const char* group, int32_t number, FileOps& ops = SystemFileOps());

// The rewrite of one result file's bytes (see above) without touching any file: the new content, or
// false when the entry line is already there (every line of the file is looked at, so that a damaged,
// unsorted file still gets no second copy). The entry goes before the first line that sorts after it,
// every entry line of the old bytes is kept in its order, and the count line is written anew.
bool MergeResultEntry(const std::string& oldBytes, const std::string& entry, std::string& newBytes);

// The number of entry lines in a result file's bytes.
size_t CountResultEntries(const std::string& bytes);

// Texts of the error log: at most 499 characters, and the line "hh:mm:ss text\r\n" at most 511 bytes.
constexpr size_t ERRLOG_TEXT_SIZE = 500;
constexpr size_t ERRLOG_LINE_SIZE = 512;

// appDir + separator + "ErrLogs" and the day's file in it, "YYYYMMDD.log".
std::string ErrLogFolder(const char* appDir);
std::string ErrLogFile(const char* appDir, const LocalStamp& now);

// The line "hh:mm:ss text\r\n" of the error log. The text is taken as it is (no format characters are
// interpreted), except that control characters become \xNN, so that a camera's text can never split a
// line; it is cut at 499 characters, never inside an escape or a GBK character.
std::string ErrLogLine(const LocalStamp& now, const char* text);

// Appends ErrLogLine to the day's error log, creating the folder and the file when missing, under the
// error log's lock. False when the line could not be written (it is then lost), and at once when
// appDir is empty: the program's folder is unknown, and a log beside no folder would land at the root.
bool AppendErrLogText(const char* appDir, const LocalStamp& now, const char* text,
                      FileOps& ops = SystemFileOps());

// Every byte of text as \xNN (upper-case hex): how a camera text unfit for a file name is logged.
std::string HexEscaped(const char* text);
