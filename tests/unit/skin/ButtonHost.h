// A top-level test window that hosts skinned buttons: it shows a background bitmap of its
// own, answers the background questions when asked to, answers the scheme messages while
// skinned, and records the notification codes its children send.
#pragma once

#include "CoolBitmap.h"
#include "CoolColors.h"
#include "CoolDC.h"
#include "Pixels.h"
#include "Wnd.h"

#include <functional>
#include <vector>

class CButtonHost : public CWnd, public CoolColors {
public:
    bool skinned = false;       // answers the scheme messages, the background ones included
    std::vector<WORD> commands; // WM_COMMAND codes from children, in order
    CCoolBitmap background;

    bool Open(const RECT& screen) {
        return CreateEx(WS_EX_TOPMOST, nullptr, "host", WS_POPUP | WS_VISIBLE, screen, nullptr, 0);
    }
    // Fills the background bitmap pixel by pixel.
    void Fill(const std::function<COLORREF(int x, int y)>& color) {
        const CRect client = GetClientRect();
        CWindowDC screen(nullptr);
        void* bits = nullptr;
        background.CreateDIBSection32(screen, client.Width(), client.Height(), &bits);
        auto* p = static_cast<DWORD*>(bits);
        for (int y = 0; y < client.Height(); ++y)
            for (int x = 0; x < client.Width(); ++x) {
                const COLORREF c = color(x, y);
                p[y * client.Width() + x] = GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
            }
        Invalidate();
    }
    // Draws on the background bitmap.
    void Draw(const std::function<void(CCoolDC& dc, const CRect& client)>& paint) {
        const CRect client = GetClientRect();
        Fill([](int, int) { return RGB(0, 0, 0); });
        CCoolMemoryDC dc(nullptr);
        CScopedSelection selection(dc, background.GetSafeHandle());
        paint(dc, client);
    }

    int GetBackgroundBitmap(CCoolBitmap** out) override {
        if (out) *out = background.IsEmpty() ? nullptr : &background;
        return out && !background.IsEmpty() ? 1 : 0;
    }
    int GetScreenRect(RECT* out) override {
        if (!out) return 0;
        ::GetClientRect(m_hWnd, out);
        ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(out), 2);
        return 1;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        LRESULT result = 0;
        if (skinned && HandleSchemeMessage(message, wParam, lParam, &result, Role::Window))
            return result;
        switch (message) {
        case WM_COMMAND:
            commands.push_back(HIWORD(wParam));
            return 0;
        case WM_ERASEBKGND:
            if (background.IsEmpty()) break;
            return 1;
        case WM_PAINT:
            if (background.IsEmpty()) break;
            {
                PAINTSTRUCT ps;
                HDC dc = ::BeginPaint(m_hWnd, &ps);
                background.Draw(dc, 0, 0);
                ::EndPaint(m_hWnd, &ps);
            }
            return 0;
        default:
            break;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// Paints a window now and reads its client area back.
inline PixelImage Shot(CWnd& wnd) {
    wnd.Invalidate();
    wnd.UpdateWindow();
    return CaptureClient(wnd.m_hWnd);
}
