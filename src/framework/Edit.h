// The system edit control.
#pragma once

#include "Wnd.h"

class CEdit : public CWnd {
public:
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
        return CreateEx(WS_EX_CLIENTEDGE, WC_EDITA, "", style, rect, parent, id);
    }
    void SetSel(int start, int end) { SendMessage(EM_SETSEL, start, end); }
    void LimitText(int count) { SendMessage(EM_LIMITTEXT, count); }
};
