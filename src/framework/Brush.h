#pragma once

#include "GdiObject.h"

class CBrush : public CGdiObject<HBRUSH> {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    bool CreateSolidBrush(COLORREF color) {
        Attach(::CreateSolidBrush(color));
        return !IsNull();
    }
    bool CreatePatternBrush(HBITMAP bitmap) {
        Attach(::CreatePatternBrush(bitmap));
        return !IsNull();
    }
};
