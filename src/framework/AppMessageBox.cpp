#include "AppMessageBox.h"

#include "WinApp.h"

#include <utility>

namespace {
MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}
} // namespace

int AppMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    if (Hook()) return Hook()(owner, text, caption, type);
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

int AppMessageBox(HWND owner, const std::string& text, UINT type) {
    const CWinApp* app = CWinApp::GetApp();
    return AppMessageBox(owner, text, app ? app->GetAppName() : std::string(), type);
}

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook) {
    MessageBoxHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}
