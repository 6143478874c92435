// The first reading of a config packet that the host hands to CmdProc, before the network dialog acts
// on it: which packets are read at all, the copy that is read, and the access-point records that a scan
// reply puts into the store. Platform-free, so the native build fuzzes it.
#pragma once

#include <cstdint>
#include <vector>

#include "CfgPacket.h"
#include "NetConfigStore.h"

enum class ReplyRoute {
    Drop,         // NULL, not of kind 6, or a data length that the copy cannot hold with its NUL
    NoPermission, // nParam 1029, whatever the module and nType: the box is all that follows
    IpFilter,     // module 35: the IP filter dialog's
    Network,      // any other module: the network dialog's
};

// Reads the 20-byte header at pPacket and routes the packet. For IpFilter and Network, copy receives
// the header and exactly nLength data bytes (0 to 143,343), NUL-terminated behind the data; the host's
// buffer is read no further. The copy is on the heap: replies nest (one may arrive inside the message
// box of another), and a full-size buffer in every frame would run the UI thread out of stack.
ReplyRoute TakeReply(const void* pPacket, std::vector<uint32_t>& copy);

// The packet of a copy that TakeReply filled.
inline CfgPacket* ReplyPacket(std::vector<uint32_t>& copy) {
    return reinterpret_cast<CfgPacket*>(copy.data());
}

// The reply of the awaited scan: copies its data into the store's access-point list from the first
// record on, at most the list's 128 records (the rest of a longer reply is dropped), and returns how
// many records the reply lists: the smaller of its nParam and the whole records it carries. The AP
// count and the rest of the store are left as they are.
int TakeScanRecords(const CfgPacket& reply, NetConfigStore& store);
