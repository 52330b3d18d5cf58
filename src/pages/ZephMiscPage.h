// The Misc page: presets, the About box with the program's and the driver's versions, the
// colour setup, the autostart entry with the notification icon and the user-interface language.
#pragma once

#include "ZephPage.h"
#include "CoolButton.h"
#include "CoolComboBox.h"
#include "CoolStatic.h"

#include <string>

struct CoolColorSet;

class CZephMiscPage : public CZephPage {
public:
    // Where the driver file and the autostart entry live.
    static constexpr const char* kDriverFile = "quenda.sys";
    static constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

    explicit CZephMiscPage(CZephMixer* mixer, CSheetServices* services = nullptr);
    ~CZephMiscPage() override;

    BOOL OnInitDialog() override;
    void DoDataExchange() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Sets the controls' texts, the About text included, in the current language.
    void ApplyTexts() override;

    // "a.b.c.d" of a file's product version; `missing` when the file has no version resource,
    // `unreadable` when it cannot be read.
    static std::string ProductVersion(const std::string& path, const char* missing,
                                      const char* unreadable);
    // The driver's version: the file by its bare name, else in the system folder and its
    // "drivers" folders.
    static std::string DriverVersion();
    // Fills in the About format's first three "%s" with the arguments; any other '%' is kept
    // as it stands ("%%" becomes '%'), so a language file's text cannot upset the formatting.
    static std::string FormatAbout(const std::string& format, const std::string& name,
                                   const std::string& version, const std::string& driver);

    // Stores a colour set in the registry and has the main window apply it.
    void ApplyColorSet(const CoolColorSet& set);

private:
    void OnButton(UINT id);
    void OnColorSetup();
    void OnTrayIcon();
    void OnLanguageChosen();
    void FillLanguageList();
    std::string AppName() const;
    // The autostart value's name, the same in every language.
    static std::string RunValueName();

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
