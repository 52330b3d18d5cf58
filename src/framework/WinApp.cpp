#include "WinApp.h"

#include "Wnd.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp() {
    if (!g_app) g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

CWinApp* CWinApp::GetApp() { return g_app; }

int CWinApp::RunApplication(HINSTANCE instance, const char* commandLine, int showCommand) {
    m_hInstance = instance ? instance : ::GetModuleHandleA(nullptr);
    m_lpCmdLine = commandLine ? commandLine : "";
    m_nCmdShow = showCommand;
    try {
        if (InitInstance()) m_exitCode = Run();
    } catch (...) {
        m_exitCode = 1;
    }
    try {
        return ExitInstance();
    } catch (...) {
        return 1;
    }
}

int CWinApp::Run() {
    MSG msg;
    for (;;) {
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return 1;
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

BOOL CWinApp::PreTranslateMessage(MSG* msg) {
    for (HWND window = msg->hwnd; window; window = ::GetParent(window)) {
        CWnd* wnd = CWnd::FromHandle(window);
        if (wnd && wnd->PreTranslateMessage(msg)) return TRUE;
        if (m_pMainWnd && window == m_pMainWnd->m_hWnd) break;
    }
    return FALSE;
}
