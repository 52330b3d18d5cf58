// Device context. A CDC either borrows a DC (never released by it), creates a memory DC
// (deleted by it) or gets a window's DC (released by it). Objects selected through it are
// deselected again before the DC goes, so no GDI object is left selected into a dead DC.
#pragma once

#include "Platform.h"
#include "Rect.h"

#include <string>

class CDC {
public:
    CDC() = default;
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // Uses a DC that someone else owns.
    void AttachBorrowed(HDC dc);
    bool CreateCompatibleDC(HDC reference);
    bool GetDC(HWND window);

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    // Selection; the first object replaced of each kind is put back at the end.
    HGDIOBJ SelectObject(HGDIOBJ object);
    HGDIOBJ SelectStockObject(int index) { return SelectObject(::GetStockObject(index)); }
    void RestoreSelections();

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
    enum class Kind { None, Borrowed, Memory, Window, Paint };
    void Release();

    HDC m_hDC = nullptr;
    Kind m_kind = Kind::None;
    HWND m_window = nullptr;

private:
    HGDIOBJ m_oldPen = nullptr;
    HGDIOBJ m_oldBrush = nullptr;
    HGDIOBJ m_oldFont = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
};
