// What pages ask of the main window that holds them: presets through the file dialogs and the
// card values that two pages show. The main window implements it; a page finds it by casting
// its sheet.
#pragma once

class CSpeakerTestPlayer;

class CPresetCommands {
public:
    virtual void LoadPreset() = 0;
    virtual void SavePreset() = 0;
    virtual void ApplySPDIFOut(int on) = 0;
    virtual void ApplyMicBoost(int on) = 0;
    virtual void OnSpeakerModeChanged(int mode) = 0;
    // The player of the speaker test sound, which also caches the speaker configuration.
    virtual CSpeakerTestPlayer& GetSpeakerTestPlayer() = 0;

protected:
    ~CPresetCommands() = default;
};
