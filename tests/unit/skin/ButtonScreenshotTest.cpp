// Draws every kind of skinned button on a skinned parent in the main window's default colours
// and keeps the picture as build/artefacts/skin-buttons.png.
#include "CoolButton.h"
#include "CoolColorButton.h"
#include "Png.h"
#include "Pump.h"

#include "ButtonHost.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

TEST(ButtonScreenshot, EveryKindInTheDefaultColours) {
    CButtonHost host;
    ASSERT_TRUE(host.Open(CRect(100, 100, 520, 330)));
    host.skinned = true;
    host.SetColor(CoolColors::Background, 0x504141);
    host.SetColor(CoolColors::Text, 0xB9B9B9);
    host.SetColor(CoolColors::Lum, 0xEB786E);
    host.SetColor(CoolColors::SelLow, 0x005AFF);
    host.SetColor(CoolColors::SelHigh, 0x00FF00);
    POINT hostLight = {140, 60};
    host.Draw([&](CCoolDC& dc, const CRect& client) {
        POINT light = hostLight;
        dc.FillLit(client, host.GetColor(CoolColors::Shadow), host.GetColor(CoolColors::Light),
                   &light);
    });

    struct Item {
        const char* caption;
        DWORD style;
        RECT rect;
    };
    const Item items[] = {
        {"Normal", BS_PUSHBUTTON, {10, 10, 100, 36}},
        {"Default", BS_DEFPUSHBUTTON, {110, 10, 200, 36}},
        {"Focused", BS_PUSHBUTTON, {210, 10, 300, 36}},
        {"Pressed", BS_PUSHBUTTON, {310, 10, 400, 36}},
        {"Flat", BS_PUSHBUTTON | BS_FLAT, {10, 46, 100, 72}},
        {"Check", BS_AUTOCHECKBOX, {110, 46, 200, 66}},
        {"Checked", BS_AUTOCHECKBOX, {210, 46, 300, 66}},
        {"Disabled", BS_AUTOCHECKBOX, {310, 46, 400, 66}},
        {"Group", BS_GROUPBOX, {10, 84, 200, 170}},
        {"Radio off", BS_AUTORADIOBUTTON, {20, 104, 190, 124}},
        {"Radio on", BS_AUTORADIOBUTTON, {20, 134, 190, 154}},
        {"Push-like on", BS_AUTOCHECKBOX | BS_PUSHLIKE, {210, 84, 300, 110}},
        {"Push-like", BS_AUTORADIOBUTTON | BS_PUSHLIKE, {310, 84, 400, 110}},
        {"Flat check", BS_AUTOCHECKBOX | BS_FLAT, {210, 120, 400, 140}},
    };
    std::vector<std::unique_ptr<CCoolButton>> buttons;
    UINT id = 1000;
    for (const Item& item : items) {
        buttons.push_back(std::make_unique<CCoolButton>());
        ASSERT_TRUE(buttons.back()->Create(item.caption, WS_CHILD | WS_VISIBLE | item.style,
                                           item.rect, host.m_hWnd, id++));
    }
    auto colour = std::make_unique<CCoolColorButton>();
    ASSERT_TRUE(colour->Create("Colour", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | BS_RIGHT,
                               CRect(210, 150, 400, 176), host.m_hWnd, id++));
    colour->SetSwatchColor(0xEB786E);
    buttons.push_back(std::move(colour));

    // The parent's scheme goes down to every child, the light point in its own coordinates.
    for (auto& b : buttons) {
        for (int slot : {0, 8, 4, 11, 10})
            b->SendMessage(WM_COOL_SETCOLOR, slot, static_cast<LPARAM>(host.GetColor(slot)));
        b->SendMessage(WM_COOL_SETRENDERMODE, 0, host.GetRenderMode());
        POINT light = hostLight;
        ::MapWindowPoints(host.m_hWnd, b->m_hWnd, &light, 1);
        b->SendMessage(WM_COOL_SETLIGHTPOINT, 0, reinterpret_cast<LPARAM>(&light));
        b->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)));
    }
    buttons[3]->SetState(true);
    buttons[6]->SetCheck(BST_CHECKED);
    buttons[7]->SetCheck(BST_CHECKED);
    buttons[7]->EnableWindow(false);
    buttons[10]->SetCheck(BST_CHECKED);
    buttons[11]->SetCheck(BST_CHECKED);
    ::SetFocus(buttons[2]->m_hWnd);

    ::RedrawWindow(host.m_hWnd, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpPending();
    const PixelImage image = CaptureClient(host.m_hWnd);
    EXPECT_TRUE(WritePng(ArtefactPath("skin-buttons.png"), image));

    // The focused button wears its focus mark, the pressed one its pressed frame.
    EXPECT_EQ(image.At(210, 20), buttons[2]->GetColor(CoolColors::LumBright));
    EXPECT_EQ(image.At(310, 20), buttons[3]->GetColor(CoolColors::Shadow));
}

} // namespace
