#include "CoolBitmap.h"
#include "CoolBitmapRef.h"
#include "CoolDC.h"
#include "ScopedSelection.h"
#include "Pixels.h"

#include "Canvas.h"

#include <gtest/gtest.h>

#include <memory>
#include <type_traits>

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kFill = RGB(0, 0, 128);

COLORREF Pattern(int x, int y) {
    if ((x + y) % 5 == 0) return kMagenta;
    return RGB(x * 20, y * 30, (x * y) % 256);
}

// Draws the pattern (or one colour) into a screen-compatible bitmap, as a control draws
// its cached face: select, draw, deselect.
void Paint(CCoolBitmap& bitmap, int width, int height, COLORREF solid = CLR_INVALID) {
    CWindowDC screen(nullptr);
    CMemoryDC memory(screen);
    CScopedSelection selection(memory, bitmap);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            memory.SetPixel(x, y, solid == CLR_INVALID ? Pattern(x, y) : solid);
}

// A 32-bit target to draw the bitmap on, filled with kFill.
struct Target : Canvas {
    Target(int width, int height) : Canvas(width, height, kFill) {}
};

// Draws a 10 × 6 pattern bitmap in every way a control does; the pixels must not depend on
// whether the bitmap kept its handle in between.
std::vector<PixelImage> DrawEveryWay(bool expectHandleGivenBack) {
    CWindowDC screen(nullptr);
    CCoolBitmap bitmap;
    EXPECT_TRUE(bitmap.CreateCompatibleBitmap(screen, 10, 6));
    Paint(bitmap, 10, 6);
    bitmap.ReleaseHandle(true);
    EXPECT_EQ(bitmap.IsNull(), expectHandleGivenBack);
    EXPECT_FALSE(bitmap.IsEmpty());
    EXPECT_EQ(bitmap.Width(), 10);
    EXPECT_EQ(bitmap.Height(), 6);
    EXPECT_EQ(bitmap.BitsPixel(), ::GetDeviceCaps(screen, BITSPIXEL));

    std::vector<PixelImage> images;
    for (int way = 0; way < 4; ++way) {
        Target target(24, 16);
        switch (way) {
        case 0:
            EXPECT_TRUE(bitmap.Draw(target.dc, 3, 2));
            break;
        case 1:
            EXPECT_TRUE(bitmap.Draw(target.dc, CRect(0, 0, 20, 12), CRect(0, 0, 10, 6)));
            break;
        case 2:
            EXPECT_TRUE(bitmap.DrawTransparent(target.dc, 1, 1, kMagenta));
            break;
        case 3:
            EXPECT_TRUE(bitmap.DrawAlpha(target.dc, 255, 4, 4));
            break;
        }
        EXPECT_EQ(bitmap.IsNull(), expectHandleGivenBack) << way;
        images.push_back(target.Pixels());
    }
    return images;
}

class CoolBitmapTest : public ::testing::Test {
protected:
    void TearDown() override { CCoolDC::ForceOSClass(0); }
};

TEST_F(CoolBitmapTest, SavedBitsDrawTheSamePixels) {
    const auto live = DrawEveryWay(false);
    CCoolDC::ForceOSClass(CCoolDC::OS98);
    const auto saved = DrawEveryWay(true);
    ASSERT_EQ(live.size(), saved.size());
    for (size_t i = 0; i < live.size(); ++i)
        EXPECT_EQ(live[i].pixels, saved[i].pixels) << i;

    // And the pixels are the bitmap's: whole copy at (3, 2), doubled, keyed, blended opaque.
    EXPECT_EQ(live[0].At(3, 2), Pattern(0, 0));
    EXPECT_EQ(live[0].At(12, 7), Pattern(9, 5));
    EXPECT_EQ(live[0].At(13, 7), kFill);
    EXPECT_EQ(live[1].At(19, 11), Pattern(9, 5));
    EXPECT_EQ(live[1].At(18, 10), Pattern(9, 5));
    EXPECT_EQ(live[2].At(1, 1), kFill); // (0, 0) is magenta
    EXPECT_EQ(live[2].At(2, 1), Pattern(1, 0));
    EXPECT_EQ(live[3].At(5, 4), Pattern(1, 0));
}

TEST_F(CoolBitmapTest, ZeroSizesReachTheBitmapsEdge) {
    CWindowDC screen(nullptr);
    CCoolBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(screen, 10, 6));
    Paint(bitmap, 10, 6);
    Target target(24, 16);
    // Destination 10 − 4 = 6 wide and 6 − 1 = 5 high at (4, 1); source from (2, 1) to the
    // bitmap's edge, 8 × 5, squeezed into it.
    ASSERT_TRUE(bitmap.Draw(target.dc, 4, 1, 0, 0, 2, 1, 0, 0));
    PixelImage image = target.Pixels();
    EXPECT_EQ(image.At(3, 1), kFill);
    EXPECT_EQ(image.At(4, 0), kFill);
    EXPECT_EQ(image.At(4, 1), Pattern(2, 1));
    EXPECT_NE(image.At(9, 5), kFill);
    EXPECT_EQ(image.At(10, 5), kFill);
    EXPECT_EQ(image.At(9, 6), kFill);

    // Equal sizes blit the part asked for.
    Target part(24, 16);
    ASSERT_TRUE(bitmap.Draw(part.dc, 0, 0, 3, 2, 5, 3, 3, 2));
    image = part.Pixels();
    EXPECT_EQ(image.At(0, 0), Pattern(5, 3));
    EXPECT_EQ(image.At(2, 1), Pattern(7, 4));
    EXPECT_EQ(image.At(3, 0), kFill);
    EXPECT_EQ(image.At(0, 2), kFill);
}

TEST_F(CoolBitmapTest, SavedBitsChangeOnlyOnRefresh) {
    CCoolDC::ForceOSClass(CCoolDC::OS95);
    CWindowDC screen(nullptr);
    CCoolBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(screen, 4, 4));
    Paint(bitmap, 4, 4, RGB(10, 20, 30));
    bitmap.ReleaseHandle();
    ASSERT_TRUE(bitmap.IsNull());

    // Drawn into again without a refresh: the next use brings back the saved picture.
    ASSERT_TRUE(bitmap.RestoreHandle());
    Paint(bitmap, 4, 4, RGB(40, 50, 60));
    bitmap.ReleaseHandle(false);
    Target stale(4, 4);
    bitmap.Draw(stale.dc, 0, 0);
    EXPECT_EQ(stale.Pixels().At(2, 2), RGB(10, 20, 30));

    ASSERT_TRUE(bitmap.RestoreHandle());
    Paint(bitmap, 4, 4, RGB(40, 50, 60));
    bitmap.ReleaseHandle(true);
    Target fresh(4, 4);
    bitmap.Draw(fresh.dc, 0, 0);
    EXPECT_EQ(fresh.Pixels().At(2, 2), RGB(40, 50, 60));

    // Given back while still selected into a DC: the picture is not lost.
    ASSERT_TRUE(bitmap.RestoreHandle());
    {
        CMemoryDC memory(screen);
        CScopedSelection selection(memory, bitmap);
        memory.FillSolidRect(CRect(0, 0, 4, 4), RGB(70, 80, 90));
        bitmap.ReleaseHandle(true);
    }
    Target kept(4, 4);
    EXPECT_TRUE(bitmap.Draw(kept.dc, 0, 0));
    EXPECT_EQ(kept.Pixels().At(3, 3), RGB(70, 80, 90));
    bitmap.DeleteObject();
    EXPECT_TRUE(bitmap.IsEmpty());
    EXPECT_FALSE(bitmap.RestoreHandle());
    Target nothing(4, 4);
    EXPECT_FALSE(bitmap.Draw(nothing.dc, 0, 0));
}

bool IsDibSection(HBITMAP bitmap) {
    DIBSECTION dib = {};
    return ::GetObjectA(bitmap, sizeof(dib), &dib) == sizeof(dib);
}

// Images for the screen are DIB sections; one let go is taken again for the next image of its
// size, black like a new one, unless it is still selected into a DC.
TEST_F(CoolBitmapTest, ScreenImagesAreDibSectionsReusedBlack) {
    CWindowDC screen(nullptr);
    if (::GetDeviceCaps(screen, BITSPIXEL) != 32) GTEST_SKIP() << "the display is not 32-bit";
    HBITMAP first = nullptr;
    {
        CCoolBitmap image;
        ASSERT_TRUE(image.CreateCompatibleBitmap(screen, 7, 5));
        EXPECT_TRUE(IsDibSection(image));
        Paint(image, 7, 5, RGB(255, 255, 255));
        first = image;
    }
    CCoolBitmap again;
    ASSERT_TRUE(again.CreateCompatibleBitmap(screen, 7, 5));
    EXPECT_EQ(static_cast<HBITMAP>(again), first);
    Target target(7, 5);
    ASSERT_TRUE(again.Draw(target.dc, 0, 0));
    for (COLORREF pixel : target.Pixels().pixels)
        ASSERT_EQ(pixel, RGB(0, 0, 0));

    CMemoryDC memory(screen);
    HBITMAP held = nullptr;
    HGDIOBJ old = nullptr;
    {
        CCoolBitmap image;
        ASSERT_TRUE(image.CreateCompatibleBitmap(screen, 9, 9));
        held = image;
        old = ::SelectObject(memory, held);
    }
    CCoolBitmap other;
    ASSERT_TRUE(other.CreateCompatibleBitmap(screen, 9, 9));
    EXPECT_NE(static_cast<HBITMAP>(other), held);
    ::SelectObject(memory, old);
    ::DeleteObject(held);

    // Other depths and a memory DC with its monochrome default keep the system's bitmap.
    CMemoryDC mono(screen);
    CCoolBitmap monochrome;
    ASSERT_TRUE(monochrome.CreateCompatibleBitmap(mono, 4, 4));
    EXPECT_EQ(monochrome.BitsPixel(), 1);
    CCoolBitmap::SetDisplayBitsPerPixel(16);
    CCoolBitmap atOtherDepth;
    ASSERT_TRUE(atOtherDepth.CreateCompatibleBitmap(screen, 4, 4));
    CCoolBitmap::SetDisplayBitsPerPixel(0);
    EXPECT_FALSE(IsDibSection(atOtherDepth));
}

TEST_F(CoolBitmapTest, BorrowedBitmapsAndDcsAreDrawnButNeverDeleted) {
    static_assert(!std::is_base_of<CBitmap, CCoolBitmapRef>::value,
                  "a borrowed bitmap must not pass for an owned one");
    CCoolDC::ForceOSClass(CCoolDC::OS98); // where owned bitmaps give their handles back
    CWindowDC screen(nullptr);
    HBITMAP raw = ::CreateCompatibleBitmap(screen, 4, 4);
    {
        CMemoryDC memory(screen);
        CScopedSelection selection(memory, raw);
        memory.FillSolidRect(CRect(0, 0, 4, 4), RGB(10, 20, 30));
    }
    Target target(4, 4);
    {
        CCoolBitmapRef borrowed(raw);
        CCoolDC dc(target.dc.GetSafeHdc());
        EXPECT_EQ(borrowed.Width(), 4);
        EXPECT_TRUE(borrowed.DrawTransparent(dc, 0, 0, kMagenta));
        EXPECT_TRUE(borrowed.Draw(dc, 2, 2));
    }
    EXPECT_EQ(::GetObjectType(raw), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(::GetObjectType(target.dc), static_cast<DWORD>(OBJ_MEMDC));
    EXPECT_EQ(target.Pixels().At(3, 3), RGB(10, 20, 30));

    // An owned cool bitmap used through its base still acts as itself: a handle it gave
    // back is made again to be detached, and deleting it through the base frees it.
    {
        std::unique_ptr<CBitmap> base(new CCoolBitmap);
        base->Attach(::CreateCompatibleBitmap(screen, 4, 4));
        static_cast<CCoolBitmap&>(*base).ReleaseHandle(true);
        EXPECT_TRUE(base->IsNull());
        HBITMAP detached = base->Detach();
        ASSERT_EQ(::GetObjectType(detached), static_cast<DWORD>(OBJ_BITMAP));
        EXPECT_TRUE(static_cast<CCoolBitmap&>(*base).IsEmpty());
        base->Attach(detached);
        base.reset();
        EXPECT_EQ(::GetObjectType(detached), 0u);
    }

    // Owned bitmaps go with their wrapper, saved or live.
    HBITMAP owned = ::CreateCompatibleBitmap(screen, 4, 4);
    {
        CCoolBitmap bitmap;
        bitmap.Attach(raw);
        bitmap.ReleaseHandle(true);
        EXPECT_TRUE(bitmap.IsNull());
        CCoolDC::ForceOSClass(0);
        CCoolBitmap live;
        live.Attach(owned);
    }
    EXPECT_EQ(::GetObjectType(raw), 0u);
    EXPECT_EQ(::GetObjectType(owned), 0u);
}

} // namespace
