// The period of the device list's refresh timer (timer 4). Platform-free; the main window owns one and
// sets or kills the real timer as told.
#pragma once

constexpr unsigned DEVICE_LIST_FAST_MS = 2000;
constexpr unsigned DEVICE_LIST_SLOW_MS = 30000;
// From this many rows on, refreshing every 2 s costs more than it shows.
constexpr int DEVICE_LIST_SLOW_ROWS = 10;

class DeviceListTimer {
public:
    // The service starts: the list refreshes every 2 s again. Returns the period to set.
    unsigned Start() {
        m_period = DEVICE_LIST_FAST_MS;
        return m_period;
    }

    // One tick, given the list's row count before this tick's refresh. Returns the period to kill
    // and set the timer anew with, or 0 to leave the timer as it runs. Once slow, the list stays slow
    // until the next Start, even when rows disappear again.
    unsigned OnTick(int rowCount) {
        if (rowCount < DEVICE_LIST_SLOW_ROWS) return 0;
        m_period = DEVICE_LIST_SLOW_MS;
        return m_period;
    }

    unsigned Period() const { return m_period; }

private:
    unsigned m_period = DEVICE_LIST_FAST_MS;
};
