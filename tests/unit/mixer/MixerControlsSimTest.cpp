// A mixer-bound slider over the simulated card: a drag with the real mouse writes every
// position to the card while the thumb moves.
#include "ControlHost.h"
#include "MixerDevice.h"
#include "MixerSliderEx.h"
#include "Pump.h"
#include "SimCard.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {
constexpr DWORD kMasterLine = 0xFFFF0000;
const CRect kStereoRect(20, 20, 55, 20 + 2 * 22 + 168);

DWORD ControlOf(CMixer& mixer, int destination, int source, DWORD type) {
    MixerControlRecord* record = nullptr;
    for (int k = 0; mixer.GetLineControl(destination, source, k, &record); ++k)
        if (record->control.dwControlType == type) return record->control.dwControlID;
    return 0;
}

void MouseButton(DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof(input));
}

class MixerControlsSimTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { UseSimulatedCard(); }
    void SetUp() override {
        ::SetCursorPos(1200, 1000);
        ASSERT_TRUE(ResetSimulatedCard());
        ASSERT_EQ(1, mixer.Open("Quenda Wave", 1, 104));
        masterVolume = ControlOf(mixer, 0, -1, MIXERCONTROL_CONTROLTYPE_VOLUME);
        ASSERT_TRUE(masterVolume);
        host = std::make_unique<ControlHost>();
        ::SetForegroundWindow(*host);
    }
    void TearDown() override {
        if (::GetKeyState(VK_LBUTTON) & 0x8000) MouseButton(MOUSEEVENTF_LEFTUP);
        slider.reset();
        host.reset();
        PumpPending();
        ResetSimulatedCard(); // the card as other tests expect it
        EXPECT_TRUE(boxes.boxes.empty());
    }
    std::pair<DWORD, DWORD> Card() {
        DWORD left = 0, right = 0;
        EXPECT_EQ(1, mixer.GetStereo(masterVolume, &left, &right));
        return {left, right};
    }

    BoxCapture boxes;
    CMixerDevice mixer;
    DWORD masterVolume = 0;
    std::unique_ptr<ControlHost> host;
    std::unique_ptr<CMixerSliderEx> slider;
};

TEST_F(MixerControlsSimTest, DragWritesEveryPositionWhileTheThumbMoves) {
    slider = std::make_unique<CMixerSliderEx>(&mixer, kMasterLine, masterVolume, 0, 0);
    ASSERT_TRUE(slider->Create("Test", WS_CHILD | WS_VISIBLE, kStereoRect, *host, 1001));
    CAudioSlider& volume = *slider->GetSlider(0);
    ::UpdateWindow(*host);
    const int start = volume.GetPos();
    ASSERT_EQ(8, start); // the card starts at about three quarters

    CRect thumb = volume.GetThumbRect();
    POINT p = thumb.CenterPoint();
    ::ClientToScreen(volume, &p);
    ::SetCursorPos(p.x, p.y);
    PumpPending();
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    const CRect channel = volume.GetChannelRect();
    const int step = std::max(std::max(channel.Height(), channel.Width()) / 31, 1);
    int last = start;
    for (int move = 1; move <= 4; ++move) {
        ::SetCursorPos(p.x, p.y + move * 3 * step);
        // Still pressed: the card follows the thumb (65535 / 31 units a step, on its grid).
        ASSERT_TRUE(PumpUntil([&] {
            const int pos = volume.GetPos();
            const auto card = Card();
            const long expected = long((31 - pos) * 65535LL / 31);
            return pos > last && card.first == card.second &&
                   std::labs(long(card.first) - expected) <= 1;
        })) << "move "
            << move << " pos " << volume.GetPos() << " card " << Card().first;
        EXPECT_TRUE(::GetKeyState(VK_LBUTTON) & 0x8000);
        last = volume.GetPos();
    }
    MouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_GT(last, start + 4);
}

} // namespace
