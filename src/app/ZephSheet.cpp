#include "ZephSheet.h"

#include "CoolColorSet.h"
#include "FastPath.h"
#include "CommonDialogs.h"
#include "LanguageSupport.h"
#include "PresetFile.h"
#include "PresetHandOver.h"
#include "RegistryDword.h"
#include "RegistryKey.h"
#include "SettingsKey.h"
#include "WaitCursor.h"
#include "WinApp.h"
#include "ZephMiscPage.h"
#include "ZephMixer.h"
#include "ZephRecPage.h"
#include "ZephSpdifPage.h"
#include "ZephSpkrPage.h"
#include "ZephSrcPage.h"
#include "ZephVolPage.h"

#include "../res/StringIds.h"
#include "../res/resource.h"

#include <cctype>

namespace {

struct StoredColor {
    const char* name;
    int slot;
    COLORREF fallback;
};
// Read and applied in this order, which is also the order of a colour set's colours.
const StoredColor kStoredColors[] = {
    {"ColBgrd", CoolColors::Background, 0x504141}, {"ColText", CoolColors::Text, 0xB9B9B9},
    {"ColLum", CoolColors::Lum, 0xEB786E},         {"ColSelLow", CoolColors::SelLow, 0x005AFF},
    {"ColSelHi", CoolColors::SelHigh, 0x00FF00},
};
static_assert(sizeof(kStoredColors) / sizeof(kStoredColors[0]) == CoolColorSet::ColorCount,
              "one stored colour per colour of a set");

// Tab labels in tab order: Volume, Sources, Record, Speakers, S/P-DIF, Misc.
const UINT kTabStrings[CZephSheet::kPageCount] = {IDS_PAGE_VOLUME,  IDS_PAGE_SOURCES,
                                                  IDS_PAGE_RECORD,  IDS_PAGE_SPEAKERS,
                                                  IDS_PAGE_DIGITAL, IDS_PAGE_MISC};

constexpr int kFirstPageKey = VK_F5;
constexpr int kHeightTrim = 18;

bool ModifierDown() {
    return (::GetKeyState(VK_MENU) & 0x8000) || (::GetKeyState(VK_CONTROL) & 0x8000) ||
           (::GetKeyState(VK_SHIFT) & 0x8000);
}

// The label of tab index, asked of the tab control's own procedure.
std::string TabLabel(HWND tabs, int index) {
    char text[256] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    if (!AskClassProcedure(tabs, TCM_GETITEMA, static_cast<WPARAM>(index),
                           reinterpret_cast<LPARAM>(&item)))
        return std::string();
    return item.pszText ? std::string(item.pszText) : std::string();
}

} // namespace

CZephSheet::CZephSheet(const std::string& caption, CZephMixer* mixer, HWND parent, UINT startPage)
    : m_zephMixer(mixer) {
    Construct(caption, mixer, parent, startPage);
}

CZephSheet::~CZephSheet() {
    // The pages go before the sheet's base, so the window goes first.
    if (m_hWnd) DestroyWindow();
}

int CZephSheet::CreatePages() {
    m_volPage = std::make_unique<CZephVolPage>(m_zephMixer, this);
    m_srcPage = std::make_unique<CZephSrcPage>(m_zephMixer, this);
    m_recPage = std::make_unique<CZephRecPage>(m_zephMixer, this);
    m_spkrPage = std::make_unique<CZephSpkrPage>(m_zephMixer, this);
    m_spdifPage = std::make_unique<CZephSpdifPage>(m_zephMixer, this);
    m_miscPage = std::make_unique<CZephMiscPage>(m_zephMixer, this);
    // The tabs are laid out when the sheet is made: give them their labels in the current
    // language already, so that longer labels get the room they need.
    CLanguageSupport* language = CLanguageSupport::GetLanguageObject();
    CPropertyPage* pages[kPageCount] = {m_volPage.get(),  m_srcPage.get(),   m_recPage.get(),
                                        m_spkrPage.get(), m_spdifPage.get(), m_miscPage.get()};
    for (int i = 0; i < kPageCount; ++i) {
        if (language) pages[i]->SetTitle(language->GetString(kTabStrings[i]));
        AddPage(pages[i]);
    }
    return 1;
}

void CZephSheet::ApplyStoredColors() {
    CRegistryKey key;
    key.SetRoot(HKEY_CURRENT_USER, kSettingsKey);
    for (const StoredColor& color : kStoredColors) {
        DWORD value = color.fallback;
        if (!QueryStoredDword(key, color.name, &value)) value = color.fallback;
        SetColor(color.slot, value);
    }
    DWORD mode = 0;
    if (QueryStoredDword(key, "RenderMode", &mode)) SetRenderMode(mode | 8);
}

BOOL CZephSheet::OnInitDialog() {
    ApplyStoredColors();
    const BOOL result = CMixerPropertySheet::OnInitDialog();
    ApplyTexts();
    // Not shown yet: the meters wait for the window to appear.
    UpdateMeterPolling();
    // The window need not wait for DirectSound: the player opens on a thread of its own.
    if (!m_player.IsDeviceOpen() && m_zephMixer)
        m_player.OpenInBackground(m_hWnd, m_zephMixer->GetName(), "QzTest.wav");
    return result;
}

void CZephSheet::UpdateMeterPolling() {
    if (m_zephMixer)
        m_zephMixer->SetMetersShown(m_hWnd && IsWindowVisible() && !::IsIconic(m_hWnd));
}

int CZephSheet::HeightTrim() const {
    return kHeightTrim;
}

std::string CZephSheet::AppName() const {
    CLanguageSupport* language = CLanguageSupport::GetLanguageObject();
    return language ? language->GetString(IDS_APP_NAME) : std::string();
}

void CZephSheet::ApplyTexts() {
    m_mnemonics.clear();
    HWND tabs = m_hWnd ? GetTabControl() : nullptr;
    CLanguageSupport* language = CLanguageSupport::GetLanguageObject();
    if (tabs && language) {
        SetWindowText(AppName());
        const CPropertyPage* pages[kPageCount] = {m_volPage.get(),   m_srcPage.get(),
                                                  m_recPage.get(),   m_spkrPage.get(),
                                                  m_spdifPage.get(), m_miscPage.get()};
        int tab = 0;
        for (int i = 0; i < kPageCount; ++i) {
            if (!pages[i]) continue;
            std::string label = language->GetString(kTabStrings[i]);
            // A tab keeps a label it already has (the pages bring theirs when the sheet is
            // made): setting it lays all tabs out again and repaints them.
            if (TabLabel(tabs, tab) != label) {
                TCITEMA item = {};
                item.mask = TCIF_TEXT;
                item.pszText = &label[0];
                ::SendMessageA(tabs, TCM_SETITEMA, tab, reinterpret_cast<LPARAM>(&item));
            }
            const size_t amp = label.find('&');
            const char letter =
                amp != std::string::npos && amp + 1 < label.size() ? label[amp + 1] : '-';
            m_mnemonics += static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
            ++tab;
        }
    }
    OnColorsChanged();
}

bool CZephSheet::PreTranslateMessage(MSG* msg) {
    switch (msg->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (OnKeyDown(*msg)) return true;
        break;
    case WM_SYSCHAR:
        if (OnSysChar(*msg)) return true;
        break;
    default:
        break;
    }
    return CMixerPropertySheet::PreTranslateMessage(msg);
}

bool CZephSheet::OnKeyDown(const MSG& msg) {
    if (ModifierDown() || msg.wParam < WPARAM(kFirstPageKey)) return false;
    const int page = static_cast<int>(msg.wParam - kFirstPageKey);
    if (page >= GetPageCount()) return false;
    SelectPageFromKeyboard(page);
    return true;
}

bool CZephSheet::OnSysChar(const MSG& msg) {
    const int ch = static_cast<int>(msg.wParam);
    if (ch > 0xFF || !std::isalnum(ch)) return false;
    const char upper = static_cast<char>(std::toupper(ch));
    const size_t tab = m_mnemonics.find(upper);
    if (tab == std::string::npos) return false;
    SelectPageFromKeyboard(static_cast<int>(tab));
    return true;
}

// Selecting a page by message leaves the keyboard focus where it was: on a control of the page
// that is now hidden, where the next key would still change a value out of sight. The focus
// goes to the tabs, as after a click on one; Tab leads from there into the page.
void CZephSheet::SelectPageFromKeyboard(int page) {
    SetActivePage(page);
    HWND focus = ::GetFocus();
    if (!focus || !::IsWindowVisible(focus))
        if (HWND tabs = GetTabControl()) ::SetFocus(tabs);
}

std::string CZephSheet::PresetFilter() const {
    return AppName() + " Mixer Settings(*.vqs)|*.vqs||";
}

void CZephSheet::LoadPreset() {
    FileDialogRequest request;
    request.owner = m_hWnd;
    request.filter = PresetFilter();
    request.defaultExt = "vqs";
    if (!AppFileDialog(true, request)) return;
    ApplyPresetFile(request.fileName);
}

bool CZephSheet::ApplyPresetFile(const std::wstring& path) {
    PresetStream stream = OpenPresetForReading(path);
    if (!stream || !m_zephMixer) return false;
    if (!m_zephMixer->LoadSettings(stream.get())) return false;
    CWaitCursor wait;
    if (m_hWnd) RefreshPages();
    return true;
}

LRESULT CZephSheet::OnHandOver(const COPYDATASTRUCT* data) {
    std::wstring path;
    if (!PresetHandOver::ReadPath(data, &path)) return PresetHandOver::kRefused;
    // Applied where the window is, as it is: neither shown nor activated.
    return ApplyPresetFile(path) ? PresetHandOver::kApplied : PresetHandOver::kUnusable;
}

void CZephSheet::SavePreset() {
    FileDialogRequest request;
    request.owner = m_hWnd;
    request.filter = PresetFilter();
    request.defaultExt = "vqs";
    request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    if (!AppFileDialog(false, request) || !m_zephMixer) return;
    PresetStream stream = OpenPresetForWriting(request.fileName);
    if (stream) m_zephMixer->SaveSettings(stream.get());
}

void CZephSheet::ApplySPDIFOut(int on) {
    if (!m_zephMixer) return;
    m_zephMixer->SetSPDIFOutEnabled(on);
    const bool actual = m_zephMixer->GetSPDIFOutEnabled() != 0;
    if (m_spkrPage) m_spkrPage->SetSPDIFOutCheck(actual);
    if (m_spdifPage) m_spdifPage->SetSPDIFOutCheck(actual);
}

void CZephSheet::ApplyMicBoost(int on) {
    if (!m_zephMixer) return;
    m_zephMixer->SetMicBoost(on);
    if (m_recPage) m_recPage->SetMicBoostCheck(on != 0);
    if (m_srcPage) m_srcPage->SetMicBoostCheck(on != 0);
}

void CZephSheet::OnSpeakerModeChanged(int mode) {
    // The S/P-DIF page switches the digital output off for more than two speakers even while
    // its window has not been created yet.
    if (m_spdifPage) m_spdifPage->ApplySpeakerConfig(static_cast<DWORD>(mode));
}

void CZephSheet::ShowTrayIcon(bool show) {
    if (!m_hWnd) return;
    if (show) {
        HICON icon = ::LoadIconA(GetResourceInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
        SetTrayIcon(icon, IDR_TRAY_MENU);
    } else {
        RemoveTrayIcon();
    }
}

void CZephSheet::ApplyColors(const CoolColorSet& set) {
    if (!m_hWnd) return;
    for (int i = 0; i < CoolColorSet::ColorCount; ++i)
        SetColor(kStoredColors[i].slot, set[i]);
    SetRenderMode(set[CoolColorSet::ModeIndex] | 8);
    Propagate();
    Invalidate(true);
}

void CZephSheet::OnLanguageChanged(LCID language, CPropertyPage& page) {
    if (!m_hWnd) return;
    // Every page with a window and the sheet itself relabel at once; the pages opened later
    // take the new texts when they open.
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ::SendMessageA(child, WM_LANGUAGE_CHANGED, language, 0);
    ::SendMessageA(m_hWnd, WM_LANGUAGE_CHANGED, language, 0);
    SetActivePage(0);
    SetActivePage(&page);
}

void CZephSheet::PrepareTrayMenu(HMENU menu) {
    if (CLanguageSupport* language = CLanguageSupport::GetLanguageObject())
        language->TranslateMenu(menu);
}

LRESULT CZephSheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == ID_TRAY_SHOW && lParam == 0) {
            ShowWindow(SW_RESTORE);
            return 0;
        }
        if (LOWORD(wParam) == ID_TRAY_EXIT && lParam == 0) {
            EndDialog(IDOK);
            return 0;
        }
        break;
    case WM_HELP:
        return 1;
    case WM_COPYDATA:
        return OnHandOver(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_WINDOWPOSCHANGED: {
        const LRESULT result = CMixerPropertySheet::WindowProc(message, wParam, lParam);
        UpdateMeterPolling();
        return result;
    }
    case WM_LANGUAGE_CHANGED:
        ApplyTexts();
        return 0;
    default:
        if (message == PresetHandOver::PanelQuestion()) return PresetHandOver::kPanelAnswer;
        break;
    }
    return CMixerPropertySheet::WindowProc(message, wParam, lParam);
}
