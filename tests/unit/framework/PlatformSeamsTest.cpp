#include "CommonDialogs.h"
#include "NotifyIcon.h"
#include "Platform.h"
#include "Pump.h"
#include "WaitCursor.h"
#include "Wnd.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(PlatformSeams, FileAndColourDialogsAnswerFromTheirHooks) {
    std::vector<bool> opens;
    auto previous = SetFileDialogHook([&](bool open, FileDialogRequest& request) {
        opens.push_back(open);
        if (!open) return false;
        request.fileName = L"C:\\presets\\loud.vqs";
        return true;
    });
    FileDialogRequest request;
    request.defaultExt = "vqs";
    request.filter = "Quenda Mixer Settings(*.vqs)|*.vqs||";
    EXPECT_TRUE(AppFileDialog(true, request));
    EXPECT_EQ(request.fileName, L"C:\\presets\\loud.vqs");
    EXPECT_FALSE(AppFileDialog(false, request));
    EXPECT_EQ(opens, (std::vector<bool>{true, false}));
    SetFileDialogHook(previous);

    auto previousColour = SetChooseColorHook([](CHOOSECOLORA& choose) {
        choose.rgbResult = RGB(1, 2, 3) ^ choose.rgbResult;
        return true;
    });
    CHOOSECOLORA choose = {};
    choose.lStructSize = sizeof(choose);
    EXPECT_TRUE(AppChooseColor(choose));
    EXPECT_EQ(choose.rgbResult, RGB(1, 2, 3));
    SetChooseColorHook(previousColour);
}

// Waits in the dialog's own loop for this thread's visible dialog, then hands it to act.
void (*g_whenDialog)(HWND) = nullptr;

BOOL CALLBACK FindVisibleDialog(HWND window, LPARAM out) {
    char name[16] = {};
    ::GetClassNameA(window, name, sizeof(name));
    if (lstrcmpA(name, "#32770") || !::IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(out) = window;
    return FALSE;
}

void CALLBACK LookForDialog(HWND, UINT, UINT_PTR id, DWORD) {
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindVisibleDialog,
                        reinterpret_cast<LPARAM>(&found));
    if (!found) return;
    ::KillTimer(nullptr, id);
    g_whenDialog(found);
}

void WhenDialogAppears(void (*act)(HWND)) {
    g_whenDialog = act;
    ::SetTimer(nullptr, 0, 30, &LookForDialog);
}

// The dialog hands back a name outside the ANSI code page as it is.
TEST(PlatformSeams, RealFileDialogReturnsTheTypedName) {
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    FileDialogRequest request;
    request.defaultExt = "vqs";
    request.filter = "Settings(*.vqs)|*.vqs||";
    request.fileName = std::wstring(folder) + L"quenda-seam-test \u4e2d\u266b";
    request.flags = OFN_HIDEREADONLY;
    WhenDialogAppears([](HWND dialog) { ::PostMessageA(dialog, WM_COMMAND, IDOK, 0); });
    ASSERT_TRUE(AppFileDialog(false, request));
    EXPECT_EQ(request.fileName, std::wstring(folder) + L"quenda-seam-test \u4e2d\u266b.vqs");
}

TEST(PlatformSeams, NotifyIconComesBackWhenTheTaskbarRestartsAndGoesWithItsWindow) {
    std::vector<DWORD> calls;
    std::vector<DWORD> sizes;
    auto previous = SetNotifyIconHook([&](DWORD message, NOTIFYICONDATAA* data) {
        calls.push_back(message);
        sizes.push_back(data->cbSize);
        return TRUE;
    });
    CWnd host;
    ASSERT_TRUE(
        host.CreateEx(0, nullptr, "Quenda Mixer", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    {
        CNotifyIcon icon;
        ASSERT_TRUE(icon.Add(host.m_hWnd, 1, 0x514, ::LoadIconA(nullptr, MAKEINTRESOURCEA(32512)),
                             std::string(200, 't')));
        EXPECT_EQ(icon.Record().uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
        EXPECT_EQ(std::string(icon.Record().szTip).size(), sizeof(icon.Record().szTip) - 1);
        ::SendMessageA(host.m_hWnd, CNotifyIcon::TaskbarCreatedMessage(), 0, 0);
        EXPECT_EQ(calls, (std::vector<DWORD>{NIM_ADD, NIM_ADD}));
        EXPECT_TRUE(icon.Remove());
        ::SendMessageA(host.m_hWnd, CNotifyIcon::TaskbarCreatedMessage(), 0, 0);
        EXPECT_EQ(calls, (std::vector<DWORD>{NIM_ADD, NIM_ADD, NIM_DELETE}));

        ASSERT_TRUE(icon.Add(host.m_hWnd, 1, 0x514, nullptr, "tip"));
        host.DestroyWindow();
        EXPECT_FALSE(icon.IsShown());
    }
    EXPECT_EQ(calls, (std::vector<DWORD>{NIM_ADD, NIM_ADD, NIM_DELETE, NIM_ADD, NIM_DELETE}));
    for (DWORD size : sizes)
        EXPECT_EQ(size, static_cast<DWORD>(NOTIFYICONDATAA_V2_SIZE));
    SetNotifyIconHook(previous);
}

TEST(PlatformSeams, WaitCursorPutsThePreviousCursorBack) {
    HCURSOR arrow = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    ::SetCursor(arrow);
    {
        CWaitCursor wait;
        EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));
    }
    EXPECT_EQ(::GetCursor(), arrow);
}

} // namespace
