// Focus-test settings, the scene value and the camera configuration file.
#include "LENSBENCHDlg.h"

#include "ConfigFile.h"
#include "TextCut.h"
#include "resource.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char kSection[] = "TIAOJIAO";
const char kReminder[] = "提醒";
const char kInvalidFile[] = "无效文件，无法读取";
const char kFileTooLarge[] = "文件过大，需<25K";
const char kNoMemory[] = "分配内存失败，请重启软件";
const char kReadyWithConfig[] = "准备就绪(带配置:%d字节).请点击开启服务.";

const int kEditTextMax = 512; // at most 511 characters are read from an edit

} // namespace

// Config.ini beside the program. Without a program directory, or with a path that does not fit, there
// is no file: the defaults hold, and nothing is written anywhere else.
void CLENSBENCHDlg::ReadSettingsFile() {
    if (!ProgramFilePath("Config.ini", m_szIniPath)) {
        m_nThreshold = 30;
        m_nShift = 16;
        return;
    }
    if (::GetFileAttributesA(m_szIniPath) == INVALID_FILE_ATTRIBUTES) {
        ::WritePrivateProfileStringA(kSection, "SHIFT", "16", m_szIniPath);
        ::WritePrivateProfileStringA(kSection, "THRESHOLD", "30", m_szIniPath);
    }
    m_nThreshold = ::GetPrivateProfileIntA(kSection, "THRESHOLD", 30, m_szIniPath);
    m_nShift = ::GetPrivateProfileIntA(kSection, "SHIFT", 16, m_szIniPath);
}

bool CLENSBENCHDlg::ChooseConfigFile(CString& path) {
    CFileDialog dlg(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, nullptr, this);
    if (dlg.DoModal() != IDOK) return false;
    path = dlg.GetPathName();
    return true;
}

namespace {

// The file dialog makes the chosen file's folder the working directory; the program's own files must
// not follow it, so the working directory is put back whatever the dialog did.
class KeepWorkingDirectory {
public:
    KeepWorkingDirectory() {
        const DWORD n = ::GetCurrentDirectoryA(0, nullptr);
        if (n == 0) return;
        m_dir.resize(n); // with room for the terminator
        const DWORD got = ::GetCurrentDirectoryA(n, &m_dir[0]);
        m_dir.resize(got + 1 == n ? got : 0);
    }
    ~KeepWorkingDirectory() {
        if (!m_dir.empty()) ::SetCurrentDirectoryA(m_dir.c_str());
    }
    KeepWorkingDirectory(const KeepWorkingDirectory&) = delete;
    KeepWorkingDirectory& operator=(const KeepWorkingDirectory&) = delete;

private:
    std::string m_dir;
};

} // namespace

void CLENSBENCHDlg::OnLoadConfigFile() {
    CString path;
    bool chosen;
    {
        KeepWorkingDirectory keep;
        chosen = ChooseConfigFile(path);
    }
    if (!chosen) {
        m_config.Clear();
        SetDlgItemText(IDC_EDIT_CFG_PATH, "");
        return;
    }
    switch (m_config.Load(path)) {
    case ConfigLoad::Loaded: {
        SetDlgItemText(IDC_EDIT_CFG_PATH, path);
        char line[128];
        _snprintf(line, sizeof line - 1, kReadyWithConfig, m_config.Current().length);
        line[sizeof line - 1] = '\0';
        AppendServiceLine(line);
        break;
    }
    case ConfigLoad::Empty:
        SetDlgItemText(IDC_EDIT_CFG_PATH, path);
        break;
    case ConfigLoad::TooLarge:
        MessageBox(kFileTooLarge, kReminder, MB_OK);
        break;
    case ConfigLoad::NoBuffer:
        MessageBox(kNoMemory, kReminder, MB_OK);
        break;
    case ConfigLoad::Unreadable:
    case ConfigLoad::ShortRead:
        MessageBox(kInvalidFile, kReminder, MB_OK);
        break;
    }
}

void CLENSBENCHDlg::OnSetScene() {
    char text[kEditTextMax] = "";
    GetDlgItemText(IDC_EDIT_SCENE, text, sizeof text);
    m_nThreshold = DecimalValue(text);

    char path[MAX_PATH];
    FILE* f = ProgramFilePath("scene.dat", path) ? fopen(path, "wb") : nullptr;
    if (!f) {
        char msg[sizeof path + 32];
        _snprintf(msg, sizeof msg - 1, "can't open output file %s\n", path);
        msg[sizeof msg - 1] = '\0';
        ::OutputDebugStringA(msg);
        return;
    }
    fprintf(f, "%ld", static_cast<long>(m_nThreshold));
    fclose(f);
}

// The cut test reads its count and interval and goes no further: nothing is sent to a camera.
void CLENSBENCHDlg::OnCutTest() {
    char count[kEditTextMax] = "", interval[kEditTextMax] = "";
    GetDlgItemText(IDC_EDIT_CUT_COUNT, count, sizeof count);
    GetDlgItemText(IDC_EDIT_CUT_INTERVAL, interval, sizeof interval);
}

// The text goes into Config.ini as typed; the member takes its decimal value.
void CLENSBENCHDlg::OnApplyShift() {
    char text[kEditTextMax] = "";
    GetDlgItemText(IDC_EDIT_SHIFT, text, sizeof text);
    m_nShift = DecimalValue(text);
    if (m_szIniPath[0] != '\0') ::WritePrivateProfileStringA(kSection, "SHIFT", text, m_szIniPath);
}

void CLENSBENCHDlg::OnApplyThreshold() {
    char text[kEditTextMax] = "";
    GetDlgItemText(IDC_EDIT_THRESHOLD, text, sizeof text);
    m_nThreshold = DecimalValue(text);
    if (m_szIniPath[0] != '\0') ::WritePrivateProfileStringA(kSection, "THRESHOLD", text, m_szIniPath);
}
