#include "ZephMiscPage.h"

#include "PageTexts.h"
#include "PresetCommands.h"
#include "PropertySheet.h"
#include "ZephMixer.h"

#include "../res/StringIds.h"
#include "../res/resource.h"

CZephMiscPage::CZephMiscPage(CZephMixer* mixer)
    : CCoolPropertyPage(IDD_MISC_PAGE), m_mixer(mixer) {}

CZephMiscPage::~CZephMiscPage() = default;

BOOL CZephMiscPage::OnInitDialog() {
    const BOOL result = CCoolPropertyPage::OnInitDialog();
    ApplyTexts();
    return result;
}

LRESULT CZephMiscPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LANGUAGE_CHANGED) {
        ApplyTexts();
        return 0;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) OnButton(LOWORD(wParam));
    return CCoolPropertyPage::WindowProc(message, wParam, lParam);
}

void CZephMiscPage::DoDataExchange() {
    BindControl(IDC_MISC_PRESETS_GROUP, m_presetsGroup);
    BindControl(IDC_MISC_LOAD, m_load);
    BindControl(IDC_MISC_SAVE, m_save);
    BindControl(IDC_MISC_ABOUT_GROUP, m_aboutGroup);
    BindControl(IDC_MISC_ABOUT_TEXT, m_aboutText);
    BindControl(IDC_MISC_LOGO, m_logo);
    BindControl(IDC_MISC_SETTINGS_GROUP, m_settingsGroup);
    BindControl(IDC_MISC_COLOR_SETUP, m_colorSetup);
    BindControl(IDC_MISC_TRAY_ICON, m_trayIcon);
    BindControl(IDC_MISC_LANGUAGE, m_language);
}

void CZephMiscPage::ApplyTexts() {
    SetLanguageText(m_presetsGroup, IDS_PRESETS);
    SetLanguageText(m_load, IDS_LOAD);
    SetLanguageText(m_save, IDS_SAVE);
    SetLanguageText(m_aboutGroup, IDS_ABOUT);
    SetLanguageText(m_settingsGroup, IDS_MISC);
    SetLanguageText(m_colorSetup, IDS_COLOR_SETUP);
    SetLanguageText(m_trayIcon, IDS_SHOW_TASKBAR_ICON);
}

void CZephMiscPage::OnButton(UINT id) {
    auto* sheet = dynamic_cast<CPresetCommands*>(GetSheet());
    if (!sheet) return;
    if (id == IDC_MISC_LOAD)
        sheet->LoadPreset();
    else if (id == IDC_MISC_SAVE)
        sheet->SavePreset();
}
