// Reading pixels back in tests.
#pragma once

#include "Platform.h"

#include <vector>

// A copy of a rectangle of pixels as COLORREF values (0x00BBGGRR), row by row.
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The pixels of a DC (a memory DC with a bitmap selected, or a window DC).
PixelImage ReadPixels(HDC dc, int width, int height);
// The client area of a window as it is on the screen now (paint it first).
PixelImage CaptureClient(HWND window);

// Whether two colours differ by at most tolerance in each channel.
bool Near(COLORREF a, COLORREF b, int tolerance);
// The share of an image's pixels near a colour (0 for an empty image).
double ShareNear(const PixelImage& image, COLORREF colour, int tolerance);
