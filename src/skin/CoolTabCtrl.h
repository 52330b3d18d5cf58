// The sheet's tab control, skinned: button-style tabs on the window background, or ordinary
// tabs on luminous faces. Tabs can be disabled: they show no text and cannot be selected.
// Inside a CCoolPropertySheet a change of tab also asks the current page whether it may be
// left.
#pragma once

#include "Bitmap.h"
#include "CoolColors.h"
#include "CoolDC.h"
#include "TabCtrl.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CCoolTabCtrl : public CTabCtrl, public CoolColors {
public:
    CCoolTabCtrl();
    ~CCoolTabCtrl() override;

    // Disabled tabs show no text and refuse to be selected.
    void DisableTab(int index, bool disable = true);
    bool IsTabDisabled(int index) const;

    // The window style; the scheme's style variant is CoolColors::GetStyle.
    using CTabCtrl::GetStyle;

    void OnColorsChanged() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    // Whether the selection may change now (the tab under the cursor of the current message).
    virtual bool AllowSelectionChange();
    virtual void DrawButtonTabs(CCoolDC& dc, const CRect& client);
    virtual void DrawOrdinaryTabs(CCoolDC& dc, const CRect& client);

    // The image the tabs are drawn into, in its memory DC with the DC's font. The selections
    // end before the DC, and the DC before the bitmap.
    struct Canvas {
        explicit Canvas(HDC reference) : dc(reference) {}
        CBitmap bitmap;
        CCoolMemoryDC dc;
        std::optional<CScopedSelection> image;
        std::optional<CScopedSelection> font;
    };

    std::vector<uint32_t> m_disabledTabs;
    // Kept from the first paint until the scheme or the size changes.
    std::unique_ptr<Canvas> m_canvas;

private:
    struct Tab {
        CRect rect;
        std::string text;
        bool selected;
        bool disabled;
    };
    std::vector<Tab> ReadTabs() const;
    void DrawTabText(CCoolDC& dc, const Tab& tab, COLORREF colour, bool embossed);
    // The area under the tab row that the pages cover.
    CRect PageArea(const CRect& client) const;
    void OnPaint();
};
