// The press-reporting button: what its parent sees for mouse clicks, double clicks and the keyboard.
#include "MyButton.h"
#include "WidgetTestRes.h"
#include "WidgetTestUtil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records, in order, the state messages and the click notifications of its buttons.
class ButtonHost : public CDialog {
public:
    ButtonHost() : CDialog(IDD_WIDGET_HOST) {}
    std::vector<std::string> events;

protected:
    afx_msg LRESULT OnButtonState(WPARAM wParam, LPARAM lParam) {
        events.push_back("state " + std::to_string(wParam) + " " + std::to_string(lParam));
        return 0;
    }
    afx_msg void OnClicked() { events.push_back("click"); }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(ButtonHost, CDialog)
    ON_MESSAGE(WM_MYBUTTON_STATE, OnButtonState)
    ON_BN_CLICKED(IDC_HOST_BUTTON, OnClicked)
END_MESSAGE_MAP()
// clang-format on

class MyButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        PumpMessages();
        ASSERT_TRUE(host.Create(IDD_WIDGET_HOST)) << "host dialog not created";
        ASSERT_TRUE(button.SubclassDlgItem(IDC_HOST_BUTTON, &host));
    }
    void TearDown() override {
        if (host.m_hWnd) host.DestroyWindow();
        PumpMessages();
    }
    // Sends a mouse message to the button, then lets posted messages through: as with real input,
    // the parent handles what the button posted before the next mouse message comes.
    void Mouse(UINT msg) {
        button.SendMessage(msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(5, 5));
        PumpMessages();
    }

    ButtonHost host;
    CMyButton button;
};

using Events = std::vector<std::string>;

TEST_F(MyButtonTest, SingleClickReportsPressThenReleaseAndStillClicks) {
    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(host.events, Events{}) << "the state must be posted, not sent";
    PumpMessages();
    Mouse(WM_LBUTTONUP);
    EXPECT_EQ(host.events, (Events{"state 201 1", "click", "state 201 0"}));
}

TEST_F(MyButtonTest, DoubleClickReportsOnePressTwoReleases) {
    Mouse(WM_LBUTTONDOWN);
    Mouse(WM_LBUTTONUP);
    Mouse(WM_LBUTTONDBLCLK);
    Mouse(WM_LBUTTONUP);
    EXPECT_EQ(host.events, (Events{"state 201 1", "click", "state 201 0", "click", "state 201 0"}));
}

TEST_F(MyButtonTest, KeyboardPostsNothing) {
    button.SetFocus();
    button.SendMessage(WM_KEYDOWN, VK_SPACE, 0x00390001);
    button.SendMessage(WM_KEYUP, VK_SPACE, 0xC0390001);
    PumpMessages();
    EXPECT_EQ(host.events, Events{"click"});
}

TEST(MyButtonNoParent, StateGoesToTheThreadQueue) {
    PumpMessages();
    HWND h = ::CreateWindowExA(0, "BUTTON", "lonely", WS_POPUP | BS_PUSHBUTTON, 0, 0, 60, 20, nullptr,
                               (HMENU) nullptr, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(h, nullptr);
    ::SetWindowLongPtrA(h, GWLP_ID, 77); // a popup's id field is free for us to set
    CMyButton button;
    ASSERT_TRUE(button.SubclassWindow(h));
    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    std::vector<std::string> got;
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_MYBUTTON_STATE, WM_MYBUTTON_STATE, PM_REMOVE))
        got.push_back((msg.hwnd ? "window " : "thread ") + std::to_string(msg.wParam) + " " +
                      std::to_string(msg.lParam));
    EXPECT_EQ(got, (std::vector<std::string>{"thread 77 1", "thread 77 0"}));
    button.DestroyWindow();
}

} // namespace
