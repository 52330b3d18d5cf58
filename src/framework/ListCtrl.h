// The system list view.
#pragma once

#include "Wnd.h"

#include <string>

class CListCtrl : public CWnd {
public:
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
        return CreateEx(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", style, rect, parent, id);
    }
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    int InsertItem(int item, const std::string& text) {
        LVITEMA lv = {};
        lv.mask = LVIF_TEXT;
        lv.iItem = item;
        lv.pszText = const_cast<char*>(text.c_str());
        return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&lv)));
    }
    bool DeleteItem(int item) { return SendMessage(LVM_DELETEITEM, item) != 0; }
    bool DeleteAllItems() { return SendMessage(LVM_DELETEALLITEMS) != 0; }
    std::string GetItemText(int item, int subItem = 0) const {
        char buffer[512] = {};
        LVITEMA lv = {};
        lv.iSubItem = subItem;
        lv.pszText = buffer;
        lv.cchTextMax = sizeof(buffer);
        SendMessage(LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&lv));
        return buffer;
    }
    int GetNextItem(int start, UINT flags) const {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, start, flags));
    }
    bool SetBkColor(COLORREF c) { return SendMessage(LVM_SETBKCOLOR, 0, c) != 0; }
    bool SetTextBkColor(COLORREF c) { return SendMessage(LVM_SETTEXTBKCOLOR, 0, c) != 0; }
    bool SetTextColor(COLORREF c) { return SendMessage(LVM_SETTEXTCOLOR, 0, c) != 0; }
};
