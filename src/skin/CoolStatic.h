// The skinned static control: labels on a lit panel (variants 0 and 1) or on the parent's
// background (variant 2), framed captions, and bitmaps with a transparent key colour. A label
// whose text is taller than the control scrolls while the mouse rests on it. It is also a
// container: it hands its scheme on to its own child windows.
#pragma once

#include "CoolColors.h"
#include "Static.h"

#include <memory>
#include <string>

class CCoolBitmap;
class CCoolDC;

class CCoolStatic : public CStatic, public CoolColors {
public:
    // State flags.
    enum : unsigned { StateScrolls = 2, StateHot = 4 };
    static constexpr UINT_PTR kScrollTimer = 777;

    CCoolStatic();
    ~CCoolStatic() override;

    // Pixels of this colour in a bitmap static are left out.
    COLORREF m_transparentColor = 0xFF00FF;

    // Variants 0 (lit face), 1 (luminous panel, the default) and 2 (see-through).
    int SetStyle(unsigned variant) override;
    void OnColorsChanged() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnPaint();
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnDisplayChange(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy();

    // The panel for the current state, built when missing; null when it cannot be made.
    CCoolBitmap* Panel(HDC reference, bool enabled);
    // Measures and draws the window text into rect with the variant's colours.
    void DrawLabel(CCoolDC& dc, const CRect& client, CRect rect, UINT format, bool mayWrap);
    void DrawCaption(CCoolDC& dc, const CRect& client);
    void DrawBitmap(CCoolDC& dc, const CRect& client);
    void StopScrolling();
    void InvalidateWithParent();

    std::unique_ptr<CCoolBitmap> m_normalBackground;
    std::unique_ptr<CCoolBitmap> m_disabledBackground;
    std::unique_ptr<CCoolBitmap> m_composed;
    unsigned m_state = 0;
    UINT_PTR m_scrollTimer = 0;
    int m_scrollOffset = 0;
    int m_scrollStep = 0;
};
