// Netquill's wait box: its own template, keys and close box ignored, timeout and replies as usual.
#include "PopUpDriver.h"
#include "WidgetTestUtil.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PopUpNetquill, EnterEscAndCloseBoxAreIgnored) {
    struct Case {
        const char* name;
        void (*act)(HWND);
    };
    const Case cases[] = {
        {"Enter", [](HWND h) { PostKey(h, VK_RETURN); }},
        {"Esc", [](HWND h) { PostKey(h, VK_ESCAPE); }},
        {"close box", [](HWND h) { PostCloseBox(h); }},
    };
    for (const Case& c : cases) {
        DrivenPopUp box;
        box.SetText("Connecting");
        box.SetTimeout(50);
        box.script = [&](DrivenPopUp& b) {
            c.act(b.m_hWnd);
            // The reply comes two rounds later: the dialog manager posts the close box's cancel command.
            b.PostStep([](DrivenPopUp& d) { d.PostStep([](DrivenPopUp& e) { e.EndPopUp(16); }); });
        };
        EXPECT_EQ(box.DoModal(), 16) << c.name << " must not end the box";
    }
}

TEST(PopUpNetquill, UsesItsOwnTemplateAndTextControl) {
    DrivenPopUp box;
    box.SetText("Searching WIFI SSID");
    box.SetTimeout(30);
    std::string text, caption;
    bool mainTextControl = true;
    box.script = [&](DrivenPopUp& b) {
        b.Tick();
        text = b.Text();
        caption = b.Caption();
        mainTextControl = ::GetDlgItem(b.m_hWnd, 1058) != nullptr;
        b.EndPopUp(17);
    };
    EXPECT_EQ(box.DoModal(), 17);
    EXPECT_EQ(text, "Searching WIFI SSID.");
    EXPECT_EQ(caption, "Searching WIFI SSID");
    EXPECT_FALSE(mainTextControl);
}

} // namespace
