// The generic mixer sheet over the simulated card, driven from outside and with the real
// mouse: quendasim-ctl's changes move the page's slider, a drag changes what it reads back.
// Keeps a screenshot of both pages.
#include "MixerDevice.h"
#include "MixerPropertySheet.h"
#include "Pixels.h"
#include "Png.h"
#include "Pump.h"
#include "SimCard.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace {

void MouseButton(DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof(input));
}

class MixerSheetSimTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { UseSimulatedCard(); }
    void SetUp() override {
        ::SetCursorPos(1200, 1000);
        ASSERT_TRUE(ResetSimulatedCard());
        ASSERT_EQ(1, mixer.Open("Quenda Wave", 1, 104));
        sheet.Construct("Quenda Wave", &mixer);
        ASSERT_EQ(2, sheet.GetPageCount());
        sheet.SetColor(CoolColors::Background, RGB(40, 44, 52));
        sheet.SetColor(CoolColors::Lum, RGB(60, 140, 200));
        sheet.SetColor(CoolColors::Text, RGB(230, 230, 230));
        ASSERT_TRUE(sheet.Create());
        ::SetWindowPos(sheet, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        sheet.ShowWindow(SW_SHOW);
        ::SetForegroundWindow(sheet);
        PumpPending();
    }
    void TearDown() override {
        if (::GetKeyState(VK_LBUTTON) & 0x8000) MouseButton(MOUSEEVENTF_LEFTUP);
        sheet.DestroyWindow();
        PumpPending();
        ResetSimulatedCard(); // the card as other tests expect it
        EXPECT_TRUE(boxes.boxes.empty());
    }
    // The master slider of the playback page (the destination's own column).
    CMixerSliderEx& Master() { return *sheet.GetPlaybackPage()->GetSliders().at(0); }
    std::string Get(DWORD id) {
        char arguments[32];
        std::snprintf(arguments, sizeof(arguments), "get 0x%lX", static_cast<unsigned long>(id));
        CtlResult ctl = RunCtl(arguments);
        EXPECT_EQ(0u, ctl.exitCode) << ctl.output;
        while (!ctl.output.empty() && std::isspace(static_cast<unsigned char>(ctl.output.back())))
            ctl.output.pop_back();
        return ctl.output;
    }
    void Shot(const std::string& name) {
        ::RedrawWindow(sheet, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpPending();
        EXPECT_TRUE(WritePng(ArtefactPath(name), CaptureClient(sheet)));
    }

    BoxCapture boxes;
    CMixerDevice mixer;
    CMixerPropertySheet sheet;
};

TEST_F(MixerSheetSimTest, CardAndPageStayInStep) {
    CMixerSliderEx& master = Master();
    const DWORD id = master.GetControlId();
    CAudioSlider& volume = *master.GetSlider(0);
    const int start = volume.GetPos();

    // Another program sets the volume: the slider moves to the louder side.
    char arguments[64];
    std::snprintf(arguments, sizeof(arguments), "set 0x%lX 8000 8000",
                  static_cast<unsigned long>(id));
    ASSERT_EQ(0u, RunCtl(arguments).exitCode);
    ASSERT_TRUE(PumpUntil([&] { return volume.GetPos() > start; }));
    const int low = volume.GetPos();

    // Dragging the thumb up changes what the card reads back.
    const std::string before = Get(id);
    CRect thumb = volume.GetThumbRect();
    POINT p = thumb.CenterPoint();
    ::ClientToScreen(volume, &p);
    ::SetCursorPos(p.x, p.y);
    PumpPending();
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    ::SetCursorPos(p.x, p.y - 60);
    ASSERT_TRUE(PumpUntil([&] { return volume.GetPos() < low - 20; }));
    MouseButton(MOUSEEVENTF_LEFTUP);
    PumpPending();
    const std::string after = Get(id);
    EXPECT_NE(before, after);
    DWORD left = 0, right = 0;
    ASSERT_EQ(1, mixer.GetStereo(id, &left, &right));
    EXPECT_EQ(std::to_string(left) + " " + std::to_string(right), after);
    EXPECT_GT(left, 8000u);
}

TEST_F(MixerSheetSimTest, ScreenshotOfBothPages) {
    // Playback with its meters running.
    const CAudioSlider& bar = *Master().GetSlider(0);
    ASSERT_TRUE(PumpUntil([&] { return bar.GetLevelA() < bar.GetRangeMax() - 20; }));
    Shot("mixer-sheet-playback.png");
    ASSERT_TRUE(sheet.SetActivePage(1));
    ASSERT_EQ(1u, sheet.GetRecordPage()->GetMuxes().size());
    Shot("mixer-sheet-record.png");
}
} // namespace
