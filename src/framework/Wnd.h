// A window object. Two settings describe how it is bound to its window:
//  - the route, where the object pointer lives and so how messages reach the object:
//    GWLP_USERDATA for windows of a class we registered (the pointer travels in
//    lpCreateParams), the framework's lookup table for every other window (system controls,
//    dialogs and pages bound at WM_INITDIALOG, the property sheet), whose procedure the
//    framework replaces (subclassing), or none for a window only attached;
//  - the ownership, whether destroying the object destroys the window: windows the object
//    created are owned; windows it subclassed or attached are borrowed.
// Create/CreateEx own; SubclassWindow/SubclassDlgItem and Attach borrow.
// The pointer is cleared when the window reaches WM_NCDESTROY or the object is destroyed,
// whichever comes first, so a late message never reaches a dead object.
#pragma once

#include "Platform.h"
#include "Rect.h"

#include <string>

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The object bound to a window (created, subclassed or attached), or null.
    static CWnd* FromHandle(HWND window);

    // Where the object pointer lives.
    enum class Route { None, WindowData, Subclass };
    Route GetRoute() const { return m_route; }
    // True when destroying the object destroys the window.
    bool OwnsWindow() const { return m_ownsWindow; }

    // Registers (once) the framework's general window class and returns its name.
    static const char* DefaultClassName();
    // Registers a window class whose procedure is the framework's entry point.
    static bool RegisterWindowClass(const char* className, UINT style = CS_DBLCLKS,
                                    HBRUSH background = nullptr, HICON icon = nullptr);

    bool CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                  const RECT& rect, HWND parent, UINT_PTR idOrMenu);
    bool Create(const char* className, const char* windowName, DWORD style, const RECT& rect,
                HWND parent, UINT id) {
        return CreateEx(0, className, windowName, style, rect, parent, id);
    }
    bool SubclassWindow(HWND window);
    bool SubclassDlgItem(UINT id, HWND parent) {
        return SubclassWindow(::GetDlgItem(parent, static_cast<int>(id)));
    }
    HWND UnsubclassWindow();
    bool Attach(HWND window);
    HWND Detach();
    bool DestroyWindow();

    // Message handling: override with a short switch that calls named handlers.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // A notification the parent reflected to this control; return true when handled. The
    // parent reflects WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*, WM_HSCROLL/WM_VSCROLL, WM_DRAWITEM,
    // WM_MEASUREITEM (found by control identifier), WM_COMPAREITEM and WM_DELETEITEM, and only
    // those its own direct children sent.
    virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Called by the message loop before dispatch; return true when the message was used.
    virtual bool PreTranslateMessage(MSG* msg);
    // Called after the window is gone (WM_NCDESTROY handled and the pointer cleared).
    virtual void PostNcDestroy() {}

    // Thin helpers.
    LRESULT SendMessage(UINT m, WPARAM w = 0, LPARAM l = 0) const {
        return ::SendMessageA(m_hWnd, m, w, l);
    }
    bool PostMessage(UINT m, WPARAM w = 0, LPARAM l = 0) const {
        return ::PostMessageA(m_hWnd, m, w, l) != FALSE;
    }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse) { return ::SetTimer(m_hWnd, id, elapse, nullptr); }
    bool KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id) != FALSE; }
    void SetWindowText(const std::string& text) { ::SetWindowTextA(m_hWnd, text.c_str()); }
    std::string GetWindowText() const;
    CRect GetClientRect() const;
    CRect GetWindowRect() const;
    bool ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd) != FALSE; }
    bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
    bool EnableWindow(bool enable = true) { return ::EnableWindow(m_hWnd, enable) != FALSE; }
    bool IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd) != FALSE; }
    void Invalidate(bool erase = true) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    bool MoveWindow(const RECT& r, bool repaint = true) {
        return ::MoveWindow(m_hWnd, r.left, r.top, r.right - r.left, r.bottom - r.top, repaint) !=
               FALSE;
    }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }

    // The framework's entry points; public so that derived frameworks (dialogs) can reuse them.
    static LRESULT CALLBACK StdWndProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM);

protected:
    // Routes one message: reflection to the child first, then WindowProc; nothing thrown
    // escapes. Used by every entry point.
    static LRESULT Dispatch(CWnd* wnd, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Takes a window's messages by subclassing it, owned or borrowed.
    bool BindBySubclass(HWND window, bool ownsWindow);
    // Binds this object to a window whose messages already come to the framework.
    void BindHandle(HWND window, Route route, bool ownsWindow);
    // Forgets the window: subclass, lookup entry, pointer on the window, m_hWnd.
    void UnbindHandle();
    // The window reached WM_NCDESTROY: forget it and tell the derived class.
    void OnWindowGone();

private:
    static bool Reflect(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Puts back the procedure the window had before BindBySubclass, when ours is still its own.
    static void RemoveSubclass(HWND window);

    Route m_route = Route::None;
    bool m_ownsWindow = false;
};
