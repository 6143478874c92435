// Focus-test settings, the scene value and the camera configuration file.
#include "LENSBENCHDlg.h"

#include "ConfigFile.h"
#include "resource.h"

#include <cstdio>
#include <cstring>

namespace {

const char kSection[] = "TIAOJIAO";
const char kReminder[] = "提醒";
const char kInvalidFile[] = "无效文件，无法读取";
const char kFileTooLarge[] = "文件过大，需<25K";
const char kNoMemory[] = "分配内存失败，请重启软件";
const char kReadyWithConfig[] = "准备就绪(带配置:%d字节).请点击开启服务.";

const int kEditTextMax = 512; // at most 511 characters are read from an edit

} // namespace

bool CLENSBENCHDlg::ChooseConfigFile(CString& path) {
    CFileDialog dlg(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, nullptr, this);
    if (dlg.DoModal() != IDOK) return false;
    path = dlg.GetPathName();
    return true;
}

void CLENSBENCHDlg::OnLoadConfigFile() {
    CString path;
    if (!ChooseConfigFile(path)) {
        ClearConfigBuffer(m_pConfigBuf, &m_nConfigLen);
        SetDlgItemText(IDC_EDIT_CFG_PATH, "");
        return;
    }
    switch (LoadConfigFile(path, m_pConfigBuf, &m_nConfigLen)) {
    case ConfigLoad::Loaded: {
        SetDlgItemText(IDC_EDIT_CFG_PATH, path);
        char line[128];
        _snprintf(line, sizeof line - 1, kReadyWithConfig, m_nConfigLen);
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

    char path[MAX_PATH + 16];
    _snprintf(path, sizeof path - 1, "%s\\scene.dat", g_App.szAppDir);
    path[sizeof path - 1] = '\0';
    FILE* f = fopen(path, "wb");
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
    ::WritePrivateProfileStringA(kSection, "SHIFT", text, m_szIniPath);
}

void CLENSBENCHDlg::OnApplyThreshold() {
    char text[kEditTextMax] = "";
    GetDlgItemText(IDC_EDIT_THRESHOLD, text, sizeof text);
    m_nThreshold = DecimalValue(text);
    ::WritePrivateProfileStringA(kSection, "THRESHOLD", text, m_szIniPath);
}
