#include "StandaloneServices.h"

#include "LanguageSupport.h"
#include "PropertyPage.h"
#include "SpeakerTestPlayer.h"
#include "ZephMixer.h"

CStandaloneServices::CStandaloneServices(CZephMixer* mixer) : m_mixer(mixer) {}

CStandaloneServices::~CStandaloneServices() = default;

void CStandaloneServices::ApplySPDIFOut(int on) {
    if (m_mixer) m_mixer->SetSPDIFOutEnabled(on);
}

void CStandaloneServices::ApplyMicBoost(int on) {
    if (m_mixer) m_mixer->SetMicBoost(on);
}

void CStandaloneServices::OnSpeakerModeChanged(int mode) {
    // As in the main window: quad, surround and 5.1 have no digital output.
    switch (mode & 0xFF) {
    case 3: // quad
    case 5: // surround
    case 6: // 5.1
        ApplySPDIFOut(0);
        break;
    default:
        break;
    }
}

CSpeakerTestPlayer& CStandaloneServices::GetSpeakerTestPlayer() {
    if (!m_player) m_player = std::make_unique<CSpeakerTestPlayer>();
    return *m_player;
}

void CStandaloneServices::OnLanguageChanged(LCID language, CPropertyPage& page) {
    if (page.GetSafeHwnd()) ::SendMessageA(page.m_hWnd, WM_LANGUAGE_CHANGED, language, 0);
}
