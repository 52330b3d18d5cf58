#include "ZephApp.h"

#include "AppMessageBox.h"
#include "PresetFile.h"
#include "PresetHandOver.h"
#include "RegistryDword.h"
#include "RegistryKey.h"
#include "ScriptConsole.h"
#include "SettingsKey.h"
#include "WideText.h"
#include "ZephCommandLineInfo.h"
#include "ZephMixer.h"
#include "ZephSheet.h"

#include "../res/resource.h"

#include <cstdio>

namespace {

const wchar_t kUsage[] =
    L"Usage: \"Quenda Mixer.exe\" [PRESET.vqs] [/minimize]\r\n"
    L"       \"Quenda Mixer.exe\" /save FILE | /load FILE | /?\r\n"
    L"\r\n"
    L"  PRESET.vqs   apply this preset; a panel that already runs applies it\r\n"
    L"  /minimize    start in the notification area or minimised\r\n"
    L"  /save FILE   write the card's settings to FILE and end\r\n"
    L"  /load FILE   apply FILE and end (through the running panel when one runs)\r\n"
    L"\r\n"
    L"Exit codes of /save, /load and a preset handed to the running panel: 0 done,\r\n"
    L"2 the file cannot be read or written or holds no settings for this card,\r\n"
    L"3 no card, 4 the running panel did not answer within 10 seconds.";

// Why a preset could not be opened, for the line a script reads.
std::wstring WhyUnusable(const std::wstring& path, bool writing) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return L"it is a folder";
    if (!writing && attributes == INVALID_FILE_ATTRIBUTES) return L"there is no such file";
    return writing ? L"it cannot be written or is not a file on disk"
                   : L"it cannot be read or is not a file on disk";
}

// The full path of a name given relative to where the program was started.
std::wstring FullPath(const std::wstring& path) {
    const DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path;
    std::wstring full(size, L'\0');
    const DWORD length = ::GetFullPathNameW(path.c_str(), size, &full[0], nullptr);
    if (length == 0 || length >= size) return path;
    full.resize(length);
    return full;
}

std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

} // namespace

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

    CZephCommandLineInfo commandLine;
    commandLine.ParseCommandLine(L"\"" + WidenAnsi(m_appName) + L"\" " + m_commandLine);
    if (commandLine.GetCommand() != CZephCommandLineInfo::Command::Panel) {
        // A command for scripts: no window, no part in the single-instance rule.
        m_exitCode = RunScriptCommand(commandLine);
        return FALSE;
    }

    // One instance only. The handle stays open for the life of the application. A second
    // start with a preset hands it to the running panel; without one it ends silently.
    ::SetLastError(ERROR_SUCCESS);
    m_instanceLock.Reset(::CreateSemaphoreA(nullptr, 0, 1, m_appName.c_str()));
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        if (!commandLine.m_fileName.empty()) m_exitCode = HandOver(commandLine.m_fileName);
        return FALSE;
    }

    m_mixer = CreateMixer();
    if (!m_mixer || !m_mixer->Init()) return FALSE; // the mixer showed why

    CreateKeyChain();

    LCID language = GetLanguage();
    const bool firstRun = !ReadStoredLanguage(&language);
    SetLanguage(language);
    m_languageChosen = true;

    // Without its main window the program ends at once: nothing is applied or written.
    if (!CreateMainWindow(commandLine)) return FALSE;

    if (!commandLine.m_fileName.empty()) LoadCommandLinePreset(commandLine.m_fileName);
    if (firstRun) m_mixer->SetDSAcceleration(3);
    return TRUE;
}

void CZephApp::LoadCommandLinePreset(const std::wstring& path) {
    PresetStream stream = OpenPresetForReading(path);
    if (stream) m_mixer->LoadSettings(stream.get());
}

int CZephApp::RunScriptCommand(const CZephCommandLineInfo& commandLine) {
    using Command = CZephCommandLineInfo::Command;
    const Command command = commandLine.GetCommand();
    if (command == Command::Help) {
        CScriptConsole console;
        if (console.HasOutput())
            console.WriteLine(kUsage);
        else
            AppMessageBox(nullptr, NarrowToAnsi(kUsage), m_appName, MB_OK | MB_ICONINFORMATION);
        return kExitDone;
    }
    const std::wstring& file = commandLine.GetCommandFile();
    if (command == Command::Conflict || file.empty()) {
        CScriptConsole console;
        console.WriteLine(command == Command::Conflict
                              ? L"Give either /save or /load, not both."
                              : L"/save and /load need the name of a file.");
        console.WriteLine(kUsage);
        return kExitFileUnusable;
    }
    return command == Command::Save ? SaveToFile(FullPath(file)) : LoadFromFile(FullPath(file));
}

std::unique_ptr<CZephMixer> CZephApp::OpenCardForScript(std::wstring* reason) {
    // The mixer says why it cannot open the card in a message box; a script gets that text
    // as its line instead, and nothing waits for a click.
    std::string shown;
    MessageBoxHook previous =
        SetMessageBoxHook([&](HWND, const std::string& text, const std::string&, UINT) {
            if (shown.empty()) shown = text;
            return IDOK;
        });
    std::unique_ptr<CZephMixer> mixer = CreateMixer();
    const bool opened = mixer && mixer->Init(CZephMixer::Start::Script);
    SetMessageBoxHook(previous);
    if (opened) return mixer;
    for (char& c : shown)
        if (c == '\n' || c == '\t') c = ' ';
    while (shown.find("  ") != std::string::npos)
        shown.erase(shown.find("  "), 1);
    *reason = shown.empty() ? L"the card's mixer device cannot be opened" : WidenAnsi(shown);
    return nullptr;
}

int CZephApp::SaveToFile(const std::wstring& path) {
    CScriptConsole console;
    std::wstring reason;
    std::unique_ptr<CZephMixer> mixer = OpenCardForScript(&reason);
    if (!mixer) {
        console.WriteLine(L"Nothing saved, no card: " + reason);
        return kExitNoCard;
    }
    PresetStream stream = OpenPresetForWriting(path);
    if (!stream) {
        console.WriteLine(L"Nothing saved to " + Quoted(path) + L": " + WhyUnusable(path, true) +
                          L".");
        return kExitFileUnusable;
    }
    const bool written = mixer->SaveSettings(stream.get()) != 0;
    const bool closed = std::fclose(stream.release()) == 0;
    if (!written || !closed) {
        console.WriteLine(L"Saving to " + Quoted(path) + L" failed: the file is incomplete.");
        return kExitFileUnusable;
    }
    console.WriteLine(L"Saved the card's settings to " + Quoted(path) + L".");
    return kExitDone;
}

int CZephApp::LoadFromFile(const std::wstring& path) {
    // A running panel applies it, so that its pages show the new values.
    CKernelHandle running(::OpenSemaphoreA(SYNCHRONIZE, FALSE, m_appName.c_str()));
    if (running) return HandOver(path);

    CScriptConsole console;
    PresetStream stream = OpenPresetForReading(path);
    if (!stream) {
        console.WriteLine(L"Nothing loaded from " + Quoted(path) + L": " +
                          WhyUnusable(path, false) + L".");
        return kExitFileUnusable;
    }
    std::wstring reason;
    std::unique_ptr<CZephMixer> mixer = OpenCardForScript(&reason);
    if (!mixer) {
        console.WriteLine(L"Nothing loaded, no card: " + reason);
        return kExitNoCard;
    }
    if (!mixer->LoadSettings(stream.get())) {
        console.WriteLine(L"Nothing loaded from " + Quoted(path) +
                          L": it holds no settings for this card.");
        return kExitFileUnusable;
    }
    console.WriteLine(L"Loaded the settings of " + Quoted(path) + L".");
    return kExitDone;
}

int CZephApp::HandOver(const std::wstring& file) {
    const std::wstring path = FullPath(file);
    CScriptConsole console;
    if (path.size() >= MAX_PATH) {
        console.WriteLine(L"Nothing loaded from " + Quoted(path) +
                          L": the running control panel takes names of up to " +
                          std::to_wstring(MAX_PATH - 1) + L" characters.");
        return kExitFileUnusable;
    }
    switch (PresetHandOver::HandToRunningPanel(path, kHandOverTimeoutMs)) {
    case PresetHandOver::Outcome::Applied:
        console.WriteLine(L"The running control panel loaded " + Quoted(path) + L".");
        return kExitDone;
    case PresetHandOver::Outcome::Unusable: {
        // The panel does not say which check failed: a name that is no file says it itself.
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        const bool plainFile =
            attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
        console.WriteLine(L"Nothing loaded from " + Quoted(path) + L": " +
                          (plainFile ? std::wstring(L"it cannot be read, is not a file on disk "
                                                    L"or holds no settings for this card")
                                     : WhyUnusable(path, false)) +
                          L".");
        return kExitFileUnusable;
    }
    case PresetHandOver::Outcome::NoAnswer:
        break;
    }
    console.WriteLine(L"Nothing loaded from " + Quoted(path) +
                      L": the running control panel did not answer within " +
                      std::to_wstring(kHandOverTimeoutMs / 1000) + L" seconds.");
    return kExitNoAnswer;
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
