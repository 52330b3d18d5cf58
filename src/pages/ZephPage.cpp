#include "ZephPage.h"

#include "LanguageSupport.h"
#include "StandaloneServices.h"

CZephPage::CZephPage(UINT templateId, CZephMixer* mixer, CSheetServices* services)
    : CCoolPropertyPage(templateId), m_mixer(mixer),
      m_ownServices(services ? nullptr : std::make_unique<CStandaloneServices>(mixer)),
      m_services(services ? services : m_ownServices.get()) {}

CZephPage::~CZephPage() = default;

LRESULT CZephPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LANGUAGE_CHANGED) {
        ApplyTexts();
        return 0;
    }
    return CCoolPropertyPage::WindowProc(message, wParam, lParam);
}
