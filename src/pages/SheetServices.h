// What the main window does for the pages it holds: presets through the file dialogs, the card
// values that two pages show (written once, shown on both), the speaker test player, the
// notification icon, the colours and the relabelling of every page. The main window hands
// itself to each page it makes; a page made without it gets a CStandaloneServices.
#pragma once

#include "Platform.h"

class CPropertyPage;
class CSpeakerTestPlayer;
struct CoolColorSet;

class CSheetServices {
public:
    virtual void LoadPreset() = 0;
    virtual void SavePreset() = 0;
    // Write the value to the card and set the boxes of every page that shows it.
    virtual void ApplySPDIFOut(int on) = 0;
    virtual void ApplyMicBoost(int on) = 0;
    // The DirectSound speaker configuration changed: with more than two speakers the S/P-DIF
    // output goes off.
    virtual void OnSpeakerModeChanged(int mode) = 0;
    // The player of the speaker test sound, which also caches the speaker configuration.
    virtual CSpeakerTestPlayer& GetSpeakerTestPlayer() = 0;
    // Shows or removes the notification icon.
    virtual void ShowTrayIcon(bool show) = 0;
    // Gives the main window and its pages the colours and the render mode of a set.
    virtual void ApplyColors(const CoolColorSet& set) = 0;
    // The language was changed on `page`: every page with a window and the main window take
    // the new texts, and `page` stays the one shown.
    virtual void OnLanguageChanged(LCID language, CPropertyPage& page) = 0;

protected:
    ~CSheetServices() = default;
};
