// Netquill's first reading of a camera's reply, as CmdProc hands it on: the route, the bounded copy and
// the scan's records. The host's buffer holds exactly the header and the data its nLength claims, so
// any read past it is caught; a refused length gets only the header. A scan reply fills at most the
// store's 128 records and leaves every other byte of the store, and it lists no more records than
// its nParam says or its data carries.
#include "NetReply.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < CFG_HEADER_SIZE) return 0;
    CfgPacket head;
    std::memcpy(&head, data, sizeof head);
    const bool lengthFits =
        head.nLength >= 0 && size_t(head.nLength) < CFG_NETQUILL_BUFFER_SIZE - CFG_HEADER_SIZE;
    const size_t hostBytes = CFG_HEADER_SIZE + (lengthFits ? size_t(head.nLength) : 0);
    std::vector<uint8_t> host(hostBytes, 0);
    std::memcpy(host.data(), data, size < hostBytes ? size : hostBytes);

    std::vector<uint32_t> copy;
    const ReplyRoute route = TakeReply(host.data(), copy);
    if (CfgKindUnsigned(head.header) != CFG_KIND_SETTINGS) {
        if (route != ReplyRoute::Drop || !copy.empty()) __builtin_trap();
        return 0;
    }
    if (head.nParam == CFG_REPLY_NO_PERMISSION) {
        if (route != ReplyRoute::NoPermission || !copy.empty()) __builtin_trap();
        return 0;
    }
    if (!lengthFits) {
        if (route != ReplyRoute::Drop || !copy.empty()) __builtin_trap();
        return 0;
    }
    if (route != (CfgIsIpFilterModule(head.header) ? ReplyRoute::IpFilter : ReplyRoute::Network))
        __builtin_trap();
    if (copy.size() * 4 < hostBytes + 1 || std::memcmp(copy.data(), host.data(), hostBytes) != 0)
        __builtin_trap();
    const CfgPacket* reply = ReplyPacket(copy);
    if (reply->Data()[head.nLength] != '\0') __builtin_trap();

    // The store as the dialogs leave it, every byte marked.
    std::unique_ptr<NetConfigStore> store(new NetConfigStore());
    std::memset(store.get(), 0xA5, sizeof *store);
    std::unique_ptr<NetConfigStore> before(new NetConfigStore(*store));
    const int listed = TakeScanRecords(*reply, *store);
    const size_t copied =
        size_t(head.nLength) < sizeof store->apList ? size_t(head.nLength) : sizeof store->apList;
    const int carried = int(size_t(head.nLength) / sizeof(ApRecord));
    if (listed != (head.nParam < carried ? head.nParam : carried)) __builtin_trap();
    const uint8_t* list = reinterpret_cast<const uint8_t*>(store->apList);
    if (std::memcmp(list, reply->Data(), copied) != 0) __builtin_trap();
    if (std::memcmp(list + copied, reinterpret_cast<const uint8_t*>(before->apList) + copied,
                    sizeof store->apList - copied) != 0)
        __builtin_trap();
    // Everything but the list, the AP count included, before and behind it.
    std::memcpy(store->apList, before->apList, sizeof store->apList);
    if (std::memcmp(store.get(), before.get(), sizeof *store) != 0) __builtin_trap();
    return 0;
}
