// The Speakers page: the speaker configuration, the speaker test buttons, the virtual 5.1
// effect with its room, the S/P-DIF output switch and the DirectSound acceleration.
#pragma once

#include "ZephPage.h"
#include "CoolButton.h"
#include "CoolComboBox.h"
#include "CoolSliderCtrl.h"
#include "CoolStatic.h"

class CSpeakerTestPlayer;

class CZephSpkrPage : public CZephPage {
public:
    explicit CZephSpkrPage(CZephMixer* mixer, CSheetServices* services = nullptr);
    ~CZephSpkrPage() override;

    BOOL OnInitDialog() override;
    void DoDataExchange() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Shows the speaker buttons of the current configuration and reads the card's effect and
    // S/P-DIF output.
    void Refresh() override;
    // Sets the controls' texts and rebuilds both lists in the current language.
    void ApplyTexts() override;
    // Sets the S/P-DIF output check box (the main window keeps the sister page in step).
    void SetSPDIFOutCheck(bool on);

private:
    // A speaker test button: its pictures are drawn on black.
    class CSpeakerButton : public CCoolButton {
    public:
        void SetTransparentColor(COLORREF color) { m_transparentColor = color; }
    };

    CSpeakerTestPlayer& Player() const;
    DWORD CachedSpeakerConfig() const;
    void FillConfigList();
    void FillRoomList();
    void OnSpeakerButton(int index);
    void OnConfigChanged();
    void OnEffectChanged();
    void OnSPDIFEnable();
    void OnCommand(UINT id, UINT code);

    CCoolButton m_configGroup;
    CCoolComboBox m_config;
    // Front left, front right, rear left, rear right, center, subwoofer.
    CSpeakerButton m_tests[6];
    CCoolButton m_effectGroup;
    CCoolButton m_effectEnable;
    CCoolComboBox m_room;
    CCoolButton m_spdifGroup;
    CCoolButton m_spdifEnable;
    CCoolStatic m_spdifWarning;
    CCoolButton m_accelGroup;
    CCoolSliderCtrl m_accel;
    CCoolStatic m_accelMax;
};
