// The Record page: six recording strips, each with its multiplexer switch and recording
// volume, the microphone boost and recording from the S/P-DIF input.
#pragma once

#include "CoolPropertyPage.h"
#include "CoolButton.h"
#include "CoolStatic.h"
#include "MixerButton.h"
#include "MixerSliderEx.h"

class CZephMixer;

class CZephRecPage : public CCoolPropertyPage {
public:
    explicit CZephRecPage(CZephMixer* mixer);
    ~CZephRecPage() override;

    BOOL OnInitDialog() override;
    void DoDataExchange() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Sets the controls' texts in the current language.
    void ApplyTexts();
    static constexpr int kStrips = 6;
    // Sets the microphone boost check box (the main window keeps the sister page in step).
    void SetMicBoostCheck(bool on);

private:
    CZephMixer* m_mixer;
    CMixerButton m_muxItems[kStrips];
    CMixerSliderEx m_volumes[kStrips];
    CCoolButton m_boost;
    CCoolButton m_spdifIn;
};
