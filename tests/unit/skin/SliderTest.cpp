#include "AudioSlider.h"
#include "CoolSliderCtrl.h"

#include "Pixels.h"
#include "Pump.h"
#include "SkinHost.h"
#include "SkinTestColors.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

class SliderTest : public ::testing::Test {
protected:
    void SetUp() override {
        MouseTo(POINT{1200, 1000}); // away from every window
        host = std::make_unique<SkinHost>();
        UseTestColors(*host);
    }
    void TearDown() override {
        // Buttons up again, also when a check failed half-way.
        if (::GetKeyState(VK_LBUTTON) & 0x8000) MouseButton(MOUSEEVENTF_LEFTUP);
        PumpPending();
    }
    // Created as a child of the host; the host then hands its scheme down and shows.
    void Place(CSliderCtrl& slider, DWORD style, const CRect& r, int minimum, int maximum,
               int pos) {
        ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE | style, r, *host, 100));
        slider.SetRange(minimum, maximum);
        slider.SetPos(pos);
    }
    void Show() {
        host->Propagate();
        host->Show();
    }
    static PixelImage Repaint(CWnd& wnd) {
        wnd.Invalidate(false);
        wnd.UpdateWindow();
        return CaptureClient(wnd);
    }
    // The channel as a vertical slider has it, whichever way the system reports it.
    static CRect VerticalChannel(const CSliderCtrl& slider) {
        CRect c = slider.GetChannelRect();
        if (c.Width() > c.Height()) c = CRect(c.top, c.left, c.bottom, c.right);
        return c;
    }
    static void Click(HWND window, int x, int y) {
        MouseTo(ScreenPoint(window, x, y));
        PumpPending();
        MouseButton(MOUSEEVENTF_LEFTDOWN);
        MouseButton(MOUSEEVENTF_LEFTUP);
    }
    static bool ButtonUp() { return (::GetKeyState(VK_LBUTTON) & 0x8000) == 0; }

    std::unique_ptr<SkinHost> host;
};

TEST_F(SliderTest, DoubleClickJumpsToTheResetValueWithOneScrollMessage) {
    CCoolSliderCtrl slider;
    Place(slider, TBS_HORZ, CRect(10, 10, 290, 50), 0, 100, 80);
    slider.SetResetValue(10);
    Show();
    const CRect channel = slider.GetChannelRect();
    const int x = channel.left + channel.Width() / 4, y = channel.CenterPoint().y;

    // The first press is the system's own (a page towards the click).
    Click(slider, x, y);
    ASSERT_TRUE(PumpUntil([&] {
        return ButtonUp() && !host->scrolls.empty() &&
               LOWORD(host->scrolls.back().wParam) == TB_ENDTRACK;
    }));
    const int paged = slider.GetPos();
    EXPECT_LT(paged, 80);
    host->scrolls.clear();

    Click(slider, x, y);
    ASSERT_TRUE(PumpUntil([&] { return ButtonUp() && slider.GetPos() != paged; }));
    EXPECT_EQ(slider.GetPos(), 10);
    ASSERT_EQ(host->scrolls.size(), 1u);
    EXPECT_EQ(host->scrolls[0].message, static_cast<UINT>(WM_HSCROLL));
    EXPECT_EQ(host->scrolls[0].wParam, 10u);
    EXPECT_EQ(host->scrolls[0].from, slider.m_hWnd);
}

// The slider holds the mouse capture while the pointer rests on it; giving it up when the
// pointer leaves is no end of a drag, and the parent hears nothing (a page would write its
// value to the card).
TEST_F(SliderTest, PointerPassingOverTheSliderSendsNoScrollMessage) {
    CCoolSliderCtrl slider;
    Place(slider, TBS_VERT, CRect(20, 20, 70, 320), 0, 100, 30);
    Show();
    MouseTo(ScreenPoint(slider, 25, 150));
    ASSERT_TRUE(PumpUntil([&] { return ::GetCapture() == slider.m_hWnd; }));
    MouseTo(ScreenPoint(slider, 200, 150));
    ASSERT_TRUE(PumpUntil([&] { return ::GetCapture() == nullptr; }));
    PumpPending();
    EXPECT_TRUE(host->scrolls.empty());
    EXPECT_EQ(slider.GetPos(), 30);

    // Clicked, then left at once: the slider lets the mouse go all the same.
    MouseTo(ScreenPoint(slider, 25, 150));
    ASSERT_TRUE(PumpUntil([&] { return ::GetCapture() == slider.m_hWnd; }));
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return ButtonUp() && ::GetFocus() == slider.m_hWnd; }));
    PumpPending();
    MouseTo(ScreenPoint(slider, 200, 150));
    EXPECT_TRUE(PumpUntil([&] { return ::GetCapture() == nullptr; }));
}

TEST_F(SliderTest, ClickInTheChannelOfAnAudioSliderMovesTheThumbThere) {
    CAudioSlider slider;
    Place(slider, TBS_VERT | TBS_ENABLESELRANGE, CRect(20, 20, 70, 320), 0, 100, 0);
    Show();
    const CRect channel = VerticalChannel(slider);
    Click(slider, channel.CenterPoint().x, channel.top + channel.Height() * 6 / 10);
    ASSERT_TRUE(PumpUntil([&] { return ButtonUp() && slider.GetPos() != 0; }));
    // The thumb lands under the click, not one page further.
    EXPECT_GE(slider.GetPos(), 52);
    EXPECT_LE(slider.GetPos(), 68);
}

TEST_F(SliderTest, StereoMeterShowsTwoBarsFromTheirLevelsToTheBottomAndThePeakMark) {
    CAudioSlider slider;
    Place(slider, TBS_VERT | TBS_ENABLESELRANGE | TBS_NOTICKS, CRect(20, 20, 70, 320), 0, 100, 0);
    slider.SetRange(0, 100);
    slider.SetOption(CAudioSlider::Stereo | CAudioSlider::ShowPeak, true);
    slider.SetLevels(30, 70);
    slider.SetPeak(15);
    Show();
    const PixelImage image = Repaint(slider);
    CRect bar = VerticalChannel(slider);
    bar.DeflateRect(2, 2);
    ASSERT_GE(bar.Width(), 5);
    const int middle = (bar.left + bar.right) / 2;
    const int left = bar.left, right = bar.right - 1, gap = middle - 1;
    auto at = [&](int x, double fraction) {
        return image.At(x, bar.top + static_cast<int>(bar.Height() * fraction));
    };
    // Left bar from 30 % down, right bar from 70 % down, both to the bottom end.
    EXPECT_FALSE(IsBar(at(left, 0.25)));
    EXPECT_TRUE(IsBar(at(left, 0.35)));
    EXPECT_TRUE(IsBar(at(left, 0.65)));
    EXPECT_TRUE(IsBar(at(left, 0.99)));
    EXPECT_FALSE(IsBar(at(right, 0.65)));
    EXPECT_TRUE(IsBar(at(right, 0.75)));
    EXPECT_TRUE(IsBar(at(right, 0.99)));
    // The two bars are apart.
    EXPECT_FALSE(IsBar(at(gap, 0.9)));
    // The peak mark: a SelLow line across the channel at 15 %.
    const CRect channel = VerticalChannel(slider);
    const int peakY = channel.top + 15 * channel.Height() / 100 - 1;
    EXPECT_EQ(image.At(channel.CenterPoint().x, peakY), kSelLow);
    EXPECT_EQ(image.At(channel.CenterPoint().x, peakY + 1), kSelLow);
    EXPECT_NE(image.At(channel.CenterPoint().x, peakY + 3), kSelLow);

    // A right click hides the meter.
    MouseTo(ScreenPoint(slider, channel.CenterPoint().x, channel.top + channel.Height() / 2));
    PumpPending();
    MouseButton(MOUSEEVENTF_RIGHTDOWN);
    MouseButton(MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(PumpUntil([&] { return !(slider.CWnd::GetStyle() & TBS_ENABLESELRANGE); }));
    EXPECT_FALSE(IsBar(Repaint(slider).At(left, bar.top + bar.Height() * 9 / 10)));
}

// Counts how often the level gradient is built.
class CountingSlider : public CCoolSliderCtrl {
public:
    int builds = 0;

protected:
    void BuildLevelImage(HDC reference, const CRect& bar) override {
        ++builds;
        CCoolSliderCtrl::BuildLevelImage(reference, bar);
    }
};

TEST_F(SliderTest, LevelImageIsBuiltOnceAndSurvivesPositionAndLevelChanges) {
    CountingSlider slider;
    Place(slider, TBS_VERT | TBS_ENABLESELRANGE | TBS_NOTICKS, CRect(20, 20, 70, 320), 0, 100, 0);
    slider.SetSelection(40, 100);
    Show();
    Repaint(slider);
    EXPECT_EQ(slider.builds, 1);
    CRect bar = VerticalChannel(slider);
    bar.DeflateRect(2, 2);
    const int x = bar.left + 1, y = bar.top + bar.Height() * 9 / 10;

    // The thumb moves: ticks, channel and the bar on it are redrawn from the cached images.
    slider.SetPos(20);
    PixelImage image = Repaint(slider);
    EXPECT_TRUE(IsBar(image.At(x, y)));
    slider.SetSelection(95, 100);
    image = Repaint(slider);
    EXPECT_FALSE(IsBar(image.At(x, y)));
    EXPECT_EQ(slider.builds, 1);

    // New colours build it again.
    ::SendMessageA(slider, WM_COOL_SETCOLOR, CoolColors::SelHigh, RGB(0, 0xFF, 0xFF));
    Repaint(slider);
    EXPECT_EQ(slider.builds, 2);
}

// A slider whose system control reports no tick marks.
class NoTickSlider : public CCoolSliderCtrl {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == TBM_GETNUMTICS) return 0;
        return CCoolSliderCtrl::WindowProc(message, wParam, lParam);
    }
};

// The tick lines below a horizontal slider's thumb, as x positions of lit and dim lines.
struct TickLines {
    std::vector<int> lit, dim;
};
TickLines ReadTicks(const CSliderCtrl& slider, const PixelImage& image) {
    const COLORREF dimColor = CoolColors::Shade(kText, 0.5f);
    const CRect thumb = slider.GetThumbRect();
    TickLines lines;
    for (int x = 0; x < image.width; ++x) {
        bool lit = false, dim = false;
        for (int y = thumb.bottom + 1; y < std::min<int>(image.height, thumb.bottom + 6); ++y) {
            lit |= image.At(x, y) == kText;
            dim |= image.At(x, y) == dimColor;
        }
        if (lit) lines.lit.push_back(x);
        if (dim) lines.dim.push_back(x);
    }
    return lines;
}

TEST_F(SliderTest, TickMarksAreLitFromTheMinimumToTheThumbAndSitAtTheirValues) {
    CCoolSliderCtrl unit, coarse;
    NoTickSlider none;
    Place(unit, TBS_HORZ | TBS_AUTOTICKS, CRect(10, 10, 290, 50), 0, 10, 5);
    unit.SetTicFreq(1);
    Place(coarse, TBS_HORZ | TBS_AUTOTICKS, CRect(10, 60, 290, 100), 0, 20, 0);
    coarse.SetTicFreq(5);
    Place(none, TBS_HORZ | TBS_AUTOTICKS, CRect(10, 110, 290, 150), 0, 10, 5);
    none.SetTicFreq(1);
    Show();

    // One tick per unit: 0 to 4 lit, 5 to 10 dim.
    TickLines lines = ReadTicks(unit, Repaint(unit));
    const int centre = unit.GetThumbRect().CenterPoint().x;
    ASSERT_EQ(lines.lit.size(), 5u);
    ASSERT_EQ(lines.dim.size(), 6u);
    EXPECT_LT(lines.lit.back(), centre);
    EXPECT_GT(lines.dim.front(), centre);

    // One tick every 5 units: five evenly spaced lines within the channel.
    lines = ReadTicks(coarse, Repaint(coarse));
    ASSERT_EQ(lines.lit.size() + lines.dim.size(), 5u);
    std::vector<int> all = lines.lit;
    all.insert(all.end(), lines.dim.begin(), lines.dim.end());
    const CRect channel = coarse.GetChannelRect();
    EXPECT_GE(all.front(), channel.left);
    EXPECT_LE(all.back(), channel.right);
    for (size_t i = 2; i < all.size(); ++i)
        EXPECT_NEAR(all[i] - all[i - 1], all[1] - all[0], 1);

    // No ticks reported: no lines at all.
    lines = ReadTicks(none, Repaint(none));
    EXPECT_TRUE(lines.lit.empty());
    EXPECT_TRUE(lines.dim.empty());
}

} // namespace
