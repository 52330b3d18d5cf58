// The Misc page: presets, the About box with the logo, the colour setup, the notification
// icon and the user-interface language.
#pragma once

#include "CoolPropertyPage.h"
#include "CoolButton.h"
#include "CoolComboBox.h"
#include "CoolStatic.h"

class CZephMixer;

class CZephMiscPage : public CCoolPropertyPage {
public:
    explicit CZephMiscPage(CZephMixer* mixer);
    ~CZephMiscPage() override;

    BOOL OnInitDialog() override;
    void DoDataExchange() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Sets the controls' texts in the current language.
    void ApplyTexts();

private:
    void OnButton(UINT id);

    CZephMixer* m_mixer;
    CCoolButton m_presetsGroup;
    CCoolButton m_load;
    CCoolButton m_save;
    CCoolButton m_aboutGroup;
    CCoolStatic m_aboutText;
    CCoolStatic m_logo;
    CCoolButton m_settingsGroup;
    CCoolButton m_colorSetup;
    CCoolButton m_trayIcon;
    CCoolComboBox m_language;
};
