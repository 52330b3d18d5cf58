#include "CoolScheme.h"
#include "StatusBarCtrl.h"

#include "SheetHost.h"
#include "SheetTestIds.h"

#include <gtest/gtest.h>

namespace {

// A borderless modeless skinned dialog whose client area is exactly the given size.
struct TestDialog {
    CDialogTemplate layout{"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 100, 50)};
    CCoolDialog dialog{layout.Get()};
    bool Open(int width, int height) {
        if (!dialog.CreateIndirect(layout.Get())) return false;
        ::SetWindowPos(dialog.m_hWnd, HWND_TOPMOST, 60, 60, width, height, SWP_SHOWWINDOW);
        return true;
    }
};

// A child that gives out the layout block it is given.
class CLayoutChild : public CWnd {
public:
    CoolLayout layout = {};
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_COOL_GETLAYOUT) return CWnd::WindowProc(message, wParam, lParam);
        *reinterpret_cast<CoolLayout*>(lParam) = layout;
        return 1;
    }
};

TEST(CoolDialog, ChildLightPointLiesTowardsTheParentsLightByItsShare) {
    TestDialog t;
    ASSERT_TRUE(t.Open(400, 200));
    CCoolButton child;
    ASSERT_TRUE(child.Create("", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(200, 100, 300, 140),
                             t.dialog.m_hWnd, 100));
    // Centre (250, 120), 100 x 40 in 400 x 200.
    POINT light = {100, 50};
    EXPECT_EQ(t.dialog.SendMessage(WM_COOL_SETLIGHTPOINT, 0, reinterpret_cast<LPARAM>(&light)), 1);
    // x = 250 - 150 * 100 / 400 - 200 = 13; y = 120 - 100 - 40 * 70 / 200 = 6
    EXPECT_EQ(child.GetLightPoint().x, 13);
    EXPECT_EQ(child.GetLightPoint().y, 6);
    // Negative quotients truncate towards zero: -14900 / 400 = -37, -3160 / 200 = -15.
    light = {399, 199};
    t.dialog.SendMessage(WM_COOL_SETLIGHTPOINT, 0, reinterpret_cast<LPARAM>(&light));
    EXPECT_EQ(child.GetLightPoint().x, 87);
    EXPECT_EQ(child.GetLightPoint().y, 35);
    // Without a point nothing changes, and the answer says so.
    EXPECT_EQ(t.dialog.SendMessage(WM_COOL_SETLIGHTPOINT, 0, 0), 0);
    EXPECT_EQ(child.GetLightPoint().x, 87);
}

TEST(CoolDialog, LayoutFormulasForEveryAnchorCombination) {
    // Client 400 x 300; margins left 20, right 60, top 10, bottom 30; size 100 x 50.
    struct Case {
        int32_t anchor;
        LONG x1, x2, y1, y2;
    };
    const Case cases[] = {
        {0x01 | 0x02 | 0x20 | 0x10, 20, 120, 10, 60},    // left, top, fixed
        {0x01 | 0x02, 20, 257, 10, 191},                 // left, top, proportional
        {0x04 | 0x08 | 0x20 | 0x10, 240, 340, 220, 270}, // right, bottom, fixed
        {0x04 | 0x08, 57, 340, 45, 270},                 // right, bottom, proportional
        {0x01 | 0x04 | 0x02 | 0x08, 20, 340, 10, 270},   // both edges
        {0x20 | 0x10, 75, 175, 62, 112},                 // neither, fixed
        {0, 44, 267, 33, 200},                           // neither, proportional
    };
    for (const Case& c : cases) {
        const CoolLayout layout = {c.anchor, 20, 60, 10, 30, 100, 50};
        const RECT r = CoolLayoutRect(layout, 400, 300);
        EXPECT_EQ(r.left, c.x1) << c.anchor;
        EXPECT_EQ(r.right, c.x2) << c.anchor;
        EXPECT_EQ(r.top, c.y1) << c.anchor;
        EXPECT_EQ(r.bottom, c.y2) << c.anchor;
    }
    // Centred between zero margins: no division by zero, the child keeps its size.
    const RECT centred = CoolLayoutRect(CoolLayout{0x30, 0, 0, 0, 0, 100, 50}, 100, 50);
    EXPECT_EQ(centred.right - centred.left, 100);
    EXPECT_EQ(centred.bottom - centred.top, 50);
}

TEST(CoolDialog, ResizingPlacesAnchoredChildrenAndKeepsTheLight) {
    TestDialog t;
    ASSERT_TRUE(t.Open(400, 300));
    POINT light = {120, 80};
    t.dialog.SendMessage(WM_COOL_SETLIGHTPOINT, 0, reinterpret_cast<LPARAM>(&light));
    CLayoutChild anchored;
    anchored.layout = {0x04 | 0x08 | 0x20 | 0x10, 240, 60, 220, 30, 100, 50};
    ASSERT_TRUE(anchored.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(240, 220, 340, 270),
                                t.dialog.m_hWnd, 101));
    CCoolButton button; // captures its place at its first paint: left, top, fixed size
    ASSERT_TRUE(button.Create("Fixed", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                              CRect(20, 10, 120, 40), t.dialog.m_hWnd, 102));
    button.UpdateWindow();
    t.dialog.UpdateWindow();
    const COLORREF atLight = CaptureClient(t.dialog.m_hWnd).At(light.x, light.y);

    ::SetWindowPos(t.dialog.m_hWnd, nullptr, 0, 0, 500, 360, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(anchored.GetWindowRect().left - t.dialog.GetWindowRect().left, 340);
    EXPECT_EQ(anchored.GetWindowRect().top - t.dialog.GetWindowRect().top, 280);
    EXPECT_EQ(button.GetWindowRect().left - t.dialog.GetWindowRect().left, 20);
    EXPECT_EQ(button.GetWindowRect().Width(), 100);
    t.dialog.UpdateWindow();
    const PixelImage larger = CaptureClient(t.dialog.m_hWnd);
    EXPECT_EQ(larger.width, 500);
    EXPECT_EQ(larger.At(light.x, light.y), atLight);

    // Smaller: the whole background is painted anew, not only what was uncovered.
    ::SetWindowPos(t.dialog.m_hWnd, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    t.dialog.UpdateWindow();
    const PixelImage smaller = CaptureClient(t.dialog.m_hWnd);
    EXPECT_EQ(smaller.At(light.x, light.y), atLight);
    EXPECT_NE(smaller.At(299, 100), larger.At(299, 100));
}

TEST(CoolDialog, StatusPromptsGoToTheStatusBarAtAnyDepth) {
    TestDialog t;
    ASSERT_TRUE(t.Open(300, 120));
    CWnd panel;
    ASSERT_TRUE(panel.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 60, 300, 120),
                             t.dialog.m_hWnd, 200));
    CStatusBarCtrl bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 20), panel.m_hWnd));
    EXPECT_EQ(t.dialog.GetMessageBar(), bar.m_hWnd);

    EXPECT_EQ(t.dialog.SendMessage(0x362, IDS_TEST_PROMPT), 0);
    EXPECT_EQ(bar.GetText(0), "Sets the volume of every speaker");
    EXPECT_EQ(t.dialog.SendMessage(0x362, 0), IDS_TEST_PROMPT);
    EXPECT_EQ(bar.GetText(0), "");
    t.dialog.SendMessage(0x362, 5, reinterpret_cast<LPARAM>("Given text"));
    EXPECT_EQ(bar.GetText(0), "Given text");
}

} // namespace
