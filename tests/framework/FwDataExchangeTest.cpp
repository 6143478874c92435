// Data exchange between controls and members, and the failure path of a check.
#include <gtest/gtest.h>

#include "Afx.h"
#include "FwTestIds.h"
#include "FwTestUtil.h"

namespace {
class CExchangeDlg : public CDialog {
public:
    CExchangeDlg() : CDialog(IDD_DDX) {}

    CEdit m_edit;
    CString m_text = "初始";
    UINT m_port = 8080;
    int m_radio = 1;
    int m_check = BST_CHECKED;
    int exchanges = 0;
    int okFailures = 0;
    int focusAfterFailure = 0; // control id with the focus right after the last failed OK

    // The framework's OK; when that leaves the dialog running, note where the focus went. Read at once:
    // windows of tests running in parallel may take the activation away later.
    void OnOK() override {
        CDialog::OnOK();
        if (m_bContinueModal) {
            ++okFailures;
            focusAfterFailure = ::GetDlgCtrlID(::GetFocus());
        }
    }

    void DoDataExchange(CDataExchange* pDX) override {
        ++exchanges;
        DDX_Control(pDX, IDC_TEXT, m_edit);
        DDX_Text(pDX, IDC_TEXT, m_text);
        DDV_MaxChars(pDX, m_text, 8);
        DDX_Text(pDX, IDC_PORT, m_port);
        DDV_MinMaxUInt(pDX, m_port, 1025, 65534);
        DDX_Radio(pDX, IDC_RADIO1, m_radio);
        DDX_Check(pDX, IDC_CHECK, m_check);
    }
};

void SetText(HWND hDlg, int id, const char* s) {
    ::SetDlgItemTextA(hDlg, id, s);
}
} // namespace

TEST(FrameworkDataExchange, LoadsAndSavesInBothDirections) {
    CExchangeDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_DDX)); // OnInitDialog loads the members
    EXPECT_EQ("初始", ItemText(dlg, IDC_TEXT));
    EXPECT_EQ("8080", ItemText(dlg, IDC_PORT));
    EXPECT_EQ(8u, (UINT)::SendDlgItemMessageA(dlg, IDC_TEXT, EM_GETLIMITTEXT, 0, 0))
        << "DDV_MaxChars limits the edit";
    // In bytes, as the check counts: a Chinese character takes two, and none is cut in half.
    SetText(dlg, IDC_TEXT, "ab");
    ::SendDlgItemMessageA(dlg, IDC_TEXT, EM_SETSEL, 1, 1);
    ::SendDlgItemMessageA(dlg, IDC_TEXT, EM_REPLACESEL, TRUE, (LPARAM) "汉字汉字");
    EXPECT_EQ("a汉字汉b", ItemText(dlg, IDC_TEXT)) << "a paste is cut to what fits";
    ::SendDlgItemMessageA(dlg, IDC_TEXT, WM_CHAR, 'x', 0);
    EXPECT_EQ("a汉字汉b", ItemText(dlg, IDC_TEXT)) << "a full edit takes no more";
    const int radios[] = {IDC_RADIO1, IDC_RADIO2, IDC_RADIO3};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(i == 1 ? BST_CHECKED : BST_UNCHECKED, ::IsDlgButtonChecked(dlg, radios[i]))
            << "radio " << i;
    EXPECT_EQ(BST_CHECKED, (int)::IsDlgButtonChecked(dlg, IDC_CHECK));

    SetText(dlg, IDC_TEXT, "abc");
    SetText(dlg, IDC_PORT, " 65534 ");
    ::CheckRadioButton(dlg, IDC_RADIO1, IDC_RADIO3, IDC_RADIO3);
    ::CheckDlgButton(dlg, IDC_CHECK, BST_UNCHECKED);
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_STREQ("abc", dlg.m_text);
    EXPECT_EQ(65534u, dlg.m_port);
    EXPECT_EQ(2, dlg.m_radio);
    EXPECT_EQ(BST_UNCHECKED, dlg.m_check);

    // No radio checked saves -1; -1 loads as none checked.
    ::CheckRadioButton(dlg, IDC_RADIO1, IDC_RADIO3, 0);
    for (int id : radios)
        ::CheckDlgButton(dlg, id, BST_UNCHECKED);
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(-1, dlg.m_radio);
    ASSERT_TRUE(dlg.UpdateData(FALSE));
    for (int id : radios)
        EXPECT_EQ(BST_UNCHECKED, (int)::IsDlgButtonChecked(dlg, id));
    EXPECT_EQ(BST_UNCHECKED, (int)::IsDlgButtonChecked(dlg, IDC_AFTER))
        << "the group ends at the next WS_GROUP";
}

TEST(FrameworkDataExchange, RepeatedControlBindingIsHarmless) {
    CExchangeDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_DDX));
    HWND hEdit = dlg.m_edit.m_hWnd;
    ASSERT_NE(nullptr, hEdit);
    WNDPROC proc = (WNDPROC)::GetWindowLongPtrA(hEdit, GWLP_WNDPROC);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(dlg.UpdateData(TRUE));
        EXPECT_TRUE(dlg.UpdateData(FALSE));
    }
    EXPECT_EQ(7, dlg.exchanges);
    EXPECT_EQ(hEdit, dlg.m_edit.m_hWnd);
    EXPECT_EQ(proc, (WNDPROC)::GetWindowLongPtrA(hEdit, GWLP_WNDPROC)) << "subclassed again";
    EXPECT_EQ(&dlg.m_edit, CWnd::FromHandlePermanent(hEdit));
    dlg.m_edit.SetWindowText("ok"); // still answers through the framework
    EXPECT_EQ("ok", ItemText(dlg, IDC_TEXT));
}

TEST(FrameworkDataExchange, FailedCheckShowsMessageKeepsDialogOpenAndFocusesTheField) {
    struct Case {
        const char* text;
        const char* port;
        int failedField; // 0: the exchange succeeds
    } cases[] = {
        {"abc", "80", IDC_PORT},         // below the range
        {"abc", "65535", IDC_PORT},      // above the range
        {"abc", "12ab", IDC_PORT},       // not a number
        {"abc", "", IDC_PORT},           // empty
        {"abc", "-2000", IDC_PORT},      // signed
        {"123456789", "2000", IDC_TEXT}, // too long: checked first, the port is not read
        {"abc", "1025", 0},
    };
    for (const Case& c : cases) {
        CExchangeDlg dlg;
        std::string message;
        std::function<void()> endAfterFailure = [&] {
            if (dlg.okFailures)
                dlg.EndDialog(IDCANCEL);
            else
                After(10, endAfterFailure);
        };
        After(0, [&] {
            WhenActive(dlg, [&] {
                SetText(dlg, IDC_TEXT, c.text);
                SetText(dlg, IDC_PORT, c.port);
                ::SetFocus(::GetDlgItem(dlg, IDC_CHECK));
                dlg.PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)::GetDlgItem(dlg, IDOK));
                if (!c.failedField) return;
                WhenDialogShown(
                    [&](HWND hBox) {
                        message = MessageBoxText(hBox);
                        ::PostMessageA(hBox, WM_COMMAND, IDOK, 0);
                        After(10, endAfterFailure);
                    },
                    dlg.m_hWnd);
            });
        });
        INT_PTR result = dlg.DoModal();
        if (!c.failedField) {
            EXPECT_EQ(IDOK, result) << c.port;
            EXPECT_EQ(1025u, dlg.m_port);
            continue;
        }
        EXPECT_EQ(IDCANCEL, result) << c.text << "/" << c.port;
        EXPECT_EQ(1, dlg.okFailures) << c.text << "/" << c.port
                                     << ": OK ended the dialog despite the failure";
        EXPECT_FALSE(message.empty()) << c.text << "/" << c.port << ": no message shown";
        EXPECT_EQ(c.failedField, dlg.focusAfterFailure) << c.text << "/" << c.port;
        if (c.failedField == IDC_TEXT) {
            EXPECT_EQ(8080u, dlg.m_port) << "the exchange went on after the failure";
        }
    }
}
