// CIpFilterDlg: the camera's IP access list, a mode (no limit, forbid the listed addresses, allow
// only them) and up to 20 entries, each one address or a range inside one /24.
//
// Unlike the other sub-dialogs it talks to the camera itself with module-35 config packets, built in
// its own request buffer. It keeps the camera's list (the device table), which every parameter text
// and every module-35 reply replaces; the list view is a working copy that Add and Delete change and
// Save turns into requests (the mode, then deletes, then adds), all sent at once.
#pragma once

#include "framework/Afx.h"

#include "CfgPacket.h"
#include "IpFilterList.h"
#include "NetquillSubDlgsRes.h"

class CIpFilterDlg : public CDialog {
public:
    enum { IDD = IDD_IPFILTER_DLG };

    enum { MODE_NO_LIMIT = IP_FILTER_NO_LIMIT, MODE_FORBID = IP_FILTER_FORBID, MODE_ALLOW = IP_FILTER_ALLOW };
    static constexpr int MAX_ENTRIES = IP_FILTER_MAX_ENTRIES;
    // Requests of module 35 (nType) and the statuses their replies carry in nParam.
    enum { REQ_QUERY = 3, REQ_ADD = 4, REQ_DELETE = 5, REQ_SET_MODE = 6 };
    enum { ST_PRESENT = 1, ST_FULL = 2, ST_NOT_PRESENT = 3, ST_PARAM_ERROR = 4 };

    explicit CIpFilterDlg(CWnd* pParent = nullptr);
    ~CIpFilterDlg() override;

    // Reads the IP filter items (IPListPower, IPIndex, IPAddr1, IPAddr2) of a parameter text into the
    // device table (ReadIpFilterList); the parameter parser calls it after every parse. A NULL text
    // empties the table, as a text without any of these items does.
    void ParseList(const char* text);
    // A module-35 reply, given from its nType on (nType, nParam, nLength, reserved, then the data
    // NUL-terminated at nLength). Ignored unless the dialog is on screen.
    void OnReply(const void* pFromType);
    // The state text of a mode, as column 2 shows it.
    static CString StateText(int nMode);

    BOOL DestroyWindow() override;

    // What the dialog holds, for the network dialog and for tests.
    int DeviceCount() const { return m_nDeviceCount; }
    const IpFilterEntry& DeviceEntry(int i) const { return m_devEntries[i]; }
    int DeviceMode() const { return m_nDeviceMode; }
    int Mode() const { return m_nMode; }
    int Selected() const { return m_nSelected; }
    bool SavePending() const { return m_bSavePending != 0; }
    bool RefreshPending() const { return m_bRefreshPending != 0; }
    const CfgPacket* Packet() const { return reinterpret_cast<const CfgPacket*>(m_packet); }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    afx_msg void OnModeClicked();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnRefresh();
    afx_msg void OnDelete();
    afx_msg void OnListClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnAdd();
    afx_msg void OnStartChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnSave();
    afx_msg void OnRangeToggled();
    afx_msg void OnEndChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnCloseButton();

    // 1: only column 2 follows m_nMode; otherwise the list is rebuilt from the device table.
    void FillList(int which);
    void ClearSelection();

    DECLARE_MESSAGE_MAP()

    CIPAddressCtrl m_ipEnd;   // 1094: end of a range
    CIPAddressCtrl m_ipStart; // 1087: single address or start of a range
    CButton m_btnDelete;      // 1088
    CListCtrl m_list;         // 1089: start, end, state text
    int m_nMode = 0;          // radio group 1084-1086: the shown mode
    int m_bRange = 0;         // check box 1096: the entry to add is a range
    int m_bRefreshPending = 0;
    int m_bSavePending = 0;
    int m_nDeviceMode = 0; // the mode the camera last reported, or the mode last sent
    UINT_PTR m_nTimerId = 0;
    int m_nDeviceCount = 0;
    int m_nSelected = -1;
    IpFilterEntry m_devEntries[MAX_ENTRIES] = {};
    alignas(4) unsigned char m_packet[CFG_NETQUILL_BUFFER_SIZE] = {};

private:
    CfgPacket* Pkt() { return reinterpret_cast<CfgPacket*>(m_packet); }
    void SendRequest(int nType, int nParam, const char* start, const char* end);
    // Copies the first three octets of from into to, which keeps its own last octet.
    void CopyNetwork(CIPAddressCtrl& from, CIPAddressCtrl& to);
    bool m_bSyncingAddress = false;
};
