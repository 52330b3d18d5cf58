#include "NotifyIcon.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {
NotifyIconHook& Hook() {
    static NotifyIconHook hook;
    return hook;
}

constexpr UINT_PTR kWatchId = 0x51E;
} // namespace

BOOL AppNotifyIcon(DWORD message, NOTIFYICONDATAA* data) {
    if (Hook()) return Hook()(message, data);
    return ::Shell_NotifyIconA(message, data);
}

NotifyIconHook SetNotifyIconHook(NotifyIconHook hook) {
    NotifyIconHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}

UINT CNotifyIcon::TaskbarCreatedMessage() {
    static const UINT message = ::RegisterWindowMessageA("TaskbarCreated");
    return message;
}

CNotifyIcon::CNotifyIcon() {
    std::memset(&m_data, 0, sizeof(m_data));
    // The version-2 layout of this architecture: understood by every shell since 2000.
    m_data.cbSize = NOTIFYICONDATAA_V2_SIZE;
}

CNotifyIcon::~CNotifyIcon() {
    Remove();
}

void CNotifyIcon::SetTip(const std::string& tip) {
    const size_t length = std::min(tip.size(), sizeof(m_data.szTip) - 1);
    std::memcpy(m_data.szTip, tip.data(), length);
    m_data.szTip[length] = '\0';
}

bool CNotifyIcon::Add(HWND window, UINT id, UINT callbackMessage, HICON icon,
                      const std::string& tip) {
    if (!window || !::IsWindow(window)) return false;
    if (m_shown) Remove();
    m_data.hWnd = window;
    m_data.uID = id;
    m_data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_data.uCallbackMessage = callbackMessage;
    m_data.hIcon = icon;
    SetTip(tip);
    if (!AppNotifyIcon(NIM_ADD, &m_data)) return false;
    m_shown = true;
    Watch(window);
    return true;
}

bool CNotifyIcon::Remove() {
    Unwatch();
    if (!m_shown) return false;
    m_shown = false;
    AppNotifyIcon(NIM_DELETE, &m_data);
    return true;
}

bool CNotifyIcon::Modify(HICON icon, const std::string& tip) {
    if (!m_shown) return false;
    m_data.hIcon = icon;
    SetTip(tip);
    return AppNotifyIcon(NIM_MODIFY, &m_data) != FALSE;
}

bool CNotifyIcon::Watch(HWND window) {
    if (m_watched == window) return true;
    Unwatch();
    if (!::SetWindowSubclass(window, &CNotifyIcon::WatchProc, kWatchId,
                             reinterpret_cast<DWORD_PTR>(this)))
        return false;
    m_watched = window;
    return true;
}

void CNotifyIcon::Unwatch() {
    if (m_watched && ::IsWindow(m_watched))
        ::RemoveWindowSubclass(m_watched, &CNotifyIcon::WatchProc, kWatchId);
    m_watched = nullptr;
}

LRESULT CALLBACK CNotifyIcon::WatchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR reference) {
    auto* icon = reinterpret_cast<CNotifyIcon*>(reference);
    try {
        if (message == TaskbarCreatedMessage() && icon->m_shown) {
            // The shell forgot every icon: add ours again.
            AppNotifyIcon(NIM_ADD, &icon->m_data);
        } else if (message == WM_DESTROY) {
            // The icon must not outlive its window.
            icon->Remove();
        }
    } catch (...) {
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}
