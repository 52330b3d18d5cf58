// The Volume page: the master volume with its mute switch and the six speaker volumes with
// the link switches of the front and the rear pair.
#pragma once

#include "ZephPage.h"
#include "CoolButton.h"
#include "CoolSliderCtrl.h"
#include "CoolStatic.h"
#include "MixerButton.h"
#include "MixerSliderEx.h"

class CZephVolPage : public CZephPage {
public:
    explicit CZephVolPage(CZephMixer* mixer, CSheetServices* services = nullptr);
    ~CZephVolPage() override;

    BOOL OnInitDialog() override;
    void DoDataExchange() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Sets the controls' texts in the current language.
    void ApplyTexts() override;
    // Reads the speaker volumes from the card and sets the six sliders.
    void Refresh() override;

    // Speaker slider range: position 0 is full level at the top.
    static constexpr int kSpeakerMax = 65534;
    // Conversions between a slider position and a card gain in 1/65536 dB.
    static LONG PositionToValue(int position);
    static int ValueToPosition(LONG value);

private:
    void OnVScroll(HWND slider);
    void ShowSpeakerVolumes();

    CCoolStatic m_masterLabel;
    CMixerSliderEx m_master;
    CMixerButton m_masterMute;
    CCoolButton m_speakerGroup;
    CCoolStatic m_frontLabel;
    CCoolStatic m_rearLabel;
    CCoolStatic m_centerLabel;
    CCoolStatic m_subLabel;
    // Front left, front right, rear left, rear right, center, subwoofer.
    CCoolSliderCtrl m_speakers[6];
    CCoolButton m_frontLink;
    CCoolButton m_rearLink;
};
