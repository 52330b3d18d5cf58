#include "CommonDialogs.h"
#include "CoolColorButton.h"

#include "ButtonHost.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

TEST(CoolColorButton, SwatchSitsBesideTheCaptionAndKeepsItsColour) {
    CButtonHost host;
    ASSERT_TRUE(host.Open(CRect(300, 200, 500, 300)));
    CCoolColorButton right, left;
    ASSERT_TRUE(
        right.Create("", kChild | BS_PUSHBUTTON | BS_RIGHT, CRect(10, 10, 90, 34), host.m_hWnd, 1));
    ASSERT_TRUE(
        left.Create("", kChild | BS_PUSHBUTTON | BS_LEFT, CRect(10, 40, 90, 64), host.m_hWnd, 2));
    EXPECT_EQ(right.GetSwatchColor(), right.GetColor(CoolColors::Background));
    const COLORREF swatch = RGB(200, 30, 40);
    for (CCoolColorButton* b : {&right, &left}) {
        b->SetRenderMode(CoolColors::RenderDeriveShades);
        b->SetSwatchColor(swatch);
    }
    // Right-aligned style: a 24 × 24 square at the left edge, shrunk by 3.
    PixelImage image = Shot(right);
    EXPECT_EQ(image.At(12, 12), swatch);
    EXPECT_EQ(image.At(3, 12), right.GetColor(CoolColors::Shadow));
    EXPECT_EQ(image.At(20, 12), right.GetColor(CoolColors::Light));
    EXPECT_EQ(image.At(50, 12), right.GetColor(CoolColors::Background));
    EXPECT_EQ(image.At(1, 12), right.GetColor(CoolColors::Light)); // up frame at inset 1

    right.SetState(true);
    image = Shot(right);
    EXPECT_EQ(image.At(12, 12), swatch);
    EXPECT_EQ(image.At(0, 12), right.GetColor(CoolColors::Shadow));

    // Left-aligned style: the square is at the right edge.
    image = Shot(left);
    EXPECT_EQ(image.At(68, 12), swatch);
    EXPECT_EQ(image.At(12, 12), left.GetColor(CoolColors::Background));
}

// What the colour chooser was shown, and how it answers.
struct ChooserRecord {
    int calls = 0;
    CHOOSECOLORA shown = {};
    std::vector<COLORREF> custom;
    BOOL answer = TRUE;
    COLORREF picked = RGB(1, 2, 3);
} g_chooser;

BOOL FakeChooser(CHOOSECOLORA* cc) {
    ++g_chooser.calls;
    g_chooser.shown = *cc;
    g_chooser.custom.assign(cc->lpCustColors, cc->lpCustColors + 16);
    if (g_chooser.answer) cc->rgbResult = g_chooser.picked;
    return g_chooser.answer;
}

TEST(CoolColorButton, PickColorOffersTheParentsSchemeAndSystemColours) {
    ChooseColorHook previous =
        SetChooseColorHook([](CHOOSECOLORA& choose) { return FakeChooser(&choose) != FALSE; });
    CButtonHost host;
    ASSERT_TRUE(host.Open(CRect(300, 200, 500, 300)));
    host.skinned = true;
    host.SetColor(CoolColors::Background, RGB(10, 11, 12));
    host.SetColor(CoolColors::Text, RGB(20, 21, 22));
    host.SetColor(CoolColors::Lum, RGB(30, 31, 32));
    host.SetColor(CoolColors::SelLow, RGB(40, 41, 42));
    host.SetColor(CoolColors::SelHigh, RGB(50, 51, 52));
    CCoolColorButton button;
    ASSERT_TRUE(button.Create("", kChild | BS_PUSHBUTTON, CRect(10, 10, 90, 34), host.m_hWnd, 1));
    button.SetSwatchColor(RGB(9, 8, 7));

    g_chooser = ChooserRecord();
    EXPECT_EQ(button.PickColor(), 1);
    EXPECT_EQ(button.GetSwatchColor(), RGB(1, 2, 3));
    EXPECT_EQ(g_chooser.shown.rgbResult, RGB(9, 8, 7));
    EXPECT_EQ(g_chooser.shown.Flags & (CC_FULLOPEN | CC_RGBINIT), DWORD(CC_FULLOPEN | CC_RGBINIT));
    const std::vector<COLORREF> expected = {RGB(10, 11, 12),
                                            RGB(20, 21, 22),
                                            RGB(30, 31, 32),
                                            RGB(40, 41, 42),
                                            RGB(50, 51, 52),
                                            RGB(255, 255, 255),
                                            RGB(255, 255, 255),
                                            RGB(255, 255, 255),
                                            ::GetSysColor(COLOR_DESKTOP),
                                            ::GetSysColor(COLOR_ACTIVECAPTION),
                                            ::GetSysColor(COLOR_GRADIENTACTIVECAPTION),
                                            ::GetSysColor(COLOR_INFOBK),
                                            ::GetSysColor(COLOR_BTNHIGHLIGHT),
                                            ::GetSysColor(COLOR_3DLIGHT),
                                            ::GetSysColor(COLOR_BTNFACE),
                                            ::GetSysColor(COLOR_BTNSHADOW)};
    EXPECT_EQ(g_chooser.custom, expected);

    // Cancelled: the swatch stays. A parent that is not skinned leaves its five white.
    host.skinned = false;
    g_chooser = ChooserRecord();
    g_chooser.answer = FALSE;
    EXPECT_EQ(button.PickColor(), 0);
    EXPECT_EQ(button.GetSwatchColor(), RGB(1, 2, 3));
    ASSERT_EQ(g_chooser.custom.size(), 16u);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(g_chooser.custom[i], RGB(255, 255, 255)) << i;
    SetChooseColorHook(previous);
}

} // namespace
