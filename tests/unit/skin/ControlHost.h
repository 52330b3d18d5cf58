// A plain top-level window to host skinned controls in tests: it stands in as the program's
// main window (recording status prompts), reflects notifications to its children as every
// framework window does, and paints a lit background like a skinned dialog.
#pragma once

#include "CoolColors.h"
#include "CoolDC.h"
#include "Bitmap.h"
#include "Font.h"
#include "FrameworkMessages.h"
#include "Pixels.h"
#include "Pump.h"
#include "WinApp.h"
#include "Wnd.h"

#include <memory>
#include <utility>
#include <vector>

class CSkinHost : public CWnd, public CoolColors {
public:
    static constexpr std::pair<int, COLORREF> kMainColors[] = {{Background, 0x504141},
                                                               {Text, 0xB9B9B9},
                                                               {Lum, 0xEB786E},
                                                               {SelLow, 0x005AFF},
                                                               {SelHigh, 0x00FF00}};

    std::vector<WPARAM> prompts;

    CSkinHost(int width, int height) {
        m_app.m_pMainWnd = this;
        for (const auto& slot : kMainColors)
            SetColor(slot.first, slot.second);
        const int x = 60, y = 60;
        CreateEx(WS_EX_TOPMOST, nullptr, "host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                 CRect(x, y, x + width, y + height), nullptr, 0);
        // A font without smoothing, so text pixels take exactly the text colour.
        LOGFONTA lf = {};
        lf.lfHeight = -13;
        lf.lfWeight = FW_BOLD;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = NONANTIALIASED_QUALITY;
        lstrcpynA(lf.lfFaceName, "Tahoma", LF_FACESIZE);
        font.CreateFontIndirect(lf);
        ::SetForegroundWindow(m_hWnd);
    }
    ~CSkinHost() override {
        m_app.m_pMainWnd = nullptr;
        DestroyWindow();
    }

    // The main window's colours at start, as the scheme messages carry them to a control,
    // and the test font.
    void Skin(HWND control, unsigned renderMode) {
        ::SendMessageA(control, WM_COOL_SETRENDERMODE, 0, RenderDeriveShades);
        for (const auto& slot : kMainColors)
            ::SendMessageA(control, WM_COOL_SETCOLOR, slot.first, slot.second);
        ::SendMessageA(control, WM_COOL_SETRENDERMODE, 0, renderMode);
        ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(HFONT(font)), 0);
        ::InvalidateRect(control, nullptr, TRUE);
    }
    CFont font;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_SETMESSAGESTRING:
            prompts.push_back(wParam);
            return 0;
        case WM_ERASEBKGND: {
            HDC target = reinterpret_cast<HDC>(wParam);
            RECT r;
            ::GetClientRect(m_hWnd, &r);
            CBitmap image;
            image.CreateCompatibleBitmap(target, r.right, r.bottom);
            CCoolMemoryDC dc(target);
            CScopedSelection selection(dc, image);
            POINT light = {r.right / 3, r.bottom / 4};
            dc.FillLit(r, GetColor(Shadow), GetColor(Light), &light);
            ::BitBlt(target, 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
            return 1;
        }
        default:
            return CWnd::WindowProc(message, wParam, lParam);
        }
    }

private:
    CWinApp m_app;
};

// Real mouse input at a point on the screen.
inline void MouseTo(POINT screen) {
    ::SetCursorPos(screen.x, screen.y);
    ::mouse_event(MOUSEEVENTF_MOVE, 0, 0, 0, 0);
}
inline void MouseButton(bool down) {
    ::mouse_event(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
}

inline POINT ClientToScreenPoint(HWND window, int x, int y) {
    POINT p = {x, y};
    ::ClientToScreen(window, &p);
    return p;
}

inline int CountColor(const PixelImage& image, const RECT& r, COLORREF color) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += image.At(x, y) == color;
    return n;
}
