// Decisions of the main window's connections to the player library's four windows: which window a
// camera goes into, the connection record's bytes, the port column's value and the version poll.
// Platform-free: the player's calls are passed in as callables, so the order of calls stays the
// library's own and the logic runs natively under the sanitizers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr int PLAYER_WINDOW_COUNT = 4;

// GetConnectState values that make a window busy.
constexpr int PLAYER_STATE_CONNECTING = 1;
constexpr int PLAYER_STATE_CONNECTED = 2;

inline bool IsPlayerWindow(int window) {
    return window >= 1 && window <= PLAYER_WINDOW_COUNT;
}

// The first of windows 1 to 4 that is neither connecting nor connected; when all four are busy, the
// window the operator selected last. Returns 0 when all are busy and no window is selected: then
// nothing may be connected (and no per-window text indexed). getConnectState(int window) -> int,
// getSelectedIndex() -> int, called in that order and only as far as needed.
template <class StateOf, class Selected>
int FindFreeWindow(StateOf getConnectState, Selected getSelectedIndex) {
    for (int window = 1; window <= PLAYER_WINDOW_COUNT; ++window) {
        const int state = getConnectState(window);
        if (state != PLAYER_STATE_CONNECTING && state != PLAYER_STATE_CONNECTED) return window;
    }
    const int selected = getSelectedIndex();
    return IsPlayerWindow(selected) ? selected : 0;
}

// The value of the port column: its leading decimal digits, 0 when it starts with none. Digits beyond
// what an int32 holds saturate rather than wrap.
int32_t PortFromText(const char* text);

// The player library's connection record, 348 bytes; every byte not named here stays 0.
constexpr size_t CHNINFO_SIZE = 348;
constexpr size_t CHNINFO_IP_OFFSET = 100;       // char[17]
constexpr size_t CHNINFO_PORT_OFFSET = 248;     // int32
constexpr size_t CHNINFO_NUMBER_OFFSET = 252;   // char[17]
constexpr size_t CHNINFO_USER_OFFSET = 269;     // char[32]
constexpr size_t CHNINFO_PASSWORD_OFFSET = 301; // char[32]
constexpr size_t CHNINFO_ALWAYS1_OFFSET = 336;  // int32, always 1
constexpr size_t CHNINFO_WINDOW_OFFSET = 340;   // int32, target window 1 to 4
constexpr size_t CHNINFO_IP_SIZE = 17;
constexpr size_t CHNINFO_NUMBER_SIZE = 17;
constexpr size_t CHNINFO_USER_SIZE = 32;
constexpr size_t CHNINFO_PASSWORD_SIZE = 32;

struct ChnInfoFields {
    const char* ip;       // list column 2
    int32_t port;         // PortFromText of list column 3
    const char* number;   // list column 1: group and number
    const char* user;     // edit 1006
    const char* password; // edit 1007
    int32_t window;       // FindFreeWindow
};

// Zeroes the CHNINFO_SIZE bytes at record and fills the fields, little-endian. Texts longer than
// their fields (16 characters for IP and number, 31 for user name and password) are cut to fit, so a
// click still connects. NULL texts are left empty.
void FillChnInfo(void* record, const ChnInfoFields& fields);

// Longest version text kept from GetverSion.
constexpr size_t VERSION_TEXT_MAX = 127;

// What one tick of the version poll (timer 15) asks the main window to do, in this order.
struct VersionPollStep {
    int nStoreWindow = 0; // 1-4: m_strWndVersion of that window := strText
    std::string strText;  // the version, at most VERSION_TEXT_MAX characters
    int nShowWindow = 0;  // 1-4: edit 1087 := m_strWndVersion of that window, even if empty
    bool bKillTimer = false;
};

// The version poll with its counter. The counter is not reset by connections: it runs on across
// them and meets 3 only when its count of answers reaches exactly 3 on a tick with a version text.
class VersionPoll {
public:
    // version: GetverSion's answer (NULL while pending). versionWindow: m_nVersionWnd.
    // getSelectedIndex() -> int is called only on a tick with a non-empty version.
    template <class Selected>
    VersionPollStep Tick(const char* version, int versionWindow, Selected getSelectedIndex) {
        VersionPollStep step;
        if (version == nullptr) return step;
        step.strText = CutVersion(version);
        ++m_nCounter;
        if (step.strText.empty()) return step;
        const int selected = getSelectedIndex();
        if (IsPlayerWindow(versionWindow)) step.nStoreWindow = versionWindow;
        if (IsPlayerWindow(selected)) {
            step.nShowWindow = selected;
            step.bKillTimer = true;
        }
        if (m_nCounter == 3) {
            m_nCounter = 0;
            step.bKillTimer = true;
        }
        return step;
    }

    int Counter() const { return m_nCounter; }

private:
    static std::string CutVersion(const char* version);
    int m_nCounter = 0;
};
