#include "CoolSliderCtrl.h"

#include "FastPath.h"
#include "CoolBitmap.h"
#include "CoolPaintDC.h"
#include "FrameworkMessages.h"
#include "ParentBackground.h"
#include "Pen.h"

#include <algorithm>
#include <utility>

namespace {

// A 3D frame of one pixel in a raw DC.
void Frame(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    auto fill = [dc](int l, int t, int rr, int b, COLORREF c) {
        RECT x = {l, t, rr, b};
        COLORREF old = ::SetBkColor(dc, c);
        ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &x, nullptr, 0, nullptr);
        ::SetBkColor(dc, old);
    };
    fill(r.left, r.top, r.right - 1, r.top + 1, topLeft);
    fill(r.left, r.top, r.left + 1, r.bottom - 1, topLeft);
    fill(r.right - 1, r.top, r.right, r.bottom, bottomRight);
    fill(r.left, r.bottom - 1, r.right, r.bottom, bottomRight);
}

TRIVERTEX Vertex(int x, int y, COLORREF c) {
    TRIVERTEX v = {};
    v.x = x;
    v.y = y;
    v.Red = static_cast<COLOR16>(GetRValue(c) << 8);
    v.Green = static_cast<COLOR16>(GetGValue(c) << 8);
    v.Blue = static_cast<COLOR16>(GetBValue(c) << 8);
    return v;
}

// The paint of a running meter asks for the position and range 20 times a second, and
// every paint for the geometry, the selection and each tick.
int AskTrackBar(HWND window, UINT message, WPARAM wParam = 0) {
    return static_cast<int>(AskClassProcedure(window, message, wParam));
}

CRect AskTrackBarRect(HWND window, UINT message) {
    CRect r;
    AskClassProcedure(window, message, 0, reinterpret_cast<LPARAM>(&r));
    return r;
}

} // namespace

CCoolSliderCtrl::CCoolSliderCtrl() : m_lastClick(0) {
    // Sliders always show their parent's background.
    SetAlpha(0);
    StoreStyle(0);
}

CCoolSliderCtrl::~CCoolSliderCtrl() = default;

void CCoolSliderCtrl::ReleaseImages() {
    m_composed.Reset();
    m_background.reset();
    m_channelNormal.Reset();
    m_channelHot.Reset();
    m_channelFocused.Reset();
    m_levelImage.Reset();
}

void CCoolSliderCtrl::OnColorsChanged() {
    // The background copy goes too: the parent's background changes with the scheme.
    ReleaseImages();
    m_dirty = DirtyAll;
}

LRESULT CCoolSliderCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleSchemeMessage(message, wParam, lParam, &result, Role::ControlWithoutBackground)) {
        if (message == WM_COOL_SETCOLOR) m_dirty = DirtyAll;
        return result;
    }
    switch (message) {
    case WM_PAINT:
        return OnPaint();
    case WM_ERASEBKGND:
        return 0;
    case WM_NCPAINT:
        return OnNcPaint(wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return OnLButtonDown(message, wParam, lParam);
    case WM_MOUSEMOVE:
        return OnMouseMove(wParam, lParam);
    case WM_CAPTURECHANGED:
        return OnCaptureChanged(wParam, lParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        return OnFocus(message, wParam, lParam);
    case WM_SIZE:
        return OnSize(wParam, lParam);
    case WM_DISPLAYCHANGE:
        return OnDisplayChange(wParam, lParam);
    default:
        return CSliderCtrl::WindowProc(message, wParam, lParam);
    }
}

void CCoolSliderCtrl::GetGeometry(CRect& channel, CRect& thumb) const {
    GetGeometry(channel, thumb, GetPos(), GetRangeMin(), GetRangeMax());
}

void CCoolSliderCtrl::GetGeometry(CRect& channel, CRect& thumb, int pos, int minimum,
                                  int maximum) const {
    channel = AskTrackBarRect(m_hWnd, TBM_GETCHANNELRECT);
    // Vertical sliders may report their channel with the axes exchanged.
    if (IsVertical() && channel.Width() > channel.Height()) {
        std::swap(channel.left, channel.top);
        std::swap(channel.right, channel.bottom);
    }
    thumb = AskTrackBarRect(m_hWnd, TBM_GETTHUMBRECT);
    const long long range = static_cast<long long>(maximum) - minimum;
    const long long offset = static_cast<long long>(pos) - minimum;
    if (range == 0) return;
    if (IsVertical()) {
        const int length = thumb.Height();
        const int travel = channel.Height() - length;
        if (travel == 0) return;
        thumb.top = channel.top + static_cast<int>(offset * travel / range);
        thumb.bottom = thumb.top + length;
    } else {
        const int length = thumb.Width();
        const int travel = channel.Width() - length;
        if (travel == 0) return;
        thumb.left = channel.left + static_cast<int>(offset * travel / range);
        thumb.right = thumb.left + length;
    }
}

LRESULT CCoolSliderCtrl::OnPaint() {
    CCoolPaintDC paint(m_hWnd);
    CaptureLayout(m_hWnd);
    const DWORD style = CWnd::GetStyle();
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE));
    if (style != m_lastStyle || exStyle != m_lastExStyle) {
        OnColorsChanged();
        m_lastStyle = style;
        m_lastExStyle = exStyle;
    }
    const CRect client = GetClientRect();
    if (client.IsRectEmpty()) return 0;

    if (m_composed.IsEmpty()) {
        if (!m_composed.Create(paint, client.Width(), client.Height())) return 0;
        m_dirty = DirtyAll;
    }
    const int pos = AskTrackBar(m_hWnd, TBM_GETPOS);
    const int minimum = AskTrackBar(m_hWnd, TBM_GETRANGEMIN);
    const int maximum = AskTrackBar(m_hWnd, TBM_GETRANGEMAX);
    if (minimum != m_lastMin || maximum != m_lastMax) m_dirty = DirtyAll;
    if (pos != m_lastPos) m_dirty |= DirtyBackground | DirtyTicks;
    m_lastPos = pos;
    m_lastMin = minimum;
    m_lastMax = maximum;

    CCoolDC* composed = m_composed.Begin(paint);
    if (!composed) return 0;
    CCoolDC& dc = *composed;

    if ((m_dirty & DirtyBackground) || HasRenderFlag(RenderAlpha)) {
        if (!m_background) {
            m_background = std::make_unique<CCoolBitmap>();
            if (!CopyParentBackground(m_hWnd, paint, *m_background)) m_background.reset();
        }
        if (m_background)
            m_background->Draw(dc, 0, 0);
        else
            dc.FillSolidRect(client, GetColor(Background));
        m_dirty |= DirtyTicks | DirtyChannel;
    }

    // The channel and the thumb move only with the position, the range and the size.
    if (m_dirty & DirtyBackground) GetGeometry(m_channel, m_thumb, pos, minimum, maximum);
    const CRect channel = m_channel, thumb = m_thumb;
    const bool levels = (style & TBS_ENABLESELRANGE) != 0;
    if (levels && ReadLevels()) m_dirty |= DirtyChannel | DirtyLevelPlacement;

    if (!(style & TBS_NOTICKS) && (m_dirty & DirtyTicks)) DrawTicks(dc, client, channel, thumb);
    // Copying the channel covers the level bar: it is placed again on top.
    if (m_dirty & DirtyChannel) {
        DrawChannel(dc, channel);
        m_dirty |= DirtyLevelPlacement;
    }
    if (levels) {
        CRect bar = channel;
        bar.DeflateRect(2, 2);
        if (!bar.IsRectEmpty()) {
            if ((m_dirty & DirtyLevelImage) || m_levelImage.IsEmpty()) BuildLevelImage(dc, bar);
            if ((m_dirty & DirtyLevelPlacement) && !m_levelImage.IsEmpty())
                PlaceLevelBar(dc, channel, bar);
        }
    }
    if (!(style & TBS_NOTHUMB)) DrawThumb(dc, thumb);

    // The composed image is whole; only the part that was invalidated goes to the screen.
    CRect shown;
    if (!shown.IntersectRect(CRect(paint.GetPaintRect()), client)) shown = client;
    paint.BitBlt(shown.left, shown.top, shown.Width(), shown.Height(), dc, shown.left, shown.top);
    m_composed.End(true);
    m_dirty = 0;
    return 0;
}

void CCoolSliderCtrl::InvalidateLevels() {
    if (!m_hWnd) return;
    if (m_channel.IsRectEmpty()) {
        Invalidate(false);
        return;
    }
    // The peak mark may reach a pixel past either end of the channel.
    CRect levels = m_channel;
    levels.InflateRect(0, 2);
    ::InvalidateRect(m_hWnd, &levels, FALSE);
}

bool CCoolSliderCtrl::ReadLevels() {
    const int start = AskTrackBar(m_hWnd, TBM_GETSELSTART);
    const int end = AskTrackBar(m_hWnd, TBM_GETSELEND);
    const bool changed = start != m_lastSelStart || end != m_lastSelEnd;
    m_lastSelStart = start;
    m_lastSelEnd = end;
    return changed;
}

void CCoolSliderCtrl::DrawTicks(CCoolDC& dc, const CRect& client, const CRect& channel,
                                const CRect& thumb) {
    const int count = GetNumTics(); // once per paint: a derived control may report its own
    if (count <= 0) return;
    const DWORD style = CWnd::GetStyle();
    const bool first = (style & TBS_LEFT) != 0, both = (style & TBS_BOTH) != 0;
    const int pos = m_lastPos;
    if (IsVertical()) {
        const int half = thumb.Height() / 2;
        const int top = channel.top + half, bottom = channel.bottom - half;
        if ((first || both) && thumb.left - client.left > 4)
            DrawTickArea(
                dc, CRect(std::max(thumb.left - 6, client.left + 4), top, thumb.left - 1, bottom),
                count, pos);
        if ((!first || both) && client.right - thumb.right > 4)
            DrawTickArea(
                dc,
                CRect(thumb.right + 1, top, std::min(client.right - 4, thumb.right + 6), bottom),
                count, pos);
    } else {
        const int half = thumb.Width() / 2;
        const int left = channel.left + half, right = channel.right - half;
        if ((first || both) && thumb.top - client.top > 4)
            DrawTickArea(dc,
                         CRect(left, std::max(thumb.top - 6, client.top + 4), right, thumb.top - 1),
                         count, pos);
        if ((!first || both) && client.bottom - thumb.bottom > 4)
            DrawTickArea(
                dc,
                CRect(left, thumb.bottom + 1, right, std::min(client.bottom - 4, thumb.bottom + 6)),
                count, pos);
    }
}

// Ticks sit at their value's place along the area; lit are those between the thumb and the
// maximum end on vertical sliders, between the minimum end and the thumb on horizontal ones.
void CCoolSliderCtrl::DrawTickArea(CCoolDC& dc, const CRect& area, int count, int pos) {
    const int minimum = m_lastMin, maximum = m_lastMax;
    const COLORREF lit = GetColor(Text), dim = GetColor(TextDisabled);
    CPen litPen(PS_SOLID, 1, lit), dimPen(PS_SOLID, 1, dim);
    const bool vertical = IsVertical();
    auto line = [&](int at, bool isLit) {
        CScopedSelection pen(dc, isLit ? litPen : dimPen);
        if (vertical) {
            dc.MoveTo(area.left, at);
            dc.LineTo(area.right, at);
        } else {
            dc.MoveTo(at, area.top);
            dc.LineTo(at, area.bottom);
        }
    };
    if (vertical) {
        line(area.bottom, true);
        line(area.top, pos == minimum);
    } else {
        line(area.left, true);
        line(area.right, pos >= maximum);
    }
    const double length = vertical ? area.Height() : area.Width();
    const double range = static_cast<double>(maximum) - minimum;
    for (int i = 0; range != 0 && i < count - 2; ++i) {
        const int v = AskTrackBar(m_hWnd, TBM_GETTIC, static_cast<WPARAM>(i));
        if (v < minimum || v > maximum) continue;
        const int offset = static_cast<int>((v - minimum) * (length / range));
        line((vertical ? area.top : area.left) + offset, vertical ? v >= pos : v < pos);
    }
}

void CCoolSliderCtrl::DrawChannel(CCoolDC& dc, const CRect& channel) {
    if (channel.IsRectEmpty()) return;
    CCoolLayer& image = m_focused ? m_channelFocused : (m_hot ? m_channelHot : m_channelNormal);
    if (image.IsEmpty()) {
        const COLORREF outer = GetColor(m_focused || m_hot ? Lum : LumDark);
        const COLORREF highlight = GetColor(m_focused ? LumBright : (m_hot ? LumLight : Lum));
        CCoolDC* built =
            image.Create(dc, channel.Width(), channel.Height()) ? image.Begin(dc) : nullptr;
        if (!built) return;
        const CRect r(0, 0, channel.Width(), channel.Height());
        if (HasRenderFlag(RenderGradients)) {
            POINT centre = r.CenterPoint();
            built->FillLit(r, outer, highlight, &centre, CCoolDC::LitPyramid);
        } else {
            built->FillSolidRect(r, highlight);
        }
        built->Draw3dRect(r, GetColor(Shadow), GetColor(Light));
        image.End(true);
    }
    if (CCoolDC* source = image.Begin(dc)) {
        dc.BitBlt(channel.left, channel.top, channel.Width(), channel.Height(), *source, 0, 0);
        image.End();
    }
}

void CCoolSliderCtrl::BuildLevelImage(HDC reference, const CRect& bar) {
    CCoolDC* dc = m_levelImage.Create(reference, bar.Width(), bar.Height())
                      ? m_levelImage.Begin(reference)
                      : nullptr;
    if (!dc) return;
    const bool vertical = IsVertical();
    // Vertical bars run from SelLow at the top to SelHigh at the bottom, horizontal ones from
    // SelHigh at the left to SelLow at the right.
    TRIVERTEX v[2] = {Vertex(0, 0, GetColor(vertical ? SelLow : SelHigh)),
                      Vertex(bar.Width(), bar.Height(), GetColor(vertical ? SelHigh : SelLow))};
    GRADIENT_RECT mesh = {0, 1};
    dc->GradientFill(v, 2, &mesh, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
    m_levelImage.End(true);
}

CRect CCoolSliderCtrl::LevelSpan(const CRect& bar, int from, int to) const {
    const double range = static_cast<double>(m_lastMax) - m_lastMin;
    if (range == 0) return CRect();
    const bool vertical = IsVertical();
    const double scale = (vertical ? bar.Height() : bar.Width()) / range;
    int a = static_cast<int>((from - m_lastMin) * scale);
    int b = static_cast<int>((to - m_lastMin) * scale);
    if (a > b) std::swap(a, b);
    CRect span = vertical ? CRect(bar.left, bar.top + a, bar.right, bar.top + b)
                          : CRect(bar.left + a, bar.top, bar.left + b, bar.bottom);
    CRect clipped;
    clipped.IntersectRect(span, bar);
    return clipped;
}

void CCoolSliderCtrl::CopyLevelParts(CCoolDC& dc, const CRect& bar,
                                     std::initializer_list<CRect> parts) {
    CCoolDC* source = m_levelImage.Begin(dc);
    if (!source) return;
    const bool blend = HasRenderFlag(RenderAlpha) && m_levelAlpha < 255;
    for (const CRect& part : parts) {
        if (part.IsRectEmpty()) continue;
        const int srcX = part.left - bar.left, srcY = part.top - bar.top;
        if (blend)
            dc.AlphaBlend(part.left, part.top, part.Width(), part.Height(), *source, srcX, srcY,
                          part.Width(), part.Height(),
                          static_cast<BYTE>(std::max(0, m_levelAlpha)));
        else
            dc.BitBlt(part.left, part.top, part.Width(), part.Height(), *source, srcX, srcY);
    }
    m_levelImage.End();
}

void CCoolSliderCtrl::PlaceLevelBar(CCoolDC& dc, const CRect&, const CRect& bar) {
    CopyLevelParts(dc, bar, {LevelSpan(bar, m_lastSelStart, m_lastSelEnd)});
}

void CCoolSliderCtrl::DrawThumb(CCoolDC& dc, const CRect& thumb) {
    if (thumb.IsRectEmpty()) return;
    CRect r = thumb;
    dc.Draw3dRect(r, GetColor(Light), GetColor(Shadow));
    r.DeflateRect(1, 1);
    if (IsWindowEnabled())
        dc.Draw3dRect(r, GetColor(LumBright), GetColor(Lum));
    else
        dc.Draw3dRect(r, GetColor(Lum), GetColor(LumDark));
    r.DeflateRect(1, 1);
    dc.Draw3dRect(r, GetColor(Light), GetColor(Shadow));
    r.DeflateRect(1, 1);
    if (r.IsRectEmpty()) return;
    // With a level bar the thumb is open in the middle, so the level shows through it.
    if (CWnd::GetStyle() & TBS_ENABLESELRANGE)
        dc.Draw3dRect(r, GetColor(Shadow), GetColor(Light));
    else
        dc.FillSolidRect(r, GetColor(Background));
}

LRESULT CCoolSliderCtrl::OnNcPaint(WPARAM wParam, LPARAM lParam) {
    const LONG_PTR ex = ::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE);
    if (!(ex & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE)))
        return DefWindowProc(WM_NCPAINT, wParam, lParam);
    CWindowDC dc(m_hWnd, DCArea::WholeWindow);
    if (!dc) return 0;
    CRect r = GetWindowRect();
    r.OffsetRect(-r.left, -r.top);
    auto frame = [&](int a, int b) {
        Frame(dc, r, GetColor(a), GetColor(b));
        r.DeflateRect(1, 1);
    };
    if (ex & WS_EX_CLIENTEDGE) {
        frame(Shadow, Light);
        frame(Light, Shadow);
    }
    if (ex & WS_EX_STATICEDGE) frame(Light, Shadow);
    if (ex & WS_EX_DLGMODALFRAME) {
        frame(Light, Shadow);
        frame(Background, Background);
    }
    if (ex & WS_EX_WINDOWEDGE) frame(Shadow, Light);
    return 0;
}

LRESULT CCoolSliderCtrl::OnLButtonDown(UINT message, WPARAM wParam, LPARAM lParam) {
    const ULONGLONG now = ::GetTickCount64();
    const ULONGLONG previous = std::exchange(m_lastClick, now);
    if (m_resetEnabled && previous && now - previous < ::GetDoubleClickTime()) {
        SetPos(m_resetValue);
        if (HWND parent = GetParent())
            ::SendMessageA(parent, IsVertical() ? WM_VSCROLL : WM_HSCROLL,
                           static_cast<WPARAM>(static_cast<UINT>(m_resetValue)),
                           reinterpret_cast<LPARAM>(m_hWnd));
        return 0;
    }
    // The system control takes the capture over for its own drag.
    m_hoverCapture = false;
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CCoolSliderCtrl::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    if (!(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
        const POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (GetClientRect().PtInRect(p)) {
            // The system control gives the capture up after a drag: take it again.
            if (::GetCapture() != m_hWnd) {
                m_hoverCapture = true;
                ::SetCapture(m_hWnd);
            }
            if (!m_hot) {
                m_hot = 1;
                m_dirty |= DirtyChannel;
                Invalidate(false);
            }
        } else {
            // Released even when not hot: a click takes the hot look away (the focus does)
            // while the capture stays, and the pointer may leave without another move inside.
            if (::GetCapture() == m_hWnd) ::ReleaseCapture();
            if (m_hot) {
                m_hot = 0;
                m_dirty |= DirtyChannel;
                Invalidate();
                SendStatusPrompt(0);
            }
        }
    }
    return DefWindowProc(WM_MOUSEMOVE, wParam, lParam);
}

LRESULT CCoolSliderCtrl::OnCaptureChanged(WPARAM wParam, LPARAM lParam) {
    // The system control ends a drag when it loses the capture, and tells the parent so. A
    // capture held for the hover look ends no drag: the parent would take the notification
    // for a move and write the position again.
    if (std::exchange(m_hoverCapture, false)) return 0;
    return DefWindowProc(WM_CAPTURECHANGED, wParam, lParam);
}

LRESULT CCoolSliderCtrl::OnFocus(UINT message, WPARAM wParam, LPARAM lParam) {
    m_focused = message == WM_SETFOCUS;
    m_hot = 0;
    if (!m_focused && ::GetCapture() == m_hWnd) ::ReleaseCapture();
    m_dirty |= DirtyChannel;
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CCoolSliderCtrl::OnSize(WPARAM wParam, LPARAM lParam) {
    OnColorsChanged();
    LRESULT result = DefWindowProc(WM_SIZE, wParam, lParam);
    Invalidate();
    return result;
}

LRESULT CCoolSliderCtrl::OnDisplayChange(WPARAM wParam, LPARAM lParam) {
    if (!m_composed.IsEmpty() && m_composed.BitsPixel() != static_cast<int>(wParam)) {
        OnColorsChanged();
        Invalidate();
    }
    return DefWindowProc(WM_DISPLAYCHANGE, wParam, lParam);
}
