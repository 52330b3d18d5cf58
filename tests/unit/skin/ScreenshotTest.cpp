// The skinned sliders and labels in the main window's default colours: a label of variant 2
// shows exactly the parent's background around its text. The picture is kept as a build
// artefact (build/artefacts/skin_sliders.png).
#include "AudioSlider.h"
#include "CoolSliderCtrl.h"
#include "CoolStatic.h"

#include "Bitmap.h"
#include "Png.h"
#include "SkinHost.h"

#include <gtest/gtest.h>

namespace {

// What the screen shows of a window's client area, children included.
PixelImage CaptureScreen(HWND window) {
    const CRect r = [&] {
        CRect c;
        ::GetClientRect(window, &c);
        ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&c), 2);
        return c;
    }();
    CDC screen;
    screen.GetDC(nullptr);
    CDC copy;
    copy.CreateCompatibleDC(screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(screen, r.Width(), r.Height());
    copy.SelectObject(bitmap);
    copy.BitBlt(0, 0, r.Width(), r.Height(), screen, r.left, r.top);
    return ReadPixels(copy, r.Width(), r.Height());
}

TEST(SkinScreenshot, SlidersAndLabelsInTheDefaultColours) {
    SkinHost host(360, 300, true);
    host.SetColor(CoolColors::Background, 0x504141);
    host.SetColor(CoolColors::Text, 0xB9B9B9);
    host.SetColor(CoolColors::Lum, 0xEB786E);
    host.SetColor(CoolColors::SelLow, 0x005AFF);
    host.SetColor(CoolColors::SelHigh, 0x00FF00);
    host.SetLightPoint(POINT{90, 60});
    HFONT font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    host.font = font;

    CAudioSlider meter;
    ASSERT_TRUE(meter.Create(WS_CHILD | WS_VISIBLE | TBS_VERT | TBS_ENABLESELRANGE | TBS_BOTH |
                                 TBS_AUTOTICKS,
                             CRect(20, 20, 80, 280), host, 1));
    meter.SetRange(0, 10);
    meter.SetTicFreq(1);
    meter.SetPos(1);
    meter.m_options |= CAudioSlider::Stereo | CAudioSlider::ShowPeak;
    meter.m_levelA = 4;
    meter.m_levelB = 6;
    meter.m_peak = 3;

    CCoolSliderCtrl balance;
    ASSERT_TRUE(balance.Create(WS_CHILD | WS_VISIBLE | TBS_HORZ | TBS_AUTOTICKS,
                               CRect(100, 20, 340, 60), host, 2));
    balance.SetRange(0, 10);
    balance.SetTicFreq(1);
    balance.SetPos(6);

    CCoolStatic face, panel, clear, frame;
    face.SetStyle(0);
    clear.SetStyle(2);
    frame.SetStyle(2);
    ASSERT_TRUE(face.Create("Variant 0: lit face", WS_CHILD | WS_VISIBLE | SS_CENTER,
                            CRect(100, 80, 340, 104), host));
    ASSERT_TRUE(panel.Create("Variant 1: luminous panel", WS_CHILD | WS_VISIBLE | SS_CENTER,
                             CRect(100, 114, 340, 138), host));
    ASSERT_TRUE(clear.Create("Variant 2: on the parent's background",
                             WS_CHILD | WS_VISIBLE | SS_LEFT, CRect(100, 148, 340, 172), host));
    ASSERT_TRUE(frame.Create("Framed caption", WS_CHILD | WS_VISIBLE | SS_BLACKFRAME,
                             CRect(100, 186, 340, 280), host));
    for (CWnd* w : {static_cast<CWnd*>(&face), static_cast<CWnd*>(&panel),
                    static_cast<CWnd*>(&clear), static_cast<CWnd*>(&frame)})
        w->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font));

    host.Propagate();
    host.Show();
    const PixelImage image = CaptureScreen(host);
    EXPECT_TRUE(WritePng(ArtefactPath("skin_sliders.png"), image));

    // Past its text, the label's pixels are those of the parent without the label.
    clear.ShowWindow(SW_HIDE);
    ::UpdateWindow(host);
    const PixelImage parent = CaptureScreen(host);
    int differing = 0;
    for (int y = 148; y < 172; ++y)
        for (int x = 326; x < 340; ++x)
            differing += image.At(x, y) != parent.At(x, y);
    EXPECT_EQ(differing, 0);
}

} // namespace
