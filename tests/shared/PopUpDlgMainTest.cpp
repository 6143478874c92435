// LENSKIT's wait box: dots, timeout, end codes, Enter/Esc/close box, reopening.
#include "DialogTemplateReader.h"
#include "PopUpDriver.h"
#include "WidgetTestUtil.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

const char kSearching[] = "搜索网络"; // GBK bytes: the program's own text

TEST(PopUpMain, DotsGrowToThreeThenStartAgain) {
    DrivenPopUp box;
    box.SetText(kSearching);
    box.SetTimeout(30);
    std::vector<std::string> texts;
    std::string caption;
    box.script = [&](DrivenPopUp& b) {
        caption = b.Caption();
        texts.push_back(b.Text());
        for (int i = 0; i < 9; ++i) {
            b.Tick();
            texts.push_back(b.Text());
        }
        b.EndPopUp(3);
    };
    ASSERT_EQ(box.DoModal(), 3);
    const std::string t = kSearching;
    EXPECT_EQ(caption, t);
    EXPECT_EQ(texts, (std::vector<std::string>{t, t + ".", t + "..", t + "...", t, t + ".", t + "..",
                                               t + "...", t, t + "."}));
}

TEST(PopUpMain, TimeoutEndsWith19OnTickLimitPlusTwo) {
    // A reply given after the last tick tells whether the box was still open: if it was, the reply's
    // code comes back, else the timeout's 19 does.
    struct Case {
        int seconds;
        int ticks;
        int expected;
    };
    const Case cases[] = {
        {0, 1, 77}, {0, 2, 19}, {30, 61, 77}, {30, 62, 19}, {1, 3, 77}, {1, 4, 19},
    };
    for (const Case& c : cases) {
        DrivenPopUp box;
        box.SetText("wait");
        box.SetTimeout(c.seconds);
        box.script = [&](DrivenPopUp& b) {
            for (int i = 0; i < c.ticks; ++i)
                b.Tick();
            b.EndPopUp(77);
        };
        EXPECT_EQ(box.DoModal(), c.expected) << "timeout " << c.seconds << " s, " << c.ticks << " ticks";
    }
}

TEST(PopUpMain, RealTimerEndsAZeroTimeoutBoxAfterTwoTicks) {
    DrivenPopUp box;
    box.stopOwnTimer = false;
    box.SetText("wait");
    box.SetTimeout(0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(box.DoModal(), 19);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
            .count();
    EXPECT_GE(ms, 900) << "two ticks of 500 ms";
    EXPECT_LT(ms, 5000);
}

TEST(PopUpMain, EndCodesAndLateReplies) {
    DrivenPopUp box;
    box.SetText("wait");
    box.SetTimeout(30);
    box.EndPopUp(5); // not open yet: nothing happens
    box.script = [](DrivenPopUp& b) {
        b.EndPopUp(12);
        b.EndPopUp(13); // the first end wins
    };
    EXPECT_EQ(box.DoModal(), 12);
    box.EndPopUp(14); // closed: nothing happens
    EXPECT_EQ(box.m_hWnd, nullptr);
    box.script = [](DrivenPopUp& b) { b.EndPopUp(0); };
    EXPECT_EQ(box.DoModal(), 0);
    // Ended by OK; the timeout that falls due before the loop returns does not replace the code.
    box.SetTimeout(0);
    box.script = [](DrivenPopUp& b) {
        b.SendMessage(WM_COMMAND, IDOK);
        b.Tick();
        b.Tick();
    };
    EXPECT_EQ(box.DoModal(), IDOK);
}

TEST(PopUpMain, PercentSignShownAsItStands) {
    DrivenPopUp box;
    box.SetText("100%d%s");
    box.SetTimeout(30);
    std::vector<std::string> texts;
    box.script = [&](DrivenPopUp& b) {
        texts.push_back(b.Caption());
        texts.push_back(b.Text());
        b.Tick();
        texts.push_back(b.Text());
        b.EndPopUp(1);
    };
    EXPECT_EQ(box.DoModal(), 1);
    EXPECT_EQ(texts, (std::vector<std::string>{"100%d%s", "100%d%s", "100%d%s."}));
}

TEST(PopUpMain, EnterEndsWith1EscAndCloseBoxWith2) {
    struct Case {
        const char* name;
        void (*act)(HWND);
        int expected;
    };
    const Case cases[] = {
        {"Enter", [](HWND h) { PostKey(h, VK_RETURN); }, IDOK},
        {"Esc", [](HWND h) { PostKey(h, VK_ESCAPE); }, IDCANCEL},
        {"close box", [](HWND h) { PostCloseBox(h); }, IDCANCEL},
    };
    for (const Case& c : cases) {
        DrivenPopUp box;
        box.SetText("wait");
        box.SetTimeout(30);
        box.script = [&](DrivenPopUp& b) {
            c.act(b.m_hWnd);
            // Should the key be ignored, a reply ends the box with 55 after it (two rounds later, since
            // the dialog manager posts the close box's cancel command).
            b.PostStep([](DrivenPopUp& d) { d.PostStep([](DrivenPopUp& e) { e.EndPopUp(55); }); });
        };
        EXPECT_EQ(box.DoModal(), c.expected) << c.name;
    }
}

TEST(PopUpMain, ReopeningStartsAfresh) {
    DrivenPopUp box;
    box.SetText(kSearching);
    box.SetTimeout(0);
    box.script = [](DrivenPopUp& b) {
        b.Tick(); // one dot, one tick counted
        b.EndPopUp(16);
    };
    ASSERT_EQ(box.DoModal(), 16);
    std::string textAtOpen;
    box.script = [&](DrivenPopUp& b) {
        textAtOpen = b.Text();
        b.Tick(); // the first tick again: with limit 0 the box is still open after it
        b.EndPopUp(17);
    };
    EXPECT_EQ(box.DoModal(), 17);
    EXPECT_EQ(textAtOpen, kSearching);
}

TEST(PopUpMain, TemplateOfTheBox) {
    const DialogTemplate t = ReadDialogTemplate(138);
    ASSERT_TRUE(t.ok) << "template 138 missing or unreadable";
    const DWORD frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(t.style & frame, frame) << "popup with caption, system menu and modal frame";
    EXPECT_EQ(t.cx, 304);
    EXPECT_EQ(t.cy, 85);
    EXPECT_EQ(t.caption, L"Dialog");
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.face, L"MS Shell Dlg");
    std::vector<std::string> controls;
    for (const TemplateItem& c : t.items)
        controls.push_back(DescribeControl(c));
    EXPECT_EQ(controls, (std::vector<std::string>{
                            "1 button 182,64 50x14 \"确定\" hidden",
                            "2 button 247,64 50x14 \"取消\" hidden",
                            "1058 static 41,25 200x12 \"Static\"",
                        }));
}

} // namespace
