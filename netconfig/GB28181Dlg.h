// CGB28181Dlg: the camera's GB28181 registration settings. Works on the config store's GbConfig
// only and sends nothing: the network dialog's OK sends the fields that differ from the snapshot.
// Only the OK button (1045) writes the store; Exit, Enter and Esc leave it as it was.
#pragma once

#include "framework/Afx.h"

#include "NetquillSubDlgsRes.h"

class CGB28181Dlg : public CDialog {
public:
    enum { IDD = IDD_GB28181_DLG };

    explicit CGB28181Dlg(CWnd* pParent = nullptr);
    ~CGB28181Dlg() override;

    CIPAddressCtrl m_ipServer; // 1043: GB_serverip, filled and read directly
    int m_bEnable = 0;         // 1036
    CString m_strAlarmId;      // 1039, at most 20 characters
    CString m_strDeviceId;     // 1037, at most 20 characters
    UINT m_nExpires = 0;       // 1040, 30 to 86400
    UINT m_nLocalPort = 0;     // 1041, 1025 to 65534
    CString m_strPassword;     // 1038, at most 20 characters, shown in plain text
    UINT m_nServerPort = 0;    // 1042, 1025 to 65534
    UINT m_nKeepAlive = 0;     // 1063, 10 to 300
    UINT m_nExRefresh = 0;     // 1082 (hidden), 0 to 600
    UINT m_nKaOutTimes = 0;    // 1080 (hidden), 0 to 10

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    afx_msg void OnOkButton();
    afx_msg void OnExitButton();
    afx_msg void OnEnableClicked();

    DECLARE_MESSAGE_MAP()
};
