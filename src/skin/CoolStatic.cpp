#include "CoolStatic.h"

#include "FastPath.h"
#include "CoolBitmap.h"
#include "CoolPaintDC.h"
#include "FrameworkMessages.h"
#include "HiddenDefault.h"
#include "ParentBackground.h"
#include "SchemePropagation.h"

#include <algorithm>

namespace {

// Style bits of the static control read here.
constexpr DWORD kKindMask = 0x1F;
constexpr DWORD kCenterImage = 0x200;
constexpr DWORD kRightCaption = 0x400;
constexpr DWORD kDoubleFrame = 0x8000;

bool IsTextKind(DWORD kind) {
    return kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT || kind == SS_SIMPLE ||
           kind == SS_LEFTNOWORDWRAP;
}

} // namespace

CCoolStatic::CCoolStatic() {
    StoreStyle(1);
}

CCoolStatic::~CCoolStatic() = default;

int CCoolStatic::SetStyle(unsigned variant) {
    return ChangeStyle(variant, 2);
}

void CCoolStatic::OnColorsChanged() {
    m_normalBackground.reset();
    m_disabledBackground.reset();
    m_composed.reset();
}

LRESULT CCoolStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleSchemeMessage(message, wParam, lParam, &result, Role::Control)) {
        if (!IsSchemeChange(message) || !result) return result;
        if (!HandOverContinues(m_hWnd)) PassSchemeToChildren(m_hWnd, *this);
        return 1;
    }
    switch (message) {
    case WM_PAINT:
        return OnPaint();
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE:
        return OnMouseMove(wParam, lParam);
    case WM_TIMER:
        return OnTimer(wParam, lParam);
    case WM_SIZE:
        return OnSize(wParam, lParam);
    case WM_DISPLAYCHANGE:
        return OnDisplayChange(wParam, lParam);
    case WM_DESTROY:
        return OnDestroy();
    // The system static draws these changes at once; its drawing must not reach the screen.
    case WM_ENABLE:
    case WM_SETTEXT:
    case STM_SETIMAGE:
    case STM_SETICON:
        return DefaultWithoutDrawing(*this, message, wParam, lParam);
    default:
        return CStatic::WindowProc(message, wParam, lParam);
    }
}

CCoolBitmap* CCoolStatic::Panel(HDC reference, bool enabled) {
    std::unique_ptr<CCoolBitmap>& slot = enabled ? m_normalBackground : m_disabledBackground;
    if (slot) return slot.get();
    auto panel = std::make_unique<CCoolBitmap>();
    const unsigned variant = CoolColors::GetStyle();
    if (variant == 2) {
        if (!CopyParentBackground(m_hWnd, reference, *panel)) return nullptr;
    } else {
        const CRect r = GetClientRect();
        if (!panel->CreateCompatibleBitmap(reference, r.Width(), r.Height())) return nullptr;
        {
            CCoolMemoryDC dc(reference);
            CScopedSelection panelImage(dc, *panel);
            const bool lum = variant == 1;
            const COLORREF face = GetColor(lum ? Lum : Background);
            if (!enabled) {
                dc.FillSolidRect(r, GetColor(lum ? LumDark : Background));
            } else if (!HasRenderFlag(RenderGradients)) {
                dc.FillSolidRect(r, face);
            } else {
                POINT light = lum ? r.CenterPoint() : GetLightPoint();
                dc.FillLit(r, GetColor(lum ? LumDark : Shadow), lum ? face : GetColor(Light),
                           &light);
            }
            dc.Draw3dRect(r, GetColor(Light), GetColor(Shadow));
        }
        panel->ReleaseHandle(true);
    }
    slot = std::move(panel);
    return slot.get();
}

LRESULT CCoolStatic::OnPaint() {
    CCoolPaintDC paint(m_hWnd);
    CaptureLayout(m_hWnd);
    const CRect client = GetClientRect();
    if (client.IsRectEmpty()) return 0;
    const DWORD style = CWnd::GetStyle();
    const DWORD kind = style & kKindMask;
    const bool enabled = IsWindowEnabled();
    // The system static keeps a font for its text kinds only; the others use the parent's.
    HFONT font = ClassFont(m_hWnd);
    if (!font && GetParent())
        font = reinterpret_cast<HFONT>(::SendMessageA(GetParent(), WM_GETFONT, 0, 0));

    if (IsTextKind(kind)) {
        if (!m_composed) {
            m_composed = std::make_unique<CCoolBitmap>();
            if (!m_composed->CreateCompatibleBitmap(paint, client.Width(), client.Height())) {
                m_composed.reset();
                return 0;
            }
        }
        CCoolBitmap* panel = Panel(paint, enabled);
        if (!m_composed->RestoreHandle()) return 0;
        {
            CCoolMemoryDC dc(paint);
            CScopedSelection composedImage(dc, *m_composed);
            CScopedSelection composedFont(dc, font);
            if (panel) panel->Draw(dc, 0, 0);
            CRect text = client;
            text.DeflateRect(2, 2);
            UINT format = 0;
            if (kind == SS_CENTER) format = DT_CENTER;
            if (kind == SS_RIGHT) format = DT_RIGHT;
            DrawLabel(dc, client, text, format, kind <= SS_RIGHT);
            paint.BitBlt(0, 0, client.Width(), client.Height(), dc, 0, 0);
        }
        m_composed->ReleaseHandle(true);
        return 0;
    }

    // The other kinds draw straight onto the screen.
    m_composed.reset();
    CScopedSelection paintFont(paint, font);
    const bool ownBackground = kind != SS_BITMAP && kind != SS_BLACKFRAME;
    if (ownBackground || CoolColors::GetStyle() == 2) {
        if (CCoolBitmap* panel = Panel(paint, enabled)) panel->Draw(paint, 0, 0);
    }
    switch (kind) {
    case SS_BITMAP:
        DrawBitmap(paint, client);
        break;
    case SS_BLACKFRAME:
        DrawCaption(paint, client);
        break;
    case SS_ICON:
        DrawLabel(paint, client, client, 0, true);
        break;
    default: {
        const std::string text = ClassText(m_hWnd);
        const SIZE size = paint.GetTextExtent(text.empty() ? "X" : text);
        DrawLabel(paint, client, CRect(0, 0, size.cx, client.Height() - 4), 0, true);
        break;
    }
    }
    return 0;
}

void CCoolStatic::DrawLabel(CCoolDC& dc, const CRect& client, CRect rect, UINT format,
                            bool mayWrap) {
    const DWORD style = CWnd::GetStyle();
    const std::string text = ClassText(m_hWnd);
    format |= DT_EXPANDTABS;
    if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
    int textHeight = 0;
    m_state &= ~StateScrolls;
    if (style & kCenterImage) {
        format |= DT_SINGLELINE | DT_VCENTER;
    } else {
        CRect measure(0, 0, 0, 0);
        dc.DrawText(text.empty() ? "X" : text, measure, format | DT_CALCRECT | DT_SINGLELINE);
        textHeight = measure.Height();
        if (mayWrap && measure.Width() > client.Width() - 4) {
            // Measured as it wraps, so a label that fits on a few lines stays still.
            format |= DT_WORDBREAK;
            CRect wrapped(0, 0, client.Width() - 4, 0);
            dc.DrawText(text.empty() ? "X" : text, wrapped, format | DT_CALCRECT);
            textHeight = wrapped.Height();
        }
        if (textHeight > client.Height() - 4) m_state |= StateScrolls;
    }

    const int saved = ::SaveDC(dc);
    if (m_state & StateScrolls) {
        // Past either end the text comes round again from the other side.
        if (m_scrollOffset > textHeight) m_scrollOffset = -client.Height();
        if (m_scrollOffset < -client.Height()) m_scrollOffset = textHeight;
        ::IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
        rect.OffsetRect(0, -m_scrollOffset);
        rect.bottom = rect.top + std::max<LONG>(textHeight, rect.Height());
    }
    const bool enabled = IsWindowEnabled();
    COLORREF color = GetColor(enabled ? Text : TextDisabled);
    if (CoolColors::GetStyle() == 1) color = GetColor(enabled ? LumBright : Lum);
    dc.SetBkMode(TRANSPARENT);
    if (HasRenderFlag(RenderEmbossed)) {
        CRect r = rect;
        dc.SetTextColor(GetColor(Shadow));
        dc.DrawText(text, r, format);
        r.OffsetRect(2, 2);
        dc.SetTextColor(GetColor(Light));
        dc.DrawText(text, r, format);
        rect.OffsetRect(1, 1);
    }
    dc.SetTextColor(color);
    dc.DrawText(text, rect, format);
    ::RestoreDC(dc, saved);
}

void CCoolStatic::DrawCaption(CCoolDC& dc, const CRect& client) {
    const DWORD style = CWnd::GetStyle();
    dc.Draw3dRect(client, GetColor(Shadow), GetColor(Light));
    if (style & kDoubleFrame) {
        CRect inner = client;
        inner.DeflateRect(1, 1);
        dc.Draw3dRect(inner, GetColor(Light), GetColor(Shadow));
    }
    const std::string text = ClassText(m_hWnd);
    if (text.empty()) return;
    const SIZE size = dc.GetTextExtent(text);
    int x = 2;
    if (style & kRightCaption)
        x = client.right - 2 - size.cx;
    else if (style & kCenterImage)
        x = (client.Width() - size.cx) / 2;
    CRect r(x, 2, x + size.cx, size.cy + 4);
    const UINT format =
        DT_CENTER | DT_SINGLELINE | DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
    dc.SetBkMode(TRANSPARENT);
    CRect shadow = r;
    shadow.OffsetRect(1, 0);
    dc.SetTextColor(GetColor(TextDisabled));
    dc.DrawText(text, shadow, format);
    dc.SetTextColor(GetColor(IsWindowEnabled() ? Text : TextDisabled));
    dc.DrawText(text, r, format);
}

void CCoolStatic::DrawBitmap(CCoolDC& dc, const CRect& client) {
    HBITMAP bitmap = reinterpret_cast<HBITMAP>(SendMessage(STM_GETIMAGE, IMAGE_BITMAP));
    BITMAP bm = {};
    if (!bitmap || !::GetObjectA(bitmap, sizeof(bm), &bm)) return;
    CMemoryDC source(dc);
    CScopedSelection sourceImage(source, bitmap);
    if (!source || !sourceImage) return;
    dc.TransparentBlt(0, 0, client.Width(), client.Height(), source, 0, 0, bm.bmWidth, bm.bmHeight,
                      m_transparentColor);
}

LRESULT CCoolStatic::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    if (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))
        return CStatic::WindowProc(WM_MOUSEMOVE, wParam, lParam);
    const POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const CRect client = GetClientRect();
    const bool inside = client.PtInRect(p) != FALSE;
    if (inside && !(m_state & StateHot) && ::GetCapture() != m_hWnd) {
        ::SetCapture(m_hWnd);
        m_state |= StateHot;
        Invalidate();
        SendStatusPrompt(static_cast<UINT>(GetDlgCtrlID()));
    } else if (!inside && (m_state & StateHot)) {
        if (::GetCapture() == m_hWnd) ::ReleaseCapture();
        m_state &= ~StateHot;
        SendStatusPrompt(0);
        Invalidate();
    }
    if (m_state & StateScrolls) {
        if (inside) {
            if (!m_scrollTimer) {
                m_scrollTimer = SetTimer(kScrollTimer, 100);
                ::SetCapture(m_hWnd);
            }
            // Below the middle the text moves up, above it down; up to 4 pixels a tick.
            if (client.Height() > 0)
                m_scrollStep = (p.y - client.Height() / 2) * 8 / client.Height();
        } else {
            if (::GetCapture() == m_hWnd) ::ReleaseCapture();
            StopScrolling();
            m_scrollOffset = 0;
            Invalidate();
        }
    }
    return CStatic::WindowProc(WM_MOUSEMOVE, wParam, lParam);
}

void CCoolStatic::StopScrolling() {
    if (m_scrollTimer) KillTimer(kScrollTimer);
    m_scrollTimer = 0;
}

void CCoolStatic::InvalidateWithParent() {
    Invalidate();
    HWND parent = GetParent();
    if (!parent || !(::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE) & WS_EX_TRANSPARENT)) return;
    CRect r = GetWindowRect();
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    ::InvalidateRect(parent, &r, TRUE);
}

LRESULT CCoolStatic::OnTimer(WPARAM wParam, LPARAM lParam) {
    if (wParam != kScrollTimer) return CStatic::WindowProc(WM_TIMER, wParam, lParam);
    m_scrollOffset += m_scrollStep;
    InvalidateWithParent();
    return 0;
}

LRESULT CCoolStatic::OnSize(WPARAM wParam, LPARAM lParam) {
    OnColorsChanged();
    return DefaultWithoutDrawing(*this, WM_SIZE, wParam, lParam);
}

LRESULT CCoolStatic::OnDisplayChange(WPARAM wParam, LPARAM lParam) {
    if (m_composed && m_composed->BitsPixel() != static_cast<int>(wParam)) {
        OnColorsChanged();
        Invalidate();
    }
    return CStatic::WindowProc(WM_DISPLAYCHANGE, wParam, lParam);
}

LRESULT CCoolStatic::OnDestroy() {
    StopScrolling();
    return CStatic::WindowProc(WM_DESTROY, 0, 0);
}
