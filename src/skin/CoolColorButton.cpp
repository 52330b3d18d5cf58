#include "CoolColorButton.h"

#include "CommonDialogs.h"
#include "MessageOrigin.h"

CCoolColorButton::CCoolColorButton() : m_swatchColor(GetColor(Background)) {
    StoreStyle(1);
}

void CCoolColorButton::SetSwatchColor(COLORREF color) {
    m_swatchColor = color;
    OnColorsChanged();
    if (m_hWnd) Invalidate(true);
}

int CCoolColorButton::PickColor() {
    COLORREF custom[16];
    for (COLORREF& c : custom)
        c = RGB(255, 255, 255);
    // The parent's own colours first; a parent that is not skinned leaves them white.
    const int slots[] = {Background, Text, Lum, SelLow, SelHigh};
    HWND parent = GetParent();
    for (int i = 0; i < 5; ++i) {
        COLORREF color = RGB(255, 255, 255);
        if (parent &&
            CMessageOrigin::SendOwn(parent, WM_COOL_GETCOLOR, static_cast<WPARAM>(slots[i]),
                                    reinterpret_cast<LPARAM>(&color)) == 1)
            custom[i] = color;
    }
    const int system[] = {COLOR_DESKTOP, COLOR_ACTIVECAPTION, COLOR_GRADIENTACTIVECAPTION,
                          COLOR_INFOBK,  COLOR_BTNHIGHLIGHT,  COLOR_3DLIGHT,
                          COLOR_BTNFACE, COLOR_BTNSHADOW};
    for (int i = 0; i < 8; ++i)
        custom[8 + i] = ::GetSysColor(system[i]);

    CHOOSECOLORA choose = {};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = m_hWnd ? ::GetAncestor(m_hWnd, GA_ROOT) : nullptr;
    choose.rgbResult = m_swatchColor;
    choose.lpCustColors = custom;
    choose.Flags = CC_FULLOPEN | CC_RGBINIT;
    if (!AppChooseColor(choose)) return 0;
    SetSwatchColor(choose.rgbResult);
    return 1;
}

CRect CCoolColorButton::SwatchRect(const CRect& client) const {
    CRect swatch = client;
    switch (GetStyle() & 0x300) {
    case BS_RIGHT:
        swatch.right = swatch.left + client.Height();
        break;
    case BS_LEFT:
        swatch.left = swatch.right - client.Height();
        break;
    default:
        break;
    }
    swatch.DeflateRect(3, 3);
    return swatch;
}

void CCoolColorButton::PaintSwatch(CCoolDC& dc, const CRect& client) {
    const CRect swatch = SwatchRect(client);
    if (swatch.IsRectEmpty()) return;
    POINT centre = swatch.CenterPoint();
    if (HasRenderFlag(RenderGradients))
        dc.FillLit(swatch, Shade(m_swatchColor, 0.75f), Shade(m_swatchColor, 1.5f), &centre);
    else
        dc.FillSolidRect(swatch, m_swatchColor);
    dc.Draw3dRect(swatch, GetColor(Shadow), GetColor(Light));
}

void CCoolColorButton::DrawPushFace(CCoolDC& dc) {
    const CRect client = GetClientRect();
    const bool down = IsDown();
    CopyFace(dc, GetFace(down, dc, [this, down](CCoolDC& face, const CRect& r) {
                 if (down) {
                     PaintPushDown(face, r);
                 } else {
                     FillSurface(face, r, GetColor(Shadow), GetColor(Background), GetLightPoint());
                     CRect inner = r;
                     inner.DeflateRect(1, 1);
                     face.Draw3dRect(inner, GetColor(Light), GetColor(Shadow));
                 }
                 PaintSwatch(face, r);
             }));
    if (m_focused) DrawFocusMark(dc, down);
    // The caption keeps clear of a square swatch.
    CRect caption = client;
    switch (GetStyle() & 0x300) {
    case BS_RIGHT:
        caption.left += client.Height();
        break;
    case BS_LEFT:
        caption.right -= client.Height();
        break;
    default:
        break;
    }
    DrawPushCaption(dc, caption);
}
