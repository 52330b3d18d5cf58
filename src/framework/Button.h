// The system button control (push button, check box, radio button, group box).
#pragma once

#include "Wnd.h"

class CButton : public CWnd {
public:
    bool Create(const char* caption, DWORD style, const RECT& rect, HWND parent, UINT id) {
        return CreateEx(0, WC_BUTTONA, caption, style, rect, parent, id);
    }
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
    UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
    void SetState(bool pushed) { SendMessage(BM_SETSTATE, pushed ? TRUE : FALSE); }
    // The low four style bits: the button's kind (BS_PUSHBUTTON ... BS_AUTORADIOBUTTON).
    UINT GetButtonKind() const { return GetStyle() & 0x0F; }
    void SetButtonStyle(UINT style, bool redraw = true) {
        SendMessage(BM_SETSTYLE, style, redraw ? TRUE : FALSE);
    }
    // The image set through BM_SETIMAGE: borrowed, owned by whoever set it.
    HBITMAP GetBitmap() const {
        return reinterpret_cast<HBITMAP>(SendMessage(BM_GETIMAGE, IMAGE_BITMAP));
    }
};
