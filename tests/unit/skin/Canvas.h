// A CCoolDC drawing into a 32-bit bitmap of its own, for the skin's pixel tests.
#pragma once

#include "Bitmap.h"
#include "CoolDC.h"
#include "Pixels.h"

class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = RGB(0, 0, 0)) : m_width(width), m_height(height) {
        CDC screen;
        screen.GetDC(nullptr);
        dc.CreateCompatibleDC(screen);
        m_bitmap.CreateDIBSection32(screen, width, height);
        dc.SelectObject(m_bitmap);
        dc.FillSolidRect(CRect(0, 0, width, height), fill);
    }
    PixelImage Pixels() { return ReadPixels(dc, m_width, m_height); }

private:
    int m_width, m_height;
    // Before the DC: it outlives its selection there.
    CBitmap m_bitmap;

public:
    CCoolDC dc;
};
