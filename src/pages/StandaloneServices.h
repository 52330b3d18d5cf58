// The services of a page without a main window (a page made alone, as tests do): the card
// values go to the card directly, so such a page writes what a page in the main window writes.
// Presets, the notification icon and the colours have no window to go to and do nothing; the
// speaker test player is one of its own, never opened (no cached configuration, the default
// device).
#pragma once

#include "SheetServices.h"

#include <memory>

class CZephMixer;

class CStandaloneServices final : public CSheetServices {
public:
    explicit CStandaloneServices(CZephMixer* mixer);
    ~CStandaloneServices();

    void LoadPreset() override {}
    void SavePreset() override {}
    void ApplySPDIFOut(int on) override;
    void ApplyMicBoost(int on) override;
    void OnSpeakerModeChanged(int mode) override;
    CSpeakerTestPlayer& GetSpeakerTestPlayer() override;
    void ShowTrayIcon(bool) override {}
    void ApplyColors(const CoolColorSet&) override {}
    // Relabels the page itself.
    void OnLanguageChanged(LCID language, CPropertyPage& page) override;

private:
    CZephMixer* m_mixer;
    // Made on first use: most pages never ask for it.
    std::unique_ptr<CSpeakerTestPlayer> m_player;
};
