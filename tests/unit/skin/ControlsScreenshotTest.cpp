#include "CoolComboBox.h"
#include "CoolEdit.h"
#include "CoolListCtrl.h"
#include "CoolStatusBarCtrl.h"

#include "Png.h"
#include "ControlHost.h"

#include <gtest/gtest.h>

namespace {

// The screen under a window, top-level popups in front of it included (a dropped list).
PixelImage CaptureScreen(const RECT& r) {
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    PixelImage image = ReadPixels(memory, r.right - r.left, r.bottom - r.top);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return image;
}

// Both combo box variants (the luminous one dropped down), an edit, a list and a status bar in
// the main window's colours, kept as build/artefacts/skin-combo-edit-list-status.png: the list
// and the edit draw their text in the bright colour, and the two variants' faces differ.
TEST(SkinScreenshot, ComboBoxesEditListAndStatusBar) {
    CSkinHost host(440, 250);
    const unsigned lit =
        CoolColors::RenderGradients | CoolColors::RenderDeriveShades | CoolColors::RenderEmbossed;
    CCoolComboBox plain, luminous;
    ASSERT_TRUE(plain.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST,
                             CRect(16, 16, 200, 160), host, 1296));
    ASSERT_TRUE(luminous.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST,
                                CRect(16, 52, 200, 200), host, 1297));
    luminous.SetStyle(1);
    for (CCoolComboBox* box : {&plain, &luminous}) {
        for (const char* item : {"Headphones", "Stereo", "Quad", "Surround", "5.1"})
            box->AddString(item);
        box->SetCurSel(1);
        host.Skin(*box, lit);
    }

    CCoolEdit edit;
    ASSERT_TRUE(
        edit.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(220, 16, 424, 40), host, 21880));
    edit.SetWindowText("Hot Metal");
    host.Skin(edit, lit);

    CCoolListCtrl list;
    ASSERT_TRUE(
        list.Create(WS_CHILD | WS_VISIBLE | LVS_LIST, CRect(220, 52, 424, 196), host, 21881));
    for (const char* item : {"- Default -", "- Windows -", "Midnight Blue", "Grey 2", "Hot Metal"})
        list.InsertItem(list.GetItemCount(), item);
    host.Skin(list, lit);

    CCoolStatusBarCtrl bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), host));
    host.Skin(bar, lit);
    const int rights[] = {150, 300, -1};
    bar.SetParts(3, rights);
    bar.SetText("Sunken part", 0);
    bar.SetText("No border", 1, SBT_NOBORDERS);
    bar.SetText("Raised part", 2, SBT_POPOUT);

    luminous.ShowDropDown(true);
    ASSERT_TRUE(PumpUntil([&] { return luminous.GetDroppedState(); }));
    const CRect window = host.GetWindowRect();
    const COLORREF bright = list.GetColor(CoolColors::LumBright);
    PixelImage shot;
    // Wait until the list, the edit and the dropped list have drawn their text.
    ASSERT_TRUE(PumpUntil([&] {
        shot = CaptureScreen(window);
        return CountColor(shot, CRect(224, 56, 420, 190), bright) > 50 &&
               CountColor(shot, CRect(222, 18, 420, 38), bright) > 20;
    }));
    EXPECT_TRUE(WritePng(ArtefactPath("skin-combo-edit-list-status.png"), shot));
    int differing = 0;
    for (int y = 0; y < 18; ++y)
        for (int x = 16; x < 200; ++x)
            differing += shot.At(x, 16 + y) != shot.At(x, 52 + y);
    EXPECT_GT(differing, 184 * 18 / 4) << "the luminous face looks like the plain one";
    luminous.ShowDropDown(false);
}

} // namespace
