// A CCoolDC on a DC someone else owns (the DC of WM_DRAWITEM, WM_ERASEBKGND, WM_CTLCOLOR*):
// the gradients and blends of CCoolDC, never deleting nor releasing the DC. Selections made
// through it are put back when it goes.
#pragma once

#include "CoolDC.h"

class CCoolDCRef : public CCoolDC {
public:
    explicit CCoolDCRef(HDC dc) { m_hDC = dc; }

    // A borrowed DC is not swapped for one of our own.
    bool CreateCompatibleDC(HDC) = delete;
    bool GetDC(HWND) = delete;
    bool BeginPaint(HWND) = delete;
};
