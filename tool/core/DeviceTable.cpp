#include "DeviceTable.h"

#include "TextCut.h"

#include <cstdio>
#include <cstring>

DeviceEntry InitialDeviceEntry() {
    DeviceEntry e;
    std::memset(&e, 0, sizeof e);
    CopyTextCut(e.szGroup, "A");
    e.nNumber = -1;
    CopyTextCut(e.szIp, "0.0.0.0");
    return e;
}

DeviceListRow FormatDeviceListRow(int index, const DeviceEntry& e) {
    char text[32];
    DeviceListRow row;
    row.nIndex = index;
    std::snprintf(text, sizeof text, "%d", index + 1);
    row.strColumns[0] = text;
    std::snprintf(text, sizeof text, "%s%d", e.szGroup, static_cast<int>(e.nNumber));
    row.strColumns[1] = text;
    row.strColumns[2] = e.szIp;
    std::snprintf(text, sizeof text, "%d", static_cast<int>(e.nPort));
    row.strColumns[3] = text;
    // Unsigned difference: correct across the tick count's wrap after 49.7 days.
    const uint32_t seconds = (e.dwLastSeen - e.dwFirstSeen) / 1000u;
    std::snprintf(text, sizeof text, "%d", static_cast<int>(seconds));
    row.strColumns[4] = text;
    row.bSelect = false;
    return row;
}

DeviceTable::DeviceTable() {
    m_entries.fill(InitialDeviceEntry());
}

void DeviceTable::Reset() {
    std::lock_guard<std::mutex> hold(m_lock);
    m_entries.fill(InitialDeviceEntry());
}

int DeviceTable::ApplySearchResult(const LanSearchResult& r, bool pushSwitch, uint32_t now) {
    if (r.nEndFlag != 0) return -1;
    char type[DEVICE_TYPE_TEXT_SIZE];
    DeviceTypeText(r.nTypeCode, type);
    Sighting s{type,          r.szGroup,    r.szIp,
               r.nPort,       r.nNumber,    pushSwitch ? Match::Ip : Match::IpAndNumber,
               r.nNumber > 0, r.nNumber > 1};
    return ApplySighting(s, pushSwitch, now);
}

int DeviceTable::ApplyBroadcastResult(const BroadcastResult& r, bool pushSwitch, uint32_t now) {
    // The broadcast's number is unsigned; stored, it reads back as the same 32 bits.
    Sighting s{"IPC",
               r.szGroup,
               r.szIp,
               r.nPort,
               static_cast<int32_t>(r.uNumber),
               pushSwitch ? Match::Ip : Match::Number,
               r.uNumber != 0,
               r.uNumber > 1};
    return ApplySighting(s, pushSwitch, now);
}

int DeviceTable::FindMatchLocked(const Sighting& s) const {
    for (int i = 0; i < DEVICE_TABLE_SIZE; ++i) {
        const DeviceEntry& e = m_entries[i];
        const bool sameIp = std::strcmp(e.szIp, s.ip) == 0;
        const bool sameNumber = static_cast<uint32_t>(e.nNumber) == static_cast<uint32_t>(s.number);
        switch (s.match) {
        case Match::IpAndNumber:
            if (sameIp && sameNumber) return i;
            break;
        case Match::Ip:
            if (sameIp) return i;
            break;
        case Match::Number:
            if (sameNumber) return i;
            break;
        }
    }
    return -1;
}

int DeviceTable::FindFreeLocked() const {
    for (int i = 0; i < DEVICE_TABLE_SIZE; ++i)
        if (m_entries[i].nAlive == 0) return i;
    return -1;
}

int DeviceTable::ApplySighting(const Sighting& s, bool pushSwitch, uint32_t now) {
    std::lock_guard<std::mutex> hold(m_lock);
    int i = FindMatchLocked(s);
    if (i >= 0) {
        DeviceEntry& e = m_entries[i];
        if (pushSwitch) {
            // One entry per address: the number is kept unless the camera reports a real one.
            if (s.storeOnPushMatch) e.nNumber = s.number;
        } else {
            CopyTextCut(e.szGroup, s.group);
        }
        CopyTextCut(e.szType, s.type);
        e.bNew = 1;
        e.nAlive = DEVICE_ALIVE_START;
        e.dwLastSeen = now;
        CopyTextCut(e.szIp, s.ip);
        e.nPort = s.port;
        return i;
    }
    i = FindFreeLocked();
    if (i < 0) return -1;
    DeviceEntry& e = m_entries[i];
    e.nAlive = DEVICE_ALIVE_START;
    e.bServed = 0;
    e.dwFirstSeen = e.dwLastSeen = now;
    if (!pushSwitch || s.storeOnPushNew)
        e.nNumber = s.number;
    else
        e.nNumber = -1; // not the number of the camera that last held this entry
    e.bNew = 1;
    CopyTextCut(e.szType, s.type);
    CopyTextCut(e.szGroup, s.group);
    CopyTextCut(e.szIp, s.ip);
    e.nPort = s.port;
    return i;
}

int DeviceTable::ApplyNumberServed(const char* typeText, const char* group, const char* ip, int32_t port,
                                   int32_t number, uint32_t now) {
    char ipText[16];
    CopyTextCut(ipText, ip);
    std::lock_guard<std::mutex> hold(m_lock);
    for (int i = 0; i < DEVICE_TABLE_SIZE; ++i) {
        DeviceEntry& e = m_entries[i];
        if (std::strcmp(e.szIp, ipText) == 0) {
            e.nNumber = number;
            e.bServed = 1;
            return i;
        }
    }
    const int i = FindFreeLocked();
    if (i < 0) return -1;
    DeviceEntry& e = m_entries[i];
    e.nAlive = DEVICE_ALIVE_START;
    e.bServed = 1;
    e.dwFirstSeen = e.dwLastSeen = now;
    e.nNumber = number;
    e.bNew = 1;
    CopyTextCut(e.szType, typeText);
    CopyTextCut(e.szGroup, group);
    CopyTextCut(e.szIp, ipText);
    e.nPort = port;
    return i;
}

void DeviceTable::Age() {
    std::lock_guard<std::mutex> hold(m_lock);
    for (DeviceEntry& e : m_entries) {
        if (--e.nAlive < 0) {
            e.nAlive = 0;
            CopyTextCut(e.szIp, "0.0.0.0");
            e.nNumber = -1;
            e.bServed = 0;
        }
    }
}

std::vector<DeviceListRow> DeviceTable::CollectListRows(const char* rememberedIp) {
    std::vector<DeviceListRow> rows;
    rows.reserve(DEVICE_TABLE_SIZE);
    std::lock_guard<std::mutex> hold(m_lock);
    for (int i = 0; i < DEVICE_TABLE_SIZE; ++i) {
        DeviceEntry& e = m_entries[i];
        if (e.nAlive <= 0 || std::strcmp(e.szType, "IPC") != 0 || std::strcmp(e.szIp, "0.0.0.0") == 0)
            continue;
        rows.push_back(FormatDeviceListRow(i, e));
        e.bNew = 0;
        rows.back().bSelect = rememberedIp != nullptr && std::strcmp(e.szIp, rememberedIp) == 0;
    }
    return rows;
}

DeviceEntry DeviceTable::Entry(int index) const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_entries.at(static_cast<size_t>(index));
}

std::array<DeviceEntry, DEVICE_TABLE_SIZE> DeviceTable::Snapshot() const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_entries;
}
