#include "ReceivedPacket.h"

#include "WirelessState.h"

#include <cstring>

bool IsLibraryPacketRecord(uintptr_t record, uintptr_t packet, int32_t length, size_t blockSize) {
    if (blockSize < PACKET_RECORD_SIZE || packet != record + PACKET_RECORD_SIZE) return false;
    return static_cast<uint32_t>(length) <= blockSize - PACKET_RECORD_SIZE;
}

bool StoreReceivedPacket(char (&buffer)[RECV_BUFFER_SIZE], const void* packet, uint32_t length) {
    if (length > CFG_MAIN_BUFFER_SIZE) return false;
    std::memset(buffer, 0, sizeof buffer);
    if (length != 0) std::memcpy(buffer, packet, length);
    return true;
}

CfgRoute RouteCfgPacket(const CfgPacket& packet) {
    switch (CfgKindSigned(packet.header)) {
    case CFG_KIND_DEVICE_TEXT:
        switch (CfgSubKindSigned(packet.header)) {
        case CFG_SUBKIND_NONE:
            return CfgRoute::Ignore;
        case CFG_SUBKIND_PANTILT:
            return CfgRoute::PanTilt;
        default:
            return CfgRoute::DeviceInfo;
        }
    case CFG_KIND_SETTINGS:
        switch (CfgModuleSigned(packet.header)) {
        case CFG_MODULE_NETWORK:
            switch (packet.nType) {
            case 3:
                return CfgRoute::ApList;
            case 8:
                return CfgRoute::WirelessState;
            case 14:
                return CfgRoute::ScanReply;
            default:
                return CfgRoute::Ignore;
            }
        case CFG_MODULE_ADC:
            return packet.nType == 5 ? CfgRoute::AdcValues : CfgRoute::Ignore;
        default:
            return CfgRoute::Ignore;
        }
    default:
        return CfgRoute::Ignore;
    }
}

bool CfgPacketFits(const CfgPacket& packet, size_t arrived) {
    if (arrived < CFG_HEADER_SIZE) return false;
    auto inside = [arrived](int64_t offset) {
        return offset >= 0 && static_cast<uint64_t>(offset) < arrived;
    };
    switch (RouteCfgPacket(packet)) {
    case CfgRoute::DeviceInfo:
        return inside(4 + static_cast<int64_t>(packet.nType));
    case CfgRoute::PanTilt:
        return inside(static_cast<int64_t>(CFG_HEADER_SIZE) + packet.nType);
    case CfgRoute::ApList:
    case CfgRoute::ScanReply:
        return packet.nLength >= 0 && static_cast<uint64_t>(packet.nLength) <= arrived - CFG_HEADER_SIZE;
    default:
        return true;
    }
}

const char* CfgTextAt(const char* buffer, size_t size, int64_t offset) {
    if (offset < 0 || static_cast<uint64_t>(offset) >= size) return nullptr;
    return buffer + offset;
}

const char* DeviceInfoText(const char (&buffer)[RECV_BUFFER_SIZE]) {
    int32_t nType;
    std::memcpy(&nType, buffer + offsetof(CfgPacket, nType), sizeof nType);
    return CfgTextAt(buffer, RECV_BUFFER_SIZE, 4 + static_cast<int64_t>(nType));
}

size_t ApTableBytes(const CfgPacket& packet, size_t capacity, size_t bufferSize) {
    if (packet.nLength <= 0 || bufferSize <= CFG_HEADER_SIZE) return 0;
    size_t n = static_cast<size_t>(packet.nLength);
    if (n > capacity) n = capacity;
    if (n > bufferSize - CFG_HEADER_SIZE) n = bufferSize - CFG_HEADER_SIZE;
    return n;
}

int32_t ScanReplyCount(const CfgPacket& packet) {
    if (packet.nParam < 1 || packet.nParam > AP_LIST_SIZE) return 0;
    const int32_t carried = packet.nLength > 0 ? packet.nLength / static_cast<int32_t>(sizeof(ApRecord)) : 0;
    return packet.nParam < carried ? packet.nParam : carried;
}
