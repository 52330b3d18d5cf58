// Level meter repaint benchmark: one vertical stereo CAudioSlider of 100 x 300 pixels painted
// many times in two ways, as time per paint:
//   level - only the meter levels changed (what a running meter does 20 times a second)
//   full  - everything dirty (a colour changed: every cached image is rebuilt)
// and the ratio level / full. Usage: slider_bench [level paints] [full paints].
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
                       CRect(0, 0, 140, 340), nullptr, 0))
        return 1;
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
    double level = 0, full = 0;
    int levelDone = 0, fullDone = 0;
    for (int round = 0; round < kRounds; ++round) {
        const int levels = levelPaints * (round + 1) / kRounds - levelPaints * round / kRounds;
        const int fulls = fullPaints * (round + 1) / kRounds - fullPaints * round / kRounds;
        double start = Now();
        for (int i = 0; i < levels; ++i, ++levelDone) {
            slider.SetLevels(20 + levelDone % 60, 80 - levelDone % 60);
            slider.SetPeak(10 + levelDone % 10);
            Paint(slider);
        }
        level += Now() - start;
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
    Report("full", fullPaints, full);
    level /= levelPaints;
    full /= fullPaints;
    std::printf("ratio  %10.3f  (level / full)\n", full > 0 ? level / full : 0.0);
    return 0;
}
