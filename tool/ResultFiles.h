// Result files and the error log of the number push. Every request leaves one entry line "group" +
// "number" in a result file per half-day and device type, kept unique, sorted and counted; a failed
// look-up leaves a timed line in the day's error log. Requests arrive on the device SDK's threads, so
// both writers run one at a time under one process-wide lock (the result file is rewritten through a
// temporary file whose name is fixed per day). Platform-free: callers pass the local time.
#pragma once

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
    Failed,       // a folder, the file or the temporary file could not be made; the file is unchanged
};

// Adds the entry line of one request to its result file (see above), under the process-wide lock.
// resultDir is empty (the working directory) or ends with a separator.
ResultAppend AppendResultEntry(const char* resultDir, const LocalStamp& now, const char* type, const char* group,
                               int32_t number);

// Texts of the error log: at most 499 characters, and the line "hh:mm:ss text\r\n" at most 511 bytes.
constexpr size_t ERRLOG_TEXT_SIZE = 500;
constexpr size_t ERRLOG_LINE_SIZE = 512;

// appDir + separator + "ErrLogs" and the day's file in it, "YYYYMMDD.log".
std::string ErrLogFolder(const char* appDir);
std::string ErrLogFile(const char* appDir, const LocalStamp& now);

// Appends "hh:mm:ss text\r\n" to the day's error log, creating the folder and the file when missing,
// under the process-wide lock. The text is written as it is (no format characters are interpreted)
// and cut at 499 characters. False when the line could not be written (it is then lost).
bool AppendErrLogText(const char* appDir, const LocalStamp& now, const char* text);
