// The Misc page inside the main window, against the simulated card: the About text, the
// language list relabelling the open window, the autostart entry with the notification icon,
// and the colours it stores and applies. Registry values it touches are put back afterwards.
#include "CoolColorSet.h"
#include "CoolPropertySheet.h"
#include "LanguageSupport.h"
#include "SettingsKey.h"
#include "SimCard.h"
#include "ZephMiscPage.h"
#include "ZephMixer.h"
#include "ZephSheet.h"

#include "../../../src/res/resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// Keeps one registry value for the life of the object, then restores it (or deletes it).
class SavedValue {
public:
    SavedValue(const char* path, const char* name) : m_path(path), m_name(name) {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
        DWORD size = 0;
        if (::RegQueryValueExA(key, name, nullptr, &m_type, nullptr, &size) == ERROR_SUCCESS) {
            m_data.resize(size);
            m_present = ::RegQueryValueExA(key, name, nullptr, &m_type, m_data.data(), &size) ==
                        ERROR_SUCCESS;
        }
        ::RegCloseKey(key);
    }
    ~SavedValue() {
        HKEY key = nullptr;
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr) != ERROR_SUCCESS)
            return;
        if (m_present)
            ::RegSetValueExA(key, m_name.c_str(), 0, m_type, m_data.data(), DWORD(m_data.size()));
        else
            ::RegDeleteValueA(key, m_name.c_str());
        ::RegCloseKey(key);
    }

private:
    std::string m_path, m_name;
    bool m_present = false;
    DWORD m_type = 0;
    std::vector<BYTE> m_data;
};

std::string Text(HWND window) {
    char text[512] = {};
    ::GetWindowTextA(window, text, sizeof(text));
    return text;
}

bool ReadValue(const char* path, const char* name, std::string* text) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    char data[512] = {};
    DWORD size = sizeof(data) - 1;
    const bool found = ::RegQueryValueExA(key, name, nullptr, nullptr,
                                          reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    if (found && text) *text = data;
    return found;
}

void WriteRunValue(const char* text) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, CZephMiscPage::kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                          nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    if (text)
        ::RegSetValueExA(key, "Quenda Mixer", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                         DWORD(strlen(text) + 1));
    else
        ::RegDeleteValueA(key, "Quenda Mixer");
    ::RegCloseKey(key);
}

class ZephMiscPageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { UseSimulatedCard(); }

    void SetUp() override {
        ASSERT_TRUE(ResetSimulatedCard());
        ASSERT_TRUE(mixer.Init());
        language.SetLanguage(0x0409);
        OpenSheet();
    }
    void TearDown() override { sheet.reset(); }

    void OpenSheet() {
        sheet = std::make_unique<CZephSheet>("ZEPH", &mixer);
        ASSERT_TRUE(sheet->Create(nullptr, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0));
    }
    HWND Misc(int id) {
        sheet->SetActivePage(5);
        return ::GetDlgItem(sheet->GetActivePage()->m_hWnd, id);
    }
    void Choose(LCID id) {
        HWND list = Misc(IDC_MISC_LANGUAGE);
        const int count = int(::SendMessageA(list, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i)
            if (LCID(::SendMessageA(list, CB_GETITEMDATA, i, 0)) == id)
                ::SendMessageA(list, CB_SETCURSEL, i, 0);
        ::SendMessageA(::GetParent(list), WM_COMMAND, MAKEWPARAM(IDC_MISC_LANGUAGE, CBN_SELCHANGE),
                       LPARAM(list));
    }
    std::string TabLabel(int index) {
        char text[128] = {};
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        ::SendMessageA(sheet->GetTabControl(), TCM_GETITEMA, index, LPARAM(&item));
        return text;
    }

    CLanguageSupport language;
    CZephMixer mixer;
    std::unique_ptr<CZephSheet> sheet;
    SavedValue runValue{CZephMiscPage::kRunKey, "Quenda Mixer"};
};

TEST_F(ZephMiscPageTest, AboutTextNamesProgramAndDriverVersions) {
    // The simulated card installs its driver file in the system's drivers folder.
    EXPECT_EQ(CZephMiscPage::DriverVersion(), "5.12.0.27");
    const std::string about = Text(Misc(IDC_MISC_ABOUT_TEXT));
    EXPECT_EQ(about, "Quenda Mixer Control Panel\nVersion 1.0.0.0\nDriver Version: 5.12.0.27");

    char folder[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, folder);
    const std::string plain = std::string(folder) + "misc page test.txt";
    const std::string missing = std::string(folder) + "no such file.sys";
    FILE* file = std::fopen(plain.c_str(), "w");
    ASSERT_TRUE(file);
    std::fputs("no version here", file);
    std::fclose(file);
    EXPECT_EQ(CZephMiscPage::ProductVersion(plain, "not installed", "Not available"),
              "not installed");
    EXPECT_EQ(CZephMiscPage::ProductVersion(missing, "not installed", "Not available"),
              "not installed");
    ::DeleteFileA(plain.c_str());

    // The format comes from editable language files: only the three texts are filled in.
    EXPECT_EQ(CZephMiscPage::FormatAbout("%n%d %s %s %s %s 100%%", "A", "1", "2"),
              "%n%d A 1 2 %s 100%");
}

// Moves a file aside for the life of the object.
class FileAside {
public:
    explicit FileAside(std::string path) : m_path(std::move(path)) {
        m_moved = ::MoveFileExA(m_path.c_str(), Aside().c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    }
    ~FileAside() {
        if (m_moved) ::MoveFileExA(Aside().c_str(), m_path.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    std::string Aside() const { return m_path + ".aside"; }

private:
    std::string m_path;
    bool m_moved = false;
};

// The driver file is looked for by its bare name (which finds it beside the program), then in
// the system folder, its "drivers" folder and the "drivers" folder of the system folder's name
// with "32": placed in each alone, the About text shows its version.
TEST_F(ZephMiscPageTest, DriverFileIsFoundAlongEachOfItsPaths) {
    char system[MAX_PATH] = {}, program[MAX_PATH] = {};
    ::GetSystemDirectoryA(system, MAX_PATH);
    ::GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string folder = program;
    folder.erase(folder.rfind('\\'));
    const std::string system3232 = std::string(system) + "32";
    // The build puts the file beside the programs; the simulated card installs it in "drivers".
    FileAside beside(folder + "\\quenda.sys");
    FileAside installed(std::string(system) + "\\drivers\\quenda.sys");
    const std::string source = beside.Aside();
    ASSERT_NE(::GetFileAttributesA(source.c_str()), INVALID_FILE_ATTRIBUTES);
    const bool made3232 = ::CreateDirectoryA(system3232.c_str(), nullptr) != 0;
    const bool madeDrivers = ::CreateDirectoryA((system3232 + "\\drivers").c_str(), nullptr) != 0;

    HWND about = Misc(IDC_MISC_ABOUT_TEXT);
    auto driverShown = [&] {
        ::SendMessageA(::GetParent(about), WM_LANGUAGE_CHANGED, 0x0409, 0);
        const std::string text = Text(about);
        return text.substr(text.rfind('\n') + 1);
    };
    EXPECT_EQ(driverShown(), "Driver Version: not installed");
    const std::string places[] = {folder, system, std::string(system) + "\\drivers",
                                  system3232 + "\\drivers"};
    for (const std::string& place : places) {
        const std::string path = place + "\\quenda.sys";
        if (!::CopyFileA(source.c_str(), path.c_str(), FALSE)) {
            ADD_FAILURE() << "cannot place " << path;
            continue;
        }
        EXPECT_EQ(driverShown(), "Driver Version: 5.12.0.27") << path;
        ::DeleteFileA(path.c_str());
    }
    EXPECT_EQ(driverShown(), "Driver Version: not installed");
    if (madeDrivers) ::RemoveDirectoryA((system3232 + "\\drivers").c_str());
    if (made3232) ::RemoveDirectoryA(system3232.c_str());
}

TEST_F(ZephMiscPageTest, LanguageListRelabelsTheOpenWindow) {
    HWND list = Misc(IDC_MISC_LANGUAGE);
    EXPECT_EQ(::SendMessageA(list, CB_GETCOUNT, 0, 0), 6);
    EXPECT_EQ(
        LCID(::SendMessageA(list, CB_GETITEMDATA, ::SendMessageA(list, CB_GETCURSEL, 0, 0), 0)),
        LCID(0x0409));

    // Danish comes only from a language file: the list offers it not and selects nothing.
    sheet.reset();
    language.SetLanguage(0x0406);
    OpenSheet();
    sheet->SetActivePage(1); // the Sources page gets a window too
    list = Misc(IDC_MISC_LANGUAGE);
    EXPECT_EQ(::SendMessageA(list, CB_GETCURSEL, 0, 0), CB_ERR);

    Choose(0x0407);
    EXPECT_EQ(language.GetLanguage(), LCID(0x0407));
    EXPECT_EQ(Text(Misc(IDC_MISC_SAVE)), "Speichern");
    EXPECT_EQ(Text(Misc(IDC_MISC_TRAY_ICON)), "Taskleistensymbol");
    EXPECT_EQ(TabLabel(5), "S&onstiges");
    EXPECT_EQ(sheet->GetActivePage(), sheet->GetPage(5));
    EXPECT_EQ(::GetFocus(), Misc(IDC_MISC_LANGUAGE));

    Choose(0x0409);
    EXPECT_EQ(Text(Misc(IDC_MISC_SAVE)), "Save");
    EXPECT_EQ(TabLabel(5), "M&isc");

    // The language already in effect sends nothing: the texts stay as they are.
    ::SetWindowTextA(Misc(IDC_MISC_SAVE), "marker");
    Choose(0x0409);
    EXPECT_EQ(Text(Misc(IDC_MISC_SAVE)), "marker");
}

TEST_F(ZephMiscPageTest, CheckBoxSwitchesAutostartAndIcon) {
    WriteRunValue(nullptr);
    sheet.reset();
    OpenSheet();
    HWND box = Misc(IDC_MISC_TRAY_ICON);
    EXPECT_EQ(::SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    ::SendMessageA(box, BM_CLICK, 0, 0);
    char program[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string command;
    EXPECT_TRUE(ReadValue(CZephMiscPage::kRunKey, "Quenda Mixer", &command));
    EXPECT_EQ(command, "\"" + std::string(program) + "\" /minimize");
    EXPECT_TRUE(sheet->HasTrayIcon());

    ::SendMessageA(box, BM_CLICK, 0, 0);
    EXPECT_FALSE(ReadValue(CZephMiscPage::kRunKey, "Quenda Mixer", nullptr));
    EXPECT_FALSE(sheet->HasTrayIcon());

    // Reopening shows the value's presence, whatever it holds, also when it is long.
    WriteRunValue(std::string(600, 'x').c_str());
    sheet.reset();
    OpenSheet();
    EXPECT_EQ(::SendMessageA(Misc(IDC_MISC_TRAY_ICON), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(ZephMiscPageTest, AutostartValueKeepsTheProgramsNameInEveryLanguage) {
    // A language file that renames the program must not rename the value the start looks for.
    char folder[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, folder, MAX_PATH);
    *std::strrchr(folder, '\\') = 0;
    const std::string file = std::string(folder) + "\\Italian.lng";
    ASSERT_TRUE(::WritePrivateProfileStringA("Strings", "128", "Quenda Miscelatore", file.c_str()));
    struct Removed {
        std::string path;
        ~Removed() {
            ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
            ::DeleteFileA(path.c_str());
        }
    } removed{file};
    SavedValue renamed(CZephMiscPage::kRunKey, "Quenda Miscelatore");
    WriteRunValue(nullptr);
    sheet.reset();
    language.SetLanguage(0x0410);
    ASSERT_EQ(language.GetString(128), "Quenda Miscelatore");
    OpenSheet();

    ::SendMessageA(Misc(IDC_MISC_TRAY_ICON), BM_CLICK, 0, 0);
    EXPECT_TRUE(ReadValue(CZephMiscPage::kRunKey, "Quenda Mixer", nullptr));
    EXPECT_FALSE(ReadValue(CZephMiscPage::kRunKey, "Quenda Miscelatore", nullptr));
    sheet.reset();
    OpenSheet();
    EXPECT_EQ(::SendMessageA(Misc(IDC_MISC_TRAY_ICON), BM_GETCHECK, 0, 0), BST_CHECKED);
    ::SendMessageA(Misc(IDC_MISC_TRAY_ICON), BM_CLICK, 0, 0);
    EXPECT_FALSE(ReadValue(CZephMiscPage::kRunKey, "Quenda Mixer", nullptr));
}

// Ends the modal colour editor with this button once it shows.
UINT g_editorAnswer = IDCANCEL;
HWND g_editorOwner = nullptr;
void CALLBACK AnswerEditor(HWND, UINT, UINT_PTR, DWORD) {
    for (HWND window = ::GetTopWindow(nullptr); window; window = ::GetWindow(window, GW_HWNDNEXT))
        if (::GetWindow(window, GW_OWNER) == g_editorOwner && ::IsWindowVisible(window))
            ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(g_editorAnswer, BN_CLICKED), 0);
}

TEST_F(ZephMiscPageTest, ColourSetupStoresAndAppliesOnlyOnOk) {
    const char* names[] = {"ColBgrd", "ColText", "ColLum", "ColSelLow", "ColSelHi", "RenderMode"};
    std::vector<std::unique_ptr<SavedValue>> saved;
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0,
                                KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    for (const char* name : names) {
        saved.push_back(std::make_unique<SavedValue>(kSettingsKey, name));
        ::RegDeleteValueA(key, name);
    }
    auto stored = [&](const char* name, DWORD* value) {
        DWORD size = sizeof(*value);
        return ::RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value),
                                  &size) == ERROR_SUCCESS;
    };
    HWND button = Misc(IDC_MISC_COLOR_SETUP);
    g_editorOwner = sheet->m_hWnd;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, AnswerEditor);

    g_editorAnswer = IDCANCEL;
    ::SendMessageA(button, BM_CLICK, 0, 0);
    DWORD value = 0;
    EXPECT_FALSE(stored("ColBgrd", &value));
    EXPECT_FALSE(stored("RenderMode", &value));

    // OK stores the editor's set and gives it to the main window.
    g_editorAnswer = IDOK;
    ::SendMessageA(button, BM_CLICK, 0, 0);
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(stored("ColBgrd", &value));
    EXPECT_EQ(value, sheet->GetColor(CoolColors::Background));
    EXPECT_TRUE(stored("RenderMode", &value));
    EXPECT_TRUE(value & 8);

    // A set without bit 3 is stored and applied with it.
    auto* page = dynamic_cast<CZephMiscPage*>(sheet->GetPage(5));
    ASSERT_TRUE(page);
    CoolColorSet set = {{0x102030, 0x405060, 0x708090, 0x0000FE, 0x00FE00, 1}};
    page->ApplyColorSet(set);
    const char* colorNames[] = {"ColBgrd", "ColText", "ColLum", "ColSelLow", "ColSelHi"};
    const int slots[] = {CoolColors::Background, CoolColors::Text, CoolColors::Lum,
                         CoolColors::SelLow, CoolColors::SelHigh};
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(stored(colorNames[i], &value) && value == set[i]) << colorNames[i];
        EXPECT_EQ(sheet->GetColor(slots[i]), set[i]) << colorNames[i];
    }
    EXPECT_TRUE(stored("RenderMode", &value) && value == 9);
    EXPECT_EQ(sheet->GetRenderMode(), 9u);
    // The pages took the new scheme as well.
    auto* pageColors = dynamic_cast<CoolColors*>(page);
    ASSERT_TRUE(pageColors);
    EXPECT_EQ(pageColors->GetColor(CoolColors::Background), set[0]);
    ::RegCloseKey(key);
}

} // namespace
