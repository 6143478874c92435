// Feeds arbitrary bytes as a camera's number-push request (600 bytes, zero-padded) through the reader
// and what the number push decides before it touches a file, and checks the rules that keep a camera
// inside the number files and out of other files' lines: texts come from their own fields only, a
// look-up names a file under the base folder and nowhere else, and the error-log text and the result
// line hold no line break and no group unfit for a folder.
#include "LanRecords.h"
#include "NumberFiles.h"
#include "ResultFiles.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool IsAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool HasLineBreak(const std::string& s) {
    return s.find('\n') != std::string::npos || s.find('\r') != std::string::npos;
}

// The text at a field: its bytes up to the first NUL within the field's width.
std::string Field(const std::vector<uint8_t>& r, size_t at, size_t width) {
    const char* p = reinterpret_cast<const char*>(r.data() + at);
    return std::string(p, strnlen(p, width));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> record(LAN_TOOL_REQUEST_SIZE, 0);
    std::memcpy(record.data(), data, size < record.size() ? size : record.size());
    LanToolInput in;
    if (ReadLanToolRequest(record.data(), LAN_TOOL_REQUEST_SIZE - 1, in)) __builtin_trap();
    if (!ReadLanToolRequest(record.data(), record.size(), in)) __builtin_trap();

    // Each text lies within its own field, cut to what the table keeps, and is terminated.
    const std::string group = in.szGroup, ip = in.szIp;
    if (group.size() > 3 || ip.size() > 15) __builtin_trap();
    if (Field(record, 576, 4).compare(0, group.size(), group) != 0) __builtin_trap();
    if (Field(record, 580, 16).compare(0, ip.size(), ip) != 0) __builtin_trap();
    if (std::memcmp(in.guid, record.data() + 560, sizeof in.guid) != 0) __builtin_trap();

    char type[DEVICE_TYPE_TEXT_SIZE];
    DeviceTypeText(in.nTypeCode, type);
    const NumberPushPlan plan = PlanNumberPush(in, type);
    if (plan.logMiss != (!group.empty() && in.nDataValue > 0)) __builtin_trap();
    if (plan.lookUp != (plan.logMiss && IsLookupGroup(in.szGroup))) __builtin_trap();

    // A look-up reads base/group/type/hundreds/value.orv, whose every part is a plain name.
    if (plan.lookUp) {
        static const char kBase[] = "base";
        char path[NUMBER_PATH_SIZE];
        if (!NumberFilePath(path, kBase, in.szGroup, type, in.nDataValue)) __builtin_trap();
        const std::string p = path, prefix = std::string(kBase) + FILE_PATH_SEPARATOR;
        if (p.compare(0, prefix.size(), prefix) != 0) __builtin_trap();
        size_t parts = 0;
        for (size_t at = prefix.size(), next; at <= p.size(); at = next + 1, ++parts) {
            next = p.find(FILE_PATH_SEPARATOR, at);
            if (next == std::string::npos) next = p.size();
            const std::string part = p.substr(at, next - at);
            if (part.empty() || part == "." || part == "..") __builtin_trap();
        }
        if (parts != 4) __builtin_trap();
    }

    // The result line: the group only when it may name a folder, one line with its feed at the end.
    const std::string resultGroup = plan.szResultGroup;
    if (!resultGroup.empty() && (resultGroup != group || !IsLookupGroup(plan.szResultGroup)))
        __builtin_trap();
    const std::string line = ResultEntryLine(plan.szResultGroup, in.nNumber);
    if (line.empty() || line.back() != '\n' || HasLineBreak(line.substr(0, line.size() - 1)))
        __builtin_trap();
    for (size_t i = 0; i + 1 < line.size(); ++i)
        if (!IsAlnum(line[i]) && line[i] != '-') __builtin_trap();

    // The miss text names the request; a group unfit for a folder only as \xNN escapes.
    const std::string& text = plan.missText;
    if (text.size() >= ERRLOG_TEXT_SIZE) __builtin_trap();
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) __builtin_trap();
    const std::string head = std::string("Type:") + type + " Group:";
    if (text.compare(0, head.size(), head) != 0) __builtin_trap();
    const size_t dataAt = text.find(" Data:", head.size());
    if (dataAt == std::string::npos) __builtin_trap();
    const std::string shown = text.substr(head.size(), dataAt - head.size());
    if (IsLookupGroup(in.szGroup) ? shown != group : shown != HexEscaped(in.szGroup)) __builtin_trap();
    const std::string tail = " Data:" + std::to_string(in.nDataValue) + " Guid:";
    if (text.compare(dataAt, tail.size(), tail) != 0) __builtin_trap();
    const std::string guid = text.substr(dataAt + tail.size());
    if (guid.size() != GUID_TEXT_SIZE - 1 || guid.front() != '{' || guid.back() != '}') __builtin_trap();
    if (guid.find_first_not_of("0123456789ABCDEF-", 1) != guid.size() - 1) __builtin_trap();
    return 0;
}
