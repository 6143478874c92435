#include "RtmpDlg.h"

#include <cstring>

#include "GbkText.h"
#include "NetConfigStore.h"
#include "TextTable.h"

// clang-format off
BEGIN_MESSAGE_MAP(CRtmpDlg, CDialog)
END_MESSAGE_MAP()
// clang-format on

CRtmpDlg::CRtmpDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

CRtmpDlg::~CRtmpDlg() = default;

void CRtmpDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_RTMP_ENABLE1, m_bEnable1);
    DDX_Check(pDX, IDC_RTMP_ENABLE2, m_bEnable2);
    DDX_Check(pDX, IDC_RTMP_ENABLE3, m_bEnable3);
    DDX_Text(pDX, IDC_RTMP_URL1, m_strUrl1);
    DDV_MaxChars(pDX, m_strUrl1, URL_MAX_CHARS);
    DDX_Text(pDX, IDC_RTMP_URL2, m_strUrl2);
    DDV_MaxChars(pDX, m_strUrl2, URL_MAX_CHARS);
    DDX_Text(pDX, IDC_RTMP_URL3, m_strUrl3);
    DDV_MaxChars(pDX, m_strUrl3, URL_MAX_CHARS);
}

BOOL CRtmpDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    static const struct {
        int id;
        int text;
    } kTexts[] = {
        {IDC_RTMP_ENABLE1, 71},
        {IDC_RTMP_URL1_LABEL, 74},
        {IDC_RTMP_ENABLE2, 72},
        {IDC_RTMP_URL2_LABEL, 74},
        {IDC_RTMP_ENABLE3, 73},
        {IDC_RTMP_URL3_LABEL, 74},
        {IDOK, 51},
        {IDCANCEL, 52},
    };
    for (const auto& t : kTexts)
        SetDlgItemText(t.id, LoadText(t.text));

    const RtmpServer* rtmp = g_netConfig.rtmp;
    m_bEnable1 = rtmp[0].bEnable;
    m_bEnable2 = rtmp[1].bEnable;
    m_bEnable3 = rtmp[2].bEnable;
    // The parser terminates the field; a full field without a terminator is still read within it.
    m_strUrl1 = CString(rtmp[0].szServerUrl, (int)strnlen(rtmp[0].szServerUrl, sizeof rtmp[0].szServerUrl));
    m_strUrl2 = CString(rtmp[1].szServerUrl, (int)strnlen(rtmp[1].szServerUrl, sizeof rtmp[1].szServerUrl));
    m_strUrl3 = CString(rtmp[2].szServerUrl, (int)strnlen(rtmp[2].szServerUrl, sizeof rtmp[2].szServerUrl));

    UpdateData(FALSE);
    return TRUE;
}

void CRtmpDlg::OnOK() {
    if (!UpdateData(TRUE)) return;

    RtmpServer* rtmp = g_netConfig.rtmp;
    rtmp[0].bEnable = m_bEnable1;
    rtmp[1].bEnable = m_bEnable2;
    rtmp[2].bEnable = m_bEnable3;
    CopyGbkBounded(rtmp[0].szServerUrl, sizeof rtmp[0].szServerUrl, m_strUrl1);
    CopyGbkBounded(rtmp[1].szServerUrl, sizeof rtmp[1].szServerUrl, m_strUrl2);
    CopyGbkBounded(rtmp[2].szServerUrl, sizeof rtmp[2].szServerUrl, m_strUrl3);

    EndDialog(IDOK);
}
