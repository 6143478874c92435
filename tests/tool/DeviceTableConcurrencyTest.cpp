// The SDK's threads sight cameras while the UI thread ages the table and rebuilds the list: every row
// read must be one camera's whole record, and no camera may be lost or listed twice.
#include "DeviceTable.h"
#include "Sightings.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int CAMERAS = 48;

std::string CameraIp(int n) {
    return "10.2.0." + std::to_string(n + 1);
}
int32_t CameraNumber(int n) {
    return 5000 + n;
}
int32_t CameraPort(int n) {
    return 7000 + n;
}

// A row is whole when its number, address and port all belong to the same camera.
std::string CheckRow(const DeviceListRow& row) {
    const std::string& col = row.strColumns[1];
    if (col.size() < 2 || col[0] != 'G') return "bad number column " + col;
    const int n = std::stoi(col.substr(1)) - 5000;
    if (n < 0 || n >= CAMERAS) return "unknown number " + col;
    if (row.strColumns[2] != CameraIp(n)) return col + " listed with address " + row.strColumns[2];
    if (row.strColumns[3] != std::to_string(CameraPort(n)))
        return col + " listed with port " + row.strColumns[3];
    return "";
}

void SightAll(DeviceTable& t, bool push, int thread, uint32_t now) {
    for (int n = thread; n < CAMERAS; n += 2) {
        if ((n / 2) % 2 == 0) { // half the cameras answer searches, half broadcast
            t.ApplySearchResult(Search("G", CameraNumber(n), CameraIp(n), CameraPort(n)), push, now);
        } else {
            t.ApplyBroadcastResult(Broadcast("G", uint32_t(CameraNumber(n)), CameraIp(n), CameraPort(n)),
                                   push, now);
        }
    }
}

void RunRound(bool push, std::vector<std::string>& faults) {
    DeviceTable t;
    std::atomic<bool> stop{false};
    std::vector<std::thread> sighters;
    for (int k = 0; k < 4; ++k) {
        sighters.emplace_back([&, k] {
            uint32_t now = 0;
            while (!stop.load(std::memory_order_relaxed))
                SightAll(t, push, k % 2, now += 7);
        });
    }
    std::thread ticker([&] {
        while (!stop.load(std::memory_order_relaxed)) {
            t.Age();
            std::this_thread::yield();
        }
    });
    std::vector<std::string> seen;
    for (int refresh = 0; refresh < 300; ++refresh) {
        std::set<std::string> addresses;
        for (const DeviceListRow& row : t.CollectListRows("")) {
            const std::string fault = CheckRow(row);
            if (!fault.empty()) seen.push_back(fault);
            if (!addresses.insert(row.strColumns[2]).second)
                seen.push_back(row.strColumns[2] + " listed twice");
        }
    }
    stop = true;
    for (std::thread& s : sighters)
        s.join();
    ticker.join();

    // Once everything is quiet, one search round finds every camera exactly once.
    t.Age();
    SightAll(t, push, 0, 1);
    SightAll(t, push, 1, 1);
    const auto rows = t.CollectListRows("");
    std::set<std::string> listed;
    for (const DeviceListRow& row : rows) {
        const std::string fault = CheckRow(row);
        if (!fault.empty()) seen.push_back("at rest: " + fault);
        listed.insert(row.strColumns[2]);
    }
    if (rows.size() != CAMERAS || listed.size() != CAMERAS)
        seen.push_back("at rest: " + std::to_string(rows.size()) + " rows of " +
                       std::to_string(listed.size()) + " cameras, expected " + std::to_string(CAMERAS));
    faults.insert(faults.end(), seen.begin(), seen.end());
}

} // namespace

TEST(DeviceTableConcurrency, SightingsAgeingAndRefreshLoseNothingAndTearNothing) {
    std::vector<std::string> faults;
    for (int round = 0; round < 10 && faults.empty(); ++round) {
        RunRound(false, faults);
        RunRound(true, faults);
    }
    EXPECT_TRUE(faults.empty()) << faults.size() << " faults, first: " << faults.front();
}
