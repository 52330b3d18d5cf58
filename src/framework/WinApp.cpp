#include "WinApp.h"

#include "MessageOrigin.h"
#include "PropertySheet.h"
#include "WideText.h"
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

CWinApp* CWinApp::GetApp() {
    return g_app;
}

HINSTANCE GetResourceInstance() {
    if (g_app && g_app->m_hInstance) return g_app->m_hInstance;
    return ::GetModuleHandleA(nullptr);
}

int CWinApp::RunApplication(HINSTANCE instance, const char* commandLine, int showCommand) {
    return RunApplication(instance, WidenAnsi(commandLine ? commandLine : "").c_str(), showCommand);
}

int CWinApp::RunApplication(HINSTANCE instance, const wchar_t* commandLine, int showCommand) {
    m_hInstance = instance ? instance : ::GetModuleHandleA(nullptr);
    m_commandLine = commandLine ? commandLine : L"";
    m_lpCmdLine = NarrowToAnsi(m_commandLine);
    m_nCmdShow = showCommand;
    INITCOMMONCONTROLSEX icc = {};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_WIN95_CLASSES | ICC_USEREX_CLASSES;
    ::InitCommonControlsEx(&icc);
    // From here on a message posted to a window of the program is known as posted.
    CMessageOrigin queueWatch;
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
    struct Running {
        bool& flag;
        explicit Running(bool& f) : flag(f) { flag = true; }
        ~Running() { flag = false; }
    } running(m_running);
    MSG msg;
    for (;;) {
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) return static_cast<int>(msg.wParam);
        if (got == -1) return 1;
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        CPropertySheet::DestroyClosedSheets();
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
