// Level meter repaint benchmark: one vertical stereo CAudioSlider of 100 x 300 pixels painted
// many times in two ways, as time per paint:
//   level - only the meter levels changed (what a running meter does 20 times a second)
//   full  - everything dirty (a colour changed: every cached image is rebuilt)
// against the floor: a plain child window of the same size whose paint is one BitBlt from a
// memory bitmap, the least any repaint of that area costs. It prints the ratios level / floor
// and level / full. Usage: slider_bench [level paints] [full paints].
#include "AudioSlider.h"
#include "CoolDC.h"
#include "Wnd.h"

#include <cstdio>
#include <cstdlib>

namespace {
double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

void Report(const char* what, int paints, double seconds) {
    std::printf("%-6s %10.1f us/paint  (%d paints, %.3f s)\n", what, seconds * 1e6 / paints, paints,
                seconds);
}

void Paint(CWnd& wnd) {
    wnd.Invalidate(false);
    wnd.UpdateWindow();
}

// The floor: a child window that paints by copying one memory bitmap of its size.
class FloorWindow {
public:
    FloorWindow(HWND parent, const RECT& rect) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = &FloorWindow::Procedure;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "slider bench floor";
        ::RegisterClassA(&windowClass);
        m_width = rect.right - rect.left;
        m_height = rect.bottom - rect.top;
        HDC screen = ::GetDC(nullptr);
        m_memory = ::CreateCompatibleDC(screen);
        m_bitmap = ::CreateCompatibleBitmap(screen, m_width, m_height);
        ::ReleaseDC(nullptr, screen);
        m_old = ::SelectObject(m_memory, m_bitmap);
        ::PatBlt(m_memory, 0, 0, m_width, m_height, WHITENESS);
        m_window = ::CreateWindowExA(0, windowClass.lpszClassName, "", WS_CHILD | WS_VISIBLE,
                                     rect.left, rect.top, m_width, m_height, parent, nullptr,
                                     windowClass.hInstance, this);
    }
    ~FloorWindow() {
        if (m_window) ::DestroyWindow(m_window);
        ::SelectObject(m_memory, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_memory);
    }
    bool Created() const { return m_window != nullptr; }
    void Paint() {
        ::InvalidateRect(m_window, nullptr, FALSE);
        ::UpdateWindow(m_window);
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
            ::SetWindowLongPtrA(window, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<FloorWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message == WM_ERASEBKGND) return 1;
        if (message == WM_PAINT && self) {
            PAINTSTRUCT paint;
            HDC dc = ::BeginPaint(window, &paint);
            ::BitBlt(dc, 0, 0, self->m_width, self->m_height, self->m_memory, 0, 0, SRCCOPY);
            ::EndPaint(window, &paint);
            return 0;
        }
        return ::DefWindowProcA(window, message, wParam, lParam);
    }

    HWND m_window = nullptr;
    HDC m_memory = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    int m_width = 0, m_height = 0;
};
} // namespace

int main(int argc, char** argv) {
    const int levelPaints = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int fullPaints = argc > 2 ? std::atoi(argv[2]) : 500;
    if (levelPaints <= 0 || fullPaints <= 0) {
        std::fprintf(stderr, "usage: slider_bench [level paints] [full paints]\n");
        return 2;
    }
    // The program's skinned main window holds a drawing context for its whole life, so the
    // system drawing library stays loaded between paints; so does this one.
    CCoolDC windowLife(nullptr);
    CWnd host;
    if (!host.CreateEx(0, nullptr, "slider bench", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                       CRect(0, 0, 260, 340), nullptr, 0))
        return 1;
    FloorWindow floorWindow(host.m_hWnd, CRect(140, 20, 240, 320));
    if (!floorWindow.Created()) return 1;
    floorWindow.Paint();
    CAudioSlider slider;
    if (!slider.Create(WS_CHILD | WS_VISIBLE | TBS_VERT | TBS_ENABLESELRANGE | TBS_BOTH |
                           TBS_AUTOTICKS,
                       CRect(20, 20, 120, 320), host, 1))
        return 1;
    slider.SetRange(0, 100);
    slider.SetTicFreq(10);
    slider.SetOption(CAudioSlider::Stereo | CAudioSlider::ShowPeak, true);
    Paint(slider);

    // Rounds of both kinds in turn, so that a busy machine weighs on both alike.
    constexpr int kRounds = 5;
    double level = 0, full = 0, floor = 0;
    int levelDone = 0, fullDone = 0;
    for (int round = 0; round < kRounds; ++round) {
        const int levels = levelPaints * (round + 1) / kRounds - levelPaints * round / kRounds;
        const int fulls = fullPaints * (round + 1) / kRounds - fullPaints * round / kRounds;
        double start = Now();
        for (int i = 0; i < levels; ++i, ++levelDone) {
            slider.SetLevels(20 + levelDone % 60, 80 - levelDone % 60);
            slider.SetPeak(10 + levelDone % 10);
            // The slider invalidates what the new levels change, as under a running meter.
            slider.UpdateWindow();
        }
        level += Now() - start;
        start = Now();
        for (int i = 0; i < levels; ++i)
            floorWindow.Paint();
        floor += Now() - start;
        start = Now();
        for (int i = 0; i < fulls; ++i, ++fullDone) {
            // Every colour change drops every cached image.
            slider.SendMessage(WM_COOL_SETCOLOR, CoolColors::Lum,
                               (fullDone & 1) ? 0xEB786E : 0xEB786F);
            Paint(slider);
        }
        full += Now() - start;
    }
    Report("level", levelPaints, level);
    Report("floor", levelPaints, floor);
    Report("full", fullPaints, full);
    level /= levelPaints;
    floor /= levelPaints;
    full /= fullPaints;
    std::printf("floor  %10.3f  (level / floor)\n", floor > 0 ? level / floor : 0.0);
    std::printf("ratio  %10.3f  (level / full)\n", full > 0 ? level / full : 0.0);
    return 0;
}
