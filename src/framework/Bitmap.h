#pragma once

#include "GdiObject.h"

class CBitmap : public CGdiObject<HBITMAP> {
public:
    bool CreateCompatibleBitmap(HDC dc, int width, int height) {
        Attach(::CreateCompatibleBitmap(dc, width, height));
        return !IsNull();
    }
    // A top-down 32-bit DIB section; bits, if given, receives the pixel memory.
    bool CreateDIBSection32(HDC dc, int width, int height, void** bits = nullptr);
    bool LoadBitmap(HINSTANCE instance, UINT id) {
        Attach(::LoadBitmapA(instance, MAKEINTRESOURCEA(id)));
        return !IsNull();
    }
    SIZE GetSize() const;
};
