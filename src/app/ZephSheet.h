// The control panel's main window: the skinned, modeless sheet with the six pages. It applies
// the user's colours at start, carries the title and tab labels in the current language, gives
// the tabs keys (F5 to F10, Alt with each tab's access letter), loads and saves presets through
// the file dialogs, shows the notification icon's menu and keeps the pages that show the same
// card value in step.
#pragma once

#include "MixerPropertySheet.h"
#include "SheetServices.h"
#include "SpeakerTestPlayer.h"

#include <memory>
#include <string>

class CZephMixer;
class CZephVolPage;
class CZephSrcPage;
class CZephRecPage;
class CZephSpkrPage;
class CZephSpdifPage;
class CZephMiscPage;

class CZephSheet : public CMixerPropertySheet, public CSheetServices {
public:
    enum : UINT { ID_TRAY_EXIT = 32772, ID_TRAY_SHOW = 32773 };
    static constexpr int kPageCount = 6;

    CZephSheet(const std::string& caption, CZephMixer* mixer, HWND parent = nullptr,
               UINT startPage = 0);
    ~CZephSheet() override;

    // Creates the six pages and adds them, Volume first. Always 1.
    int CreatePages() override;

    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PreTranslateMessage(MSG* msg) override;
    void PrepareTrayMenu(HMENU menu) override;

    // Title and tab labels in the current language, with the tabs' access letters.
    void ApplyTexts();
    // The upper-case access letters of the tabs, in tab order ('-' for a label without one).
    std::string GetMnemonics() const { return m_mnemonics; }

    void LoadPreset() override;
    void SavePreset() override;
    // Applies a preset file as Load does after its dialog: the card's settings, then every
    // page refreshed under the wait cursor. False when the name is not a readable file on
    // disk or the file holds no settings for this card.
    bool ApplyPresetFile(const std::wstring& path);
    void ApplySPDIFOut(int on) override;
    void ApplyMicBoost(int on) override;
    void OnSpeakerModeChanged(int mode) override;

    CSpeakerTestPlayer& GetSpeakerTestPlayer() override { return m_player; }
    void ShowTrayIcon(bool show) override;
    void ApplyColors(const CoolColorSet& set) override;
    void OnLanguageChanged(LCID language, CPropertyPage& page) override;
    CZephMixer* GetZephMixer() const { return m_zephMixer; }

protected:
    int HeightTrim() const override;

private:
    void ApplyStoredColors();
    // The meters are polled only while the window can be seen (neither hidden nor minimised).
    void UpdateMeterPolling();
    // A preset handed over by a second start (WM_COPYDATA).
    LRESULT OnHandOver(const COPYDATASTRUCT* data);
    bool OnKeyDown(const MSG& msg);
    bool OnSysChar(const MSG& msg);
    void SelectPageFromKeyboard(int page);
    std::string PresetFilter() const;
    std::string AppName() const;

    CZephMixer* m_zephMixer;
    CSpeakerTestPlayer m_player;
    std::unique_ptr<CZephVolPage> m_volPage;
    std::unique_ptr<CZephSrcPage> m_srcPage;
    std::unique_ptr<CZephRecPage> m_recPage;
    std::unique_ptr<CZephSpkrPage> m_spkrPage;
    std::unique_ptr<CZephSpdifPage> m_spdifPage;
    std::unique_ptr<CZephMiscPage> m_miscPage;
    std::string m_mnemonics;
};
