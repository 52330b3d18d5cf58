// The skinned list view. The system draws the items into an off-screen content image whose
// background is the key colour; the paint lays it over the lit background and a focus frame.
#pragma once

#include "CoolColors.h"
#include "ListCtrl.h"

#include <memory>

class CCoolBitmap;

class CCoolListCtrl : public CListCtrl, public CoolColors {
public:
    // The list's background: left out when the content is laid over the skin.
    static constexpr COLORREF kKeyColor = RGB(255, 0, 255);

    CCoolListCtrl();
    ~CCoolListCtrl() override;

    void OnColorsChanged() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    bool IsFocused() const { return m_focused; }

private:
    void OnPaint();

    std::unique_ptr<CCoolBitmap> m_background;
    std::unique_ptr<CCoolBitmap> m_content;
    // Set when items went away or moved: the content image is cleared before the next drawing.
    bool m_contentDirty = true;
    bool m_focused = false;
    // The list's colours are set at the first paint after construction or a colour change.
    bool m_listColorsSet = false;
};
