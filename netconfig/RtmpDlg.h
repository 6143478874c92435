// CRtmpDlg: per video stream, whether it is pushed to a custom RTMP server and that server's address.
// Works on the config store's three RtmpServer records and sends nothing; OK writes them, Exit and
// Esc leave them as they were.
#pragma once

#include "framework/Afx.h"

#include "NetquillSubDlgsRes.h"

class CRtmpDlg : public CDialog {
public:
    enum { IDD = IDD_RTMP_DLG };

    // The longest address the edits accept: what the record's 128-byte field holds with its
    // terminator, so a stored address is never cut.
    static constexpr int URL_MAX_CHARS = 127;

    explicit CRtmpDlg(CWnd* pParent = nullptr);
    ~CRtmpDlg() override;

    int m_bEnable1 = 0; // 1068, stream 1
    int m_bEnable2 = 0; // 1071
    int m_bEnable3 = 0; // 1074
    CString m_strUrl1;  // 1070
    CString m_strUrl2;  // 1073
    CString m_strUrl3;  // 1076

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    DECLARE_MESSAGE_MAP()
};
