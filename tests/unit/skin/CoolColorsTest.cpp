#include "CoolColors.h"
#include "CoolBitmap.h"
#include "Wnd.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace {

// A scheme that counts its change notifications and has three style variants (0-2).
class CountingScheme : public CoolColors {
public:
    int changes = 0;
    void OnColorsChanged() override { ++changes; }
    int SetStyle(unsigned variant) override { return ChangeStyle(variant, 2); }
};

std::array<COLORREF, 12> Slots(const CoolColors& scheme) {
    std::array<COLORREF, 12> slots{};
    for (int i = 0; i < 12; ++i)
        slots[i] = scheme.GetColor(i);
    return slots;
}

TEST(CoolColors, ShadeScalesAndBleedsWhatPassesWhite) {
    // 384 in every channel: 387 over, a third of it added everywhere: white.
    EXPECT_EQ(CoolColors::Shade(0x808080, 3.0f), 0xFFFFFFu);
    // Red 434 spills 179 / 3 = 59 into green and blue.
    EXPECT_EQ(CoolColors::Shade(0x0000FF, 1.7f), 0x3B3BFFu);
    // Darkening is a plain scale, rounded half up: 3 × 0.5 = 1.5 → 2.
    EXPECT_EQ(CoolColors::Shade(RGB(3, 0x20, 0x31), 0.5f), RGB(2, 0x10, 0x19));
    // A surplus only in one channel leaves the channel order intact (blue stays blue).
    EXPECT_EQ(CoolColors::Shade(RGB(0, 0, 200), 1.5f), RGB(15, 15, 255));
}

TEST(CoolColors, ConstructionGivesTheBuiltInLook) {
    CoolColors scheme;
    EXPECT_EQ(scheme.GetRenderMode(), 9u);
    EXPECT_EQ(scheme.GetStyle(), 0u);
    EXPECT_EQ(scheme.GetAlpha(), 255);
    EXPECT_EQ(scheme.GetLightPoint().x, 0);
    EXPECT_EQ(scheme.GetLightPoint().y, 0);
    const CoolLayout& layout = scheme.GetLayout();
    EXPECT_EQ(static_cast<uint32_t>(layout.anchor), 0x80000033u);
    for (int32_t margin : {layout.leftMargin, layout.rightMargin, layout.topMargin,
                           layout.bottomMargin, layout.width, layout.height})
        EXPECT_EQ(margin, -1);

    EXPECT_EQ(scheme.GetColor(CoolColors::Background), 0x594437u);
    EXPECT_EQ(scheme.GetColor(CoolColors::Text), 0x6BB6FAu);
    EXPECT_EQ(scheme.GetColor(CoolColors::Lum), 0xB47800u);
    EXPECT_EQ(scheme.GetColor(CoolColors::SelLow), 0x0000FFu);
    EXPECT_EQ(scheme.GetColor(CoolColors::SelHigh), 0x00FF00u);
    // Each derived slot comes from its own source with its own factor.
    const COLORREF bg = 0x594437, lum = 0xB47800, text = 0x6BB6FA;
    EXPECT_EQ(scheme.GetColor(CoolColors::Light), CoolColors::Shade(bg, 1.7f));
    EXPECT_EQ(scheme.GetColor(CoolColors::Shadow), CoolColors::Shade(bg, 0.5f));
    EXPECT_EQ(scheme.GetColor(CoolColors::LumDark), CoolColors::Shade(lum, 0.5f));
    EXPECT_EQ(scheme.GetColor(CoolColors::LumLight), CoolColors::Shade(lum, 1.5f));
    EXPECT_EQ(scheme.GetColor(CoolColors::LumBright), CoolColors::Shade(lum, 3.0f));
    EXPECT_EQ(scheme.GetColor(CoolColors::TextHot), CoolColors::Shade(text, 2.0f));
    EXPECT_EQ(scheme.GetColor(CoolColors::TextDisabled), CoolColors::Shade(text, 0.5f));
}

TEST(CoolColors, SetColorDerivesOnlyWhileDeriveShadesIsOn) {
    CountingScheme scheme;
    const auto before = Slots(scheme);

    // Out of range: no colour changes, the notification still comes.
    scheme.SetColor(12, 0x123456);
    scheme.SetColor(-1, 0x123456);
    EXPECT_EQ(Slots(scheme), before);
    EXPECT_EQ(scheme.changes, 2);

    // A source slot with derive-shades on moves its own derived slots and no others.
    scheme.SetColor(CoolColors::Lum, RGB(40, 80, 120));
    auto after = Slots(scheme);
    EXPECT_EQ(after[CoolColors::LumDark], RGB(20, 40, 60));
    EXPECT_EQ(after[CoolColors::LumLight], RGB(60, 120, 180));
    EXPECT_EQ(after[CoolColors::LumBright], CoolColors::Shade(RGB(40, 80, 120), 3.0f));
    for (int slot : {0, 1, 2, 7, 8, 9, 10, 11})
        EXPECT_EQ(after[slot], before[slot]) << slot;

    // With derive-shades off, slot 0 alone changes.
    scheme.SetRenderMode(CoolColors::RenderGradients);
    const auto beforeOff = Slots(scheme);
    scheme.SetColor(CoolColors::Background, RGB(1, 2, 3));
    after = Slots(scheme);
    EXPECT_EQ(after[0], RGB(1, 2, 3));
    for (int slot = 1; slot < 12; ++slot)
        EXPECT_EQ(after[slot], beforeOff[slot]) << slot;

    // A derived slot set directly is stored as given.
    scheme.SetRenderMode(9);
    scheme.SetColor(CoolColors::Shadow, RGB(9, 9, 9));
    EXPECT_EQ(scheme.GetColor(CoolColors::Shadow), RGB(9, 9, 9));
}

TEST(CoolColors, RenderModeKeepsFiveBitsAndTheStyle) {
    CountingScheme scheme;
    EXPECT_EQ(scheme.SetStyle(2), 1);
    EXPECT_EQ(scheme.changes, 1);
    scheme.SetRenderMode(0x3F);
    unsigned mode = 0;
    scheme.GetRenderMode(&mode);
    EXPECT_EQ(mode, 0x1Fu);
    EXPECT_EQ(scheme.GetStyle(), 2u);
    EXPECT_EQ(scheme.changes, 2);
    scheme.SetRenderMode(0);
    EXPECT_EQ(scheme.GetRenderMode(), 0u);
    EXPECT_EQ(scheme.GetStyle(), 2u);

    // Style rule of the overriding classes.
    const int changes = scheme.changes;
    EXPECT_EQ(scheme.SetStyle(2), 1); // the current one: no change
    EXPECT_EQ(scheme.SetStyle(3), 0); // above the largest
    EXPECT_EQ(scheme.changes, changes);
    EXPECT_EQ(scheme.SetStyle(0), 1);
    EXPECT_EQ(scheme.GetStyle(), 0u);
    EXPECT_EQ(scheme.changes, changes + 1);
    EXPECT_EQ(scheme.GetRenderMode(), 0u);

    CoolColors plain;
    EXPECT_EQ(plain.SetStyle(1), 0);
    EXPECT_EQ(plain.GetStyle(), 0u);
}

TEST(CoolColors, SystemColorsLeaveTheLevelColoursAndTheModeAlone) {
    CountingScheme scheme;
    scheme.SetColor(CoolColors::SelHigh, RGB(1, 1, 1));
    scheme.SetColor(CoolColors::SelLow, RGB(2, 2, 2));
    scheme.changes = 0;
    scheme.SetSystemColors();
    const COLORREF caption = ::GetSysColor(COLOR_ACTIVECAPTION);
    EXPECT_EQ(scheme.GetColor(CoolColors::Background), ::GetSysColor(COLOR_BTNFACE));
    // Not derived from the face even though derive-shades is on.
    EXPECT_EQ(scheme.GetColor(CoolColors::Light), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(scheme.GetColor(CoolColors::Shadow), ::GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(scheme.GetColor(CoolColors::Text), ::GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(scheme.GetColor(CoolColors::TextDisabled), ::GetSysColor(COLOR_GRAYTEXT));
    EXPECT_EQ(scheme.GetColor(CoolColors::TextHot), ::GetSysColor(COLOR_HIGHLIGHTTEXT));
    EXPECT_EQ(scheme.GetColor(CoolColors::LumBright), CoolColors::Shade(caption, 6.0f));
    EXPECT_EQ(scheme.GetColor(CoolColors::LumLight), CoolColors::Shade(caption, 3.0f));
    EXPECT_EQ(scheme.GetColor(CoolColors::LumDark), CoolColors::Shade(caption, 0.75f));
    EXPECT_EQ(scheme.GetColor(CoolColors::Lum), CoolColors::Shade(caption, 1.5f));
    EXPECT_EQ(scheme.GetColor(CoolColors::SelHigh), RGB(1, 1, 1));
    EXPECT_EQ(scheme.GetColor(CoolColors::SelLow), RGB(2, 2, 2));
    EXPECT_EQ(scheme.GetRenderMode(), 9u);
    EXPECT_EQ(scheme.changes, 11); // ten colours and the final notification
}

// A skinned control: answers the scheme messages first, like every skinned class.
class SchemeWindow : public CWnd, public CountingScheme {
public:
    explicit SchemeWindow(Role role) : m_role(role) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        LRESULT result = 0;
        if (HandleSchemeMessage(message, wParam, lParam, &result, m_role)) return result;
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    Role m_role;
};

class SchemeMessages : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(parent.CreateEx(0, CWnd::DefaultClassName(), "parent", WS_OVERLAPPEDWINDOW,
                                    CRect(0, 0, 300, 200), nullptr, 0));
        ASSERT_TRUE(control.Create(CWnd::DefaultClassName(), "", WS_CHILD | WS_VISIBLE,
                                   CRect(10, 20, 50, 50), parent, 100));
    }
    void TearDown() override { parent.DestroyWindow(); }

    CWnd parent;
    SchemeWindow control{CoolColors::Role::Control};
};

TEST_F(SchemeMessages, ControlsAnswerTheWholeProtocol) {
    EXPECT_EQ(control.SendMessage(WM_COOL_SETCOLOR, CoolColors::Lum, RGB(40, 80, 120)), 1);
    COLORREF color = 0;
    EXPECT_EQ(control.SendMessage(WM_COOL_GETCOLOR, CoolColors::LumDark,
                                  reinterpret_cast<LPARAM>(&color)),
              1);
    EXPECT_EQ(color, RGB(20, 40, 60));
    // Slot out of range: answered, nothing written.
    color = 7;
    EXPECT_EQ(control.SendMessage(WM_COOL_GETCOLOR, 12, reinterpret_cast<LPARAM>(&color)), 1);
    EXPECT_EQ(color, 7u);

    POINT light = {13, -4};
    EXPECT_EQ(control.SendMessage(WM_COOL_SETLIGHTPOINT, 0, reinterpret_cast<LPARAM>(&light)), 1);
    EXPECT_EQ(control.GetLightPoint().x, 13);
    EXPECT_EQ(control.GetLightPoint().y, -4);
    // A missing point changes nothing.
    EXPECT_EQ(control.SendMessage(WM_COOL_SETLIGHTPOINT, 0, 0), 0);
    EXPECT_EQ(control.GetLightPoint().x, 13);

    EXPECT_EQ(control.SendMessage(WM_COOL_SETRENDERMODE, 0, 0x3F), 1);
    unsigned mode = 0;
    EXPECT_EQ(control.SendMessage(WM_COOL_GETRENDERMODE, 0, reinterpret_cast<LPARAM>(&mode)), 1);
    EXPECT_EQ(mode, 0x1Fu);
    EXPECT_EQ(control.changes, 3);

    // The base scheme has no background and no screen rectangle to give.
    CCoolBitmap dummy;
    CCoolBitmap* background = &dummy;
    EXPECT_EQ(control.SendMessage(WM_COOL_GETBKBITMAP, 0, reinterpret_cast<LPARAM>(&background)),
              0);
    EXPECT_EQ(background, nullptr);
    RECT screen = {};
    EXPECT_EQ(control.SendMessage(WM_COOL_GETSCREENRECT, 0, reinterpret_cast<LPARAM>(&screen)), 0);

    CoolLayout layout;
    std::memset(&layout, 0x5A, sizeof(layout));
    EXPECT_EQ(control.SendMessage(WM_COOL_GETLAYOUT, 0, reinterpret_cast<LPARAM>(&layout)), 1);
    EXPECT_EQ(std::memcmp(&layout, &control.GetLayout(), sizeof(layout)), 0);
    EXPECT_EQ(control.SendMessage(WM_COOL_GETLAYOUT, 0, 0), 0);
}

TEST_F(SchemeMessages, WindowsGiveNoLayoutAndUnskinnedWindowsAnswerNothing) {
    SchemeWindow window{CoolColors::Role::Window};
    ASSERT_TRUE(
        window.Create(CWnd::DefaultClassName(), "", WS_CHILD, CRect(0, 0, 10, 10), parent, 101));
    CoolLayout layout = {};
    EXPECT_EQ(window.SendMessage(WM_COOL_GETLAYOUT, 0, reinterpret_cast<LPARAM>(&layout)), 0);
    EXPECT_EQ(window.SendMessage(WM_COOL_SETCOLOR, 0, RGB(1, 2, 3)), 1);
    EXPECT_EQ(window.GetColor(CoolColors::Background), RGB(1, 2, 3));

    COLORREF color = 0;
    EXPECT_EQ(parent.SendMessage(WM_COOL_GETCOLOR, 0, reinterpret_cast<LPARAM>(&color)), 0);
    EXPECT_EQ(parent.SendMessage(WM_COOL_GETLAYOUT, 0, reinterpret_cast<LPARAM>(&layout)), 0);
}

TEST_F(SchemeMessages, SomeControlsLeaveBackgroundOrLayoutToDefaultHandling) {
    // Buttons and sliders: no background questions, but a layout block.
    SchemeWindow noBackground{CoolColors::Role::ControlWithoutBackground};
    ASSERT_TRUE(noBackground.Create(CWnd::DefaultClassName(), "", WS_CHILD, CRect(0, 0, 10, 10),
                                    parent, 102));
    CCoolBitmap dummy;
    CCoolBitmap* background = &dummy;
    EXPECT_EQ(
        noBackground.SendMessage(WM_COOL_GETBKBITMAP, 0, reinterpret_cast<LPARAM>(&background)), 0);
    EXPECT_EQ(background, &dummy); // not answered: the caller's pointer is left alone
    RECT screen = {1, 2, 3, 4};
    EXPECT_EQ(noBackground.SendMessage(WM_COOL_GETSCREENRECT, 0, reinterpret_cast<LPARAM>(&screen)),
              0);
    EXPECT_EQ(screen.left, 1);
    CoolLayout layout = {};
    EXPECT_EQ(noBackground.SendMessage(WM_COOL_GETLAYOUT, 0, reinterpret_cast<LPARAM>(&layout)), 1);
    EXPECT_LT(layout.anchor, 0);

    // The status bar: background questions answered, no layout block.
    SchemeWindow noLayout{CoolColors::Role::ControlWithoutLayout};
    ASSERT_TRUE(
        noLayout.Create(CWnd::DefaultClassName(), "", WS_CHILD, CRect(0, 0, 10, 10), parent, 103));
    EXPECT_EQ(noLayout.SendMessage(WM_COOL_GETBKBITMAP, 0, reinterpret_cast<LPARAM>(&background)),
              0);
    EXPECT_EQ(background, nullptr);
    EXPECT_EQ(noLayout.SendMessage(WM_COOL_GETLAYOUT, 0, reinterpret_cast<LPARAM>(&layout)), 0);
    EXPECT_EQ(noLayout.SendMessage(WM_COOL_SETRENDERMODE, 0, 3), 1);
    EXPECT_EQ(noLayout.GetRenderMode(), 3u);
}

TEST_F(SchemeMessages, LayoutIsCapturedOnceInParentCoordinates) {
    const CRect client = parent.GetClientRect();
    ASSERT_TRUE(control.CaptureLayout(control));
    const CoolLayout first = control.GetLayout();
    EXPECT_EQ(first.anchor, 0x33);
    EXPECT_EQ(first.leftMargin, 10);
    EXPECT_EQ(first.topMargin, 20);
    EXPECT_EQ(first.rightMargin, client.Width() - 50);
    EXPECT_EQ(first.bottomMargin, client.Height() - 50);
    EXPECT_EQ(first.width, 40);
    EXPECT_EQ(first.height, 30);

    // Later paints keep the first capture.
    control.MoveWindow(CRect(0, 0, 5, 5), false);
    EXPECT_FALSE(control.CaptureLayout(control));
    EXPECT_EQ(std::memcmp(&first, &control.GetLayout(), sizeof(first)), 0);

    // No window, no capture: the block stays uncaptured.
    CoolColors other;
    EXPECT_FALSE(other.CaptureLayout(nullptr));
    EXPECT_LT(other.GetLayout().anchor, 0);
}

} // namespace
