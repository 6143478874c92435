#include "NumberFiles.h"

#include "LanRecords.h"
#include "LittleEndian.h"
#include "ResultFiles.h"

#include <cstring>
#include <vector>

bool IsLookupGroup(const char* group) {
    if (group == nullptr) return false;
    size_t n = 0;
    for (; group[n] != '\0'; ++n) {
        const char c = group[n];
        const bool alnum = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!alnum || n >= 3) return false;
    }
    return n >= 1;
}

bool NumberFilePath(char (&path)[NUMBER_PATH_SIZE], const char* baseDir, const char* group, const char* type,
                    int32_t dataValue) {
    const char s = FILE_PATH_SEPARATOR;
    const int n = std::snprintf(path, sizeof path, "%s%c%s%c%s%c%d%c%d.orv", baseDir ? baseDir : "", s,
                                group ? group : "", s, type ? type : "", s, dataValue / 100, s, dataValue);
    // A cut path would name some other file: no path at all is the honest answer.
    if (n < 0 || static_cast<size_t>(n) >= sizeof path) {
        path[0] = '\0';
        return false;
    }
    return true;
}

int32_t FindNumberInStream(FILE* f, const uint8_t (&guid)[NUMBER_GUID_SIZE]) {
    if (f == nullptr || std::fseek(f, 0, SEEK_SET) != 0) return 0;
    uint8_t header[NUMBER_FILE_HEADER_SIZE] = {};
    const bool wholeHeader = std::fread(header, 1, sizeof header, f) == sizeof header;
    const int32_t count = ReadLeI32(header + 4);
    if (count <= 0) return 0;
    if (!wholeHeader) {
        // No record can be read: the first reads as zeros, and a match with it gives 0 all the same.
        return 0;
    }
    // Records are taken from a block buffer; a record cut by the block's end is carried over.
    std::vector<uint8_t> buffer(NUMBER_READ_BLOCK + NUMBER_FILE_RECORD_SIZE);
    uint8_t* const block = buffer.data();
    size_t have = 0, at = 0;
    bool atEnd = false;
    for (int32_t i = 0; i < count; ++i) {
        if (have - at < NUMBER_FILE_RECORD_SIZE && !atEnd) {
            std::memmove(block, block + at, have - at);
            have -= at;
            at = 0;
            const size_t got = std::fread(block + have, 1, NUMBER_READ_BLOCK, f);
            have += got;
            atEnd = got < NUMBER_READ_BLOCK;
        }
        uint8_t record[NUMBER_FILE_RECORD_SIZE] = {};
        const size_t n = have - at < sizeof record ? have - at : sizeof record;
        std::memcpy(record, block + at, n);
        at += n;
        if (std::memcmp(record, guid, NUMBER_GUID_SIZE) == 0) return ReadLeI32(record + NUMBER_GUID_SIZE);
        if (n < sizeof record) break; // the end of the file: every later record reads as zeros too
    }
    return 0;
}

int32_t FindNumberInFile(const char* path, const uint8_t (&guid)[NUMBER_GUID_SIZE]) {
    if (path == nullptr || path[0] == '\0') return 0;
    FILE* f = std::fopen(path, "rb");
    if (f == nullptr) return 0;
    // The search reads in blocks of its own: no second buffer in between.
    std::setvbuf(f, nullptr, _IONBF, 0);
    const int32_t number = FindNumberInStream(f, guid);
    std::fclose(f);
    return number;
}

void FormatGuidText(const uint8_t (&g)[NUMBER_GUID_SIZE], char (&text)[GUID_TEXT_SIZE]) {
    const uint32_t d1 = ReadLeU32(g);
    const unsigned d2 = ReadLeU16(g + 4);
    const unsigned d3 = ReadLeU16(g + 6);
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(d1), d2, d3, g[8], g[9], g[10], g[11], g[12], g[13], g[14], g[15]);
}

NumberPushPlan PlanNumberPush(const LanToolInput& request, const char* typeText) {
    NumberPushPlan plan;
    const bool fit = IsLookupGroup(request.szGroup);
    plan.logMiss = request.szGroup[0] != '\0' && request.nDataValue > 0;
    plan.lookUp = plan.logMiss && fit;
    std::snprintf(plan.szResultGroup, sizeof plan.szResultGroup, "%s", fit ? request.szGroup : "");
    char guidText[GUID_TEXT_SIZE];
    FormatGuidText(request.guid, guidText);
    const std::string group = fit ? std::string(request.szGroup) : HexEscaped(request.szGroup);
    char text[ERRLOG_TEXT_SIZE];
    std::snprintf(text, sizeof text, "Type:%s Group:%s Data:%d Guid:%s", typeText ? typeText : "",
                  group.c_str(), static_cast<int>(request.nDataValue), guidText);
    plan.missText = text;
    return plan;
}
