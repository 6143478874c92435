#include "AfxDDX.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "AfxApp.h"
#include "AfxImpl.h"

namespace {
bool IsClass(HWND h, LPCSTR name) {
    char cls[32] = {};
    ::GetClassNameA(h, cls, sizeof cls);
    return lstrcmpiA(cls, name) == 0;
}

CString ControlText(HWND h) {
    CString s;
    CWnd::FromHandle(h)->GetWindowText(s);
    return s;
}

// Whole-text decimal number with optional surrounding blanks; false for anything else.
bool ParseNumber(CString text, bool bSigned, long long& out) {
    text.Trim();
    if (text.IsEmpty()) return false;
    const char* s = text;
    if (!bSigned && (*s == '-' || *s == '+')) return false;
    char* end = nullptr;
    errno = 0;
    out = strtoll(s, &end, 10);
    return errno == 0 && end && *end == '\0' && (*s != '+' || bSigned);
}

void FailWith(CDataExchange* pDX, const CString& message) {
    AfxMessageBox(message, MB_ICONEXCLAMATION);
    pDX->Fail();
}
} // namespace

HWND CDataExchange::PrepareCtrl(int nIDC) {
    m_idLastControl = nIDC;
    m_bEditLastControl = FALSE;
    return ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND h = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return h;
}

void CDataExchange::Fail() {
    if (HWND h = ::GetDlgItem(m_pDlgWnd->m_hWnd, m_idLastControl)) {
        ::SetFocus(h);
        if (m_bEditLastControl) ::SendMessageA(h, EM_SETSEL, 0, -1);
    }
    throw AfxExchangeFailed{};
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd) return;
    rControl.SubclassDlgItem((UINT)nIDC, pDX->m_pDlgWnd);
}

// A control missing from the template is skipped: the member keeps its value.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (!h) return;
    if (pDX->m_bSaveAndValidate)
        value = ControlText(h);
    else
        ::SetWindowTextA(h, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (!h) return;
    if (pDX->m_bSaveAndValidate) {
        long long n = 0;
        if (!ParseNumber(ControlText(h), false, n) || n > UINT_MAX) FailWith(pDX, "请输入一个整数。");
        value = (UINT)n;
    } else {
        CString s;
        s.Format("%u", value);
        ::SetWindowTextA(h, s);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    HWND h = pDX->PrepareEditCtrl(nIDC);
    if (!h) return;
    if (pDX->m_bSaveAndValidate) {
        long long n = 0;
        if (!ParseNumber(ControlText(h), true, n) || n < INT_MIN || n > INT_MAX)
            FailWith(pDX, "请输入一个整数。");
        value = (int)n;
    } else {
        CString s;
        s.Format("%d", value);
        ::SetWindowTextA(h, s);
    }
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!h) return;
    if (pDX->m_bSaveAndValidate)
        value = (int)::SendMessageA(h, BM_GETCHECK, 0, 0);
    else
        ::SendMessageA(h, BM_SETCHECK,
                       (WPARAM)(value >= BST_UNCHECKED && value <= BST_INDETERMINATE ? value : 0), 0);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!h) return;
    if (pDX->m_bSaveAndValidate) value = -1;
    int index = 0;
    // The group runs from nIDC to the next control with WS_GROUP.
    do {
        LONG style = ::GetWindowLongA(h, GWL_STYLE);
        LONG kind = style & BS_TYPEMASK;
        if (IsClass(h, "Button") && (kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON)) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
            } else {
                ::SendMessageA(h, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++index;
        }
        h = ::GetWindow(h, GW_HWNDNEXT);
    } while (h && !(::GetWindowLongA(h, GWL_STYLE) & WS_GROUP));
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
    if (pDX->m_bSaveAndValidate) {
        if (value.GetLength() > nChars) {
            CString msg;
            msg.Format("输入的内容不能超过 %d 个字符。", nChars);
            FailWith(pDX, msg);
        }
        return;
    }
    HWND h = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, pDX->m_idLastControl);
    if (!h || !pDX->m_bEditLastControl) return;
    if (IsClass(h, "ComboBox"))
        ::SendMessageA(h, CB_LIMITTEXT, (WPARAM)nChars, 0);
    else
        ::SendMessageA(h, EM_LIMITTEXT, (WPARAM)nChars, 0);
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal) {
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
    CString msg;
    msg.Format("请输入一个介于 %u 和 %u 之间的整数。", minVal, maxVal);
    FailWith(pDX, msg);
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
    CString msg;
    msg.Format("请输入一个介于 %d 和 %d 之间的整数。", minVal, maxVal);
    FailWith(pDX, msg);
}
