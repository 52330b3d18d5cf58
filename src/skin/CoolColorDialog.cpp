#include "CoolColorDialog.h"

#include "AppMessageBox.h"
#include "CoolColorNameDialog.h"
#include "CoolColorSetsDialog.h"
#include "DialogTemplate.h"
#include "Format.h"
#include "ModulePath.h"
#include "MessageOrigin.h"

#include <cstdlib>
#include <ctime>
#include <new>

namespace {

struct BuiltInSet {
    const char* name;
    CoolColorSet set;
};
// Row 0 may be replaced from the registry, row 1 is drawn anew at every choice and row 2 is
// read from the system when chosen.
const BuiltInSet kBuiltIn[CCoolColorDialog::BuiltInCount] = {
    {"- Default -", {{0x594437, 0x6BB6FA, 0xB47800, 0x0000FF, 0x00FF00, 9}}},
    {"- Random -", {{0, 0, 0, 0, 0, 9}}},
    {"- Windows -", {{0, 0, 0, 0, 0, 0}}},
    {"Midnight Blue", {{0x594437, 0x6BB6FA, 0xB47800, 0x0000FF, 0x00FF00, 9}}},
    {"Green", {{0x5C5C34, 0x6BB6FA, 0x413C32, 0x0000FF, 0x00FFFF, 9}}},
    {"Grey 1", {{0x4E4E4E, 0xC9C9C9, 0xBABA74, 0xC2C260, 0x616130, 9}}},
    {"Black/White", {{0x383838, 0xFFFFFF, 0x404040, 0xAAAAAA, 0x666666, 8}}},
    {"Grey 2", {{0x626258, 0xC9C9C9, 0xBABA74, 0x0064C8, 0x00FF00, 9}}},
    {"Hot Metal", {{0x504141, 0xB9B9B9, 0xEB786E, 0x005AFF, 0x00FF00, 9}}},
};

// The scheme slot of each colour of a set.
const int kSlots[CoolColorSet::ColorCount] = {CoolColors::Background, CoolColors::Text,
                                              CoolColors::Lum, CoolColors::SelLow,
                                              CoolColors::SelHigh};

// A pop-up with caption, system menu and modal frame holding OK and Cancel, in dialog units.
std::unique_ptr<CDialogTemplate> BuildTemplate() {
    try {
        auto t = std::make_unique<CDialogTemplate>("", 0x80C80080, CRect(0, 0, 175, 24));
        const DWORD button = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
        t->AddItem(CDialogTemplate::Button, "OK", button, CRect(5, 5, 85, 19), IDOK);
        t->AddItem(CDialogTemplate::Button, "Cancel", button, CRect(90, 5, 170, 19), IDCANCEL);
        return t;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// The registry and the list find names without regard to case.
bool IsBuiltInName(const std::string& name) {
    for (const BuiltInSet& row : kBuiltIn)
        if (::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, row.name, -1, name.c_str(), -1) ==
            CSTR_EQUAL)
            return true;
    return false;
}

// The running program's file name, extension included.
std::string ProgramFileName() {
    std::string path = GetModulePath();
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WindowCaption(HWND window) {
    char text[256] = "";
    if (window) ::GetWindowTextA(window, text, sizeof(text));
    return text;
}

} // namespace

CCoolColorDialog::CCoolColorDialog(HWND parent) : CCoolDialog(static_cast<UINT>(0), parent) {
    for (int row = 0; row < BuiltInCount; ++row)
        m_builtIn[row] = kBuiltIn[row].set;
    CoolColorSet stored = {};
    if (m_key.ReadSet(CColorSetKey::kDefaultSets, ProgramFileName(), stored, true))
        m_builtIn[PresetDefault] = stored;
    m_builtIn[PresetRandom] = RandomSet();
    m_values = m_builtIn[PresetDefault];
    m_template = BuildTemplate();
}

CCoolColorDialog::~CCoolColorDialog() = default;

INT_PTR CCoolColorDialog::DoModal() {
    if (!m_template) return -1;
    SetTemplate(m_template->Get());
    SetParentWindow(m_pParentWnd);
    return CCoolDialog::DoModal();
}

int CCoolColorDialog::GetValues(CoolColorSet* values) const {
    if (!values) return 0;
    *values = m_values;
    return 1;
}

CoolColorSet CCoolColorDialog::RandomSet() {
    // The square of the time in seconds, read twice.
    const std::time_t first = std::time(nullptr);
    const std::time_t second = std::time(nullptr);
    std::srand(static_cast<unsigned>(first * second));
    auto draw = [] {
        const uint32_t high = static_cast<uint32_t>(std::rand());
        const uint32_t low = static_cast<uint32_t>(std::rand());
        return (high * 32768u + low) & 0xFFFFFFu;
    };
    CoolColorSet set = {};
    set[CoolColorSet::BackgroundIndex] = draw();
    set[CoolColorSet::LumIndex] = draw();
    set[CoolColorSet::PeakHighIndex] = draw();
    set[CoolColorSet::PeakLowIndex] = draw();
    set[CoolColorSet::TextIndex] = draw();
    set[CoolColorSet::ModeIndex] = 9;
    return set;
}

void CCoolColorDialog::DoDataExchange() {
    BindControl(IDOK, m_ok);
    BindControl(IDCANCEL, m_cancel);
}

BOOL CCoolColorDialog::OnInitDialog() {
    CCoolDialog::OnInitDialog();
    SetWindowText("Color Settings");
    CreateControls();

    m_demoSlider.SetRange(0, 100);
    m_demoSlider.SetSelection(0, 100);
    m_demoSlider.SetPos(60);
    m_demoCheck.SetCheck(BST_CHECKED);

    FillPresetList();
    SetRenderMode(m_values[CoolColorSet::ModeIndex]);
    Propagate();
    ShowValues();
    return TRUE;
}

void CCoolColorDialog::CreateControls() {
    const HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    const DWORD child = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    auto finish = [font](CWnd& control) {
        control.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        control.Invalidate(true);
    };
    auto button = [&](CCoolButton& control, const char* caption, DWORD style, const CRect& place,
                      int id) {
        if (control.Create(caption, child | style, place, m_hWnd, static_cast<UINT>(id)))
            finish(control);
    };
    const DWORD group = BS_GROUPBOX | BS_CENTER;                           // 0x307
    const DWORD push = BS_PUSHBUTTON | BS_CENTER;                          // 0x300
    const DWORD pushLikeCheck = BS_AUTOCHECKBOX | BS_PUSHLIKE | BS_CENTER; // 0x1303

    button(m_settingsGroup, "Color Settings", group, CRect(10, 10, 210, 270), IdSettingsGroup);
    // A combo box's height includes its dropped list.
    if (m_presets.Create(child | WS_VSCROLL | CBS_HASSTRINGS | CBS_SORT | CBS_DROPDOWNLIST,
                         CRect(18, 34, 202, 234), m_hWnd, IdPresets))
        finish(m_presets);
    button(m_save, "Save", push, CRect(18, 62, 108, 82), IdSave);
    button(m_organize, "Organize", push, CRect(112, 62, 202, 82), IdOrganize);
    const char* swatchCaptions[CoolColorSet::ColorCount] = {"Background", "Text", "Static controls",
                                                            "Peakmeter high", "Peakmeter low"};
    for (int i = 0; i < CoolColorSet::ColorCount; ++i)
        button(m_swatches[i], swatchCaptions[i], BS_LEFT, CRect(18, 98 + 28 * i, 202, 118 + 28 * i),
               IdBackground + i);
    button(m_reflectionsOff, "Reflections off", pushLikeCheck, CRect(18, 238, 202, 258),
           IdReflectionsOff);
    button(m_demoGroup, "Demo Controls", group, CRect(218, 10, 368, 158), IdDemoGroup);
    button(m_demoButton, "Demo Button", push, CRect(226, 34, 360, 54), IdDemoButton);
    button(m_demoCheck, "Demo Checkbox", pushLikeCheck, CRect(226, 62, 360, 82), IdDemoCheck);
    if (m_demoStatic.Create("Demo Static", child | SS_CENTER, CRect(226, 90, 360, 110), m_hWnd,
                            IdDemoStatic))
        finish(m_demoStatic);
    if (m_demoSlider.Create(child | TBS_AUTOTICKS | TBS_ENABLESELRANGE, CRect(226, 118, 360, 148),
                            m_hWnd, IdDemoSlider))
        finish(m_demoSlider);

    m_cancel.MoveWindow(CRect(226, 222, 360, 242));
    m_ok.MoveWindow(CRect(226, 250, 360, 270));

    // The client area reaches 8 pixels beyond the demo group and below the settings group.
    const CRect window = GetWindowRect();
    const CRect client = GetClientRect();
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, window.Width() - client.Width() + 368 + 8,
                   window.Height() - client.Height() + 270 + 8,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CCoolColorDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && OnCommand(wParam, lParam)) return 0;
    return CCoolDialog::WindowProc(message, wParam, lParam);
}

BOOL CCoolColorDialog::OnCommand(WPARAM wParam, LPARAM) {
    const int id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    if (id == IdPresets) {
        if (code != CBN_SELCHANGE) return FALSE;
        OnPresetChosen();
        return TRUE;
    }
    if (code != BN_CLICKED) return FALSE;
    if (id >= IdBackground && id < IdBackground + CoolColorSet::ColorCount) {
        OnSwatch(id - IdBackground);
        return TRUE;
    }
    switch (id) {
    case IdReflectionsOff:
        OnReflectionsOff();
        return TRUE;
    case IdSave:
        OnSave();
        return TRUE;
    case IdOrganize:
        OnOrganize();
        return TRUE;
    default:
        return FALSE;
    }
}

void CCoolColorDialog::FillPresetList() {
    m_presets.ResetContent();
    for (int row = 0; row < BuiltInCount; ++row) {
        const int item = m_presets.AddString(kBuiltIn[row].name);
        if (item >= 0) m_presets.SetItemData(item, static_cast<DWORD_PTR>(row));
    }
    const std::vector<std::string> names = m_key.ValueNames(CColorSetKey::kUserSets);
    for (size_t i = 0; i < names.size(); ++i) {
        // A user set under a built-in set's name would show as a second entry of that name:
        // the list keeps the built-in one, the organizer still offers the user's.
        if (IsBuiltInName(names[i])) continue;
        const int item = m_presets.AddString(names[i]);
        if (item >= 0) m_presets.SetItemData(item, FirstUserPreset + i);
    }
    SelectPreset(kBuiltIn[PresetDefault].name);
}

void CCoolColorDialog::SelectPreset(const std::string& name) {
    const int item = static_cast<int>(m_presets.SendMessage(
        CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name.c_str())));
    if (item >= 0) m_presets.SetCurSel(item);
}

void CCoolColorDialog::OnPresetChosen() {
    const int item = m_presets.GetCurSel();
    if (item < 0) return;
    const DWORD_PTR data = m_presets.GetItemData(item);
    if (data >= FirstUserPreset) {
        CoolColorSet set = {};
        if (m_key.ReadSet(CColorSetKey::kUserSets, m_presets.GetLBText(item), set)) ApplySet(set);
    } else if (data == PresetRandom) {
        m_builtIn[PresetRandom] = RandomSet();
        ApplySet(m_builtIn[PresetRandom]);
    } else if (data == PresetWindows) {
        SetSystemColors();
        for (int i = 0; i < CoolColorSet::ColorCount; ++i)
            m_values[i] = GetColor(kSlots[i]);
        PropagateWithProgress(m_hWnd);
        ShowValues();
    } else if (data < BuiltInCount) {
        ApplySet(m_builtIn[data]);
    }
}

void CCoolColorDialog::ApplySet(const CoolColorSet& set) {
    m_values = set;
    m_values[CoolColorSet::ModeIndex] =
        (m_values[CoolColorSet::ModeIndex] & ~RenderEmbossed) | RenderDeriveShades;
    // The mode goes first, so that the new colours derive their shades.
    if (m_hWnd) SetRenderMode(m_values[CoolColorSet::ModeIndex]);
    for (int i = 0; i < CoolColorSet::ColorCount; ++i)
        SetColor(kSlots[i], m_values[i]);
    if (!m_hWnd) return;
    PropagateWithProgress(m_hWnd);
    ShowValues();
}

void CCoolColorDialog::ShowValues() {
    for (int i = 0; i < CoolColorSet::ColorCount; ++i)
        m_swatches[i].SetSwatchColor(m_values[i]);
    m_reflectionsOff.SetCheck((m_values[CoolColorSet::ModeIndex] & RenderGradients) ? BST_UNCHECKED
                                                                                    : BST_CHECKED);
}

void CCoolColorDialog::PropagateWithProgress(HWND target) {
    HWND main = m_pParentWnd;
    const std::string mainCaption = WindowCaption(main);
    const std::string ownCaption = WindowCaption(m_hWnd);
    std::string progress = "Working ";
    auto show = [&] {
        progress += "...";
        if (main) ::SetWindowTextA(main, progress.c_str());
        ::SetWindowTextA(m_hWnd, progress.c_str());
    };
    for (int slot : {Background, Text, Lum, SelLow, SelHigh}) {
        show();
        const COLORREF mine = GetColor(slot);
        COLORREF theirs = CLR_INVALID;
        CMessageOrigin::SendOwn(target, WM_COOL_GETCOLOR, static_cast<WPARAM>(slot),
                                reinterpret_cast<LPARAM>(&theirs));
        if (theirs == mine) continue;
        ::LockWindowUpdate(target);
        ::SendMessageA(target, WM_COOL_SETCOLOR, static_cast<WPARAM>(slot),
                       static_cast<LPARAM>(mine));
        ::LockWindowUpdate(nullptr);
    }
    show();
    ::SendMessageA(target, WM_COOL_SETRENDERMODE, 0, static_cast<LPARAM>(GetRenderMode()));
    if (main) ::SetWindowTextA(main, mainCaption.c_str());
    ::SetWindowTextA(m_hWnd, ownCaption.c_str());
}

void CCoolColorDialog::OnSwatch(int index) {
    CCoolColorButton& swatch = m_swatches[index];
    swatch.PickColor();
    // Cancelled or not, the swatch's colour is the one kept.
    m_values[index] = swatch.GetSwatchColor();
    SetColor(kSlots[index], m_values[index]);
    ShowValues();
    PropagateWithProgress(m_hWnd);
}

void CCoolColorDialog::OnReflectionsOff() {
    unsigned mode = GetRenderMode() & ~RenderEmbossed;
    if (m_reflectionsOff.GetCheck() == BST_CHECKED)
        mode &= ~RenderGradients;
    else
        mode |= RenderGradients;
    m_values[CoolColorSet::ModeIndex] = mode;
    SendMessage(WM_COOL_SETRENDERMODE, 0, static_cast<LPARAM>(mode));
}

void CCoolColorDialog::OnSave() {
    CCoolColorNameDialog names(m_template->Get(), m_hWnd, std::string());
    if (names.DoModal() != IDOK) return;
    const std::string& name = names.GetName();
    if (m_key.HasValue(CColorSetKey::kUserSets, name) &&
        AppMessageBox(
            m_hWnd,
            Format("The color set name '%s' is already used!\nDo you want to overwrite it?",
                   name.c_str()),
            MB_YESNO) != IDYES)
        return;
    m_key.WriteSet(CColorSetKey::kUserSets, name, m_values);
    FillPresetList();
    SelectPreset(name);
}

void CCoolColorDialog::OnOrganize() {
    CCoolColorSetsDialog organizer(m_template->Get(), m_hWnd);
    organizer.DoModal();
    FillPresetList();
}
