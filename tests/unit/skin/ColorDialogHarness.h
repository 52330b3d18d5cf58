// Running the colour set editor in tests: a skinned stand-in for the main window, the editor
// recording its captions, a script that drives modal dialogs from inside their message loops,
// real mouse clicks, and the registry key of the colour sets.
#pragma once

#include "CoolColorDialog.h"
#include "CoolColors.h"
#include "Wnd.h"

#include <functional>
#include <string>
#include <vector>

// A skinned top-level window that records the captions it is given.
class CMainStandIn : public CWnd, public CoolColors {
public:
    std::vector<std::string> captions;
    bool Open() {
        return CreateEx(0, nullptr, "Quenda Mixer", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                        CRect(10, 10, 700, 560), nullptr, 0);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        LRESULT result = 0;
        if (HandleSchemeMessage(message, wParam, lParam, &result, Role::Window)) return result;
        if (message == WM_SETTEXT && lParam)
            captions.push_back(reinterpret_cast<const char*>(lParam));
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class CTestColorDialog : public CCoolColorDialog {
public:
    using CCoolColorDialog::CCoolColorDialog;
    std::vector<std::string> captions; // after the dialog was initialised
    bool initialised = false;
    BOOL OnInitDialog() override {
        const BOOL result = CCoolColorDialog::OnInitDialog();
        initialised = true;
        return result;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SETTEXT && lParam && initialised)
            captions.push_back(reinterpret_cast<const char*>(lParam));
        return CCoolColorDialog::WindowProc(message, wParam, lParam);
    }
    CoolColorSet Values() const {
        CoolColorSet values = {};
        GetValues(&values);
        return values;
    }
    CoolColorSet Scheme() const {
        CoolColorSet scheme = {};
        const int slots[] = {Background, Text, Lum, SelLow, SelHigh};
        for (int i = 0; i < 5; ++i)
            scheme[i] = GetColor(slots[i]);
        scheme[5] = GetRenderMode();
        return scheme;
    }
};

// Steps run one after the other from a timer while modal dialogs run: each waits until its
// condition holds, then acts. A step that waits longer than five seconds fails the script, which
// then cancels every dialog of this thread so that the modal loops end.
class CModalScript {
public:
    void Then(std::function<bool()> ready, std::function<void()> act);
    void Then(std::function<void()> act) {
        Then([] { return true; }, std::move(act));
    }
    // Runs body (which enters a modal loop) with the script ticking; true when every step ran.
    bool Run(const std::function<void()>& body);

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    struct Step {
        std::function<bool()> ready;
        std::function<void()> act;
    };
    std::vector<Step> m_steps;
    size_t m_next = 0;
    bool m_failed = false;
    ULONGLONG m_deadline = 0;
};

// The visible top-level window of this thread with that caption, or null.
HWND FindThreadWindow(const std::string& caption);
// Clicks the left mouse button in the middle of a window, with real input.
void ClickOn(HWND window);
// True once every click sent was taken from the queue, and so handled (a click that opens a
// modal dialog counts as soon as the dialog's loop runs).
bool ClicksTaken();
// Chooses an entry of the editor's preset list as the user would pick it from the list.
bool ChoosePreset(HWND editor, const std::string& name);
std::string ItemText(HWND dialog, int id);

// The "Cool Colors" key, removed when the object is made and when it goes.
struct CColorRegistry {
    CColorRegistry() { Clear(); }
    ~CColorRegistry() { Clear(); }
    static void Clear();
    static void Put(const char* subKey, const std::string& name, DWORD type, const void* data,
                    DWORD size);
    static void PutSet(const char* subKey, const std::string& name, const CoolColorSet& set) {
        Put(subKey, name, REG_BINARY, &set, sizeof(set));
    }
    // The value's bytes; empty when there is none. type receives its type.
    static std::vector<BYTE> Get(const char* subKey, const std::string& name,
                                 DWORD* type = nullptr);
    static std::vector<std::string> Names(const char* subKey);
};
