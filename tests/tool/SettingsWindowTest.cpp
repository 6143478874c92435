// The main window's focus-test settings, scene value and camera configuration file, run modally as the
// program runs it. Files go to the test's own temporary folder: the window is pointed there.
#include "MainWindowHarness.h"

#include "ConfigFile.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

namespace {

// The main window with its settings paths and configuration buffer in reach, and the file dialog
// replaced by a queue of answers ("" cancels).
class SettingsDlg : public CLENSBENCHDlg {
public:
    using CLENSBENCHDlg::m_szIniPath;
    std::deque<std::string> answers;
    int asked = 0;
    std::string wanderTo; // the folder the "dialog" makes the working directory, as the real one does
    int ConfigLength() const { return m_config.Current().length; }
    const char* ConfigData() const { return m_config.Current().data; }

protected:
    bool ChooseConfigFile(CString& path) override {
        ++asked;
        if (!wanderTo.empty()) SetCurrentDirectoryA(wanderTo.c_str());
        if (answers.empty()) return false;
        const std::string next = answers.front();
        answers.pop_front();
        if (next.empty()) return false;
        path = next.c_str();
        return true;
    }
};

using SettingsRun = MainRunOf<SettingsDlg>;

std::string WorkDir() {
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(sizeof cwd, cwd);
    return cwd;
}

std::string WriteFile(const std::string& name, size_t size) {
    const std::string path = WorkDir() + "\\" + name;
    FILE* f = fopen(path.c_str(), "wb");
    EXPECT_NE(f, nullptr) << "cannot write " << path;
    for (size_t i = 0; f && i < size; ++i)
        fputc(static_cast<int>((i * 13 + 1) & 0xFF), f);
    if (f) fclose(f);
    return path;
}

std::string ReadAll(const std::string& path) {
    std::string s;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return "(missing)";
    char buf[256];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0)
        s.append(buf, n);
    fclose(f);
    return s;
}

std::string LastServiceLine(HWND dialog, int* selected = nullptr) {
    HWND list = GetDlgItem(dialog, IDC_LIST_SERVICE_LOG);
    const int n = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    if (selected) *selected = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)) == n - 1 && n > 0;
    if (n <= 0) return "";
    char buf[256] = "";
    SendMessageA(list, LB_GETTEXT, n - 1, reinterpret_cast<LPARAM>(buf));
    return buf;
}

bool BufferHolds(const SettingsDlg& dlg, size_t size) {
    for (size_t i = 0; i < static_cast<size_t>(CONFIG_BUF_SIZE); ++i) {
        const char expected = i < size ? static_cast<char>((i * 13 + 1) & 0xFF) : '\0';
        if (dlg.ConfigData()[i] != expected) return false;
    }
    return true;
}

} // namespace

// One run through the file dialog's answers: each load is posted as the button's click and any box it
// shows is read and closed before the next.
TEST(SettingsWindow, ConfigurationFileLoadsAndItsFailures) {
    const std::string full = WriteFile("full.cfg", 30120);
    const std::string over = WriteFile("over.cfg", 30121);
    const std::string empty = WriteFile("empty.cfg", 0);
    const std::string missing = WorkDir() + "\\missing.cfg";

    SettingsRun run;
    const std::string home = WorkDir();
    run.dlg.wanderTo = home + "\\elsewhere";
    CreateDirectoryA(run.dlg.wanderTo.c_str(), nullptr);
    struct Load {
        const char* what;
        std::string answer;
        const char* box;  // expected message box text, NULL for none
        int length;       // configuration length afterwards
        size_t content;   // bytes of the pattern the buffer holds afterwards
        std::string edit; // text of edit 1003 afterwards
    };
    const std::vector<Load> loads = {
        {"exactly 30120 bytes", full, nullptr, 30120, 30120, full},
        {"30121 bytes", over, "文件过大，需<25K", 30120, 30120, full},
        {"missing file", missing, "无效文件，无法读取", 30120, 30120, full},
        {"cancelled after a load", "", nullptr, 0, 0, ""},
        {"loaded again", full, nullptr, 30120, 30120, full},
        {"empty file", empty, nullptr, 0, 0, empty},
    };
    for (const Load& l : loads)
        run.dlg.answers.push_back(l.answer);

    for (size_t i = 0; i < loads.size(); ++i) {
        const Load* l = &loads[i];
        run.script.Add(std::string(l->what) + ": click", [&run] {
            PostMessageA(run.hwnd, WM_COMMAND, MAKEWPARAM(IDC_BTN_BROWSE_CFG, BN_CLICKED), 0);
            return true;
        });
        if (l->box) {
            run.script.Add(std::string(l->what) + ": box", [&run, l] {
                HWND box = FindThreadDialogWithText(l->box);
                if (!box) return false;
                EXPECT_EQ(WindowText(box), "提醒") << l->what;
                EXPECT_EQ(GetWindow(box, GW_OWNER), run.hwnd)
                    << l->what << ": the box is not the main window's";
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                return true;
            });
        }
        run.script.Add(std::string(l->what) + ": result", [&run, l, i, full, home] {
            if (run.dlg.asked != static_cast<int>(i + 1) || FindOtherThreadDialog(run.hwnd)) return false;
            EXPECT_EQ(WorkDir(), home) << l->what << ": the working directory followed the file dialog";
            EXPECT_EQ(run.dlg.ConfigLength(), l->length) << l->what;
            EXPECT_TRUE(BufferHolds(run.dlg, l->content))
                << l->what << ": the buffer does not hold " << l->content
                << " bytes of the file and zeros after them";
            EXPECT_EQ(ItemText(run.hwnd, IDC_EDIT_CFG_PATH), l->edit) << l->what;
            if (l->answer == full && !l->box) {
                int selected = 0;
                EXPECT_EQ(LastServiceLine(run.hwnd, &selected), "准备就绪(带配置:30120字节).请点击开启服务.")
                    << l->what;
                EXPECT_TRUE(selected) << l->what << ": the new line is not selected";
            }
            return true;
        });
    }
    run.script.Add("close", [&run] {
        run.Close();
        return true;
    });
    run.Run(30000);
    EXPECT_TRUE(run.script.Finished());
}

TEST(SettingsWindow, SceneValueIsWrittenBesideTheProgram) {
    SettingsRun run;
    const std::string dir = WorkDir();
    const std::string scene = dir + "\\scene.dat";
    run.script.Add("scene values", [&run, dir, scene] {
        strcpy(g_App.szAppDir, dir.c_str());
        const struct {
            const char* typed;
            int value;
            const char* file;
        } cases[] = {{"12abc", 12, "12"},
                     {"-5", -5, "-5"},
                     {"abc", 0, "0"},
                     {" 2147483647", 2147483647, "2147483647"}};
        for (const auto& c : cases) {
            SetDlgItemTextA(run.hwnd, IDC_EDIT_SCENE, c.typed);
            SendMessageA(run.hwnd, WM_COMMAND, MAKEWPARAM(IDC_BTN_SET_SCENE, BN_CLICKED), 0);
            EXPECT_EQ(run.dlg.Threshold(), c.value) << "typed \"" << c.typed << "\"";
            EXPECT_EQ(ReadAll(scene), c.file) << "typed \"" << c.typed << "\"";
        }
        // A folder that does not exist: the value is taken all the same, and no file appears.
        const std::string gone = dir + "\\no-such-folder";
        strcpy(g_App.szAppDir, gone.c_str());
        SetDlgItemTextA(run.hwnd, IDC_EDIT_SCENE, "77");
        SendMessageA(run.hwnd, WM_COMMAND, MAKEWPARAM(IDC_BTN_SET_SCENE, BN_CLICKED), 0);
        EXPECT_EQ(run.dlg.Threshold(), 77);
        EXPECT_EQ(GetFileAttributesA((gone + "\\scene.dat").c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(ReadAll(scene), "2147483647") << "the earlier file was touched";
        run.Close();
        return true;
    });
    run.Run(30000);
}

// Commands 1086 and 1084 read edits 1060 and 1063, which the template lacks: the test adds them.
TEST(SettingsWindow, ShiftAndThresholdKeepTheTextAsTyped) {
    SettingsRun run;
    const std::string ini = WorkDir() + "\\Config.ini";
    run.script.Add("apply", [&run, ini] {
        strcpy(run.dlg.m_szIniPath, ini.c_str());
        for (int id : {IDC_EDIT_SHIFT, IDC_EDIT_THRESHOLD})
            CreateWindowA("EDIT", "", WS_CHILD, 0, 0, 40, 12, run.hwnd,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                          nullptr);
        auto key = [&ini](const char* name) {
            char value[64] = "";
            GetPrivateProfileStringA("TIAOJIAO", name, "(none)", value, sizeof value, ini.c_str());
            return std::string(value);
        };

        SetDlgItemTextA(run.hwnd, IDC_EDIT_SHIFT, "42x");
        SendMessageA(run.hwnd, WM_COMMAND, MAKEWPARAM(IDC_BTN_APPLY_SHIFT, BN_CLICKED), 0);
        EXPECT_EQ(run.dlg.Shift(), 42);
        EXPECT_EQ(key("SHIFT"), "42x");
        EXPECT_EQ(key("THRESHOLD"), "(none)") << "storing SHIFT wrote THRESHOLD too";

        SetDlgItemTextA(run.hwnd, IDC_EDIT_THRESHOLD, "-3");
        SendMessageA(run.hwnd, WM_COMMAND, MAKEWPARAM(IDC_BTN_APPLY_THRESHOLD, BN_CLICKED), 0);
        EXPECT_EQ(run.dlg.Threshold(), -3);
        EXPECT_EQ(run.dlg.Shift(), 42);
        EXPECT_EQ(key("THRESHOLD"), "-3");
        EXPECT_EQ(key("SHIFT"), "42x");

        // At most 511 characters are read.
        const std::string longText(600, '7');
        SetDlgItemTextA(run.hwnd, IDC_EDIT_SHIFT, longText.c_str());
        SendMessageA(run.hwnd, WM_COMMAND, MAKEWPARAM(IDC_BTN_APPLY_SHIFT, BN_CLICKED), 0);
        char value[1024] = "";
        GetPrivateProfileStringA("TIAOJIAO", "SHIFT", "", value, sizeof value, ini.c_str());
        EXPECT_EQ(strlen(value), 511u);
        EXPECT_EQ(run.dlg.Shift(), 2147483647) << "a number beyond the range is held at its end";
        run.Close();
        return true;
    });
    run.Run(30000);
}

// The real open-file dialog: modal over the main window; a typed name loads, cancel empties.
TEST(SettingsWindow, OpenFileDialogLoadsThePickedFileAndCancelEmpties) {
    const std::string small = WriteFile("small.cfg", 10);
    MainRun run;
    HWND picker = nullptr;
    auto click = [&run] {
        PostMessageA(run.hwnd, WM_COMMAND, MAKEWPARAM(IDC_BTN_BROWSE_CFG, BN_CLICKED), 0);
        return true;
    };
    auto waitPicker = [&run, &picker] {
        picker = FindOtherThreadDialog(run.hwnd);
        if (!picker) return false;
        EXPECT_EQ(GetWindow(picker, GW_OWNER), run.hwnd)
            << "the file dialog is not modal over the main window";
        EXPECT_FALSE(IsWindowEnabled(run.hwnd));
        return true;
    };
    run.script.Add("click", click);
    run.script.Add("file dialog", waitPicker);
    run.script.Add("type the name", [&picker, small] {
        // cmb13: the file name box of the explorer-style dialog.
        SetDlgItemTextA(picker, 0x47C, small.c_str());
        PostMessageA(picker, WM_COMMAND, IDOK, 0);
        return true;
    });
    run.script.Add("loaded", [&run, small] {
        if (FindOtherThreadDialog(run.hwnd) || ItemText(run.hwnd, IDC_EDIT_CFG_PATH).empty()) return false;
        EXPECT_EQ(ItemText(run.hwnd, IDC_EDIT_CFG_PATH), small);
        EXPECT_EQ(LastServiceLine(run.hwnd), "准备就绪(带配置:10字节).请点击开启服务.");
        return true;
    });
    run.script.Add("click again", click);
    run.script.Add("file dialog again", waitPicker);
    run.script.Add("cancel", [&picker] {
        PostMessageA(picker, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    run.script.Add("emptied", [&run] {
        if (FindOtherThreadDialog(run.hwnd) || !ItemText(run.hwnd, IDC_EDIT_CFG_PATH).empty()) return false;
        run.Close();
        return true;
    });
    run.Run(30000);
    EXPECT_TRUE(run.script.Finished());
}
