// A cached image together with the memory DC it stays selected into. On the NT family the DC
// lives as long as the image, so a paint draws into it or copies from it without making a DC
// (a running level meter paints 20 times a second); on older systems the DC is made for each
// use and the bitmap gives its handle back afterwards, as every cached bitmap does there.
#pragma once

#include "CoolBitmap.h"
#include "CoolDC.h"

#include <memory>

class CCoolLayer {
public:
    // A new image, compatible with the reference DC; false when it cannot be made.
    bool Create(HDC reference, int width, int height);
    bool IsEmpty() const { return !m_image; }
    int BitsPixel() const { return m_image ? m_image->BitsPixel() : 0; }

    // The DC with the image selected, for one use; null without an image.
    CCoolDC* Begin(HDC reference);
    // Ends a use; drawn tells that the image was drawn into.
    void End(bool drawn = false);
    void Reset();

private:
    // The memory DC with the image selected; the selection ends before the DC.
    struct SelectedImage {
        SelectedImage(HDC reference, HBITMAP image) : dc(reference), selection(dc, image) {}
        CCoolMemoryDC dc;
        CScopedSelection selection;
    };

    std::unique_ptr<CCoolBitmap> m_image;
    std::unique_ptr<SelectedImage> m_dc;
};
