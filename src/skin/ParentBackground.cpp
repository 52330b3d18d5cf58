#include "ParentBackground.h"

#include "CoolBitmap.h"
#include "CoolColors.h"
#include "MemoryDC.h"
#include "WindowDC.h"
#include "SchemePropagation.h"

int ParentBackgroundBitmap(HWND window, CCoolBitmap** out) {
    HWND parent = window ? ::GetParent(window) : nullptr;
    if (!parent || !out) return 0;
    return static_cast<int>(
        SendSchemeMessage(parent, WM_COOL_GETBKBITMAP, 0, reinterpret_cast<LPARAM>(out)));
}

int ParentScreenRect(HWND window, RECT* out) {
    HWND parent = window ? ::GetParent(window) : nullptr;
    if (!parent || !out) return 0;
    return static_cast<int>(
        SendSchemeMessage(parent, WM_COOL_GETSCREENRECT, 0, reinterpret_cast<LPARAM>(out)));
}

bool CopyParentBackground(HWND control, HDC reference, CCoolBitmap& target) {
    RECT client = {};
    ::GetClientRect(control, &client);
    const int width = client.right, height = client.bottom;
    if (width <= 0 || height <= 0 || !target.CreateCompatibleBitmap(reference, width, height))
        return false;
    CMemoryDC dc(reference);
    if (!dc) return false;
    CScopedSelection targetImage(dc, target);

    POINT origin = {0, 0};
    ::ClientToScreen(control, &origin);
    CCoolBitmap* background = nullptr;
    RECT parentScreen = {};
    // An empty bitmap would leave the copy unpainted: the screen is the better guess then.
    if (ParentBackgroundBitmap(control, &background) == 1 &&
        ParentScreenRect(control, &parentScreen) == 1 && background && !background->IsEmpty()) {
        background->Draw(dc, 0, 0, width, height, origin.x - parentScreen.left,
                         origin.y - parentScreen.top, width, height);
    } else {
        CWindowDC screen(nullptr);
        if (screen) dc.BitBlt(0, 0, width, height, screen, origin.x, origin.y);
    }
    targetImage.Restore();
    target.ReleaseHandle(true);
    return true;
}
