// The main window's LAN service: start and stop, the search tick, the number-push switch, and the
// search and broadcast callbacks that fill the device table from the SDK's threads.
#include "LENSBENCHDlg.h"
#include "LENSBENCHDlgNumberPush.h"

#include "CredentialCopy.h"
#include "DeviceTable.h"
#include "LanRecords.h"
#include "QLCLIENT.h"
#include "resource.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

std::atomic<int> g_nPushSwitch(0);
CredentialCopy g_Credentials;

namespace {

const char kServiceStartedWithConfig[] = "已开启服务.服务运行中.带配置(%d字节).";
const char kServiceStarted[] = "已开启服务.服务运行中.无配置.";
const char kServiceFailed[] = "开启服务失败.";

const UINT kSearchPeriodMs = 3000;
const UINT kStatusPeriodMs = 500;
const UINT kCredentialPushTimeoutMs = 1000;

const int kSearchPortFirst = 9400, kSearchPortLast = 9499, kSearchDevicePort = 6666;
const int kBroadcastPortFirst = 9500, kBroadcastPortLast = 9599, kBroadcastDevicePort = 9106;

// Hands the operator's credentials to the cameras on the LAN, from whichever thread asks: the copy,
// never the edits, so no SDK thread waits for the UI thread.
void PushCredentials() {
    char user[CREDENTIAL_FIELD_SIZE], password[CREDENTIAL_FIELD_SIZE];
    g_Credentials.Get(user, password);
    QLC_LANToolDevice(user, password, kCredentialPushTimeoutMs);
}

// The search and broadcast servers' callbacks: they run on the SDK's threads and never touch the window.
void OnLanSearchResult(LanSearchRecord record) {
    LanSearchResult r;
    if (!ReadLanSearchRecord(&record, sizeof record, r) || r.nEndFlag != 0) return;
    const bool push = g_nPushSwitch.load() != 0;
    if (NeedsCredentialPush(r, push)) PushCredentials();
    g_DeviceTable.ApplySearchResult(r, push, ::GetTickCount());
}

void OnBroadcastResult(int, BroadcastRecord* record, int, int, int end) {
    if (end != 0 || record == nullptr) return;
    BroadcastResult b;
    if (!ReadBroadcastRecord(record, sizeof(BroadcastRecord), b)) return;
    const bool push = g_nPushSwitch.load() != 0;
    if (NeedsCredentialPush(b, push)) PushCredentials();
    g_DeviceTable.ApplyBroadcastResult(b, push, ::GetTickCount());
}

} // namespace

void CLENSBENCHDlg::AppendServiceLine(const char* text) {
    const int count = m_listServiceLog.GetCount();
    m_listServiceLog.InsertString(count, text);
    m_listServiceLog.SetCurSel(m_listServiceLog.GetCount() - 1);
}

void CLENSBENCHDlg::StartStopService() {
    if (m_bServiceRunning == 0) {
        SetTimer(TIMER_LIST, m_listTimer.Start());
        GetDlgItem(IDC_BTN_START)->EnableWindow(FALSE);
        m_bServiceRunning = 1;
        if (QLC_EnableLANTool(1, 0, 0, OnNumberPush) == 1) {
            if (g_nSearchTimer == 0) g_nSearchTimer = SetTimer(TIMER_SEARCH, kSearchPeriodMs);
            char line[128];
            const int configLength = m_config.Current().length;
            if (configLength > 0)
                _snprintf(line, sizeof line - 1, kServiceStartedWithConfig, configLength);
            else
                _snprintf(line, sizeof line - 1, "%s", kServiceStarted);
            line[sizeof line - 1] = '\0';
            AppendServiceLine(line);
        } else {
            AppendServiceLine(kServiceFailed);
        }
        // A port the SDK cannot take is tried no further; without any, that server is simply missing.
        for (int port = kSearchPortFirst; port <= kSearchPortLast; ++port)
            if (QLC_StartLANSerchServer(port, kSearchDevicePort, OnLanSearchResult, 1)) break;
        for (int port = kBroadcastPortFirst; port <= kBroadcastPortLast; ++port)
            if (QLC_StartBroadcastServer(port, kBroadcastDevicePort, OnBroadcastResult)) break;
        // Searches run even when the LAN tool could not be enabled.
        if (g_nSearchTimer == 0) g_nSearchTimer = SetTimer(TIMER_SEARCH, kSearchPeriodMs);
        SetTimer(TIMER_STATUS, kStatusPeriodMs);
    } else {
        QLC_EnableLANTool(0, 0, 0, OnNumberPush);
        if (g_nSearchTimer != 0) {
            KillTimer(g_nSearchTimer);
            g_nSearchTimer = 0;
        }
        m_bServiceRunning = 0;
        m_listDevices.DeleteAllItems();
    }
    // Timer id 0: no tick work, the window only sees that the service changed.
    PostMessage(WM_TIMER, 0, 0);
}

void CLENSBENCHDlg::OnSearchTick() {
    // The pan-tilt test sequence draws its pauses from the C library's generator.
    srand(static_cast<unsigned>(time(nullptr)));
    QLC_LANSerchDevice("", 0, QLC_DEVTYPE_IPC, 3, "", 0, 3600);
    g_DeviceTable.Age();
    if (g_nPushSwitch.load() != 0) PushCredentials();
}

void CLENSBENCHDlg::OnNumberPushSwitch() {
    const int on = IsDlgButtonChecked(IDC_CHECK_NUMBER_PUSH) == BST_CHECKED ? 1 : 0;
    g_nPushSwitch.store(on);
    GetDlgItem(IDC_EDIT_CFG_PATH)->EnableWindow(on);
    GetDlgItem(IDC_BTN_BROWSE_CFG)->EnableWindow(on);
}

void CLENSBENCHDlg::OnCredentialsChanged() {
    char user[CREDENTIAL_FIELD_SIZE] = "", password[CREDENTIAL_FIELD_SIZE] = "";
    GetDlgItemText(IDC_EDIT_USER, user, sizeof user);
    GetDlgItemText(IDC_EDIT_PASSWORD, password, sizeof password);
    g_Credentials.Set(user, password);
}
