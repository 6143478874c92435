// Feeds arbitrary bytes as a received config packet, posted as the player library posts it, through the
// main window's own gates (the record, the receive buffer, CfgPacketFits) and every reader behind them:
// device information and the verdicts drawn from it with its cut flags, ADC values, wireless state,
// access-point tables and the rows of a search with the count ScanReplyCount gives. Nothing is kept
// from one input to the next.
#include "DeviceInfo.h"
#include "ParamText.h"
#include "ReceivedPacket.h"
#include "WirelessState.h"

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>

namespace {

// The last value of the given key in a device text, as the window's parse loop yields the items, with
// the keys tried in their order: whether that value is longer than a field of fieldSize bytes holds.
bool LastValueLongerThan(const char* text, const char* wanted, size_t fieldSize) {
    ParamTextReader reader(text, 512);
    const char* key;
    const char* value;
    size_t length = 0;
    while (reader.Next(key, value)) {
        const char* matched = KeyMatches(key, "ProductType") ? "ProductType"
                              : KeyMatches(key, "Version")   ? "Version"
                                                             : nullptr;
        if (matched && std::strcmp(matched, wanted) == 0) length = std::strlen(value);
    }
    return length > fieldSize - 1;
}

// What the window makes of a packet of size bytes that its gates let through.
void ReadPacket(const char (&buffer)[RECV_BUFFER_SIZE], size_t size) {
    CfgPacket header;
    std::memcpy(&header, buffer, sizeof header);
    const char* data = buffer + CFG_HEADER_SIZE;
    std::unique_ptr<WirelessStateBlock> block(new WirelessStateBlock());
    int32_t adcH = 0, adcL = 0, adcR = 0;

    switch (RouteCfgPacket(header)) {
    case CfgRoute::DeviceInfo: {
        // The text lies inside what arrived.
        const char* text = DeviceInfoText(buffer);
        if (!text || text < buffer || text >= buffer + size) __builtin_trap();
        char productType[32], version[64];
        int32_t group;
        const unsigned cut = ParseProductInfoText(text, productType, version, group);
        if (productType[31] != '\0' || version[63] != '\0') __builtin_trap();
        // The flags say which values were cut, as the text shows it.
        if (((cut & INFO_PRODUCT_TYPE_CUT) != 0) !=
                LastValueLongerThan(text, "ProductType", sizeof productType) ||
            ((cut & INFO_VERSION_CUT) != 0) != LastValueLongerThan(text, "Version", sizeof version))
            __builtin_trap();
        // The verdicts against a configured expectation and against the stored texts themselves: a cut
        // value never passes, not even against its own cut text.
        for (const char* expected : {"V5.2.0_210318", "V5.2.", static_cast<const char*>(version)}) {
            int status[STATUS_COUNT] = {};
            const StatusInputs in{true,   productType, version, group, productType, expected, "A",
                                  "LINE", "60",        0,       adcH,  adcR,        cut};
            EvaluateVerdicts(in, status);
            for (int v : status)
                if (v != VERDICT_FAIL && v != VERDICT_UNKNOWN && v != VERDICT_PASS) __builtin_trap();
            if ((status[STATUS_PRODUCT_TYPE] == VERDICT_PASS) != !(cut & INFO_PRODUCT_TYPE_CUT))
                __builtin_trap();
            if (status[STATUS_VERSION] == VERDICT_PASS &&
                ((cut & INFO_VERSION_CUT) || std::strncmp(version, expected, 5) != 0))
                __builtin_trap();
        }
        break;
    }
    case CfgRoute::PanTilt: {
        // The plug-in's text (byte 20 + nType) lies inside what arrived as well.
        const int64_t at = static_cast<int64_t>(CFG_HEADER_SIZE) + header.nType;
        if (at < 0 || at >= static_cast<int64_t>(size)) __builtin_trap();
        break;
    }
    case CfgRoute::AdcValues:
        ParseAdcText(data, adcH, adcL, adcR);
        break;
    case CfgRoute::WirelessState:
        ParseWirelessText(data, *block);
        if (block->szWifiId[31] != '\0' || block->szWifiPw[15] != '\0') __builtin_trap();
        break;
    case CfgRoute::ApList:
    case CfgRoute::ScanReply: {
        const size_t n = ApTableBytes(header, sizeof block->apList, CFG_MAIN_BUFFER_SIZE);
        if (n > sizeof block->apList || CFG_HEADER_SIZE + n > size) __builtin_trap();
        std::memcpy(block->apList, data, n);
        block->nWifiQ = ListedQuality(*block, block->nWifiQ);
        // A count outside 1 to 64 is no network; else no more records than whole ones arrived.
        const int32_t count = ScanReplyCount(header);
        if (count < 0 || count > AP_LIST_SIZE) __builtin_trap();
        if ((header.nParam < 1 || header.nParam > AP_LIST_SIZE) && count != 0) __builtin_trap();
        if (count != 0 && (header.nParam != count && static_cast<size_t>(count + 1) * sizeof(ApRecord) <= n))
            __builtin_trap();
        if (static_cast<size_t>(count) * sizeof(ApRecord) > n) __builtin_trap();
        const ScanOutcome out = BuildScanList(count, *block, data);
        if (out.nRows < 0 || out.nRows > count) __builtin_trap();
        for (int i = 0; i < out.nRows; ++i)
            if (std::strlen(out.rows[i].szName) > 32) __builtin_trap();
        break;
    }
    case CfgRoute::Ignore:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The block the library posts: the record, the packet right behind it. The record gate knows it as
    // the library's, and not with its packet pointer or its length moved.
    const size_t blockSize = PACKET_RECORD_SIZE + size;
    const uintptr_t record = reinterpret_cast<uintptr_t>(data) - PACKET_RECORD_SIZE;
    const int32_t length = size > INT32_MAX ? INT32_MAX : static_cast<int32_t>(size);
    if (!IsLibraryPacketRecord(record, record + PACKET_RECORD_SIZE, length, blockSize) ||
        IsLibraryPacketRecord(record, 0, length, blockSize) ||
        IsLibraryPacketRecord(record, record + PACKET_RECORD_SIZE + 1, length, blockSize) ||
        IsLibraryPacketRecord(record, record + PACKET_RECORD_SIZE, length + 1, blockSize))
        __builtin_trap();

    static char buffer[RECV_BUFFER_SIZE]; // zeroed whole by every packet it takes
    if (!StoreReceivedPacket(buffer, data, static_cast<uint32_t>(size))) {
        if (size <= CFG_MAIN_BUFFER_SIZE) __builtin_trap();
        return 0;
    }
    if (buffer[CFG_MAIN_BUFFER_SIZE] != '\0') __builtin_trap();
    CfgPacket header;
    std::memcpy(&header, buffer, sizeof header);
    // The window reads nothing of a packet whose fields point outside what arrived.
    if (!CfgPacketFits(header, size)) return 0;
    ReadPacket(buffer, size);
    return 0;
}
