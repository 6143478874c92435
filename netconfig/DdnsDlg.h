// CDdnsDlg: the camera's dynamic-DNS provider, domain, user name and password. Works on the config
// store's DdnsConfig and sends nothing; OK writes it, Cancel and Esc leave it as it was.
#pragma once

#include "framework/Afx.h"

#include "NetquillSubDlgsRes.h"

class CDdnsDlg : public CDialog {
public:
    enum { IDD = IDD_DDNS_DLG };

    static constexpr int TEXT_MAX_CHARS = 25;
    // The providers in list order; DDNS_Type is the position. Never sorted, never translated.
    static constexpr int PROVIDER_COUNT = 8;
    static const char* const kProviders[PROVIDER_COUNT];

    explicit CDdnsDlg(CWnd* pParent = nullptr);
    ~CDdnsDlg() override;

    CComboBox m_comboType; // 1073
    CString m_strDomain;   // 1063
    CString m_strUser;     // 1064
    CString m_strPassword; // 1065, masked

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    afx_msg void OnClear();

    DECLARE_MESSAGE_MAP()
};
