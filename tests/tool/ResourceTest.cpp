// LENSKIT's resources as the built program carries them: the dialog templates read back byte by byte,
// the main window created from its template, the accelerators, the string table and the icons.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DialogTemplateReader.h"
#include "ThreadWindows.h"
#include "resource.h"

namespace {

std::vector<int> RectOf(const TemplateItem& it) {
    return {it.x, it.y, it.cx, it.cy};
}

// ---- The main window's controls, as the layout gives them -------------------------------------------

// clang-format off
enum Kind { PUSH, CHECK, RADIO, GROUP, EDIT, EDIT_RO, LABEL, RIGHT_LABEL, LIST_BOX, COMBO, LIST_VIEW,
            PROGRESS };
// clang-format on
enum Start { SHOWN, HIDDEN, HIDDEN_DISABLED };

struct ExpectedControl {
    int id; // -1: a label nothing refers to
    Kind kind;
    const char* text; // GBK
    int x, y, cx, cy; // x -1: placed freely
    Start start;
};

const ExpectedControl kMainControls[] = {
    {1004, PUSH, "开   始", 553, 125, 44, 20, SHOWN},
    {1005, LIST_VIEW, "", 550, 6, 226, 116, SHOWN},
    {1006, EDIT, "", 583, 266, 69, 15, SHOWN},
    {1007, EDIT, "", 679, 266, 71, 16, SHOWN},
    {1022, PUSH, "远程设置", 554, 125, 40, 20, SHOWN},
    {1024, PUSH, "恢复系统", 607, 126, 40, 20, SHOWN},
    {1035, PUSH, "切到黑白", 553, 202, 43, 19, SHOWN},
    {1036, PUSH, "切到彩色", 610, 202, 40, 19, SHOWN},
    {1037, PUSH, "切到自动", 664, 202, 44, 19, SHOWN},
    {1021, CHECK, "音频监听", 554, 154, 48, 10, SHOWN},
    {1076, PUSH, "亮点校正", 611, 151, 40, 18, SHOWN},
    {1077, EDIT, "", 612, 174, 149, 14, SHOWN},
    {1061, EDIT_RO, "", 606, 225, 151, 14, SHOWN},
    {1087, EDIT_RO, "", 606, 243, 151, 14, SHOWN},
    {1100, PUSH, "全屏", 555, 404, 57, 23, SHOWN},
    {1015, GROUP, "", 5, 2, 538, 471, SHOWN},
    {1101, PUSH, "断开连接", 556, 343, 50, 20, SHOWN},
    {1093, PUSH, "断开所有连接", 633, 343, 53, 19, SHOWN},
    {1055, PUSH, "无线搜索", 555, 370, 63, 16, SHOWN},
    {10101, COMBO, "", 625, 372, 137, 170, SHOWN},
    {1081, GROUP, "无线信息:需先设定SSID再搜索", 544, 316, 232, 77, SHOWN},
    {1034, RIGHT_LABEL, "", 420, 279, 28, 10, SHOWN},
    {1033, LABEL, "", 287, 66, 20, 17, HIDDEN},
    {1029, RADIO, "有线", 173, 70, 37, 17, HIDDEN_DISABLED},
    {1030, RADIO, "WIFI", 215, 67, 37, 17, HIDDEN_DISABLED},
    {1031, RIGHT_LABEL, "111", 177, 46, 48, 14, HIDDEN},
    {1011, LIST_BOX, "", 134, 105, 191, 64, HIDDEN},
    {1023, CHECK, "号码推送", 115, 360, 58, 19, HIDDEN_DISABLED},
    {1002, PUSH, "浏览", 233, 246, 56, 18, HIDDEN},
    {1003, EDIT, "", 125, 224, 180, 17, HIDDEN},
    {1025, PUSH, "设定场景值", 181, 298, 58, 19, HIDDEN},
    {1027, EDIT, "", 115, 298, 51, 19, HIDDEN},
    {1043, PUSH, "开启", 445, 403, 56, 18, HIDDEN},
    {1046, EDIT, "", 370, 403, 50, 14, HIDDEN},
    {1047, EDIT, "", 371, 421, 50, 14, HIDDEN},
    // Labels and controls no logic touches.
    {1089, LABEL, "用户名:", -1, 0, 0, 0, SHOWN},
    {1090, LABEL, "密码:", -1, 0, 0, 0, SHOWN},
    {1083, LABEL, "校正状态：", -1, 0, 0, 0, SHOWN},
    {1085, LABEL, "设备版本号：", -1, 0, 0, 0, SHOWN},
    {1091, LABEL, "Orvanet号：", -1, 0, 0, 0, SHOWN},
    {-1, LABEL, "选择打印条码文件:", -1, 0, 0, 0, HIDDEN},
    {-1, LABEL, "当前连接：", -1, 0, 0, 0, HIDDEN},
    {-1, LABEL, "切彩色值:", -1, 0, 0, 0, HIDDEN},
    {-1, LABEL, "时间间隔(单位:s,默认1s)：", -1, 0, 0, 0, HIDDEN},
    {-1, LABEL, "切换次数(默认一直切换)：", -1, 0, 0, 0, HIDDEN},
    {-1, LABEL, "请选择IPC配置文件(没有可不选,须开启号码推送服务):", -1, 0, 0, 0, HIDDEN},
    {-1, GROUP, "cut切换测试", -1, 0, 0, 0, HIDDEN},
    {1001, LABEL, "Static", -1, 0, 0, 0, HIDDEN},
    {1008, EDIT, "", -1, 0, 0, 0, HIDDEN},
    {1067, EDIT, "", -1, 0, 0, 0, HIDDEN},
    {1010, CHECK, "保存号码", -1, 0, 0, 0, HIDDEN},
    {1009, PUSH, "清空列表", -1, 0, 0, 0, HIDDEN},
    {1016, PUSH, "全  屏", -1, 0, 0, 0, HIDDEN},
    {1032, PROGRESS, "", -1, 0, 0, 0, HIDDEN},
};

const char* KindName(Kind k) {
    static const char* const names[] = {
        "push button", "check box",      "radio button", "group box",
        "edit",        "read-only edit", "static",       "right-aligned static",
        "list box",    "combo box",      "list view",    "progress bar"};
    return names[k];
}

// windres keeps a class it was given by name as an upper-cased name instead of the predefined atom;
// the dialog manager treats both alike.
bool ClassIs(const TemplateItem& it, WORD atom, const wchar_t* name) {
    return it.classAtom == atom || (it.classAtom == 0 && _wcsicmp(it.className.c_str(), name) == 0);
}

// Whether the template item is of the kind the layout asks for.
bool IsKind(const TemplateItem& it, Kind k) {
    const DWORD buttonType = it.style & BS_TYPEMASK;
    const bool button = ClassIs(it, 0x80, L"Button");
    switch (k) {
    case PUSH:
        return button && buttonType == BS_PUSHBUTTON;
    case CHECK:
        return button && buttonType == BS_AUTOCHECKBOX;
    case RADIO:
        return button && buttonType == BS_AUTORADIOBUTTON;
    case GROUP:
        return button && buttonType == BS_GROUPBOX;
    case EDIT:
        return ClassIs(it, 0x81, L"Edit") && !(it.style & ES_READONLY);
    case EDIT_RO:
        return ClassIs(it, 0x81, L"Edit") && (it.style & ES_READONLY);
    case LABEL:
        return ClassIs(it, 0x82, L"Static") && (it.style & SS_TYPEMASK) == SS_LEFT;
    case RIGHT_LABEL:
        return ClassIs(it, 0x82, L"Static") && (it.style & SS_TYPEMASK) == SS_RIGHT;
    case LIST_BOX:
        return ClassIs(it, 0x83, L"ListBox");
    case COMBO:
        return ClassIs(it, 0x85, L"ComboBox") && (it.style & 3) == CBS_DROPDOWN && (it.style & CBS_SORT) &&
               !(it.style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE));
    case LIST_VIEW:
        return ClassIs(it, 0, L"SysListView32") && (it.style & LVS_TYPEMASK) == LVS_REPORT;
    case PROGRESS:
        return ClassIs(it, 0, L"msctls_progress32");
    }
    return false;
}

bool Matches(const TemplateItem& it, const ExpectedControl& e) {
    if (e.id != -1) return it.id == e.id;
    return LOWORD(it.id) == 0xFFFF && Gbk(it.text) == e.text;
}

TEST(ResourceTemplate, MainWindowHoldsEveryControlAsLaidOut) {
    const DialogTemplate dlg = ReadDialogTemplate(IDD_LENSKIT_DIALOG);
    ASSERT_TRUE(dlg.ok) << dlg.error;

    const size_t expectedCount = sizeof(kMainControls) / sizeof(kMainControls[0]);
    EXPECT_EQ(dlg.items.size(), expectedCount) << "controls in template 102";

    std::vector<int> matched(dlg.items.size(), 0);
    for (const ExpectedControl& e : kMainControls) {
        SCOPED_TRACE(::testing::Message() << "control " << e.id << " \"" << e.text << "\"");
        size_t found = dlg.items.size();
        for (size_t i = 0; i < dlg.items.size(); ++i) {
            if (Matches(dlg.items[i], e)) {
                ++matched[i];
                found = i;
            }
        }
        ASSERT_LT(found, dlg.items.size()) << "not in the template";
        const TemplateItem& it = dlg.items[found];
        EXPECT_TRUE(IsKind(it, e.kind))
            << "expected a " << KindName(e.kind) << ", got class atom " << it.classAtom << " \""
            << Gbk(it.className) << "\" style 0x" << std::hex << it.style;
        EXPECT_EQ(Gbk(it.text), e.text);
        if (e.x != -1) {
            EXPECT_EQ(it.x, e.x);
            EXPECT_EQ(it.y, e.y);
            EXPECT_EQ(it.cx, e.cx);
            EXPECT_EQ(it.cy, e.cy);
        }
        EXPECT_EQ((it.style & WS_VISIBLE) != 0, e.start == SHOWN) << "style 0x" << std::hex << it.style;
        EXPECT_EQ((it.style & WS_DISABLED) != 0, e.start == HIDDEN_DISABLED)
            << "style 0x" << std::hex << it.style;
        EXPECT_TRUE(it.style & WS_CHILD);
    }
    for (size_t i = 0; i < matched.size(); ++i)
        EXPECT_EQ(matched[i], 1) << "template control " << i << " (id " << dlg.items[i].id << ", \""
                                 << Gbk(dlg.items[i].text) << "\") matched " << matched[i]
                                 << " times, expected once";
}

TEST(ResourceTemplate, DialogFramesAreAsLaidOut) {
    struct Frame {
        int id;
        DWORD styleOn, styleOff, exStyleOn;
        int cx, cy;
        const char* caption;
        int pointSize;
        const char* face;
        size_t controls;
    };
    const DWORD kShown = WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    const Frame frames[] = {
        {IDD_ABOUTBOX, kShown | WS_POPUP, WS_CHILD | WS_MAXIMIZEBOX | WS_THICKFRAME, 0, 235, 55,
         "关于 LENSBENCH", 9, "宋体", 3},
        {IDD_LENSKIT_DIALOG, kShown | WS_POPUP | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, WS_CHILD | WS_THICKFRAME,
         WS_EX_APPWINDOW, 784, 475, "IPC产线调焦测试工具", 9, "宋体", 54},
        {IDD_FULLSCREEN, WS_POPUP | WS_SYSMENU | DS_SETFONT | DS_FIXEDSYS, WS_CHILD | WS_CAPTION | WS_BORDER,
         0, 392, 221, "", 8, nullptr, 0},
        {IDD_DRAW, WS_CHILD | WS_SYSMENU | DS_SETFONT | DS_FIXEDSYS, WS_POPUP | WS_CAPTION | WS_BORDER, 0,
         316, 183, "", 8, nullptr, 0},
    };
    for (const Frame& f : frames) {
        SCOPED_TRACE(::testing::Message() << "dialog " << f.id);
        const DialogTemplate dlg = ReadDialogTemplate(f.id);
        ASSERT_TRUE(dlg.ok) << dlg.error;
        EXPECT_EQ(dlg.style & f.styleOn, f.styleOn) << "style 0x" << std::hex << dlg.style;
        EXPECT_EQ(dlg.style & f.styleOff, 0u) << "style 0x" << std::hex << dlg.style;
        EXPECT_EQ(dlg.exStyle & f.exStyleOn, f.exStyleOn) << "extended style 0x" << std::hex << dlg.exStyle;
        EXPECT_EQ(dlg.cx, f.cx);
        EXPECT_EQ(dlg.cy, f.cy);
        EXPECT_EQ(Gbk(dlg.caption), f.caption);
        EXPECT_EQ(dlg.pointSize, f.pointSize);
        if (f.face) {
            EXPECT_EQ(Gbk(dlg.face), f.face);
        }
        EXPECT_EQ(dlg.items.size(), f.controls);
    }
}

TEST(ResourceTemplate, AboutBoxShowsIconTextAndOk) {
    const DialogTemplate dlg = ReadDialogTemplate(IDD_ABOUTBOX);
    ASSERT_TRUE(dlg.ok) << dlg.error;
    ASSERT_EQ(dlg.items.size(), 3u);

    const TemplateItem& icon = dlg.items[0];
    EXPECT_TRUE(ClassIs(icon, 0x82, L"Static"));
    EXPECT_EQ(icon.style & SS_TYPEMASK, (DWORD)SS_ICON);
    EXPECT_EQ(icon.textOrdinal, IDI_APP) << "the icon static shows icon 128";
    EXPECT_EQ((RectOf(icon)), (std::vector<int>{11, 17, 20, 20}));

    const TemplateItem& text = dlg.items[1];
    EXPECT_EQ(Gbk(text.text), "LENSBENCH 1.0 版");
    EXPECT_TRUE(text.style & SS_NOPREFIX);
    EXPECT_EQ((RectOf(text)), (std::vector<int>{40, 10, 119, 8}));

    const TemplateItem& ok = dlg.items[2];
    EXPECT_EQ(ok.id, IDOK);
    EXPECT_EQ(ok.style & BS_TYPEMASK, (DWORD)BS_DEFPUSHBUTTON);
    EXPECT_EQ(Gbk(ok.text), "确定");
    EXPECT_EQ((RectOf(ok)), (std::vector<int>{178, 7, 50, 14}));
}

// ---- The main window created from its template ----------------------------------------------------

INT_PTR CALLBACK QuietDialogProc(HWND, UINT msg, WPARAM, LPARAM) {
    return msg == WM_INITDIALOG;
}

class MainTemplateWindow : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
        ASSERT_TRUE(InitCommonControlsEx(&icc));
        m_hDlg = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LENSKIT_DIALOG), nullptr,
                                    QuietDialogProc, 0);
        ASSERT_NE(m_hDlg, nullptr) << "template 102 did not make a window, error " << GetLastError();
    }
    void TearDown() override {
        if (m_hDlg) DestroyWindow(m_hDlg);
    }
    HWND m_hDlg = nullptr;
};

TEST_F(MainTemplateWindow, CaptionFontAndControlTextsReadBackInGbk) {
    EXPECT_EQ(WindowText(m_hDlg), "IPC产线调焦测试工具");

    HFONT hFont = (HFONT)SendMessageA(m_hDlg, WM_GETFONT, 0, 0);
    ASSERT_NE(hFont, nullptr) << "the dialog has no font of its own";
    LOGFONTA lf{};
    ASSERT_NE(GetObjectA(hFont, sizeof(lf), &lf), 0);
    EXPECT_STREQ(lf.lfFaceName, "宋体");
    HDC hdc = GetDC(nullptr);
    const int expectedHeight = -MulDiv(9, GetDeviceCaps(hdc, LOGPIXELSY), 72);
    ReleaseDC(nullptr, hdc);
    EXPECT_EQ(lf.lfHeight, expectedHeight) << "a 9-point font";

    for (const ExpectedControl& e : kMainControls) {
        if (e.id == -1) continue;
        SCOPED_TRACE(::testing::Message() << "control " << e.id);
        HWND hCtl = GetDlgItem(m_hDlg, e.id);
        ASSERT_NE(hCtl, nullptr) << "no window for the control";
        if (e.kind != COMBO && e.kind != LIST_BOX && e.kind != LIST_VIEW) {
            EXPECT_EQ(WindowText(hCtl), e.text);
        }
        EXPECT_EQ(IsWindowEnabled(hCtl) != FALSE, e.start != HIDDEN_DISABLED);
        EXPECT_EQ((GetWindowLongA(hCtl, GWL_STYLE) & WS_VISIBLE) != 0, e.start == SHOWN);
    }
    char cls[64] = "";
    GetClassNameA(GetDlgItem(m_hDlg, IDC_LIST_DEVICES), cls, sizeof(cls));
    EXPECT_STREQ(cls, "SysListView32");
}

// ---- Accelerators, strings, icons and the widgets' resources -----------------------------------------

struct CommandLog {
    std::vector<WPARAM> commands;
};

LRESULT CALLBACK RecordCommands(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND) {
        auto* log = reinterpret_cast<CommandLog*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        log->commands.push_back(wParam);
        return 0;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

TEST(ResourceTable, FunctionKeysReachTheirCommands) {
    HACCEL hAccel = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCEL_MAIN));
    ASSERT_NE(hAccel, nullptr) << "accelerator table 139 is missing";
    ASSERT_EQ(CopyAcceleratorTableA(hAccel, nullptr, 0), 6) << "entries in table 139";

    WNDCLASSA wc{};
    wc.lpfnWndProc = RecordCommands;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "LkAccelProbe";
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND hWnd = CreateWindowA("LkAccelProbe", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                              nullptr);
    ASSERT_NE(hWnd, nullptr);
    CommandLog log;
    SetWindowLongPtrA(hWnd, GWLP_USERDATA, (LONG_PTR)&log);

    const struct {
        WORD key;
        WORD command;
    } keys[] = {{VK_F1, 1036}, {VK_F2, 1035}, {VK_F3, 1037}, {VK_F4, 1024}, {VK_F5, 1016}, {VK_F6, 1022}};
    for (const auto& k : keys) {
        SCOPED_TRACE(::testing::Message() << "F" << (k.key - VK_F1 + 1));
        log.commands.clear();
        MSG msg{hWnd, WM_KEYDOWN, k.key, 0x00000001, 0, {0, 0}};
        EXPECT_NE(TranslateAcceleratorA(hWnd, hAccel, &msg), 0) << "the key was not translated";
        ASSERT_EQ(log.commands.size(), 1u);
        EXPECT_EQ(LOWORD(log.commands[0]), k.command);
        EXPECT_EQ(HIWORD(log.commands[0]), 1) << "accelerator commands carry code 1";
    }
    log.commands.clear();
    MSG other{hWnd, WM_KEYDOWN, VK_F7, 0x00000001, 0, {0, 0}};
    EXPECT_EQ(TranslateAcceleratorA(hWnd, hAccel, &other), 0) << "F7 has no accelerator";
    EXPECT_TRUE(log.commands.empty());

    DestroyWindow(hWnd);
    UnregisterClassA("LkAccelProbe", wc.hInstance);
    DestroyAcceleratorTable(hAccel);
}

TEST(ResourceTable, StringTableHoldsTheAboutEntryOnly) {
    char buf[256] = "";
    EXPECT_GT(LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, buf, sizeof(buf)), 0);
    EXPECT_STREQ(buf, "关于 LENSBENCH(&A)...");
    // Entry 1 stays missing: the device-version callback gets an empty text from it.
    buf[0] = 'x';
    EXPECT_EQ(LoadStringA(GetModuleHandleA(nullptr), 1, buf, sizeof(buf)), 0);
}

// The RT_ICON image that the icon group offers for a size, as its BITMAPINFOHEADER and pixels.
const BITMAPINFOHEADER* IconImage(int groupId, int size) {
    HMODULE hMod = GetModuleHandleA(nullptr);
    HRSRC hGroup = FindResourceA(hMod, MAKEINTRESOURCEA(groupId), (LPCSTR)RT_GROUP_ICON);
    if (!hGroup) return nullptr;
    PBYTE dir = static_cast<PBYTE>(LockResource(LoadResource(hMod, hGroup)));
    int iconId = LookupIconIdFromDirectoryEx(dir, TRUE, size, size, LR_DEFAULTCOLOR);
    HRSRC hIcon = FindResourceA(hMod, MAKEINTRESOURCEA(iconId), (LPCSTR)RT_ICON);
    if (!hIcon) return nullptr;
    return static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(hMod, hIcon)));
}

TEST(ResourceTable, IconsComeAtSixteenAndThirtyTwoPixels) {
    for (int id : {IDI_APP, IDI_MAINWND}) {
        for (int size : {16, 32}) {
            SCOPED_TRACE(::testing::Message() << "icon " << id << " at " << size);
            const BITMAPINFOHEADER* bih = IconImage(id, size);
            ASSERT_NE(bih, nullptr) << "no image";
            EXPECT_EQ(bih->biWidth, size) << "the group has no image of this size";
            EXPECT_EQ(bih->biHeight, 2 * size);
            ASSERT_EQ(bih->biBitCount, 32);
            // A picture, not a blank square: transparent corners and an opaque middle.
            const BYTE* px = reinterpret_cast<const BYTE*>(bih + 1);
            auto alpha = [&](int x, int y) { return px[((size - 1 - y) * size + x) * 4 + 3]; };
            EXPECT_EQ(alpha(0, 0), 0) << "top-left corner";
            EXPECT_EQ(alpha(size / 2, size / 2 + 1), 255) << "middle";

            HICON hIcon =
                (HICON)LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0);
            ASSERT_NE(hIcon, nullptr);
            DestroyIcon(hIcon);
        }
    }
}

TEST(ResourceTable, WidgetResourcesAreLinkedIn) {
    // The wait box and the picture strip come from the shared widgets' resource files.
    EXPECT_NE(FindResourceA(nullptr, MAKEINTRESOURCEA(138), (LPCSTR)RT_DIALOG), nullptr) << "wait box 138";
    HBITMAP hStrip =
        (HBITMAP)LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(136), IMAGE_BITMAP, 0, 0, 0);
    ASSERT_NE(hStrip, nullptr) << "bitmap 136";
    BITMAP bm{};
    GetObjectA(hStrip, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, 175);
    EXPECT_EQ(bm.bmHeight, 20);
    DeleteObject(hStrip);
}

} // namespace
