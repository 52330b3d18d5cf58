// Presets against the simulated card: the exact bytes saved, and a save/load round trip that
// restores every control and tells every bound control to refresh.
#include "MixerDevice.h"
#include "PresetFiles.h"
#include "Pump.h"
#include "SimCard.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

class PresetSimTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { UseSimulatedCard(); }
    void SetUp() override {
        ASSERT_TRUE(ResetSimulatedCard());
        ASSERT_EQ(1, mixer.Open("Quenda Wave", 1, 104));
    }

    // A known state: each volume's channels at the ends of the range (which end by the ID),
    // every other mute on, the multiplexer on its third item.
    void WriteKnownState() {
        for (DWORD id : mixer.GetControlMap().Keys()) {
            MixerControlRecord* r = nullptr;
            ASSERT_TRUE(mixer.FindControl(id, &r));
            const DWORD high = id % 2 ? 0 : 65535, low = 65535 - high;
            switch (r->control.dwControlType) {
            case MIXERCONTROL_CONTROLTYPE_VOLUME:
                if (r->count == 2)
                    ASSERT_EQ(1, mixer.SetStereo(id, high, low));
                else
                    ASSERT_EQ(1, mixer.SetValue(id, high));
                break;
            case MIXERCONTROL_CONTROLTYPE_MUTE:
                ASSERT_EQ(1, mixer.SetValue(id, DWORD(id == 2 || id % 4 == 0 ? 1 : 0)));
                break;
            case MIXERCONTROL_CONTROLTYPE_MUX: {
                const DWORD items[6] = {0, 0, 1, 0, 0, 0};
                ASSERT_EQ(1, mixer.SetValues(id, items, sizeof(items)));
                break;
            }
            default:
                break;
            }
        }
    }

    std::map<DWORD, std::vector<DWORD>> ReadAll() {
        std::map<DWORD, std::vector<DWORD>> values;
        for (DWORD id : mixer.GetControlMap().Keys()) {
            MixerControlRecord* r = nullptr;
            mixer.FindControl(id, &r);
            if (r->IsMeter()) continue;
            std::vector<DWORD> v(r->count);
            EXPECT_EQ(1, mixer.GetValues(id, v.data(), DWORD(v.size() * 4)));
            values[id] = v;
        }
        return values;
    }

    CMixerDevice mixer;
    BoxCapture boxes;
};

TEST_F(PresetSimTest, SavedBytesFollowTheFormat) {
    WriteKnownState();
    TempPreset file;
    FILE* out = file.Open("w");
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(1, mixer.SaveSettings(out));
    std::fclose(out);

    // Controls 1..15 fall in bucket 0 and 16..26 in bucket 1, each bucket latest first;
    // the meters (3, 6, 20) are left out.
    const std::string expected = "Begin settings: Quenda Wave\t256\t1 104\r\n"
                                 "F\t1\t 0\t(Microphone Volume)\r\n"
                                 "E\t1\t 0\t(Line In Mute)\r\n"
                                 "D\t2\t 0 65535\t(Line In Volume)\r\n"
                                 "C\t1\t 1\t(CD Audio Mute)\r\n"
                                 "B\t2\t 0 65535\t(CD Audio Volume)\r\n"
                                 "A\t1\t 0\t(Rear Line Mute)\r\n"
                                 "9\t2\t 0 65535\t(Rear Line Volume)\r\n"
                                 "8\t1\t 1\t(SW Synth Mute)\r\n"
                                 "7\t2\t 0 65535\t(SW Synth Volume)\r\n"
                                 "5\t1\t 0\t(Wave Mute)\r\n"
                                 "4\t2\t 65535 0\t(Wave Volume)\r\n"
                                 "2\t1\t 1\t(Master Mute)\r\n"
                                 "1\t2\t 0 65535\t(Master Volume)\r\n"
                                 "1A\t2\t 65535 0\t(Wave Record Volume)\r\n"
                                 "19\t2\t 0 65535\t(Line In Record Volume)\r\n"
                                 "18\t2\t 65535 0\t(Aux Record Volume)\r\n"
                                 "17\t2\t 0 65535\t(CD Audio Record Volume)\r\n"
                                 "16\t1\t 65535\t(Microphone Record Volume)\r\n"
                                 "15\t2\t 0 65535\t(Stereo Mix Record Volume)\r\n"
                                 "13\t6\t 0 0 1 0 0 0\t(Recording Source)\r\n"
                                 "12\t1\t 0\t(Aux Mute)\r\n"
                                 "11\t2\t 0 65535\t(Aux Volume)\r\n"
                                 "10\t1\t 1\t(Microphone Mute)\r\n"
                                 "End settings: Quenda Wave\t256\t1 104\r\n";
    EXPECT_EQ(file.ReadBytes(), expected);
}

TEST_F(PresetSimTest, LoadRestoresEveryValueAndRefreshesBoundControls) {
    WriteKnownState();
    const auto saved = ReadAll();
    TempPreset file;
    FILE* out = file.Open("w");
    ASSERT_EQ(1, mixer.SaveSettings(out));
    std::fclose(out);

    // Another program changes everything back; the file brings it all back.
    ASSERT_TRUE(ResetSimulatedCard());
    PumpPending();
    ASSERT_NE(ReadAll(), saved);
    std::map<DWORD, RecordingSink> sinks;
    for (const auto& entry : saved)
        ASSERT_EQ(1, mixer.AddListener(entry.first, &sinks[entry.first]));

    FILE* in = file.Open("r");
    ASSERT_EQ(1, mixer.LoadSettings(in));
    std::fclose(in);
    EXPECT_EQ(ReadAll(), saved);
    for (const auto& entry : sinks) {
        ASSERT_FALSE(entry.second.calls.empty()) << entry.first;
        EXPECT_EQ(entry.second.calls.front(), std::make_pair(entry.first, 1));
    }
    for (auto& entry : sinks)
        mixer.RemoveListener(entry.first, &entry.second);

    // Saved once more, the loaded state gives the same file byte for byte.
    TempPreset again;
    out = again.Open("w");
    ASSERT_EQ(1, mixer.SaveSettings(out));
    std::fclose(out);
    EXPECT_EQ(again.ReadBytes(), file.ReadBytes());
}

} // namespace
