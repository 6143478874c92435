#include "NetReply.h"

#include <cstring>

ReplyRoute TakeReply(const void* pPacket, std::vector<uint32_t>& copy) {
    copy.clear();
    if (!pPacket) return ReplyRoute::Drop;
    CfgPacket head;
    std::memcpy(&head, pPacket, sizeof head);
    if (CfgKindUnsigned(head.header) != CFG_KIND_SETTINGS) return ReplyRoute::Drop;
    if (head.nParam == CFG_REPLY_NO_PERMISSION) return ReplyRoute::NoPermission;
    // The copy needs room for the data and the NUL behind it; a longer claim is not a reply we read.
    if (head.nLength < 0 || (size_t)head.nLength >= CFG_NETQUILL_BUFFER_SIZE - CFG_HEADER_SIZE)
        return ReplyRoute::Drop;

    const size_t bytes = CFG_HEADER_SIZE + (size_t)head.nLength;
    copy.assign((bytes + 1 + 3) / 4, 0);
    std::memcpy(copy.data(), pPacket, bytes);
    ReplyPacket(copy)->Data()[head.nLength] = '\0';
    return CfgIsIpFilterModule(head.header) ? ReplyRoute::IpFilter : ReplyRoute::Network;
}

int TakeScanRecords(const CfgPacket& reply, NetConfigStore& store) {
    size_t n = reply.nLength > 0 ? (size_t)reply.nLength : 0;
    if (n > sizeof store.apList) n = sizeof store.apList;
    std::memcpy(store.apList, reply.Data(), n);
    // A count that claims more records than came would list what earlier scans left in the store.
    const int carried = (int)((reply.nLength > 0 ? (size_t)reply.nLength : 0) / sizeof(ApRecord));
    return reply.nParam < carried ? reply.nParam : carried;
}
