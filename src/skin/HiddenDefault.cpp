#include "HiddenDefault.h"

#include "Wnd.h"

LRESULT DefaultWithoutDrawing(CWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = wnd.GetSafeHwnd();
    const LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
    // Under a hidden parent (a page not shown yet) nothing the control draws reaches the
    // screen: the style stays as it is, which spares two style changes and the messages each
    // sends (a page sets a dozen texts while it is made).
    const bool visible = (style & WS_VISIBLE) != 0 && ::IsWindowVisible(window);
    if (visible) ::SetWindowLongPtrA(window, GWL_STYLE, style & ~LONG_PTR(WS_VISIBLE));
    LRESULT result = wnd.DefWindowProc(message, wParam, lParam);
    if (visible && ::IsWindow(window)) {
        // The default processing may have changed other style bits: keep them.
        ::SetWindowLongPtrA(window, GWL_STYLE,
                            ::GetWindowLongPtrA(window, GWL_STYLE) | LONG_PTR(WS_VISIBLE));
    }
    if (::IsWindow(window)) ::InvalidateRect(window, nullptr, TRUE);
    return result;
}
