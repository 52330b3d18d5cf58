// The system status bar.
#pragma once

#include "FrameworkMessages.h"
#include "Wnd.h"

#include <string>

class CStatusBarCtrl : public CWnd {
public:
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id = kStatusBarId) {
        return CreateEx(0, STATUSCLASSNAMEA, "", style, rect, parent, id);
    }
    bool SetParts(int count, const int* rightEdges) {
        return SendMessage(SB_SETPARTS, count, reinterpret_cast<LPARAM>(rightEdges)) != 0;
    }
    int GetParts(int count, int* rightEdges) const {
        return static_cast<int>(
            SendMessage(SB_GETPARTS, count, reinterpret_cast<LPARAM>(rightEdges)));
    }
    // type: 0, SBT_NOBORDERS, SBT_POPOUT or SBT_OWNERDRAW.
    bool SetText(const std::string& text, int part, UINT type = 0) {
        return SendMessage(SB_SETTEXTA, static_cast<WPARAM>(part) | type,
                           reinterpret_cast<LPARAM>(text.c_str())) != 0;
    }
    std::string GetText(int part, UINT* type = nullptr) const;
    bool GetRect(int part, RECT* rect) const {
        return SendMessage(SB_GETRECT, part, reinterpret_cast<LPARAM>(rect)) != 0;
    }
};

inline std::string CStatusBarCtrl::GetText(int part, UINT* type) const {
    LRESULT info = SendMessage(SB_GETTEXTLENGTHA, part);
    std::string text(LOWORD(info) + 1, '\0');
    LRESULT got = SendMessage(SB_GETTEXTA, part, reinterpret_cast<LPARAM>(&text[0]));
    if (type) *type = HIWORD(got);
    text.resize(LOWORD(got));
    return text;
}
