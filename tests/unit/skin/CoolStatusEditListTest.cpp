#include "CoolEdit.h"
#include "CoolListCtrl.h"
#include "CoolStatusBarCtrl.h"

#include "ControlHost.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr unsigned kFlat = CoolColors::RenderDeriveShades;

// Every pixel around the text (its bounding box widened by 3, inside the frame) is either the
// background or the text colour: no box of another colour around the characters.
void ExpectTextOnBackground(const PixelImage& shot, COLORREF text, COLORREF background) {
    CRect box(shot.width, shot.height, 0, 0);
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            if (shot.At(x, y) == text) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    ASSERT_FALSE(box.IsRectEmpty()) << "no text drawn";
    box.InflateRect(3, 3);
    box.IntersectRect(box, CRect(1, 1, shot.width - 1, shot.height - 1));
    int foreign = 0;
    COLORREF example = 0;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) {
            const COLORREF c = shot.At(x, y);
            if (c != text && c != background) {
                ++foreign;
                example = c;
            }
        }
    EXPECT_EQ(foreign, 0) << std::hex << "for example 0x" << example;
}

PixelImage CaptureWindow(HWND window) {
    CRect r;
    ::GetWindowRect(window, &r);
    HDC dc = ::GetWindowDC(window);
    PixelImage image = ReadPixels(dc, r.Width(), r.Height());
    ::ReleaseDC(window, dc);
    return image;
}

TEST(CoolStatusBar, PartsShowTheirTextWithTheFrameOfTheirType) {
    CSkinHost host(420, 120);
    CCoolStatusBarCtrl bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), host));
    host.Skin(bar, kFlat);
    const int rights[] = {100, 200, 300, -1};
    bar.SetParts(4, rights);
    bar.SetText("Ordinary", 0);
    bar.SetText("Plain", 1, SBT_NOBORDERS);
    bar.SetText("Raised", 2, SBT_POPOUT);
    bar.SetText("", 3, SBT_OWNERDRAW);
    const COLORREF light = bar.GetColor(CoolColors::Light);
    const COLORREF shadow = bar.GetColor(CoolColors::Shadow);
    const COLORREF background = bar.GetColor(CoolColors::Background);
    const COLORREF text = bar.GetColor(CoolColors::Text);
    const CRect client = bar.GetClientRect();
    auto part = [&](int i) {
        return CRect(i ? rights[i - 1] : 0, 0, i < 3 ? rights[i] : client.right, client.bottom);
    };
    ASSERT_TRUE(PumpUntil([&] { return CountColor(CaptureClient(bar), part(0), text) > 10; }));

    const PixelImage shot = CaptureClient(bar);
    struct Expected {
        COLORREF topLeft, bottomRight;
        bool text;
    } expected[] = {{shadow, light, true},
                    {background, background, true},
                    {light, shadow, true},
                    {background, background, false}};
    for (int i = 0; i < 4; ++i) {
        const CRect r = part(i);
        EXPECT_EQ(shot.At(r.left + 1, r.top + 1), expected[i].topLeft) << "part " << i;
        EXPECT_EQ(shot.At(r.right - 2, r.bottom - 2), expected[i].bottomRight) << "part " << i;
        EXPECT_EQ(CountColor(shot, r, text) > 10, expected[i].text) << "part " << i;
    }

    bar.EnableWindow(false);
    bar.Invalidate();
    EXPECT_TRUE(PumpUntil([&] {
        const PixelImage now = CaptureClient(bar);
        return CountColor(now, part(1), bar.GetColor(CoolColors::TextDisabled)) > 10 &&
               CountColor(now, part(1), text) == 0;
    }));
}

TEST(CoolEdit, TextSitsOnTheSkinInItsStateColours) {
    CSkinHost host(300, 120);
    CCoolEdit edit;
    ASSERT_TRUE(
        edit.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(20, 20, 220, 46), host, 201));
    edit.SetWindowText("Wave Out");
    host.Skin(edit, kFlat);
    const COLORREF background = edit.GetColor(CoolColors::Background);
    const COLORREF bright = edit.GetColor(CoolColors::LumBright);
    const COLORREF lum = edit.GetColor(CoolColors::Lum);
    auto count = [&](COLORREF c) {
        const PixelImage shot = CaptureClient(edit);
        return CountColor(shot, CRect(0, 0, shot.width, shot.height), c);
    };
    ASSERT_TRUE(PumpUntil([&] { return count(bright) > 10; }));
    ExpectTextOnBackground(CaptureClient(edit), bright, background);
    EXPECT_EQ(CaptureClient(edit).At(0, 0), background); // no focus frame

    // The raised border in the non-client area.
    const PixelImage window = CaptureWindow(edit);
    EXPECT_EQ(window.At(0, 0), edit.GetColor(CoolColors::Light));
    EXPECT_EQ(window.At(window.width - 1, window.height - 1), edit.GetColor(CoolColors::Shadow));

    // Hover: the mouse is held while inside, with the control's prompt; leaving lets it go.
    MouseTo(ClientToScreenPoint(edit, 10, 5));
    EXPECT_TRUE(PumpUntil([&] {
        return edit.IsHot() && ::GetCapture() == edit.m_hWnd && !host.prompts.empty() &&
               host.prompts.back() == 201;
    }));
    MouseTo(ClientToScreenPoint(host, 5, 100));
    EXPECT_TRUE(PumpUntil(
        [&] { return !edit.IsHot() && ::GetCapture() == nullptr && host.prompts.back() == 0; }));

    // Focus: a Lum frame; typing is drawn by the skin and the window stays visible.
    ::SetFocus(edit);
    EXPECT_TRUE(PumpUntil([&] { return CaptureClient(edit).At(0, 0) == lum; }));
    EXPECT_TRUE(edit.IsFocused());
    edit.SendMessage(EM_SETSEL, 0, -1);
    edit.SendMessage(WM_CHAR, 'W');
    EXPECT_TRUE(edit.CWnd::GetStyle() & WS_VISIBLE);
    EXPECT_EQ(edit.GetWindowText(), "W");
    ::SetFocus(host);
    EXPECT_TRUE(PumpUntil([&] { return CaptureClient(edit).At(0, 0) == background; }));

    // Read-only text is drawn as a static, in Lum.
    edit.SetWindowText("Wave Out");
    edit.SendMessage(EM_SETREADONLY, TRUE);
    edit.Invalidate();
    EXPECT_TRUE(PumpUntil([&] { return count(lum) > 10 && count(bright) == 0; }));
    ExpectTextOnBackground(CaptureClient(edit), lum, background);
}

TEST(CoolList, ItemsSitOnTheSkinAndDeletedItemsLeaveNothingBehind) {
    CSkinHost host(300, 200);
    CCoolListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_LIST, CRect(20, 20, 240, 140), host, 301));
    for (const char* item : {"Hot Metal", "Midnight Blue", "Grey 2"})
        list.InsertItem(list.GetItemCount(), item);
    host.Skin(list, kFlat);
    const COLORREF background = list.GetColor(CoolColors::Background);
    const COLORREF bright = list.GetColor(CoolColors::LumBright);
    auto corner = [&] { return CaptureClient(list).At(0, 0); };
    auto count = [&](COLORREF c) {
        const PixelImage shot = CaptureClient(list);
        return CountColor(shot, CRect(0, 0, shot.width, shot.height), c);
    };
    ASSERT_TRUE(PumpUntil([&] { return count(bright) > 30; }));
    ExpectTextOnBackground(CaptureClient(list), bright, background);
    EXPECT_EQ(corner(), list.GetColor(CoolColors::LumDark));

    ::SetFocus(list);
    EXPECT_TRUE(PumpUntil([&] { return corner() == list.GetColor(CoolColors::SelLow); }));
    EXPECT_TRUE(list.IsFocused());
    ::SetFocus(host);

    // A new scheme recolours the items.
    list.SendMessage(WM_COOL_SETCOLOR, CoolColors::Lum, RGB(0, 0x40, 0x30));
    const COLORREF newBright = list.GetColor(CoolColors::LumBright);
    ASSERT_NE(newBright, bright);
    EXPECT_TRUE(PumpUntil([&] { return count(newBright) > 30 && count(bright) == 0; }));

    list.DeleteItem(2);
    list.DeleteAllItems();
    EXPECT_TRUE(PumpUntil([&] { return count(newBright) == 0; }));
    const PixelImage empty = CaptureClient(list);
    EXPECT_EQ(CountColor(empty, CRect(1, 1, empty.width - 1, empty.height - 1), background),
              (empty.width - 2) * (empty.height - 2));
}

} // namespace
