// The camera's wireless state and the access points it reports, and the list that a wireless search
// fills from them. Platform-free.
#pragma once

#include "AccessPoint.h"

#include <cstddef>
#include <cstdint>

constexpr int AP_LIST_SIZE = 64;

// The process-wide wireless state, one block so that a state text clears all of it at once.
struct WirelessStateBlock {
    int32_t nApCount;              // access points taken by the last search
    ApRecord apList[AP_LIST_SIZE]; // filled by the list and scan packets
    char szWifiId[32];             // WIFI_ID: the network the camera is on
    char szWifiPw[16];             // WIFI_PW
    int32_t nWifiQ;                // WIFI_Q: signal quality
    int32_t nActived;              // ACTIVED: 0 wired, any other value wireless
};

// Zeroes the whole block, then reads "WIFI_ID", "WIFI_PW", "WIFI_Q" and "ACTIVED" (in that order of
// matching, 256-byte token buffer). Names and passwords too long for their fields are cut on a whole
// character (31 and 15 bytes).
void ParseWirelessText(const char* text, WirelessStateBlock& block);

// The access point's name as a terminated text (a full 32-byte name included).
void ApName(const ApRecord& ap, char (&name)[33]);

// After a list packet: the quality of the first of the 64 entries whose whole name is the camera's
// network; the current quality when none is.
int32_t ListedQuality(const WirelessStateBlock& block, int32_t current);

// The quality as the state line shows it: the remainder of a division by 101, sign of the quality.
inline int32_t StateQualityShown(int32_t quality) {
    return quality % 101;
}
constexpr int LOCK_ICON = 5;
// Icon cells of one search row and their x offsets.
constexpr int SCAN_CELL_NONE_X = 100, SCAN_CELL_LOCK_X = 150, SCAN_CELL_SIGNAL_X = 180;

// One row of the scanned-network list.
struct ScanRow {
    char szName[33];
    int nLockIcon;   // LOCK_ICON for an encrypted network, -1 for an open one
    int nSignalIcon; // SignalIcon of the (corrected) quality
};

// What a finished search shows.
struct ScanOutcome {
    int nRows; // rows listed, in the camera's order
    ScanRow rows[AP_LIST_SIZE];
    bool bNoNetwork;    // the list ends with the "no network" entry: no drop-down, no message
    int32_t nSsidFound; // quality of the expected network, 0 when it was not found
    bool bSsidMatched;  // the expected network was found (its quality goes to m_nSsidQuality)
    int32_t nSsidQuality;
};

// Turns a search's result n (the access-point count of the reply that answered it) into the rows to
// list. For n in 1..64 it sets the block's count to n and walks the first n entries
// until an empty name; a quality of 0 becomes 1 in the block itself. The expected network matches an
// entry whose name begins with it; an empty or NULL expected name matches nothing.
ScanOutcome BuildScanList(int n, WirelessStateBlock& block, const char* expSsid);
