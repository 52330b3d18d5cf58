#include "CoolBitmap.h"

#include "CoolDC.h"

#include <cstring>
#include <mutex>
#include <new>
#include <vector>

namespace {

// The display's bits per pixel, once asked; 0 until then.
int g_displayBits = 0;

// True when a 32-bit DIB section serves as a bitmap compatible with dc.
bool TakesTrueColour(HDC dc) {
    switch (::GetObjectType(dc)) {
    case OBJ_DC:
        // A window's DC (the screen's is the desktop window's); a DC of another device
        // (CreateDC) has no window.
        if (!::WindowFromDC(dc)) return false;
        if (!g_displayBits) g_displayBits = ::GetDeviceCaps(dc, BITSPIXEL);
        return g_displayBits == 32;
    case OBJ_MEMDC: {
        BITMAP bm = {};
        return ::GetObjectA(::GetCurrentObject(dc, OBJ_BITMAP), sizeof(bm), &bm) != 0 &&
               bm.bmBitsPixel == 32;
    }
    default:
        return false;
    }
}

// DIB sections let go by images, for the next image of the same size. It lives as long as the
// process (images in static objects may go after everything else), whose end frees what it
// still holds.
class KeptImages {
public:
    // Keeps bitmap unless it is still selected into a DC or there is no room; false then.
    bool Keep(HBITMAP bitmap) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        DIBSECTION dib = {};
        if (::GetObjectA(bitmap, sizeof(dib), &dib) != sizeof(dib) || !dib.dsBm.bmBits)
            return false;
        const size_t bytes = size_t(dib.dsBm.bmWidthBytes) * size_t(dib.dsBm.bmHeight);
        if (m_bytes + bytes > kMaxBytes) return false;
        // A bitmap selected elsewhere cannot be selected here: it is still in use.
        if (!m_probe) m_probe = ::CreateCompatibleDC(nullptr);
        HGDIOBJ previous = m_probe ? ::SelectObject(m_probe, bitmap) : nullptr;
        if (!previous) return false;
        ::SelectObject(m_probe, previous);
        m_kept.push_back({bitmap, dib.dsBm.bmBits, dib.dsBm.bmWidth, dib.dsBm.bmHeight, bytes});
        m_bytes += bytes;
        return true;
    }
    // A kept bitmap of this size, cleared to black; null when there is none.
    HBITMAP Take(int width, int height) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        for (size_t i = 0; i < m_kept.size(); ++i) {
            const Kept kept = m_kept[i];
            if (kept.width != width || kept.height != height) continue;
            m_kept.erase(m_kept.begin() + static_cast<std::ptrdiff_t>(i));
            m_bytes -= kept.bytes;
            ::GdiFlush();
            std::memset(kept.bits, 0, kept.bytes);
            return kept.bitmap;
        }
        return nullptr;
    }

private:
    static constexpr size_t kMaxBytes = size_t(8) << 20;
    struct Kept {
        HBITMAP bitmap;
        void* bits;
        int width;
        int height;
        size_t bytes;
    };
    std::vector<Kept> m_kept;
    size_t m_bytes = 0;
    HDC m_probe = nullptr;
    std::mutex m_mutex;
};

KeptImages& TheKeptImages() {
    static KeptImages* const kept = new KeptImages;
    return *kept;
}

} // namespace

CCoolBitmap::CCoolBitmap() = default;

CCoolBitmap::~CCoolBitmap() {
    DeleteObject();
}

void CCoolBitmap::Attach(HBITMAP bitmap) {
    if (bitmap && bitmap == m_handle) return;
    DeleteObject();
    m_handle = bitmap;
    ReadDescription();
}

HBITMAP CCoolBitmap::Detach() {
    RestoreHandle();
    HBITMAP bitmap = CGdiObject::Detach();
    FreeSavedBits();
    m_bm = {};
    m_reusable = false;
    return bitmap;
}

void CCoolBitmap::DeleteObject() {
    if (m_reusable && m_handle && TheKeptImages().Keep(m_handle)) m_handle = nullptr;
    m_reusable = false;
    CGdiObject::DeleteObject();
    FreeSavedBits();
    m_bm = {};
}

void CCoolBitmap::SetDisplayBitsPerPixel(int bitsPerPixel) {
    g_displayBits = bitsPerPixel;
}

bool CCoolBitmap::CreateCompatibleBitmap(HDC dc, int width, int height) {
    DeleteObject();
    if (width > 0 && height > 0 && TakesTrueColour(dc)) {
        if (HBITMAP kept = TheKeptImages().Take(width, height))
            Attach(kept);
        else
            CBitmap::CreateDIBSection32(dc, width, height);
        m_reusable = !IsNull();
        if (m_reusable) return true;
    }
    Attach(::CreateCompatibleBitmap(dc, width, height));
    return !IsNull();
}

bool CCoolBitmap::CreateDIBSection32(HDC dc, int width, int height, void** bits) {
    DeleteObject();
    const bool ok = CBitmap::CreateDIBSection32(dc, width, height, bits);
    ReadDescription();
    return ok;
}

bool CCoolBitmap::LoadBitmap(HINSTANCE instance, UINT id) {
    return LoadBitmap(instance, MAKEINTRESOURCEA(id));
}

bool CCoolBitmap::LoadBitmap(HINSTANCE instance, const char* name) {
    Attach(::LoadBitmapA(instance, name));
    return !IsNull();
}

void CCoolBitmap::ReadDescription() const {
    if (!m_handle) return;
    BITMAP bm = {};
    if (!::GetObjectA(m_handle, sizeof(bm), &bm)) return;
    bm.bmBits = m_savedBits.get();
    m_bm = bm;
}

int CCoolBitmap::Width() const {
    ReadDescription();
    return m_bm.bmWidth;
}

int CCoolBitmap::Height() const {
    ReadDescription();
    return m_bm.bmHeight;
}

int CCoolBitmap::BitsPixel() const {
    ReadDescription();
    return m_bm.bmBitsPixel;
}

void CCoolBitmap::FreeSavedBits() {
    m_savedBits.reset();
    m_bm.bmBits = nullptr;
}

bool CCoolBitmap::MustGiveHandleBack() const {
    return CCoolDC::GetOSClass() < CCoolDC::OSNT;
}

bool CCoolBitmap::RestoreHandle() {
    if (m_handle) return true;
    if (!m_savedBits) return false;
    BITMAP bm = m_bm;
    bm.bmBits = m_savedBits.get();
    m_handle = ::CreateBitmapIndirect(&bm);
    return m_handle != nullptr;
}

void CCoolBitmap::ReleaseHandle(bool refresh) {
    if (!m_handle || !MustGiveHandleBack()) return;
    ReadDescription();
    // The layout of device-dependent bits: rows padded to whole 16-bit words.
    m_bm.bmWidthBytes = ((m_bm.bmWidth * m_bm.bmBitsPixel + 15) / 16) * 2;
    const LONG size = m_bm.bmWidthBytes * m_bm.bmHeight;
    if (size <= 0) return;
    if (!m_savedBits || refresh) {
        std::unique_ptr<BYTE[]> bits(new (std::nothrow) BYTE[static_cast<size_t>(size)]);
        // Without a complete copy the handle stays: nothing may be lost.
        if (!bits || ::GetBitmapBits(m_handle, size, bits.get()) != size) return;
        m_savedBits = std::move(bits);
        m_bm.bmBits = m_savedBits.get();
    }
    // A bitmap still selected into a DC cannot be deleted; then it stays live.
    if (!::DeleteObject(m_handle)) return;
    m_handle = nullptr;
}

bool CCoolBitmap::Draw(HDC dc, int x, int y, int width, int height, int srcX, int srcY,
                       int srcWidth, int srcHeight, DWORD rop) {
    if (!RestoreHandle()) return false;
    const bool ok = CCoolBitmapRef(m_handle).Draw(dc, x, y, width, height, srcX, srcY, srcWidth,
                                                  srcHeight, rop);
    ReleaseHandle();
    return ok;
}

bool CCoolBitmap::Draw(HDC dc, const RECT& dest, const RECT& src, DWORD rop) {
    return Draw(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, src.left,
                src.top, src.right - src.left, src.bottom - src.top, rop);
}

bool CCoolBitmap::DrawTransparent(CCoolDC& dc, int x, int y, COLORREF transparent) {
    if (!RestoreHandle()) return false;
    const bool ok = CCoolBitmapRef(m_handle).DrawTransparent(dc, x, y, transparent);
    ReleaseHandle();
    return ok;
}

bool CCoolBitmap::DrawAlpha(CCoolDC& dc, BYTE alpha, int x, int y, int width, int height, int srcX,
                            int srcY, int srcWidth, int srcHeight) {
    if (!RestoreHandle()) return false;
    const bool ok = CCoolBitmapRef(m_handle).DrawAlpha(dc, alpha, x, y, width, height, srcX, srcY,
                                                       srcWidth, srcHeight);
    ReleaseHandle();
    return ok;
}
