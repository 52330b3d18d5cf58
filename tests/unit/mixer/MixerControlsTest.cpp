// The mixer-bound controls against an in-process fake driver, in real windows: how the sliders
// scale values both ways, the meter, the switches' list rules, the multiplexer, the parent
// notifications and the unregistering when a window or object goes.
#include "ControlHost.h"
#include "FakeMixerDriver.h"
#include "MixerButton.h"
#include "MixerDevice.h"
#include "MixerMuxControl.h"
#include "MixerSliderEx.h"
#include "Pump.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
constexpr DWORD kMaster = 0xFFFF0000, kMic = 0x10000, kTiny = 0x20000, kOdd = 0x30000;
constexpr DWORD kRecord = 0xFFFF0001;
constexpr DWORD kVolume = 0x10, kMute = 0x11, kPeak = 0x12, kMicVolume = 0x30, kTinyVolume = 0x40,
                kOddVolume = 0x60, kOddPeak = 0x61, kMux = 0x50, kMixer = 0x51;
constexpr DWORD kMultiple = MIXERCONTROL_CONTROLF_UNIFORM | MIXERCONTROL_CONTROLF_MULTIPLE;
const CRect kStereoRect(10, 10, 45, 10 + 2 * 22 + 168); // as the generic page makes them

DWORD Style(const CWnd& wnd) {
    return wnd.GetStyle();
}

FakeControl Volume(DWORD id, std::vector<DWORD> values, DWORD maximum = 65535) {
    FakeControl c{id, MIXERCONTROL_CONTROLTYPE_VOLUME, 0, 0, std::move(values), {}};
    c.maximum = maximum;
    c.steps = 32;
    return c;
}

FakeControl Peak(DWORD id, std::vector<DWORD> values, LONG minimum, LONG maximum) {
    FakeControl c{id, MIXERCONTROL_CONTROLTYPE_PEAKMETER, 0, 0, std::move(values), {}};
    c.minimum = DWORD(minimum);
    c.maximum = DWORD(maximum);
    return c;
}

FakeDevice ControlsDevice() {
    FakeDevice device;
    FakeLine master{kMaster, "Master", 2, {}, {}};
    master.controls = {Volume(kVolume, {30000, 60000}),
                       {kMute, MIXERCONTROL_CONTROLTYPE_MUTE, 0, 0, {0, 0}, {}},
                       Peak(kPeak, {0, 0}, -32768, 32767)};
    FakeLine mic{kMic, "Mic", 1, {}, {}};
    mic.controls = {Volume(kMicVolume, {65535})};
    FakeLine tiny{kTiny, "Tiny", 1, {}, {}}; // fewer units than the slider has steps
    tiny.controls = {Volume(kTinyVolume, {5}, 10)};
    FakeLine odd{kOdd, "Odd", 1, {}, {}}; // a meter without a maximum
    odd.controls = {Volume(kOddVolume, {0}), Peak(kOddPeak, {1000}, 0, 0)};
    master.sources = {mic, tiny, odd};
    FakeLine record{kRecord, "Record", 2, {}, {}};
    record.controls = {
        {kMux, MIXERCONTROL_CONTROLTYPE_MUX, kMultiple, 3, {1, 0, 0}, {"A", "B", "C"}},
        {kMixer, MIXERCONTROL_CONTROLTYPE_MIXER, kMultiple, 3, {1, 0, 0}, {"A", "B", "C"}}};
    device.destinations = {master, record};
    return device;
}

class MixerControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake.devices = {ControlsDevice()};
        ASSERT_EQ(1, mixer.Open("Quenda Wave", 1, 104));
        host = std::make_unique<ControlHost>();
        ASSERT_NE(nullptr, host->m_hWnd);
    }
    void TearDown() override {
        host.reset();
        PumpPending();
    }
    std::vector<DWORD>& Device(DWORD id) { return fake.Find(id)->values; }
    // A child slider moved to pos, as the system slider reports it.
    static void Move(CMixerSliderEx& owner, int index, int pos) {
        CAudioSlider* slider = owner.GetSlider(index);
        slider->SetPos(pos);
        owner.SendMessage(index == 1 && !owner.HasSeparateChannels() ? WM_HSCROLL : WM_VSCROLL,
                          MAKEWPARAM(TB_THUMBTRACK, pos), LPARAM(slider->m_hWnd));
    }
    static void Click(CButton& button) {
        button.SetCheck(button.GetCheck() ? 0 : 1);
        ::SendMessageA(button.GetParent(), WM_COMMAND,
                       MAKEWPARAM(button.GetDlgCtrlID(), BN_CLICKED), LPARAM(button.m_hWnd));
    }

    FakeMixerDriver fake;
    BoxCapture boxes;
    CMixerDevice mixer;
    std::unique_ptr<ControlHost> host;
};

TEST_F(MixerControlsTest, VolumeAndBalanceScaleBothWays) {
    CMixerSliderEx slider(&mixer, kMaster, kVolume, 0, 0);
    ASSERT_TRUE(slider.Create("Test", WS_CHILD | WS_VISIBLE, kStereoRect, *host, 1001));
    CAudioSlider* volume = slider.GetSlider(0);
    CAudioSlider* balance = slider.GetSlider(1);
    ASSERT_TRUE(volume && balance);
    EXPECT_EQ(int(CMixerSliderEx::FirstSliderId), volume->GetDlgCtrlID());
    EXPECT_EQ(int(CMixerSliderEx::SecondSliderId), balance->GetDlgCtrlID());
    EXPECT_TRUE(Style(*volume) & TBS_VERT);
    EXPECT_FALSE(Style(*balance) & TBS_VERT);
    EXPECT_TRUE(volume->HasOption(CAudioSlider::Stereo));
    EXPECT_TRUE(Style(slider) & WS_CLIPCHILDREN);
    EXPECT_EQ(31, volume->GetRangeMax());
    EXPECT_EQ(-31, balance->GetRangeMin());

    // Left 30000, right 60000: the volume of the louder side (60000 / (65535 / 31) = 28 steps
    // up from the bottom) and the balance half-way to the right.
    EXPECT_EQ(31 - 28, volume->GetPos());
    EXPECT_EQ(15, balance->GetPos()); // 31 * 0.5, truncated
    EXPECT_EQ(3, volume->GetResetValue());

    // Balance at the right end: left silent, right the louder channel; centred: both equal.
    Move(slider, 1, 31);
    EXPECT_EQ((std::vector<DWORD>{0, 60000}), Device(kVolume));
    Move(slider, 1, 0);
    EXPECT_EQ((std::vector<DWORD>{60000, 60000}), Device(kVolume));

    // Volume moved with the balance at 15 of 31: d = (31 - pos) * 65535 / 31, multiplied
    // first (the top gives 65535, not 31 whole steps of 2114), left = d * 16/31 + 0.5.
    balance->SetPos(15);
    Move(slider, 0, 0);
    EXPECT_EQ((std::vector<DWORD>{33825, 65535}), Device(kVolume));
    Move(slider, 0, 11);
    EXPECT_EQ((std::vector<DWORD>{21822, 42280}), Device(kVolume));
    Move(slider, 1, -31); // the other way round
    EXPECT_EQ((std::vector<DWORD>{42280, 0}), Device(kVolume));

    // Silence has no balance: the balance slider stays where it was.
    balance->SetPos(-10);
    Device(kVolume) = {0, 0};
    mixer.NotifyListeners(kVolume, 0);
    EXPECT_EQ(31, volume->GetPos());
    EXPECT_EQ(-10, balance->GetPos());

    // A double click on the volume slider returns it to where it was bound, and that
    // position is written like any other move.
    const CRect thumb = volume->GetThumbRect();
    const LPARAM at = MAKELPARAM(thumb.CenterPoint().x, thumb.CenterPoint().y);
    volume->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    volume->SendMessage(WM_LBUTTONUP, 0, at);
    volume->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    volume->SendMessage(WM_LBUTTONUP, 0, at);
    EXPECT_EQ(3, volume->GetPos());
    // d = 28 * 65535 / 31 = 59192; the balance at -10 of 31 keeps 21/31 on the right.
    EXPECT_EQ((std::vector<DWORD>{59192, 40098}), Device(kVolume));
}

TEST_F(MixerControlsTest, SeparateAndSingleChannelsScaleByWholeSteps) {
    CMixerSliderEx pair(&mixer, kMaster, kVolume, 0, 1);
    ASSERT_TRUE(pair.Create("", WS_CHILD | WS_VISIBLE, kStereoRect, *host, 1001));
    CAudioSlider* left = pair.GetSlider(0);
    CAudioSlider* right = pair.GetSlider(1);
    EXPECT_TRUE(Style(*right) & TBS_VERT);
    EXPECT_LT(left->GetWindowRect().right, right->GetWindowRect().right);
    // 65535 / 31 = 2114 units a step: 30000 is 14 steps up, 60000 is 28.
    EXPECT_EQ(17, left->GetPos());
    EXPECT_EQ(3, right->GetPos());
    Move(pair, 0, 0);
    EXPECT_EQ((std::vector<DWORD>{31 * 2114, 28 * 2114}), Device(kVolume));

    CMixerSliderEx mono(&mixer, kMic, kMicVolume, 0, 0);
    ASSERT_TRUE(mono.Create("", WS_CHILD | WS_VISIBLE, CRect(60, 10, 95, 200), *host, 1002));
    EXPECT_EQ(nullptr, mono.GetSlider(1));
    EXPECT_EQ(0, mono.GetSlider(0)->GetPos());
    Move(mono, 0, 10);
    EXPECT_EQ((std::vector<DWORD>{21 * 2114}), Device(kMicVolume));

    // A control of 10 units on a slider of 31 steps is scaled proportionally.
    CMixerSliderEx tiny(&mixer, kTiny, kTinyVolume, 0, 0);
    ASSERT_TRUE(tiny.Create("", WS_CHILD | WS_VISIBLE, CRect(100, 10, 135, 200), *host, 1003));
    EXPECT_EQ(31 - 15, tiny.GetSlider(0)->GetPos()); // 5 * 31 / 10
    Move(tiny, 0, 0);
    EXPECT_EQ((std::vector<DWORD>{10}), Device(kTinyVolume));
    Move(tiny, 0, 28);
    EXPECT_EQ((std::vector<DWORD>{0}), Device(kTinyVolume)); // 3 * 10 / 31
}

TEST_F(MixerControlsTest, MeterJumpsUpAndFallsBackFourUnitsAPoll) {
    CMixerSliderEx slider(&mixer, kMaster, kVolume, kPeak, 0);
    ASSERT_TRUE(slider.Create("", WS_CHILD | WS_VISIBLE, kStereoRect, *host, 1001));
    CAudioSlider& bar = *slider.GetSlider(0);
    const int bottom = kStereoRect.Height() - 1; // the range follows the pixels
    EXPECT_EQ(bottom, bar.GetRangeMax());
    EXPECT_TRUE(Style(bar) & TBS_ENABLESELRANGE);
    EXPECT_FALSE(Style(*slider.GetSlider(1)) & TBS_ENABLESELRANGE);
    EXPECT_TRUE(bar.HasOption(CAudioSlider::RightClickToggles));
    EXPECT_EQ(CMixerDevice::kMeterTimerId, mixer.GetTimerId());

    // Full scale on the left, half on the right: both jump at once (the device's timer).
    Device(kPeak) = {DWORD(-32767), 16384};
    ASSERT_TRUE(PumpUntil([&] { return bar.GetLevelA() == 0; }));
    EXPECT_EQ(bottom - bottom * 16384 / 32767, bar.GetLevelB());

    // Out of sight: no timer, and the meter at rest; in sight again, it is polled again.
    mixer.SetMetersShown(false);
    EXPECT_EQ(0u, mixer.GetTimerId());
    EXPECT_EQ(bottom, bar.GetLevelA());
    EXPECT_EQ(bottom, bar.GetLevelB());
    mixer.SetMetersShown(true);
    EXPECT_EQ(CMixerDevice::kMeterTimerId, mixer.GetTimerId());
    ASSERT_TRUE(PumpUntil([&] { return bar.GetLevelA() == 0; }));
    // A meter on a hidden page is not read: it rests at full scale too.
    slider.ShowWindow(SW_HIDE);
    slider.OnMixerChange(kPeak, 0);
    EXPECT_EQ(bottom, bar.GetLevelA());
    slider.ShowWindow(SW_SHOW);
    slider.OnMixerChange(kPeak, 0);
    EXPECT_EQ(0, bar.GetLevelA());

    // Silence: four units a poll back towards the bottom, never past it.
    ::KillTimer(mixer.GetCallbackWindow(), CMixerDevice::kMeterTimerId);
    Device(kPeak) = {0, 0};
    const int b = bar.GetLevelB();
    slider.OnMixerChange(kPeak, 0);
    EXPECT_EQ(4, bar.GetLevelA());
    EXPECT_EQ(b + 4, bar.GetLevelB());
    for (int i = 0; i < 100; ++i)
        slider.OnMixerChange(kPeak, 0);
    EXPECT_EQ(bottom, bar.GetLevelA());
    EXPECT_EQ(bottom, bar.GetLevelB());

    // A meter without a maximum is no divisor: it shows silence.
    CMixerSliderEx odd(&mixer, kOdd, kOddVolume, kOddPeak, 0);
    ASSERT_TRUE(odd.Create("", WS_CHILD | WS_VISIBLE, CRect(60, 10, 95, 200), *host, 1002));
    odd.OnMixerChange(kOddPeak, 0);
    EXPECT_EQ(odd.GetSlider(0)->GetRangeMax(), odd.GetSlider(0)->GetLevelA());
}

TEST_F(MixerControlsTest, RefreshReadsTheControlAgain) {
    CMixerSliderEx slider(&mixer, kMaster, kVolume, 0, 0);
    CMixerButton mute(&mixer, kMaster, kMute);
    ASSERT_TRUE(slider.Create("", WS_CHILD | WS_VISIBLE, kStereoRect, *host, 1001));
    ASSERT_TRUE(mute.Create("", 0x50011003, CRect(60, 10, 95, 30), *host, 1128));
    MixerControlRecord* record = nullptr;
    ASSERT_EQ(1, mixer.FindControl(kVolume, &record));
    record->control.fdwControl |= MIXERCONTROL_CONTROLF_DISABLED; // as a preset may leave it
    ASSERT_EQ(1, mixer.FindControl(kMute, &record));
    record->control.fdwControl |= MIXERCONTROL_CONTROLF_DISABLED;
    Device(kVolume) = {65535, 65535};

    mixer.NotifyListeners(kVolume, 0);
    EXPECT_EQ(0, slider.GetSlider(0)->GetPos());
    EXPECT_EQ(3, slider.GetSlider(0)->GetResetValue());
    EXPECT_TRUE(slider.IsWindowEnabled());

    mixer.NotifyListeners(kVolume, 1);
    mixer.NotifyListeners(kMute, 1);
    EXPECT_EQ(0, slider.GetSlider(0)->GetResetValue());
    EXPECT_FALSE(slider.IsWindowEnabled());
    EXPECT_FALSE(slider.GetSlider(0)->IsWindowEnabled());
    EXPECT_FALSE(mute.IsWindowEnabled());
}

TEST_F(MixerControlsTest, SwitchesWriteEveryChannelOrTheirItem) {
    // A mute switch on a stereo line: both channels follow the box.
    CMixerButton mute(&mixer, kMaster, kMute);
    ASSERT_TRUE(mute.Create("", 0x50011003, CRect(10, 10, 45, 30), *host, 1128));
    EXPECT_EQ("C11", mute.GetWindowText());
    Click(mute);
    EXPECT_EQ((std::vector<DWORD>{1, 1}), Device(kMute));
    EXPECT_EQ(1u, host->commands.size()); // the parent still sees the click

    // Every notification of the control reaches the parent, changed or not.
    mixer.NotifyListeners(kMute, 0);
    mixer.NotifyListeners(kMute, 0);
    ASSERT_EQ(2u, host->notifies.size());
    const ControlHost::Notify& n = host->notifies[0];
    EXPECT_EQ(WPARAM(INT_PTR(-990)), n.wParam);
    EXPECT_EQ(UINT(-990), n.header.code);
    EXPECT_EQ(mute.m_hWnd, n.header.hwndFrom);
    EXPECT_EQ(1128u, n.header.idFrom);
    EXPECT_EQ(LOWORD(kMaster), n.lineId);
    EXPECT_EQ(kMute, n.controlId);
    Device(kMute) = {0, 0};
    mixer.NotifyListeners(kMute, 0);
    EXPECT_EQ(0, mute.GetCheck());

    // An item box of a multiplexer selects its item alone; of a mixer, the others stay.
    CMixerButton muxItem(&mixer, kRecord, kMux, 3, 2);
    CMixerButton mixerItem(&mixer, kRecord, kMixer, 3, 2);
    ASSERT_TRUE(muxItem.Create("", 0x50011003, CRect(10, 40, 45, 60), *host, 1030));
    ASSERT_TRUE(mixerItem.Create("", 0x50011003, CRect(50, 40, 85, 60), *host, 1031));
    EXPECT_EQ("C", muxItem.GetWindowText());
    EXPECT_EQ(0, muxItem.GetCheck());
    Click(muxItem);
    Click(mixerItem);
    EXPECT_EQ((std::vector<DWORD>{0, 0, 1}), Device(kMux));
    EXPECT_EQ((std::vector<DWORD>{1, 0, 1}), Device(kMixer));
    Click(mixerItem);
    EXPECT_EQ((std::vector<DWORD>{1, 0, 0}), Device(kMixer));
}

TEST_F(MixerControlsTest, MultiplexerButtonsFollowTheDevice) {
    CMixerMuxControl mux(&mixer, kRecord, kMux);
    ASSERT_TRUE(mux.Create("Mux", WS_CHILD | WS_VISIBLE, CRect(10, 40, 80, 210), *host, 1096));
    ASSERT_EQ(3u, mux.GetItemCount());
    const int band = 170 / 3;
    for (size_t i = 0; i < 3; ++i) {
        CCoolButton& item = *mux.GetItem(i);
        EXPECT_EQ(int(1024 + i), item.GetDlgCtrlID());
        EXPECT_EQ(std::string(1, char('A' + i)), item.GetWindowText());
        CRect r = item.GetWindowRect();
        ::MapWindowPoints(nullptr, mux, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(CRect(2, int(i) * band + 2, 68, int(i + 1) * band - 2), r);
        EXPECT_EQ(i == 0 ? 1 : 0, item.GetCheck());
    }

    mux.GetItem(1)->SendMessage(BM_CLICK);
    EXPECT_EQ((std::vector<DWORD>{0, 1, 0}), Device(kMux));
    Device(kMux) = {0, 0, 1};
    mixer.NotifyListeners(kMux, 0);
    EXPECT_EQ(0, mux.GetItem(1)->GetCheck());
    EXPECT_EQ(1, mux.GetItem(2)->GetCheck());

    HFONT font = HFONT(::GetStockObject(ANSI_FIXED_FONT));
    mux.SendMessage(WM_SETFONT, WPARAM(font), FALSE);
    EXPECT_EQ(LRESULT(font), mux.GetItem(2)->SendMessage(WM_GETFONT));
}

TEST_F(MixerControlsTest, NothingReachesAControlWhoseWindowOrObjectIsGone) {
    auto slider = std::make_unique<CMixerSliderEx>(&mixer, kMaster, kVolume, kPeak, 0);
    auto mute = std::make_unique<CMixerButton>(&mixer, kMaster, kMute);
    auto mux = std::make_unique<CMixerMuxControl>(&mixer, kRecord, kMux);
    ASSERT_TRUE(slider->Create("", WS_CHILD | WS_VISIBLE, kStereoRect, *host, 1001));
    ASSERT_TRUE(mute->Create("", 0x50011003, CRect(60, 10, 95, 30), *host, 1128));
    ASSERT_TRUE(mux->Create("", WS_CHILD | WS_VISIBLE, CRect(100, 10, 170, 180), *host, 1096));
    // Attaching again registers once.
    mute->Attach(&mixer, kMaster, kMute);
    mixer.NotifyListeners(kMute, 0);
    EXPECT_EQ(1u, host->notifies.size());

    slider->DestroyWindow();
    mute->DestroyWindow();
    mux->DestroyWindow();
    EXPECT_EQ(0, mixer.NotifyListeners(kVolume, 0));
    EXPECT_EQ(0, mixer.NotifyListeners(kMute, 0));
    EXPECT_EQ(0, mixer.NotifyListeners(kMux, 0));
    EXPECT_EQ(0u, mixer.GetTimerId()); // the meter is no longer polled

    // An object deleted while its window lives takes the window and its registration along.
    {
        CMixerButton item(&mixer, kRecord, kMixer, 3, 0);
        ASSERT_TRUE(item.Create("", 0x50011003, CRect(10, 40, 45, 60), *host, 1030));
    }
    EXPECT_EQ(0, mixer.NotifyListeners(kMixer, 0));
    EXPECT_EQ(nullptr, ::GetDlgItem(*host, 1030));
}

// A page hands its colours to the slider group before it attaches the group to its line:
// the sliders made then take them too.
TEST_F(MixerControlsTest, SlidersMadeWhenAttachedTakeTheGroupsColours) {
    CMixerSliderEx slider;
    ASSERT_TRUE(slider.Create("", WS_CHILD | WS_VISIBLE, kStereoRect, *host, 1001));
    slider.SetColor(CoolColors::Lum, 0x3080C0);
    ASSERT_EQ(1, slider.Attach(&mixer, kMaster, kVolume));
    for (int i = 0; i < 2; ++i) {
        ASSERT_NE(nullptr, slider.GetSlider(i));
        EXPECT_EQ(slider.GetSlider(i)->GetColor(CoolColors::Lum), COLORREF(0x3080C0)) << i;
    }
}

TEST_F(MixerControlsTest, BackgroundQuestionsGoToTheParent) {
    CMixerSliderEx slider(&mixer, kMaster, kVolume, 0, 0);
    ASSERT_TRUE(slider.Create("", WS_CHILD | WS_VISIBLE, kStereoRect, *host, 1001));
    CCoolBitmap* bitmap = nullptr;
    RECT screen = {};
    EXPECT_EQ(1, slider.SendMessage(WM_COOL_GETBKBITMAP, 0, LPARAM(&bitmap)));
    EXPECT_EQ(host->background, bitmap);
    EXPECT_EQ(1, slider.SendMessage(WM_COOL_GETSCREENRECT, 0, LPARAM(&screen)));
    EXPECT_EQ(CRect(host->screen), CRect(screen));
    EXPECT_EQ(0, slider.SendMessage(WM_COOL_GETBKBITMAP, 0, 0));

    CMixerSliderEx orphan;
    EXPECT_EQ(0, orphan.GetBackgroundBitmap(&bitmap));
}
} // namespace
