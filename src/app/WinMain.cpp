// Program entry point.
#include "Platform.h"
#include "WinApp.h"
#include "Wnd.h"

#include "../res/resource.h"

#include <memory>
#include <string>

namespace {
// Until the control panel's own window exists, the program shows a plain window of its name.
class CPlainWnd : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_DESTROY) {
            ::PostQuitMessage(0);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class CPlainApp : public CWinApp {
public:
    BOOL InitInstance() override {
        char name[128] = {};
        ::LoadStringA(m_hInstance, IDS_APP_NAME, name, sizeof(name));
        HICON icon = ::LoadIconA(m_hInstance, MAKEINTRESOURCEA(IDR_MAINFRAME));
        const char* cls = "QuendaPlainWnd";
        CWnd::RegisterWindowClass(cls, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), icon);
        m_window = std::make_unique<CPlainWnd>();
        if (!m_window->CreateEx(0, cls, name, WS_OVERLAPPEDWINDOW, CRect(100, 100, 500, 400),
                                nullptr, 0))
            return FALSE;
        m_pMainWnd = m_window.get();
        m_window->ShowWindow(m_nCmdShow);
        m_window->UpdateWindow();
        return TRUE;
    }

private:
    std::unique_ptr<CPlainWnd> m_window;
};

CPlainApp theApp;
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    return theApp.RunApplication(instance, commandLine, showCommand);
}
