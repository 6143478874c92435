// A host and a plug-in DLL, each with its own copy of the framework, in one process.
#include <gtest/gtest.h>

#include "Afx.h"
#include "FwTestIds.h"
#include "FwTestUtil.h"

namespace {
struct Plugin {
    HMODULE h = ::LoadLibraryA("fw_test_plugin.dll");
    template <typename F> F Get(const char* name) const {
        return h ? (F)(void*)::GetProcAddress(h, name) : nullptr;
    }
    ~Plugin() {
        if (h) ::FreeLibrary(h);
    }
};

class CHostDlg : public CDialog {
public:
    explicit CHostDlg(int (*show)()) : CDialog(IDD_MAIN), m_show(show) {}
    int (*m_show)();
    int pluginResult = 0;
    int ticks = 0;
    HWND activeAtGo = nullptr;
    BOOL OnInitDialog() override {
        SetTimer(1, 15);
        return CDialog::OnInitDialog();
    }
    afx_msg void OnTimer(UINT_PTR) { ++ticks; }
    void OnGo() {
        activeAtGo = ::GetActiveWindow();
        pluginResult = m_show();
    } // the plug-in's modal run inside this dialog's handler
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CHostDlg, CDialog)
ON_WM_TIMER()
ON_BN_CLICKED(IDC_GO, OnGo)
END_MESSAGE_MAP()
// clang-format on
} // namespace

TEST(FrameworkPlugin, PluginDialogUsesItsOwnResourcesAndObjectsStaySeparate) {
    Plugin plugin;
    ASSERT_NE(nullptr, plugin.h) << "fw_test_plugin.dll did not load: " << ::GetLastError();
    auto show = plugin.Get<int (*)()>("PluginShowDialog");
    auto end = plugin.Get<int (*)(int)>("PluginEndDialog");
    auto window = plugin.Get<HWND (*)()>("PluginDialogWindow");
    auto owns = plugin.Get<int (*)(HWND)>("PluginOwnsWindow");
    auto resources = plugin.Get<HINSTANCE (*)()>("PluginResourceHandle");
    ASSERT_TRUE(show && end && window && owns && resources);

    HINSTANCE hostResources = AfxGetResourceHandle();
    EXPECT_EQ(hostResources, AfxGetInstanceHandle());
    EXPECT_EQ((HINSTANCE)plugin.h, resources()) << "the plug-in's copy starts with its own module";

    CHostDlg host(show);
    std::string caption, label;
    HWND hPluginDlg = nullptr, owner = nullptr;
    bool hostSeesPluginWindow = true, pluginSeesHostWindow = true, pluginSeesOwnWindow = false;
    int ticksBefore = 0, ticksDuring = 0;
    After(0, [&] {
        WhenActive(host, [&] {
            host.PostMessage(WM_COMMAND, MAKEWPARAM(IDC_GO, BN_CLICKED), (LPARAM)::GetDlgItem(host, IDC_GO));
            WhenDialogShown(
                [&](HWND h) {
                    hPluginDlg = h;
                    caption = WindowText(h);
                    label = ItemText(h, IDC_PLUGIN_LABEL);
                    owner = ::GetWindow(h, GW_OWNER);
                    hostSeesPluginWindow =
                        CWnd::FromHandlePermanent(h) != nullptr ||
                        CWnd::FromHandlePermanent(::GetDlgItem(h, IDC_PLUGIN_LABEL)) != nullptr;
                    pluginSeesHostWindow = owns(host.m_hWnd) != 0;
                    pluginSeesOwnWindow = owns(h) != 0 && owns(::GetDlgItem(h, IDC_PLUGIN_LABEL)) != 0;
                    ticksBefore = host.ticks;
                    After(100, [&] {
                        ticksDuring = host.ticks - ticksBefore;
                        end(5); // the host calls into the plug-in while the plug-in's loop runs
                        After(0, [&] { host.EndDialog(IDOK); });
                    });
                },
                host.m_hWnd);
        });
    });
    EXPECT_EQ(IDOK, host.DoModal());
    EXPECT_EQ(5, host.pluginResult);
    EXPECT_EQ("插件对话框", caption) << "the plug-in's template, not the host's of the same id";
    EXPECT_EQ("plug-in template", label);
    EXPECT_EQ(window(), nullptr) << "the plug-in dialog is gone";
    EXPECT_EQ(host.m_hWnd, nullptr);
    EXPECT_FALSE(hostSeesPluginWindow) << "the host's map holds a plug-in window";
    EXPECT_FALSE(pluginSeesHostWindow) << "the plug-in's map holds a host window";
    EXPECT_TRUE(pluginSeesOwnWindow);
    EXPECT_EQ(host.activeAtGo, owner) << "a parentless plug-in dialog is owned by the thread's active window";
    EXPECT_GE(ticksDuring, 2) << "the host's timer stopped during the plug-in's modal loop";
    EXPECT_EQ(hostResources, AfxGetResourceHandle()) << "the host's resource module changed";
    EXPECT_EQ((HINSTANCE)plugin.h, resources()) << "the plug-in did not restore its resource module";
    EXPECT_EQ(0, end(1)) << "ending a closed plug-in dialog does nothing";
}
