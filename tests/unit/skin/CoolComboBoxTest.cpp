#include "CoolComboBox.h"

#include "ControlHost.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr unsigned kFlat = CoolColors::RenderDeriveShades; // exact colours, no emboss
constexpr UINT kId = 101;

class ComboTest : public ::testing::Test {
protected:
    void TearDown() override {
        MouseTo(POINT{0, 0});
        combo.ShowDropDown(false);
    }

    void Make(CCoolComboBox& box, unsigned variant, DWORD style = CBS_DROPDOWNLIST) {
        ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | style, CRect(20, 20, 220, 140),
                               host, kId));
        for (const char* item : {"Stereo", "Quad", "Surround"})
            box.AddString(item);
        box.SetCurSel(0);
        box.SetStyle(variant);
        host.Skin(box, kFlat);
        box.UpdateWindow();
    }
    void Make(unsigned variant) { Make(combo, variant); }

    COLORREF Slot(int slot) const { return combo.GetColor(slot); }
    CRect Client() const { return combo.GetClientRect(); }
    // The middle of the drop button and the text area beside it.
    POINT ButtonCentre() const {
        const int edge = std::max(::GetSystemMetrics(SM_CXEDGE), ::GetSystemMetrics(SM_CYEDGE));
        return POINT{Client().right - 1 - edge - ::GetSystemMetrics(SM_CXHTHUMB) / 2,
                     Client().Height() / 2};
    }
    CRect TextArea() const {
        CRect r = Client();
        r.right = ButtonCentre().x - ::GetSystemMetrics(SM_CXHTHUMB) / 2;
        return r;
    }
    int TextPixels(COLORREF color) const {
        return CountColor(CaptureClient(combo), TextArea(), color);
    }

    CSkinHost host{400, 220};
    CCoolComboBox combo;
};

TEST_F(ComboTest, HoldingTheLeftButtonLightsTheDropButtonUntilRelease) {
    Make(0);
    const POINT centre = ButtonCentre();
    auto button = [&] { return CaptureClient(combo).At(centre.x, centre.y); };
    ASSERT_TRUE(PumpUntil([&] { return button() == Slot(CoolColors::Lum); }));

    MouseTo(ClientToScreenPoint(combo, centre.x, centre.y));
    MouseButton(true);
    EXPECT_TRUE(PumpUntil([&] { return button() == Slot(CoolColors::LumBright); }));
    EXPECT_TRUE(combo.IsPressed());
    MouseButton(false);
    EXPECT_TRUE(PumpUntil([&] { return button() == Slot(CoolColors::Lum); }));
    EXPECT_FALSE(combo.IsPressed());
    combo.ShowDropDown(false);

    // Pressed, then dragged into the dropped list and released there: the list took the
    // mouse, so the button goes dark although the release never reached the combo box.
    // (Pressed on the text area: a second press on the button would be a double click.)
    ::SetForegroundWindow(host);
    ::SetFocus(combo);
    ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == combo.m_hWnd; }));
    MouseTo(ClientToScreenPoint(combo, TextArea().left + 10, centre.y));
    MouseButton(true);
    ASSERT_TRUE(PumpUntil([&] { return combo.GetDroppedState() && combo.IsPressed(); }));
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    ::GetComboBoxInfo(combo, &info);
    MouseTo(ClientToScreenPoint(info.hwndList, 10, 5));
    EXPECT_TRUE(PumpUntil([&] { return !combo.IsPressed(); }));
    MouseButton(false);
    EXPECT_TRUE(PumpUntil([&] { return button() == Slot(CoolColors::Lum); }));
}

TEST_F(ComboTest, FlatTextAreaOfVariantZeroIsBackground) {
    // Without gradients the field is a flat fill of the window colour, not of its light.
    Make(0);
    const CRect text = TextArea();
    const int half = text.Width() * text.Height() / 2;
    EXPECT_TRUE(PumpUntil([&] { return TextPixels(Slot(CoolColors::Background)) > half; }));
}

TEST_F(ComboTest, TextColourFollowsEnabledStateAndHover) {
    Make(0);
    ASSERT_TRUE(PumpUntil([&] { return TextPixels(Slot(CoolColors::Text)) > 10; }));
    EXPECT_EQ(TextPixels(Slot(CoolColors::TextDisabled)), 0);

    combo.EnableWindow(false);
    EXPECT_TRUE(PumpUntil([&] {
        return TextPixels(Slot(CoolColors::TextDisabled)) > 10 &&
               TextPixels(Slot(CoolColors::Text)) == 0;
    }));
    combo.EnableWindow(true);

    // Hover: hot text and the control's prompt; leaving ends both at the next tick.
    const CRect text = TextArea();
    MouseTo(ClientToScreenPoint(combo, text.left + 5, text.top + 5));
    EXPECT_TRUE(PumpUntil([&] {
        return TextPixels(Slot(CoolColors::TextHot)) > 10 && !host.prompts.empty() &&
               host.prompts.back() == kId;
    }));
    MouseTo(ClientToScreenPoint(host, 5, 200));
    EXPECT_TRUE(PumpUntil(
        [&] { return TextPixels(Slot(CoolColors::Text)) > 10 && host.prompts.back() == 0; }));
    EXPECT_FALSE(combo.IsHot());
}

TEST_F(ComboTest, FocusFrameAndSelectionByMessageRepaintInTheSkin) {
    Make(0);
    auto corners = [&] {
        const PixelImage shot = CaptureClient(combo);
        return std::make_pair(shot.At(0, 0), shot.At(shot.width - 1, shot.height - 1));
    };
    ASSERT_TRUE(PumpUntil([&] {
        return corners() == std::make_pair(Slot(CoolColors::Shadow), Slot(CoolColors::Light));
    }));
    ::SetFocus(combo);
    EXPECT_TRUE(PumpUntil([&] {
        return corners() == std::make_pair(Slot(CoolColors::LumBright), Slot(CoolColors::Lum));
    }));

    const PixelImage before = CaptureClient(combo);
    combo.SetCurSel(2);
    EXPECT_TRUE(combo.CWnd::GetStyle() & WS_VISIBLE); // restored after the hidden processing
    EXPECT_TRUE(PumpUntil([&] {
        const PixelImage now = CaptureClient(combo);
        return now.pixels != before.pixels && TextPixels(Slot(CoolColors::Text)) > 10;
    }));
}

TEST_F(ComboTest, ListColoursComeFromTheVariantWithOneBrushAtATime) {
    Make(0);
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(::GetComboBoxInfo(combo, &info));
    HDC dc = ::GetDC(combo);
    auto request = [&] {
        return reinterpret_cast<HBRUSH>(::SendMessageA(combo, WM_CTLCOLORLISTBOX,
                                                       reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(info.hwndList)));
    };
    auto brushColor = [](HBRUSH brush) {
        LOGBRUSH lb = {};
        ::GetObjectA(brush, sizeof(lb), &lb);
        return lb.lbColor;
    };
    EXPECT_EQ(brushColor(request()), Slot(CoolColors::Background));
    EXPECT_EQ(::GetTextColor(dc), Slot(CoolColors::Text));
    combo.SetStyle(1);
    EXPECT_EQ(brushColor(request()), Slot(CoolColors::LumDark));
    EXPECT_EQ(::GetTextColor(dc), Slot(CoolColors::LumBright));

    // A thousand requests, every other one after a colour change: the brush before is gone
    // each time and the process holds no more GDI objects than before.
    const DWORD gdiBefore = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    HBRUSH previous = request();
    int leaked = 0;
    for (int i = 0; i < 1000; ++i) {
        if (i % 2) combo.SetColor(CoolColors::Lum, RGB(i & 0xFF, i >> 8, 0x40));
        HBRUSH brush = request();
        if (brush != previous && ::GetObjectType(previous) != 0) ++leaked;
        previous = brush;
    }
    EXPECT_EQ(leaked, 0);
    EXPECT_LE(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore);
    ::ReleaseDC(combo, dc);
}

// Draws the current item in one colour and remembers what it was given.
class COwnerDrawnCombo : public CCoolComboBox {
public:
    DRAWITEMSTRUCT last = {};
    void DrawItem(DRAWITEMSTRUCT* item) override {
        last = *item;
        ::SetBkColor(item->hDC, RGB(0, 200, 0));
        ::ExtTextOutA(item->hDC, 0, 0, ETO_OPAQUE, &item->rcItem, nullptr, 0, nullptr);
    }
};

TEST_F(ComboTest, OwnerDrawnComboDrawsItsCurrentItemThroughDrawItem) {
    COwnerDrawnCombo owner;
    Make(owner, 0, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS);
    owner.SetItemData(1, 0xBEEF);
    owner.SetCurSel(1);
    ASSERT_TRUE(PumpUntil([&] { return owner.last.itemID == 1; }));
    EXPECT_EQ(owner.last.itemData, 0xBEEFu);
    EXPECT_EQ(owner.last.CtlType, static_cast<UINT>(ODT_COMBOBOX));
    const CRect item = owner.last.rcItem;
    EXPECT_EQ(CaptureClient(owner).At(item.left + 4, item.top + 4), RGB(0, 200, 0));
    // The drop button stays the skin's.
    EXPECT_LT(item.right, owner.GetClientRect().right - ::GetSystemMetrics(SM_CXHTHUMB) + 1);
}

} // namespace
