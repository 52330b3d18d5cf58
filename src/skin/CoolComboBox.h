// The skinned drop-down list: a lit text area with a luminous drop button, drawn from two
// cached faces (normal and pressed). The system control keeps its behaviour; state changes it
// would draw itself are processed with the window hidden and then repainted by the skin.
//
// Variants: 0 text on the window background, 1 text on a luminous panel.
#pragma once

#include "Brush.h"
#include "ComboBox.h"
#include "CoolColors.h"

#include <memory>

class CCoolBitmap;
class CCoolDC;

class CCoolComboBox : public CComboBox, public CoolColors {
public:
    // The hover timer: while it runs the control is hot.
    static constexpr UINT_PTR kHoverTimer = 666;
    static constexpr UINT kHoverPeriod = 100;

    CCoolComboBox();
    ~CCoolComboBox() override;

    int SetStyle(unsigned variant) override;
    void OnColorsChanged() override;

    // Draws an item of an owner-drawn combo box (the current one in the text area, and the
    // items of the list); the base draws nothing.
    virtual void DrawItem(DRAWITEMSTRUCT* item);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    bool IsPressed() const { return m_pressed; }
    bool IsHot() const { return m_hoverTimer != 0; }
    bool IsFocused() const { return m_focused; }

private:
    void OnPaint();
    void OnMouseMove();
    void OnTimer(UINT_PTR id);
    void SetPressed(bool pressed);
    HBRUSH OnListColor(HDC dc);
    void StopHover();

    // The drop button: the rightmost scroll-thumb width inside the frames.
    CRect ButtonRect(const CRect& client) const;
    std::unique_ptr<CCoolBitmap> BuildFace(HDC reference, const CRect& client, bool pressed);
    void DrawContent(CCoolDC& dc, const CRect& textArea);

    bool m_focused = false;
    bool m_pressed = false;
    UINT_PTR m_hoverTimer = 0;
    std::unique_ptr<CCoolBitmap> m_image;
    std::unique_ptr<CCoolBitmap> m_normalFace;
    std::unique_ptr<CCoolBitmap> m_pressedFace;
    CBrush m_listBrush;
    COLORREF m_listBrushColor = CLR_INVALID;
};
