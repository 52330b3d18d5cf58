// The Speakers page: the speaker configuration, the speaker test buttons, the virtual 5.1
// effect with its room, the S/P-DIF output switch and the DirectSound acceleration.
#pragma once

#include "CoolPropertyPage.h"
#include "CoolButton.h"
#include "CoolComboBox.h"
#include "CoolSliderCtrl.h"
#include "CoolStatic.h"

class CZephMixer;

class CZephSpkrPage : public CCoolPropertyPage {
public:
    explicit CZephSpkrPage(CZephMixer* mixer);
    ~CZephSpkrPage() override;

    BOOL OnInitDialog() override;
    void DoDataExchange() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Sets the controls' texts in the current language.
    void ApplyTexts();
    // Sets the S/P-DIF output check box (the main window keeps the sister page in step).
    void SetSPDIFOutCheck(bool on);

private:
    CZephMixer* m_mixer;
    CCoolButton m_configGroup;
    CCoolComboBox m_config;
    // Front left, front right, rear left, rear right, center, subwoofer.
    CCoolButton m_tests[6];
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
