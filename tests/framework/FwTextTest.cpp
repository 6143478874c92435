// Chinese text through the ...A APIs, strings in the ANSI code page, and the tray record.
#include <gtest/gtest.h>

#include <cstring>

#include "Afx.h"
#include "FwTestIds.h"
#include "FwTestUtil.h"

TEST(FrameworkText, ChineseTemplateTextReadsBackAsGbk) {
    ASSERT_EQ(936u, ::GetACP()) << "Chinese text needs the GBK code page";
    CDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_MAIN));
    char label[64] = {};
    ASSERT_EQ(10u, ::GetDlgItemTextA(dlg, IDC_LABEL, label, sizeof label));
    EXPECT_EQ(0, memcmp(label, "\xB3\xCC\xD0\xF2\xD2\xD1\xBF\xAA\xC6\xF4", 10)) << "程序已开启 in GBK";
    EXPECT_STREQ("程序已开启", label) << "literals are GBK too";
    CString caption;
    dlg.GetWindowText(caption);
    EXPECT_STREQ("IPC产线调焦测试工具", caption);

    // And back: a GBK text set through the ...A API reads back unchanged.
    dlg.SetDlgItemText(IDC_EDIT, "退出软件");
    CString edit;
    EXPECT_EQ(8, dlg.GetDlgItemText(IDC_EDIT, edit));
    EXPECT_STREQ("退出软件", edit);
}

TEST(FrameworkText, CStringStepsOverDoubleByteCharacters) {
    // 0xD5 0x5C is one GBK character whose second byte is a backslash; 0x81 0x61 ends in 'a'.
    const CString path("C:\\a\xD5\x5C"
                       "b");
    struct Case {
        const char* what;
        int got, expected;
    } cases[] = {
        {"ReverseFind skips trail byte", path.ReverseFind('\\'), 2},
        {"Find from after the real one", path.Find('\\', 3), -1},
        {"Find substring", path.Find("b"), 6},
        {"ReverseFind none", CString("\x81\x61").ReverseFind('a'), -1},
        {"length", path.GetLength(), 7},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, c.got) << c.what;

    CString mac("0a:1b:\x81\x61z");
    mac.MakeUpper();
    EXPECT_STREQ("0A:1B:\x81\x61Z", mac) << "a trail byte must not be upper-cased";
    CString replaced(path);
    EXPECT_EQ(1, replaced.Replace('\\', '/'));
    EXPECT_STREQ("C:/a\xD5\x5C"
                 "b",
                 replaced);

    CString f;
    f.Format("%s:%d:%04X", "调焦", -5, 0xBEEF);
    EXPECT_STREQ("调焦:-5:BEEF", f);
    f.AppendFormat("%c", '!');
    EXPECT_STREQ("调焦:-5:BEEF!", f);
    CString big;
    big.Format("%0300d", 7);
    EXPECT_EQ(300, big.GetLength());

    EXPECT_STREQ("ab", CString("abc").Left(2));
    EXPECT_STREQ("", CString("abc").Left(-1));
    EXPECT_STREQ("bc", CString("abc").Mid(1));
    EXPECT_STREQ("", CString("abc").Mid(9));
    EXPECT_STREQ("abc", CString("abc").Right(7));
    EXPECT_STREQ("x y", CString("  x y \r\n").Trim());
    EXPECT_TRUE(CString("abc") == "abc");
    EXPECT_EQ(0, CString("ABC").CompareNoCase("abc"));

    CString loaded("old");
    EXPECT_TRUE(loaded.LoadString(IDS_GREETING));
    EXPECT_STREQ("调焦测试", loaded);
    EXPECT_STREQ("调焦测试", CString(MAKEINTRESOURCEA(IDS_GREETING)));
    EXPECT_FALSE(loaded.LoadString(1));
    EXPECT_TRUE(loaded.IsEmpty()) << "a missing string leaves the text empty";

    CString buf;
    strcpy(buf.GetBuffer(10), "abc");
    buf.ReleaseBuffer();
    EXPECT_EQ(3, buf.GetLength());
}

TEST(FrameworkText, TrayRecordIs504BytesAndTheTipIsCutWhole) {
    std::string chinese;
    for (int i = 0; i < 64; ++i)
        chinese += "调"; // 128 bytes
    struct Case {
        std::string tip;
        size_t expectedLength;
    } cases[] = {
        {"TURN服务器V1.0.0.1", 18},
        {chinese, 126},       // the 64th character would need bytes 126 and 127
        {"a" + chinese, 127}, // 'a' and 63 characters fill the buffer exactly
        {std::string(200, 'x'), 127},
    };
    for (const Case& c : cases) {
        NOTIFYICONDATAA rec;
        memset(&rec, 0xCC, sizeof rec);
        CTrayIcon::Fill(rec, (HWND)0x1234, 128, NIF_MESSAGE | NIF_ICON | NIF_TIP, 0x464, (HICON)0x99,
                        c.tip.c_str());
        EXPECT_EQ(504u, rec.cbSize);
        EXPECT_EQ(128u, rec.uID);
        EXPECT_EQ(7u, rec.uFlags);
        EXPECT_EQ(0x464u, rec.uCallbackMessage);
        EXPECT_EQ((HWND)0x1234, rec.hWnd);
        EXPECT_EQ(c.expectedLength, strlen(rec.szTip)) << c.tip;
        EXPECT_EQ(0, strncmp(rec.szTip, c.tip.c_str(), c.expectedLength));
        EXPECT_EQ(0u, rec.dwState) << "the rest of the record is zeroed";
    }
}

TEST(FrameworkText, AppNameAndMessageBoxCaption) {
    EXPECT_STREQ("framework_test", AfxGetAppName()) << "the module's name without the extension";
    std::string caption;
    After(0, [&] {
        WhenDialogShown([&](HWND h) {
            caption = WindowText(h);
            ::PostMessageA(h, WM_COMMAND, IDOK, 0);
        });
    });
    EXPECT_EQ(IDOK, AfxMessageBox("没有搜索到设定的无线SSID！"));
    EXPECT_EQ("framework_test", caption);
}
