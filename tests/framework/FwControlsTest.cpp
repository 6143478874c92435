// Control wrappers over the real common controls, their notifications, and the file dialog.
#include <gtest/gtest.h>

#include <fstream>

#include "Afx.h"
#include "FwTestIds.h"
#include "FwTestUtil.h"

namespace {
class CControlsDlg : public CDialog {
public:
    CControlsDlg() : CDialog(IDD_CONTROLS) {}
    CListCtrl m_list;
    CIPAddressCtrl m_ip;
    CListBox m_log;
    CComboBox m_mode;
    CToolTipCtrl m_tip;
    std::vector<std::string> events;

    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_LIST, m_list);
        DDX_Control(pDX, IDC_IP, m_ip);
        DDX_Control(pDX, IDC_LOG, m_log);
        DDX_Control(pDX, IDC_MODE, m_mode);
    }
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (m_tip.m_hWnd) m_tip.RelayEvent(pMsg);
        return CDialog::PreTranslateMessage(pMsg);
    }
    void OnListClick(NMHDR* pNMHDR, LRESULT* pResult) {
        events.push_back("click row " + std::to_string(((NMITEMACTIVATE*)pNMHDR)->iItem));
        *pResult = 0;
    }
    void OnFieldChanged(NMHDR* pNMHDR, LRESULT* pResult) {
        events.push_back("field " + std::to_string(((NMIPADDRESS*)pNMHDR)->iField));
        *pResult = 0;
    }
    void OnModeChange() { events.push_back("mode " + std::to_string(m_mode.GetCurSel())); }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CControlsDlg, CDialog)
ON_NOTIFY(NM_CLICK, IDC_LIST, OnListClick)
ON_NOTIFY(IPN_FIELDCHANGED, IDC_IP, OnFieldChanged)
ON_CBN_SELCHANGE(IDC_MODE, OnModeChange)
END_MESSAGE_MAP()
// clang-format on
} // namespace

TEST(FrameworkControls, ListViewIpAddressListBoxComboAndTooltip) {
    CControlsDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_CONTROLS));

    CListCtrl& list = dlg.m_list;
    list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    EXPECT_EQ((DWORD)(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES), list.GetExtendedStyle());
    EXPECT_EQ(0, list.InsertColumn(0, "序号", LVCFMT_LEFT, 40));
    EXPECT_EQ(1, list.InsertColumn(1, "IP", LVCFMT_CENTER, 80));
    const std::string longText(600, 'x');
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(i, list.InsertItem(i, std::to_string(i).c_str()));
        EXPECT_TRUE(list.SetItemText(i, 1, i == 2 ? longText.c_str() : "192.168.1.10"));
    }
    EXPECT_EQ(3, list.GetItemCount());
    EXPECT_STREQ("192.168.1.10", list.GetItemText(0, 1));
    EXPECT_EQ(600, list.GetItemText(2, 1).GetLength()) << "long cells are read whole";
    list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(1, list.GetNextItem(-1, LVNI_SELECTED));
    list.SetItemState(1, 0, LVIS_SELECTED);
    EXPECT_EQ(-1, list.GetNextItem(-1, LVNI_SELECTED));

    CIPAddressCtrl& ip = dlg.m_ip;
    DWORD address = 1;
    EXPECT_EQ(0, ip.GetAddress(address)) << "a blank control has no fields";
    EXPECT_EQ(0u, address);
    ip.SetAddress(0xC0A80164); // host order: 192.168.1.100
    BYTE b0 = 0, b1 = 0, b2 = 0, b3 = 0;
    EXPECT_EQ(4, ip.GetAddress(b0, b1, b2, b3));
    EXPECT_EQ(192, b0);
    EXPECT_EQ(100, b3);
    ip.ClearAddress();
    EXPECT_TRUE(ip.IsBlank());

    CString line("stale");
    dlg.m_log.GetText(7, line);
    EXPECT_TRUE(line.IsEmpty()) << "a missing list box item reads as empty";
    dlg.m_mode.AddString("静态");
    dlg.m_mode.SetCurSel(0);
    CString mode;
    dlg.m_mode.GetLBText(dlg.m_mode.GetCurSel(), mode);
    EXPECT_STREQ("静态", mode);

    ASSERT_TRUE(dlg.m_tip.Create(&dlg));
    EXPECT_TRUE(dlg.m_tip.AddTool(dlg.GetDlgItem(IDC_TIPPED), "提示文字"));
    EXPECT_EQ(1, dlg.m_tip.GetToolCount());
    dlg.m_tip.Activate(TRUE);
    dlg.m_tip.SetMaxTipWidth(400);
    dlg.m_tip.SetDelayTime(TTDT_AUTOMATIC, 1000);
    HWND hTip = dlg.m_tip.m_hWnd;
    dlg.DestroyWindow();
    EXPECT_FALSE(::IsWindow(hTip)) << "the tooltip goes with its dialog";
    EXPECT_EQ(nullptr, dlg.m_tip.m_hWnd);
    EXPECT_EQ(nullptr, dlg.m_list.m_hWnd);
}

TEST(FrameworkControls, NotificationsReachTheirEntries) {
    CControlsDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_CONTROLS));
    NMITEMACTIVATE click = {};
    click.hdr = {dlg.m_list.m_hWnd, IDC_LIST, (UINT)NM_CLICK};
    click.iItem = -1;
    dlg.SendMessage(WM_NOTIFY, IDC_LIST, (LPARAM)&click);
    NMIPADDRESS field = {};
    field.hdr = {dlg.m_ip.m_hWnd, IDC_IP, (UINT)IPN_FIELDCHANGED};
    field.iField = 2;
    dlg.SendMessage(WM_NOTIFY, IDC_IP, (LPARAM)&field);
    click.hdr.idFrom = IDC_IP; // right code, other control: no entry
    dlg.SendMessage(WM_NOTIFY, IDC_IP, (LPARAM)&click);
    dlg.m_mode.AddString("a");
    dlg.m_mode.SetCurSel(0);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_MODE, CBN_SELCHANGE), (LPARAM)dlg.m_mode.m_hWnd);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_MODE, CBN_DROPDOWN), (LPARAM)dlg.m_mode.m_hWnd);
    std::vector<std::string> expected = {"click row -1", "field 2", "mode 0"};
    EXPECT_EQ(expected, dlg.events);
}

TEST(FrameworkControls, FileDialogReturnsThePathOrCancel) {
    std::ofstream("settings.ini") << "x";
    char cwd[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, cwd);
    const std::string wanted = std::string(cwd) + "\\settings.ini";
    struct Case {
        bool ok;
        INT_PTR expected;
    } cases[] = {{true, IDOK}, {false, IDCANCEL}};
    for (const Case& c : cases) {
        CFileDialog fd(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       "Settings|*.ini|All|*.*||");
        After(0, [&] {
            WhenDialogShown([&](HWND h) {
                if (c.ok) {
                    // The explorer-style dialog's file name box (cmb13), or the old style's edit (edt1).
                    HWND name = ::GetDlgItem(h, 0x47C) ? ::GetDlgItem(h, 0x47C) : ::GetDlgItem(h, 0x480);
                    ::SetWindowTextA(name, wanted.c_str());
                }
                ::PostMessageA(h, WM_COMMAND, MAKEWPARAM(c.ok ? IDOK : IDCANCEL, BN_CLICKED), 0);
            });
        });
        EXPECT_EQ(c.expected, fd.DoModal());
        if (c.ok) {
            EXPECT_EQ(wanted, (const char*)fd.GetPathName());
            EXPECT_STREQ("settings.ini", fd.GetFileName());
            EXPECT_STREQ("ini", fd.GetFileExt());
        }
    }
}
