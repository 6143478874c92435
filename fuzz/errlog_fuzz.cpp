// Feeds arbitrary text and times to the error log's line writer and checks the line's rules: one line
// "hh:mm:ss text" with CR LF only at its end, at most 511 bytes, the text at most 499 characters and
// read back it is the start of the input (control characters as \xNN), cut only where the next piece
// (a character, a GBK pair or an escape) would not fit, never inside one.
#include "ResultFiles.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const LocalStamp at = {2026, 3, 7, data[0] % 24, data[1] % 60, data[2] % 60};
    // The text ends at its first NUL, as a C string does.
    const std::string input(reinterpret_cast<const char*>(data + 3), size - 3);
    const std::string text = input.substr(0, input.find('\0'));
    const std::string line = ErrLogLine(at, text.c_str());

    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d ", at.hour, at.minute, at.second);
    if (line.size() > ERRLOG_LINE_SIZE - 1 || line.compare(0, 9, stamp) != 0) __builtin_trap();
    if (line.size() < 11 || line.compare(line.size() - 2, 2, "\r\n") != 0) __builtin_trap();
    const std::string shown = line.substr(9, line.size() - 11);
    if (shown.size() > ERRLOG_TEXT_SIZE - 1) __builtin_trap();

    // Read the text back: every control character came as an escape, everything else as it was.
    size_t used = 0; // input bytes that the shown text stands for
    for (size_t i = 0; i < shown.size(); ++used) {
        const unsigned char c = static_cast<unsigned char>(shown[i]);
        if (c < 0x20 || c == 0x7F) __builtin_trap();
        if (used >= text.size()) __builtin_trap();
        const unsigned char original = static_cast<unsigned char>(text[used]);
        if (original < 0x20 || original == 0x7F) {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", original);
            if (shown.compare(i, 4, escape) != 0 || !IsHex(shown[i + 2]) || !IsHex(shown[i + 3]))
                __builtin_trap();
            i += 4;
        } else {
            if (c != original) __builtin_trap();
            i += 1;
        }
    }
    // A GBK pair (a lead byte and a trail byte that is no control character) is kept whole.
    auto pairAt = [&text](size_t i) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const unsigned char trail = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        return lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
    };
    for (size_t i = 0; i < used; ++i)
        if (pairAt(i) && ++i >= used) __builtin_trap();
    // Cut only for want of room: what came next would not have fitted.
    if (used < text.size()) {
        const unsigned char next = static_cast<unsigned char>(text[used]);
        const size_t need = next < 0x20 || next == 0x7F ? 4 : pairAt(used) ? 2 : 1;
        if (shown.size() + need <= ERRLOG_TEXT_SIZE - 1) __builtin_trap();
    }
    return 0;
}
