// Running "Quenda Mixer.exe" as a user would, from a test: start it, wait for its window, find
// its pages' controls, drive it with real keyboard and mouse input through the display, answer
// its dialogs, take screenshots, and always end it.
#pragma once

#include "Pixels.h"
#include "Platform.h"
#include "UniqueHandle.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

struct ProgramRun {
    bool started = false;
    bool ended = false;
    bool windowShown = false; // its main window came up (and was closed by the run)
    DWORD exitCode = DWORD(-1);
    std::vector<std::string> boxes; // texts of the message boxes it showed, each answered OK
};

// Starts the program in the test's folder, answers its message boxes with OK, and waits up to
// timeoutMs for it to end; a program that brings its main window up is ended through the
// window's "Exit" command once it is idle.
ProgramRun RunProgram(const std::string& arguments, DWORD timeoutMs = 60000);
ProgramRun RunProgram(const std::wstring& arguments, DWORD timeoutMs = 60000);

// The program while it runs. The destructor ends it ("Exit", then by force) and waits.
class RunningProgram {
public:
    explicit RunningProgram(const std::string& arguments);
    explicit RunningProgram(const std::wstring& arguments);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Started() const { return m_process.Get() != nullptr; }
    DWORD Id() const { return m_id; }
    // Waits for the main window (the sheet, shown or not) and for the program to be idle.
    HWND WaitForWindow(DWORD timeoutMs = 30000);
    HWND Window() const { return m_window; }
    bool HasEnded() const;
    bool WaitForEnd(DWORD timeoutMs = 30000);
    DWORD ExitCode() const;
    // Asks the window to end as the notification menu's "Exit" does, waits, then forces.
    void End();

    // The sheet's active page and a control on it.
    HWND ActivePage() const;
    int ActivePageIndex() const;
    HWND Control(int id) const { return ::GetDlgItem(ActivePage(), id); }
    // The label of a tab of the sheet, read from the program's memory.
    std::string TabText(int tab) const;
    // A shown dialog box of the program other than the main window (file dialog, message box);
    // with fits, the first one in front for which it holds.
    HWND FindDialog(const std::function<bool(HWND)>& fits = nullptr) const;
    HWND WaitForDialog(DWORD timeoutMs = 15000,
                       const std::function<bool(HWND)>& fits = nullptr) const;
    // The program's shown pop-up menu window, if any. A menu window that is only hidden (the
    // system may keep one after a menu ends) does not count: keys sent then would go to the
    // window under it.
    HWND ShownMenu() const;
    // Clicks a button of the active page and answers the file dialog it opens with a path,
    // typed into the dialog; true once the dialog has closed.
    bool AnswerFileDialog(int button, const std::wstring& path) const;
    // Makes the window the foreground window, where keyboard input goes.
    bool BringToFront() const;
    // Brings the window to the front, presses a key and waits until the page is the active one.
    bool SelectPageByKey(WORD key, std::initializer_list<WORD> modifiers, int page) const;
    // The program's window with the keyboard focus (null when none).
    HWND Focus() const;
    // The thumb of a track bar of the program, in the track bar's client coordinates (empty
    // when it cannot be read).
    RECT ThumbRect(HWND trackBar) const;

    // The window as it is on the screen.
    PixelImage Capture() const;
    // Waits until the picture of the window (of another window of the program when given)
    // differs from an earlier one and stays the same between two looks (the program finished
    // painting); the picture then.
    PixelImage WaitForNewPicture(const PixelImage& earlier, DWORD timeoutMs = 5000,
                                 HWND window = nullptr) const;
    // Saves the window's picture as artefacts/<name>.png; the path, empty when failed.
    std::string Screenshot(const std::string& name) const;

private:
    CKernelHandle m_process;
    DWORD m_id = 0;
    HWND m_window = nullptr;
};

// Waits until no instance of the program holds its single-instance semaphore: one that has
// just ended may hold it a moment longer, and a start before it is gone ends at once.
bool WaitForNoInstance(DWORD timeoutMs = 15000);

// A window as it is on the screen, frame included.
PixelImage CaptureWindow(HWND window);

// Real input through the display, to whatever window has the focus.
void PressKey(WORD key, std::initializer_list<WORD> modifiers = {});
void TypeText(const std::string& text);
void TypeText(const std::wstring& text);
// A left click at a point of a window's client area.
void ClickAt(HWND window, POINT client);
// A drag with the left button: pressed at one point of a window's client area, moved in a few
// steps to another (which may lie outside the window), released there. With arrived, the
// button is released only once arrived() has held for a moment (false when it did not).
bool DragFromTo(HWND window, POINT from, POINT to,
                const std::function<bool()>& arrived = std::function<bool()>());

// Holds values of a registry key for the life of the object, then puts back what was there
// (or deletes what was not), and deletes the key again when it made it and it is left empty.
class ScopedRegistryValues {
public:
    ScopedRegistryValues(HKEY root, const std::string& path,
                         std::initializer_list<const char*> names);
    ~ScopedRegistryValues();
    ScopedRegistryValues(const ScopedRegistryValues&) = delete;
    ScopedRegistryValues& operator=(const ScopedRegistryValues&) = delete;

    void SetDword(const char* name, DWORD value);
    void SetString(const char* name, const std::string& value);
    void SetBinary(const char* name, const std::vector<BYTE>& value);
    void Delete(const char* name);
    bool QueryDword(const char* name, DWORD* value) const;
    // The bytes of a value of any type.
    bool QueryBytes(const char* name, std::vector<BYTE>* value) const;

private:
    struct Saved {
        std::string name;
        bool present = false;
        DWORD type = 0;
        std::vector<BYTE> data;
    };
    HKEY m_root = nullptr;
    std::string m_path;
    bool m_created = false;
    HKEY m_key = nullptr;
    std::vector<Saved> m_saved;
};

// Holds a value of the environment for the life of the object, then puts the old one back.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value);
    ~ScopedEnvironment();

private:
    std::string m_name;
    std::string m_old;
    bool m_had = false;
};
