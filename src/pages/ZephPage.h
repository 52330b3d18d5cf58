// The base of the main window's six pages: a skinned page over the card mixer that asks the
// main window's services for what lies beyond the page, and takes the current language's texts
// when the language changes.
#pragma once

#include "CoolPropertyPage.h"

#include <memory>

class CSheetServices;
class CStandaloneServices;
class CZephMixer;

class CZephPage : public CCoolPropertyPage {
public:
    // services: the main window's; null for a page made alone, which then gets services of its
    // own that write the card directly.
    CZephPage(UINT templateId, CZephMixer* mixer, CSheetServices* services);
    ~CZephPage() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Sets the controls' texts in the current language.
    virtual void ApplyTexts() = 0;

protected:
    CSheetServices& Services() const { return *m_services; }

    CZephMixer* const m_mixer;

private:
    std::unique_ptr<CStandaloneServices> m_ownServices;
    CSheetServices* m_services;
};
