// The CCoolDC of one paint message: begins painting in its constructor (throwing
// CResourceException when that fails) and ends it in its destructor.
#pragma once

#include "CoolDC.h"

class CCoolPaintDC : public CCoolDC {
public:
    explicit CCoolPaintDC(HWND window);
    ~CCoolPaintDC() override;
};
