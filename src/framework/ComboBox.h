// The system combo box.
#pragma once

#include "Wnd.h"

#include <string>

class CComboBox : public CWnd {
public:
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
        return CreateEx(0, WC_COMBOBOXA, "", style, rect, parent, id);
    }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int item) { return static_cast<int>(SendMessage(CB_SETCURSEL, item)); }
    int AddString(const std::string& text) {
        return static_cast<int>(
            SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    DWORD_PTR GetItemData(int item) const {
        return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, item));
    }
    int SetItemData(int item, DWORD_PTR data) {
        return static_cast<int>(SendMessage(CB_SETITEMDATA, item, static_cast<LPARAM>(data)));
    }
    std::string GetLBText(int item) const;
    bool GetDroppedState() const { return SendMessage(CB_GETDROPPEDSTATE) != 0; }
    void ShowDropDown(bool show = true) { SendMessage(CB_SHOWDROPDOWN, show ? TRUE : FALSE); }
};

inline std::string CComboBox::GetLBText(int item) const {
    LRESULT length = SendMessage(CB_GETLBTEXTLEN, item);
    if (length < 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    LRESULT got = SendMessage(CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(got < 0 ? 0 : static_cast<size_t>(got));
    return text;
}
