// Feeds arbitrary bytes as a received config packet through the receive buffer, the routing and every
// reader of the main window: device information and the verdicts drawn from it, ADC values, wireless
// state, access-point tables and the rows of a search (the count taken from nParam, as a scan reply
// gives it).
#include "DeviceInfo.h"
#include "ReceivedPacket.h"
#include "WirelessState.h"

#include <cstdint>
#include <cstring>
#include <initializer_list>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    alignas(4) static char buffer[RECV_BUFFER_SIZE];
    static WirelessStateBlock block;
    static char productType[32], version[64];
    static int32_t group, adcH, adcL, adcR;

    if (!StoreReceivedPacket(buffer, data, static_cast<uint32_t>(size))) return 0;
    if (buffer[CFG_MAIN_BUFFER_SIZE] != '\0') __builtin_trap();
    CfgPacket header;
    std::memcpy(&header, buffer, sizeof header);
    const char* text = buffer + CFG_HEADER_SIZE;

    switch (RouteCfgPacket(header)) {
    case CfgRoute::DeviceInfo:
        ParseProductInfoText(DeviceInfoText(buffer), productType, version, group);
        if (productType[31] != '\0' || version[63] != '\0') __builtin_trap();
        // The verdicts against a configured expectation and against the camera's own texts.
        for (const char* expected : {"V5.2.0_210318", "V5.2.", static_cast<const char*>(version)}) {
            int status[STATUS_COUNT] = {};
            const StatusInputs in{true,     productType, version, group, productType, expected,
                                  "A",      "LINE",      "60",    block.nWifiQ, adcH, adcR};
            EvaluateVerdicts(in, status);
            for (int v : status)
                if (v != VERDICT_FAIL && v != VERDICT_UNKNOWN && v != VERDICT_PASS) __builtin_trap();
            if (status[STATUS_PRODUCT_TYPE] != VERDICT_PASS) __builtin_trap();
            if (status[STATUS_VERSION] == VERDICT_PASS && std::strncmp(version, expected, 5) != 0)
                __builtin_trap();
        }
        break;
    case CfgRoute::AdcValues:
        ParseAdcText(text, adcH, adcL, adcR);
        break;
    case CfgRoute::WirelessState:
        ParseWirelessText(text, block);
        if (block.szWifiId[31] != '\0' || block.szWifiPw[15] != '\0') __builtin_trap();
        break;
    case CfgRoute::ApList:
    case CfgRoute::ScanReply: {
        const size_t n = ApTableBytes(header, sizeof block.apList, CFG_MAIN_BUFFER_SIZE);
        if (n > sizeof block.apList) __builtin_trap();
        std::memcpy(block.apList, text, n);
        block.nWifiQ = ListedQuality(block, block.nWifiQ);
        const ScanOutcome out = BuildScanList(header.nParam, block, text);
        if (out.nRows < 0 || out.nRows > AP_LIST_SIZE) __builtin_trap();
        for (int i = 0; i < out.nRows; ++i)
            if (std::strlen(out.rows[i].szName) > 32) __builtin_trap();
        break;
    }
    case CfgRoute::PanTilt:
    case CfgRoute::Ignore:
        break;
    }
    return 0;
}
