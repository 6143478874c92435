#include "PopUpDlg.h"

#include "GbkText.h"

#ifndef LK_BUILD_NETQUILL
IMPLEMENT_DYNAMIC(CPopUpDlg, CDialog)
#endif

// clang-format off
BEGIN_MESSAGE_MAP(CPopUpDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()
// clang-format on

namespace {
constexpr UINT_PTR kDotTimer = 0;
constexpr UINT kDotPeriodMs = 500;
} // namespace

CPopUpDlg::CPopUpDlg(CWnd* pParent) : CDialog(IDD, pParent), m_strText("") {}

void CPopUpDlg::SetText(const CString& text) {
    CopyGbkBounded(m_szBaseText, sizeof m_szBaseText, text);
}

void CPopUpDlg::SetTimeout(int seconds) {
    m_nTickLimit = seconds * 2;
}

void CPopUpDlg::EndPopUp(int code) {
    End(code);
}

void CPopUpDlg::End(int code) {
    // The first end wins, whoever gave it (Enter and Esc end through the framework): a tick or a reply
    // that comes between EndDialog and the window's destruction must not replace the code.
    if (!m_bOpen || !m_bContinueModal || !m_hWnd || !::IsWindow(m_hWnd)) return;
    m_bOpen = false;
    EndDialog(code);
}

void CPopUpDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_TEXT, m_strText);
}

BOOL CPopUpDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_nTimerId = SetTimer(kDotTimer, kDotPeriodMs, nullptr);
    m_nDots = 0;
    m_nTicks = 0;
    m_strText = m_szBaseText;
    SetWindowText(m_szBaseText);
    UpdateData(FALSE);
    m_bOpen = true;
    return TRUE;
}

void CPopUpDlg::OnTimer(UINT_PTR nIDEvent) {
    m_strText += ".";
    if (++m_nDots > 3) {
        m_nDots = 0;
        m_strText = m_szBaseText;
    }
    UpdateData(FALSE);
    // Compared before counting: with a limit L the box ends on tick L + 2.
    if (m_nTicks > m_nTickLimit) End(POPUP_TIMEOUT);
    ++m_nTicks;
    CDialog::OnTimer(nIDEvent);
}

void CPopUpDlg::OnPaint() {
    CPaintDC dc(this); // the static control shows the text; the box itself draws nothing
}

void CPopUpDlg::OnDestroy() {
    m_bOpen = false;
    CDialog::OnDestroy();
    KillTimer(m_nTimerId);
}
