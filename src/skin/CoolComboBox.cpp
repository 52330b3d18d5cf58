#include "CoolComboBox.h"

#include "CoolBitmap.h"
#include "CoolPaintDC.h"
#include "FrameworkMessages.h"
#include "HiddenDefault.h"

#include <algorithm>

namespace {

// A lit surface, or a flat fill of its highlight colour while gradients are off.
void FillSurface(CCoolDC& dc, const CRect& r, COLORREF outer, COLORREF highlight, POINT light,
                 bool gradients) {
    if (gradients)
        dc.FillLit(r, outer, highlight, &light);
    else
        dc.FillSolidRect(r, highlight);
}

bool SameSize(const CCoolBitmap* bitmap, const CRect& r) {
    return bitmap && !bitmap->IsEmpty() && bitmap->Width() == r.Width() &&
           bitmap->Height() == r.Height();
}

} // namespace

CCoolComboBox::CCoolComboBox() {
    StoreStyle(0);
}

CCoolComboBox::~CCoolComboBox() {
    StopHover();
}

int CCoolComboBox::SetStyle(unsigned variant) {
    return ChangeStyle(variant, 1);
}

void CCoolComboBox::OnColorsChanged() {
    m_image.reset();
    m_normalFace.reset();
    m_pressedFace.reset();
}

void CCoolComboBox::DrawItem(DRAWITEMSTRUCT*) {}

LRESULT CCoolComboBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleSchemeMessage(message, wParam, lParam, &result)) return result;
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_NCPAINT:
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetPressed(true);
        break;
    case WM_LBUTTONUP:
        SetPressed(false);
        break;
    case WM_CAPTURECHANGED:
        // The list took the mouse over (or the press ended elsewhere): no longer held here.
        if (reinterpret_cast<HWND>(lParam) != m_hWnd) SetPressed(false);
        break;
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        OnMouseMove();
        break;
    case WM_TIMER:
        if (wParam == kHoverTimer) {
            OnTimer(wParam);
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        m_focused = message == WM_SETFOCUS;
        return DefaultWithoutDrawing(*this, message, wParam, lParam);
    case CB_SETCURSEL:
    case CB_SELECTSTRING:
    case WM_ENABLE:
        return DefaultWithoutDrawing(*this, message, wParam, lParam);
    case WM_SIZE:
        OnColorsChanged();
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        // From the list (or edit) part: answered here instead of by the parent.
        return reinterpret_cast<LRESULT>(OnListColor(reinterpret_cast<HDC>(wParam)));
    case WM_DESTROY:
        StopHover();
        break;
    default:
        break;
    }
    return CComboBox::WindowProc(message, wParam, lParam);
}

bool CCoolComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (message) {
    case WM_COMMAND:
        // The user picked an item: the parent still gets the notification, the skin repaints.
        if (HIWORD(wParam) == CBN_SELCHANGE) Invalidate(true);
        return false;
    case WM_DRAWITEM:
        DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        if (result) *result = TRUE;
        return true;
    default:
        return CComboBox::OnChildNotify(message, wParam, lParam, result);
    }
}

void CCoolComboBox::SetPressed(bool pressed) {
    if (pressed == m_pressed) return;
    m_pressed = pressed;
    Invalidate(false);
}

void CCoolComboBox::OnMouseMove() {
    if (m_hoverTimer) return;
    m_hoverTimer = SetTimer(kHoverTimer, kHoverPeriod);
    Invalidate(false);
    SendStatusPrompt(static_cast<UINT>(GetDlgCtrlID()));
}

void CCoolComboBox::OnTimer(UINT_PTR) {
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    if (GetWindowRect().PtInRect(cursor)) return;
    StopHover();
    Invalidate(false);
    SendStatusPrompt(0);
}

void CCoolComboBox::StopHover() {
    if (m_hoverTimer && m_hWnd) KillTimer(kHoverTimer);
    m_hoverTimer = 0;
}

HBRUSH CCoolComboBox::OnListColor(HDC dc) {
    const bool luminous = CoolColors::GetStyle() == 1;
    const COLORREF background = GetColor(luminous ? LumDark : Background);
    ::SetTextColor(dc, GetColor(luminous ? LumBright : Text));
    ::SetBkColor(dc, background);
    // One brush at a time: a new colour replaces (and deletes) the previous brush.
    if (m_listBrush.IsNull() || m_listBrushColor != background) {
        m_listBrush.CreateSolidBrush(background);
        m_listBrushColor = background;
    }
    return m_listBrush;
}

CRect CCoolComboBox::ButtonRect(const CRect& client) const {
    const int edge = std::max(::GetSystemMetrics(SM_CXEDGE), ::GetSystemMetrics(SM_CYEDGE));
    CRect inner = client;
    inner.DeflateRect(1 + edge, 1 + edge);
    const int width = ::GetSystemMetrics(SM_CXHTHUMB);
    return CRect(std::max(inner.left, inner.right - width), inner.top, inner.right, inner.bottom);
}

std::unique_ptr<CCoolBitmap> CCoolComboBox::BuildFace(HDC reference, const CRect& client,
                                                      bool pressed) {
    auto face = std::make_unique<CCoolBitmap>();
    if (!face->CreateCompatibleBitmap(reference, client.Width(), client.Height())) return nullptr;
    {
        CCoolMemoryDC dc(reference);
        CScopedSelection faceImage(dc, *face);
        const bool gradients = HasRenderFlag(RenderGradients);
        const COLORREF light = GetColor(Light), shadow = GetColor(Shadow);

        // The text area's background over the whole control.
        CRect r = client;
        if (CoolColors::GetStyle() == 1)
            FillSurface(dc, r, GetColor(LumDark), GetColor(Lum), r.CenterPoint(), gradients);
        else if (gradients)
            FillSurface(dc, r, shadow, light, GetLightPoint(), true);
        else
            dc.FillSolidRect(r, GetColor(Background)); // flat: the window colour, not Light

        // Frames as deep as the system's edge: sunken beyond two pixels, raised within.
        const int edge = std::max(::GetSystemMetrics(SM_CXEDGE), ::GetSystemMetrics(SM_CYEDGE));
        const int sunken = edge >= 3 ? edge - 2 : 0;
        r.DeflateRect(1, 1);
        for (int i = 0; i < edge; ++i, r.DeflateRect(1, 1)) {
            if (i < sunken)
                dc.Draw3dRect(r, shadow, light);
            else
                dc.Draw3dRect(r, light, shadow);
        }

        CRect button = ButtonRect(client);
        dc.Draw3dRect(CRect(r.left, r.top, button.left, r.bottom), light, shadow);
        for (int i = 0; i < edge; ++i, button.DeflateRect(1, 1))
            dc.Draw3dRect(button, light, shadow);
        dc.FillSolidRect(button, GetColor(Background));
        button.DeflateRect(2, 2);
        if (!button.IsRectEmpty()) {
            if (pressed)
                FillSurface(dc, button, GetColor(Lum), GetColor(LumBright), button.CenterPoint(),
                            gradients);
            else
                FillSurface(dc, button, GetColor(LumDark), GetColor(Lum), button.CenterPoint(),
                            gradients);
        }
    }
    face->ReleaseHandle(true);
    return face;
}

void CCoolComboBox::DrawContent(CCoolDC& dc, const CRect& textArea) {
    const DWORD style = CWnd::GetStyle();
    if (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) {
        const int current = GetCurSel();
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_COMBOBOX;
        item.CtlID = static_cast<UINT>(GetDlgCtrlID());
        item.itemID = static_cast<UINT>(current);
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = ODS_DEFAULT;
        item.hwndItem = m_hWnd;
        item.hDC = dc;
        item.rcItem = textArea;
        item.itemData = current >= 0 ? static_cast<ULONG_PTR>(GetItemData(current)) : 0;
        DrawItem(&item);
        return;
    }
    if (GetCount() <= 0) return;

    char buffer[257] = {};
    const int length = ::GetWindowTextA(m_hWnd, buffer, sizeof(buffer));
    const std::string text(buffer, length > 0 ? static_cast<size_t>(length) : 0);
    const bool enabled = IsWindowEnabled();
    COLORREF color;
    if (CoolColors::GetStyle() == 1)
        color = GetColor(enabled ? LumBright : Lum);
    else
        color = GetColor(!enabled ? TextDisabled : IsHot() ? TextHot : Text);

    constexpr UINT kFormat = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
    dc.SetBkMode(TRANSPARENT);
    if (HasRenderFlag(RenderEmbossed) && CoolColors::GetStyle() == 0) {
        CRect r = textArea;
        r.OffsetRect(-1, -1);
        dc.SetTextColor(GetColor(Light));
        dc.DrawText(text, r, kFormat);
        r.OffsetRect(2, 2);
        dc.SetTextColor(GetColor(Shadow));
        dc.DrawText(text, r, kFormat);
    }
    CRect r = textArea;
    dc.SetTextColor(color);
    dc.DrawText(text, r, kFormat);
}

void CCoolComboBox::OnPaint() {
    CCoolPaintDC paint(m_hWnd);
    if (!(CWnd::GetStyle() & WS_VISIBLE)) return;
    CaptureLayout(m_hWnd);
    const CRect client = GetClientRect();
    if (client.IsRectEmpty()) return;

    if (!SameSize(m_normalFace.get(), client)) {
        OnColorsChanged();
        m_normalFace = BuildFace(paint, client, false);
    }
    if (m_pressed && !m_pressedFace) m_pressedFace = BuildFace(paint, client, true);
    if (!SameSize(m_image.get(), client)) {
        m_image = std::make_unique<CCoolBitmap>();
        if (!m_image->CreateCompatibleBitmap(paint, client.Width(), client.Height())) return;
    }
    if (!m_image->RestoreHandle()) return;

    {
        CCoolMemoryDC memory(paint);
        CScopedSelection image(memory, *m_image);
        CScopedSelection font(memory, reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));

        CCoolBitmap* face = m_pressed && m_pressedFace ? m_pressedFace.get() : m_normalFace.get();
        if (face) face->Draw(memory, 0, 0);
        if (m_focused)
            memory.Draw3dRect(client, GetColor(LumBright), GetColor(Lum));
        else
            memory.Draw3dRect(client, GetColor(Shadow), GetColor(Light));

        const CRect button = ButtonRect(client);
        DrawContent(memory, CRect(client.left, client.top, button.left, client.bottom));

        const RECT& dirty = paint.GetPaintRect();
        paint.BitBlt(dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top,
                     memory, dirty.left, dirty.top);
    }
    m_image->ReleaseHandle(true);
}
