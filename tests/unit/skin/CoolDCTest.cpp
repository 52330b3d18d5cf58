#include "CoolDC.h"
#include "CoolPaintDC.h"
#include "Bitmap.h"
#include "Pixels.h"
#include "Pump.h"
#include "ResourceException.h"
#include "Wnd.h"

#include "Canvas.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);

bool Near(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

int Brightness(COLORREF c) {
    return GetRValue(c) + GetGValue(c) + GetBValue(c);
}

// Every test starts and ends with no drawing context alive and the real system.
class CoolDCTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CCoolDC::LivingObjects(), 0); }
    void TearDown() override {
        CCoolDC::PretendLibraryMissing(false);
        CCoolDC::ForceOSClass(0);
        EXPECT_EQ(CCoolDC::LivingObjects(), 0);
    }
};

TEST_F(CoolDCTest, LibraryLivesAsLongAsTheDrawingContexts) {
    EXPECT_EQ(CCoolDC::GetOSClass(), CCoolDC::OSNT);
    EXPECT_FALSE(CCoolDC::IsLibraryLoaded());
    {
        CCoolDC first(nullptr);
        EXPECT_TRUE(CCoolDC::IsLibraryLoaded());
        EXPECT_FALSE(CCoolDC::UsesOwnGradientFill());
        {
            CCoolDC second(nullptr);
            EXPECT_EQ(CCoolDC::LivingObjects(), 2);
        }
        EXPECT_TRUE(CCoolDC::IsLibraryLoaded());
        EXPECT_EQ(CCoolDC::LivingObjects(), 1);
    }
    EXPECT_FALSE(CCoolDC::IsLibraryLoaded());

    // With the library gone the next context uses its own routines; afterwards the library
    // is loaded again.
    CCoolDC::PretendLibraryMissing(true);
    {
        CCoolDC dc(nullptr);
        EXPECT_FALSE(CCoolDC::IsLibraryLoaded());
        EXPECT_TRUE(CCoolDC::UsesOwnGradientFill());
    }
    CCoolDC::PretendLibraryMissing(false);
    CCoolDC dc(nullptr);
    EXPECT_TRUE(CCoolDC::IsLibraryLoaded());
}

TEST_F(CoolDCTest, RadialGradientIsBrightestAtTheLightPoint) {
    // 64 × 48: half the diagonal is 40, so the vertex colours are easy to work out.
    Canvas canvas(64, 48);
    const COLORREF outer = RGB(0, 100, 200), highlight = RGB(250, 250, 250);
    POINT light = {32, 24};
    ASSERT_NE(canvas.dc.FillLit(CRect(0, 0, 64, 48), outer, highlight, &light), 0);
    PixelImage image = canvas.Pixels();
    EXPECT_PRED3(Near, image.At(32, 24), highlight, 3);
    // Corners are a half diagonal away: the outer colour.
    EXPECT_PRED3(Near, image.At(0, 0), outer, 3);
    EXPECT_PRED3(Near, image.At(63, 47), outer, 8);
    // Top middle: 24 away, 0.6 outer + 0.4 highlight; left middle: 32 away, 0.8 / 0.2.
    EXPECT_PRED3(Near, image.At(32, 0), RGB(100, 160, 220), 4);
    EXPECT_PRED3(Near, image.At(0, 24), RGB(50, 130, 210), 4);

    // Off-centre light: highlight there, darkening along the way to the far corner.
    Canvas off(64, 48);
    light = POINT{12, 10};
    off.dc.FillLit(CRect(0, 0, 64, 48), outer, highlight, &light);
    image = off.Pixels();
    EXPECT_PRED3(Near, image.At(12, 10), highlight, 3);
    int previous = Brightness(image.At(12, 10));
    for (int step = 1; step <= 5; ++step) {
        const int now = Brightness(image.At(12 + step * 10, 10 + step * 7));
        EXPECT_LE(now, previous + 2) << step;
        previous = now;
    }
    EXPECT_PRED3(Near, image.At(63, 47), outer, 8);
}

TEST_F(CoolDCTest, LightPointIsClampedInTheCallersRecord) {
    Canvas canvas(80, 60);
    const COLORREF outer = RGB(0, 0, 0), highlight = RGB(255, 255, 255);
    const CRect rect(10, 10, 74, 58);
    POINT light = {-30, 100};
    canvas.dc.FillLit(rect, outer, highlight, &light, CCoolDC::LitRadial);
    EXPECT_EQ(light.x, 12);
    EXPECT_EQ(light.y, 56);
    PixelImage image = canvas.Pixels();
    EXPECT_PRED3(Near, image.At(12, 55), highlight, 12);
    // Nothing outside the rectangle.
    EXPECT_EQ(image.At(5, 5), RGB(0, 0, 0));
    EXPECT_EQ(image.At(76, 30), RGB(0, 0, 0));

    light = POINT{200, -7};
    canvas.dc.FillLit(rect, outer, highlight, &light, CCoolDC::LitPyramid);
    EXPECT_EQ(light.x, 72);
    EXPECT_EQ(light.y, 12);

    // Inside the margin the point stays where it is.
    light = POINT{40, 30};
    canvas.dc.FillLit(rect, outer, highlight, &light);
    EXPECT_EQ(light.x, 40);
    EXPECT_EQ(light.y, 30);

    // Without a point the light sits near the top-left corner: (0 + 64/16 + 1, 0 + 48/16 + 1).
    Canvas corner(64, 48);
    corner.dc.FillLit(CRect(0, 0, 64, 48), outer, highlight, nullptr);
    EXPECT_PRED3(Near, corner.Pixels().At(5, 4), highlight, 3);
}

TEST_F(CoolDCTest, PyramidHasOuterCornersAndEdges) {
    Canvas canvas(60, 40);
    const COLORREF outer = RGB(10, 20, 30), highlight = RGB(200, 180, 160);
    POINT light = {20, 15};
    ASSERT_NE(canvas.dc.FillLit(CRect(0, 0, 60, 40), outer, highlight, &light, CCoolDC::LitPyramid),
              0);
    PixelImage image = canvas.Pixels();
    EXPECT_PRED3(Near, image.At(20, 15), highlight, 3);
    EXPECT_PRED3(Near, image.At(0, 0), outer, 3);
    EXPECT_PRED3(Near, image.At(59, 0), outer, 8);
    EXPECT_PRED3(Near, image.At(59, 39), outer, 8);
    EXPECT_PRED3(Near, image.At(0, 39), outer, 8);
    // Unlike the radial gradient, the whole edge between two corners is dark.
    EXPECT_PRED3(Near, image.At(30, 0), outer, 8);
    EXPECT_PRED3(Near, image.At(0, 20), outer, 8);
}

TEST_F(CoolDCTest, EmptyRectangleDrawsNothing) {
    Canvas canvas(10, 10, RGB(1, 2, 3));
    POINT light = {-50, -50};
    EXPECT_EQ(canvas.dc.FillLit(CRect(5, 5, 5, 9), 0, 0xFFFFFF, &light), 0);
    EXPECT_EQ(canvas.dc.FillLit(CRect(5, 5, 2, 2), 0, 0xFFFFFF, &light), 0);
    EXPECT_EQ(light.x, -50);
    for (COLORREF c : canvas.Pixels().pixels)
        EXPECT_EQ(c, RGB(1, 2, 3));
}

TEST_F(CoolDCTest, WithoutTheLibraryEverySurfaceIsALitCylinder) {
    CCoolDC::PretendLibraryMissing(true);
    const COLORREF outer = RGB(0, 40, 200), highlight = RGB(200, 240, 0);
    const CRect rect(0, 0, 30, 40);
    std::unique_ptr<PixelImage> first;
    for (int mode : {CCoolDC::LitRadial, CCoolDC::LitPyramid}) {
        for (POINT light : {POINT{-10, -10}, POINT{25, 35}}) {
            Canvas canvas(30, 40);
            const POINT given = light;
            ASSERT_NE(canvas.dc.FillLit(rect, outer, highlight, &light, mode), 0);
            // The point is neither used nor clamped.
            EXPECT_EQ(light.x, given.x);
            EXPECT_EQ(light.y, given.y);
            PixelImage image = canvas.Pixels();
            EXPECT_EQ(image.At(0, 0), outer);
            EXPECT_EQ(image.At(29, 20), highlight);
            // Rows are uniform; brightening down to the middle, darkening below it.
            for (int y = 0; y < 40; ++y)
                for (int x = 1; x < 30; ++x)
                    ASSERT_EQ(image.At(x, y), image.At(0, y)) << y;
            for (int y = 1; y <= 20; ++y)
                EXPECT_GE(GetRValue(image.At(0, y)), GetRValue(image.At(0, y - 1))) << y;
            for (int y = 21; y < 40; ++y)
                EXPECT_LE(GetRValue(image.At(0, y)), GetRValue(image.At(0, y - 1))) << y;
            EXPECT_PRED3(Near, image.At(0, 39), outer, 12);
            if (!first)
                first = std::make_unique<PixelImage>(image);
            else
                EXPECT_EQ(image.pixels, first->pixels);
        }
    }
}

TEST_F(CoolDCTest, OwnGradientFillDrawsRectanglesInStrips) {
    CCoolDC::PretendLibraryMissing(true);
    Canvas canvas(20, 10, RGB(9, 9, 9));
    TRIVERTEX v[2] = {};
    // Named bottom-right first: the rectangle is normalised, the first vertex's colour
    // still starts at the left.
    v[0].x = 10;
    v[0].y = 10;
    v[0].Red = 0xFF00;
    v[1].x = 0;
    v[1].y = 0;
    v[1].Blue = 0xFF00;
    GRADIENT_RECT mesh = {0, 1};
    EXPECT_TRUE(canvas.dc.GradientFill(v, 2, &mesh, 1, GRADIENT_FILL_RECT_H));
    PixelImage image = canvas.Pixels();
    EXPECT_EQ(image.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(image.At(0, 9), RGB(255, 0, 0));
    EXPECT_EQ(image.At(5, 3), RGB(255 - ::MulDiv(5, 255, 10), 0, ::MulDiv(5, 255, 10)));
    EXPECT_EQ(image.At(9, 3), RGB(255 - ::MulDiv(9, 255, 10), 0, ::MulDiv(9, 255, 10)));
    EXPECT_EQ(image.At(10, 3), RGB(9, 9, 9));

    // Triangles, a single vertex and mesh indices past the vertices draw nothing.
    Canvas untouched(20, 10, RGB(9, 9, 9));
    GRADIENT_TRIANGLE triangle = {0, 1, 0};
    EXPECT_TRUE(untouched.dc.GradientFill(v, 2, &triangle, 1, GRADIENT_FILL_TRIANGLE));
    EXPECT_TRUE(untouched.dc.GradientFill(v, 1, &mesh, 1, GRADIENT_FILL_RECT_V));
    GRADIENT_RECT broken = {0, 7};
    EXPECT_TRUE(untouched.dc.GradientFill(v, 2, &broken, 1, GRADIENT_FILL_RECT_V));
    for (COLORREF c : untouched.Pixels().pixels)
        ASSERT_EQ(c, RGB(9, 9, 9));
}

// An 8 × 8 source: magenta on the left half, a red/green check pattern on the right.
class SourceBitmap {
public:
    SourceBitmap() : dc(nullptr) {
        bitmap.CreateDIBSection32(dc, 8, 8);
        selection.emplace(dc, bitmap);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                dc.SetPixel(x, y, ColorAt(x, y));
    }
    static COLORREF ColorAt(int x, int y) {
        if (x < 4) return kMagenta;
        return (x + y) % 2 ? RGB(255, 0, 0) : RGB(0, 255, 0);
    }
    CBitmap bitmap; // before the DC and the selection, which end first
    CMemoryDC dc;
    std::optional<CScopedSelection> selection;
};

void ExpectKeyedCopy(const PixelImage& image, int dx, int dy, int srcX, int w, int h,
                     COLORREF background) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const bool inside = x >= dx && x < dx + w && y >= dy && y < dy + h;
            const COLORREF src = inside ? SourceBitmap::ColorAt(x - dx + srcX, y - dy) : kMagenta;
            const COLORREF expected = src == kMagenta ? background : src;
            ASSERT_EQ(image.At(x, y), expected) << x << "," << y;
        }
    }
}

TEST_F(CoolDCTest, TransparentBlitLeavesKeyColouredPixelsAlone) {
    for (bool missing : {false, true}) {
        SCOPED_TRACE(missing ? "own routine" : "system routine");
        CCoolDC::PretendLibraryMissing(missing);
        SourceBitmap source;
        const COLORREF oldBk = ::SetBkColor(source.dc, RGB(1, 2, 3));
        Canvas canvas(12, 12, RGB(0, 0, 128));
        EXPECT_TRUE(canvas.dc.TransparentBlt(2, 3, 6, 8, source.dc, 2, 0, 6, 8, kMagenta));
        ExpectKeyedCopy(canvas.Pixels(), 2, 3, 2, 6, 8, RGB(0, 0, 128));
        EXPECT_EQ(::GetBkColor(source.dc), RGB(1, 2, 3));
        ::SetBkColor(source.dc, oldBk);
    }
}

TEST_F(CoolDCTest, OwnTransparentBlitNeedsASourceBitmap) {
    CCoolDC::PretendLibraryMissing(true);
    Canvas canvas(16, 16, RGB(0, 0, 128));
    CMemoryDC empty(canvas.dc);
    EXPECT_FALSE(canvas.dc.TransparentBlt(0, 0, 8, 8, empty, 0, 0, 8, 8, kMagenta));
    for (COLORREF c : canvas.Pixels().pixels)
        ASSERT_EQ(c, RGB(0, 0, 128));
}

TEST_F(CoolDCTest, BelowTheNTFamilyTheOwnTransparentBlitIsUsed) {
    // The system routine stretches 2 × 2 source pixels over 4 × 4; ours copies 4 × 4.
    for (int osClass : {CCoolDC::OSNT, CCoolDC::OS98}) {
        CCoolDC::ForceOSClass(osClass);
        SourceBitmap source;
        Canvas canvas(6, 6, RGB(0, 0, 128));
        ASSERT_TRUE(CCoolDC::IsLibraryLoaded());
        canvas.dc.TransparentBlt(0, 0, 4, 4, source.dc, 4, 0, 2, 2, kMagenta);
        PixelImage image = canvas.Pixels();
        if (osClass == CCoolDC::OSNT) {
            EXPECT_EQ(image.At(0, 0), RGB(0, 255, 0));
            EXPECT_EQ(image.At(1, 0), RGB(0, 255, 0)); // one source pixel, doubled
        } else {
            ExpectKeyedCopy(image, 0, 0, 4, 4, 4, RGB(0, 0, 128));
        }
    }
}

TEST_F(CoolDCTest, AlphaBlendBlendsOrCopiesWithoutTheLibrary) {
    for (bool missing : {false, true}) {
        CCoolDC::PretendLibraryMissing(missing);
        Canvas source(8, 8, RGB(200, 0, 0));
        Canvas canvas(8, 8, RGB(0, 0, 200));
        EXPECT_TRUE(canvas.dc.AlphaBlend(0, 0, 4, 4, source.dc, 0, 0, 8, 8, 128));
        PixelImage image = canvas.Pixels();
        if (missing) {
            EXPECT_EQ(image.At(3, 3), RGB(200, 0, 0));
        } else {
            EXPECT_PRED3(Near, image.At(3, 3), RGB(100, 0, 100), 2);
        }
        EXPECT_EQ(image.At(4, 4), RGB(0, 0, 200));
    }
}

// A window painting itself through CCoolPaintDC.
class PaintedWindow : public CWnd {
public:
    int paints = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_PAINT) {
            CCoolPaintDC dc(m_hWnd);
            EXPECT_EQ(CRect(dc.GetPaintRect()), GetClientRect());
            dc.FillLit(GetClientRect(), RGB(0, 0, 0), RGB(0, 255, 0));
            ++paints;
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST_F(CoolDCTest, PaintDCPaintsAndValidates) {
    PaintedWindow window;
    ASSERT_TRUE(window.CreateEx(0, CWnd::DefaultClassName(), "paint", WS_POPUP | WS_VISIBLE,
                                CRect(0, 0, 40, 30), nullptr, 0));
    window.Invalidate(false);
    window.UpdateWindow();
    EXPECT_GE(window.paints, 1);
    EXPECT_FALSE(::GetUpdateRect(window, nullptr, FALSE));
    EXPECT_EQ(CCoolDC::LivingObjects(), 0);
    window.DestroyWindow();

    HWND gone = window.m_hWnd ? window.m_hWnd : reinterpret_cast<HWND>(0x7FFF0);
    EXPECT_THROW(CCoolPaintDC dc(gone), CResourceException);
    EXPECT_EQ(CCoolDC::LivingObjects(), 0);
}

} // namespace
