#include "Bitmap.h"
#include "Brush.h"
#include "DC.h"
#include "Font.h"
#include "MemoryDC.h"
#include "PaintDC.h"
#include "Pen.h"
#include "Pixels.h"
#include "Pump.h"
#include "ScopedSelection.h"
#include "WindowDC.h"
#include "Wnd.h"

#include <gtest/gtest.h>

namespace {

TEST(Gdi, MemoryDcDrawsAndIsDeletedWhenItGoes) {
    CWindowDC screen(nullptr);
    ASSERT_TRUE(screen.GetSafeHdc());
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(screen, 20, 10));
    EXPECT_EQ(bitmap.GetSize().cx, 20);
    EXPECT_EQ(bitmap.GetSize().cy, 10);

    HDC raw = nullptr;
    {
        CMemoryDC memory(screen);
        ASSERT_TRUE(memory.GetSafeHdc());
        raw = memory;
        CScopedSelection image(memory, bitmap);
        CPen blue(PS_SOLID, 1, RGB(0, 0, 255));
        CScopedSelection pen(memory, blue);
        memory.FillSolidRect(CRect(0, 0, 20, 10), RGB(0, 128, 0));
        memory.MoveTo(0, 5);
        memory.LineTo(20, 5);
        PixelImage pixels = ReadPixels(memory, 20, 10);
        EXPECT_EQ(pixels.At(3, 2), RGB(0, 128, 0));
        EXPECT_EQ(pixels.At(3, 5), RGB(0, 0, 255));
    }
    EXPECT_EQ(::GetObjectType(raw), 0u); // the memory DC was deleted
    // The bitmap is free again: it can be selected into another DC.
    CMemoryDC other(screen);
    EXPECT_TRUE(CScopedSelection(other, bitmap));
}

TEST(Gdi, ObjectsAreDeletedWithTheirWrapperAndMoveOwnership) {
    HBRUSH raw = nullptr;
    {
        CBrush brush(RGB(1, 2, 3));
        raw = brush;
        EXPECT_EQ(::GetObjectType(raw), static_cast<DWORD>(OBJ_BRUSH));
        CBrush moved(std::move(brush));
        EXPECT_TRUE(brush.IsNull());
        EXPECT_EQ(moved.GetSafeHandle(), raw);
    }
    EXPECT_EQ(::GetObjectType(raw), 0u);

    CFont font;
    ASSERT_TRUE(font.CreateFont("Tahoma", -11, FW_BOLD));
    LOGFONTA lf = {};
    ASSERT_TRUE(font.GetLogFont(lf));
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    HFONT detached = font.Detach();
    EXPECT_TRUE(font.IsNull());
    EXPECT_EQ(::GetObjectType(detached), static_cast<DWORD>(OBJ_FONT));
    ::DeleteObject(detached);
}

TEST(Gdi, ScopedSelectionPutsTheOldObjectBackWhateverTheDeclarationOrder) {
    CBitmap early; // declared before the DC
    ASSERT_TRUE(early.CreateDIBSection32(nullptr, 2, 2));
    CMemoryDC memory(nullptr);
    ASSERT_TRUE(memory.GetSafeHdc());
    const HGDIOBJ originalPen = ::GetCurrentObject(memory, OBJ_PEN);
    const HGDIOBJ originalBitmap = ::GetCurrentObject(memory, OBJ_BITMAP);
    {
        CScopedSelection bitmap(memory, early);
        EXPECT_TRUE(bitmap);
        CPen outer(PS_SOLID, 1, RGB(255, 0, 0)); // declared after the DC
        CScopedSelection first(memory, outer);
        {
            CPen inner(PS_SOLID, 1, RGB(0, 0, 255));
            CScopedSelection second(memory, inner);
            EXPECT_EQ(::GetCurrentObject(memory, OBJ_PEN), inner.GetSafeHandle());
        }
        EXPECT_EQ(::GetCurrentObject(memory, OBJ_PEN), outer.GetSafeHandle());
        EXPECT_EQ(::GetCurrentObject(memory, OBJ_BITMAP), early.GetSafeHandle());
    }
    EXPECT_EQ(::GetCurrentObject(memory, OBJ_PEN), originalPen);
    EXPECT_EQ(::GetCurrentObject(memory, OBJ_BITMAP), originalBitmap);

    // Restored early on request, and only once.
    CPen pen(PS_SOLID, 1, RGB(0, 255, 0));
    CScopedSelection selection(memory, pen);
    selection.Restore();
    EXPECT_EQ(::GetCurrentObject(memory, OBJ_PEN), originalPen);
    CScopedSelection later(memory, pen);
    selection.Restore();
    EXPECT_EQ(::GetCurrentObject(memory, OBJ_PEN), pen.GetSafeHandle());
}

TEST(Gdi, BorrowedDcIsDrawnOnAndLeftToItsOwner) {
    HDC raw = ::CreateCompatibleDC(nullptr);
    ASSERT_NE(raw, nullptr);
    const HGDIOBJ originalBitmap = ::GetCurrentObject(raw, OBJ_BITMAP);
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateDIBSection32(nullptr, 4, 4));
    {
        CDC dc(raw);
        CScopedSelection selection(dc, bitmap);
        dc.FillSolidRect(CRect(0, 0, 4, 4), RGB(1, 2, 3));
        EXPECT_EQ(dc.GetPixel(1, 1), RGB(1, 2, 3));
    }
    EXPECT_EQ(::GetObjectType(raw), static_cast<DWORD>(OBJ_MEMDC));
    EXPECT_EQ(::GetCurrentObject(raw, OBJ_BITMAP), originalBitmap);
    ::DeleteDC(raw);
}

TEST(Gdi, DibSectionGivesDirectPixelAccess) {
    CBitmap dib;
    void* bits = nullptr;
    ASSERT_TRUE(dib.CreateDIBSection32(nullptr, 4, 3, &bits));
    ASSERT_NE(bits, nullptr);
    static_cast<DWORD*>(bits)[1 * 4 + 2] = 0x00112233; // x=2, y=1, top-down
    CMemoryDC memory(nullptr);
    CScopedSelection selection(memory, dib);
    EXPECT_EQ(memory.GetPixel(2, 1), RGB(0x11, 0x22, 0x33));
}

class CPaintingWnd : public CWnd {
public:
    int paints = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_PAINT) {
            OnPaint();
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    void OnPaint() {
        CPaintDC dc(m_hWnd);
        ++paints;
        CRect client = GetClientRect();
        dc.FillSolidRect(client, RGB(10, 200, 30));
    }
};

TEST(Gdi, PaintDcValidatesAndDrawsOnScreen) {
    CPaintingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(WS_EX_TOPMOST, nullptr, "paint", WS_POPUP | WS_VISIBLE,
                             CRect(10, 10, 60, 40), nullptr, 0));
    wnd.UpdateWindow();
    EXPECT_TRUE(PumpUntil([&] { return wnd.paints > 0; }));
    // Validated: no further paint is pending.
    RECT update = {};
    EXPECT_FALSE(::GetUpdateRect(wnd.m_hWnd, &update, FALSE));
    PixelImage image = CaptureClient(wnd.m_hWnd);
    ASSERT_EQ(image.width, 50);
    EXPECT_EQ(image.At(25, 15), RGB(10, 200, 30));
}

} // namespace
