#include "Wnd.h"

#include "FastPath.h"
#include "WinApp.h"

#include <unordered_map>
#include <vector>

namespace {
// Handle -> object for every window bound to an object. The program has one UI thread.
std::unordered_map<HWND, CWnd*>& HandleMap() {
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

// The procedure each window subclassed by the framework had before, for as long as the
// framework's procedure is in the window's chain. Kept here, not on the window: a window
// property costs a trip to the server on every message under Wine, and the system's subclass
// helper reads one twice per message. The framework's procedure takes the window's character
// set, so that every procedure of the chain sees the messages as before.
struct PreviousProcedure {
    WNDPROC procedure;
    bool unicode;
};

std::unordered_map<HWND, PreviousProcedure>& PreviousProcedures() {
    static std::unordered_map<HWND, PreviousProcedure> map;
    return map;
}

LRESULT CallPreviousProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto it = PreviousProcedures().find(window);
    if (it == PreviousProcedures().end() || !it->second.procedure)
        return ::IsWindowUnicode(window) ? ::DefWindowProcW(window, message, wParam, lParam)
                                         : ::DefWindowProcA(window, message, wParam, lParam);
    return it->second.unicode
               ? ::CallWindowProcW(it->second.procedure, window, message, wParam, lParam)
               : ::CallWindowProcA(it->second.procedure, window, message, wParam, lParam);
}

LONG_PTR OwnProcedure() {
    return reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc);
}

// The application's main window is gone: the application forgets it and, while its message
// loop runs, the loop ends.
void ForgetMainWindow(CWnd* wnd) {
    CWinApp* app = CWinApp::GetApp();
    if (!app || app->m_pMainWnd != wnd) return;
    app->m_pMainWnd = nullptr;
    if (app->IsRunning()) ::PostQuitMessage(0);
}
} // namespace

CWnd::~CWnd() {
    if (m_hWnd) {
        HWND window = m_hWnd;
        const bool owns = m_ownsWindow;
        UnbindHandle(); // the window's last messages go to its own procedure
        if (owns) ::DestroyWindow(window);
    }
    ForgetMainWindow(this);
}

CWnd* CWnd::FromHandle(HWND window) {
    if (!window) return nullptr;
    auto it = HandleMap().find(window);
    return it == HandleMap().end() ? nullptr : it->second;
}

bool CWnd::RegisterWindowClass(const char* className, UINT style, HBRUSH background, HICON icon) {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExA(instance, className, &existing)) return true;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = &CWnd::StdWndProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = className;
    return ::RegisterClassExA(&wc) != 0;
}

const char* CWnd::DefaultClassName() {
    static const char* name = "QuendaWnd";
    static bool registered =
        RegisterWindowClass(name, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    (void)registered;
    return name;
}

bool CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    const RECT& rect, HWND parent, UINT_PTR idOrMenu) {
    if (m_hWnd) return false;
    if (!className) className = DefaultClassName();
    HWND window =
        ::CreateWindowExA(exStyle, className, windowName ? windowName : "", style, rect.left,
                          rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                          reinterpret_cast<HMENU>(idOrMenu), ::GetModuleHandleA(nullptr), this);
    if (!window) {
        if (m_hWnd) UnbindHandle();
        return false;
    }
    if (m_hWnd == window) return true;
    // A class whose procedure is not ours (a system control): take its messages by subclassing,
    // and own the window all the same.
    if (!m_hWnd && BindBySubclass(window, true)) return true;
    ::DestroyWindow(window);
    return false;
}

bool CWnd::SubclassWindow(HWND window) {
    return BindBySubclass(window, false);
}

bool CWnd::BindBySubclass(HWND window, bool ownsWindow) {
    if (m_hWnd || !window || !::IsWindow(window) || FromHandle(window)) return false;
    // A window of another process cannot be subclassed; one subclassed before and left in the
    // chain (another subclass came on top) keeps its place.
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != ::GetCurrentProcessId()) return false;
    if (PreviousProcedures().find(window) == PreviousProcedures().end()) {
        const bool unicode = ::IsWindowUnicode(window) != FALSE;
        ::SetLastError(ERROR_SUCCESS);
        const LONG_PTR previous =
            unicode ? ::SetWindowLongPtrW(window, GWLP_WNDPROC, OwnProcedure())
                    : ::SetWindowLongPtrA(window, GWLP_WNDPROC, OwnProcedure());
        if (!previous && ::GetLastError() != ERROR_SUCCESS) return false;
        PreviousProcedures()[window] = {reinterpret_cast<WNDPROC>(previous), unicode};
    }
    BindHandle(window, Route::Subclass, ownsWindow);
    return true;
}

void CWnd::RemoveSubclass(HWND window) {
    auto it = PreviousProcedures().find(window);
    if (it == PreviousProcedures().end()) return;
    if (!::IsWindow(window)) {
        PreviousProcedures().erase(it);
        return;
    }
    // Only while the framework's procedure is the window's: with another subclass on top, ours
    // stays in the chain and passes every message on.
    const PreviousProcedure& previous = it->second;
    const auto procedure = reinterpret_cast<LONG_PTR>(previous.procedure);
    if (previous.unicode) {
        if (::GetWindowLongPtrW(window, GWLP_WNDPROC) != OwnProcedure()) return;
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, procedure);
    } else {
        if (::GetWindowLongPtrA(window, GWLP_WNDPROC) != OwnProcedure()) return;
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, procedure);
    }
    PreviousProcedures().erase(it);
}

HWND CWnd::UnsubclassWindow() {
    if (m_route != Route::Subclass) return nullptr;
    HWND window = m_hWnd;
    UnbindHandle();
    return window;
}

bool CWnd::Attach(HWND window) {
    if (m_hWnd || !window || FromHandle(window)) return false;
    BindHandle(window, Route::None, false);
    return true;
}

HWND CWnd::Detach() {
    if (!m_hWnd || m_route != Route::None) return nullptr;
    HWND window = m_hWnd;
    UnbindHandle();
    return window;
}

bool CWnd::DestroyWindow() {
    if (!m_hWnd) return false;
    return ::DestroyWindow(m_hWnd) != FALSE;
}

void CWnd::BindHandle(HWND window, Route route, bool ownsWindow) {
    m_hWnd = window;
    m_route = route;
    m_ownsWindow = ownsWindow;
    HandleMap()[window] = this;
    if (route == Route::WindowData)
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void CWnd::UnbindHandle() {
    if (!m_hWnd) return;
    if (m_route == Route::WindowData && ::IsWindow(m_hWnd) &&
        ::GetWindowLongPtrA(m_hWnd, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this))
        ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 0);
    // Also for a window already gone: its entry must not outlive it.
    if (m_route == Route::Subclass) RemoveSubclass(m_hWnd);
    auto it = HandleMap().find(m_hWnd);
    if (it != HandleMap().end() && it->second == this) HandleMap().erase(it);
    m_hWnd = nullptr;
    m_route = Route::None;
    m_ownsWindow = false;
}

void CWnd::OnWindowGone() {
    UnbindHandle();
    ForgetMainWindow(this);
    PostNcDestroy(); // may delete the object
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (FastPathProbeEnds(FastPathStop::WindowProcBase, m_hWnd, message, wParam, lParam)) return 0;
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_route == Route::Subclass) return CallPreviousProcedure(m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) {
    return false;
}

bool CWnd::PreTranslateMessage(MSG*) {
    return false;
}

bool CWnd::Reflect(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    HWND child = nullptr;
    switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        child = reinterpret_cast<HWND>(lParam);
        break;
    case WM_NOTIFY:
        if (lParam) child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
        break;
    case WM_DRAWITEM:
        if (lParam && reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->CtlType != ODT_MENU)
            child = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_MEASUREITEM:
        // Carries no window handle: the control is found by its identifier.
        if (lParam && reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam)->CtlType != ODT_MENU)
            child = ::GetDlgItem(
                window,
                static_cast<int>(reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam)->CtlID));
        break;
    case WM_COMPAREITEM:
        if (lParam) child = reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_DELETEITEM:
        if (lParam) child = reinterpret_cast<const DELETEITEMSTRUCT*>(lParam)->hwndItem;
        break;
    default:
        return false;
    }
    // Only a real child of the receiving window gets its notification back: a property sheet
    // notifies its pages as their parent, and other windows may send anything.
    if (!child || child == window || ::GetAncestor(child, GA_PARENT) != window) return false;
    CWnd* target = FromHandle(child);
    if (!target || target->m_route == Route::None) return false;
    return target->OnChildNotify(message, wParam, lParam, result);
}

LRESULT CWnd::Dispatch(CWnd* wnd, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        LRESULT result = 0;
        if (Reflect(window, message, wParam, lParam, &result)) return result;
        if (FastPathProbeEnds(FastPathStop::Entry, window, message, wParam, lParam)) return 0;
        return wnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind into user32; the message gets default treatment instead.
        try {
            if (wnd->m_hWnd == window) return wnd->DefWindowProc(message, wParam, lParam);
        } catch (...) {
        }
        return 0;
    }
}

LRESULT CALLBACK CWnd::StdWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = reinterpret_cast<CWnd*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!wnd && message == WM_NCCREATE) {
        auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        wnd = cs ? static_cast<CWnd*>(cs->lpCreateParams) : nullptr;
        if (wnd && !wnd->m_hWnd)
            wnd->BindHandle(window, Route::WindowData, true);
        else
            wnd = nullptr;
    }
    if (!wnd) return ::DefWindowProcA(window, message, wParam, lParam);
    LRESULT result = Dispatch(wnd, window, message, wParam, lParam);
    if (message == WM_NCDESTROY && wnd->m_hWnd == window) wnd->OnWindowGone();
    return result;
}

LRESULT CALLBACK CWnd::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = FromHandle(window);
    LRESULT result = 0;
    if (!wnd || wnd->m_route != Route::Subclass) {
        result = CallPreviousProcedure(window, message, wParam, lParam);
    } else {
        result = Dispatch(wnd, window, message, wParam, lParam);
        if (message == WM_NCDESTROY && wnd->m_hWnd == window) wnd->OnWindowGone();
    }
    // The handle may be given to a new window: nothing of this one is kept.
    if (message == WM_NCDESTROY) PreviousProcedures().erase(window);
    return result;
}

std::string CWnd::GetWindowText() const {
    int length = ::GetWindowTextLengthA(m_hWnd);
    if (length <= 0) return std::string();
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    int got = ::GetWindowTextA(m_hWnd, buffer.data(), length + 1);
    return std::string(buffer.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

CRect CWnd::GetClientRect() const {
    CRect r;
    ::GetClientRect(m_hWnd, &r);
    return r;
}

CRect CWnd::GetWindowRect() const {
    CRect r;
    ::GetWindowRect(m_hWnd, &r);
    return r;
}
