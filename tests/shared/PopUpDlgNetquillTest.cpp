// Netquill's wait box: its own template, keys and close box ignored, timeout and replies as usual.
#include "DialogTemplateReader.h"
#include "PopUpDriver.h"
#include "WidgetTestUtil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

TEST(PopUpNetquill, RegistersNoClassRecordOfItsOwn) {
    CPopUpDlg box;
    EXPECT_EQ(box.GetRuntimeClass(), RUNTIME_CLASS(CDialog))
        << "answered as " << box.GetRuntimeClass()->m_lpszClassName;
}

TEST(PopUpNetquill, TemplateOfTheBox) {
    const DialogTemplate t = ReadDialogTemplate(1001);
    ASSERT_TRUE(t.ok) << "template 1001 missing or unreadable";
    const DWORD frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(t.style & frame, frame) << "popup with caption, system menu and modal frame";
    EXPECT_EQ(t.cx, 202);
    EXPECT_EQ(t.cy, 69);
    EXPECT_EQ(t.caption, L"") << "no caption in the template";
    EXPECT_EQ(t.pointSize, 9);
    EXPECT_EQ(t.face, L"Arial");
    std::vector<std::string> controls;
    for (const TemplateItem& c : t.items)
        controls.push_back(DescribeControl(c));
    EXPECT_EQ(controls, (std::vector<std::string>{
                            "2 button 69,48 50x14 \"取消\" hidden",
                            "1027 static 56,30 139x8 \"Static\"",
                        }));
}

} // namespace
