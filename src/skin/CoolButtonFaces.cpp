// The faces of the skinned button: push and push-like, check and radio, group box, and the
// caption they share.
#include "CoolButton.h"

#include "FastPath.h"
#include "Font.h"
#include "Pen.h"

namespace {

constexpr DWORD kAlignHorizontal = 0x300; // BS_LEFT, BS_RIGHT, BS_CENTER
constexpr DWORD kAlignVertical = 0xC00;   // BS_TOP, BS_BOTTOM, BS_VCENTER

bool IsTop(DWORD style) {
    return (style & kAlignVertical) == BS_TOP;
}
bool IsBottom(DWORD style) {
    return (style & kAlignVertical) == BS_BOTTOM;
}

} // namespace

// --- Surfaces -------------------------------------------------------------------------------

void CCoolButton::FillSurface(CCoolDC& dc, const RECT& rect, COLORREF outer, COLORREF highlight,
                              POINT light) {
    if (HasRenderFlag(RenderGradients))
        dc.FillLit(rect, outer, highlight, &light);
    else
        dc.FillSolidRect(rect, highlight);
}

// --- Push faces -------------------------------------------------------------------------

void CCoolButton::PaintPushUp(CCoolDC& dc, const CRect& client) {
    FillSurface(dc, client, GetColor(Shadow), GetColor(Background), GetLightPoint());
    CRect inner = client;
    inner.DeflateRect(1, 1);
    dc.Draw3dRect(inner, GetColor(Light), GetColor(Shadow));
    dc.Draw3dRect(client, GetColor(Light), GetColor(Shadow));
}

void CCoolButton::PaintPushDown(CCoolDC& dc, const CRect& client) {
    const POINT centre = client.CenterPoint();
    const POINT light = GetLightPoint();
    FillSurface(dc, client, GetColor(Shadow), GetColor(Background),
                POINT{centre.x - light.x, centre.y - light.y});
    CRect inner = client;
    inner.DeflateRect(1, 1);
    dc.Draw3dRect(inner, GetColor(Shadow), GetColor(Light));
    inner.DeflateRect(1, 1);
    dc.Draw3dRect(inner, GetColor(Light), GetColor(Shadow));
    dc.Draw3dRect(client, GetColor(Shadow), GetColor(Light));
}

void CCoolButton::DrawFocusMark(CCoolDC& dc, bool down) {
    const CRect client = GetClientRect();
    if (down)
        dc.Draw3dRect(client, GetColor(Lum), GetColor(LumBright));
    else
        dc.Draw3dRect(client, GetColor(LumBright), GetColor(Lum));
}

void CCoolButton::DrawPushCaption(CCoolDC& dc, const RECT& rect) {
    const DWORD style = GetStyle();
    if (!(style & BS_FLAT) || !(m_hot || m_focused)) {
        DrawCaption(dc, rect, style, nullptr);
        return;
    }
    LOGFONTA lf = {};
    HGDIOBJ current = ::GetCurrentObject(dc, OBJ_FONT);
    CFont underlined;
    if (current && ::GetObjectA(current, sizeof(lf), &lf) == sizeof(lf)) {
        lf.lfUnderline = TRUE;
        underlined.CreateFontIndirect(lf);
    }
    CScopedSelection underline(dc, underlined);
    DrawCaption(dc, rect, style, nullptr);
}

void CCoolButton::DrawPushFace(CCoolDC& dc) {
    const CRect client = GetClientRect();
    const DWORD style = GetStyle();
    if (!(style & BS_FLAT)) {
        const bool down = IsDown();
        CopyFace(dc, GetFace(down, dc, [this, down](CCoolDC& face, const CRect& r) {
                     if (down)
                         PaintPushDown(face, r);
                     else
                         PaintPushUp(face, r);
                 }));
        if (m_focused) DrawFocusMark(dc, down);
    }
    if (style & BS_BITMAP) DrawImage(dc);
    DrawPushCaption(dc, client);
}

void CCoolButton::DrawPushLikeFace(CCoolDC& dc) {
    const CRect client = GetClientRect();
    const DWORD style = GetStyle();
    if (!(style & BS_FLAT)) {
        const bool down = IsDown();
        CopyFace(dc, GetFace(down, dc, [this, down](CCoolDC& face, const CRect& r) {
                     CRect inner = r;
                     inner.DeflateRect(1, 1);
                     if (!down) {
                         FillSurface(face, r, GetColor(Shadow), GetColor(Background),
                                     GetLightPoint());
                         face.Draw3dRect(r, GetColor(Light), GetColor(Shadow));
                         face.Draw3dRect(inner, GetColor(Light), GetColor(Shadow));
                         return;
                     }
                     FillSurface(face, r, GetColor(Shadow), GetColor(SelLow), r.CenterPoint());
                     face.Draw3dRect(r, GetColor(Shadow), GetColor(Light));
                     face.Draw3dRect(inner, GetColor(Shadow), GetColor(Light));
                     inner.DeflateRect(1, 1);
                     face.Draw3dRect(inner, GetColor(Light), GetColor(Shadow));
                 }));
        if (m_focused) DrawFocusMark(dc, down);
    }
    if (style & BS_BITMAP) DrawImage(dc);
    DrawPushCaption(dc, client);
}

// --- Check and radio faces ----------------------------------------------------------------

CRect CCoolButton::IndicatorRect(CCoolDC& dc, const CRect& client, bool check) const {
    const DWORD style = GetStyle();
    if (check && ClassText(m_hWnd).empty()) {
        CRect whole = client;
        whole.OffsetRect(1, IsTop(style) ? 1 : IsBottom(style) ? -1 : 0);
        return whole;
    }
    const int side = dc.GetTextExtent("X").cy;
    int top = client.top + (client.Height() - side) / 2;
    if (IsTop(style))
        top = client.top + 1;
    else if (IsBottom(style))
        top = client.bottom - side - 1;
    return CRect(client.left + 1, top, client.left + 1 + side, top + side);
}

void CCoolButton::PaintIndicatorFace(CCoolDC& dc, const CRect& client, bool check, bool down) {
    const DWORD style = GetStyle();
    if (style & BS_FLAT) {
        if (m_background)
            m_background->Draw(dc, 0, 0);
        else
            dc.FillSolidRect(client, GetColor(Background));
    } else {
        FillSurface(dc, client, GetColor(Shadow), GetColor(Light), GetLightPoint());
    }
    const bool enabled = IsWindowEnabled();
    const COLORREF outer = GetColor(enabled ? LumDark : Shadow);
    const COLORREF middle = GetColor(enabled ? Lum : Background);
    const COLORREF bright = GetColor(enabled ? LumBright : Light);

    const CRect indicator = IndicatorRect(dc, client, check);
    CRect inside = indicator;
    inside.DeflateRect(1, 1);
    if (down) {
        dc.Draw3dRect(indicator, GetColor(Shadow), GetColor(Light));
        FillSurface(dc, inside, middle, bright, indicator.CenterPoint());
    } else {
        dc.Draw3dRect(indicator, GetColor(Light), GetColor(Shadow));
        FillSurface(dc, inside, outer, middle, indicator.CenterPoint());
    }
    if (!check) return;
    CRect cross = inside;
    cross.DeflateRect(2, 2);
    if (cross.IsRectEmpty()) return;
    CPen pen(PS_SOLID, 2, down ? middle : outer);
    CScopedSelection crossPen(dc, pen);
    dc.MoveTo(cross.left, cross.top);
    dc.LineTo(cross.right, cross.bottom);
    dc.MoveTo(cross.left, cross.bottom - 1);
    dc.LineTo(cross.right, cross.top - 1);
}

void CCoolButton::DrawIndicatorFace(CCoolDC& dc, bool check) {
    const CRect client = GetClientRect();
    const DWORD style = GetStyle();
    const bool down = IsDown();
    CopyFace(dc, GetFace(down, dc, [this, check, down](CCoolDC& face, const CRect& r) {
                 PaintIndicatorFace(face, r, check, down);
             }));
    if (style & BS_BITMAP) DrawImage(dc);
    if (m_focused)
        dc.Draw3dRect(client, GetColor(LumBright), GetColor(Lum));
    else if (!(style & BS_FLAT))
        dc.Draw3dRect(client, GetColor(Light), GetColor(Shadow));
    CRect caption = client;
    caption.left = IndicatorRect(dc, client, check).right + 1;
    DrawCaption(dc, caption, style, nullptr);
}

void CCoolButton::DrawRadioFace(CCoolDC& dc) {
    DrawIndicatorFace(dc, false);
}

void CCoolButton::DrawCheckFace(CCoolDC& dc) {
    DrawIndicatorFace(dc, true);
}

// --- Group face ---------------------------------------------------------------------------

void CCoolButton::DrawGroupFace(CCoolDC& dc) {
    const CRect client = GetClientRect();
    const DWORD style = GetStyle();
    dc.Draw3dRect(client, GetColor(Shadow), GetColor(Light));
    if (style & BS_FLAT) {
        CRect inner = client;
        inner.DeflateRect(1, 1);
        dc.Draw3dRect(inner, GetColor(Light), GetColor(Shadow));
    }
    const DWORD top = (style & ~kAlignVertical) | BS_TOP;
    CRect shadowed = client;
    shadowed.OffsetRect(1, 1);
    const COLORREF shadow = GetColor(Shadow);
    DrawCaption(dc, shadowed, top, &shadow);
    DrawCaption(dc, client, top, nullptr);
}

// --- Caption ----------------------------------------------------------------------------

void CCoolButton::DrawCaption(CCoolDC& dc, const RECT& rect, DWORD style, const COLORREF* colour) {
    const std::string text = ClassText(m_hWnd);
    if (text.empty()) return;
    CRect r = rect;
    r.DeflateRect(4, 1);

    const Face face = GetFaceKind();
    UINT format = 0;
    switch (style & kAlignHorizontal) {
    case BS_RIGHT:
        format |= DT_RIGHT;
        break;
    case BS_LEFT:
        format |= DT_LEFT;
        break;
    case BS_CENTER:
        format |= DT_CENTER;
        break;
    default:
        if (face == Face::Push || face == Face::PushLike) {
            format |= DT_CENTER;
        } else {
            format |= DT_LEFT;
            if (face == Face::Check && (style & BS_MULTILINE)) r.left += 5;
        }
        break;
    }
    if (!(style & BS_MULTILINE)) {
        format |= DT_SINGLELINE | (IsTop(style)      ? DT_TOP
                                   : IsBottom(style) ? DT_BOTTOM
                                                     : DT_VCENTER);
    } else {
        format |= DT_WORDBREAK;
        if (!IsTop(style)) {
            CRect measured = r;
            dc.DrawText(text, measured, format | DT_CALCRECT);
            const int spare = r.Height() - measured.Height();
            if (IsBottom(style))
                r.top += spare;
            else if (spare > 0)
                r.top += spare / 2;
        }
    }

    const COLORREF color = colour ? *colour : CaptionColor();
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF oldColor = dc.GetSafeHdc() ? ::GetTextColor(dc) : 0;
    auto draw = [&](int dx, int dy, COLORREF c) {
        CRect at = r;
        at.OffsetRect(dx, dy);
        dc.SetTextColor(c);
        dc.DrawText(text, at, format);
    };
    if (HasRenderFlag(RenderEmbossed)) {
        draw(-1, -1, GetColor(Light));
        draw(1, 1, GetColor(Shadow));
    }
    draw(0, 0, color);
    dc.SetTextColor(oldColor);
    dc.SetBkMode(oldMode);
}
