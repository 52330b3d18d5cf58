// A bitmap someone else owns, drawn the way CCoolBitmap draws: never deleted, never given
// back. It is not a CBitmap, so it cannot end up where an owned bitmap is deleted.
#pragma once

#include "Platform.h"

class CCoolDC;

class CCoolBitmapRef {
public:
    CCoolBitmapRef() = default;
    explicit CCoolBitmapRef(HBITMAP bitmap) : m_handle(bitmap) {}

    HBITMAP GetSafeHandle() const { return m_handle; }
    operator HBITMAP() const { return m_handle; }
    bool IsEmpty() const { return m_handle == nullptr; }

    int Width() const;
    int Height() const;
    int BitsPixel() const;

    // Copies (a part of) the bitmap. Zero sizes reach the bitmap's edge; all sizes and the
    // source origin zero copy the whole bitmap to (x, y). Equal sizes blit, others stretch.
    bool Draw(HDC dc, int x, int y, int width = 0, int height = 0, int srcX = 0, int srcY = 0,
              int srcWidth = 0, int srcHeight = 0, DWORD rop = SRCCOPY) const;
    bool Draw(HDC dc, const RECT& dest, const RECT& src, DWORD rop = SRCCOPY) const;
    // The whole bitmap with one colour left out.
    bool DrawTransparent(CCoolDC& dc, int x, int y, COLORREF transparent) const;
    // Blended with a constant alpha; zero sizes mean the bitmap's size.
    bool DrawAlpha(CCoolDC& dc, BYTE alpha, int x, int y, int width = 0, int height = 0,
                   int srcX = 0, int srcY = 0, int srcWidth = 0, int srcHeight = 0) const;

private:
    BITMAP Description() const;

    HBITMAP m_handle = nullptr;
};
