// Every message box of the program goes through AppMessageBox, so tests can capture
// what would have been shown instead of blocking on a modal box.
#pragma once

#include "Platform.h"

#include <functional>
#include <string>

using MessageBoxHook =
    std::function<int(HWND owner, const std::string& text, const std::string& caption, UINT type)>;

int AppMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);
// The same with the application's name (CWinApp::GetAppName) as the caption; no caption
// without an application object.
int AppMessageBox(HWND owner, const std::string& text, UINT type);

// Installs a hook that answers instead of the real box; returns the previous one.
// An empty hook restores the real box.
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);
