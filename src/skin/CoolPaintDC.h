// The CCoolDC of one paint message: begins painting in its constructor (throwing
// CResourceException when that fails) and ends it in its destructor.
#pragma once

#include "CoolDC.h"
#include "PaintDC.h"

class CCoolPaintDC : public CPaintDCOf<CCoolDC> {
public:
    explicit CCoolPaintDC(HWND window);
};
