// One network adapter of the PC as the inventory keeps it, the pending requests against a connection,
// and the netsh command lines that apply them. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

constexpr size_t kNameSize = 260;
constexpr size_t kDottedSize = 16;
constexpr size_t kCommandLineSize = 260;

// Records are copied whole (592 bytes).
struct AdapterRecord {
    char szConnection[kNameSize]; // "Name" of the adapter's connection key; empty when unreadable
    char szDescription[kNameSize];
    char szMac[20]; // "%.2X:%.2X:%.2X:%.2X:%.2X:%.2X"
    uint32_t DhcpEnabled;
    char szIp[kDottedSize];      // first address of the adapter's list
    char szMask[kDottedSize];    // that address's mask
    char szGateway[kDottedSize]; // first gateway
};
static_assert(sizeof(AdapterRecord) == 592, "AdapterRecord is 592 bytes");

// The first six bytes of a hardware address as the MAC text.
void FormatMacText(const uint8_t* address, char out[20]);

// An address request is pending when it asks for DHCP, or for both IP and mask, or for a gateway.
bool AddressRequestPending(const AdapterRecord& request);
// The request asks for exactly the values the adapter has now (byte for byte).
bool AddressRequestMatches(const AdapterRecord& request, const char* ip, const char* mask,
                           const char* gateway);

// netsh command lines into out (size bytes). They return false, leaving out empty, when the line
// would not fit or a value holds a double quote (it would end the quoted name and let the rest of
// the value through as further netsh arguments): such a request must not run at all, cut or not.
bool FormatAddressCommand(char* out, size_t size, const char* connection, uint32_t dhcp, const char* ip,
                          const char* mask, const char* gateway);
bool FormatDnsCommand(char* out, size_t size, const char* connection, int dhcp, const char* address);

// What IP Helper answers when the buffer is too small; it then sets the size it needs.
constexpr unsigned long kErrorBufferOverflow = 111;

// Calls call(buffer, &size) into a malloc'd buffer of size bytes. While the call answers that the
// buffer is too small, tries again with the size it asked for (which may grow again in between), at
// most tries calls in all. The filled buffer, which the caller frees, or nullptr.
template <class Size, class Call> void* FillGrowing(Size size, int tries, Call call) {
    void* buffer = nullptr;
    for (int i = 0; i < tries && size > 0; ++i) {
        std::free(buffer);
        buffer = std::malloc(size);
        if (!buffer) return nullptr;
        unsigned long rc = call(buffer, &size);
        if (rc == 0) return buffer;
        if (rc != kErrorBufferOverflow) break;
    }
    std::free(buffer);
    return nullptr;
}
