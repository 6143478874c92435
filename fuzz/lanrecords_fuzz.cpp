// Feeds arbitrary bytes through the readers of the LAN search and broadcast records and on into the
// device table, the list rows and the connection record a click on a row builds, with the push switch
// both ways; the same bytes as the player's version answer. An input is a run of sightings, each a
// mode byte and up to one broadcast record's bytes, that meet in a table of the input's own.
#include "Connection.h"
#include "DeviceTable.h"
#include "LanRecords.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

const size_t kSightingSize = 1 + BROADCAST_RECORD_SIZE;

void Sight(DeviceTable& table, const uint8_t* data, size_t size, uint32_t now) {
    const uint8_t mode = data[0];
    // The callbacks copy a whole record; a short input is padded with zeros, as a zeroed copy would be.
    // One more zero ends the texts that the harness itself takes from the record.
    std::vector<uint8_t> record(BROADCAST_RECORD_SIZE + 1, 0);
    std::memcpy(record.data(), data + 1, size - 1);
    const bool push = mode & 1;

    // The readers refuse a record shorter than their size.
    LanSearchResult s;
    if (ReadLanSearchRecord(record.data(), LAN_SEARCH_RECORD_SIZE - 1, s)) __builtin_trap();
    BroadcastResult b;
    if (ReadBroadcastRecord(record.data(), BROADCAST_RECORD_SIZE - 1, b)) __builtin_trap();

    if (mode & 2) {
        if (ReadBroadcastRecord(record.data(), record.size() - 1, b)) {
            if (std::strlen(b.szGroup) > 3 || std::strlen(b.szIp) > 15) __builtin_trap();
            table.ApplyBroadcastResult(b, push, now);
        }
    } else if (ReadLanSearchRecord(record.data(), record.size() - 1, s)) {
        if (std::strlen(s.szGroup) > 3 || std::strlen(s.szIp) > 15) __builtin_trap();
        table.ApplySearchResult(s, push, now);
    }
    // The player's answer to the version poll is the camera's text as well: kept cut, never made up.
    const char* version = reinterpret_cast<const char*>(record.data());
    const VersionPollStep step = VersionPoll().Tick(version, 1, [] { return 2; });
    if (step.strText.size() > VERSION_TEXT_MAX ||
        step.strText.compare(0, std::string::npos, version, step.strText.size()) != 0)
        __builtin_trap();
    if (mode & 4) table.Age();
    if (mode & 8)
        table.ApplyNumberServed("IPC", reinterpret_cast<const char*>(record.data()), "10.0.0.1", 1, 7, now);
    for (const DeviceListRow& row :
         table.CollectListRows(reinterpret_cast<const char*>(record.data() + 16))) {
        if (row.nIndex < 0 || row.nIndex >= DEVICE_TABLE_SIZE) __builtin_trap();
        // A click on the row: its texts go into the player's fixed fields, every one terminated.
        unsigned char chn[CHNINFO_SIZE];
        const int32_t port = PortFromText(row.strColumns[3].c_str());
        if (port < 0) __builtin_trap();
        FillChnInfo(chn, ChnInfoFields{row.strColumns[2].c_str(), port, row.strColumns[1].c_str(),
                                       row.strColumns[0].c_str(), row.strColumns[4].c_str(), 1});
        if (!std::memchr(chn + CHNINFO_IP_OFFSET, 0, CHNINFO_IP_SIZE) ||
            !std::memchr(chn + CHNINFO_NUMBER_OFFSET, 0, CHNINFO_NUMBER_SIZE) ||
            !std::memchr(chn + CHNINFO_USER_OFFSET, 0, CHNINFO_USER_SIZE) ||
            !std::memchr(chn + CHNINFO_PASSWORD_OFFSET, 0, CHNINFO_PASSWORD_SIZE))
            __builtin_trap();
        if (std::memcmp(chn + CHNINFO_PORT_OFFSET, &port, 4) != 0) __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Nothing survives the input: a failing input fails alone.
    DeviceTable table;
    for (size_t at = 0; at < size; at += kSightingSize) {
        const size_t n = size - at < kSightingSize ? size - at : kSightingSize;
        Sight(table, data + at, n, static_cast<uint32_t>(at + n) * 977u);
    }
    return 0;
}
