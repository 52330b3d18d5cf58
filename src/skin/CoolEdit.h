// The skinned edit control. The system still draws the text, but into an off-screen image on
// a key-coloured background; the paint lays that image over the lit background, so the text
// sits directly on the skin. Input the system would answer by drawing is processed with the
// window hidden and then repainted.
#pragma once

#include "Brush.h"
#include "CoolColors.h"
#include "Edit.h"

#include <memory>

class CCoolBitmap;

class CCoolEdit : public CEdit, public CoolColors {
public:
    // The colour left out when the text image is laid over the background.
    static constexpr COLORREF kKeyColor = RGB(255, 0, 255);

    CCoolEdit();
    ~CCoolEdit() override;

    int SetStyle(unsigned variant) override;
    void OnColorsChanged() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    bool IsFocused() const { return m_focused; }
    bool IsHot() const { return m_hot; }

private:
    void OnPaint();
    void OnNcPaint(HRGN region);
    void DrawBorder();
    void OnMouseMove(WPARAM keys, LPARAM position);
    LRESULT OnFocus(UINT message, WPARAM wParam, LPARAM lParam);

    bool m_focused = false;
    bool m_hot = false;
    std::unique_ptr<CCoolBitmap> m_background;
    std::unique_ptr<CCoolBitmap> m_textImage;
    CBrush m_keyBrush;
};
