// The Sources page: six playback strips (Wave, Synth, Mic, CD, Aux, Line), each with a label,
// a volume and a mute switch, and the microphone boost under the Mic strip.
#pragma once

#include "ZephPage.h"
#include "CoolButton.h"
#include "CoolStatic.h"
#include "MixerButton.h"
#include "MixerSliderEx.h"

class CMixer;

class CZephSrcPage : public CZephPage {
public:
    explicit CZephSrcPage(CZephMixer* mixer, CSheetServices* services = nullptr);
    ~CZephSrcPage() override;

    BOOL OnInitDialog() override;
    void DoDataExchange() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Sets the controls' texts in the current language.
    void ApplyTexts() override;
    static constexpr int kStrips = 6;
    // Sets the microphone boost check box (the main window keeps the sister page in step).
    void SetMicBoostCheck(bool on);

    // No source line for a strip.
    static constexpr int kNoLine = -2;
    // The source line index of destination 0 (-1: the destination line itself) shown by each
    // strip, or kNoLine. Each line goes to the first strip of its type, lines in order.
    static void ChooseStripLines(CMixer& mixer, int (&lines)[kStrips]);

    // The strip's volume and mute controls, for the main window's tests.
    const CMixerSliderEx& GetVolume(int strip) const { return m_volumes[strip]; }
    const CMixerButton& GetMute(int strip) const { return m_mutes[strip]; }

private:
    void OnBoostClicked();

    CCoolStatic m_labels[kStrips];
    CMixerSliderEx m_volumes[kStrips];
    CMixerButton m_mutes[kStrips];
    CCoolButton m_boost;
};
