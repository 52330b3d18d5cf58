#include "Bitmap.h"
#include "Brush.h"
#include "DC.h"
#include "DCRef.h"
#include "Font.h"
#include "PaintDC.h"
#include "Pen.h"
#include "Pixels.h"
#include "Pump.h"
#include "ScopedSelection.h"
#include "Wnd.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(Gdi, MemoryDcDrawsAndGivesBackItsSelections) {
    CDC screen;
    ASSERT_TRUE(screen.GetDC(nullptr));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(screen, 20, 10));
    EXPECT_EQ(bitmap.GetSize().cx, 20);
    EXPECT_EQ(bitmap.GetSize().cy, 10);

    HGDIOBJ originalBitmap = nullptr;
    HGDIOBJ originalPen = nullptr;
    HDC raw = nullptr;
    {
        // Declared before the DC: they are still there when it puts the first pen back.
        CPen red(PS_SOLID, 1, RGB(255, 0, 0));
        CPen blue(PS_SOLID, 1, RGB(0, 0, 255));
        CDC memory;
        ASSERT_TRUE(memory.CreateCompatibleDC(screen));
        raw = memory;
        originalBitmap = ::GetCurrentObject(memory, OBJ_BITMAP);
        originalPen = ::GetCurrentObject(memory, OBJ_PEN);
        memory.SelectObject(bitmap);
        memory.SelectObject(red);
        memory.SelectObject(blue); // the first replaced pen is what comes back
        memory.FillSolidRect(CRect(0, 0, 20, 10), RGB(0, 128, 0));
        memory.MoveTo(0, 5);
        memory.LineTo(20, 5);
        PixelImage image = ReadPixels(memory, 20, 10);
        EXPECT_EQ(image.At(3, 2), RGB(0, 128, 0));
        EXPECT_EQ(image.At(3, 5), RGB(0, 0, 255));

        memory.RestoreSelections();
        EXPECT_EQ(::GetCurrentObject(memory, OBJ_BITMAP), originalBitmap);
        EXPECT_EQ(::GetCurrentObject(memory, OBJ_PEN), originalPen);
        memory.SelectObject(red); // selected at the end: the DC still hands it back when it goes
    }
    EXPECT_EQ(::GetObjectType(raw), 0u); // the memory DC was deleted
    // The bitmap is free again: it can be selected into another DC.
    CDC other;
    ASSERT_TRUE(other.CreateCompatibleDC(screen));
    EXPECT_NE(other.SelectObject(bitmap), nullptr);
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
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(nullptr));
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
        // Held through the owning type, as a drawing helper taking a CDC would.
        std::unique_ptr<CDC> dc(new CDCRef(raw));
        dc->SelectObject(bitmap);
        dc->FillSolidRect(CRect(0, 0, 4, 4), RGB(1, 2, 3));
        EXPECT_EQ(dc->GetPixel(1, 1), RGB(1, 2, 3));
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
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(nullptr));
    memory.SelectObject(dib);
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
