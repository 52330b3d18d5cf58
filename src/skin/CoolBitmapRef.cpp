#include "CoolBitmapRef.h"

#include "CoolDC.h"
#include "ScopedSelection.h"

namespace {

// Selects a bitmap into a memory DC compatible with a target DC for one copy.
class SourceDC {
public:
    SourceDC(HDC reference, HBITMAP bitmap) : m_dc(reference), m_selection(m_dc, bitmap) {}
    bool ok() const { return m_dc && m_selection; }
    HDC get() const { return m_dc; }

private:
    CMemoryDC m_dc;
    CScopedSelection m_selection;
};

} // namespace

BITMAP CCoolBitmapRef::Description() const {
    BITMAP bm = {};
    if (m_handle) ::GetObjectA(m_handle, sizeof(bm), &bm);
    return bm;
}

int CCoolBitmapRef::Width() const {
    return Description().bmWidth;
}

int CCoolBitmapRef::Height() const {
    return Description().bmHeight;
}

int CCoolBitmapRef::BitsPixel() const {
    return Description().bmBitsPixel;
}

bool CCoolBitmapRef::Draw(HDC dc, int x, int y, int width, int height, int srcX, int srcY,
                          int srcWidth, int srcHeight, DWORD rop) const {
    if (!m_handle) return false;
    const BITMAP bm = Description();
    const int bw = bm.bmWidth, bh = bm.bmHeight;
    if (!width && !height && !srcX && !srcY && !srcWidth && !srcHeight) {
        width = srcWidth = bw;
        height = srcHeight = bh;
    } else {
        if (!width) width = bw - x;
        if (!height) height = bh - y;
        if (!srcWidth) srcWidth = bw - srcX;
        if (!srcHeight) srcHeight = bh - srcY;
    }
    SourceDC source(dc, m_handle);
    if (!source.ok()) return false;
    if (width == srcWidth && height == srcHeight)
        return ::BitBlt(dc, x, y, width, height, source.get(), srcX, srcY, rop) != FALSE;
    const int oldMode = ::SetStretchBltMode(dc, COLORONCOLOR);
    const bool ok = ::StretchBlt(dc, x, y, width, height, source.get(), srcX, srcY, srcWidth,
                                 srcHeight, rop) != FALSE;
    if (oldMode) ::SetStretchBltMode(dc, oldMode);
    return ok;
}

bool CCoolBitmapRef::Draw(HDC dc, const RECT& dest, const RECT& src, DWORD rop) const {
    return Draw(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, src.left,
                src.top, src.right - src.left, src.bottom - src.top, rop);
}

bool CCoolBitmapRef::DrawTransparent(CCoolDC& dc, int x, int y, COLORREF transparent) const {
    if (!m_handle) return false;
    const BITMAP bm = Description();
    SourceDC source(dc, m_handle);
    if (!source.ok()) return false;
    return dc.TransparentBlt(x, y, bm.bmWidth, bm.bmHeight, source.get(), 0, 0, bm.bmWidth,
                             bm.bmHeight, transparent) != FALSE;
}

bool CCoolBitmapRef::DrawAlpha(CCoolDC& dc, BYTE alpha, int x, int y, int width, int height,
                               int srcX, int srcY, int srcWidth, int srcHeight) const {
    if (!m_handle) return false;
    const BITMAP bm = Description();
    if (!width) width = bm.bmWidth;
    if (!height) height = bm.bmHeight;
    if (!srcWidth) srcWidth = bm.bmWidth;
    if (!srcHeight) srcHeight = bm.bmHeight;
    SourceDC source(dc, m_handle);
    if (!source.ok()) return false;
    return dc.AlphaBlend(x, y, width, height, source.get(), srcX, srcY, srcWidth, srcHeight,
                         alpha) != FALSE;
}
