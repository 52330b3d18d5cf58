// Drawing on a device context. A CDC made on a handle borrows it: the DC of WM_DRAWITEM,
// WM_ERASEBKGND or WM_CTLCOLOR*, or a DC passed to a drawing helper; it is never deleted nor
// released through it. DCs of our own are made by the owning kinds, which derive from the
// surface they draw with: CMemoryDCOf (a memory DC), CWindowDCOf (a window's or the screen's
// DC) and CPaintDCOf (the DC of one paint). Objects are selected with CScopedSelection,
// declared after the DC, so each is put back before the DC goes.
#pragma once

#include "Platform.h"
#include "Rect.h"
#include "ScopedSelection.h"

#include <string>

class CDC {
public:
    explicit CDC(HDC dc) : m_hDC(dc) {}
    virtual ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
    COLORREF SetBkColor(COLORREF c) { return ::SetBkColor(m_hDC, c); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    void FillSolidRect(const RECT& r, COLORREF color);
    void FillRect(const RECT& r, HBRUSH brush) { ::FillRect(m_hDC, &r, brush); }
    void FrameRect(const RECT& r, HBRUSH brush) { ::FrameRect(m_hDC, &r, brush); }
    void Draw3dRect(const RECT& r, COLORREF topLeft, COLORREF bottomRight);
    bool MoveTo(int x, int y) { return ::MoveToEx(m_hDC, x, y, nullptr) != FALSE; }
    bool LineTo(int x, int y) { return ::LineTo(m_hDC, x, y) != FALSE; }
    int DrawText(const std::string& text, RECT& r, UINT format) {
        return ::DrawTextA(m_hDC, text.c_str(), static_cast<int>(text.size()), &r, format);
    }
    bool TextOut(int x, int y, const std::string& text) {
        return ::TextOutA(m_hDC, x, y, text.c_str(), static_cast<int>(text.size())) != FALSE;
    }
    SIZE GetTextExtent(const std::string& text) const;
    bool BitBlt(int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop = SRCCOPY) {
        return ::BitBlt(m_hDC, x, y, w, h, src, sx, sy, rop) != FALSE;
    }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    COLORREF SetPixel(int x, int y, COLORREF c) { return ::SetPixel(m_hDC, x, y, c); }

protected:
    // For the owning kinds, which set the handle once they have it.
    CDC() = default;

    HDC m_hDC = nullptr;
};
