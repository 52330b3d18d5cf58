#include "ZephMiscPage.h"

#include "CardFunctions.h"
#include "CoolColorDialog.h"
#include "CoolColorSet.h"
#include "Format.h"
#include "LanguageSupport.h"
#include "ModulePath.h"
#include "PageTexts.h"
#include "RegistryKey.h"
#include "SettingsKey.h"
#include "SheetServices.h"
#include "WinApp.h"
#include "ZephMixer.h"

#include "../res/StringIds.h"
#include "../res/resource.h"

#include <vector>

namespace {

// Pixels of this colour in the logo are not drawn.
constexpr COLORREF kLogoTransparent = 0x070708;

// The languages the list offers: those with string tables of their own in the program.
constexpr LCID kListedLanguages[] = {0x0407, 0x0409, 0x040A, 0x040C, 0x0410, 0x0413};

bool IsListed(LCID language) {
    for (LCID listed : kListedLanguages)
        if (listed == language) return true;
    return false;
}

DWORD VersionInfoSize(const std::string& path) {
    DWORD handle = 0;
    return ::GetFileVersionInfoSizeA(path.c_str(), &handle);
}

} // namespace

CZephMiscPage::CZephMiscPage(CZephMixer* mixer, CSheetServices* services)
    : CZephPage(IDD_MISC_PAGE, mixer, services) {}

CZephMiscPage::~CZephMiscPage() = default;

BOOL CZephMiscPage::OnInitDialog() {
    CZephPage::OnInitDialog();
    m_logo.m_transparentColor = kLogoTransparent;
    ApplyTexts();

    CRegistryKey run;
    run.SetRoot(HKEY_CURRENT_USER, kRunKey);
    // Only the value's presence counts: a long command line is an autostart entry too.
    const bool autostart = run.HasValue(RunValueName().c_str()) != FALSE;
    if (m_trayIcon.GetSafeHwnd())
        m_trayIcon.SendMessage(BM_SETCHECK, autostart ? BST_CHECKED : BST_UNCHECKED);

    FillLanguageList();
    return TRUE;
}

LRESULT CZephMiscPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) OnButton(LOWORD(wParam));
        if (LOWORD(wParam) == IDC_MISC_LANGUAGE && HIWORD(wParam) == CBN_SELCHANGE)
            OnLanguageChosen();
        break;
    }
    return CZephPage::WindowProc(message, wParam, lParam);
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

std::string CZephMiscPage::AppName() const {
    CLanguageSupport* language = CLanguageSupport::GetLanguageObject();
    return language ? language->GetString(IDS_APP_NAME) : std::string();
}

std::string CZephMiscPage::RunValueName() {
    // The name the start looks for: the program's own resource, whatever a language file says.
    char name[256] = {};
    if (::LoadStringA(GetResourceInstance(), IDS_APP_NAME, name, sizeof(name)) > 0) return name;
    return std::string();
}

std::string CZephMiscPage::ProductVersion(const std::string& path, const char* missing,
                                          const char* unreadable) {
    const DWORD size = VersionInfoSize(path);
    if (!size) return missing;
    std::vector<char> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!::GetFileVersionInfoA(path.c_str(), 0, size, data.data()) ||
        !::VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info ||
        length < sizeof(VS_FIXEDFILEINFO))
        return unreadable;
    return Format("%d.%d.%d.%d", int(HIWORD(info->dwProductVersionMS)),
                  int(LOWORD(info->dwProductVersionMS)), int(HIWORD(info->dwProductVersionLS)),
                  int(LOWORD(info->dwProductVersionLS)));
}

std::string CZephMiscPage::DriverVersion() {
    char system[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    const std::string candidates[] = {
        kDriverFile,
        Format("%s\\%s", system, kDriverFile),
        Format("%s\\drivers\\%s", system, kDriverFile),
        Format("%s32\\drivers\\%s", system, kDriverFile),
    };
    for (const std::string& path : candidates)
        if (VersionInfoSize(path)) return ProductVersion(path, "not installed", "Not available");
    return "not installed";
}

std::string CZephMiscPage::FormatAbout(const std::string& format, const std::string& name,
                                       const std::string& version, const std::string& driver) {
    const std::string* arguments[] = {&name, &version, &driver};
    size_t used = 0;
    std::string text;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == 's' && used < 3) {
                text += *arguments[used++];
                ++i;
                continue;
            }
            if (format[i + 1] == '%') {
                text += '%';
                ++i;
                continue;
            }
        }
        text += format[i];
    }
    return text;
}

void CZephMiscPage::ApplyTexts() {
    CLanguageSupport* language = CLanguageSupport::GetLanguageObject();
    if (language && m_aboutText.GetSafeHwnd()) {
        const std::string driver = DriverVersion();
        const std::string program =
            ProductVersion(GetModulePath(), "not installed", "not available");
        std::string about =
            FormatAbout(language->GetString(IDS_ABOUT_FORMAT), AppName(), program, driver);
        // Said once, where the versions of program and driver are.
        if (!HasCardFunctions(m_mixer)) about += "\n" + language->GetString(IDS_NO_CARD_FUNCTIONS);
        m_aboutText.SetWindowText(about);
    }
    SetLanguageText(m_aboutGroup, IDS_ABOUT);
    SetLanguageText(m_presetsGroup, IDS_PRESETS);
    SetLanguageText(m_settingsGroup, IDS_MISC);
    SetLanguageText(m_trayIcon, IDS_SHOW_TASKBAR_ICON);
    SetLanguageText(m_load, IDS_LOAD);
    SetLanguageText(m_save, IDS_SAVE);
    SetLanguageText(m_colorSetup, IDS_COLOR_SETUP);
}

void CZephMiscPage::FillLanguageList() {
    CLanguageSupport* language = CLanguageSupport::GetLanguageObject();
    if (!m_language.GetSafeHwnd()) return;
    m_language.ResetContent();
    if (!language) return;
    for (int i = 0; i < language->GetLanguageCount(); ++i) {
        LCID id = 0;
        char name[128] = {};
        if (!language->GetLanguageInfo(i, &id, name, sizeof(name)) || !IsListed(id)) continue;
        const int item = m_language.AddString(name);
        if (item >= 0) m_language.SetItemData(item, id);
    }
    for (int item = 0; item < m_language.GetCount(); ++item) {
        if (LCID(m_language.GetItemData(item)) == language->GetLanguage()) {
            m_language.SetCurSel(item);
            break;
        }
    }
}

void CZephMiscPage::OnButton(UINT id) {
    switch (id) {
    case IDC_MISC_LOAD:
    case IDC_MISC_SAVE:
        if (id == IDC_MISC_LOAD)
            Services().LoadPreset();
        else
            Services().SavePreset();
        break;
    case IDC_MISC_COLOR_SETUP:
        OnColorSetup();
        break;
    case IDC_MISC_TRAY_ICON:
        OnTrayIcon();
        break;
    }
}

void CZephMiscPage::OnLanguageChosen() {
    CLanguageSupport* language = CLanguageSupport::GetLanguageObject();
    const int item = m_language.GetCurSel();
    if (!language || item < 0) return;
    const LCID chosen = LCID(m_language.GetItemData(item));
    if (chosen == language->GetLanguage()) return;
    language->SetLanguage(chosen);
    Services().OnLanguageChanged(chosen, *this);
    ::SetFocus(m_language.m_hWnd);
}

void CZephMiscPage::OnTrayIcon() {
    const std::string name = RunValueName();
    CRegistryKey run;
    run.SetRoot(HKEY_CURRENT_USER, kRunKey);
    if (m_trayIcon.SendMessage(BM_GETCHECK) == BST_CHECKED) {
        // The running program itself, quoted: a path with spaces would otherwise let the system
        // try shorter paths first, and a copy in another folder would start nothing at logon.
        const std::string command = "\"" + GetModulePath() + "\" /minimize";
        run.SetString(name.c_str(), command.c_str());
        Services().ShowTrayIcon(true);
    } else {
        Services().ShowTrayIcon(false);
        run.DeleteValue(name.c_str());
    }
}

void CZephMiscPage::OnColorSetup() {
    // Owned by the main window the page sits in.
    CCoolColorDialog dialog(::GetAncestor(m_hWnd, GA_ROOT));
    if (dialog.DoModal() != IDOK) return;
    CoolColorSet set = {};
    if (dialog.GetValues(&set)) ApplyColorSet(set);
}

void CZephMiscPage::ApplyColorSet(const CoolColorSet& set) {
    static const char* const kNames[CoolColorSet::ColorCount] = {"ColBgrd", "ColText", "ColLum",
                                                                 "ColSelLow", "ColSelHi"};
    const DWORD mode = set[CoolColorSet::ModeIndex] | 8;

    // A failed write leaves the running program's colours as chosen all the same.
    CRegistryKey key;
    key.SetRoot(HKEY_CURRENT_USER, kSettingsKey);
    for (int i = 0; i < CoolColorSet::ColorCount; ++i)
        key.SetDword(kNames[i], set[i]);
    key.SetDword("RenderMode", mode);

    Services().ApplyColors(set);
    if (GetSafeHwnd()) Invalidate(true);
}
