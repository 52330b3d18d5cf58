// A top-level window that hosts skinned controls the way a skinned dialog does: it paints a
// cached background (flat Background, or lit), gives that background to see-through children,
// passes scheme changes on to them, and records the scroll messages it receives.
#pragma once

#include "CoolBitmap.h"
#include "CoolColors.h"
#include "CoolDC.h"
#include "Pixels.h"
#include "Pump.h"
#include "SchemePropagation.h"
#include "Wnd.h"

#include <memory>
#include <vector>

class SkinHost : public CWnd, public CoolColors {
public:
    struct Scroll {
        UINT message;
        WPARAM wParam;
        HWND from;
    };
    std::vector<Scroll> scrolls;
    bool lit = false;
    HFONT font = nullptr; // answered to WM_GETFONT, as a dialog gives its font

    explicit SkinHost(int width = 320, int height = 340, bool litBackground = false)
        : lit(litBackground) {
        CreateEx(WS_EX_TOPMOST, nullptr, "skin host", WS_POPUP | WS_CLIPCHILDREN,
                 CRect(40, 40, 40 + width, 40 + height), nullptr, 0);
    }
    // Shows the window in front, so that real mouse input reaches it, and paints everything.
    void Show() {
        ShowWindow(SW_SHOW);
        ::SetForegroundWindow(m_hWnd);
        ::RedrawWindow(m_hWnd, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpPending();
    }
    // Passes the whole scheme to the children, as a skinned dialog does after a change.
    void Propagate() {
        PassSchemeToChildren(m_hWnd, *this);
        ::RedrawWindow(m_hWnd, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }

    int GetBackgroundBitmap(CCoolBitmap** out) override {
        if (!out) return 0;
        *out = BackgroundImage();
        return 1;
    }
    int GetScreenRect(RECT* out) override {
        if (!out) return 0;
        *out = GetClientRect();
        ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(out), 2);
        return 1;
    }
    void OnColorsChanged() override { m_background.reset(); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        LRESULT result = 0;
        if (HandleSchemeMessage(message, wParam, lParam, &result, Role::Window)) return result;
        switch (message) {
        case WM_ERASEBKGND:
            if (CCoolBitmap* bg = BackgroundImage()) bg->Draw(reinterpret_cast<HDC>(wParam), 0, 0);
            return 1;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font);
        case WM_HSCROLL:
        case WM_VSCROLL:
            scrolls.push_back({message, wParam, reinterpret_cast<HWND>(lParam)});
            return 0;
        default:
            return CWnd::WindowProc(message, wParam, lParam);
        }
    }

private:
    CCoolBitmap* BackgroundImage() {
        if (m_background) return m_background.get();
        const CRect r = GetClientRect();
        CWindowDC screen(nullptr);
        auto bg = std::make_unique<CCoolBitmap>();
        if (!bg->CreateCompatibleBitmap(screen, r.Width(), r.Height())) return nullptr;
        {
            CCoolMemoryDC dc(screen);
            CScopedSelection selection(dc, *bg);
            if (lit) {
                POINT light = GetLightPoint();
                dc.FillLit(r, GetColor(Shadow), GetColor(Light), &light);
            } else {
                dc.FillSolidRect(r, GetColor(Background));
            }
        }
        m_background = std::move(bg);
        return m_background.get();
    }
    std::unique_ptr<CCoolBitmap> m_background;
};

// Real mouse input at a screen point.
inline void MouseTo(POINT screen) {
    ::SetCursorPos(screen.x, screen.y);
}
inline void MouseButton(DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof(input));
}
inline POINT ScreenPoint(HWND window, int x, int y) {
    POINT p = {x, y};
    ::ClientToScreen(window, &p);
    return p;
}
