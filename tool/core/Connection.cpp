#include "Connection.h"

#include "TextCut.h"

#include <climits>
#include <cstring>

int32_t PortFromText(const char* text) {
    if (text == nullptr) return 0;
    int64_t value = 0;
    for (const char* p = text; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > INT32_MAX) return INT32_MAX;
    }
    return static_cast<int32_t>(value);
}

namespace {

void PutI32(unsigned char* p, int32_t value) {
    const uint32_t v = static_cast<uint32_t>(value);
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

} // namespace

void FillChnInfo(void* record, const ChnInfoFields& f) {
    auto* p = static_cast<unsigned char*>(record);
    std::memset(p, 0, CHNINFO_SIZE);
    char* text = static_cast<char*>(record);
    CopyTextCut(text + CHNINFO_IP_OFFSET, CHNINFO_IP_SIZE, f.ip);
    PutI32(p + CHNINFO_PORT_OFFSET, f.port);
    CopyTextCut(text + CHNINFO_NUMBER_OFFSET, CHNINFO_NUMBER_SIZE, f.number);
    CopyTextCut(text + CHNINFO_USER_OFFSET, CHNINFO_USER_SIZE, f.user);
    CopyTextCut(text + CHNINFO_PASSWORD_OFFSET, CHNINFO_PASSWORD_SIZE, f.password);
    PutI32(p + CHNINFO_ALWAYS1_OFFSET, 1);
    PutI32(p + CHNINFO_WINDOW_OFFSET, f.window);
}

std::string VersionPoll::CutVersion(const char* version) {
    char text[VERSION_TEXT_MAX + 1];
    CopyTextCut(text, version);
    return text;
}
