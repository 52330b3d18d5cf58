// The colour set editor: picks the skin's background, text, luminous and peak meter colours
// and whether surfaces are drawn with reflections. The user starts from a built-in set (a
// random one and one from the Windows colours among them), adjusts each colour with the
// colour chooser, watches the result on demonstration controls, and keeps named sets of their
// own in the registry. The caller takes the six values after OK; the editor itself changes
// neither the main window's colours nor the values the main window loads at start.
#pragma once

#include "ColorSetKey.h"
#include "CoolButton.h"
#include "CoolColorButton.h"
#include "CoolColorSet.h"
#include "CoolComboBox.h"
#include "CoolDialog.h"
#include "CoolSliderCtrl.h"
#include "CoolStatic.h"

#include <memory>

class CDialogTemplate;

class CCoolColorDialog : public CCoolDialog {
public:
    enum : int {
        IdSettingsGroup = 21862,
        IdPresets = 21863,
        IdSave = 21864,
        IdOrganize = 21865,
        IdBackground = 21866, // the five swatches, in the order of the set's colours
        IdReflectionsOff = 21871,
        IdDemoGroup = 21872,
        IdDemoButton = 21873,
        IdDemoCheck = 21874,
        IdDemoStatic = 21875,
        IdDemoSlider = 21876
    };
    // Item data of the preset list: the built-in sets, then the user's sets by their place in
    // the registry's enumeration.
    enum : int {
        PresetDefault = 0,
        PresetRandom = 1,
        PresetWindows = 2,
        BuiltInCount = 9,
        FirstUserPreset = 9
    };

    // parent is the main window: the dialog's owner and the source of its first colours.
    explicit CCoolColorDialog(HWND parent);
    ~CCoolColorDialog() override;

    // Runs the editor on its template: IDOK or IDCANCEL, -1 when it could not be shown.
    INT_PTR DoModal();
    // Copies the current values (the result after OK); 0 for a null pointer, else 1.
    int GetValues(CoolColorSet* values) const;

    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Draws a new random set: the generator is seeded from the current time, so sets drawn
    // within the same second are the same.
    static CoolColorSet RandomSet();

protected:
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);

    void CreateControls();
    void FillPresetList();
    // Selects the entry with exactly that text, without choosing it.
    void SelectPreset(const std::string& name);
    void OnPresetChosen();
    // Makes set the current values and shows it in the dialog's own colours.
    void ApplySet(const CoolColorSet& set);
    // Shows the current values on the swatches and the "Reflections off" box.
    void ShowValues();
    // Hands the dialog scheme's colours and mode to target, with progress in the captions of
    // the main window and the dialog.
    void PropagateWithProgress(HWND target);
    void OnSwatch(int index);
    void OnReflectionsOff();
    void OnSave();
    void OnOrganize();

    CoolColorSet m_values;
    CoolColorSet m_builtIn[BuiltInCount];
    CColorSetKey m_key;
    std::unique_ptr<CDialogTemplate> m_template;

    CCoolButton m_settingsGroup;
    CCoolComboBox m_presets;
    CCoolButton m_save;
    CCoolButton m_organize;
    CCoolColorButton m_swatches[CoolColorSet::ColorCount];
    CCoolButton m_reflectionsOff;
    CCoolButton m_demoGroup;
    CCoolButton m_demoButton;
    CCoolButton m_demoCheck;
    CCoolStatic m_demoStatic;
    CCoolSliderCtrl m_demoSlider;
    CCoolButton m_ok;
    CCoolButton m_cancel;
};
