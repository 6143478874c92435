// The IP filter dialog: its list parser, the checks of Add, Delete, and the module-35 requests that
// Save, Refresh and the camera's replies produce.
#include "IpFilterDlg.h"
#include "NetConfigStore.h"
#include "NetquillApp.h"
#include "StandinControl.h"
#include "SubDlgDriver.h"
#include "TextTable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// The device table as "index:start-end" items joined by " ".
std::string Table(const CIpFilterDlg& d) {
    std::string s;
    for (int i = 0; i < d.DeviceCount(); ++i) {
        const IpFilterEntry& e = d.DeviceEntry(i);
        if (!s.empty()) s += " ";
        s += std::to_string(e.index) + ":" + e.start + "-" + e.end;
    }
    return s;
}

// The list view's rows as "start-end/state" joined by " ".
std::string Rows(const CIpFilterDlg& d) {
    HWND list = GetDlgItem(d.GetSafeHwnd(), IDC_IPF_LIST);
    std::string s;
    for (int i = 0, n = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0); i < n; ++i) {
        std::string cols[3];
        for (int c = 0; c < 3; ++c) {
            char buf[64] = "";
            LVITEMA item = {};
            item.iSubItem = c;
            item.pszText = buf;
            item.cchTextMax = sizeof buf;
            SendMessageA(list, LVM_GETITEMTEXTA, i, (LPARAM)&item);
            cols[c] = buf;
        }
        if (!s.empty()) s += " ";
        s += cols[0] + "-" + cols[1] + "/" + cols[2];
    }
    return s;
}

int RowCount(const CIpFilterDlg& d) {
    return (int)SendDlgItemMessageA(d.GetSafeHwnd(), IDC_IPF_LIST, LVM_GETITEMCOUNT, 0, 0);
}

void SelectRow(const CIpFilterDlg& d, int row) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    SendDlgItemMessageA(d.GetSafeHwnd(), IDC_IPF_LIST, LVM_SETITEMSTATE, row, (LPARAM)&item);
}

// A click on a row, as the list reports it: the row is selected and NM_CLICK names it.
void ClickRow(const CIpFilterDlg& d, int row) {
    SelectRow(d, row);
    NMITEMACTIVATE n = {};
    n.hdr.hwndFrom = GetDlgItem(d.GetSafeHwnd(), IDC_IPF_LIST);
    n.hdr.idFrom = IDC_IPF_LIST;
    n.hdr.code = NM_CLICK;
    n.iItem = row;
    SendMessageA(d.GetSafeHwnd(), WM_NOTIFY, IDC_IPF_LIST, (LPARAM)&n);
}

// The address control's report that the operator changed one of its fields.
void FieldChanged(const CIpFilterDlg& d, int id) {
    NMIPADDRESS n = {};
    n.hdr.hwndFrom = GetDlgItem(d.GetSafeHwnd(), id);
    n.hdr.idFrom = (UINT_PTR)id;
    n.hdr.code = IPN_FIELDCHANGED;
    n.iField = 0;
    SendMessageA(d.GetSafeHwnd(), WM_NOTIFY, (WPARAM)id, (LPARAM)&n);
}

// A module-35 reply as CmdProc hands it on: from nType on, the data NUL-terminated.
void Reply(CIpFilterDlg& d, int nType, int nParam, const char* text) {
    std::vector<char> packet(CFG_HEADER_SIZE + strlen(text) + 1, 0);
    CfgPacket* p = reinterpret_cast<CfgPacket*>(packet.data());
    p->header = 0x466;
    p->nType = nType;
    p->nParam = nParam;
    p->nLength = (int32_t)strlen(text);
    memcpy(p->Data(), text, strlen(text) + 1);
    d.OnReply(packet.data() + 4);
}

std::string Describe(const std::vector<SentPacket>& sent) {
    std::string s;
    for (const SentPacket& p : sent)
        s += "  nType=" + std::to_string(p.nType) + " nParam=" + std::to_string(p.nParam) +
             " data=" + p.data + " len=" + std::to_string(p.length) + "\n";
    return s;
}

const char kTwoEntries[] =
    "IPListPower=1;IPIndex=0;IPAddr1=10.0.0.5;IPAddr2=;IPIndex=1;IPAddr1=10.0.1.1;IPAddr2=10.0.1.9;";

class IpFilterDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_netConfig = NetConfigStore{};
        g_nLanguage = 1;
        g_nConnection = 7;
        Standin_ClearLog();
    }
    CIpFilterDlg dlg;
    SubDlgScript script;
};

// The reading itself is IpFilterList's; here what the dialog keeps of it.
TEST_F(IpFilterDlgTest, ParseListReplacesTheDeviceTable) {
    dlg.ParseList(kTwoEntries);
    EXPECT_EQ(Table(dlg), "0:10.0.0.5- 1:10.0.1.1-10.0.1.9");
    EXPECT_EQ(dlg.Mode(), 1);
    dlg.ParseList("IPListPower=7;");
    EXPECT_EQ(dlg.DeviceMode(), 0);
    EXPECT_EQ(dlg.Mode(), 0) << "the shown mode follows";
    dlg.ParseList(kTwoEntries);
    dlg.ParseList(nullptr);
    EXPECT_EQ(dlg.DeviceCount(), 0) << "a NULL text leaves no earlier camera's list";
    EXPECT_EQ(dlg.DeviceMode(), 0) << "nor its mode";
    EXPECT_EQ(dlg.Mode(), 0);
    EXPECT_FALSE(dlg.SavePending());
}

TEST_F(IpFilterDlgTest, OpensOnTheDeviceTableWithoutSending) {
    dlg.ParseList(kTwoEntries);
    std::string rows, caption, header;
    bool forbid = false, endEnabled = true;
    DWORD listStyles = 0;
    int widths[3] = {0, 0, 0};
    script.WaitShown(dlg);
    script.Do("read", [&] {
        HWND h = dlg.GetSafeHwnd();
        rows = Rows(dlg);
        caption = WindowText(h);
        forbid = IsChecked(h, IDC_IPF_FORBID);
        endEnabled = IsWindowEnabled(GetDlgItem(h, IDC_IPF_END)) != FALSE;
        char buf[64] = "";
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT;
        col.pszText = buf;
        col.cchTextMax = sizeof buf;
        SendDlgItemMessageA(h, IDC_IPF_LIST, LVM_GETCOLUMNA, 1, (LPARAM)&col);
        header = buf;
        listStyles = (DWORD)SendDlgItemMessageA(h, IDC_IPF_LIST, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
        for (int i = 0; i < 3; ++i)
            widths[i] = (int)SendDlgItemMessageA(h, IDC_IPF_LIST, LVM_GETCOLUMNWIDTH, i, 0);
    });
    script.Click(dlg, IDC_IPF_EXIT);
    EXPECT_EQ(script.Run(dlg), IDOK);
    EXPECT_EQ(rows, "10.0.0.5-/Forbid Connect 10.0.1.1-10.0.1.9/Forbid Connect");
    EXPECT_EQ(caption, "IP Filter");
    EXPECT_EQ(header, "IP Addr end");
    EXPECT_EQ(listStyles & (LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT),
              (DWORD)(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT))
        << "grid lines and full-row selection, got 0x" << std::hex << listStyles;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(widths[i], 130) << "column " << i;
    EXPECT_TRUE(forbid) << "the radio group shows the camera's mode";
    EXPECT_FALSE(endEnabled) << "the end address is disabled outside range mode";
    EXPECT_TRUE(SentPackets().empty()) << "opening and closing send nothing:\n" << Describe(SentPackets());
}

// One run, the cases in order: each either is refused with its message or adds a row.
TEST_F(IpFilterDlgTest, AddChecksAddressesAndConflicts) {
    dlg.ParseList("IPAddr1=192.168.1.10;IPAddr2=192.168.1.20;");
    struct Case {
        BYTE a[4];
        bool range;
        BYTE b[4];
        const char* message; // nullptr: accepted
        int rows;            // rows afterwards
    } cases[] = {
        {{10, 0, 0, 0}, false, {}, "IP Invalid", 1},
        {{10, 0, 0, 255}, false, {}, "IP Invalid", 1},
        {{127, 0, 0, 1}, false, {}, "IP Invalid", 1},
        {{0, 1, 2, 3}, false, {}, "IP Invalid", 1},
        {{240, 0, 0, 1}, false, {}, "IP Invalid", 1},
        {{192, 168, 1, 15}, false, {}, "IP Repeat To Add", 1},
        {{192, 168, 1, 10}, true, {192, 168, 1, 10}, "IP Invalid", 1},
        {{192, 168, 1, 40}, true, {192, 168, 2, 50}, "IP Invalid", 1},
        {{192, 168, 1, 20}, true, {192, 168, 1, 30}, "IP Repeat To Add", 1},
        {{192, 168, 1, 21}, true, {192, 168, 1, 30}, nullptr, 2},
        {{192, 168, 2, 15}, false, {}, nullptr, 3},
        {{192, 168, 2, 15}, false, {}, "IP Repeat To Add", 3},
        {{192, 168, 1, 25}, false, {}, "IP Repeat To Add", 3},
        {{192, 168, 2, 1}, true, {192, 168, 2, 20}, "IP Repeat To Add", 3},
    };
    std::vector<std::string> messages(std::size(cases));
    std::vector<int> rows(std::size(cases), -1);
    script.WaitShown(dlg);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        script.Do("set case " + std::to_string(i), [&, i] {
            HWND h = dlg.GetSafeHwnd();
            if (IsChecked(h, IDC_IPF_RANGE) != c.range) SendDlgItemMessageA(h, IDC_IPF_RANGE, BM_CLICK, 0, 0);
            SetIpAddress(h, IDC_IPF_START, c.a[0], c.a[1], c.a[2], c.a[3]);
            if (c.range) SetIpAddress(h, IDC_IPF_END, c.b[0], c.b[1], c.b[2], c.b[3]);
        });
        script.Click(dlg, IDC_IPF_ADD);
        if (c.message) script.CloseMessageBox(nullptr, &messages[i]);
        script.Do("rows " + std::to_string(i), [&, i] { rows[i] = RowCount(dlg); });
    }
    script.Add("close", [&] { return PostMessageA(dlg.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0) != 0; });
    EXPECT_EQ(script.Run(dlg, 20000), IDCANCEL);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        EXPECT_EQ(messages[i], c.message ? c.message : "") << "case " << i;
        EXPECT_EQ(rows[i], c.rows) << "case " << i;
    }
    EXPECT_EQ(dlg.DeviceCount(), 1) << "Add changes only the list";
    EXPECT_TRUE(SentPackets().empty()) << "Add sends nothing:\n" << Describe(SentPackets());
}

TEST_F(IpFilterDlgTest, TwentyFirstRowIsRefusedWithAWarning) {
    std::string text;
    for (int i = 1; i <= 20; ++i)
        text += "IPAddr1=10.0.0." + std::to_string(i) + ";IPAddr2=;";
    dlg.ParseList(text.c_str());
    std::string caption, message;
    script.WaitShown(dlg);
    script.Do("set", [&] { SetIpAddress(dlg.GetSafeHwnd(), IDC_IPF_START, 10, 9, 9, 9); });
    script.Click(dlg, IDC_IPF_ADD);
    script.CloseMessageBox(&caption, &message);
    script.Click(dlg, IDC_IPF_EXIT);
    EXPECT_EQ(script.Run(dlg), IDOK);
    EXPECT_EQ(caption, "WARNING");
    EXPECT_EQ(message, "IP Item Full");
}

TEST_F(IpFilterDlgTest, DeleteNeedsAClickedRow) {
    dlg.ParseList(kTwoEntries);
    std::string message, rowsAfterRefusal, rowsAfterDelete;
    script.WaitShown(dlg);
    script.Do("select by keyboard only", [&] { SelectRow(dlg, 0); });
    script.Click(dlg, IDC_IPF_DELETE);
    script.CloseMessageBox(nullptr, &message);
    script.Do("click the row", [&] {
        rowsAfterRefusal = Rows(dlg);
        ClickRow(dlg, 1);
    });
    script.Click(dlg, IDC_IPF_DELETE);
    script.Do("read", [&] { rowsAfterDelete = Rows(dlg); });
    script.Click(dlg, IDC_IPF_EXIT);
    EXPECT_EQ(script.Run(dlg), IDOK);
    EXPECT_EQ(message, "Please Select An IP");
    EXPECT_EQ(rowsAfterRefusal, "10.0.0.5-/Forbid Connect 10.0.1.1-10.0.1.9/Forbid Connect");
    EXPECT_EQ(rowsAfterDelete, "") << "every selected row goes: the keyboard-selected one too";
    EXPECT_EQ(dlg.Selected(), -1);
    EXPECT_EQ(dlg.DeviceCount(), 2) << "Delete changes only the list";
}

TEST_F(IpFilterDlgTest, SaveSendsModeThenDeletesThenAdds) {
    dlg.ParseList(kTwoEntries);
    std::vector<SentPacket> first, afterSecondSave, afterReply, afterRefresh;
    std::vector<unsigned char> lastAdd(200, 0xCC);
    int lastAddLength = 0;
    std::string rowsAfterMode;
    script.WaitShown(dlg);
    script.Do("delete row 0", [&] { ClickRow(dlg, 0); });
    script.Click(dlg, IDC_IPF_DELETE);
    script.Do("add 10.0.2.2", [&] { SetIpAddress(dlg.GetSafeHwnd(), IDC_IPF_START, 10, 0, 2, 2); });
    script.Click(dlg, IDC_IPF_ADD);
    script.Do("allow", [&] {
        SendDlgItemMessageA(dlg.GetSafeHwnd(), IDC_IPF_ALLOW, BM_CLICK, 0, 0);
        rowsAfterMode = Rows(dlg);
        EXPECT_TRUE(SentPackets().empty()) << "the mode is sent only by Save";
    });
    script.Click(dlg, IDC_IPF_SAVE);
    script.Do("save again", [&] {
        first = SentPackets();
        lastAddLength = Standin_GetLastSentPacket(lastAdd.data(), (int)lastAdd.size());
        SendMessageA(dlg.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_IPF_SAVE, BN_CLICKED), 0);
        afterSecondSave = SentPackets();
    });
    script.Do("camera answers, save unchanged", [&] {
        Standin_ClearLog();
        Reply(
            dlg, 4, 0,
            "IPListPower=2;IPIndex=1;IPAddr1=10.0.1.1;IPAddr2=10.0.1.9;IPIndex=2;IPAddr1=10.0.2.2;IPAddr2=;");
        SendMessageA(dlg.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_IPF_SAVE, BN_CLICKED), 0);
        afterReply = SentPackets();
        Standin_ClearLog();
        SendMessageA(dlg.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_IPF_REFRESH, BN_CLICKED), 0);
        afterRefresh = SentPackets();
    });
    script.Click(dlg, IDC_IPF_EXIT);
    EXPECT_EQ(script.Run(dlg), IDOK);

    EXPECT_EQ(rowsAfterMode, "10.0.1.1-10.0.1.9/Allow Connect 10.0.2.2-/Allow Connect");
    ASSERT_EQ(first.size(), 3u) << Describe(first);
    for (const SentPacket& p : first) {
        EXPECT_EQ(p.kind, 6u);
        EXPECT_EQ(p.module, 35u);
        EXPECT_EQ(p.connection, 7);
        EXPECT_EQ(p.dataType, 81);
        EXPECT_EQ(p.nLength, 0) << "nLength stays 0";
    }
    EXPECT_EQ(first[0].nType, 6);
    EXPECT_EQ(first[0].nParam, 2);
    EXPECT_EQ(first[0].length, 20);
    EXPECT_EQ(first[1].nType, 5);
    EXPECT_EQ(first[1].nParam, 64);
    EXPECT_EQ(first[1].data, "\"10.0.0.5\"");
    EXPECT_EQ(first[1].length, 84);
    EXPECT_EQ(first[2].nType, 4);
    EXPECT_EQ(first[2].data, "\"10.0.2.2\"");
    EXPECT_EQ(first[2].length, 84);
    ASSERT_EQ(lastAddLength, 84);
    EXPECT_EQ(std::string((const char*)lastAdd.data() + 20), "10.0.2.2");
    for (int i = 20 + 8; i < 84; ++i)
        EXPECT_EQ(lastAdd[i], 0) << "byte " << i << " of the add request";
    EXPECT_EQ(afterSecondSave.size(), 3u) << "a second save before any reply is ignored:\n"
                                          << Describe(afterSecondSave);
    ASSERT_EQ(afterReply.size(), 1u) << "an unchanged list sends only the mode:\n" << Describe(afterReply);
    EXPECT_EQ(afterReply[0].nType, 6);
    ASSERT_EQ(afterRefresh.size(), 1u) << Describe(afterRefresh);
    EXPECT_EQ(afterRefresh[0].nType, 3);
    EXPECT_EQ(afterRefresh[0].nParam, 2) << "the query keeps nParam of the previous request";
    EXPECT_EQ(afterRefresh[0].length, 20);
}

// A range travels as two NUL-padded 32-byte fields: start at data offset 0, end at data offset 32.
TEST_F(IpFilterDlgTest, RangeRequestsCarryStartAndEndFields) {
    struct Case {
        const char* name;
        int nType;
        const char* start;
        const char* end;
    } cases[] = {
        {"delete the camera's range", 5, "10.0.1.1", "10.0.1.9"},
        {"add a new range", 4, "10.0.3.1", "10.0.3.5"},
    };
    for (const Case& c : cases) {
        SetUp();
        CIpFilterDlg d;
        SubDlgScript s;
        d.ParseList(kTwoEntries);
        std::vector<unsigned char> last(200, 0xCC);
        int lastLength = 0;
        s.WaitShown(d);
        s.Do("edit the list", [&] {
            HWND h = d.GetSafeHwnd();
            if (c.nType == 5) {
                ClickRow(d, 1);
                SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_IPF_DELETE, BN_CLICKED), 0);
            } else {
                SendDlgItemMessageA(h, IDC_IPF_RANGE, BM_CLICK, 0, 0);
                SetIpAddress(h, IDC_IPF_START, 10, 0, 3, 1);
                SetIpAddress(h, IDC_IPF_END, 10, 0, 3, 5);
                SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_IPF_ADD, BN_CLICKED), 0);
            }
            SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_IPF_SAVE, BN_CLICKED), 0);
            lastLength = Standin_GetLastSentPacket(last.data(), (int)last.size());
        });
        s.Add("Esc", [&] { return PostMessageA(d.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0) != 0; });
        EXPECT_EQ(s.Run(d), IDCANCEL) << c.name;
        const std::vector<SentPacket> sent = SentPackets();
        ASSERT_EQ(sent.size(), 2u) << c.name << ": the mode, then one request\n" << Describe(sent);
        EXPECT_EQ(sent[1].nType, c.nType) << c.name;
        EXPECT_EQ(sent[1].nParam, 64) << c.name;
        ASSERT_EQ(lastLength, 84) << c.name;
        const char* data = reinterpret_cast<const char*>(last.data()) + 20;
        EXPECT_STREQ(data, c.start) << c.name << ": start field";
        EXPECT_STREQ(data + 32, c.end) << c.name << ": end field";
        for (int i = (int)strlen(c.start); i < 32; ++i)
            EXPECT_EQ(data[i], 0) << c.name << ": start field byte " << i << " not NUL-padded";
        for (int i = 32 + (int)strlen(c.end); i < 64; ++i)
            EXPECT_EQ(data[i], 0) << c.name << ": end field byte " << i << " not NUL-padded";
    }
}

TEST_F(IpFilterDlgTest, RefreshSendsOneQueryPerTimerPeriod) {
    int afterTwoClicks = 0, afterTick = 0;
    script.WaitShown(dlg);
    script.Do("refresh", [&] {
        HWND h = dlg.GetSafeHwnd();
        SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_IPF_REFRESH, BN_CLICKED), 0);
        SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_IPF_REFRESH, BN_CLICKED), 0);
        afterTwoClicks = (int)SentPackets().size();
        SendMessageA(h, WM_TIMER, 0, 0);
        SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_IPF_REFRESH, BN_CLICKED), 0);
        afterTick = (int)SentPackets().size();
    });
    script.Click(dlg, IDC_IPF_EXIT);
    EXPECT_EQ(script.Run(dlg), IDOK);
    EXPECT_EQ(afterTwoClicks, 1);
    EXPECT_EQ(afterTick, 2);
    const std::vector<SentPacket> sent = SentPackets();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0].nType, 3);
    EXPECT_EQ(sent[0].nParam, 0) << "no request before it in this run";
    EXPECT_EQ(sent[0].length, 20);
}

TEST_F(IpFilterDlgTest, RepliesRefreshTheListAndReportRefusals) {
    struct Case {
        int nType, nParam;
        const char* list;
        const char* message;
        const char* rows;
    } cases[] = {
        {4, 4, "IPListPower=1;IPAddr1=10.0.0.1;IPAddr2=;", "Para Error", "10.0.0.1-/Forbid Connect"},
        // A list without IPListPower keeps the camera's last mode.
        {4, 2, "IPAddr1=10.0.0.2;IPAddr2=;", "IP Item Full", "10.0.0.2-/Forbid Connect"},
        {4, 1, "IPListPower=2;IPAddr1=10.0.0.3;IPAddr2=;", "IP Repeat To Add", "10.0.0.3-/Allow Connect"},
        {5, 3, "IPListPower=2;", "IP Is Not Exist", ""},
        {6, 4, "IPListPower=2;IPAddr1=10.0.0.4;IPAddr2=10.0.0.8;", "Para Error",
         "10.0.0.4-10.0.0.8/Allow Connect"},
        {5, 1, "IPListPower=0;IPAddr1=10.0.0.5;IPAddr2=;", nullptr, "10.0.0.5-/No Power Limit"},
        {3, 0, "", nullptr, ""},
    };
    std::vector<std::string> messages(std::size(cases)), rows(std::size(cases));
    script.WaitShown(dlg);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        script.Later("reply " + std::to_string(i), [&, c] { Reply(dlg, c.nType, c.nParam, c.list); });
        if (c.message) script.CloseMessageBox(nullptr, &messages[i]);
        script.Add("rows " + std::to_string(i), [&, i] {
            rows[i] = Rows(dlg);
            return true;
        });
    }
    script.Click(dlg, IDC_IPF_EXIT);
    EXPECT_EQ(script.Run(dlg), IDOK);
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(messages[i], cases[i].message ? cases[i].message : "") << "reply " << i;
        EXPECT_EQ(rows[i], cases[i].rows) << "reply " << i;
    }
    Reply(dlg, 4, 2, "IPAddr1=10.0.0.9;IPAddr2=;");
    EXPECT_EQ(dlg.DeviceCount(), 0) << "a reply while the dialog is closed is ignored";
}

TEST_F(IpFilterDlgTest, ParseWhileOpenReplacesTheTableButNotTheList) {
    dlg.ParseList("IPAddr1=10.0.0.5;IPAddr2=;");
    std::string rows;
    std::vector<SentPacket> sent;
    script.WaitShown(dlg);
    script.Do("camera text", [&] {
        dlg.ParseList("IPAddr1=10.0.0.6;IPAddr2=;");
        rows = Rows(dlg);
        SendMessageA(dlg.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_IPF_SAVE, BN_CLICKED), 0);
        sent = SentPackets();
    });
    script.Click(dlg, IDC_IPF_EXIT);
    EXPECT_EQ(script.Run(dlg), IDOK);
    EXPECT_EQ(rows, "10.0.0.5-/No Power Limit");
    ASSERT_EQ(sent.size(), 3u) << Describe(sent);
    EXPECT_EQ(sent[1].nType, 5);
    EXPECT_EQ(sent[1].data, "\"10.0.0.6\"");
    EXPECT_EQ(sent[2].nType, 4);
    EXPECT_EQ(sent[2].data, "\"10.0.0.5\"");
}

TEST_F(IpFilterDlgTest, RangeModeFollowsTheStartNetwork) {
    DWORD endOnToggle = 0, endAfterOff = 1, endAfterStartEdit = 0, startAfterEndEdit = 0;
    bool enabledOn = false, enabledOff = true;
    script.WaitShown(dlg);
    script.Do("toggle", [&] {
        HWND h = dlg.GetSafeHwnd();
        SetIpAddress(h, IDC_IPF_START, 192, 168, 3, 7);
        SendDlgItemMessageA(h, IDC_IPF_RANGE, BM_CLICK, 0, 0);
        endOnToggle = IpAddress(h, IDC_IPF_END);
        enabledOn = IsWindowEnabled(GetDlgItem(h, IDC_IPF_END)) != FALSE;
        SendDlgItemMessageA(h, IDC_IPF_RANGE, BM_CLICK, 0, 0);
        endAfterOff = IpAddress(h, IDC_IPF_END);
        enabledOff = IsWindowEnabled(GetDlgItem(h, IDC_IPF_END)) != FALSE;

        // The operator edits one field of either control: the other follows its network.
        SendDlgItemMessageA(h, IDC_IPF_RANGE, BM_CLICK, 0, 0);
        SetIpAddress(h, IDC_IPF_START, 10, 20, 30, 40);
        SetIpAddress(h, IDC_IPF_END, 1, 1, 1, 99);
        FieldChanged(dlg, IDC_IPF_START);
        endAfterStartEdit = IpAddress(h, IDC_IPF_END);
        SetIpAddress(h, IDC_IPF_END, 10, 20, 31, 99);
        FieldChanged(dlg, IDC_IPF_END);
        startAfterEndEdit = IpAddress(h, IDC_IPF_START);
    });
    script.Click(dlg, IDC_IPF_EXIT);
    EXPECT_EQ(script.Run(dlg), IDOK);
    EXPECT_EQ(endOnToggle, (DWORD)MAKEIPADDRESS(192, 168, 3, 0)) << std::hex << endOnToggle;
    EXPECT_TRUE(enabledOn);
    EXPECT_EQ(endAfterOff, 0u);
    EXPECT_FALSE(enabledOff);
    EXPECT_EQ(endAfterStartEdit, (DWORD)MAKEIPADDRESS(10, 20, 30, 99)) << std::hex << endAfterStartEdit;
    EXPECT_EQ(startAfterEndEdit, (DWORD)MAKEIPADDRESS(10, 20, 31, 40)) << std::hex << startAfterEndEdit;
}

} // namespace

namespace {

// The one dialog object serves every run: the device table survives, and reopening allows Save again.
TEST_F(IpFilterDlgTest, ReopenedDialogKeepsTheTableAndAllowsSaveAgain) {
    dlg.ParseList(kTwoEntries);
    std::string rows[2];
    size_t sent[2] = {0, 0};
    for (int run = 0; run < 2; ++run) {
        SubDlgScript s;
        s.WaitShown(dlg);
        s.Do("save", [&, run] {
            rows[run] = Rows(dlg);
            SendMessageA(dlg.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_IPF_SAVE, BN_CLICKED), 0);
            SendMessageA(dlg.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_IPF_SAVE, BN_CLICKED), 0);
            sent[run] = SentPackets().size();
        });
        s.Add("Esc", [&] { return PostMessageA(dlg.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0) != 0; });
        EXPECT_EQ(s.Run(dlg), IDCANCEL) << "run " << run;
    }
    EXPECT_EQ(rows[1], rows[0]);
    EXPECT_EQ(rows[1], "10.0.0.5-/Forbid Connect 10.0.1.1-10.0.1.9/Forbid Connect");
    EXPECT_EQ(sent[0], 1u) << "one save per run: the mode only";
    EXPECT_EQ(sent[1], 2u) << "reopening allows the next save";
}

} // namespace
