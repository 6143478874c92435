// Number files: the per-device files in which the number push looks a camera up by its GUID, and the
// GUID's text for the error log. Platform-free: the reader works on any stdio stream.
//
// A number file: a 16-byte header whose i32 at offset 4 is the record count, then 20-byte records of a
// 16-byte GUID (as the camera sends it: u32, u16, u16, 8 bytes, little-endian) and an i32 cloud number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

struct LanToolInput;

constexpr size_t NUMBER_GUID_SIZE = 16;
constexpr size_t NUMBER_FILE_HEADER_SIZE = 16;
constexpr size_t NUMBER_FILE_RECORD_SIZE = 20;
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" and its terminator.
constexpr size_t GUID_TEXT_SIZE = 39;
// Paths of number and result files fit the ANSI file functions' limit.
constexpr size_t NUMBER_PATH_SIZE = 260;
constexpr size_t NUMBER_READ_BLOCK = 64 * 1024;

// Folder separator of the number and result files. The native build (tests, fuzzing) uses '/' so that
// the folders it makes are real folders.
#ifdef _WIN32
constexpr char FILE_PATH_SEPARATOR = '\\';
#else
constexpr char FILE_PATH_SEPARATOR = '/';
#endif

// True when a camera's group text may name a number-file folder: 1 to 3 ASCII letters or digits. Any
// other text (".." above all, or a separator) would let the camera choose a file outside the base.
bool IsLookupGroup(const char* group);

// base\group\type\(dataValue / 100)\dataValue.orv. False, leaving path empty, when it does not fit.
bool NumberFilePath(char (&path)[NUMBER_PATH_SIZE], const char* baseDir, const char* group, const char* type,
                    int32_t dataValue);

// The cloud number of the first record whose GUID equals guid byte for byte; 0 when none matches or
// the header gives no records. A record past the end of a short file reads as zeros; reading stops
// there, since every later record is all zero as well (so a huge count in a short file costs nothing).
// The file is read in blocks of NUMBER_READ_BLOCK bytes, so a look-up costs about one pass over it.
int32_t FindNumberInStream(FILE* f, const uint8_t (&guid)[NUMBER_GUID_SIZE]);

// Opens the file in byte mode and searches it; 0 when it cannot be opened.
int32_t FindNumberInFile(const char* path, const uint8_t (&guid)[NUMBER_GUID_SIZE]);

// "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}" of the GUID's fields.
void FormatGuidText(const uint8_t (&guid)[NUMBER_GUID_SIZE], char (&text)[GUID_TEXT_SIZE]);

// What the number push does with one request, decided before any file is touched.
struct NumberPushPlan {
    // The group and the data value call for a look-up; a look-up that finds no number is logged.
    bool logMiss;
    // ... and the group may name a folder (IsLookupGroup): only then is the number file searched.
    // Any other group is a miss without a look-up.
    bool lookUp;
    // The group of the result line: the request's, or empty when it may not name a folder, so that
    // no camera text splits a line of the result file.
    char szResultGroup[4];
    // The error-log text of a miss, "Type:%s Group:%s Data:%d Guid:%s", with a group unfit for a
    // folder written as \xNN escapes.
    std::string missText;
};
NumberPushPlan PlanNumberPush(const LanToolInput& request, const char* typeText);
