#include "SchemePropagation.h"

#include "CoolColors.h"
#include "FastPath.h"
#include "MessageOrigin.h"
#include "Wnd.h"

#include <optional>

namespace {
// Only skinned windows answer the scheme messages; for any other the direct call gains nothing.
bool IsSkinned(CWnd& wnd) {
    return dynamic_cast<CoolColors*>(&wnd) != nullptr;
}
} // namespace

LRESULT SendSchemeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool answeredBySkin =
        message == WM_COOL_SETCOLOR || message == WM_COOL_GETCOLOR ||
        message == WM_COOL_SETRENDERMODE || message == WM_COOL_GETRENDERMODE ||
        message == WM_COOL_GETBKBITMAP || message == WM_COOL_GETSCREENRECT ||
        (message == WM_COOL_SETLIGHTPOINT && lParam);
    // The receiver follows our pointer also while this thread answers a message from elsewhere.
    std::optional<CMessageOrigin::OwnSend> own;
    if (::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId())
        own.emplace(message, wParam, lParam);
    LRESULT result = 0;
    if (answeredBySkin && CallWindowObject(window, message, wParam, lParam, &IsSkinned, &result))
        return result;
    return ::SendMessageA(window, message, wParam, lParam);
}

POINT ChildLightPoint(POINT light, SIZE parent, const RECT& child) {
    const int w = child.right - child.left, h = child.bottom - child.top;
    const int cx = (child.left + child.right) / 2, cy = (child.top + child.bottom) / 2;
    // A parent without size has no share to scale by: the light sits at the child's centre.
    const int dx = parent.cx ? (cx - light.x) * w / parent.cx : 0;
    const int dy = parent.cy ? h * (cy - light.y) / parent.cy : 0;
    return POINT{cx - dx - child.left, cy - child.top - dy};
}

void PassSchemeToChildren(HWND parent, const CoolColors& scheme) {
    RECT client = {};
    ::GetClientRect(parent, &client);
    const SIZE size = {client.right, client.bottom};
    // A window that is not on screen is painted whole when it is shown: its children need no
    // invalidation now (a starting main window hands its scheme down before it shows).
    const bool shown = ::IsWindowVisible(parent) != FALSE;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        const HWND outer = BeginHandOver(child);
        for (int slot = 0; slot < CoolColors::SlotCount; ++slot)
            SendSchemeMessage(child, WM_COOL_SETCOLOR, static_cast<WPARAM>(slot),
                              static_cast<LPARAM>(scheme.GetColor(slot)));
        RECT r = {};
        ::GetWindowRect(child, &r);
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        POINT point = ChildLightPoint(scheme.GetLightPoint(), size, r);
        SendSchemeMessage(child, WM_COOL_SETLIGHTPOINT, 0, reinterpret_cast<LPARAM>(&point));
        EndHandOver(outer);
        SendSchemeMessage(child, WM_COOL_SETRENDERMODE, 0,
                          static_cast<LPARAM>(scheme.GetRenderMode()));
        if (shown) ::InvalidateRect(child, nullptr, TRUE);
    }
}
