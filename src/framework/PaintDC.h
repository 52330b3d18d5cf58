// The DC of one WM_PAINT: BeginPaint at construction, EndPaint at destruction.
#pragma once

#include "DC.h"

class CPaintDC : public CDC {
public:
    explicit CPaintDC(HWND window);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps = {};
};
