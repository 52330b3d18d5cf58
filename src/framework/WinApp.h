// The application object: one per program. WinMain hands control to RunApplication, which
// initialises the common controls, calls InitInstance, runs the message loop when it
// succeeded, and ends with ExitInstance. The loop ends when WM_QUIT arrives or the main window
// (m_pMainWnd) is destroyed; it gives modeless dialogs and property sheets their keyboard
// handling and destroys a modeless sheet once it was closed.
#pragma once

#include "Platform.h"

#include <string>

class CWnd;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The one application object, or null.
    static CWinApp* GetApp();

    // Runs the whole program; returns the process exit code. The command line holds the
    // arguments without the program's name; the wide one keeps file names that have no ANSI
    // spelling.
    int RunApplication(HINSTANCE instance, const wchar_t* commandLine, int showCommand);
    int RunApplication(HINSTANCE instance, const char* commandLine, int showCommand);

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return m_exitCode; }
    // The message loop; returns when WM_QUIT arrives.
    virtual int Run();
    // Offers a message to the windows it is for, innermost first; true when one used it.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // True while Run is in its loop. Destroying the main window then ends the loop.
    bool IsRunning() const { return m_running; }
    // The program's name, as the application set it: the caption of its message boxes.
    const std::string& GetAppName() const { return m_appName; }

    HINSTANCE m_hInstance = nullptr;
    std::string m_lpCmdLine;    // in the ANSI code page
    std::wstring m_commandLine; // the same, wide
    int m_nCmdShow = SW_SHOWNORMAL;
    CWnd* m_pMainWnd = nullptr;

protected:
    int m_exitCode = 0;
    std::string m_appName;

private:
    bool m_running = false;
};

// The module the program's resources (dialog templates, strings, icons) come from: the
// application's instance, else the executable.
HINSTANCE GetResourceInstance();
