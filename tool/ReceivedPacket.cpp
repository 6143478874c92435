#include "ReceivedPacket.h"

#include <cstring>

bool StoreReceivedPacket(char (&buffer)[RECV_BUFFER_SIZE], const void* packet, uint32_t length) {
    if (length > CFG_MAIN_BUFFER_SIZE) return false;
    if (!packet && length != 0) return false;
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
