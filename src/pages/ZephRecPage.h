// The Record page: six recording strips, each with its multiplexer switch and recording
// volume, the microphone boost and recording from the S/P-DIF input.
#pragma once

#include "ZephPage.h"
#include "CoolButton.h"
#include "CoolStatic.h"
#include "MixerButton.h"
#include "MixerSliderEx.h"

class CMixer;

class CZephRecPage : public CZephPage {
public:
    explicit CZephRecPage(CZephMixer* mixer, CSheetServices* services = nullptr);
    ~CZephRecPage() override;

    BOOL OnInitDialog() override;
    void DoDataExchange() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Sets the controls' texts in the current language.
    void ApplyTexts() override;
    static constexpr int kStrips = 6;
    // Sets the microphone boost check box (the main window keeps the sister page in step).
    void SetMicBoostCheck(bool on);

    // No source for a strip.
    static constexpr int kNoSource = -1;
    // The recording source (line index of destination 1) of each strip, or kNoSource: every
    // source, in order, takes the first free strip of its type among the strips in use.
    static void ChooseStripSources(CMixer& mixer, int (&sources)[kStrips]);

    const CMixerSliderEx& GetVolume(int strip) const { return m_volumes[strip]; }
    const CMixerButton& GetMuxItem(int strip) const { return m_muxItems[strip]; }

private:
    // Strips with a source line: the recording sources, at most six.
    int StripsInUse() const;
    void OnButtonClicked(UINT id);
    // Shows the S/P-DIF recording switch; while it is on, no multiplexer box looks selected.
    void ShowSPDIFRecord();

    CMixerButton m_muxItems[kStrips];
    CMixerSliderEx m_volumes[kStrips];
    CCoolButton m_boost;
    CCoolButton m_spdifIn;
};
