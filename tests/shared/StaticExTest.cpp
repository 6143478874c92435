// The level bar: which bar cell a level shows, and where the picture lands.
#include "StaticEx.h"
#include "WidgetTestRes.h"
#include "WidgetTestUtil.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

TEST(StaticExLevel, CellForLevel) {
    struct Case {
        int level;
        int cell;
    };
    const Case cases[] = {
        {0, 0},  {20, 0},  {21, 1},   {40, 1},   {41, 2},   {60, 2},      {61, 3},      {80, 3},
        {81, 4}, {100, 4}, {101, 0},  {121, 0},  {122, 1},  {150, 2},     {201, 4},     {202, 0},
        {-1, 0}, {-20, 0}, {-100, 0}, {-101, 0}, {-150, 0}, {INT_MIN, 0}, {INT_MAX, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CStaticEx::CellForLevel(c.level), c.cell) << "level " << c.level;
}

// Counts the erase and paint messages that reach the bar, then lets the bar handle them.
class CountingBar : public CStaticEx {
public:
    int erases = 0;
    int paints = 0;

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC) {
        ++erases;
        return CStaticEx::OnEraseBkgnd(pDC);
    }
    afx_msg void OnPaint() {
        ++paints;
        CStaticEx::OnPaint();
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CountingBar, CStaticEx)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
END_MESSAGE_MAP()
// clang-format on

class StaticExDraw : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Create(IDD_WIDGET_HOST));
        ASSERT_TRUE(bar.SubclassDlgItem(IDC_HOST_LEVEL, &host));
        bar.SetDefaults();
        ASSERT_TRUE(canvas.Ok());
    }
    void TearDown() override {
        if (host.m_hWnd) host.DestroyWindow();
        PumpMessages();
    }
    // Number of green bars in the picture drawn at (0, 2), checked on the bars' bottom row.
    int GreenBars() const {
        int n = 0;
        for (int j = 0; j < 5; ++j)
            n += canvas.At(1 + 5 * j + 1, 2 + 19) == RGB(0, 255, 0);
        return n;
    }

    int CountSentinel(int x0, int y0, int x1, int y1) const {
        return CountColor(canvas, kSentinel, x0, y0, x1, y1);
    }

    static constexpr COLORREF kSentinel = RGB(1, 2, 3);
    CDialog host{IDD_WIDGET_HOST};
    CountingBar bar;
    DibCanvas canvas{60, 40};
};

TEST_F(StaticExDraw, PictureOfTheLevelTwoPixelsBelowTheTop) {
    struct Case {
        int level;
        int greenBars;
    };
    for (const Case c :
         {Case{0, 1}, Case{20, 1}, Case{21, 2}, Case{100, 5}, Case{101, 1}, Case{150, 3}, Case{-7, 1}}) {
        canvas.Fill(kSentinel);
        bar.SetLevel(c.level, 25, 20);
        CDC dc;
        dc.Attach(canvas.Dc());
        bar.DrawLevel(&dc);
        dc.Detach();
        SCOPED_TRACE("level " + std::to_string(c.level));
        EXPECT_EQ(GreenBars(), c.greenBars);
        // The picture is copied as it stands: black background, silver bars that are not lit.
        EXPECT_EQ(Rgb{canvas.At(0, 2)}, Rgb{RGB(0, 0, 0)});
        EXPECT_EQ(Rgb{canvas.At(22, 2)}, Rgb{c.greenBars == 5 ? RGB(0, 255, 0) : RGB(192, 192, 192)});
        // Rows 0 and 1 and everything right of and below the 25 x 20 picture keep what was there.
        EXPECT_EQ(CountSentinel(0, 0, 60, 2), 60 * 2);
        EXPECT_EQ(CountSentinel(25, 2, 60, 40), 35 * 38);
        EXPECT_EQ(CountSentinel(0, 22, 25, 40), 25 * 18);
    }
}

TEST_F(StaticExDraw, EraseDrawsThePictureAndSetLevelAsksForEraseAndPaint) {
    bar.SetLevel(100, 25, 20);
    canvas.Fill(kSentinel);
    EXPECT_EQ(bar.SendMessage(WM_ERASEBKGND, (WPARAM)canvas.Dc()), TRUE);
    EXPECT_EQ(GreenBars(), 5) << "the erase handler draws the picture";
    EXPECT_EQ(CountSentinel(0, 0, 60, 2) + CountSentinel(25, 2, 60, 40) + CountSentinel(0, 22, 25, 40),
              60 * 2 + 35 * 38 + 25 * 18)
        << "nothing but the picture is erased";

    host.ShowWindow(SW_SHOWNA);
    ::UpdateWindow(host.m_hWnd);
    PumpMessages();
    ASSERT_FALSE(::GetUpdateRect(bar.m_hWnd, nullptr, FALSE)) << "the bar is drawn before the level changes";
    bar.erases = bar.paints = 0;
    bar.SetLevel(30, 25, 20);
    RECT update{}, client{};
    ASSERT_TRUE(::GetUpdateRect(bar.m_hWnd, &update, FALSE)) << "SetLevel leaves the bar to be redrawn";
    bar.GetClientRect(&client);
    EXPECT_TRUE(::EqualRect(&update, &client)) << "the whole client area is invalidated";
    ::UpdateWindow(bar.m_hWnd);
    EXPECT_EQ(bar.erases, 1) << "invalidated with erasing";
    EXPECT_EQ(bar.paints, 1);
    EXPECT_EQ(bar.GetLevel(), 30);
}

TEST_F(StaticExDraw, SetLevelBeforeTheControlExistsLeavesOtherWindowsAlone) {
    host.ShowWindow(SW_SHOWNA);
    ::UpdateWindow(host.m_hWnd);
    PumpMessages();
    ASSERT_FALSE(::GetUpdateRect(host.m_hWnd, nullptr, FALSE));
    CStaticEx unbound;
    unbound.SetDefaults();
    unbound.SetLevel(50, 25, 20); // the level is kept for when the control is attached
    EXPECT_EQ(unbound.GetLevel(), 50);
    EXPECT_FALSE(::GetUpdateRect(host.m_hWnd, nullptr, FALSE)) << "an unbound bar invalidated another window";
}

} // namespace
