// A cached off-screen bitmap. On the NT family it simply holds its GDI handle. On older
// systems GDI bitmaps are a scarce resource, so after each use the bitmap gives its handle
// back: its bits are kept in memory and the bitmap is recreated before the next use.
// A CCoolBitmap owns its bitmap; someone else's bitmap is drawn through CCoolBitmapRef.
#pragma once

#include "Bitmap.h"
#include "CoolBitmapRef.h"

#include <memory>

class CCoolDC;

class CCoolBitmap : public CBitmap {
public:
    CCoolBitmap();
    ~CCoolBitmap() override;
    CCoolBitmap(const CCoolBitmap&) = delete;
    CCoolBitmap& operator=(const CCoolBitmap&) = delete;

    // Replaces (and deletes) what was held before, saved bits included.
    void Attach(HBITMAP bitmap) override;
    HBITMAP Detach() override;
    void DeleteObject() override;
    // An image to compose off-screen and copy to dc. For a window's DC on a display of 32 bits
    // per pixel, or a memory DC holding a 32-bit bitmap, it is a 32-bit DIB section, black
    // like a new compatible bitmap: no question to the display about its format when it is
    // made or selected (under Wine each is several round trips to the server). A DIB section
    // let go is kept for the next image of its size (a colour change rebuilds every image at
    // once, and fresh pixel memory costs a page fault per page). Elsewhere the system's
    // compatible bitmap.
    bool CreateCompatibleBitmap(HDC dc, int width, int height);
    // The display's new depth, as WM_DISPLAYCHANGE gives it; 0 has it asked again.
    static void SetDisplayBitsPerPixel(int bitsPerPixel);
    bool CreateDIBSection32(HDC dc, int width, int height, void** bits = nullptr);
    bool LoadBitmap(HINSTANCE instance, UINT id);
    bool LoadBitmap(HINSTANCE instance, const char* name);

    // True when there is no bitmap, neither live nor saved.
    bool IsEmpty() const { return !m_handle && !m_savedBits; }

    int Width() const;
    int Height() const;
    int BitsPixel() const;

    // Recreates the GDI bitmap from the saved bits before a use; nothing happens when the
    // handle is live or nothing was saved. False when there is no bitmap afterwards.
    bool RestoreHandle();
    // Gives the handle back after a use (below the NT family only).
    // The bits are saved the first time and again when refresh says that the bitmap was
    // drawn into. The bitmap must not be selected into a DC.
    void ReleaseHandle(bool refresh = false);

    // Copies (a part of) the bitmap. Zero sizes reach the bitmap's edge; all sizes and the
    // source origin zero copy the whole bitmap to (x, y). Equal sizes blit, others stretch.
    bool Draw(HDC dc, int x, int y, int width = 0, int height = 0, int srcX = 0, int srcY = 0,
              int srcWidth = 0, int srcHeight = 0, DWORD rop = SRCCOPY);
    bool Draw(HDC dc, const RECT& dest, const RECT& src, DWORD rop = SRCCOPY);
    // The whole bitmap with one colour left out.
    bool DrawTransparent(CCoolDC& dc, int x, int y, COLORREF transparent);
    // Blended with a constant alpha; zero sizes mean the bitmap's size.
    bool DrawAlpha(CCoolDC& dc, BYTE alpha, int x, int y, int width = 0, int height = 0,
                   int srcX = 0, int srcY = 0, int srcWidth = 0, int srcHeight = 0);

private:
    void ReadDescription() const;
    void FreeSavedBits();
    bool MustGiveHandleBack() const;

    // Width, height, bytes per line, planes, bits per pixel; bmBits points at the saved bits.
    mutable BITMAP m_bm = {};
    std::unique_ptr<BYTE[]> m_savedBits;
    // The handle is a DIB section that goes back to the kept ones when it is let go.
    bool m_reusable = false;
};
