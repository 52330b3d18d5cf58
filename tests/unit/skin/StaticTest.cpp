#include "CoolStatic.h"

#include "Bitmap.h"
#include "Pixels.h"
#include "Pump.h"
#include "SkinHost.h"
#include "SkinTestColors.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class StaticTest : public ::testing::Test {
protected:
    void SetUp() override {
        MouseTo(POINT{1200, 1000});
        host = std::make_unique<SkinHost>();
        UseTestColors(*host);
    }
    void Place(CCoolStatic& label, const char* text, DWORD style, const CRect& r,
               HWND parent = nullptr) {
        ASSERT_TRUE(label.Create(text, WS_CHILD | WS_VISIBLE | style, r, parent ? parent : *host));
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
    // The rows that hold at least one pixel of the colour.
    static int RowsWith(const PixelImage& image, COLORREF color) {
        int rows = 0;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                if (image.At(x, y) == color) {
                    ++rows;
                    break;
                }
        return rows;
    }
    static bool Same(const PixelImage& a, const PixelImage& b) { return a.pixels == b.pixels; }

    std::unique_ptr<SkinHost> host;
};

TEST_F(StaticTest, WideLabelWrapsAndTallLabelScrollsWhileHoveredThenSnapsBack) {
    CCoolStatic wide, tall;
    // Two lines of text fit the wide label; the tall one holds many more than fit.
    Place(wide, "Alpha beta gamma delta", SS_LEFT | SS_NOTIFY, CRect(10, 10, 130, 60));
    Place(tall, "One two three four five six seven eight nine ten eleven twelve",
          SS_LEFT | SS_NOTIFY, CRect(10, 80, 130, 110));
    Show();
    const COLORREF text = CoolColors::Shade(kLum, 3.0f); // LumBright
    const PixelImage wideBefore = Repaint(wide);
    TEXTMETRICA tm = {};
    {
        HDC dc = ::GetDC(wide);
        ::GetTextMetricsA(dc, &tm);
        ::ReleaseDC(wide, dc);
    }
    EXPECT_GT(RowsWith(wideBefore, text), tm.tmHeight);

    // A label that fits once wrapped stays still under the mouse.
    MouseTo(ScreenPoint(wide, 60, 45));
    EXPECT_FALSE(PumpUntil([&] { return !Same(Repaint(wide), wideBefore); }, 600));

    const PixelImage tallBefore = Repaint(tall);
    MouseTo(ScreenPoint(tall, 60, 28));
    ASSERT_TRUE(PumpUntil([&] { return !Same(Repaint(tall), tallBefore); }, 3000));
    MouseTo(POINT{1200, 1000});
    EXPECT_TRUE(PumpUntil([&] { return Same(Repaint(tall), tallBefore); }, 3000));

    // Above the middle the text moves down, out of sight, and comes round again from the top.
    auto showsText = [&] {
        const PixelImage image = Repaint(tall);
        for (int y = 2; y < image.height - 2; ++y)
            for (int x = 2; x < image.width - 2; ++x)
                if (GetGValue(image.At(x, y)) > 40) return true; // the panel is pure red
        return false;
    };
    MouseTo(ScreenPoint(tall, 60, 2));
    ASSERT_TRUE(PumpUntil([&] { return !showsText(); }, 4000));
    EXPECT_TRUE(PumpUntil(showsText, 8000));
    MouseTo(POINT{1200, 1000});
}

TEST_F(StaticTest, DisabledLuminousLabelIsAFlatLumDarkPanelWithLumText) {
    CCoolStatic label;
    Place(label, "Disabled", SS_LEFT, CRect(10, 10, 130, 40));
    label.EnableWindow(false);
    Show();
    const PixelImage image = Repaint(label);
    // Inside the frame: LumDark, and text in Lum (smoothed towards LumDark at its edges).
    const COLORREF lumDark = CoolColors::Shade(kLum, 0.5f);
    int panel = 0, text = 0, other = 0;
    for (int y = 1; y < image.height - 1; ++y)
        for (int x = 1; x < image.width - 1; ++x) {
            const COLORREF c = image.At(x, y);
            if (c == lumDark)
                ++panel;
            else if (GetGValue(c) || GetBValue(c) || GetRValue(c) < GetRValue(lumDark))
                ++other;
            else if (GetRValue(c) >= GetRValue(kLum) - 8)
                ++text;
        }
    EXPECT_EQ(other, 0);
    EXPECT_GT(panel, (image.width - 2) * (image.height - 2) / 2);
    EXPECT_GT(text, 10);
    EXPECT_EQ(image.At(0, 0), label.GetColor(CoolColors::Light));
    EXPECT_EQ(image.At(image.width - 1, image.height - 1), label.GetColor(CoolColors::Shadow));
}

TEST_F(StaticTest, BitmapStaticLeavesItsMagentaPixelsOut) {
    // Left half magenta, right half yellow.
    constexpr int w = 40, h = 20;
    CBitmap bitmap;
    {
        CWindowDC screen(nullptr);
        ASSERT_TRUE(bitmap.CreateDIBSection32(screen, w, h));
        CMemoryDC dc(screen);
        CScopedSelection selection(dc, bitmap);
        dc.FillSolidRect(CRect(0, 0, w / 2, h), RGB(255, 0, 255));
        dc.FillSolidRect(CRect(w / 2, 0, w, h), RGB(0xC0, 0xC0, 0));
    }
    CCoolStatic picture;
    picture.SetStyle(2);
    Place(picture, "", SS_BITMAP, CRect(20, 20, 20 + w, 20 + h));
    picture.SetBitmap(bitmap);
    Show();
    const PixelImage image = Repaint(picture);
    ASSERT_EQ(image.width, w);
    for (int y = 0; y < h; y += 5) {
        EXPECT_EQ(image.At(2, y), kHostBackground);
        EXPECT_EQ(image.At(w - 3, y), RGB(0xC0, 0xC0, 0));
    }
    picture.DestroyWindow(); // before the bitmap goes
}

TEST_F(StaticTest, ColourChangeOnAStaticRecoloursItsChildren) {
    CCoolStatic container, child;
    container.SetStyle(0);
    Place(container, "", SS_LEFT | WS_CLIPCHILDREN, CRect(10, 10, 210, 110));
    Place(child, "", SS_LEFT, CRect(20, 20, 120, 60), container);
    // Flat faces, so that a panel is one colour.
    host->SetRenderMode(CoolColors::RenderDeriveShades);
    Show();
    EXPECT_EQ(Repaint(child).At(50, 20), kLum);

    const COLORREF green = RGB(0, 0xA0, 0);
    ::SendMessageA(container, WM_COOL_SETCOLOR, CoolColors::Lum, green);
    container.Invalidate();
    EXPECT_TRUE(PumpUntil([&] { return CaptureClient(child).At(50, 20) == green; }));
}

// A parent hands its scheme down once per level: a label inside two nested containers gets
// each colour once, not once for every message its containers received.
TEST_F(StaticTest, NestedChildGetsTheSchemeOncePerHandOver) {
    class CCountingStatic : public CCoolStatic {
    public:
        int colours = 0;

    protected:
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
            if (message == WM_COOL_SETCOLOR) ++colours;
            return CCoolStatic::WindowProc(message, wParam, lParam);
        }
    };
    CCoolStatic outer, inner;
    CCountingStatic leaf;
    Place(outer, "", SS_LEFT | WS_CLIPCHILDREN, CRect(10, 10, 210, 110));
    Place(inner, "", SS_LEFT | WS_CLIPCHILDREN, CRect(5, 5, 150, 80), outer);
    Place(leaf, "", SS_LEFT, CRect(5, 5, 100, 40), inner);
    host->Propagate();
    EXPECT_EQ(int(CoolColors::SlotCount), leaf.colours);
}

} // namespace
