#include "ZephApp.h"

#include "PresetFile.h"
#include "RegistryDword.h"
#include "RegistryKey.h"
#include "SettingsKey.h"
#include "ZephCommandLineInfo.h"
#include "ZephMixer.h"
#include "ZephSheet.h"

#include "../res/resource.h"

CZephApp::CZephApp() {
    m_appName = "zephmixer"; // until InitInstance reads the name from the resources
}

CZephApp::~CZephApp() = default;

std::unique_ptr<CZephMixer> CZephApp::CreateMixer() {
    return std::make_unique<CZephMixer>();
}

bool CZephApp::CreateMainWindow(const CZephCommandLineInfo& commandLine) {
    auto sheet = std::make_unique<CZephSheet>("ZEPH", m_mixer.get(), nullptr, 0);
    if (!sheet->Create(nullptr, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0)) return false;
    CZephSheet* window = sheet.get();
    m_sheet = std::move(sheet);
    m_pMainWnd = window;

    // With an autostart entry the program lives in the notification area.
    CRegistryKey run;
    run.SetRoot(HKEY_CURRENT_USER, kRunKey);
    // Only the value's presence counts: a long command line is an autostart entry too.
    if (run.HasValue(m_appName.c_str())) {
        HICON icon = ::LoadIconA(m_hInstance, MAKEINTRESOURCEA(IDR_MAINFRAME));
        window->SetTrayIcon(icon, IDR_TRAY_MENU);
    }

    int show = SW_SHOWNORMAL;
    if (commandLine.HasFlag("minimize")) show = window->HasTrayIcon() ? SW_HIDE : SW_MINIMIZE;
    window->ShowWindow(show);
    return true;
}

void CZephApp::CreateKeyChain() {
    // One call creates every missing key along the path.
    CRegistryKey key;
    key.SetRoot(HKEY_CURRENT_USER, nullptr);
    key.CreateSubKey(kSettingsKey, nullptr, 0, KEY_ALL_ACCESS);
}

bool CZephApp::ReadStoredLanguage(LCID* language) {
    CRegistryKey key;
    key.SetRoot(HKEY_CURRENT_USER, kSettingsKey);
    // Only a language stored as the program stores it counts; anything else written under
    // the name (a string, a single byte) is no choice of the user's.
    DWORD value = 0;
    if (!QueryStoredDword(key, kLanguageValue, &value)) return false;
    *language = value;
    return true;
}

BOOL CZephApp::InitInstance() {
    char name[256] = {};
    if (::LoadStringA(m_hInstance, IDS_APP_NAME, name, sizeof(name)) > 0) m_appName = name;

    // One instance only. The handle stays open for the life of the application.
    ::SetLastError(ERROR_SUCCESS);
    m_instanceLock.Reset(::CreateSemaphoreA(nullptr, 0, 1, m_appName.c_str()));
    if (::GetLastError() == ERROR_ALREADY_EXISTS) return FALSE;

    m_mixer = CreateMixer();
    if (!m_mixer || !m_mixer->Init()) return FALSE; // the mixer showed why

    CreateKeyChain();

    LCID language = GetLanguage();
    const bool firstRun = !ReadStoredLanguage(&language);
    SetLanguage(language);
    m_languageChosen = true;

    CZephCommandLineInfo commandLine;
    commandLine.ParseCommandLine("\"" + m_appName + "\" " + m_lpCmdLine);

    const bool windowUp = CreateMainWindow(commandLine);

    if (!commandLine.m_strFileName.empty()) LoadCommandLinePreset(commandLine.m_strFileName);
    if (firstRun) m_mixer->SetDSAcceleration(3);
    return windowUp ? TRUE : FALSE;
}

void CZephApp::LoadCommandLinePreset(const std::string& path) {
    PresetStream stream = OpenPresetForReading(path);
    if (stream) m_mixer->LoadSettings(stream.get());
}

int CZephApp::ExitInstance() {
    m_sheet.reset();
    m_pMainWnd = nullptr;
    m_mixer.reset();
    if (m_languageChosen) {
        CRegistryKey key;
        key.SetRoot(HKEY_CURRENT_USER, kSettingsKey);
        key.SetDword(kLanguageValue, GetLanguage());
    }
    return CWinApp::ExitInstance();
}
