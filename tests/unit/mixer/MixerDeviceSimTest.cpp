// The mixer model against the simulated card through the driver table: the tree the card
// reports, quantised writes, change notification within and across processes, meters.
#include "MixerApi.h"
#include "MixerDevice.h"
#include "Pump.h"
#include "SimCard.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <string>

namespace {
constexpr DWORD kMasterLine = 0xFFFF0000, kWaveLine = 0x00000000, kMicLine = 0x00050000;
constexpr DWORD kRecordLine = 0xFFFF0001;
constexpr DWORD kStep = 65535 / 31; // volume steps are about this far apart

// The ID of the first control of a type on a line (0 when there is none).
DWORD ControlOf(CMixer& mixer, DWORD lineId, DWORD type) {
    MIXERLINEA* line = nullptr;
    if (!mixer.FindLine(lineId, &line)) return 0;
    for (int d = 0; d < mixer.GetDestinationCount(); ++d)
        for (int s = -1; s < mixer.GetSourceCount(d); ++s) {
            MIXERLINEA* candidate = nullptr;
            if (!mixer.GetLine(d, s, &candidate) || candidate != line) continue;
            MixerControlRecord* record = nullptr;
            for (int k = 0; mixer.GetLineControl(d, s, k, &record); ++k)
                if (record->control.dwControlType == type) return record->control.dwControlID;
        }
    return 0;
}

bool OnStep(DWORD value) {
    DWORD step = (value * 31 + 65535 / 2) / 65535;
    DWORD grid = (step * 65535 * 2 + 31) / 62;
    return value == grid;
}

class MixerDeviceSimTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { UseSimulatedCard(); }
    void SetUp() override {
        ASSERT_TRUE(ResetSimulatedCard());
        ASSERT_EQ(1, mixer.Open("Quenda Wave", 1, 104));
        PumpPending();
        masterVolume = ControlOf(mixer, kMasterLine, MIXERCONTROL_CONTROLTYPE_VOLUME);
        masterMute = ControlOf(mixer, kMasterLine, MIXERCONTROL_CONTROLTYPE_MUTE);
        masterPeak = ControlOf(mixer, kMasterLine, MIXERCONTROL_CONTROLTYPE_PEAKMETER);
        waveVolume = ControlOf(mixer, kWaveLine, MIXERCONTROL_CONTROLTYPE_VOLUME);
        waveMute = ControlOf(mixer, kWaveLine, MIXERCONTROL_CONTROLTYPE_MUTE);
        wavePeak = ControlOf(mixer, kWaveLine, MIXERCONTROL_CONTROLTYPE_PEAKMETER);
        mux = ControlOf(mixer, kRecordLine, MIXERCONTROL_CONTROLTYPE_MUX);
        recordPeak = ControlOf(mixer, kRecordLine, MIXERCONTROL_CONTROLTYPE_PEAKMETER);
        ASSERT_TRUE(masterVolume && masterMute && masterPeak && waveVolume && waveMute &&
                    wavePeak && mux && recordPeak);
    }
    void TearDown() override { EXPECT_TRUE(boxes.boxes.empty()); }

    std::pair<LONG, LONG> Meter(DWORD id) {
        LONG left = -1, right = -1;
        EXPECT_EQ(1, mixer.GetStereo(id, &left, &right));
        return {left, right};
    }

    BoxCapture boxes;
    CMixerDevice mixer;
    DWORD masterVolume = 0, masterMute = 0, masterPeak = 0, waveVolume = 0, waveMute = 0,
          wavePeak = 0, mux = 0, recordPeak = 0;
};

TEST_F(MixerDeviceSimTest, TreeAsTheCardReportsIt) {
    EXPECT_STREQ("Quenda Wave", mixer.GetName());
    ASSERT_EQ(2, mixer.GetDestinationCount());
    EXPECT_STREQ("Master Volume", mixer.GetDestinationName(0));
    EXPECT_STREQ("Recording Control", mixer.GetDestinationName(1));
    EXPECT_EQ(8, mixer.GetSourceCount(0));
    EXPECT_EQ(6, mixer.GetSourceCount(1));
    EXPECT_EQ(26u, mixer.GetControlMap().GetCount());
    EXPECT_EQ(15u, mixer.GetLineMap().GetCount()); // every line but the PC speaker

    MIXERLINEA* speaker = nullptr;
    ASSERT_EQ(1, mixer.GetLine(0, 7, &speaker));
    EXPECT_STREQ("PC Speaker", speaker->szName);
    EXPECT_TRUE(IsLineUnavailable(*speaker));
    EXPECT_EQ(0, mixer.FindLine(0x00070000, nullptr));

    MixerControlRecord* record = nullptr;
    ASSERT_EQ(1, mixer.FindControl(mux, &record));
    EXPECT_EQ(6u, record->count);
    MIXERCONTROLDETAILS* texts = nullptr;
    ASSERT_EQ(1, mixer.FindListText(mux, &texts));
    ASSERT_NE(nullptr, texts);
    auto* items = static_cast<MIXERCONTROLDETAILS_LISTTEXTA*>(texts->paDetails);
    for (int s = 0; s < 6; ++s) {
        MIXERLINEA* source = nullptr;
        ASSERT_EQ(1, mixer.GetLine(1, s, &source));
        EXPECT_STREQ(source->szName, items[s].szName);
        EXPECT_EQ(source->dwLineID, items[s].dwParam1);
        EXPECT_EQ(source->dwComponentType, items[s].dwParam2);
    }
    ASSERT_EQ(
        1, mixer.FindControl(ControlOf(mixer, kMicLine, MIXERCONTROL_CONTROLTYPE_VOLUME), &record));
    EXPECT_EQ(1u, record->count);
    ASSERT_EQ(1, mixer.FindControl(masterMute, &record));
    EXPECT_EQ(1u, record->count);

    // First run: volumes at about three quarters, nothing muted, "Stereo Mix" recording.
    DWORD left = 0, right = 0;
    ASSERT_EQ(1, mixer.GetStereo(masterVolume, &left, &right));
    EXPECT_NEAR(65535 * 3 / 4, left, 65535 / 20);
    EXPECT_EQ(left, right);
    BOOL muted = TRUE;
    ASSERT_EQ(1, mixer.GetValue(waveMute, &muted));
    EXPECT_FALSE(muted);
    BOOL selected[6] = {};
    ASSERT_EQ(1, mixer.GetValues(mux, selected, sizeof(selected)));
    EXPECT_TRUE(selected[0]);
    EXPECT_EQ(1, selected[0] + selected[1] + selected[2] + selected[3] + selected[4] + selected[5]);
}

TEST_F(MixerDeviceSimTest, VolumesAreQuantised) {
    ASSERT_EQ(1, mixer.SetStereo(waveVolume, DWORD(1000), DWORD(40000)));
    DWORD left = 1, right = 0;
    ASSERT_EQ(1, mixer.GetStereo(waveVolume, &left, &right));
    EXPECT_EQ(0u, left); // nearer to the bottom step than to the next
    EXPECT_TRUE(OnStep(right)) << right;
    EXPECT_LE(std::abs(LONG(right) - 40000), LONG(kStep / 2 + 1));

    const DWORD tooLoud[2] = {70000, 65535};
    ASSERT_EQ(1, mixer.SetValues(waveVolume, tooLoud, sizeof(tooLoud)));
    ASSERT_EQ(1, mixer.GetStereo(waveVolume, &left, &right));
    EXPECT_EQ(65535u, left);
    EXPECT_EQ(65535u, right);
}

TEST_F(MixerDeviceSimTest, MultiplexerKeepsExactlyOneSource) {
    const DWORD none[6] = {};
    EXPECT_EQ(0, mixer.SetValues(mux, none, sizeof(none)));
    DWORD values[6] = {};
    ASSERT_EQ(1, mixer.GetValues(mux, values, sizeof(values)));
    EXPECT_EQ((std::vector<DWORD>{1, 0, 0, 0, 0, 0}), std::vector<DWORD>(values, values + 6));

    const DWORD two[6] = {0, 0, 1, 1, 0, 0};
    ASSERT_EQ(1, mixer.SetValues(mux, two, sizeof(two)));
    ASSERT_EQ(1, mixer.GetValues(mux, values, sizeof(values)));
    EXPECT_EQ((std::vector<DWORD>{0, 0, 1, 0, 0, 0}), std::vector<DWORD>(values, values + 6));
}

TEST_F(MixerDeviceSimTest, ChangesAreNotifiedOncePerChange) {
    RecordingSink volume, mute;
    ASSERT_EQ(1, mixer.AddListener(waveVolume, &volume));
    ASSERT_EQ(1, mixer.AddListener(waveMute, &mute));

    ASSERT_EQ(1, mixer.SetStereo(waveVolume, DWORD(20000), DWORD(20000)));
    ASSERT_TRUE(PumpUntil([&] { return volume.calls.size() == 1; }));
    EXPECT_EQ(0, volume.calls[0].second);

    // Writing what the card already holds (after quantisation) changes nothing.
    ASSERT_EQ(1, mixer.SetStereo(waveVolume, DWORD(20001), DWORD(20001)));
    ASSERT_EQ(1, mixer.SetValue(waveMute, BOOL(TRUE)));
    ASSERT_TRUE(PumpUntil([&] { return mute.calls.size() == 1; }));
    EXPECT_EQ(1u, volume.calls.size());
}

TEST_F(MixerDeviceSimTest, ChangeFromAnotherProgramReachesTheListener) {
    RecordingSink sink;
    ASSERT_EQ(1, mixer.AddListener(masterVolume, &sink));
    char arguments[64];
    std::snprintf(arguments, sizeof(arguments), "set 0x%lX 30000 12345",
                  static_cast<unsigned long>(masterVolume));
    CtlResult ctl = RunCtl(arguments);
    ASSERT_EQ(0u, ctl.exitCode) << ctl.output;
    ASSERT_TRUE(PumpUntil([&] { return sink.CountOf(masterVolume) > 0; }));
    EXPECT_EQ(0, sink.calls[0].second);

    DWORD left = 0, right = 0;
    ASSERT_EQ(1, mixer.GetStereo(masterVolume, &left, &right));
    std::string printed = ctl.output; // the values ctl read back after its write
    while (!printed.empty() && std::isspace(static_cast<unsigned char>(printed.back())))
        printed.pop_back();
    EXPECT_EQ(std::to_string(left) + " " + std::to_string(right), printed);
    EXPECT_TRUE(OnStep(left) && OnStep(right));
}

TEST_F(MixerDeviceSimTest, MetersFollowWhatIsPlaying) {
    RecordingSink meter;
    ASSERT_EQ(1, mixer.AddListener(wavePeak, &meter));
    EXPECT_EQ(CMixerDevice::kMeterTimerId, mixer.GetTimerId());
    ASSERT_TRUE(PumpUntil([&] { return meter.calls.size() >= 3; }));

    // The signal moves.
    const auto first = Meter(wavePeak);
    EXPECT_GT(first.first, 0);
    EXPECT_GT(first.second, 0);
    EXPECT_TRUE(PumpUntil([&] { return Meter(wavePeak) != first; }));

    // Master follows Wave through the master volume.
    ASSERT_EQ(1, mixer.SetStereo(masterVolume, DWORD(0), DWORD(65535)));
    EXPECT_EQ(0, Meter(masterPeak).first);
    EXPECT_GT(Meter(masterPeak).second, 0);

    // Muting Wave silences both; "Stereo Mix" records nothing then, "Wave" still does.
    ASSERT_EQ(1, mixer.SetValue(waveMute, BOOL(TRUE)));
    EXPECT_EQ(std::make_pair(0L, 0L), Meter(wavePeak));
    EXPECT_EQ(std::make_pair(0L, 0L), Meter(masterPeak));
    EXPECT_EQ(std::make_pair(0L, 0L), Meter(recordPeak));
    const DWORD wave[6] = {0, 0, 0, 0, 0, 1};
    ASSERT_EQ(1, mixer.SetValues(mux, wave, sizeof(wave)));
    EXPECT_GT(Meter(recordPeak).first, 0);

    ASSERT_EQ(1, mixer.SetValue(waveMute, BOOL(FALSE)));
    const DWORD microphone[6] = {0, 1, 0, 0, 0, 0};
    ASSERT_EQ(1, mixer.SetValues(mux, microphone, sizeof(microphone)));
    EXPECT_EQ(std::make_pair(0L, 0L), Meter(recordPeak));

    ASSERT_EQ(1, mixer.RemoveListener(wavePeak, &meter));
    EXPECT_EQ(0u, mixer.GetTimerId());
}

TEST(MixerApiTest, BindsToADriverOnlyWhenItHasAllEightFunctions) {
    MixerApi api = WinmmMixerApi();
    EXPECT_FALSE(LoadMixerApi("no-such-driver.dll", &api));
    EXPECT_FALSE(LoadMixerApi("kernel32.dll", &api));
    EXPECT_EQ(WinmmMixerApi().Open, api.Open); // left untouched

    ::SetEnvironmentVariableA(kMixerDriverVariable, "kernel32.dll");
    InstallMixerApi(nullptr);
    EXPECT_EQ(WinmmMixerApi().GetNumDevs, CurrentMixerApi().GetNumDevs);

    UseSimulatedCard();
    const MixerApi& bound = CurrentMixerApi();
    HMODULE card = ::GetModuleHandleA("quendasim.dll");
    ASSERT_NE(nullptr, card);
    EXPECT_EQ(reinterpret_cast<void*>(::GetProcAddress(card, "mixerSetControlDetails")),
              reinterpret_cast<void*>(bound.SetControlDetails));
    EXPECT_EQ(1u, bound.GetNumDevs());
}
} // namespace
