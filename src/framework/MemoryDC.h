// A memory DC of our own, compatible with a reference DC (null: the screen), deleted when it
// goes. Surface is the drawing class it is made of (CDC, or a richer one derived from it).
// A DC that could not be made converts to a null HDC.
#pragma once

#include "DC.h"

template <class Surface> class CMemoryDCOf : public Surface {
public:
    explicit CMemoryDCOf(HDC reference) { this->m_hDC = ::CreateCompatibleDC(reference); }
    ~CMemoryDCOf() override {
        if (this->m_hDC) ::DeleteDC(this->m_hDC);
    }
};

using CMemoryDC = CMemoryDCOf<CDC>;
