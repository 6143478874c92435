#include "WirelessState.h"

#include "DeviceInfo.h"
#include "GbkText.h"
#include "ParamText.h"

#include <cstring>

void ParseWirelessText(const char* text, WirelessStateBlock& block) {
    std::memset(&block, 0, sizeof block);
    ParamTextReader reader(text, 256);
    const char* key;
    const char* value;
    while (reader.Next(key, value)) {
        if (KeyMatches(key, "WIFI_ID"))
            CopyGbkBounded(block.szWifiId, sizeof block.szWifiId, value);
        else if (KeyMatches(key, "WIFI_PW"))
            CopyGbkBounded(block.szWifiPw, sizeof block.szWifiPw, value);
        else if (KeyMatches(key, "WIFI_Q"))
            block.nWifiQ = ParamDecimal(value);
        else if (KeyMatches(key, "ACTIVED"))
            block.nActived = ParamDecimal(value);
    }
}

void ApName(const ApRecord& ap, char (&name)[33]) {
    const size_t n = strnlen(ap.szSsid, sizeof ap.szSsid);
    std::memcpy(name, ap.szSsid, n);
    name[n] = '\0';
}

int32_t ListedQuality(const WirelessStateBlock& block, int32_t current) {
    for (const ApRecord& ap : block.apList) {
        char name[33];
        ApName(ap, name);
        if (std::strcmp(name, block.szWifiId) == 0) return ap.nQuality;
    }
    return current;
}

ScanOutcome BuildScanList(int n, WirelessStateBlock& block, const char* expSsid) {
    ScanOutcome out;
    std::memset(&out, 0, sizeof out);
    if (n < 1 || n > AP_LIST_SIZE) {
        out.bNoNetwork = true;
        return out;
    }
    block.nApCount = n;
    const size_t expLen = expSsid ? std::strlen(expSsid) : 0;
    for (int i = 0; i < n; ++i) {
        ApRecord& ap = block.apList[i];
        ScanRow& row = out.rows[out.nRows];
        ApName(ap, row.szName);
        if (row.szName[0] == '\0') {
            out.bNoNetwork = true;
            return out;
        }
        row.nLockIcon = ap.nEncryption != -1 ? LOCK_ICON : -1;
        if (ap.nQuality == 0) ap.nQuality = 1;
        if (expLen != 0 && std::strncmp(row.szName, expSsid, expLen) == 0) {
            out.bSsidMatched = true;
            out.nSsidQuality = ap.nQuality;
            out.nSsidFound = ap.nQuality;
        }
        row.nSignalIcon = SignalIcon(ap.nQuality);
        ++out.nRows;
    }
    return out;
}
