// Sightings as the record readers hand them to the device table.
#pragma once

#include "LanRecords.h"
#include "TextCut.h"

#include <string>

inline LanSearchResult Search(const std::string& group, int32_t number, const std::string& ip,
                              int32_t port = 8000, int32_t type = DEVICE_TYPE_IPC, int32_t endFlag = 0) {
    LanSearchResult r{};
    CopyTextCut(r.szGroup, group.c_str());
    CopyTextCut(r.szIp, ip.c_str());
    r.nNumber = number;
    r.nTypeCode = type;
    r.nPort = port;
    r.nEndFlag = endFlag;
    return r;
}

inline BroadcastResult Broadcast(const std::string& group, uint32_t number, const std::string& ip,
                                 int32_t port = 8000) {
    BroadcastResult r{};
    CopyTextCut(r.szGroup, group.c_str());
    CopyTextCut(r.szIp, ip.c_str());
    r.uNumber = number;
    r.nPort = port;
    return r;
}
