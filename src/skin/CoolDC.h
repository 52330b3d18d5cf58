// Drawing with gradient fill, alpha blend and transparent blit. The three come from
// "msimg32.dll", loaded while at least one CCoolDC lives; where the library (or one of its
// entry points) is missing, our own routines draw instead. FillLit draws the lit surface
// every skinned control is made of. Made on a handle, a CCoolDC borrows it; the owning kinds
// are CCoolMemoryDC, CCoolWindowDC and CCoolPaintDC.
#pragma once

#include "DC.h"
#include "MemoryDC.h"
#include "PaintDC.h"
#include "WindowDC.h"

class CCoolDC : public CDC {
public:
    // Operating system classes: 2 Windows 95, 3 Windows 98, 4 other 9x, 5 NT family,
    // 1 anything else.
    enum { OSUnknown = 1, OS95 = 2, OS98 = 3, OS9x = 4, OSNT = 5 };
    // FillLit modes.
    enum { LitRadial = 0, LitPyramid = 1 };

    explicit CCoolDC(HDC dc);
    ~CCoolDC() override;

    BOOL GradientFill(TRIVERTEX* vertices, ULONG vertexCount, void* mesh, ULONG meshCount,
                      ULONG mode);
    BOOL AlphaBlend(int x, int y, int width, int height, HDC source, int srcX, int srcY,
                    int srcWidth, int srcHeight, BYTE alpha);
    BOOL TransparentBlt(int x, int y, int width, int height, HDC source, int srcX, int srcY,
                        int srcWidth, int srcHeight, UINT transparent);
    // The lit gradient: outer colour at the edges, highlight at the light point. A given
    // point is clamped into the rectangle in place. Without the system library a lit
    // cylinder (top to middle to bottom) is drawn instead. 0 for an empty rectangle.
    int FillLit(const RECT& rect, COLORREF outer, COLORREF highlight, POINT* light = nullptr,
                int mode = LitRadial);

    static int GetOSClass();
    // True when the gradient fill in use is our own one (the system library is missing).
    static bool UsesOwnGradientFill();
    static bool IsLibraryLoaded();
    static int LivingObjects();

    // Test hooks. A forced class replaces the computed one at once (0 goes back to it);
    // pretending the library is missing makes the next load fail. The routines are chosen
    // at the next load, that is when a CCoolDC is made while none lives.
    static void ForceOSClass(int osClass);
    static void PretendLibraryMissing(bool missing);

protected:
    // For the owning kinds, which set the handle once they have it.
    CCoolDC();

private:
    static void LoadLibraryRoutines();
    static void FreeLibraryRoutines();
};

using CCoolMemoryDC = CMemoryDCOf<CCoolDC>;
using CCoolWindowDC = CWindowDCOf<CCoolDC>;
