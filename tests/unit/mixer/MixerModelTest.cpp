// The mixer model against an in-process fake driver: how the tree is read, the maps and their
// order, the accessors' limits, the listener registry, the timer and the failure messages.
#include "FakeMixerDriver.h"
#include "MixerDevice.h"
#include "Pump.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {
constexpr DWORD kVolume = MIXERCONTROL_CONTROLTYPE_VOLUME;
constexpr DWORD kMute = MIXERCONTROL_CONTROLTYPE_MUTE;
constexpr DWORD kPeak = MIXERCONTROL_CONTROLTYPE_PEAKMETER;
constexpr DWORD kUniform = MIXERCONTROL_CONTROLF_UNIFORM;
constexpr DWORD kUnhandled = 0x20012277; // a switch type the program does not handle

// Playback with a stereo and a mono source and one unavailable source; recording with a
// five-item multiplexer that is not uniform (so it has ten values on a stereo line).
FakeDevice StandardDevice() {
    FakeDevice device;
    FakeLine play{0xFFFF0000, "Master", 2, {}, {}};
    play.controls = {{0x10, kVolume, 0, 0, {100, 200}, {}},
                     {0x11, kMute, kUniform, 0, {0}, {}},
                     {0x12, kPeak, 0, 0, {5, 6}, {}}};
    FakeLine wave{0x0, "Wave", 2, {}, {}};
    wave.controls = {{0x20, kVolume, 0, 0, {1, 2}, {}},
                     {0x21, kUnhandled, 0, 0, {}, {}},
                     {0x22, 0, 0, 0, {}, {}}};
    FakeLine mic{0x10000, "Mic", 1, {}, {}};
    mic.controls = {{0x30, kVolume, 0, 0, {7}, {}}};
    FakeLine unavailable{0x20000, "NA", 1, {}, {}};
    unavailable.controls = {{0x40, kVolume, 0, 0, {9}, {}}};
    play.sources = {wave, mic, unavailable};
    FakeLine record{0xFFFF0001, "Record", 2, {}, {}};
    record.controls = {{0x50,
                        MIXERCONTROL_CONTROLTYPE_MUX,
                        MIXERCONTROL_CONTROLF_MULTIPLE,
                        5,
                        {1, 0, 0, 0, 0, 0, 1, 0, 0, 0},
                        {"A", "B", "C", "D", "E"}}};
    device.destinations = {play, record};
    return device;
}

class MixerModelTest : public ::testing::Test {
protected:
    void SetUp() override { fake.devices = {StandardDevice()}; }
    FakeMixerDriver fake;
    BoxCapture boxes;
};

TEST_F(MixerModelTest, ReadsTheTreeAndMarksUnavailableLines) {
    CMixerDevice mixer;
    ASSERT_EQ(1, mixer.Open("Quenda Wave", 1, 104));
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(DWORD(CALLBACK_WINDOW), fake.openFlags);
    EXPECT_EQ(reinterpret_cast<DWORD_PTR>(mixer.GetCallbackWindow()), fake.openCallback);
    EXPECT_EQ(2, mixer.GetDestinationCount());
    EXPECT_STREQ("Master line", mixer.GetDestinationName(0));
    EXPECT_EQ(3, mixer.GetSourceCount(0));

    MIXERLINEA* line = nullptr;
    ASSERT_EQ(1, mixer.GetLine(0, 2, &line));
    EXPECT_TRUE(IsLineUnavailable(*line));
    EXPECT_EQ(0u, line->cControls);
    EXPECT_EQ(0, mixer.FindLine(0x20000, &line));
    EXPECT_EQ(0, mixer.FindControl(0x40, nullptr));
    MixerControlRecord* record = nullptr;
    EXPECT_EQ(0, mixer.GetLineControl(0, 2, 0, &record));

    ASSERT_EQ(1, mixer.FindLine(0x10000, &line));
    EXPECT_EQ(1u, line->cChannels);
    ASSERT_EQ(1, mixer.GetLine(0, -1, &line));
    EXPECT_EQ(0xFFFF0000u, line->dwLineID);

    // Values were read at Open.
    ASSERT_EQ(1, mixer.GetLineControl(0, 0, 0, &record));
    EXPECT_EQ(0x20u, record->control.dwControlID);
    EXPECT_EQ(2u, record->details.cChannels);
    EXPECT_EQ(1u, record->values[0]);
    EXPECT_EQ(2u, record->values[1]);
}

TEST_F(MixerModelTest, ValueCountsKindsAndListTexts) {
    CMixerDevice mixer;
    ASSERT_EQ(1, mixer.Open("Quenda Wave", 0, 0));
    MixerControlRecord* record = nullptr;

    ASSERT_EQ(1, mixer.FindControl(0x11, &record)); // uniform mute on a stereo line
    EXPECT_EQ(1u, record->count);
    EXPECT_EQ(1u, record->details.cChannels);
    EXPECT_EQ(DWORD(kMixerKindBoolean), record->kind);

    ASSERT_EQ(1, mixer.FindControl(0x50, &record)); // 5 items, not uniform, stereo
    EXPECT_EQ(10u, record->count);
    EXPECT_EQ(5u, record->details.cMultipleItems);
    EXPECT_EQ(sizeof(DWORD), record->details.cbDetails);
    EXPECT_EQ(DWORD(kMixerKindBoolean | kMixerKindListText), record->kind);
    MIXERCONTROLDETAILS* texts = nullptr;
    ASSERT_EQ(1, mixer.FindListText(0x50, &texts));
    ASSERT_NE(nullptr, texts);
    EXPECT_EQ(sizeof(MIXERCONTROLDETAILS_LISTTEXTA), texts->cbDetails);
    EXPECT_STREQ("E", static_cast<MIXERCONTROLDETAILS_LISTTEXTA*>(texts->paDetails)[4].szName);
    EXPECT_EQ(1u, record->values[6]);

    // A control of a type the program does not handle is known but has no buffers; a control
    // of type 0 (custom) is not known at all.
    ASSERT_EQ(1, mixer.FindControl(0x21, &record));
    EXPECT_EQ(DWORD(kMixerKindNone), record->kind);
    EXPECT_EQ(nullptr, record->values);
    texts = nullptr;
    EXPECT_EQ(1, mixer.FindListText(0x21, &texts));
    EXPECT_EQ(nullptr, texts);
    EXPECT_EQ(0, mixer.FindControl(0x22, nullptr));
    EXPECT_EQ(0, mixer.FindListText(0x22, &texts));
}

TEST_F(MixerModelTest, MapsEnumerateByBucketLatestFirst) {
    FakeDevice device;
    FakeLine line{0xFFFF0000, "Master", 2, {}, {}};
    for (DWORD id : {0x05u, 0x115u, 0x10u, 0x2000u, 0x03u, 0x121u, 0x01u})
        line.controls.push_back({id, kPeak, 0, 0, {0, 0}, {}});
    device.destinations = {line};
    fake.devices = {device};
    CMixerDevice mixer;
    ASSERT_EQ(1, mixer.Open(nullptr, 0, 0));
    // Buckets 0: 05 115 03 01, 1: 10 121, 2: 2000 (in the order entered).
    std::vector<DWORD> expected = {0x01, 0x03, 0x115, 0x05, 0x121, 0x10, 0x2000};
    EXPECT_EQ(expected, mixer.GetControlMap().Keys());

    // The meters are polled in the polled map's order, which follows registration.
    RecordingSink sink;
    for (DWORD id : {0x10u, 0x05u, 0x121u, 0x115u})
        ASSERT_EQ(1, mixer.AddListener(id, &sink));
    ASSERT_TRUE(PumpUntil([&] { return sink.calls.size() >= 4; }));
    std::vector<DWORD> polled;
    for (size_t i = 0; i < 4; ++i)
        polled.push_back(sink.calls[i].first);
    EXPECT_EQ((std::vector<DWORD>{0x115, 0x05, 0x121, 0x10}), polled);
    EXPECT_EQ(0, sink.calls[0].second);
}

TEST_F(MixerModelTest, DeviceSelection) {
    FakeDevice other = StandardDevice();
    other.pid = 105;
    fake.devices = {other, StandardDevice()};
    {
        CMixerDevice mixer;
        ASSERT_EQ(1, mixer.Open("Quenda Wave", 1, 104));
        EXPECT_EQ(std::vector<UINT>{1}, fake.opened);
    }
    // Letter case counts.
    fake.opened.clear();
    CMixerDevice mixer;
    EXPECT_EQ(0, mixer.Open("quenda wave", 0, 0));
    EXPECT_TRUE(fake.opened.empty());
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ("The specified audio mixer device could not be found:\n\n\tquenda wave",
              boxes.boxes[0].text);
    EXPECT_EQ(UINT(MB_ICONHAND), boxes.boxes[0].type);
}

TEST_F(MixerModelTest, OpenFailures) {
    fake.devices.clear();
    CMixerDevice none;
    EXPECT_EQ(0, none.Open("Quenda Wave", 1, 104));
    EXPECT_TRUE(boxes.boxes.empty()); // no devices: no message

    FakeDevice failing = StandardDevice();
    failing.failOpen = true;
    fake.devices = {failing, StandardDevice()};
    CMixerDevice mixer;
    EXPECT_EQ(0, mixer.Open("Quenda Wave", 1, 104));
    EXPECT_EQ(std::vector<UINT>{0}, fake.opened); // no other device is tried
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ("The specified audio mixer device could not be opened:\n\n\tQuenda Wave\n",
              boxes.boxes[0].text);
    EXPECT_EQ(UINT(MB_ICONHAND), boxes.boxes[0].type);
    EXPECT_EQ(0, mixer.GetDestinationCount());
    EXPECT_EQ(0, mixer.FindControl(0x10, nullptr));
}

TEST_F(MixerModelTest, DeviceWithoutDestinations) {
    FakeDevice empty;
    fake.devices = {empty};
    CMixerDevice mixer;
    EXPECT_EQ(1, mixer.Open("Quenda Wave", 1, 104));
    EXPECT_EQ(0, mixer.GetDestinationCount());
    MIXERLINEA* line = reinterpret_cast<MIXERLINEA*>(1);
    EXPECT_EQ(0, mixer.GetLine(0, -1, &line));
    EXPECT_EQ(nullptr, line);
    EXPECT_STREQ("", mixer.GetDestinationName(0));
    EXPECT_EQ(0, mixer.GetSourceCount(0));
}

TEST_F(MixerModelTest, UnavailableDestinationHasNoSources) {
    fake.devices[0].destinations[1].shortName = "NA";
    CMixerDevice mixer;
    ASSERT_EQ(1, mixer.Open("Quenda Wave", 1, 104));
    MIXERLINEA* line = nullptr;
    ASSERT_EQ(1, mixer.GetDestinationLine(1, &line));
    EXPECT_TRUE(IsLineUnavailable(*line));
    EXPECT_EQ(0, mixer.FindLine(0xFFFF0001, nullptr));
    EXPECT_EQ(0, mixer.FindControl(0x50, nullptr));
    MixerControlRecord* record = nullptr;
    EXPECT_EQ(0, mixer.GetDestinationControl(1, 0, &record));
    EXPECT_EQ(0, mixer.GetLine(1, 0, &line)); // the sources were never read
}

TEST_F(MixerModelTest, AccessorsStayInsideTheRecords) {
    CMixerDevice mixer;
    ASSERT_EQ(1, mixer.Open("Quenda Wave", 1, 104));

    // Unknown IDs and controls without values make no driver call.
    const int calls = fake.getDetails + fake.setDetails;
    DWORD value = 77;
    EXPECT_EQ(0, mixer.SetValue(0x999, DWORD(1)));
    EXPECT_EQ(0, mixer.GetValue(0x999, &value));
    EXPECT_EQ(0, mixer.SetAll(0x21, LONG(1)));
    EXPECT_EQ(0, mixer.GetStereo(0x21, &value, &value));
    EXPECT_EQ(calls, fake.getDetails + fake.setDetails);
    EXPECT_EQ(77u, value);

    // Stereo on a one-value control: one value written, both sides read it.
    ASSERT_EQ(1, mixer.SetStereo(0x30, DWORD(1000), DWORD(2000)));
    EXPECT_EQ(1u, fake.lastSet.cChannels);
    EXPECT_EQ(std::vector<DWORD>{1000}, fake.lastSetValues);
    DWORD left = 0, right = 0;
    ASSERT_EQ(1, mixer.GetStereo(0x30, &left, &right));
    EXPECT_EQ(1000u, left);
    EXPECT_EQ(1000u, right);

    // The byte length bounds the copy in both directions.
    DWORD out[3] = {11, 22, 33};
    ASSERT_EQ(1, mixer.GetValues(0x50, out, 2 * sizeof(DWORD)));
    EXPECT_EQ(1u, out[0]);
    EXPECT_EQ(0u, out[1]);
    EXPECT_EQ(33u, out[2]);
    const DWORD in[1] = {0};
    ASSERT_EQ(1, mixer.SetValues(0x50, in, sizeof(in)));
    EXPECT_EQ((std::vector<DWORD>{0, 0, 0, 0, 0, 0, 1, 0, 0, 0}), fake.lastSetValues);

    // SetAll fills every value; the groups write the same bits.
    ASSERT_EQ(1, mixer.SetAll(0x50, LONG(1)));
    EXPECT_EQ(std::vector<DWORD>(10, 1), fake.lastSetValues);
    ASSERT_EQ(1, mixer.SetStereo(0x10, LONG(-1), LONG(3)));
    EXPECT_EQ((std::vector<DWORD>{0xFFFFFFFF, 3}), fake.lastSetValues);
    LONG signedLeft = 0;
    BOOL boolRight = 0;
    ASSERT_EQ(1, mixer.GetValue(0x10, &signedLeft));
    EXPECT_EQ(-1, signedLeft);
    ASSERT_EQ(1, mixer.GetStereo(0x10, &boolRight, &boolRight));
    EXPECT_EQ(3, boolRight);

    // A failing driver: 0, and the buffer keeps what it held.
    fake.failDetails = true;
    EXPECT_EQ(0, mixer.SetValue(0x11, BOOL(1)));
    EXPECT_EQ(0, mixer.GetValue(0x11, &value));
    MixerControlRecord* record = nullptr;
    ASSERT_EQ(1, mixer.FindControl(0x10, &record));
    EXPECT_EQ(3u, record->values[1]);
}

TEST_F(MixerModelTest, ListenerRegistry) {
    CMixerDevice mixer;
    ASSERT_EQ(1, mixer.Open("Quenda Wave", 1, 104));
    RecordingSink first, second, third;

    EXPECT_EQ(0, mixer.NotifyListeners(0x10, 0));   // nobody listens yet
    EXPECT_EQ(0, mixer.AddListener(0x999, &first)); // unknown control: not registered
    EXPECT_EQ(1, mixer.RemoveListener(0x999, &first));

    ASSERT_EQ(1, mixer.AddListener(0x10, &first));
    ASSERT_EQ(1, mixer.AddListener(0x10, &second));
    ASSERT_EQ(1, mixer.AddListener(0x10, &first)); // twice: called twice
    ASSERT_EQ(1, mixer.AddListener(0x10, &third));
    EXPECT_EQ(0, mixer.NotifyListeners(0x11, 0));
    RecordingSink stranger;
    EXPECT_EQ(0, mixer.RemoveListener(0x10, &stranger));

    // The first call removes the caller and the third listener: the third is not called.
    bool removed = false;
    first.onChange = [&](DWORD id) {
        if (removed) return;
        removed = true;
        mixer.RemoveListener(id, &first);
        mixer.RemoveListener(id, &third);
    };
    EXPECT_EQ(1, mixer.NotifyListeners(0x10, 1));
    EXPECT_EQ(2u, first.calls.size()); // its second registration is still there
    EXPECT_EQ(1u, second.calls.size());
    EXPECT_TRUE(third.calls.empty());
    EXPECT_EQ(1, first.calls[0].second);

    EXPECT_EQ(1, mixer.RemoveListener(0x10, &first));
    EXPECT_EQ(1, mixer.RemoveListener(0x10, &second));
    EXPECT_EQ(1, mixer.RemoveListener(0x10, &second)); // the ID has no listeners left
    EXPECT_EQ(0, mixer.NotifyListeners(0x10, 0));
}

TEST_F(MixerModelTest, MeterTimerRunsWhileMetersAreBound) {
    CMixerDevice mixer;
    ASSERT_EQ(1, mixer.Open("Quenda Wave", 1, 104));
    RecordingSink volume, meterA, meterB;
    ASSERT_EQ(1, mixer.AddListener(0x10, &volume));
    EXPECT_EQ(0u, mixer.GetTimerId());

    ASSERT_EQ(1, mixer.AddListener(0x12, &meterA));
    EXPECT_EQ(CMixerDevice::kMeterTimerId, mixer.GetTimerId());
    ASSERT_EQ(1, mixer.AddListener(0x12, &meterB));
    ASSERT_TRUE(PumpUntil([&] { return meterA.calls.size() >= 2 && meterB.calls.size() >= 2; }));
    EXPECT_TRUE(volume.calls.empty()); // change listeners are never polled
    // Meters are not notified through change messages.
    EXPECT_EQ(0, mixer.NotifyListeners(0x12, 0));

    ASSERT_EQ(1, mixer.RemoveListener(0x12, &meterA));
    EXPECT_EQ(CMixerDevice::kMeterTimerId, mixer.GetTimerId());
    ASSERT_EQ(1, mixer.RemoveListener(0x12, &meterB));
    EXPECT_EQ(0u, mixer.GetTimerId());
    const size_t polled = meterB.calls.size();
    // Four intervals pass without a poll.
    EXPECT_FALSE(PumpUntil([&] { return meterB.calls.size() > polled; }, 4 * 50));
}

TEST_F(MixerModelTest, ChangeMessagesForOtherHandlesAreIgnored) {
    CMixerDevice mixer;
    ASSERT_EQ(1, mixer.Open("Quenda Wave", 1, 104));
    HWND window = mixer.GetCallbackWindow();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ("wss cb", CWnd::FromHandle(window)->GetWindowText());
    EXPECT_FALSE(::IsWindowVisible(window));
    RecordingSink sink;
    ASSERT_EQ(1, mixer.AddListener(0x10, &sink));

    ::PostMessageA(window, MM_MIXM_CONTROL_CHANGE, FakeMixerDriver::kHandle + 1, 0x10);
    ::PostMessageA(window, MM_MIXM_LINE_CHANGE, FakeMixerDriver::kHandle, 0xFFFF0000);
    ::PostMessageA(window, MM_MIXM_CONTROL_CHANGE, FakeMixerDriver::kHandle, 0x10);
    ASSERT_TRUE(PumpUntil([&] { return !sink.calls.empty(); }));
    PumpPending();
    ASSERT_EQ(1u, sink.calls.size());
    EXPECT_EQ(0x10u, sink.calls[0].first);
    EXPECT_EQ(0, sink.calls[0].second);
}

LRESULT CALLBACK RefuseCallbackWindow(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        auto* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
        if (create->lpcs->lpszName && !IS_INTRESOURCE(create->lpcs->lpszName) &&
            std::string(create->lpcs->lpszName) == "wss cb")
            return 1;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(MixerModelTest, OpenGoesOnWithoutCallbackWindow) {
    HHOOK hook =
        ::SetWindowsHookExA(WH_CBT, &RefuseCallbackWindow, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    CMixerDevice mixer;
    int opened = mixer.Open("Quenda Wave", 1, 104);
    ::UnhookWindowsHookEx(hook);

    EXPECT_EQ(1, opened);
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ("Error creating Callback Window Handle", boxes.boxes[0].text);
    EXPECT_EQ(UINT(MB_OK), boxes.boxes[0].type);
    EXPECT_EQ(nullptr, mixer.GetCallbackWindow());
    EXPECT_EQ(DWORD(CALLBACK_NULL), fake.openFlags);
    EXPECT_EQ(1, mixer.SetStereo(0x10, DWORD(1), DWORD(2)));
    RecordingSink meter;
    EXPECT_EQ(1, mixer.AddListener(0x12, &meter));
    EXPECT_EQ(0u, mixer.GetTimerId());
}

TEST_F(MixerModelTest, ReopenReplacesTheTreeAndCloseFollowsTheObject) {
    {
        CMixerDevice mixer;
        ASSERT_EQ(1, mixer.Open("Quenda Wave", 1, 104));
        fake.devices[0].destinations.pop_back(); // the recording side disappears
        ASSERT_EQ(1, mixer.Open("Quenda Wave", 1, 104));
        EXPECT_EQ(1, fake.closes);
        EXPECT_EQ(1, mixer.GetDestinationCount());
        EXPECT_EQ(0, mixer.FindControl(0x50, nullptr));
        EXPECT_EQ(1, mixer.FindControl(0x10, nullptr));

        ASSERT_EQ(1, mixer.DisableLine(0x10000));
        EXPECT_EQ(0, mixer.DisableLine(0x10000));
        MIXERLINEA* line = nullptr;
        ASSERT_EQ(1, mixer.GetLine(0, 1, &line));
        EXPECT_TRUE(IsLineUnavailable(*line));
    }
    EXPECT_EQ(2, fake.closes);
}
} // namespace
