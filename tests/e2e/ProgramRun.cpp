#include "ProgramRun.h"

#include "Png.h"
#include "Pump.h"
#include "WideText.h"

#include <commctrl.h>

namespace {

constexpr WPARAM kExitCommand = 32772;

struct WindowSearch {
    DWORD processId;
    bool mainWindow; // the sheet (with its tab control), or a shown dialog other than it
    const std::function<bool(HWND)>* fits; // for a dialog, when given
    HWND found;
};

bool IsDialogClass(HWND window) {
    char className[16] = {};
    ::GetClassNameA(window, className, sizeof(className));
    return std::string(className) == "#32770";
}

BOOL CALLBACK FindWindowOf(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsDialogClass(window)) return TRUE;
    const bool sheet = ::FindWindowExA(window, nullptr, "SysTabControl32", nullptr) != nullptr;
    if (search->mainWindow ? sheet
                           : (!sheet && ::IsWindowVisible(window) &&
                              (!search->fits || !*search->fits || (*search->fits)(window)))) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindProcessWindow(DWORD processId, bool mainWindow,
                       const std::function<bool(HWND)>* fits = nullptr) {
    WindowSearch search = {processId, mainWindow, fits, nullptr};
    ::EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string DialogText(HWND box) {
    // A message box's text sits in its static control 0xFFFF.
    char text[1024] = {};
    ::GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
    return text;
}

INPUT KeyInput(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

void SendInputs(std::vector<INPUT>& inputs) {
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// A mouse event at a point of a window's client area, in the absolute coordinates SendInput
// takes.
INPUT MouseInput(HWND window, POINT client, DWORD flags) {
    ::ClientToScreen(window, &client);
    const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((client.x * 65535 + width / 2) / (width - 1));
    input.mi.dy = static_cast<LONG>((client.y * 65535 + height / 2) / (height - 1));
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    return input;
}

// Moves the pointer to a point of a window and waits until the mouse capture is free or held
// by the window under the point. A skinned slider takes the capture while the pointer rests on
// it, until it sees the pointer leave: a press sent along with the move would go to the slider.
void MovePointer(HWND window, POINT client) {
    std::vector<INPUT> move = {MouseInput(window, client, MOUSEEVENTF_MOVE)};
    SendInputs(move);
    POINT screen = client;
    ::ClientToScreen(window, &screen);
    const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
    PumpUntil(
        [&] {
            GUITHREADINFO info = {};
            info.cbSize = sizeof(info);
            return !::GetGUIThreadInfo(thread, &info) || !info.hwndCapture ||
                   info.hwndCapture == ::WindowFromPoint(screen);
        },
        2000);
}

} // namespace

RunningProgram::RunningProgram(const std::string& arguments)
    : RunningProgram(WidenAnsi(arguments)) {}

RunningProgram::RunningProgram(const std::wstring& arguments) {
    std::wstring commandLine = L"\"Quenda Mixer.exe\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return;
    ::CloseHandle(process.hThread);
    m_process.Reset(process.hProcess);
    m_id = process.dwProcessId;
}

RunningProgram::~RunningProgram() {
    End();
}

bool RunningProgram::AnswerFileDialog(int button, const std::wstring& path) const {
    BringToFront();
    HWND control = Control(button);
    if (!control) return false;
    RECT rect = {};
    ::GetClientRect(control, &rect);
    ClickAt(control, {rect.right / 2, rect.bottom / 2});
    HWND dialog = WaitForDialog();
    if (!dialog) return false;
    ::SetForegroundWindow(dialog);
    PumpUntil([&] { return ::GetForegroundWindow() == dialog; }, 3000);
    TypeText(path);
    PressKey(VK_RETURN);
    return PumpUntil([&] { return !::IsWindow(dialog); }, 10000);
}

HWND RunningProgram::WaitForWindow(DWORD timeoutMs) {
    if (!Started()) return nullptr;
    PumpUntil(
        [&] {
            m_window = FindProcessWindow(m_id, true);
            return m_window != nullptr || HasEnded();
        },
        timeoutMs);
    if (m_window) ::WaitForInputIdle(m_process.Get(), timeoutMs);
    return m_window;
}

HWND RunningProgram::ShownMenu() const {
    for (HWND menu = ::FindWindowExA(nullptr, nullptr, "#32768", nullptr); menu;
         menu = ::FindWindowExA(nullptr, menu, "#32768", nullptr)) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(menu, &owner);
        if (owner == m_id && ::IsWindowVisible(menu)) return menu;
    }
    return nullptr;
}

bool RunningProgram::HasEnded() const {
    return !Started() || ::WaitForSingleObject(m_process.Get(), 0) == WAIT_OBJECT_0;
}

bool RunningProgram::WaitForEnd(DWORD timeoutMs) {
    return PumpUntil([&] { return HasEnded(); }, timeoutMs);
}

DWORD RunningProgram::ExitCode() const {
    DWORD code = DWORD(-1);
    if (HasEnded() && Started()) ::GetExitCodeProcess(m_process.Get(), &code);
    return code;
}

void RunningProgram::End() {
    if (HasEnded()) return;
    // Close what the program shows on top of its window (a file dialog, a menu) first.
    for (int i = 0; i < 3; ++i) {
        HWND dialog = FindDialog();
        if (!dialog) break;
        ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        PumpUntil([&] { return !::IsWindow(dialog); }, 3000);
    }
    HWND window = m_window ? m_window : FindProcessWindow(m_id, true);
    if (window) {
        ::PostMessageA(window, WM_CANCELMODE, 0, 0);
        ::PostMessageA(window, WM_COMMAND, kExitCommand, 0);
        if (WaitForEnd(15000)) return;
    }
    ::TerminateProcess(m_process.Get(), 1);
    ::WaitForSingleObject(m_process.Get(), 15000);
}

HWND RunningProgram::ActivePage() const {
    return m_window ? reinterpret_cast<HWND>(::SendMessageA(m_window, PSM_GETCURRENTPAGEHWND, 0, 0))
                    : nullptr;
}

int RunningProgram::ActivePageIndex() const {
    HWND tabs = m_window ? reinterpret_cast<HWND>(::SendMessageA(m_window, PSM_GETTABCONTROL, 0, 0))
                         : nullptr;
    return tabs ? static_cast<int>(::SendMessageA(tabs, TCM_GETCURSEL, 0, 0)) : -1;
}

std::string RunningProgram::TabText(int tab) const {
    HWND tabs = m_window ? reinterpret_cast<HWND>(::SendMessageA(m_window, PSM_GETTABCONTROL, 0, 0))
                         : nullptr;
    if (!tabs) return std::string();
    // The item and its text buffer must lie in the program's own address space.
    struct Remote {
        TCITEMA item;
        char text[128];
    };
    auto* remote = static_cast<Remote*>(
        ::VirtualAllocEx(m_process.Get(), nullptr, sizeof(Remote), MEM_COMMIT, PAGE_READWRITE));
    if (!remote) return std::string();
    Remote local = {};
    local.item.mask = TCIF_TEXT;
    local.item.pszText = remote->text;
    local.item.cchTextMax = sizeof(local.text);
    std::string text;
    if (::WriteProcessMemory(m_process.Get(), remote, &local, sizeof(local), nullptr) &&
        ::SendMessageA(tabs, TCM_GETITEMA, tab, reinterpret_cast<LPARAM>(&remote->item)) &&
        ::ReadProcessMemory(m_process.Get(), remote, &local, sizeof(local), nullptr)) {
        local.text[sizeof(local.text) - 1] = '\0';
        text = local.text;
    }
    ::VirtualFreeEx(m_process.Get(), remote, 0, MEM_RELEASE);
    return text;
}

HWND RunningProgram::FindDialog(const std::function<bool(HWND)>& fits) const {
    return Started() ? FindProcessWindow(m_id, false, &fits) : nullptr;
}

HWND RunningProgram::WaitForDialog(DWORD timeoutMs, const std::function<bool(HWND)>& fits) const {
    HWND dialog = nullptr;
    PumpUntil([&] { return (dialog = FindDialog(fits)) != nullptr; }, timeoutMs);
    if (dialog) ::WaitForInputIdle(m_process.Get(), timeoutMs);
    return dialog;
}

bool RunningProgram::BringToFront() const {
    if (!m_window) return false;
    ::SetForegroundWindow(m_window);
    return PumpUntil([&] { return ::GetForegroundWindow() == m_window; }, 5000);
}

bool RunningProgram::SelectPageByKey(WORD key, std::initializer_list<WORD> modifiers,
                                     int page) const {
    BringToFront();
    PressKey(key, modifiers);
    return PumpUntil([&] { return ActivePageIndex() == page; }, 3000);
}

HWND RunningProgram::Focus() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    const DWORD thread = m_window ? ::GetWindowThreadProcessId(m_window, nullptr) : 0;
    return thread && ::GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

RECT RunningProgram::ThumbRect(HWND trackBar) const {
    // The rectangle must lie in the program's own address space.
    RECT rect = {};
    void* remote =
        ::VirtualAllocEx(m_process.Get(), nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    if (!remote) return rect;
    ::SendMessageA(trackBar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(remote));
    if (!::ReadProcessMemory(m_process.Get(), remote, &rect, sizeof(rect), nullptr)) rect = RECT();
    ::VirtualFreeEx(m_process.Get(), remote, 0, MEM_RELEASE);
    return rect;
}

PixelImage RunningProgram::Capture() const {
    return CaptureWindow(m_window);
}

PixelImage CaptureWindow(HWND window) {
    RECT rect = {};
    if (!window || !::GetWindowRect(window, &rect)) return PixelImage();
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    PixelImage image = ReadPixels(memory, width, height);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return image;
}

PixelImage RunningProgram::WaitForNewPicture(const PixelImage& earlier, DWORD timeoutMs,
                                             HWND window) const {
    if (!window) window = m_window;
    // Each look first waits for the program to take a message, so it has finished what it was
    // doing (creating a page, painting a control) before the picture is taken.
    auto look = [&] {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result);
        return CaptureWindow(window);
    };
    PixelImage last = look();
    int same = 0;
    PumpUntil(
        [&] {
            PixelImage now = look();
            same = now.pixels == last.pixels && now.pixels != earlier.pixels ? same + 1 : 0;
            last = std::move(now);
            return same >= 3;
        },
        timeoutMs);
    return last;
}

std::string RunningProgram::Screenshot(const std::string& name) const {
    const std::string path = ArtefactPath(name + ".png");
    return WritePng(path, Capture()) ? path : std::string();
}

bool WaitForNoInstance(DWORD timeoutMs) {
    return PumpUntil(
        [] {
            CKernelHandle held(::OpenSemaphoreA(SYNCHRONIZE, FALSE, "Quenda Mixer"));
            return !held;
        },
        timeoutMs);
}

void PressKey(WORD key, std::initializer_list<WORD> modifiers) {
    std::vector<INPUT> inputs;
    for (WORD modifier : modifiers)
        inputs.push_back(KeyInput(modifier, false));
    inputs.push_back(KeyInput(key, false));
    inputs.push_back(KeyInput(key, true));
    for (auto it = modifiers.end(); it != modifiers.begin();)
        inputs.push_back(KeyInput(*--it, true));
    SendInputs(inputs);
}

void TypeText(const std::string& text) {
    TypeText(WidenAnsi(text));
}

void TypeText(const std::wstring& text) {
    std::vector<INPUT> inputs;
    for (wchar_t ch : text) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wScan = static_cast<WORD>(ch);
        input.ki.dwFlags = KEYEVENTF_UNICODE;
        inputs.push_back(input);
        input.ki.dwFlags |= KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInputs(inputs);
}

// The button events carry their point as a move as well. Without it they happen wherever the
// pointer is at that moment, and the display may still report an earlier position late (a
// window that just came up under the pointer is entered at the old place): the click would
// land there, on whatever the new window has at that spot.
void ClickAt(HWND window, POINT client) {
    MovePointer(window, client);
    std::vector<INPUT> inputs = {
        MouseInput(window, client, MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN),
        MouseInput(window, client, MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP)};
    SendInputs(inputs);
}

bool DragFromTo(HWND window, POINT from, POINT to, const std::function<bool()>& arrived) {
    MovePointer(window, from);
    std::vector<INPUT> inputs = {MouseInput(window, from, MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN)};
    // Intermediate moves, so the control sees a drag and not a jump.
    constexpr int kSteps = 4;
    for (int step = 1; step <= kSteps; ++step) {
        const POINT at = {from.x + (to.x - from.x) * step / kSteps,
                          from.y + (to.y - from.y) * step / kSteps};
        inputs.push_back(MouseInput(window, at, MOUSEEVENTF_MOVE));
    }
    SendInputs(inputs);
    // The display reports pointer moves back late, after later input: such a report could
    // take the drag back to an earlier point. The end is sent again until the window has been
    // there for a moment.
    bool there = true;
    if (arrived) {
        DWORD since = 0;
        there = PumpUntil(
            [&] {
                if (!arrived()) {
                    since = 0;
                    std::vector<INPUT> again = {MouseInput(window, to, MOUSEEVENTF_MOVE)};
                    SendInputs(again);
                    return false;
                }
                if (!since) since = ::GetTickCount();
                return ::GetTickCount() - since >= 200;
            },
            5000);
    }
    std::vector<INPUT> release = {MouseInput(window, to, MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP)};
    SendInputs(release);
    return there;
}

ProgramRun RunProgram(const std::string& arguments, DWORD timeoutMs) {
    return RunProgram(WidenAnsi(arguments), timeoutMs);
}

ProgramRun RunProgram(const std::wstring& arguments, DWORD timeoutMs) {
    ProgramRun run;
    RunningProgram program(arguments);
    if (!program.Started()) return run;
    run.started = true;
    HWND answered = nullptr;
    HWND window = nullptr;
    PumpUntil(
        [&] {
            if (program.HasEnded()) return true;
            HWND box = program.FindDialog();
            if (box && box != answered) {
                run.boxes.push_back(DialogText(box));
                answered = box;
                ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            }
            window = FindProcessWindow(program.Id(), true);
            return window != nullptr;
        },
        timeoutMs);
    if (window && !program.HasEnded()) {
        run.windowShown = program.WaitForWindow(timeoutMs) != nullptr;
        program.End();
    }
    run.ended = program.HasEnded();
    run.exitCode = program.ExitCode();
    return run;
}

ScopedRegistryValues::ScopedRegistryValues(HKEY root, const std::string& path,
                                           std::initializer_list<const char*> names)
    : m_root(root), m_path(path) {
    DWORD disposition = 0;
    ::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key,
                      &disposition);
    m_created = m_key && disposition == REG_CREATED_NEW_KEY;
    for (const char* name : names) {
        Saved saved;
        saved.name = name;
        DWORD size = 0;
        if (m_key && ::RegQueryValueExA(m_key, name, nullptr, &saved.type, nullptr, &size) ==
                         ERROR_SUCCESS) {
            saved.data.resize(size);
            saved.present = ::RegQueryValueExA(m_key, name, nullptr, &saved.type, saved.data.data(),
                                               &size) == ERROR_SUCCESS;
        }
        m_saved.push_back(saved);
    }
}

ScopedRegistryValues::~ScopedRegistryValues() {
    if (!m_key) return;
    for (const Saved& saved : m_saved) {
        if (saved.present)
            ::RegSetValueExA(m_key, saved.name.c_str(), 0, saved.type, saved.data.data(),
                             static_cast<DWORD>(saved.data.size()));
        else
            ::RegDeleteValueA(m_key, saved.name.c_str());
    }
    DWORD subKeys = 0, values = 0;
    const bool empty =
        ::RegQueryInfoKeyA(m_key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                           nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
        subKeys == 0 && values == 0;
    ::RegCloseKey(m_key);
    if (m_created && empty) ::RegDeleteKeyA(m_root, m_path.c_str());
}

void ScopedRegistryValues::SetDword(const char* name, DWORD value) {
    ::RegSetValueExA(m_key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                     sizeof(value));
}

void ScopedRegistryValues::SetString(const char* name, const std::string& value) {
    ::RegSetValueExA(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
}

void ScopedRegistryValues::SetBinary(const char* name, const std::vector<BYTE>& value) {
    ::RegSetValueExA(m_key, name, 0, REG_BINARY, value.data(), static_cast<DWORD>(value.size()));
}

void ScopedRegistryValues::Delete(const char* name) {
    ::RegDeleteValueA(m_key, name);
}

bool ScopedRegistryValues::QueryDword(const char* name, DWORD* value) const {
    DWORD type = 0, size = sizeof(*value);
    return m_key &&
           ::RegQueryValueExA(m_key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
               ERROR_SUCCESS &&
           type == REG_DWORD;
}

bool ScopedRegistryValues::QueryBytes(const char* name, std::vector<BYTE>* value) const {
    DWORD size = 0;
    if (!m_key ||
        ::RegQueryValueExA(m_key, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return false;
    value->resize(size);
    if (::RegQueryValueExA(m_key, name, nullptr, nullptr, value->data(), &size) != ERROR_SUCCESS)
        return false;
    value->resize(size);
    return true;
}

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : m_name(name) {
    char old[4096] = {};
    DWORD length = ::GetEnvironmentVariableA(name, old, sizeof(old));
    m_had = length > 0 && length < sizeof(old);
    if (m_had) m_old = old;
    ::SetEnvironmentVariableA(name, value);
}

ScopedEnvironment::~ScopedEnvironment() {
    ::SetEnvironmentVariableA(m_name.c_str(), m_had ? m_old.c_str() : nullptr);
}
