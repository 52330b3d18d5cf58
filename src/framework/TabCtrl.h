// The system tab control.
#pragma once

#include "Wnd.h"

class CTabCtrl : public CWnd {
public:
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
        return CreateEx(0, WC_TABCONTROLA, "", style, rect, parent, id);
    }
    int GetItemCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
    int SetCurSel(int item) { return static_cast<int>(SendMessage(TCM_SETCURSEL, item)); }
    bool InsertItem(int item, const char* text) {
        TCITEMA tc = {};
        tc.mask = TCIF_TEXT;
        tc.pszText = const_cast<char*>(text);
        return SendMessage(TCM_INSERTITEMA, item, reinterpret_cast<LPARAM>(&tc)) != -1;
    }
    bool GetItemRect(int item, RECT* rect) const {
        return SendMessage(TCM_GETITEMRECT, item, reinterpret_cast<LPARAM>(rect)) != 0;
    }
    void AdjustRect(bool larger, RECT* rect) const {
        SendMessage(TCM_ADJUSTRECT, larger ? TRUE : FALSE, reinterpret_cast<LPARAM>(rect));
    }
};
