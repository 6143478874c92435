// Feeds arbitrary bytes as a number file to the GUID search, and checks its answer against a plain
// reading of the same bytes (records past the end read as zeros). The first 16 input bytes are the
// GUID searched for; the rest is the file.
#include "NumberFiles.h"
#include "ResultFiles.h"

#include <cctype>
#include <string>

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

int32_t I32(const uint8_t* p) {
    return static_cast<int32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24);
}

// The expected answer: records are read one by one as zero-padded copies; after the first record
// that the file does not hold whole, all later ones are zeros and can add nothing new.
int32_t Expected(const uint8_t* file, size_t size, const uint8_t* guid) {
    uint8_t header[NUMBER_FILE_HEADER_SIZE] = {};
    std::memcpy(header, file, size < sizeof header ? size : sizeof header);
    const int32_t count = I32(header + 4);
    const int64_t whole =
        size < NUMBER_FILE_HEADER_SIZE ? 0 : (size - NUMBER_FILE_HEADER_SIZE) / NUMBER_FILE_RECORD_SIZE;
    for (int64_t i = 0; i < count && i <= whole; ++i) {
        uint8_t record[NUMBER_FILE_RECORD_SIZE] = {};
        const size_t at = NUMBER_FILE_HEADER_SIZE + static_cast<size_t>(i) * NUMBER_FILE_RECORD_SIZE;
        if (size > NUMBER_FILE_HEADER_SIZE && at < size)
            std::memcpy(record, file + at, size - at < sizeof record ? size - at : sizeof record);
        if (std::memcmp(record, guid, NUMBER_GUID_SIZE) == 0) return I32(record + NUMBER_GUID_SIZE);
    }
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < NUMBER_GUID_SIZE) return 0;
    uint8_t guid[NUMBER_GUID_SIZE];
    std::memcpy(guid, data, sizeof guid);
    const uint8_t* file = data + NUMBER_GUID_SIZE;
    const size_t fileSize = size - NUMBER_GUID_SIZE;

    if (fileSize > 0) { // fmemopen refuses an empty buffer
        FILE* f = fmemopen(const_cast<uint8_t*>(file), fileSize, "rb");
        if (f == nullptr) return 0;
        const int32_t found = FindNumberInStream(f, guid);
        std::fclose(f);
        if (found != Expected(file, fileSize, guid)) __builtin_trap();
    }

    // The first bytes as a camera's group text: only letters and digits ever reach a path, and the
    // escaped form that goes to the error log holds no control character.
    char group[5] = {};
    std::memcpy(group, data, 4);
    if (IsLookupGroup(group)) {
        for (const char* p = group; *p; ++p)
            if (!std::isalnum(static_cast<unsigned char>(*p))) __builtin_trap();
        char path[NUMBER_PATH_SIZE];
        if (NumberFilePath(path, "base", group, "IPC", I32(data + 4)) && std::strstr(path, ".."))
            __builtin_trap();
    }
    const std::string escaped = HexEscaped(group);
    if (escaped.size() != 4 * std::strlen(group)) __builtin_trap();
    for (char c : escaped)
        if (std::iscntrl(static_cast<unsigned char>(c))) __builtin_trap();

    char text[GUID_TEXT_SIZE];
    FormatGuidText(guid, text);
    if (std::strlen(text) != 38) __builtin_trap();
    return 0;
}
