#include "PresetHandOver.h"

#include <vector>

namespace PresetHandOver {

namespace {

constexpr DWORD kQuestionTimeoutMs = 1000;
constexpr DWORD kLookAgainMs = 100;

struct Search {
    HWND panel = nullptr;
};

BOOL CALLBACK AskWindow(HWND window, LPARAM context) {
    // The main window is a property sheet, a dialog window; nothing else is asked.
    char name[16] = {};
    ::GetClassNameA(window, name, sizeof(name));
    if (lstrcmpA(name, "#32770") != 0) return TRUE;
    DWORD_PTR answer = 0;
    if (::SendMessageTimeoutA(window, PanelQuestion(), 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                              kQuestionTimeoutMs, &answer) &&
        static_cast<LRESULT>(answer) == kPanelAnswer) {
        reinterpret_cast<Search*>(context)->panel = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindPanel() {
    Search search;
    ::EnumWindows(&AskWindow, reinterpret_cast<LPARAM>(&search));
    return search.panel;
}

DWORD Remaining(DWORD start, DWORD timeoutMs) {
    const DWORD spent = ::GetTickCount() - start;
    return spent >= timeoutMs ? 0 : timeoutMs - spent;
}

} // namespace

UINT PanelQuestion() {
    static const UINT message = ::RegisterWindowMessageA("Quenda Mixer: control panel?");
    return message;
}

bool ReadPath(const COPYDATASTRUCT* data, std::wstring* path) {
    if (!data || data->dwData != kTag || !data->lpData) return false;
    const DWORD size = data->cbData;
    if (size < sizeof(wchar_t) || size % sizeof(wchar_t) != 0 || size > MAX_PATH * sizeof(wchar_t))
        return false;
    const wchar_t* text = static_cast<const wchar_t*>(data->lpData);
    const size_t count = size / sizeof(wchar_t);
    if (text[count - 1] != L'\0') return false;
    if (path) *path = std::wstring(text); // up to the first zero
    return true;
}

Outcome HandToRunningPanel(const std::wstring& path, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    HWND panel = FindPanel();
    while (!panel && Remaining(start, timeoutMs) > 0) {
        ::Sleep(kLookAgainMs);
        panel = FindPanel();
    }
    if (!panel) return Outcome::NoAnswer;

    std::vector<wchar_t> text(path.begin(), path.end());
    text.push_back(L'\0');
    COPYDATASTRUCT data = {};
    data.dwData = kTag;
    data.cbData = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    data.lpData = text.data();
    DWORD_PTR answer = kRefused;
    const DWORD left = Remaining(start, timeoutMs);
    if (left == 0 || !::SendMessageTimeoutW(panel, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                            SMTO_ABORTIFHUNG | SMTO_BLOCK, left, &answer))
        return Outcome::NoAnswer;
    switch (static_cast<LRESULT>(answer)) {
    case kApplied:
        return Outcome::Applied;
    case kUnusable:
        return Outcome::Unusable;
    default:
        return Outcome::NoAnswer;
    }
}

} // namespace PresetHandOver
