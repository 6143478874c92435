// Result files and the error log of the number push. Every request leaves one entry line "group" +
// "number" in a result file per half-day and device type, kept unique, sorted and counted; a failed
// look-up leaves a timed line in the day's error log. Requests arrive on the device SDK's threads, so
// both writers run one at a time under one process-wide lock (the result file is rewritten through a
// temporary file whose name is fixed per day). Platform-free: callers pass the local time, and the
// file operations come through FileOps.
//
// A result file is read as bytes: a line ends at LF, with a CR before it belonging to the line end, so
// that a NUL or a Ctrl-Z inside a damaged line is only part of that line. It is written with CRLF line
// ends, as the program's files have always had on disk.
#pragma once

#include "FileOps.h"

#include <cstddef>
#include <cstdint>
#include <string>

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
bool ResultLineGoesBefore(const std::string& newLine, const std::string& fileLine);

enum class ResultAppend {
    Created,      // the file was new: "total=1" and the line
    Inserted,     // the file was rewritten with the count one up and the line in its place
    AlreadyThere, // the line was in the file; the file is unchanged
    Failed,       // a folder, the file or the temporary file could not be made or written, or the file
                  // is larger than RESULT_FILE_MAX: the file is unchanged and no temporary file is left
};

// A result file larger than this is left alone (a half-day's file holds a few thousand short lines).
constexpr uint64_t RESULT_FILE_MAX = 64u << 20;

// Adds the entry line of one request to its result file (see above), under the process-wide lock.
// resultDir is empty (the working directory) or ends with a separator. The file is never changed in
// place: the whole new content goes into the temporary file, which is flushed to the disk and then
// moved over the file in one step (a new file is made the same way), so that a failure or a crash at
// any point leaves the old file or the new one whole.
ResultAppend AppendResultEntry(const char* resultDir, const LocalStamp& now, const char* type,
                               const char* group, int32_t number, FileOps& ops = SystemFileOps());

// The rewrite of one result file's bytes (see above) without touching any file: the new content, or
// false when the entry line is already there (every line of the file is looked at, so that a damaged,
// unsorted file still gets no second copy). The count line becomes N + 1, N read from "total=%d" of
// the first line (0 when it does not read).
bool MergeResultEntry(const std::string& oldBytes, const std::string& entry, std::string& newBytes);

// Texts of the error log: at most 499 characters, and the line "hh:mm:ss text\r\n" at most 511 bytes.
constexpr size_t ERRLOG_TEXT_SIZE = 500;
constexpr size_t ERRLOG_LINE_SIZE = 512;

// appDir + separator + "ErrLogs" and the day's file in it, "YYYYMMDD.log".
std::string ErrLogFolder(const char* appDir);
std::string ErrLogFile(const char* appDir, const LocalStamp& now);

// Appends "hh:mm:ss text\r\n" to the day's error log, creating the folder and the file when missing,
// under the process-wide lock. The text is written as it is (no format characters are interpreted),
// except that control characters become \xNN, so that a camera's text can never split a line; it is
// cut at 499 characters. False when the line could not be written (it is then lost).
bool AppendErrLogText(const char* appDir, const LocalStamp& now, const char* text,
                      FileOps& ops = SystemFileOps());

// Every byte of text as \xNN (upper-case hex): how a camera text unfit for a file name is logged.
std::string HexEscaped(const char* text);
