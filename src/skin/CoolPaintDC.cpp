#include "CoolPaintDC.h"

#include "ResourceException.h"

CCoolPaintDC::CCoolPaintDC(HWND window) {
    if (!BeginPaint(window)) throw CResourceException();
}

CCoolPaintDC::~CCoolPaintDC() {
    EndPaint();
}
