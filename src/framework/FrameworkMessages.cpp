#include "FrameworkMessages.h"

#include "WinApp.h"
#include "Wnd.h"

HWND GetMainWindow() {
    CWinApp* app = CWinApp::GetApp();
    if (!app || !app->m_pMainWnd) return nullptr;
    HWND window = app->m_pMainWnd->GetSafeHwnd();
    return window && ::IsWindow(window) ? window : nullptr;
}

void SendStatusPrompt(UINT id) {
    if (HWND main = GetMainWindow()) ::SendMessageA(main, WM_SETMESSAGESTRING, id, 0);
}
