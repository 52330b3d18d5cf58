#include "HiddenWnd.h"

bool CHiddenWnd::Create(const char* title) {
    static const char* className = "QuendaHiddenWnd";
    static bool registered = RegisterWindowClass(className, 0);
    if (!registered) return false;
    return CreateEx(WS_EX_TOOLWINDOW, className, title, WS_POPUP, CRect(0, 0, 0, 0), nullptr, 0);
}
