// The pan-tilt plug-in, the pan-tilt keys and the pan-tilt test sequence of the main window.
#include "LENSBENCHDlg.h"

#include "CfgPacket.h"
#include "PanTiltKeys.h"
#include "Swivelpane.h"

#include <cstdio>
#include <ctime>
#include <functional>
#include <string>

SwivelCmdProcFn g_pfnSwivelCmdProc = nullptr;

namespace {

const char kSpeedMessage[] = "The Speep is 4~255";
const unsigned kWaitMs = 100;

// An export of the plug-in by name; the cast goes through void (*)(), which matches any function type.
template <typename Fn> Fn Export(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

// The main window's own operations behind the test sequence.
class WindowSequenceHooks : public PanTiltSequenceHooks {
public:
    WindowSequenceHooks(std::function<void()> empty, std::function<void(int, int)> move,
                        std::function<void(int)> command)
        : m_empty(std::move(empty)), m_move(std::move(move)), m_command(std::move(command)) {}
    void EmptyOperation() override { m_empty(); }
    void Move(int command, int speed) override { m_move(command, speed); }
    void Command(int code) override { m_command(code); }
    void Wait(unsigned ms) override { ::Sleep(ms); }
    unsigned long NowSeconds() override { return static_cast<unsigned long>(time(nullptr)); }

private:
    std::function<void()> m_empty;
    std::function<void(int, int)> m_move;
    std::function<void(int)> m_command;
};

} // namespace

void CLENSBENCHDlg::ShowSwivelpaneDialog(int channel, CfgPacket* packet) {
    if (!packet) return;
    char path[MAX_PATH];
    // Only from the program's folder: a bare name would be searched for along the DLL path.
    HMODULE plugin = ProgramFilePath(SWIVELPANE_DLL_NAME, path) ? ::LoadLibraryA(path) : nullptr;
    if (!plugin) return;

    auto init = Export<PFN_InitRCDlg>(plugin, "InitRCDlg");
    auto setParam = Export<PFN_SetParam>(plugin, "SetParam");
    auto getParam = Export<PFN_GetParam>(plugin, "GetParam");
    auto doModal = Export<PFN_SwivelpaneDoModal>(plugin, "SwivelpaneDoModal");
    auto cmdProc = Export<PFN_CmdProc>(plugin, "CmdProc");
    auto exitDlg = Export<PFN_ExitRCDlg>(plugin, "ExitRCDlg");
    (void)getParam; // looked up like the others, never called
    (void)exitDlg;

    // A plug-in without one of the three calls we make is not opened. One without CmdProc is: it
    // takes no replies, so while its dialog runs they go to our own dispatcher as at any other time.
    if (init && setParam && doModal) {
        g_pfnSwivelCmdProc = cmdProc;
        // The camera chose the text offset: the text handed over lies inside the receive buffer.
        const std::string text = SwivelParamText(packet, CFG_MAIN_BUFFER_SIZE);
        try {
            init(channel, 0);
            setParam(CfgModuleSigned(packet->header), text.c_str());
            doModal(); // the received-packet handler feeds cmdProc until this returns
        } catch (...) {
            // The plug-in is outside our control; its dialog is over either way.
        }
        g_pfnSwivelCmdProc = nullptr;
    }
    ::FreeLibrary(plugin);
}

LRESULT CLENSBENCHDlg::OnMyButtonState(WPARAM wParam, LPARAM lParam) {
    const int code = PanTiltCode(static_cast<int>(wParam), lParam != 0);
    if (code != PANTILT_NO_CODE) PanTiltCommand(code);
    return 1;
}

// No transport for pan-tilt commands exists yet: the codes stop here.
void CLENSBENCHDlg::PanTiltCommand(int) {}

void CLENSBENCHDlg::PanTiltMove(int, int speed) {
    if (speed > 255) AfxMessageBox(kSpeedMessage, MB_OK);
}

void CLENSBENCHDlg::OnPanTiltWait() {
    // The buttons' pause is kept as operators know it: no camera's answer waits for this thread now.
    ::Sleep(kWaitMs);
}

// Blocks the UI thread for 14.7 to 30.2 s, as the test station expects.
void CLENSBENCHDlg::OnPanTiltTest() {
    WindowSequenceHooks hooks([this] { OnPanTiltEmpty(); }, [this](int c, int s) { PanTiltMove(c, s); },
                              [this](int c) { PanTiltCommand(c); });
    RunPanTiltTestSequence(hooks);
}

void CLENSBENCHDlg::OnPanTiltEmpty() {}
