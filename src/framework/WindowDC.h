// A window's DC, released when it goes: its client area, or the whole window with the frame
// for non-client drawing. A null window gives the screen's DC. Surface is the drawing class it
// is made of (CDC, or a richer one derived from it). A DC that could not be had converts to a
// null HDC.
#pragma once

#include "DC.h"

enum class DCArea { Client, WholeWindow };

template <class Surface> class CWindowDCOf : public Surface {
public:
    explicit CWindowDCOf(HWND window, DCArea area = DCArea::Client) : m_window(window) {
        this->m_hDC = area == DCArea::WholeWindow ? ::GetWindowDC(window) : ::GetDC(window);
    }
    ~CWindowDCOf() override {
        if (this->m_hDC) ::ReleaseDC(m_window, this->m_hDC);
    }

private:
    HWND m_window;
};

using CWindowDC = CWindowDCOf<CDC>;
