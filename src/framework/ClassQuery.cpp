#include "ClassQuery.h"

#include <vector>

LRESULT AskClassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto procedure = reinterpret_cast<WNDPROC>(::GetClassLongPtrA(window, GCLP_WNDPROC));
    if (!procedure) return ::SendMessageA(window, message, wParam, lParam);
    return ::CallWindowProcA(procedure, window, message, wParam, lParam);
}

HFONT ClassFont(HWND window) {
    return reinterpret_cast<HFONT>(AskClassProcedure(window, WM_GETFONT));
}

std::string ClassText(HWND window) {
    const LRESULT length = AskClassProcedure(window, WM_GETTEXTLENGTH);
    if (length <= 0) return std::string();
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    const LRESULT got = AskClassProcedure(window, WM_GETTEXT, buffer.size(),
                                          reinterpret_cast<LPARAM>(buffer.data()));
    return std::string(buffer.data(), got > 0 ? static_cast<size_t>(got) : 0);
}
