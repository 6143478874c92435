#include "AfxDDX.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include <commctrl.h>

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

// The label of the field nIDC: the static control just before it in the dialog's order, where a
// template puts the label of the field that follows it. Empty when there is none.
CString FieldLabel(HWND hDlg, int nIDC) {
    HWND hField = ::GetDlgItem(hDlg, nIDC);
    HWND hPrev = hField ? ::GetWindow(hField, GW_HWNDPREV) : nullptr;
    return hPrev && IsClass(hPrev, "Static") ? ControlText(hPrev) : CString();
}

// The box names the field it is about, so the operator knows which of several texts to change. It
// belongs to the dialog whose field it is, whichever window is active.
void FailWith(CDataExchange* pDX, const CString& message) {
    const CString label = FieldLabel(pDX->m_pDlgWnd->m_hWnd, pDX->m_idLastControl);
    pDX->m_pDlgWnd->MessageBox(label.IsEmpty() ? message : label + "\n" + message, nullptr,
                               MB_ICONEXCLAMATION);
    pDX->Fail();
}

// An edit's own limit counts characters (under Wine even in an ANSI edit), while the checks count
// bytes, and a Chinese character takes two. So an edit that DDV_MaxChars limits also keeps its text
// to that many bytes: what an insertion would put past the limit is cut off, on a whole character,
// as the edit cuts what goes past its own limit. Texts set by the program are not limited.
constexpr UINT_PTR kByteLimitId = 0x4C4B;

// The messages through which the operator can add text to an edit.
bool MayInsert(UINT message) {
    switch (message) {
    case WM_CHAR:
    case WM_IME_CHAR:
    case WM_IME_COMPOSITION:
    case WM_KEYDOWN:     // Shift+Insert pastes
    case WM_CONTEXTMENU: // the menu's Paste
    case WM_PASTE:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REPLACESEL:
        return true;
    default:
        return false;
    }
}

std::string EditText(HWND h) {
    // The length may overstate a text with double-byte characters, never understate it.
    std::string s((size_t)::GetWindowTextLengthA(h) * 2 + 2, '\0');
    const int n = ::GetWindowTextA(h, &s[0], (int)s.size());
    s.resize(n > 0 ? (size_t)n : 0);
    return s;
}

size_t CharBytes(const std::string& s, size_t pos) {
    return AfxCharBytes(s.data(), pos, s.size());
}

// Sets text and puts the caret after its first caretBytes bytes (counted in the edit's own units).
void SetTextAndCaret(HWND h, const std::string& text, size_t caretBytes) {
    ::SetWindowTextA(h, text.substr(0, caretBytes).c_str());
    ::SendMessageA(h, EM_SETSEL, (WPARAM)INT_MAX, INT_MAX);
    DWORD caret = 0;
    ::SendMessageA(h, EM_GETSEL, 0, (LPARAM)&caret);
    ::SetWindowTextA(h, text.c_str());
    ::SendMessageA(h, EM_SETSEL, caret, caret);
}

LRESULT CALLBACK KeepBytesProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR limit) {
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(h, KeepBytesProc, id);
        return ::DefSubclassProc(h, message, wParam, lParam);
    }
    if (!MayInsert(message)) return ::DefSubclassProc(h, message, wParam, lParam);
    const std::string before = EditText(h);
    const LRESULT result = ::DefSubclassProc(h, message, wParam, lParam);
    const std::string after = EditText(h);
    if (after.size() <= limit || after.size() <= before.size()) return result;

    // What the edit put in: the bytes between the start and the end that the texts share.
    size_t head = 0;
    while (head < after.size()) {
        const size_t n = CharBytes(after, head);
        if (head + n > before.size() || std::memcmp(&before[head], &after[head], n) != 0) break;
        head += n;
    }
    size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    size_t end = head; // the end of the insertion, on a whole character
    while (end < after.size() - tail)
        end += CharBytes(after, end);
    tail = after.size() - end;
    if (head + tail > limit) {
        SetTextAndCaret(h, before, before.size()); // nothing of it fits
        return result;
    }
    size_t kept = head;
    while (kept < end && kept + CharBytes(after, kept) <= limit - tail)
        kept += CharBytes(after, kept);
    SetTextAndCaret(h, after.substr(0, kept) + after.substr(end), kept);
    return result;
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
    if (IsClass(h, "ComboBox")) {
        ::SendMessageA(h, CB_LIMITTEXT, (WPARAM)nChars, 0);
    } else {
        ::SendMessageA(h, EM_LIMITTEXT, (WPARAM)nChars, 0);
        ::SetWindowSubclass(h, KeepBytesProc, kByteLimitId, (DWORD_PTR)nChars);
    }
}

BOOL AfxCheckMaxChars(CWnd* pDlgWnd, int nIDC, const CString& value, int nChars) {
    CDataExchange dx(pDlgWnd, TRUE);
    dx.PrepareEditCtrl(nIDC);
    try {
        DDV_MaxChars(&dx, value, nChars);
    } catch (const AfxExchangeFailed&) {
        return FALSE;
    }
    return TRUE;
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
