// Readers of the records that the device SDK's LAN search, broadcast and LAN-tool servers hand to our
// callbacks.
// They work on the record's bytes (little-endian, fixed offsets), so the camera's data is read with
// bounds and without trusting its texts to be terminated. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>

// The search record arrives by value, the broadcast record by pointer; both are copied whole.
constexpr size_t LAN_SEARCH_RECORD_SIZE = 692;
constexpr size_t BROADCAST_RECORD_SIZE = 744;
// The number-push request arrives by pointer and is answered in place.
constexpr size_t LAN_TOOL_REQUEST_SIZE = 600;

// Device type codes that have a name; any other code is shown in decimal.
constexpr int32_t DEVICE_TYPE_IPC = 59162;
constexpr int32_t DEVICE_TYPE_DVR = 55296;
constexpr int32_t DEVICE_TYPE_NVR = 47104;
constexpr int32_t DEVICE_TYPE_QNVR = 47116;

// Room for any type text, "-2147483648" included.
constexpr size_t DEVICE_TYPE_TEXT_SIZE = 12;

// "IPC", "DVR", "NVR", "QNVR" or the code in decimal, NUL-terminated.
void DeviceTypeText(int32_t code, char (&text)[DEVICE_TYPE_TEXT_SIZE]);

// What the search callback uses of one answer. Texts are cut to what a device table entry holds:
// the group at 3 characters, the IP at 15.
struct LanSearchResult {
    char szGroup[4];
    int32_t nNumber;
    int32_t nTypeCode;
    char szIp[16];
    int32_t nPort;
    int32_t nEndFlag; // non-zero: the answer is to be ignored
};

// What the broadcast callback uses of one broadcast. The end flag is the callback's fifth argument,
// not part of the record: the caller checks it before reading.
struct BroadcastResult {
    char szGroup[4]; // the record's 8-byte group, cut at 3 characters
    uint32_t uNumber;
    int32_t nPort;
    char szIp[16]; // dotted form of the record's IPv4 address
};

// What the number push reads of a request; the texts are cut as the device table keeps them.
struct LanToolInput {
    int32_t nNumber; // the cloud number it came with
    int32_t nTypeCode;
    int32_t nDataValue; // names the number file
    uint8_t guid[16];   // as the camera sent it: u32, u16, u16, 8 bytes
    char szGroup[4];
    char szIp[16];
    int32_t nPort;
};

// All three return false, leaving out untouched, when fewer bytes than a whole record are given.
bool ReadLanSearchRecord(const void* record, size_t size, LanSearchResult& out);
bool ReadBroadcastRecord(const void* record, size_t size, BroadcastResult& out);
bool ReadLanToolRequest(const void* record, size_t size, LanToolInput& out);

// With the push switch on, a camera without a cloud number makes the callback hand the operator's
// credentials to the LAN (QLC_LANToolDevice). The search answer's number is signed, the broadcast's not.
inline bool NeedsCredentialPush(const LanSearchResult& r, bool pushSwitch) {
    return pushSwitch && r.nNumber < 1;
}
inline bool NeedsCredentialPush(const BroadcastResult& r, bool pushSwitch) {
    return pushSwitch && r.uNumber == 0;
}
