#include "CoolPaintDC.h"

#include "ResourceException.h"

CCoolPaintDC::CCoolPaintDC(HWND window) : CPaintDCOf<CCoolDC>(window) {
    if (!m_hDC) throw CResourceException();
}
