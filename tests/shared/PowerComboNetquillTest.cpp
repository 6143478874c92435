// Netquill's icon combo box: the item's text is the caller's string behind the data value.
#include "ComboDrawUtil.h"
#include "WidgetRes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class PowerComboNetquill : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(canvas.Ok());
        canvas.Fill(kSentinel);
        combo.SetBitmap(IDB_STRIP_NETQUILL, 25, 20);
        combo.ResetItems();
        combo.SetItemIcon(0, 2, 180, 5);
        combo.SetItemIcon(0, 3, 210, 0);
    }
    static constexpr COLORREF kSentinel = RGB(1, 2, 3);
    DibCanvas canvas{260, 50};
    CPowerComboBox combo;
};

TEST_F(PowerComboNetquill, IconsOfTheSelectionFieldAndTheRows) {
    // The selection field is 22 high, the rows 30: icons 1 and 5 pixels below the item's top.
    for (int height : {22, 30}) {
        canvas.Fill(kSentinel);
        DrawComboItem(combo, canvas, 0, 0, 0, RECT{0, 4, 250, 4 + height});
        const int y0 = 4 + (height - 20) / 2;
        SCOPED_TRACE("item height " + std::to_string(height));
        EXPECT_EQ(Rgb{canvas.At(210 + 1, y0 + 19)}, Rgb{RGB(102, 255, 102)}) << "cell 0: one green bar";
        EXPECT_EQ(Rgb{canvas.At(210 + 6, y0 + 19)}, Rgb{RGB(230, 230, 230)}) << "cell 0: second bar silver";
        EXPECT_EQ(Rgb{canvas.At(210 + 6, y0 + 11)}, Rgb{kItemFill}) << "above the 8-pixel second bar";
        EXPECT_EQ(Rgb{canvas.At(180 + 18, y0 + 18)}, Rgb{RGB(230, 230, 230)}) << "lock body";
        EXPECT_EQ(Rgb{canvas.At(180 + 18, y0 + 19)}, Rgb{kItemFill}) << "below the lock body";
        EXPECT_EQ(Rgb{canvas.At(210 + 1, y0 + 20)}, Rgb{kItemFill});
    }
}

TEST_F(PowerComboNetquill, TextComesFromTheDataValue) {
    const COLORREF textColour = RGB(250, 250, 0);
    ::SetTextColor(canvas.Dc(), textColour);
    const std::string ssid = "Camera-AP";
    DrawComboItem(combo, canvas, 0, (ULONG_PTR)ssid.c_str(), 0, RECT{0, 0, 250, 30});
    EXPECT_GT(CountColor(canvas, textColour, 0, 0, 120, 30), 10) << "the data value's string is drawn";
    EXPECT_EQ(Rgb{::GetTextColor(canvas.Dc())}, Rgb{textColour});
    EXPECT_EQ(Rgb{::GetBkColor(canvas.Dc())}, Rgb{kItemFill});

    // No string behind the data value (the empty selection field): fill and icons only.
    canvas.Fill(kSentinel);
    DrawComboItem(combo, canvas, -1, 0, 0, RECT{0, 0, 250, 30});
    EXPECT_EQ(CountColor(canvas, kItemFill, 0, 0, 250, 30), 250 * 30);

    canvas.Fill(kSentinel);
    DrawComboItem(combo, canvas, 0, (ULONG_PTR)-1, 0, RECT{0, 0, 250, 30});
    EXPECT_EQ(CountColor(canvas, kSentinel, 0, 0, 260, 50), 260 * 50) << "data value -1 draws nothing";
}

} // namespace
