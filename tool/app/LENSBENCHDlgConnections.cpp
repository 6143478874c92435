// The main window's connections into the player's four windows, the version poll and the commands.
#include "LENSBENCHDlg.h"

#include "CredentialCopy.h"
#include "resource.h"

namespace {

const UINT kVersionPollMs = 200;

// Audio listening (check box 1021). No audio is played by this program; the flag only records the
// operator's choice.
int g_bAudioListen = 0;

// Room for a list column; the connection record cuts it, and the credentials, to its fields.
const int kColumnTextSize = 64;

} // namespace

static_assert(sizeof(_ST_ChnInfo) == CHNINFO_SIZE, "the player's connection record is filled byte by byte");

void CLENSBENCHDlg::OnDeviceListClick(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    KillTimer(TIMER_VERSION);
    const int item = m_listDevices.GetNextItem(-1, LVNI_SELECTED);
    if (item < 0) return;

    char number[kColumnTextSize] = "", ip[kColumnTextSize] = "", port[kColumnTextSize] = "";
    m_listDevices.GetItemText(item, 1, number, sizeof number);
    m_listDevices.GetItemText(item, 2, ip, sizeof ip);
    m_listDevices.GetItemText(item, 3, port, sizeof port);
    char user[CREDENTIAL_FIELD_SIZE] = "", password[CREDENTIAL_FIELD_SIZE] = "";
    GetDlgItemText(IDC_EDIT_USER, user, sizeof user);
    GetDlgItemText(IDC_EDIT_PASSWORD, password, sizeof password);

    const int window = FindFreeWindow([this](int w) { return m_player.GetConnectState(w); },
                                      [this] { return m_player.GetSelectedIndex(nullptr); });
    // All four busy and none selected: there is no window to put the camera into.
    if (window == 0) return;

    _ST_ChnInfo chn;
    FillChnInfo(&chn, {ip, PortFromText(port), number, user, password, window});
    m_nVersionWnd = window;
    m_strWndNumber[window - 1] = number;
    // The library copies the record: it lives only for this call.
    m_player.Connect(chn, nullptr, 0, 1, 0);
}

// On a thread of the player library: the window's timer and edit belong to the UI thread, so the work
// goes there as a posted message of our own, which keeps the states in the order they came.
void CLENSBENCHDlg::OnConnectState(void*, _ST_ChnInfo*, ConnectState state) {
    if (CLENSBENCHDlg* dlg = g_App.pMainDlg)
        ::PostMessageA(dlg->GetSafeHwnd(), WM_CONNECT_STATE, static_cast<WPARAM>(state), 0);
}

LRESULT CLENSBENCHDlg::OnConnectStateMsg(WPARAM wParam, LPARAM) {
    if (m_bShutDownDone) return 0; // a late report after the shut-down asks nothing more
    if (static_cast<int>(wParam) != CONNECT_STATE_CONNECTED) {
        KillTimer(TIMER_VERSION);
        return 0;
    }
    const int selected = m_player.GetSelectedIndex(nullptr);
    if (IsPlayerWindow(selected) && !m_strWndNumber[selected - 1].IsEmpty())
        m_editNumber.SetWindowText(m_strWndNumber[selected - 1]);
    m_player.RequestVersion(m_nVersionWnd);
    SetTimer(TIMER_VERSION, kVersionPollMs);
    return 0;
}

// The version reaches the window only through the poll; the record's text is not needed here, and a
// box from a library thread would float without an owner.
void CLENSBENCHDlg::OnDeviceVersion(void*, _DEVICE_VERSION*) {}

bool CLENSBENCHDlg::OnVersionPoll() {
    const char* version = m_player.GetverSion();
    const VersionPollStep step =
        m_versionPoll.Tick(version, m_nVersionWnd, [this] { return m_player.GetSelectedIndex(nullptr); });
    if (step.nStoreWindow) m_strWndVersion[step.nStoreWindow - 1] = step.strText.c_str();
    if (step.nShowWindow) m_editVersion.SetWindowText(m_strWndVersion[step.nShowWindow - 1]);
    if (step.bKillTimer) KillTimer(TIMER_VERSION);
    // Nothing (or nothing yet) to show: the tick ends here, without the default processing.
    return version != nullptr && !step.strText.empty();
}

void CLENSBENCHDlg::ShowSelectedWindow() {
    const int selected = m_player.GetSelectedIndex(nullptr);
    if (!IsPlayerWindow(selected)) return;
    if (!m_strWndNumber[selected - 1].IsEmpty()) m_editNumber.SetWindowText(m_strWndNumber[selected - 1]);
    if (!m_strWndVersion[selected - 1].IsEmpty()) m_editVersion.SetWindowText(m_strWndVersion[selected - 1]);
}

void CLENSBENCHDlg::OnLButtonDown(UINT nFlags, CPoint point) {
    ShowSelectedWindow();
    CDialog::OnLButtonDown(nFlags, point);
}

LRESULT CLENSBENCHDlg::OnVideoClicked(WPARAM, LPARAM) {
    ShowSelectedWindow();
    return 0;
}

// The commands act on the player's selected window (DisconnectAll on all four).
void CLENSBENCHDlg::OnAudioListen() {
    if (IsDlgButtonChecked(IDC_CHECK_AUDIO) == BST_CHECKED) {
        g_bAudioListen = 1;
    } else {
        g_bAudioListen = 0;
        for (int& w : m_nAudioWord)
            w = 0;
    }
}

void CLENSBENCHDlg::OnRemoteConfig() {
    m_player.RemoteConfig(0);
}
void CLENSBENCHDlg::OnRebootDevice() {
    m_player.RebootDevice(0);
}

void CLENSBENCHDlg::OnModeBlackWhite() {
    int mode = 1;
    m_player.ChangeIpcMode(mode, 0);
}

void CLENSBENCHDlg::OnModeColour() {
    int mode = 2;
    m_player.ChangeIpcMode(mode, 0);
}

void CLENSBENCHDlg::OnModeAuto() {
    int mode = 3;
    m_player.ChangeIpcMode(mode, 0);
}

void CLENSBENCHDlg::OnCorrectDeadPixels() {
    m_player.CorrectingDeadPix(0);
}
void CLENSBENCHDlg::OnDisconnect() {
    m_player.CleanChnInfo(0);
}
void CLENSBENCHDlg::OnDisconnectAll() {
    m_player.DisconnectAll(1);
}
