// The config packets that the player library hands to the main window: the receive buffer they are
// copied into and the choice of what each one means. Platform-free.
//
// Everything in a packet is the camera's: its kind, its text offset and its length fields are read
// only within the receive buffer, whatever they claim.
#pragma once

#include "CfgPacket.h"

#include <cstddef>
#include <cstdint>

// The receive buffer holds the latest packet (at most CFG_MAIN_BUFFER_SIZE bytes) plus one guard byte
// that stays 0, so that a text running to the very end of a full-size packet still ends.
constexpr size_t RECV_BUFFER_SIZE = CFG_MAIN_BUFFER_SIZE + 1;

// The record the player library posts with message 0x6400: 16 bytes (channel, data type, packet
// pointer, length), and the packet right behind it in the same block of the library's malloc, which
// the receiver frees whole.
constexpr size_t PACKET_RECORD_SIZE = 16;

// Whether what a 0x6400 record says agrees with the block of blockSize bytes it was read from: the
// packet pointer points right behind the record and the length (taken unsigned) fits what follows it.
// Anything else, a NULL packet included, is no record of the library's: neither read nor freed.
bool IsLibraryPacketRecord(uintptr_t record, uintptr_t packet, int32_t length, size_t blockSize);

// Zeroes the buffer and copies the packet (length bytes at packet) in. A packet longer than
// CFG_MAIN_BUFFER_SIZE is refused and the buffer keeps its content.
bool StoreReceivedPacket(char (&buffer)[RECV_BUFFER_SIZE], const void* packet, uint32_t length);

// What the main window does with the packet in the receive buffer.
enum class CfgRoute {
    Ignore,        // kinds, modules and nType values nobody handles; kind 5 with sub-kind 0
    PanTilt,       // kind 5, sub-kind 7: the pan-tilt plug-in's dialog
    DeviceInfo,    // kind 5, any other sub-kind: ProductType, Version, ORVGROUP
    ApList,        // kind 6, module 2, nType 3: access points the camera sees
    WirelessState, // kind 6, module 2, nType 8: WIFI_ID, WIFI_PW, WIFI_Q, ACTIVED
    ScanReply,     // kind 6, module 2, nType 14: access points, nParam their count
    AdcValues,     // kind 6, module 8, nType 5: adcHValue, adcLValue, adcRValue
};
CfgRoute RouteCfgPacket(const CfgPacket& packet);

// Whether what the packet's fields point at lies inside the bytes that arrived: its header, the text
// offset of a kind-5 packet (byte 4 + nType for device information, 20 + nType for the pan-tilt
// plug-in) and the nLength of an access-point table. A packet that does not fit is dropped whole.
bool CfgPacketFits(const CfgPacket& packet, size_t arrived);

// The text at a camera-given offset from the buffer's start; NULL when the offset lies outside the
// buffer. Within the receive buffer every such text ends before the guard byte.
const char* CfgTextAt(const char* buffer, size_t size, int64_t offset);

// Kind-5 device information starts at byte 4 + nType of the packet (nType is a text offset there).
const char* DeviceInfoText(const char (&buffer)[RECV_BUFFER_SIZE]);

// The access points a scan reply answers with: its count nParam, but no more than the whole records
// its data carries (nLength / 112). A count outside 1 to 64 means no network: 0.
int32_t ScanReplyCount(const CfgPacket& packet);

// Bytes of an access-point table to copy from the packet's data into a list of capacity bytes: the
// packet's nLength, none when it is 0 or negative, at most the list's capacity and never beyond the
// buffer's end.
size_t ApTableBytes(const CfgPacket& packet, size_t capacity, size_t bufferSize);
