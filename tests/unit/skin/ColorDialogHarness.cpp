#include "ColorDialogHarness.h"

#include "ColorSetKey.h"
#include "Pump.h"

namespace {
CModalScript* g_script = nullptr;

BOOL CALLBACK CancelDialog(HWND window, LPARAM) {
    char className[16] = "";
    ::GetClassNameA(window, className, sizeof(className));
    if (std::string(className) == "#32770")
        ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return TRUE;
}

struct WindowSearch {
    std::string caption;
    HWND found = nullptr;
};
BOOL CALLBACK MatchCaption(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    char text[256] = "";
    ::GetWindowTextA(window, text, sizeof(text));
    if (::IsWindowVisible(window) && search->caption == text) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

int g_clicksSent = 0;
int g_clicksTaken = 0;
LRESULT CALLBACK CountButtonUps(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == WM_LBUTTONUP) ++g_clicksTaken;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string KeyPath(const char* subKey) {
    return std::string(CColorSetKey::kPath) + "\\" + subKey;
}
} // namespace

void CModalScript::Then(std::function<bool()> ready, std::function<void()> act) {
    m_steps.push_back(Step{std::move(ready), std::move(act)});
}

void CALLBACK CModalScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
    CModalScript* script = g_script;
    if (!script) return;
    if (!script->m_failed && ::GetTickCount64() > script->m_deadline) script->m_failed = true;
    if (script->m_failed) {
        ::EnumThreadWindows(::GetCurrentThreadId(), &CancelDialog, 0);
        return;
    }
    if (script->m_next >= script->m_steps.size() || !script->m_steps[script->m_next].ready())
        return;
    const Step& step = script->m_steps[script->m_next++];
    script->m_deadline = ::GetTickCount64() + 5000;
    step.act(); // may run a modal loop of its own, in which the next steps go on
}

bool CModalScript::Run(const std::function<void()>& body) {
    g_script = this;
    m_deadline = ::GetTickCount64() + 5000;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &Tick);
    body();
    ::KillTimer(nullptr, timer);
    g_script = nullptr;
    PumpPending();
    return !m_failed && m_next == m_steps.size();
}

HWND FindThreadWindow(const std::string& caption) {
    WindowSearch search{caption};
    ::EnumThreadWindows(::GetCurrentThreadId(), &MatchCaption, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void ClickOn(HWND window) {
    static HHOOK hook =
        ::SetWindowsHookExA(WH_MOUSE, &CountButtonUps, nullptr, ::GetCurrentThreadId());
    (void)hook;
    ++g_clicksSent;
    RECT r;
    ::GetWindowRect(window, &r);
    ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, input, sizeof(INPUT));
}

bool ClicksTaken() {
    return g_clicksTaken >= g_clicksSent;
}

bool ChoosePreset(HWND editor, const std::string& name) {
    HWND list = ::GetDlgItem(editor, CCoolColorDialog::IdPresets);
    const LRESULT item = ::SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(name.c_str()));
    if (item < 0) return false;
    ::SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    ::SendMessageA(editor, WM_COMMAND, MAKEWPARAM(CCoolColorDialog::IdPresets, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
    return true;
}

std::string ItemText(HWND dialog, int id) {
    char text[256] = "";
    ::GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

void CColorRegistry::Clear() {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, CColorSetKey::kPath);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, CColorSetKey::kPath);
}

void CColorRegistry::Put(const char* subKey, const std::string& name, DWORD type, const void* data,
                         DWORD size) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, KeyPath(subKey).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                          nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    ::RegCloseKey(key);
}

std::vector<BYTE> CColorRegistry::Get(const char* subKey, const std::string& name, DWORD* type) {
    std::vector<BYTE> data(256);
    DWORD size = static_cast<DWORD>(data.size());
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath(subKey).c_str(), 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return {};
    if (::RegQueryValueExA(key, name.c_str(), nullptr, type, data.data(), &size) != ERROR_SUCCESS)
        size = 0;
    ::RegCloseKey(key);
    data.resize(size);
    return data;
}

std::vector<std::string> CColorRegistry::Names(const char* subKey) {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath(subKey).c_str(), 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return names;
    for (DWORD i = 0;; ++i) {
        char name[260];
        DWORD length = sizeof(name);
        if (::RegEnumValueA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    ::RegCloseKey(key);
    return names;
}
