#include "AppMessageBox.h"
#include "Platform.h"
#include "Pump.h"
#include "WinApp.h"
#include "Wnd.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

constexpr UINT WM_EAT_ME = WM_APP + 7;
constexpr UINT WM_REACHED = WM_APP + 8;

class CFilterWnd : public CWnd {
public:
    int eaten = 0;
    int reached = 0;
    bool PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_EAT_ME) {
            ++eaten;
            return true;
        }
        return false;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_EAT_ME || message == WM_REACHED) {
            ++reached;
            if (message == WM_REACHED) ::PostQuitMessage(5);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class CTestApp : public CWinApp {
public:
    CFilterWnd* window = nullptr;
    bool failInit = false;
    bool throwInRun = false;
    int exits = 0;
    BOOL InitInstance() override {
        if (failInit) return FALSE;
        m_pMainWnd = window;
        // Queue the work the loop must do: one message the window filters out, one that
        // reaches it and ends the loop.
        window->PostMessage(WM_EAT_ME);
        window->PostMessage(WM_REACHED);
        return TRUE;
    }
    int Run() override {
        if (throwInRun) throw std::runtime_error("loop failed");
        return CWinApp::Run();
    }
    int ExitInstance() override {
        ++exits;
        return CWinApp::ExitInstance();
    }
};

TEST(WinApp, LoopPreTranslatesDispatchesAndEndsWithExitInstance) {
    CFilterWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "app", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    CTestApp app;
    EXPECT_EQ(CWinApp::GetApp(), &app);
    app.window = &wnd;
    EXPECT_EQ(app.RunApplication(nullptr, "file.vqs", SW_SHOW), 5);
    EXPECT_EQ(wnd.eaten, 1);
    EXPECT_EQ(wnd.reached, 1); // the pre-translated message never reached the window
    EXPECT_EQ(app.exits, 1);
    EXPECT_EQ(app.m_lpCmdLine, "file.vqs");
}

TEST(WinApp, FailedInitSkipsTheLoopButStillEnds) {
    CTestApp app;
    app.failInit = true;
    EXPECT_EQ(app.RunApplication(nullptr, "", SW_SHOW), 0);
    EXPECT_EQ(app.exits, 1);
}

TEST(WinApp, ExceptionFromTheLoopEndsTheProgramCleanly) {
    CFilterWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "app", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    CTestApp app;
    app.window = &wnd;
    app.throwInRun = true;
    EXPECT_EQ(app.RunApplication(nullptr, "", SW_SHOW), 1);
    EXPECT_EQ(app.exits, 1);
    PumpPending();
}

// Destroys its main window from inside the loop.
class CClosingApp : public CWinApp {
public:
    CFilterWnd* window = nullptr;
    BOOL InitInstance() override {
        m_pMainWnd = window;
        ::PostMessageA(window->m_hWnd, WM_CLOSE, 0, 0);
        return TRUE;
    }
};

TEST(WinApp, DestroyingTheMainWindowEndsTheLoop) {
    CFilterWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "main", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    CClosingApp app;
    app.window = &wnd;
    EXPECT_EQ(app.RunApplication(nullptr, "", SW_SHOW), 0);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    // Outside the loop a main window may go without leaving a quit message behind.
    CFilterWnd later;
    ASSERT_TRUE(later.CreateEx(0, nullptr, "later", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    app.m_pMainWnd = &later;
    later.DestroyWindow();
    MSG msg;
    EXPECT_FALSE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST(MessageBox, HookCapturesInsteadOfBlocking) {
    std::string text, caption;
    UINT type = 0;
    auto previous =
        SetMessageBoxHook([&](HWND, const std::string& t, const std::string& c, UINT f) {
            text = t;
            caption = c;
            type = f;
            return IDRETRY;
        });
    EXPECT_EQ(AppMessageBox(nullptr, "Mixer not found", "Quenda Mixer", MB_ICONSTOP | MB_OK),
              IDRETRY);
    EXPECT_EQ(text, "Mixer not found");
    EXPECT_EQ(caption, "Quenda Mixer");
    EXPECT_EQ(type, static_cast<UINT>(MB_ICONSTOP | MB_OK));

    // Without a caption of its own, a box takes the application's name.
    struct CNamedApp : CWinApp {
        CNamedApp() { m_appName = "Named"; }
    } app;
    AppMessageBox(nullptr, "Mixer not found", MB_OK);
    EXPECT_EQ(caption, "Named");
    SetMessageBoxHook(previous);
}

} // namespace
