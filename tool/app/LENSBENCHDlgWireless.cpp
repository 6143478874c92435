// The camera's wireless state and the wireless scan of the main window.
#include "LENSBENCHDlg.h"

#include "Packets.h"
#include "resource.h"

#include <cstdio>

WirelessStateBlock g_wirelessState;
int32_t& g_nApCount = g_wirelessState.nApCount;
ApRecord (&g_apList)[AP_LIST_SIZE] = g_wirelessState.apList;
char (&g_szWifiId)[32] = g_wirelessState.szWifiId;
char (&g_szWifiPw)[16] = g_wirelessState.szWifiPw;
int32_t& g_nWifiQ = g_wirelessState.nWifiQ;
int32_t& g_nActived = g_wirelessState.nActived;

namespace {

const char kSearchText[] = "搜索网络";
const int kSearchTimeoutSeconds = 30;
const char kNoNetwork[] = "没有搜索到网络";
const char kExpectedNotFound[] = "没有搜索到设定的无线SSID！";
const int kRowHeight = 20;
const int kCellWidth = 25, kCellHeight = 20;

} // namespace

void CLENSBENCHDlg::ParseWirelessState(const char* text) {
    ParseWirelessText(text, g_wirelessState);
    ShowWirelessState();
}

void CLENSBENCHDlg::SetQualityText(int quality) {
    char text[32];
    _snprintf(text, sizeof text - 1, "%d dBm", quality);
    text[sizeof text - 1] = '\0';
    SetDlgItemText(IDC_STATIC_WIFI_STATE, text);
}

void CLENSBENCHDlg::ShowWirelessState() {
    CWnd* wired = GetDlgItem(IDC_RADIO_WIRED);
    CWnd* wifi = GetDlgItem(IDC_RADIO_WIFI);
    CWnd* ssid = GetDlgItem(IDC_STATIC_SSID);
    CWnd* quality = GetDlgItem(IDC_STATIC_WIFI_STATE);
    if (!wired || !wifi || !ssid || !quality) return;
    // Only the active interface's button is checked; the other keeps whatever check it had.
    if (g_nActived == 0) {
        wired->SendMessage(BM_SETCHECK, BST_CHECKED);
        wired->EnableWindow(TRUE);
        wifi->EnableWindow(FALSE);
        ssid->ShowWindow(SW_HIDE);
        m_staticSignal.ShowWindow(SW_HIDE);
        quality->ShowWindow(SW_HIDE);
    } else {
        wifi->SendMessage(BM_SETCHECK, BST_CHECKED);
        wired->EnableWindow(FALSE);
        wifi->EnableWindow(TRUE);
        ssid->ShowWindow(SW_SHOW);
        m_staticSignal.SetLevel(g_nWifiQ, kCellWidth, kCellHeight);
        m_staticSignal.ShowWindow(SW_SHOW);
        SetQualityText(StateQualityShown(g_nWifiQ));
        quality->ShowWindow(SW_SHOW);
        SetDlgItemText(IDC_STATIC_SSID, g_szWifiId);
    }
}

void CLENSBENCHDlg::ShowListedQuality() {
    g_nWifiQ = ListedQuality(g_wirelessState, g_nWifiQ);
    m_staticSignal.SetLevel(g_nWifiQ, kCellWidth, kCellHeight);
    SetQualityText(g_nWifiQ);
}

void CLENSBENCHDlg::OnWirelessSearch() {
    // One search at a time: a second command would take the waiting search's reply away from it.
    if (m_bScanWaiting) return;
    // The library scans with the camera of its selected window, and that camera's reply comes on the
    // window's channel.
    m_nScanWindow = m_player.GetSelectedIndex(nullptr);
    m_player.SearchNetWork(0);
    // The camera's scan reply ends the box with the number of access points (OnCfgPacket). The box's
    // own end codes (timeout, Enter, Esc) are no count: without a reply the list shows no network,
    // never what an earlier camera's scan left behind.
    m_popUp.SetText(kSearchText);
    m_popUp.SetTimeout(kSearchTimeoutSeconds);
    m_nScanReply = -1;
    m_bScanWaiting = true;
    m_popUp.DoModal();
    m_bScanWaiting = false;
    const int n = m_nScanReply;

    UpdateData(TRUE);
    m_comboWifi.ResetContent();
    m_comboWifi.ResetItems();
    m_nSsidFound = 0;

    const ScanOutcome outcome = BuildScanList(n, g_wirelessState, m_strExpSsid);
    for (int i = 0; i < outcome.nRows; ++i) {
        const ScanRow& row = outcome.rows[i];
        m_comboWifi.SetItemIcon(i, 1, SCAN_CELL_NONE_X, -1);
        m_comboWifi.SetItemIcon(i, 2, SCAN_CELL_LOCK_X, row.nLockIcon);
        m_comboWifi.SetItemIcon(i, 3, SCAN_CELL_SIGNAL_X, row.nSignalIcon);
        // Inserted at its index, not added: the sorted list keeps the camera's order.
        m_comboWifi.InsertString(i, row.szName);
        m_comboWifi.SetItemText(i, row.szName);
    }
    if (outcome.bSsidMatched) m_nSsidQuality = outcome.nSsidQuality;
    m_nSsidFound = outcome.nSsidFound;

    if (outcome.bNoNetwork) {
        m_comboWifi.AddString(kNoNetwork);
        m_comboWifi.SetItemHeight(0, kRowHeight);
        m_comboWifi.SetCurSel(0);
        return;
    }
    for (int i = 0; i < outcome.nRows; ++i)
        m_comboWifi.SetItemHeight(i, kRowHeight);
    m_comboWifi.SetCurSel(0);
    m_comboWifi.ShowDropDown(TRUE);
    UpdateData(FALSE);
    if (m_nSsidFound == 0) AfxMessageBox(kExpectedNotFound, MB_OK);
}

void CLENSBENCHDlg::OnWirelessSelChange() {
    // The selection is read and let go: choosing a network changes nothing.
    (void)m_comboWifi.GetCurSel();
    UpdateData(TRUE);
}
