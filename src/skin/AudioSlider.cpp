#include "AudioSlider.h"

#include "CoolDC.h"

CAudioSlider::CAudioSlider() = default;

void CAudioSlider::SetRange(int minimum, int maximum, bool redraw) {
    CCoolSliderCtrl::SetRange(minimum, maximum, redraw);
    m_levelA = m_levelB = maximum;
}

void CAudioSlider::SetLevels(int a, int b) {
    if (a == m_levelA && b == m_levelB) return;
    m_levelA = a;
    m_levelB = b;
    InvalidateLevels();
}

void CAudioSlider::SetPeak(int peak) {
    if (peak == m_peak) return;
    m_peak = peak;
    InvalidateLevels();
}

void CAudioSlider::SetOption(unsigned option, bool on) {
    const unsigned options = on ? (m_options | option) : (m_options & ~option);
    if (options == m_options) return;
    m_options = options;
    Changed();
}

void CAudioSlider::Changed() {
    if (m_hWnd) Invalidate(false);
}

LRESULT CAudioSlider::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return OnLButtonDown(message, wParam, lParam);
    case WM_RBUTTONDOWN:
        return OnRButtonDown(wParam, lParam);
    default:
        return CCoolSliderCtrl::WindowProc(message, wParam, lParam);
    }
}

bool CAudioSlider::ReadLevels() {
    const unsigned shown = (m_options & ShowPeak) ? unsigned(PeakShown) : 0u;
    const bool changed = m_levelA != m_lastSelStart || m_levelB != m_lastSelEnd ||
                         m_peak != m_previousPeak || m_peak2 != m_previousPeak2 ||
                         shown != (m_options & PeakShown);
    m_lastSelStart = m_levelA;
    m_lastSelEnd = m_levelB;
    m_previousPeak = m_peak;
    m_previousPeak2 = m_peak2;
    m_options = (m_options & ~PeakShown) | shown;
    return changed;
}

void CAudioSlider::PlaceLevelBar(CCoolDC& dc, const CRect& channel, const CRect& bar) {
    const bool vertical = IsVertical();
    if (!(m_options & Stereo)) {
        CopyLevelParts(dc, bar, {LevelSpan(bar, m_levelA, m_levelB)});
    } else {
        // Two halves with a one-pixel gap: side by side on vertical sliders, one above the
        // other on horizontal ones; each runs from its level to the maximum end.
        CRect first = bar, second = bar;
        if (vertical) {
            const int middle = (bar.left + bar.right) / 2;
            first.right = middle - 1;
            second.left = middle;
        } else {
            const int middle = (bar.top + bar.bottom) / 2;
            first.bottom = middle - 1;
            second.top = middle;
        }
        CRect a, b;
        a.IntersectRect(LevelSpan(bar, m_levelA, m_lastMax), first);
        b.IntersectRect(LevelSpan(bar, m_levelB, m_lastMax), second);
        CopyLevelParts(dc, bar, {a, b});
    }
    const long long range = static_cast<long long>(m_lastMax) - m_lastMin;
    if ((m_options & ShowPeak) && vertical && range > 0 && m_peak >= m_lastMin &&
        m_peak <= m_lastMax) {
        const int y =
            channel.top + static_cast<int>((m_peak - m_lastMin) * channel.Height() / range) - 1;
        dc.FillSolidRect(CRect(channel.left + 1, y, channel.right - 1, y + 2), GetColor(SelLow));
    }
}

LRESULT CAudioSlider::OnLButtonDown(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    CRect channel, thumb;
    GetGeometry(channel, thumb);
    const bool vertical = IsVertical();
    const int click = vertical ? p.y : p.x;
    const int start = vertical ? channel.top : channel.left;
    const int end = vertical ? channel.bottom : channel.right;
    const int thumbLength = vertical ? thumb.Height() : thumb.Width();
    const long long span = end - thumbLength / 2 - start;
    if (!thumb.PtInRect(p) && click >= start && click < end && span > 0) {
        // The thumb jumps to the click, and dragging goes on from there.
        const int minimum = GetRangeMin(), maximum = GetRangeMax();
        long long pos =
            minimum + (static_cast<long long>(maximum) - minimum) * (click - start) / span;
        if (pos > maximum) pos = maximum;
        SendMessage(TBM_SETPOS, TRUE, static_cast<LPARAM>(pos));
    }
    return CCoolSliderCtrl::WindowProc(message, wParam, lParam);
}

LRESULT CAudioSlider::OnRButtonDown(WPARAM wParam, LPARAM lParam) {
    if (m_options & RightClickToggles) {
        const LONG_PTR style = ::GetWindowLongPtrA(m_hWnd, GWL_STYLE);
        ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, style ^ TBS_ENABLESELRANGE);
        Invalidate(false);
    }
    return CCoolSliderCtrl::WindowProc(WM_RBUTTONDOWN, wParam, lParam);
}
