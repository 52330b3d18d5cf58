// The S/P-DIF page: the digital output (on, 44.1 or 48 kHz) and the digital input options.
#pragma once

#include "ZephPage.h"
#include "CoolButton.h"
#include "CoolStatic.h"

class CZephSpdifPage : public CZephPage {
public:
    explicit CZephSpdifPage(CZephMixer* mixer, CSheetServices* services = nullptr);
    ~CZephSpdifPage() override;

    BOOL OnInitDialog() override;
    void DoDataExchange() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Reads every box's state from the card mixer's cache.
    void Refresh() override;
    // Sets the controls' texts in the current language.
    void ApplyTexts() override;
    // Follows a DirectSound speaker configuration code: the digital output works only with
    // headphones, mono or stereo; quad, surround and 5.1 switch it off and grey its controls.
    void ApplySpeakerConfig(DWORD config);
    // Sets the output check box (the main window keeps the sister page in step).
    void SetSPDIFOutCheck(bool on);
    // Enables or greys the output controls (group, "Enable" and both rates).
    void EnableOutputControls(bool enable);

private:
    void OnButtonClicked(UINT id);
    static bool IsChecked(const CWnd& box);
    static void SetCheck(CWnd& box, bool on);

    CCoolButton m_outGroup;
    CCoolButton m_outEnable;
    CCoolButton m_out44;
    CCoolButton m_out48;
    CCoolStatic m_warning;
    CCoolButton m_inGroup;
    CCoolButton m_loopBack;
    CCoolButton m_monitor;
    CCoolButton m_validity;
    CCoolButton m_reverse;
    CCoolButton m_copyright;
};
