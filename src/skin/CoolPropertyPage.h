// A skinned page: transparent over its sheet (it shows the part of the sheet's background
// that lies under it, and its controls copy their backgrounds from the sheet's), with the
// scheme handed down to its controls.
#pragma once

#include "CoolContainer.h"
#include "PropertyPage.h"

#include <string>

class CCoolPropertyPage : public CPropertyPage, public CoolContainer {
public:
    explicit CCoolPropertyPage(UINT templateId = 0, const std::string& title = std::string());
    CCoolPropertyPage(const CDialogTemplate& dialogTemplate, const std::string& title);
    ~CCoolPropertyPage() override;

    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Rereads the values the page shows.
    virtual void Refresh() {}
    // The page's size in pixels, for sizing the sheet; 0 when the page has no preference.
    virtual int GetPageWidth() { return 0; }
    virtual int GetPageHeight() { return 0; }

    // Hands the scheme to every direct child and has them repainted.
    void Propagate() override;

private:
    BOOL OnEraseBkgnd(HDC dc);
    void OnPaint();
    void OnMove();
    // Takes the sheet's light point, in this page's coordinates.
    void TakeSheetLightPoint();

    bool m_initialised = false;
};
