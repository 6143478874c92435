#include "LanRecords.h"

#include "LittleEndian.h"
#include "TextCut.h"

#include <cstdio>
#include <cstring>

void DeviceTypeText(int32_t code, char (&text)[DEVICE_TYPE_TEXT_SIZE]) {
    const char* name = nullptr;
    switch (code) {
    case DEVICE_TYPE_IPC:
        name = "IPC";
        break;
    case DEVICE_TYPE_DVR:
        name = "DVR";
        break;
    case DEVICE_TYPE_NVR:
        name = "NVR";
        break;
    case DEVICE_TYPE_QNVR:
        name = "QNVR";
        break;
    default:
        break;
    }
    if (name)
        std::snprintf(text, sizeof text, "%s", name);
    else
        std::snprintf(text, sizeof text, "%d", static_cast<int>(code));
}

bool ReadLanSearchRecord(const void* record, size_t size, LanSearchResult& out) {
    if (record == nullptr || size < LAN_SEARCH_RECORD_SIZE) return false;
    const auto* p = static_cast<const unsigned char*>(record);
    const auto* text = static_cast<const char*>(record);
    CopyTextCut(out.szGroup, text + 0, 4);
    out.nNumber = ReadLeI32(p + 4);
    out.nTypeCode = ReadLeI32(p + 8);
    CopyTextCut(out.szIp, text + 16, 16);
    out.nPort = ReadLeI32(p + 32);
    out.nEndFlag = ReadLeI32(p + 140);
    return true;
}

bool ReadBroadcastRecord(const void* record, size_t size, BroadcastResult& out) {
    if (record == nullptr || size < BROADCAST_RECORD_SIZE) return false;
    const auto* p = static_cast<const unsigned char*>(record);
    const auto* text = static_cast<const char*>(record);
    CopyTextCut(out.szGroup, text + 4, 8);
    out.uNumber = ReadLeU32(p + 12);
    out.nPort = ReadLeI32(p + 16);
    // Network byte order: the first byte in memory is the first part of the dotted form.
    std::snprintf(out.szIp, sizeof out.szIp, "%u.%u.%u.%u", p[196], p[197], p[198], p[199]);
    return true;
}

bool ReadLanToolRequest(const void* record, size_t size, LanToolInput& out) {
    if (record == nullptr || size < LAN_TOOL_REQUEST_SIZE) return false;
    const auto* p = static_cast<const unsigned char*>(record);
    const auto* text = static_cast<const char*>(record);
    out.nNumber = ReadLeI32(p + 516);
    out.nTypeCode = ReadLeI32(p + 548);
    out.nDataValue = ReadLeI32(p + 552);
    std::memcpy(out.guid, p + 560, sizeof out.guid);
    CopyTextCut(out.szGroup, text + 576, 4);
    CopyTextCut(out.szIp, text + 580, 16);
    out.nPort = ReadLeI32(p + 596);
    return true;
}
