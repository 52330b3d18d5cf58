#include "CoolDC.h"

#include "Bitmap.h"
#include "MemoryDC.h"
#include "ScopedSelection.h"
#include "UniqueHandle.h"

#include <algorithm>
#include <cmath>

namespace {

using GradientFillProc = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
using AlphaBlendProc = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int,
                                     BLENDFUNCTION);
using TransparentBltProc = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);

// Process-wide: the drawing routines in use and who keeps the library loaded.
struct DrawingState {
    int osClass = 0;     // 0 until computed
    int forcedClass = 0; // test hook
    bool pretendMissing = false;
    CModuleHandle library;
    GradientFillProc gradientFill = nullptr;
    AlphaBlendProc alphaBlend = nullptr;
    TransparentBltProc transparentBlt = nullptr;
    int living = 0;
};
DrawingState g_state;

template <class Proc> Proc LibraryProc(HMODULE library, const char* name, Proc own) {
    FARPROC proc = ::GetProcAddress(library, name);
    return proc ? reinterpret_cast<Proc>(reinterpret_cast<void*>(proc)) : own;
}

int ComputeOSClass() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!::GetVersionExA(&info)) return CCoolDC::OSUnknown;
    if (info.dwPlatformId == VER_PLATFORM_WIN32_NT) return CCoolDC::OSNT;
    if (info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        if (info.dwMajorVersion == 4 && info.dwMinorVersion == 0) return CCoolDC::OS95;
        if (info.dwMajorVersion == 4 && info.dwMinorVersion >= 1 && info.dwMinorVersion <= 10)
            return CCoolDC::OS98;
        return CCoolDC::OS9x;
    }
    return CCoolDC::OSUnknown;
}

void FillStrip(HDC dc, const RECT& r, COLORREF color) {
    ::SetBkColor(dc, color);
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

// Rectangle gradients as one-pixel strips; triangles are not drawn.
BOOL WINAPI OwnGradientFill(HDC dc, PTRIVERTEX vertices, ULONG vertexCount, PVOID mesh,
                            ULONG meshCount, ULONG mode) {
    if (mode != GRADIENT_FILL_RECT_H && mode != GRADIENT_FILL_RECT_V) return TRUE;
    if (vertexCount <= 1 || !vertices || !mesh) return TRUE;
    const bool horizontal = mode == GRADIENT_FILL_RECT_H;
    const auto* rects = static_cast<const GRADIENT_RECT*>(mesh);
    const COLORREF oldBk = ::GetBkColor(dc);
    for (ULONG m = 0; m < meshCount; ++m) {
        const ULONG a = rects[m].UpperLeft, b = rects[m].LowerRight;
        if (a >= vertexCount || b >= vertexCount) continue; // a broken mesh draws nothing
        const TRIVERTEX& c0 = vertices[a];
        const TRIVERTEX& c1 = vertices[b];
        RECT r = {std::min(c0.x, c1.x), std::min(c0.y, c1.y), std::max(c0.x, c1.x),
                  std::max(c0.y, c1.y)};
        const int n = horizontal ? r.right - r.left : r.bottom - r.top;
        const int r0 = c0.Red >> 8, g0 = c0.Green >> 8, b0 = c0.Blue >> 8;
        const int dr = (c1.Red >> 8) - r0, dg = (c1.Green >> 8) - g0, db = (c1.Blue >> 8) - b0;
        for (int i = 0; i < n; ++i) {
            const COLORREF color =
                RGB(r0 + ::MulDiv(i, dr, n), g0 + ::MulDiv(i, dg, n), b0 + ::MulDiv(i, db, n));
            RECT strip = horizontal ? RECT{r.left + i, r.top, r.left + i + 1, r.bottom}
                                    : RECT{r.left, r.top + i, r.right, r.top + i + 1};
            FillStrip(dc, strip, color);
        }
    }
    ::SetBkColor(dc, oldBk);
    return TRUE;
}

// Without the library nothing is blended: the destination-sized area is copied.
BOOL WINAPI OwnAlphaBlend(HDC dc, int x, int y, int width, int height, HDC source, int srcX,
                          int srcY, int, int, BLENDFUNCTION) {
    return ::BitBlt(dc, x, y, width, height, source, srcX, srcY, SRCCOPY);
}

// The bitmap a memory DC holds before anything is selected into it.
HGDIOBJ DefaultBitmap() {
    static HGDIOBJ stock = [] {
        const CMemoryDC probe(nullptr);
        return ::GetCurrentObject(probe, OBJ_BITMAP);
    }();
    return stock;
}

// Mask-based transparent blit, without stretching.
BOOL WINAPI OwnTransparentBlt(HDC dc, int x, int y, int width, int height, HDC source, int srcX,
                              int srcY, int, int, UINT transparent) {
    HGDIOBJ sourceBitmap = ::GetCurrentObject(source, OBJ_BITMAP);
    BITMAP bm = {};
    if (!sourceBitmap || sourceBitmap == DefaultBitmap() ||
        !::GetObjectA(sourceBitmap, sizeof(bm), &bm))
        return FALSE;
    if (width <= 0 || height <= 0) return FALSE;

    // The mask is white where the source has the transparent colour. The bitmaps are made
    // first so that they outlive their selections.
    CBitmap mask, part, back;
    mask.Attach(::CreateBitmap(bm.bmWidth, bm.bmHeight, 1, 1, nullptr));
    part.CreateCompatibleBitmap(dc, width, height);
    back.CreateCompatibleBitmap(dc, width, height);
    CMemoryDC maskDC(dc), partDC(dc), backDC(dc);
    if (mask.IsNull() || part.IsNull() || back.IsNull() || !maskDC || !partDC || !backDC)
        return FALSE;
    CScopedSelection maskSelection(maskDC, mask);
    CScopedSelection partSelection(partDC, part);
    CScopedSelection backSelection(backDC, back);
    const COLORREF oldSourceBk = ::SetBkColor(source, transparent);
    ::BitBlt(maskDC, 0, 0, bm.bmWidth, bm.bmHeight, source, 0, 0, SRCCOPY);
    ::SetBkColor(source, oldSourceBk);
    // Mask bits reach colour bitmaps as black (0) and white (1).
    for (HDC temp : {partDC.GetSafeHdc(), backDC.GetSafeHdc()}) {
        ::SetTextColor(temp, RGB(0, 0, 0));
        ::SetBkColor(temp, RGB(255, 255, 255));
    }
    // part = NOT mask AND source; back = mask AND destination; part |= back.
    ::BitBlt(partDC, 0, 0, width, height, source, srcX, srcY, SRCCOPY);
    ::BitBlt(partDC, 0, 0, width, height, maskDC, srcX, srcY, 0x00220326 /* DSna */);
    ::BitBlt(backDC, 0, 0, width, height, dc, x, y, SRCCOPY);
    ::BitBlt(backDC, 0, 0, width, height, maskDC, srcX, srcY, SRCAND);
    ::BitBlt(partDC, 0, 0, width, height, backDC, 0, 0, SRCPAINT);
    return ::BitBlt(dc, x, y, width, height, partDC, 0, 0, SRCCOPY);
}

TRIVERTEX Vertex(LONG x, LONG y, COLORREF color) {
    TRIVERTEX v = {};
    v.x = x;
    v.y = y;
    v.Red = static_cast<COLOR16>(GetRValue(color) << 8);
    v.Green = static_cast<COLOR16>(GetGValue(color) << 8);
    v.Blue = static_cast<COLOR16>(GetBValue(color) << 8);
    v.Alpha = 0;
    return v;
}

// l × outer + (1 − l) × highlight per channel, truncated.
COLORREF Mix(COLORREF outer, COLORREF highlight, double l) {
    auto channel = [l](int o, int h) { return static_cast<int>(l * o + (1.0 - l) * h); };
    return RGB(channel(GetRValue(outer), GetRValue(highlight)),
               channel(GetGValue(outer), GetGValue(highlight)),
               channel(GetBValue(outer), GetBValue(highlight)));
}

} // namespace

CCoolDC::CCoolDC() : CCoolDC(nullptr) {}

CCoolDC::CCoolDC(HDC dc) : CDC(dc) {
    GetOSClass();
    LoadLibraryRoutines();
    ++g_state.living;
}

CCoolDC::~CCoolDC() {
    if (--g_state.living == 0) FreeLibraryRoutines();
}

int CCoolDC::GetOSClass() {
    if (g_state.forcedClass) return g_state.forcedClass;
    if (!g_state.osClass) g_state.osClass = ComputeOSClass();
    return g_state.osClass;
}

bool CCoolDC::UsesOwnGradientFill() {
    return !g_state.gradientFill || g_state.gradientFill == &OwnGradientFill;
}

bool CCoolDC::IsLibraryLoaded() {
    return g_state.library.IsValid();
}

int CCoolDC::LivingObjects() {
    return g_state.living;
}

void CCoolDC::ForceOSClass(int osClass) {
    g_state.forcedClass = osClass;
}

void CCoolDC::PretendLibraryMissing(bool missing) {
    g_state.pretendMissing = missing;
}

void CCoolDC::LoadLibraryRoutines() {
    if (g_state.gradientFill) return;
    g_state.library.Reset(g_state.pretendMissing ? nullptr : ::LoadLibraryA("msimg32.dll"));
    HMODULE library = g_state.library.Get();
    if (library) {
        g_state.gradientFill = LibraryProc(library, "GradientFill", &OwnGradientFill);
        g_state.alphaBlend = LibraryProc(library, "AlphaBlend", &OwnAlphaBlend);
        // Before the NT family our own transparent blit is used.
        g_state.transparentBlt = GetOSClass() == OSNT
                                     ? LibraryProc(library, "TransparentBlt", &OwnTransparentBlt)
                                     : &OwnTransparentBlt;
    } else {
        g_state.gradientFill = &OwnGradientFill;
        g_state.alphaBlend = &OwnAlphaBlend;
        g_state.transparentBlt = &OwnTransparentBlt;
    }
}

void CCoolDC::FreeLibraryRoutines() {
    g_state.library.Close();
    g_state.gradientFill = nullptr;
    g_state.alphaBlend = nullptr;
    g_state.transparentBlt = nullptr;
}

BOOL CCoolDC::GradientFill(TRIVERTEX* vertices, ULONG vertexCount, void* mesh, ULONG meshCount,
                           ULONG mode) {
    return g_state.gradientFill(m_hDC, vertices, vertexCount, mesh, meshCount, mode);
}

BOOL CCoolDC::AlphaBlend(int x, int y, int width, int height, HDC source, int srcX, int srcY,
                         int srcWidth, int srcHeight, BYTE alpha) {
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, 0};
    return g_state.alphaBlend(m_hDC, x, y, width, height, source, srcX, srcY, srcWidth, srcHeight,
                              blend);
}

BOOL CCoolDC::TransparentBlt(int x, int y, int width, int height, HDC source, int srcX, int srcY,
                             int srcWidth, int srcHeight, UINT transparent) {
    return g_state.transparentBlt(m_hDC, x, y, width, height, source, srcX, srcY, srcWidth,
                                  srcHeight, transparent);
}

int CCoolDC::FillLit(const RECT& rect, COLORREF outer, COLORREF highlight, POINT* light, int mode) {
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return 0;

    if (UsesOwnGradientFill()) {
        // Our gradient fill has no triangles: a cylinder lit along its middle line.
        const LONG middle = rect.top + height / 2;
        TRIVERTEX v[4] = {Vertex(rect.left, rect.top, outer), Vertex(rect.right, middle, highlight),
                          Vertex(rect.left, middle, highlight),
                          Vertex(rect.right, rect.bottom, outer)};
        GRADIENT_RECT mesh[2] = {{0, 1}, {2, 3}};
        return GradientFill(v, 4, mesh, 2, GRADIENT_FILL_RECT_V);
    }

    POINT p;
    if (light) {
        if (light->x <= rect.left + 2)
            light->x = rect.left + 2;
        else if (light->x >= rect.right - 2)
            light->x = rect.right - 2;
        if (light->y <= rect.top + 2)
            light->y = rect.top + 2;
        else if (light->y >= rect.bottom - 2)
            light->y = rect.bottom - 2;
        p = *light;
    } else {
        p = POINT{rect.left + width / 16 + 1, rect.top + height / 16 + 1};
    }

    if (mode == LitPyramid) {
        TRIVERTEX v[5] = {Vertex(rect.left, rect.top, outer), Vertex(rect.right, rect.top, outer),
                          Vertex(rect.right, rect.bottom, outer),
                          Vertex(rect.left, rect.bottom, outer), Vertex(p.x, p.y, highlight)};
        GRADIENT_TRIANGLE mesh[4] = {{4, 0, 1}, {4, 1, 2}, {4, 2, 3}, {4, 3, 0}};
        return GradientFill(v, 5, mesh, 4, GRADIENT_FILL_TRIANGLE);
    }

    const LONG midX = rect.left + width / 2, midY = rect.top + height / 2;
    const POINT outerPoints[8] = {{rect.left, rect.top},     {midX, rect.top},
                                  {rect.right, rect.top},    {rect.right, midY},
                                  {rect.right, rect.bottom}, {midX, rect.bottom},
                                  {rect.left, rect.bottom},  {rect.left, midY}};
    const double halfDiagonal = std::sqrt(double(width) * width + double(height) * height) / 2;
    TRIVERTEX v[9];
    for (int i = 0; i < 8; ++i) {
        const double dx = outerPoints[i].x - p.x, dy = outerPoints[i].y - p.y;
        const double l = std::min(1.0, std::sqrt(dx * dx + dy * dy) / halfDiagonal);
        v[i] = Vertex(outerPoints[i].x, outerPoints[i].y, Mix(outer, highlight, l));
    }
    v[8] = Vertex(p.x, p.y, highlight);
    GRADIENT_TRIANGLE mesh[8];
    for (ULONG i = 0; i < 8; ++i)
        mesh[i] = {8, i, (i + 1) % 8};
    return GradientFill(v, 9, mesh, 8, GRADIENT_FILL_TRIANGLE);
}
