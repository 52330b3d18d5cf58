// A CCoolDC drawing into a 32-bit bitmap of its own, for the skin's pixel tests.
#pragma once

#include "Bitmap.h"
#include "CoolDC.h"
#include "Pixels.h"

#include <optional>

class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = RGB(0, 0, 0))
        : m_width(width), m_height(height), dc(nullptr) {
        m_bitmap.CreateDIBSection32(dc, width, height);
        m_selection.emplace(dc, m_bitmap);
        dc.FillSolidRect(CRect(0, 0, width, height), fill);
    }
    PixelImage Pixels() { return ReadPixels(dc, m_width, m_height); }

private:
    int m_width, m_height;
    // Before the DC: it outlives its selection there.
    CBitmap m_bitmap;

public:
    CCoolMemoryDC dc;

private:
    std::optional<CScopedSelection> m_selection;
};
