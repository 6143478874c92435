#include "DdnsDlg.h"

#include "GbkText.h"
#include "NetConfigStore.h"
#include "TextTable.h"

const char* const CDdnsDlg::kProviders[CDdnsDlg::PROVIDER_COUNT] = {
    "Dyndns DDNS",  "3322 DDNS",         "NO-IP DDNS",   "oray花生壳 DDNS",
    "Myq-see DDNS", "changeip.com DDNS", "a-press DDNS", "heckerddns DDNS",
};

// clang-format off
BEGIN_MESSAGE_MAP(CDdnsDlg, CDialog)
ON_BN_CLICKED(IDC_DDNS_CLEAR, OnClear)
END_MESSAGE_MAP()
// clang-format on

CDdnsDlg::CDdnsDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

CDdnsDlg::~CDdnsDlg() = default;

void CDdnsDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DDNS_TYPE, m_comboType);
    DDX_Text(pDX, IDC_DDNS_HOST, m_strDomain);
    DDV_MaxChars(pDX, m_strDomain, TEXT_MAX_CHARS);
    DDX_Text(pDX, IDC_DDNS_USER, m_strUser);
    DDV_MaxChars(pDX, m_strUser, TEXT_MAX_CHARS);
    DDX_Text(pDX, IDC_DDNS_PASSWORD, m_strPassword);
    DDV_MaxChars(pDX, m_strPassword, TEXT_MAX_CHARS);
}

BOOL CDdnsDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    static const struct {
        int id;
        int text;
    } kTexts[] = {
        {IDC_DDNS_TYPE_LABEL, 75},
        {IDC_DDNS_HOST_LABEL, 76},
        {IDC_DDNS_USER_LABEL, 77},
        {IDC_DDNS_PASSWORD_LABEL, 78},
        {IDC_DDNS_CLEAR, 81},
        {IDOK, 79},
        {IDCANCEL, 80},
    };
    for (const auto& t : kTexts)
        SetDlgItemText(t.id, LoadText(t.text));

    m_comboType.ResetContent();
    for (const char* provider : kProviders)
        m_comboType.AddString(provider);
    const DdnsConfig& ddns = g_netConfig.ddns;
    m_comboType.SetCurSel(ddns.nType >= 0 && ddns.nType < PROVIDER_COUNT ? ddns.nType : -1);

    m_strDomain = ddns.szHost;
    m_strUser = ddns.szUser;
    m_strPassword = ddns.szPassword;

    UpdateData(FALSE);
    return TRUE;
}

void CDdnsDlg::OnOK() {
    if (!UpdateData(TRUE)) return;

    DdnsConfig& ddns = g_netConfig.ddns;
    ddns.nType = m_comboType.GetCurSel(); // CB_ERR (-1): no provider chosen
    CopyGbkBounded(ddns.szHost, sizeof ddns.szHost, m_strDomain);
    CopyGbkBounded(ddns.szUser, sizeof ddns.szUser, m_strUser);
    CopyGbkBounded(ddns.szPassword, sizeof ddns.szPassword, m_strPassword);

    EndDialog(IDOK);
}

void CDdnsDlg::OnClear() {
    // Only the screen is cleared; the store keeps its values until OK.
    m_comboType.SetCurSel(0);
    SetDlgItemText(IDC_DDNS_HOST, "");
    SetDlgItemText(IDC_DDNS_USER, "");
    SetDlgItemText(IDC_DDNS_PASSWORD, "");
}
