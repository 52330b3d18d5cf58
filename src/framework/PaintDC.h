// The DC of one WM_PAINT: BeginPaint at construction, EndPaint at destruction. Surface is the
// drawing class it is made of (CDC, or a richer one derived from it). When BeginPaint fails
// the DC converts to a null HDC.
#pragma once

#include "DC.h"

template <class Surface> class CPaintDCOf : public Surface {
public:
    explicit CPaintDCOf(HWND window) : m_window(window) {
        this->m_hDC = ::BeginPaint(window, &m_ps);
    }
    ~CPaintDCOf() override {
        if (this->m_hDC) ::EndPaint(m_window, &m_ps);
    }

    // The part of the window this paint is for.
    const RECT& GetPaintRect() const { return m_ps.rcPaint; }

private:
    HWND m_window;
    PAINTSTRUCT m_ps = {};
};

using CPaintDC = CPaintDCOf<CDC>;
