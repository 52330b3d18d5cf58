// The system static control (label, frame, picture).
#pragma once

#include "Wnd.h"

class CStatic : public CWnd {
public:
    bool Create(const char* text, DWORD style, const RECT& rect, HWND parent, UINT id = 0xFFFF) {
        return CreateEx(0, WC_STATICA, text, style, rect, parent, id);
    }
    HBITMAP SetBitmap(HBITMAP bitmap) {
        return reinterpret_cast<HBITMAP>(
            SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    }
    HBITMAP GetBitmap() const {
        return reinterpret_cast<HBITMAP>(SendMessage(STM_GETIMAGE, IMAGE_BITMAP));
    }
};
