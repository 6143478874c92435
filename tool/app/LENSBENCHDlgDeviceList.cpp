// The main window's device list 1005: rebuilt from the device table on every refresh.
#include "LENSBENCHDlg.h"

#include "DeviceTable.h"

LRESULT CLENSBENCHDlg::OnRefreshDeviceListMsg(WPARAM, LPARAM) {
    RefreshDeviceList();
    return 0;
}

void CLENSBENCHDlg::RefreshDeviceList() {
    // Drawn once when filled, not once per row and column (that costs about 10 ms a row under Wine).
    m_listDevices.SendMessage(WM_SETREDRAW, FALSE);
    m_listDevices.DeleteAllItems();
    // The rows are taken under the table's lock; the list is filled after it is released, so no
    // window message is ever sent while an SDK thread may be waiting for the lock.
    const std::vector<DeviceListRow> rows = g_DeviceTable.CollectListRows(g_szRememberedIp);
    for (const DeviceListRow& row : rows) {
        const int item = m_listDevices.InsertItem(m_listDevices.GetItemCount(), row.strColumns[0].c_str());
        if (item < 0) continue;
        for (int column = 1; column < 5; ++column)
            m_listDevices.SetItemText(item, column, row.strColumns[column].c_str());
        if (row.bSelect) {
            m_listDevices.EnsureVisible(item, FALSE);
            m_listDevices.SetItemState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        }
    }
    m_listDevices.SendMessage(WM_SETREDRAW, TRUE);
    m_listDevices.Invalidate();
}

void CLENSBENCHDlg::OnListTick() {
    // Counted before this tick's refresh; once slow, the list stays slow until the service restarts.
    if (const unsigned period = m_listTimer.OnTick(m_listDevices.GetItemCount())) {
        KillTimer(TIMER_LIST);
        SetTimer(TIMER_LIST, period);
    }
    PostMessage(WM_REFRESH_DEVLIST, 0, 0);
}
