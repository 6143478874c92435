// The LAN service's device table: 64 entries under one lock, written by the device SDK's callbacks
// (on its own threads) and by OnNumberPush, aged by the search tick and read by the list refresh on
// the UI thread. Every method takes the lock itself; nothing outside ever sees an entry half-written.
// Platform-free: callers pass the tick count and the push switch as plain values.
#pragma once

#include "LanRecords.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

constexpr int DEVICE_TABLE_SIZE = 64;
// Sightings set the countdown to 3; each search tick takes one off; 0 means the entry is free.
constexpr int32_t DEVICE_ALIVE_START = 3;

struct DeviceEntry {
    char szType[DEVICE_TYPE_TEXT_SIZE]; // from the type code; the broadcast always gives "IPC"
    char szGroup[4];                    // cloud group, at most 3 characters
    int32_t nNumber;                    // cloud number, -1 for none
    uint32_t dwFirstSeen;               // tick count when the entry was taken
    uint32_t dwLastSeen;                // tick count at the latest sighting
    int32_t bNew;                       // 1 at every sighting, 0 once the device list showed it
    int32_t bServed;                    // 1 once a number was pushed to this address
    int32_t nAlive;                     // countdown; 0: free
    char szIp[16];                      // dotted IPv4, at most 15 characters
    int32_t nPort;
};

// The initial values of an entry: no type, group "A", number -1, IP "0.0.0.0", all else 0.
DeviceEntry InitialDeviceEntry();

// One row of device list 1005, its five columns as the list shows them: the entry's index plus 1,
// group and number ("%s%d", so -1 shows as "-1" behind the group), IP, port, and the online time in
// seconds: (last seen - first seen) / 1000 on unsigned tick counts, right across a wrap.
struct DeviceListRow {
    int nIndex; // table index
    std::string strColumns[5];
    bool bSelect; // the IP equals the remembered address: make it visible, selected and focused
};
DeviceListRow FormatDeviceListRow(int index, const DeviceEntry& e);

class DeviceTable {
public:
    DeviceTable();
    DeviceTable(const DeviceTable&) = delete;
    DeviceTable& operator=(const DeviceTable&) = delete;

    // Sets every entry to its initial values (the main window's initialisation).
    void Reset();

    // One answer to a LAN search. Returns the index of the entry refreshed or taken, or -1 when the
    // answer carried the end flag or no entry matched and none was free (the camera is dropped).
    int ApplySearchResult(const LanSearchResult& r, bool pushSwitch, uint32_t now);

    // One broadcast (the caller has already ignored calls with the end flag). Same result.
    int ApplyBroadcastResult(const BroadcastResult& r, bool pushSwitch, uint32_t now);

    // A number found for a number-push request: the entry with the request's IP gets the number and
    // the served flag; with none, the lowest free entry is taken for the camera. Returns the index, or
    // -1 when the table is full. Texts are cut to the entry's fields.
    int ApplyNumberServed(const char* typeText, const char* group, const char* ip, int32_t port,
                          int32_t number, uint32_t now);

    // The search tick's ageing: every countdown drops by one; an entry already at 0 is cleared
    // (IP "0.0.0.0", number -1, not served), so a camera leaves the list three ticks after its last
    // sighting and its entry is cleared at the fourth.
    void Age();

    // The rows of the device list, in table order: live entries of type "IPC" whose IP is not
    // "0.0.0.0". Their new flags are cleared. A row whose IP equals rememberedIp is marked for
    // selection (a NULL rememberedIp selects nothing). The rows are built under the lock; the caller
    // fills the list control after releasing it, so no window message is sent while holding it.
    std::vector<DeviceListRow> CollectListRows(const char* rememberedIp);

    // Copies, under the lock.
    DeviceEntry Entry(int index) const;
    std::array<DeviceEntry, DEVICE_TABLE_SIZE> Snapshot() const;

private:
    enum class Match { IpAndNumber, Ip, Number };
    struct Sighting {
        const char* type;
        const char* group;
        const char* ip;
        int32_t port;
        int32_t number;
        Match match;
        bool storeOnPushMatch; // push switch on, matching entry: is the number worth keeping?
        bool storeOnPushNew;   // push switch on, free entry taken: likewise
    };
    int ApplySighting(const Sighting& s, bool pushSwitch, uint32_t now);
    int FindMatchLocked(const Sighting& s) const;
    int FindFreeLocked() const;

    mutable std::mutex m_lock;
    std::array<DeviceEntry, DEVICE_TABLE_SIZE> m_entries;
};
