// A DC that someone else owns (a WM_DRAWITEM or WM_ERASEBKGND DC, a DC of a paint callback):
// drawn through like any CDC, never deleted nor released by us. Selections made through it
// are put back when it goes.
#pragma once

#include "DC.h"

class CDCRef : public CDC {
public:
    explicit CDCRef(HDC dc) { m_hDC = dc; }

    // A borrowed DC is not swapped for one of our own.
    bool CreateCompatibleDC(HDC) = delete;
    bool GetDC(HWND) = delete;
};
