// Config packets and parameter text exchanged with the cameras. Platform-free: no <windows.h> here,
// so the native build can run this code under the sanitizers and the fuzzer.
#pragma once

#include <cstddef>
#include <cstdint>

// Buffers of the two deliverables; each is zeroed before use.
constexpr size_t CFG_HEADER_SIZE = 20;
constexpr size_t CFG_MAIN_BUFFER_SIZE = 0x20004;     // LENSKIT's receive buffer
constexpr size_t CFG_NETQUILL_BUFFER_SIZE = 0x23004; // Netquill's request and reply buffers

// The transport's data type for config packets (QLC_SendData and the player's packet record).
constexpr int CFG_DATA_TYPE = 81;

// Reply status codes carried in nParam.
enum CfgReplyCode {
    CFG_REPLY_SUCCESS = 1027,
    CFG_REPLY_FAILURE = 1028,
    CFG_REPLY_NO_PERMISSION = 1029,
};

// The 20-byte header; the data follows at offset 20. All words little-endian.
struct CfgPacket {
    uint32_t header; // bits 0-4 kind, 5-12 module, 13-20 sub-kind, 21-31 zero
    int32_t nType;
    int32_t nParam;
    int32_t nLength;
    int32_t reserved;

    char* Data() { return reinterpret_cast<char*>(this) + CFG_HEADER_SIZE; }
    const char* Data() const { return reinterpret_cast<const char*>(this) + CFG_HEADER_SIZE; }
};
static_assert(sizeof(CfgPacket) == CFG_HEADER_SIZE, "config packet header is 20 bytes on the wire");

// LENSKIT reads the fields as signed (sign-extended) values.
inline int CfgKindSigned(uint32_t header) {
    return static_cast<int32_t>(header << 27) >> 27;
}
inline int CfgModuleSigned(uint32_t header) {
    return static_cast<int32_t>(header << 19) >> 24;
}
inline int CfgSubKindSigned(uint32_t header) {
    return static_cast<int8_t>((header >> 13) & 0xFF);
}

// Netquill tests the kind unsigned and the module bits under a mask.
inline unsigned CfgKindUnsigned(uint32_t header) {
    return header & 0x1F;
}
inline bool CfgIsIpFilterModule(uint32_t header) {
    return (header & 0x1FE0) == 0x460;
}

// Clears the kind and module bits and sets the new values; other bits are kept.
inline void CfgSetKindModule(uint32_t& header, unsigned kind, unsigned module) {
    header = (header & ~0x1FFFu) | (kind & 0x1F) | ((module & 0xFF) << 5);
}

// Packet kinds and modules that occur.
enum { CFG_KIND_DEVICE_TEXT = 5, CFG_KIND_SETTINGS = 6 };
enum { CFG_MODULE_NETWORK = 2, CFG_MODULE_ADC = 8, CFG_MODULE_IPFILTER = 35 };
enum { CFG_SUBKIND_NONE = 0, CFG_SUBKIND_PANTILT = 7 };
