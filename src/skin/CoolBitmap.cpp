#include "CoolBitmap.h"

#include "CoolDC.h"

#include <new>

CCoolBitmap::CCoolBitmap() = default;

// The base class deletes what is still held.
CCoolBitmap::~CCoolBitmap() = default;

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
    return bitmap;
}

void CCoolBitmap::DeleteObject() {
    CGdiObject::DeleteObject();
    FreeSavedBits();
    m_bm = {};
}

bool CCoolBitmap::CreateCompatibleBitmap(HDC dc, int width, int height) {
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
