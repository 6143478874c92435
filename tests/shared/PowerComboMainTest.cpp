// LENSKIT's icon combo box: item drawing checked pixel by pixel on a memory canvas.
#include "ComboDrawUtil.h"
#include "WidgetRes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const COLORREF kGreenOnFill = RGB(102, 255, 102);  // green bar OR the grey fill
const COLORREF kSilverOnFill = RGB(230, 230, 230); // silver OR the grey fill

class PowerComboMain : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(canvas.Ok());
        canvas.Fill(kSentinel);
        combo.SetBitmap(IDB_STRIP_MAIN, 25, 20);
        combo.ResetItems();
        // As the main window fills a row: nothing at 100, lock at 150, signal at 180.
        combo.SetItemIcon(0, 1, 100, -1);
        combo.SetItemIcon(0, 2, 150, 5);
        combo.SetItemIcon(0, 3, 180, 4);
    }
    static constexpr COLORREF kSentinel = RGB(1, 2, 3);
    DibCanvas canvas{260, 50};
    CPowerComboBox combo;
};

TEST_F(PowerComboMain, IconsSitAtTheirOffsetsCentredVertically) {
    struct Case {
        int height;
        int offset;
    };
    for (const Case c : {Case{20, 0}, Case{22, 1}, Case{30, 5}}) {
        canvas.Fill(kSentinel);
        const int top = 7;
        DrawComboItem(combo, canvas, 0, 0, 0, RECT{0, top, 250, top + c.height});
        const int y0 = top + c.offset;
        SCOPED_TRACE("item height " + std::to_string(c.height));
        // Signal cell 4 at x 180: the tallest bar's top row and the shortest bar's bottom row.
        EXPECT_EQ(Rgb{canvas.At(180 + 21, y0)}, Rgb{kGreenOnFill});
        EXPECT_EQ(Rgb{canvas.At(180 + 1, y0 + 19)}, Rgb{kGreenOnFill});
        EXPECT_EQ(Rgb{canvas.At(180 + 1, y0 + 15)}, Rgb{kItemFill}) << "above the 4-pixel bar";
        EXPECT_EQ(Rgb{canvas.At(180 + 5, y0 + 19)}, Rgb{kItemFill}) << "gap between bars";
        // Lock cell 5 at x 150: the body's corner.
        EXPECT_EQ(Rgb{canvas.At(150 + 7, y0 + 10)}, Rgb{kSilverOnFill});
        EXPECT_EQ(Rgb{canvas.At(150 + 6, y0 + 10)}, Rgb{kItemFill});
        if (c.offset > 0) {
            EXPECT_EQ(Rgb{canvas.At(180 + 21, y0 - 1)}, Rgb{kItemFill}) << "row above the icons";
        }
        // No text and no icon in cell 1: everything left of the lock is fill.
        EXPECT_EQ(CountColor(canvas, kItemFill, 0, top, 150, top + c.height), 150 * c.height);
        // Nothing outside the item rectangle.
        EXPECT_EQ(Rgb{canvas.At(10, top - 1)}, Rgb{kSentinel});
        EXPECT_EQ(Rgb{canvas.At(10, top + c.height)}, Rgb{kSentinel});
        EXPECT_EQ(Rgb{canvas.At(255, top)}, Rgb{kSentinel});
    }
}

TEST_F(PowerComboMain, SelectedAndPlainColoursAndRestoredContext) {
    combo.SetItemText(0, "WiFi-网络");
    const COLORREF textColour = RGB(250, 250, 0);
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF highlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    const RECT rc{0, 0, 250, 20};

    ::SetTextColor(canvas.Dc(), textColour);
    ::SetBkColor(canvas.Dc(), RGB(9, 9, 9));
    DrawComboItem(combo, canvas, 0, 0, ODS_SELECTED, rc);
    EXPECT_EQ(Rgb{::GetTextColor(canvas.Dc())}, Rgb{textColour}) << "text colour restored";
    EXPECT_EQ(Rgb{::GetBkColor(canvas.Dc())}, Rgb{kItemFill});
    EXPECT_EQ(Rgb{canvas.At(249, 0)}, Rgb{highlight});
    EXPECT_EQ(Rgb{canvas.At(180 + 1, 19)}, Rgb{OrColor(highlight, RGB(0, 255, 0))});
    EXPECT_GT(CountColor(canvas, highlightText, 0, 0, 100, 20), 10) << "text in the highlight text colour";
    EXPECT_EQ(CountColor(canvas, textColour, 0, 0, 100, 20), 0);

    canvas.Fill(kSentinel);
    DrawComboItem(combo, canvas, 0, 0, 0, rc);
    EXPECT_EQ(Rgb{canvas.At(249, 0)}, Rgb{kItemFill});
    EXPECT_GT(CountColor(canvas, textColour, 0, 0, 100, 20), 10) << "text in the context's own colour";
    EXPECT_EQ(CountColor(canvas, highlight, 0, 0, 250, 20), 0);
    // The text starts at the item's left edge.
    int leftmost = 250;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 100; ++x)
            if (canvas.At(x, y) == textColour && x < leftmost) leftmost = x;
    EXPECT_LT(leftmost, 3);
}

TEST_F(PowerComboMain, DataValueMinusOneDrawsNothing) {
    ::SetTextColor(canvas.Dc(), RGB(4, 5, 6));
    DrawComboItem(combo, canvas, 0, (ULONG_PTR)-1, ODS_SELECTED, RECT{0, 0, 250, 20});
    EXPECT_EQ(CountColor(canvas, kSentinel, 0, 0, 260, 50), 260 * 50);
    EXPECT_EQ(Rgb{::GetTextColor(canvas.Dc())}, Rgb{RGB(4, 5, 6)});
}

TEST_F(PowerComboMain, PositionsWithoutARecordGetFillOnly) {
    // The selection field of an empty list comes as item -1; positions past the table have no record.
    for (int pos : {-1, 128, 500}) {
        canvas.Fill(kSentinel);
        DrawComboItem(combo, canvas, pos, 0, 0, RECT{0, 0, 250, 20});
        EXPECT_EQ(CountColor(canvas, kItemFill, 0, 0, 250, 20), 250 * 20) << "position " << pos;
    }
}

TEST_F(PowerComboMain, RecordsAreBounded) {
    combo.SetItemIcon(128, 0, 5, 3);
    combo.SetItemIcon(-1, 0, 5, 3);
    combo.SetItemIcon(1, 4, 5, 3);
    combo.SetItemIcon(1, -1, 5, 3);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(combo.GetItemRecord(1).icon[k], -1) << "cell " << k;
    combo.SetItemText(2, std::string(40, 's').c_str());
    EXPECT_EQ(std::string(combo.GetItemRecord(2).text), std::string(31, 's'));
    std::string ssid;
    for (int i = 0; i < 16; ++i)
        ssid += "网";
    combo.SetItemText(3, ssid.c_str());
    EXPECT_EQ(std::string(combo.GetItemRecord(3).text), ssid.substr(0, 30)) << "no half character at the cut";
    combo.SetItemText(127, "last");
    EXPECT_STREQ(combo.GetItemRecord(127).text, "last");
    combo.ResetItems();
    EXPECT_EQ(combo.GetItemRecord(0).icon[2], -1);
    EXPECT_EQ(combo.GetItemRecord(0).x[2], 0);
    EXPECT_STREQ(combo.GetItemRecord(127).text, "");
}

} // namespace
