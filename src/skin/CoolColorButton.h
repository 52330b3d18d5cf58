// A push button showing a colour swatch; PickColor lets the user choose the colour with the
// system colour chooser.
#pragma once

#include "CoolButton.h"

class CCoolColorButton : public CCoolButton {
public:
    CCoolColorButton();

    COLORREF GetSwatchColor() const { return m_swatchColor; }
    // Stores the colour and redraws.
    void SetSwatchColor(COLORREF color);
    // Opens the colour chooser on the swatch colour; the custom colours offer the parent's
    // scheme and a few system colours. 1 when the user confirmed a colour (then it is set).
    int PickColor();

    void DrawPushFace(CCoolDC& dc) override;

protected:
    // The swatch: a square at the left edge (right-aligned caption) or at the right edge
    // (left-aligned caption), else the whole button; shrunk by 3 on every side.
    CRect SwatchRect(const CRect& client) const;
    void PaintSwatch(CCoolDC& dc, const CRect& client);

    COLORREF m_swatchColor;
};
