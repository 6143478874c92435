#include "AdapterRecord.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

bool HasQuote(const char* s) {
    return s && std::strchr(s, '"') != nullptr;
}

const char* OrEmpty(const char* s) {
    return s ? s : "";
}

bool FormatChecked(char* out, size_t size, const char* fmt, ...) {
    if (!out || size == 0) return false;
    va_list args;
    va_start(args, fmt);
    int n = std::vsnprintf(out, size, fmt, args);
    va_end(args);
    if (n < 0 || static_cast<size_t>(n) >= size) {
        out[0] = '\0';
        return false;
    }
    return true;
}

} // namespace

void FormatMacText(const uint8_t* a, char out[20]) {
    std::snprintf(out, 20, "%.2X:%.2X:%.2X:%.2X:%.2X:%.2X", a[0], a[1], a[2], a[3], a[4], a[5]);
}

bool AddressRequestPending(const AdapterRecord& r) {
    return r.DhcpEnabled != 0 || (r.szIp[0] != '\0' && r.szMask[0] != '\0') || r.szGateway[0] != '\0';
}

bool AddressRequestMatches(const AdapterRecord& r, const char* ip, const char* mask, const char* gateway) {
    return std::strcmp(r.szIp, ip) == 0 && std::strcmp(r.szMask, mask) == 0 &&
           std::strcmp(r.szGateway, gateway) == 0;
}

bool FormatAddressCommand(char* out, size_t size, const char* connection, uint32_t dhcp, const char* ip,
                          const char* mask, const char* gateway) {
    if (HasQuote(connection) || (!dhcp && (HasQuote(ip) || HasQuote(mask) || HasQuote(gateway)))) {
        if (out && size) out[0] = '\0';
        return false;
    }
    if (dhcp)
        return FormatChecked(out, size, "netsh interface ip set address name=\"%s\" source=dhcp",
                             OrEmpty(connection));
    return FormatChecked(
        out, size, "netsh interface ip set address name=\"%s\" source=static addr=%s mask=%s gateway=%s 1",
        OrEmpty(connection), OrEmpty(ip), OrEmpty(mask), OrEmpty(gateway));
}

bool FormatDnsCommand(char* out, size_t size, const char* connection, int dhcp, const char* address) {
    if (HasQuote(connection) || (!dhcp && HasQuote(address))) {
        if (out && size) out[0] = '\0';
        return false;
    }
    if (dhcp)
        return FormatChecked(out, size, "netsh interface ip set dns name=\"%s\" source=dhcp",
                             OrEmpty(connection));
    return FormatChecked(out, size,
                         "netsh interface ip set dns name=\"%s\" source=static addr=%s register=primary",
                         OrEmpty(connection), OrEmpty(address));
}
