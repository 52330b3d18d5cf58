// Device context. A CDC owns its DC: a memory DC it created (deleted by it) or a window's DC
// (released by it); CDCRef draws on a DC someone else owns, CPaintDC on the DC of a paint.
// Objects selected through SelectObject are deselected again before the DC goes. An object
// that may be deleted before the DC (declared after it) is selected with CScopedSelection.
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
    // None: no DC, or one that is not ours (CDCRef).
    enum class Kind { None, Memory, Window, Paint };
    // Deletes or releases an owned DC; a borrowed one is only let go.
    void Close();

    HDC m_hDC = nullptr;
    Kind m_kind = Kind::None;
    HWND m_window = nullptr;

private:
    HGDIOBJ m_oldPen = nullptr;
    HGDIOBJ m_oldBrush = nullptr;
    HGDIOBJ m_oldFont = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
};
