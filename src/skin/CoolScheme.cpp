#include "CoolScheme.h"
#include "SchemePropagation.h"

#include "CoolBitmap.h"
#include "CoolDC.h"

#include "FrameworkMessages.h"
#include "WinApp.h"
#include "MessageOrigin.h"

namespace {

// Integer division truncating towards zero, guarded against a zero divisor.
int Divide(long long numerator, long long denominator) {
    return denominator ? static_cast<int>(numerator / denominator) : 0;
}

// One axis of the layout: anchors at the near and far edge, fixed size, the client extent,
// the near and far margins and the size.
void LayoutAxis(bool nearAnchor, bool farAnchor, bool fixed, int extent, int nearMargin,
                int farMargin, int size, LONG* first, LONG* second) {
    long long x1 = 0, x2 = 0;
    if (nearAnchor && !farAnchor) {
        x1 = nearMargin;
        x2 = fixed ? nearMargin + size
                   : nearMargin + Divide(static_cast<long long>(extent - nearMargin) * size,
                                         size + farMargin);
    } else if (farAnchor && !nearAnchor) {
        x2 = extent - farMargin;
        x1 = fixed ? x2 - size : x2 - Divide(x2 * size, size + nearMargin);
    } else if (nearAnchor && farAnchor) {
        x1 = nearMargin;
        x2 = extent - farMargin;
    } else if (fixed) {
        x1 = Divide(static_cast<long long>(extent - size) * nearMargin, farMargin + nearMargin);
        x2 = x1 + size;
    } else {
        const long long whole = static_cast<long long>(farMargin) + nearMargin + size;
        x1 = Divide(static_cast<long long>(nearMargin) * extent, whole);
        x2 = extent - Divide(static_cast<long long>(farMargin) * extent, whole);
    }
    *first = static_cast<LONG>(x1);
    *second = static_cast<LONG>(x2);
}

BOOL CALLBACK FindBar(HWND window, LPARAM found) {
    if (::GetDlgCtrlID(window) != static_cast<int>(kStatusBarId)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

} // namespace

RECT CoolLayoutRect(const CoolLayout& layout, int width, int height) {
    const auto anchor = static_cast<uint32_t>(layout.anchor);
    RECT r = {};
    LayoutAxis(anchor & CoolColors::AnchorLeft, anchor & CoolColors::AnchorRight,
               anchor & CoolColors::FixedWidth, width, layout.leftMargin, layout.rightMargin,
               layout.width, &r.left, &r.right);
    LayoutAxis(anchor & CoolColors::AnchorTop, anchor & CoolColors::AnchorBottom,
               anchor & CoolColors::FixedHeight, height, layout.topMargin, layout.bottomMargin,
               layout.height, &r.top, &r.bottom);
    return r;
}

void CoolLayoutChildren(HWND parent) {
    RECT client = {};
    ::GetClientRect(parent, &client);
    for (HWND child = ::GetWindow(parent, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        CoolLayout layout = {};
        if (CMessageOrigin::SendOwn(child, WM_COOL_GETLAYOUT, 0,
                                    reinterpret_cast<LPARAM>(&layout)) != 1 ||
            layout.anchor < 0)
            continue;
        const RECT r = CoolLayoutRect(layout, client.right, client.bottom);
        ::MoveWindow(child, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
        ::InvalidateRect(child, nullptr, FALSE);
    }
}

std::string CoolMessageString(UINT id) {
    if (!id) return std::string();
    CWinApp* app = CWinApp::GetApp();
    HINSTANCE instance = app && app->m_hInstance ? app->m_hInstance : ::GetModuleHandleA(nullptr);
    char buffer[256] = {};
    const int length = ::LoadStringA(instance, id, buffer, sizeof(buffer));
    std::string text(buffer, length > 0 ? static_cast<size_t>(length) : 0);
    const size_t lineFeed = text.find('\n');
    if (lineFeed != std::string::npos) text.resize(lineFeed);
    return text;
}

HWND CoolFindMessageBar(HWND window) {
    HWND found = nullptr;
    // EnumChildWindows visits the descendants at every depth.
    ::EnumChildWindows(window, &FindBar, reinterpret_cast<LPARAM>(&found));
    return found;
}

namespace {
// The source slots a dialog takes from its parent, in this order.
constexpr int kInheritedSlots[] = {CoolColors::Background, CoolColors::Text, CoolColors::Lum,
                                   CoolColors::SelHigh, CoolColors::SelLow};
} // namespace

// Takes the parent's source colours and render mode when the parent is skinned.
void CoolInheritScheme(CoolColors& scheme, HWND parent) {
    COLORREF colour = 0;
    if (!parent || !SendSchemeMessage(parent, WM_COOL_GETCOLOR, kInheritedSlots[0],
                                      reinterpret_cast<LPARAM>(&colour)))
        return;
    for (int slot : kInheritedSlots) {
        SendSchemeMessage(parent, WM_COOL_GETCOLOR, slot, reinterpret_cast<LPARAM>(&colour));
        scheme.SetColor(slot, colour);
    }
    unsigned mode = scheme.GetRenderMode();
    SendSchemeMessage(parent, WM_COOL_GETRENDERMODE, 0, reinterpret_cast<LPARAM>(&mode));
    scheme.SetRenderMode(mode);
}

// Fills a window's background bitmap: flat without gradients, lit otherwise.
namespace {
// A client-sized bitmap filled flat with Background, or lit from outer to highlight at light.
bool PaintSurface(const CoolColors& scheme, CCoolBitmap& bitmap, HDC reference, const CRect& client,
                  int outerSlot, int highlightSlot, POINT light) {
    if (client.IsRectEmpty() ||
        !bitmap.CreateCompatibleBitmap(reference, client.Width(), client.Height()))
        return false;
    {
        CCoolMemoryDC dc(reference);
        CScopedSelection image(dc, bitmap.GetSafeHandle());
        if (!dc || !image) return false;
        if (scheme.HasRenderFlag(CoolColors::RenderGradients))
            dc.FillLit(client, scheme.GetColor(outerSlot), scheme.GetColor(highlightSlot), &light);
        else
            dc.FillSolidRect(client, scheme.GetColor(CoolColors::Background));
    }
    bitmap.ReleaseHandle(true);
    return true;
}
} // namespace

bool CoolPaintWindowBackground(const CoolColors& scheme, CCoolBitmap& bitmap, HDC reference,
                               const CRect& client) {
    return PaintSurface(scheme, bitmap, reference, client, CoolColors::Shadow, CoolColors::Light,
                        scheme.GetLightPoint());
}

bool CoolPaintPanel(const CoolColors& scheme, CCoolBitmap& bitmap, HDC reference,
                    const CRect& client, int outerSlot, int highlightSlot) {
    return PaintSurface(scheme, bitmap, reference, client, outerSlot, highlightSlot,
                        client.CenterPoint());
}

int CoolShowPrompt(HWND bar, const std::string& prompt, int id, int& last, int& current) {
    if (bar) ::SetWindowTextA(bar, prompt.c_str());
    last = current;
    current = id;
    return last;
}
