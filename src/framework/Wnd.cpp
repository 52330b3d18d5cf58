#include "Wnd.h"

#include <unordered_map>
#include <vector>

namespace {
// Handle -> object for every window bound to an object. The program has one UI thread.
std::unordered_map<HWND, CWnd*>& HandleMap() {
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}
} // namespace

CWnd::~CWnd() {
    if (!m_hWnd) return;
    switch (m_binding) {
    case Binding::Created: {
        HWND window = m_hWnd;
        UnbindHandle(); // the window's last messages go to the default procedure
        ::DestroyWindow(window);
        break;
    }
    case Binding::Subclassed:
        UnsubclassWindow();
        break;
    default:
        Detach();
        break;
    }
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
    HWND window = ::CreateWindowExA(exStyle, className, windowName ? windowName : "", style,
                                    rect.left, rect.top, rect.right - rect.left,
                                    rect.bottom - rect.top, parent,
                                    reinterpret_cast<HMENU>(idOrMenu), ::GetModuleHandleA(nullptr),
                                    this);
    if (!window) {
        if (m_hWnd) UnbindHandle();
        return false;
    }
    if (m_hWnd == window) return true;
    // A class whose procedure is not ours (a system control): take its messages by subclassing.
    if (!m_hWnd && SubclassWindow(window)) return true;
    ::DestroyWindow(window);
    return false;
}

bool CWnd::SubclassWindow(HWND window) {
    if (m_hWnd || !window || !::IsWindow(window) || FromHandle(window)) return false;
    if (!::SetWindowSubclass(window, &CWnd::SubclassProc, kSubclassId,
                             reinterpret_cast<DWORD_PTR>(this)))
        return false;
    BindHandle(window, Binding::Subclassed);
    return true;
}

HWND CWnd::UnsubclassWindow() {
    if (m_binding != Binding::Subclassed) return nullptr;
    HWND window = m_hWnd;
    ::RemoveWindowSubclass(window, &CWnd::SubclassProc, kSubclassId);
    UnbindHandle();
    return window;
}

bool CWnd::Attach(HWND window) {
    if (m_hWnd || !window || FromHandle(window)) return false;
    BindHandle(window, Binding::Attached);
    return true;
}

HWND CWnd::Detach() {
    if (m_binding != Binding::Attached) return nullptr;
    HWND window = m_hWnd;
    UnbindHandle();
    return window;
}

bool CWnd::DestroyWindow() {
    if (!m_hWnd) return false;
    return ::DestroyWindow(m_hWnd) != FALSE;
}

void CWnd::BindHandle(HWND window, Binding binding) {
    m_hWnd = window;
    m_binding = binding;
    HandleMap()[window] = this;
    if (binding == Binding::Created)
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void CWnd::UnbindHandle() {
    if (!m_hWnd) return;
    if (m_binding == Binding::Created && ::IsWindow(m_hWnd) &&
        ::GetWindowLongPtrA(m_hWnd, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this))
        ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 0);
    auto it = HandleMap().find(m_hWnd);
    if (it != HandleMap().end() && it->second == this) HandleMap().erase(it);
    m_hWnd = nullptr;
    m_binding = Binding::None;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_binding == Binding::Subclassed)
        return ::DefSubclassProc(m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

bool CWnd::PreTranslateMessage(MSG*) { return false; }

bool CWnd::Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
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
    default:
        return false;
    }
    CWnd* target = FromHandle(child);
    if (!target || target->m_binding == Binding::Attached) return false;
    return target->OnChildNotify(message, wParam, lParam, result);
}

LRESULT CWnd::Dispatch(CWnd* wnd, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        LRESULT result = 0;
        if (Reflect(message, wParam, lParam, &result)) return result;
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
        if (wnd && !wnd->m_hWnd) wnd->BindHandle(window, Binding::Created);
        else wnd = nullptr;
    }
    if (!wnd) return ::DefWindowProcA(window, message, wParam, lParam);
    LRESULT result = Dispatch(wnd, window, message, wParam, lParam);
    if (message == WM_NCDESTROY && wnd->m_hWnd == window) {
        wnd->UnbindHandle();
        wnd->PostNcDestroy(); // may delete the object
    }
    return result;
}

LRESULT CALLBACK CWnd::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR reference) {
    CWnd* wnd = reinterpret_cast<CWnd*>(reference);
    if (!wnd || wnd->m_hWnd != window) return ::DefSubclassProc(window, message, wParam, lParam);
    LRESULT result = Dispatch(wnd, window, message, wParam, lParam);
    if (message == WM_NCDESTROY && wnd->m_hWnd == window) {
        ::RemoveWindowSubclass(window, &CWnd::SubclassProc, kSubclassId);
        wnd->UnbindHandle();
        wnd->PostNcDestroy();
    }
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
