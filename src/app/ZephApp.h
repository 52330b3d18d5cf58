// The application object: the start and the end of the control panel. At start it refuses a
// second instance (handing a preset named on its command line to the running panel),
// creates and initialises the card mixer, makes sure the program's registry keys exist,
// restores the language, reads the command line, brings up the main window and applies a
// preset named on the command line. At the end it destroys the main window and the card mixer
// and stores the language in effect. The commands for scripts ("/save FILE", "/load FILE",
// "/?") run without a window and end with an exit code.
#pragma once

#include "LanguageSupport.h"
#include "UniqueHandle.h"
#include "WinApp.h"

#include <memory>
#include <string>

class CZephMixer;
class CZephCommandLineInfo;

class CZephApp : public CWinApp, public CLanguageSupport {
public:
    // The value of the settings key (SettingsKey.h) that holds the language.
    static constexpr const char* kLanguageValue = "Language";
    static constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

    // Exit codes of the commands for scripts and of a hand-over to the running panel.
    enum ExitCode : int {
        kExitDone = 0,
        kExitFileUnusable = 2, // cannot be read or written, not a disk file, no settings
        kExitNoCard = 3,       // the card mixer could not be opened
        kExitNoAnswer = 4,     // the running panel did not answer in time
    };
    static constexpr DWORD kHandOverTimeoutMs = 10000;

    CZephApp();
    ~CZephApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;

    CZephMixer* GetMixer() const { return m_mixer.get(); }

protected:
    // Creates the card mixer; tests may hand in another.
    virtual std::unique_ptr<CZephMixer> CreateMixer();
    // Constructs, creates and shows the main window (minimised or only as the notification
    // icon when asked). False when there is no main window.
    virtual bool CreateMainWindow(const CZephCommandLineInfo& commandLine);
    // Applies the preset file named on the command line; a file that cannot be opened, or a
    // name that is not a file on disk (a device such as "AUX"), is ignored.
    void LoadCommandLinePreset(const std::wstring& path);

private:
    // The commands for scripts; each gives the exit code.
    int RunScriptCommand(const CZephCommandLineInfo& commandLine);
    int SaveToFile(const std::wstring& path);
    int LoadFromFile(const std::wstring& path);
    int HandOver(const std::wstring& path);
    // The card mixer opened for a script, or null (with the reason) when there is no card.
    std::unique_ptr<CZephMixer> OpenCardForScript(std::wstring* reason);
    static void CreateKeyChain();
    // The stored language, or false when none is stored as a 4-byte REG_DWORD.
    static bool ReadStoredLanguage(LCID* language);

    // The single-instance semaphore, held while the application lives.
    CKernelHandle m_instanceLock;
    std::unique_ptr<CZephMixer> m_mixer;
    std::unique_ptr<CWnd> m_sheet;
    // Set once the language in effect was chosen from the registry or the default; only then
    // is it stored at the end, so an instance that ended early never replaces the user's choice.
    bool m_languageChosen = false;
};
