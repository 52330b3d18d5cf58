#include "Pixels.h"

#include <cstdlib>

PixelImage ReadPixels(HDC source, int width, int height) {
    PixelImage image;
    if (width <= 0 || height <= 0) return image;
    HDC memory = ::CreateCompatibleDC(source);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, dib);
    ::BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    ::GdiFlush();
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<size_t>(width) * height);
    const auto* p = static_cast<const DWORD*>(bits);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        const DWORD bgra = p[i];
        image.pixels[i] = RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
    }
    ::SelectObject(memory, old);
    ::DeleteObject(dib);
    ::DeleteDC(memory);
    return image;
}

PixelImage CaptureClient(HWND window) {
    RECT r = {};
    ::GetClientRect(window, &r);
    HDC dc = ::GetDC(window);
    PixelImage image = ReadPixels(dc, r.right - r.left, r.bottom - r.top);
    ::ReleaseDC(window, dc);
    return image;
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

double ShareNear(const PixelImage& image, COLORREF colour, int tolerance) {
    if (image.pixels.empty()) return 0;
    size_t count = 0;
    for (COLORREF pixel : image.pixels)
        count += Near(pixel, colour, tolerance);
    return double(count) / double(image.pixels.size());
}
