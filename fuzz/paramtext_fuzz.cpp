// Feeds arbitrary camera bytes through the config-packet header readers and the parameter-text loop.
// Every item the loop yields has a non-empty key without "=" or ";", a non-empty value without ";" or
// a carriage return, and came whole out of the token buffer.
#include "CfgPacket.h"
#include "GbkText.h"
#include "ParamText.h"

#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < CFG_HEADER_SIZE) return 0;
    // The receivers copy a packet into a zeroed buffer, so the text always ends inside it.
    std::vector<char> buf(size + 1, 0);
    std::memcpy(buf.data(), data, size);
    const CfgPacket* pkt = reinterpret_cast<const CfgPacket*>(buf.data());
    volatile int sink = CfgKindSigned(pkt->header) + CfgModuleSigned(pkt->header) +
                        CfgSubKindSigned(pkt->header) + int(CfgKindUnsigned(pkt->header)) +
                        int(CfgIsIpFilterModule(pkt->header));
    for (int tokenSize : {256, 512, 8}) {
        ParamTextReader reader(pkt->Data(), tokenSize);
        const char* key;
        const char* value;
        while (reader.Next(key, value)) {
            const size_t keyLen = std::strlen(key), valueLen = std::strlen(value);
            if (keyLen == 0 || std::strpbrk(key, "=;")) __builtin_trap();
            if (valueLen == 0 || std::strpbrk(value, ";\r")) __builtin_trap();
            if (keyLen + 1 + valueLen > size_t(tokenSize - 1)) __builtin_trap();
            sink = sink + int(keyLen + valueLen);
        }
    }
    // SSIDs and other camera texts are cut into 32-byte fields.
    char field[32];
    const size_t n = CopyGbkBounded(field, sizeof field, pkt->Data());
    if (n > sizeof field - 1 || field[n] != '\0') __builtin_trap();
    // Camera texts sent back in a packet's fixed field, or in a reply text: terminated, zero-filled,
    // never past the field or the text buffer.
    char packetField[33];
    CopyFixedField(packetField, sizeof packetField, pkt->Data());
    const size_t len = strnlen(packetField, sizeof packetField);
    if (len == sizeof packetField) __builtin_trap();
    for (size_t i = len; i < sizeof packetField; ++i)
        if (packetField[i] != '\0') __builtin_trap();
    char reply[64] = "WIFI_Q=1;";
    const int total = ParamTextAppendf(reply, sizeof reply, "WIFI_ID=%s;", pkt->Data());
    if (total >= 0 ? (total >= int(sizeof reply) || std::strlen(reply) != size_t(total))
                   : std::strcmp(reply, "WIFI_Q=1;") != 0)
        __builtin_trap();
    (void)sink;
    return 0;
}
