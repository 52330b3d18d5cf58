#include "CoolTabCtrl.h"
#include "Png.h"

#include "SheetHost.h"
#include "SheetTestIds.h"
#include "StatusBarCtrl.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <utility>

namespace {

using Items = std::vector<CTestCoolPage::Item>;

std::unique_ptr<CTestCoolPage> Page(const char* title, Items items = {}) {
    return std::make_unique<CTestCoolPage>(title, std::move(items));
}

// The pixels of a bitmap.
PixelImage BitmapPixels(CCoolBitmap& bitmap) {
    CMemoryDC dc(nullptr);
    bitmap.RestoreHandle();
    CScopedSelection selection(dc, bitmap.GetSafeHandle());
    return ReadPixels(dc, bitmap.Width(), bitmap.Height());
}

// Pixels of image that differ from the background at offset.
int Mismatches(const PixelImage& image, const PixelImage& background, POINT offset) {
    int count = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.At(x, y) != background.At(x + offset.x, y + offset.y)) ++count;
    return count;
}

// Clicks the left mouse button at a screen point and waits until the click was taken from
// the queue.
int g_buttonUps = 0;
LRESULT CALLBACK CountUps(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == WM_LBUTTONUP) ++g_buttonUps;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
bool Click(POINT screen) {
    HHOOK hook = ::SetWindowsHookExA(WH_MOUSE, &CountUps, nullptr, ::GetCurrentThreadId());
    const int before = g_buttonUps;
    ::SetCursorPos(screen.x, screen.y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, input, sizeof(INPUT));
    const bool seen = PumpUntil([&] { return g_buttonUps > before; });
    PumpPending();
    ::UnhookWindowsHookEx(hook);
    return seen;
}

TEST(CoolSheet, PageAndFlatButtonShowTheSheetBackgroundBehindThem) {
    TestSheet t;
    t.Add(Page("Flat", {{"", BS_PUSHBUTTON | BS_FLAT, {20, 20, 80, 40}}}));
    t.Add(Page("Other"));
    ASSERT_TRUE(t.Open());
    CTestCoolPage& page = *t.pages[0];
    ASSERT_TRUE(page.m_hWnd);
    ASSERT_EQ(page.buttons.size(), 1u);

    CCoolBitmap* background = nullptr;
    ASSERT_EQ(t.sheet.GetBackgroundBitmap(&background), 1);
    ASSERT_NE(background, nullptr);
    const PixelImage sheetPixels = BitmapPixels(*background);
    // A gradient, not a flat colour, so the comparison below says something.
    EXPECT_NE(sheetPixels.At(90, 60), sheetPixels.At(300, 200));

    const PixelImage pagePixels = CaptureClient(page.m_hWnd);
    EXPECT_EQ(Mismatches(pagePixels, sheetPixels, OffsetIn(t.sheet.m_hWnd, page.m_hWnd)), 0);
    HWND button = page.buttons[0]->m_hWnd;
    const PixelImage buttonPixels = CaptureClient(button);
    EXPECT_GT(buttonPixels.width, 0);
    EXPECT_EQ(Mismatches(buttonPixels, sheetPixels, OffsetIn(t.sheet.m_hWnd, button)), 0);

    // Moved as when the tabs take a second row, the button shows what now lies behind it.
    RECT place = {};
    ::GetWindowRect(page.m_hWnd, &place);
    ::MapWindowPoints(nullptr, t.sheet.m_hWnd, reinterpret_cast<POINT*>(&place), 2);
    ::SetWindowPos(page.m_hWnd, nullptr, place.left, place.top + 18, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER);
    t.Repaint();
    EXPECT_EQ(Mismatches(CaptureClient(button), sheetPixels, OffsetIn(t.sheet.m_hWnd, button)), 0);
}

TEST(CoolSheet, SchemeReachesEveryPageAndTheSkinnedStandardButtons) {
    TestSheet t;
    t.Add(Page("First", {{"Loud", BS_AUTOCHECKBOX, {10, 10, 90, 22}}}));
    t.Add(Page("Second", {{"Soft", BS_AUTOCHECKBOX, {10, 10, 90, 22}}}));
    ASSERT_TRUE(t.Open());

    // The standard buttons are skinned ones in the old buttons' places and states.
    for (int id : {IDOK, IDCANCEL, 0x3021}) {
        HWND item = ::GetDlgItem(t.sheet.m_hWnd, id);
        ASSERT_NE(item, nullptr) << id;
        EXPECT_NE(dynamic_cast<CCoolButton*>(CWnd::FromHandle(item)), nullptr) << id;
    }
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(t.sheet.m_hWnd, 0x3021))); // nothing to apply
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(t.sheet.m_hWnd, IDOK)));
    // The sheet keeps Help hidden without help; the skinned one stays hidden.
    HWND help = ::GetDlgItem(t.sheet.m_hWnd, 9);
    ASSERT_NE(help, nullptr);
    EXPECT_NE(dynamic_cast<CCoolButton*>(CWnd::FromHandle(help)), nullptr);
    EXPECT_FALSE(::IsWindowVisible(help));
    EXPECT_EQ(t.sheet.GetCoolTabCtrl().m_hWnd, t.sheet.GetTabControl());

    const COLORREF colour = 0x123456;
    EXPECT_EQ(t.sheet.SendMessage(WM_COOL_SETCOLOR, CoolColors::Lum, colour), 1);
    EXPECT_EQ(t.pages[0]->buttons[0]->GetColor(CoolColors::Lum), colour);
    EXPECT_EQ(t.pages[1]->GetColor(CoolColors::Lum), colour); // no window yet
    EXPECT_EQ(t.sheet.GetCoolTabCtrl().GetColor(CoolColors::Lum), colour);
    auto* ok = dynamic_cast<CCoolButton*>(CWnd::FromHandle(::GetDlgItem(t.sheet.m_hWnd, IDOK)));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->GetColor(CoolColors::Lum), colour);

    // Status prompts go to a status bar among the sheet's children.
    CStatusBarCtrl bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 20), t.sheet.m_hWnd));
    t.sheet.SendMessage(0x362, IDS_TEST_PROMPT);
    EXPECT_EQ(bar.GetText(0), "Sets the volume of every speaker");
    EXPECT_EQ(t.sheet.SendMessage(0x362, 0), IDS_TEST_PROMPT);
    EXPECT_EQ(bar.GetText(0), "");

    // A page made later takes the sheet's scheme at its initialisation.
    ASSERT_TRUE(t.sheet.SetActivePage(1));
    ASSERT_EQ(t.pages[1]->buttons.size(), 1u);
    EXPECT_EQ(t.pages[1]->buttons[0]->GetColor(CoolColors::Lum), colour);
    EXPECT_EQ(t.pages[1]->buttons[0]->GetColor(CoolColors::Background), 0x504141u);
}

TEST(CoolSheet, WizardKeepsItsTabControlAndSkinsItsOwnButtons) {
    TestSheet t;
    t.sheet.SetSheetFlags(PSH_WIZARD);
    t.Add(Page("First"));
    t.Add(Page("Second"));
    ASSERT_TRUE(t.Open());
    for (int id : {0x3023, 0x3024, 0x3025, IDCANCEL}) {
        HWND item = ::GetDlgItem(t.sheet.m_hWnd, id);
        ASSERT_NE(item, nullptr) << id;
        EXPECT_NE(dynamic_cast<CCoolButton*>(CWnd::FromHandle(item)), nullptr) << id;
    }
    EXPECT_EQ(t.sheet.GetCoolTabCtrl().m_hWnd, nullptr);
}

TEST(CoolSheet, ClicksOnADisabledTabOrAwayFromARefusingPageKeepTheCurrentPage) {
    TestSheet t;
    t.Add(Page("First"));
    t.Add(Page("Second"));
    ASSERT_TRUE(t.Open());
    ::SetForegroundWindow(t.sheet.m_hWnd);
    CCoolTabCtrl& tab = t.sheet.GetCoolTabCtrl();
    RECT second = {};
    ASSERT_TRUE(tab.GetItemRect(1, &second));
    POINT centre = {(second.left + second.right) / 2, (second.top + second.bottom) / 2};
    ::ClientToScreen(tab.m_hWnd, &centre);

    // A disabled tab shows no text: its face inside the frames is one colour.
    auto faceColours = [&] {
        tab.Invalidate();
        tab.UpdateWindow();
        const PixelImage face = CaptureClient(tab.m_hWnd);
        std::set<COLORREF> colours;
        for (LONG y = second.top + 3; y < second.bottom - 3; ++y)
            for (LONG x = second.left + 3; x < second.right - 3; ++x)
                colours.insert(face.At(x, y));
        return colours.size();
    };
    EXPECT_GT(faceColours(), 1u);
    tab.DisableTab(1);
    EXPECT_EQ(faceColours(), 1u);
    ASSERT_TRUE(Click(centre));
    EXPECT_EQ(t.sheet.GetActiveIndex(), 0);
    EXPECT_EQ(t.sheet.GetActivePage(), t.pages[0].get());

    tab.DisableTab(1, false);
    t.pages[0]->refuseLeave = true;
    ASSERT_TRUE(Click(centre));
    EXPECT_EQ(t.sheet.GetActiveIndex(), 0);
    EXPECT_EQ(t.sheet.GetActivePage(), t.pages[0].get());

    t.pages[0]->refuseLeave = false;
    ASSERT_TRUE(Click(centre));
    EXPECT_TRUE(PumpUntil([&] { return t.sheet.GetActivePage() == t.pages[1].get(); }));
}

TEST(CoolSheet, NotificationIconHidesOnCloseAndComesBackOnDoubleClick) {
    std::vector<std::pair<DWORD, NOTIFYICONDATAA>> calls;
    NotifyIconHook previous = SetNotifyIconHook([&](DWORD message, NOTIFYICONDATAA* data) {
        calls.emplace_back(message, *data);
        return TRUE;
    });
    {
        TestSheet t;
        const std::string caption(80, 'Q');
        t.sheet.Construct(caption);
        t.Add(Page("First"));
        t.sheet.SetTrayIcon(::LoadIconA(nullptr, MAKEINTRESOURCEA(32512)), 300);
        ASSERT_TRUE(t.Open());
        ASSERT_FALSE(calls.empty());
        const NOTIFYICONDATAA& added = calls.back().second;
        EXPECT_EQ(calls.back().first, static_cast<DWORD>(NIM_ADD));
        EXPECT_EQ(added.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V2_SIZE));
        EXPECT_EQ(added.hWnd, t.sheet.m_hWnd);
        EXPECT_EQ(added.uID, 1u);
        EXPECT_EQ(added.uFlags, 7u);
        EXPECT_EQ(added.uCallbackMessage, 0x514u);
        EXPECT_EQ(std::string(added.szTip), caption.substr(0, 63));

        t.sheet.SendMessage(WM_SYSCOMMAND, SC_CLOSE | 2);
        ASSERT_TRUE(::IsWindow(t.sheet.m_hWnd));
        EXPECT_FALSE(t.sheet.IsWindowVisible());

        t.sheet.SendMessage(0x514, 2, WM_LBUTTONDBLCLK); // another icon: nothing
        EXPECT_FALSE(t.sheet.IsWindowVisible());
        t.sheet.SendMessage(0x514, 1, WM_LBUTTONDBLCLK);
        EXPECT_TRUE(t.sheet.IsWindowVisible());
        EXPECT_FALSE(::GetWindowLongPtrA(t.sheet.m_hWnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
        PumpPending();

        t.sheet.SendMessage(0x514, 1, WM_RBUTTONUP);
        EXPECT_EQ(t.sheet.trackedAt.size(), 1u);

        calls.clear();
        t.sheet.DestroyWindow();
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.front().first, static_cast<DWORD>(NIM_DELETE));
        EXPECT_FALSE(t.sheet.HasTrayIcon());
    }
    SetNotifyIconHook(std::move(previous));
}

TEST(CoolSheet, ScreenshotOfTwoSkinnedPagesInTheDefaultColours) {
    TestSheet t;
    t.Add(Page("Controls", {{"Push", BS_PUSHBUTTON, {8, 8, 68, 22}},
                            {"Default", BS_DEFPUSHBUTTON, {76, 8, 136, 22}},
                            {"Loudness", BS_AUTOCHECKBOX, {8, 30, 90, 42}},
                            {"Bass boost", BS_AUTOCHECKBOX, {96, 30, 180, 42}},
                            {"Speakers", BS_GROUPBOX, {8, 48, 120, 100}},
                            {"Two", BS_AUTORADIOBUTTON, {16, 60, 110, 72}},
                            {"Six", BS_AUTORADIOBUTTON, {16, 78, 110, 90}}}));
    t.Add(Page("Other", {{"Flat", BS_PUSHBUTTON | BS_FLAT, {8, 8, 68, 22}}}));
    ASSERT_TRUE(t.Open());
    CTestCoolPage& page = *t.pages[0];
    ASSERT_EQ(page.buttons.size(), 7u);
    page.buttons[2]->SetCheck(BST_CHECKED);
    page.buttons[6]->SetCheck(BST_CHECKED);
    t.Repaint();

    RECT window = t.sheet.GetWindowRect();
    CWindowDC screen(nullptr);
    CMemoryDC memory(screen);
    CBitmap shot;
    shot.CreateDIBSection32(screen, window.right - window.left, window.bottom - window.top);
    CScopedSelection selection(memory, shot);
    memory.BitBlt(0, 0, window.right - window.left, window.bottom - window.top, screen, window.left,
                  window.top);
    const PixelImage image =
        ReadPixels(memory, window.right - window.left, window.bottom - window.top);
    EXPECT_TRUE(WritePng(ArtefactPath("skin-sheet.png"), image));
}

} // namespace
