// An icon in the notification area for one window. The icon subclasses its window to watch
// for the "TaskbarCreated" broadcast, so a restarted shell gets the icon back, and removes it
// when the window is destroyed. Shell_NotifyIconA is reached through one seam that tests can
// answer.
#pragma once

#include "Platform.h"

#include <shellapi.h>

#include <functional>
#include <string>

class CNotifyIcon {
public:
    CNotifyIcon();
    ~CNotifyIcon();
    CNotifyIcon(const CNotifyIcon&) = delete;
    CNotifyIcon& operator=(const CNotifyIcon&) = delete;

    // Shows the icon: its events arrive at window as callbackMessage (wParam the id, lParam
    // the mouse message). The tip is cut to what the record holds.
    bool Add(HWND window, UINT id, UINT callbackMessage, HICON icon, const std::string& tip);
    // Takes the icon away; true when it was shown.
    bool Remove();
    bool IsShown() const { return m_shown; }
    // Changes the icon or the tip of a shown icon.
    bool Modify(HICON icon, const std::string& tip);
    const NOTIFYICONDATAA& Record() const { return m_data; }

    // The message the shell broadcasts to top-level windows when the taskbar was (re)created.
    static UINT TaskbarCreatedMessage();

private:
    void SetTip(const std::string& tip);
    bool Watch(HWND window);
    void Unwatch();
    static LRESULT CALLBACK WatchProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    NOTIFYICONDATAA m_data;
    bool m_shown = false;
    HWND m_watched = nullptr;
};

using NotifyIconHook = std::function<BOOL(DWORD message, NOTIFYICONDATAA* data)>;
// Every Shell_NotifyIconA call of the program.
BOOL AppNotifyIcon(DWORD message, NOTIFYICONDATAA* data);
// Installs a hook that answers instead of the shell; returns the previous one.
NotifyIconHook SetNotifyIconHook(NotifyIconHook hook);
