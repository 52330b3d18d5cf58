// A skinned slider that is also a level meter: mono (one bar from level A to level B) or
// stereo (two bars side by side, each from its level to the maximum end), with an optional
// peak mark. The owner sets the levels; the control repaints when they change.
#pragma once

#include "CoolSliderCtrl.h"

class CAudioSlider : public CCoolSliderCtrl {
public:
    // Option flags.
    enum : unsigned {
        ShowPeak = 1,
        PeakShown = 2, // the peak mark's state at the last paint
        RightClickToggles = 4,
        Stereo = 8
    };

    CAudioSlider();

    // Sets the range and empties the meter (both levels at the maximum).
    void SetRange(int minimum, int maximum, bool redraw = false);

    // The levels in range units: mono shows the bar from level A to level B, stereo each
    // channel's bar from its level (A left or top, B right or bottom) to the maximum end.
    void SetLevels(int a, int b);
    int GetLevelA() const { return m_levelA; }
    int GetLevelB() const { return m_levelB; }
    // The peak mark, in range units, shown with ShowPeak on vertical sliders.
    void SetPeak(int peak);
    int GetPeak() const { return m_peak; }

    void SetOption(unsigned option, bool on);
    bool HasOption(unsigned option) const { return (m_options & option) != 0; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    bool ReadLevels() override;
    void PlaceLevelBar(CCoolDC& dc, const CRect& channel, const CRect& bar) override;

private:
    // Repaints when the window is there.
    void Changed();

    int m_peak = 0;
    int m_previousPeak = 0;
    int m_peak2 = 0; // second peak value, compared for changes only
    int m_previousPeak2 = 0;
    int m_levelA = 0;
    int m_levelB = 0;
    unsigned m_options = RightClickToggles;

    LRESULT OnLButtonDown(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnRButtonDown(WPARAM wParam, LPARAM lParam);
};
