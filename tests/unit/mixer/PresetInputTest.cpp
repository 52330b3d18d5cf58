// Reading presets that come from users and other machines: every good line is applied, a bad
// one is skipped, and nothing reaches the driver that the device does not have.
#include "FakeMixerDriver.h"
#include "MixerDevice.h"
#include "PresetFiles.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {
constexpr DWORD kVolume = MIXERCONTROL_CONTROLTYPE_VOLUME;
constexpr DWORD kMute = MIXERCONTROL_CONTROLTYPE_MUTE;
constexpr DWORD kPeak = MIXERCONTROL_CONTROLTYPE_PEAKMETER;
constexpr DWORD kPan = MIXERCONTROL_CONTROLTYPE_PAN;

// Checks every write the reader makes: it must be one of the device's own records, with the
// details the model built for it.
class CheckedMixer : public CMixerDevice {
public:
    std::vector<DWORD> writes;
    int strayWrites = 0;
    int SetDetails(MixerControlRecord* record) override {
        MixerControlRecord* own = nullptr;
        if (!record || !FindControl(record->control.dwControlID, &own) || own != record ||
            record->details.paDetails != record->values.get() || record->details.cbDetails != 4)
            ++strayWrites;
        else
            writes.push_back(record->control.dwControlID);
        return CMixerDevice::SetDetails(record);
    }
};

FakeDevice Device() {
    FakeDevice device;
    FakeLine play{0xFFFF0000, "Master", 2, {}, {}};
    play.controls = {{0x10, kVolume, 0, 0, {100, 200}, {}},
                     {0x11, kMute, MIXERCONTROL_CONTROLF_UNIFORM, 0, {0}, {}},
                     {0x12, kPeak, 0, 0, {5, 6}, {}},
                     {0x13, kPan, 0, 0, {0, 0}, {}}};
    FakeLine mic{0x10000, "Mic", 1, {}, {}};
    mic.controls = {{0x30, kVolume, 0, 0, {7}, {}}};
    play.sources = {mic};
    device.destinations = {play};
    return device;
}

class PresetInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake.devices = {Device()};
        ASSERT_EQ(1, mixer.Open("Quenda Wave", 1, 104));
        // Bounds the reader fits values into.
        MixerControlRecord* r = nullptr;
        for (DWORD id : {0x10u, 0x30u}) {
            ASSERT_TRUE(mixer.FindControl(id, &r));
            r->control.Bounds.dwMinimum = 0;
            r->control.Bounds.dwMaximum = 65535;
        }
        ASSERT_TRUE(mixer.FindControl(0x13, &r));
        r->control.Bounds.lMinimum = -32768;
        r->control.Bounds.lMaximum = 32767;
    }

    int Load(const std::string& bytes) {
        file.WriteBytes(bytes);
        FILE* in = file.Open("r");
        EXPECT_NE(in, nullptr);
        int result = mixer.LoadSettings(in);
        std::fclose(in);
        EXPECT_EQ(mixer.strayWrites, 0);
        return result;
    }
    std::vector<DWORD> Values(DWORD id) {
        MixerControlRecord* r = nullptr;
        if (!mixer.FindControl(id, &r)) return {};
        return std::vector<DWORD>(r->values.get(), r->values.get() + r->count);
    }

    FakeMixerDriver fake;
    CheckedMixer mixer;
    TempPreset file;
    BoxCapture boxes;
};

const std::string kBegin = "Begin settings: Quenda Wave\t256\t1 104\n";
const std::string kEnd = "End settings: Quenda Wave\t256\t1 104\n";

TEST_F(PresetInputTest, EmptyHeaderOnlyAndJunkApplyNothing) {
    EXPECT_EQ(1, Load(""));
    EXPECT_EQ(1, Load(kBegin));
    EXPECT_EQ(1, Load(kBegin + kEnd));
    std::string junk;
    std::mt19937 random(7);
    for (int i = 0; i < 4000; ++i)
        junk += char(random() & 0xFF);
    EXPECT_EQ(1, Load(junk));
    EXPECT_EQ(1, Load(kBegin + junk));
    EXPECT_EQ(1, Load("10\t2\t 1 2\t(no header)\n"));
    EXPECT_TRUE(mixer.writes.empty());
    EXPECT_EQ(0, mixer.LoadSettings(nullptr));
    EXPECT_EQ(0, mixer.SaveSettings(nullptr));
}

TEST_F(PresetInputTest, GoodLinesAreAppliedAroundBadOnes) {
    EXPECT_EQ(1, Load(kBegin +
                      "\n"                                 // no token
                      "   \t \n"                           // blanks only
                      "zz\t2\t 1 2\t(not hex)\n"           // no control ID
                      "10\n"                               // no count
                      "10\t2\n"                            // no values
                      "99\t2\t 1 2\t(unknown)\n"           // not on this device
                      "12\t2\t 9 9\t(a meter)\n"           // meters are not set from files
                      "30\t2\t 1 2\t(count differs)\n"     // mono control, two values
                      "10 2 3000 4000 (spaces, no tabs)\n" // still readable
                      "11\t1\t 1\t(Mute)\n" +
                      kEnd + "30\t1\t 9\t(after the end)\n"));
    EXPECT_EQ(mixer.writes, (std::vector<DWORD>{0x10, 0x11}));
    EXPECT_EQ(Values(0x10), (std::vector<DWORD>{3000, 4000}));
    EXPECT_EQ(Values(0x11), (std::vector<DWORD>{1}));
    EXPECT_EQ(Values(0x30), (std::vector<DWORD>{7}));
    EXPECT_EQ(fake.Find(0x10)->values, (std::vector<DWORD>{3000, 4000}));
}

TEST_F(PresetInputTest, LinesWithoutValuesLeaveTheDeviceAlone) {
    // Another program changed the volume since the buffer was read.
    fake.Find(0x10)->values = {5000, 6000};
    RecordingSink sink;
    ASSERT_EQ(1, mixer.AddListener(0x10, &sink));
    EXPECT_EQ(1, Load(kBegin + "10\t2\t\n"                 // count, then nothing
                      + "10\t2\t\t(Master Volume)\n"       // a name but no values
                      + "10\t2\t x -\t(Master Volume)\n" + // nothing that is a number
                      kEnd));
    EXPECT_TRUE(mixer.writes.empty());
    EXPECT_TRUE(sink.calls.empty());
    EXPECT_EQ(fake.Find(0x10)->values, (std::vector<DWORD>{5000, 6000}));
    mixer.RemoveListener(0x10, &sink);
}

TEST_F(PresetInputTest, MixerSectionBeforeTheStreamPositionIsFoundFromTheStart) {
    // The card keys come after the mixer section: the last lookup leaves the stream behind it.
    file.WriteBytes(kBegin + "11\t1\t 1\t(Mute)\n" + kEnd +
                    "Begin NonWSS Settings: Quenda Wave\t256\t1 104\n"
                    "SpeakerVolCenter 0\n");
    FILE* in = file.Open("r");
    ASSERT_NE(in, nullptr);
    int value = -1;
    ASSERT_EQ(1, mixer.FindKey(in, "SpeakerVolCenter", &value, 0, sizeof(value)));
    EXPECT_EQ(1, mixer.LoadSettings(in));
    std::fclose(in);
    EXPECT_EQ(mixer.writes, (std::vector<DWORD>{0x11}));
    EXPECT_EQ(Values(0x11), (std::vector<DWORD>{1}));
}

TEST_F(PresetInputTest, NumbersAreReadInEveryFormAndFittedToTheControl) {
    Load(kBegin + "10\t2\t 0x20 010\t(hex and octal)\n");
    EXPECT_EQ(Values(0x10), (std::vector<DWORD>{32, 8}));
    Load(kBegin + "10\t2\t -5 99999999999999999999\t(out of range)\n11\t1\t 7\t(Mute)\n" +
         "13\t2\t -40000 40000\t(pan)\n");
    EXPECT_EQ(Values(0x10), (std::vector<DWORD>{0, 65535}));
    EXPECT_EQ(Values(0x11), (std::vector<DWORD>{1}));
    EXPECT_EQ(Values(0x13), (std::vector<DWORD>{DWORD(-32768), 32767}));
}

TEST_F(PresetInputTest, UnsignedValuesAboveTheSignedRangeComeBack) {
    // Written as signed numbers, read back as the bits they were.
    MixerControlRecord* r = nullptr;
    ASSERT_TRUE(mixer.FindControl(0x10, &r));
    r->control.Bounds.dwMaximum = 0xFFFFFFFF;
    ASSERT_EQ(1, mixer.SetStereo(0x10, DWORD(0xFFFFFFFF), DWORD(0x80000000)));
    FILE* out = file.Open("w");
    ASSERT_EQ(1, mixer.SaveSettings(out));
    std::fclose(out);
    EXPECT_NE(file.ReadBytes().find("10\t2\t -1 -2147483648\t"), std::string::npos);
    ASSERT_EQ(1, mixer.SetStereo(0x10, DWORD(1), DWORD(2)));
    FILE* in = file.Open("r");
    ASSERT_EQ(1, mixer.LoadSettings(in));
    std::fclose(in);
    EXPECT_EQ(fake.Find(0x10)->values, (std::vector<DWORD>{0xFFFFFFFF, 0x80000000}));
    // Below a range that ends lower, a negative number still means the bottom.
    r->control.Bounds.dwMaximum = 0x7FFFFFFF;
    Load(kBegin + "10\t2\t -1 -2147483648\t(Master)\n");
    EXPECT_EQ(Values(0x10), (std::vector<DWORD>{0, 0}));
}

TEST_F(PresetInputTest, PartialLinesKeepTheRestAndRepeatedLinesApplyInTurn) {
    Load(kBegin + "10\t2\t 500\n");
    EXPECT_EQ(Values(0x10), (std::vector<DWORD>{500, 200}));
    // The whole buffer still goes to the device.
    EXPECT_EQ(fake.Find(0x10)->values, (std::vector<DWORD>{500, 200}));
    mixer.writes.clear();
    Load(kBegin + "10\t2\t 1 1\t(a)\n10\t2\t 2 2\t(b)\n");
    EXPECT_EQ(mixer.writes, (std::vector<DWORD>{0x10, 0x10}));
    EXPECT_EQ(Values(0x10), (std::vector<DWORD>{2, 2}));
}

TEST_F(PresetInputTest, LongLinesAreReadInPiecesWithoutHarm) {
    const std::string filler(10000, '7');
    EXPECT_EQ(1, Load(kBegin + "10\t2\t " + filler + " 5\t(long)\n" + std::string(10000, '\t') +
                      "\n" + "11\t1\t 1\t(Mute)\n"));
    EXPECT_EQ(Values(0x11), (std::vector<DWORD>{1}));
    // The long line's first piece held one huge number: fitted into the range.
    EXPECT_EQ(Values(0x10)[0], 65535u);
}

TEST_F(PresetInputTest, SavingAVeryWideControlWritesTheWholeLine) {
    FakeDevice wide;
    FakeLine line{0xFFFF0000, "Wide", 200, {}, {}};
    line.controls = {{0x10, kVolume, 0, 0, std::vector<DWORD>(200, 123456), {}}};
    wide.destinations = {line};
    fake.devices = {wide};
    CMixerDevice mixer2;
    ASSERT_EQ(1, mixer2.Open("Quenda Wave", 1, 104));
    FILE* out = file.Open("w");
    ASSERT_EQ(1, mixer2.SaveSettings(out));
    std::fclose(out);
    const std::string bytes = file.ReadBytes();
    std::string values;
    for (int i = 0; i < 200; ++i)
        values += " 123456";
    EXPECT_NE(bytes.find("10\t200\t" + values + "\t(Control 10)\r\n"), std::string::npos);
}

// The IDs of the control lines of a saved file that are still whole in a damaged copy and lie
// inside its mixer section, taking the lines as a text stream gives them to the reader: CR LF
// as LF, and pieces of at most 510 characters.
std::vector<DWORD> IntactLines(const std::string& saved, const std::string& damaged) {
    auto pieces = [](std::string bytes) {
        for (size_t at = 0; (at = bytes.find("\r\n", at)) != std::string::npos;)
            bytes.erase(at, 1);
        std::vector<std::string> result;
        for (size_t at = 0; at < bytes.size();) {
            size_t end = bytes.find('\n', at);
            end = end == std::string::npos ? bytes.size() : end + 1;
            const size_t length = std::min<size_t>(end - at, 510);
            result.push_back(bytes.substr(at, length));
            at += length;
        }
        return result;
    };
    const std::vector<std::string> good = pieces(saved);
    std::vector<DWORD> ids;
    bool inside = false;
    for (const std::string& piece : pieces(damaged)) {
        if (!inside) {
            inside = piece.compare(0, 14, "Begin settings") == 0;
            continue;
        }
        if (piece.compare(0, 12, "End settings") == 0) break;
        if (std::find(good.begin() + 1, good.end() - 1, piece) != good.end() - 1)
            ids.push_back(DWORD(std::strtoul(piece.c_str(), nullptr, 16)));
    }
    return ids;
}

TEST_F(PresetInputTest, RandomlyDamagedFilesNeverWriteStrayControls) {
    std::string good;
    {
        FILE* out = file.Open("w");
        ASSERT_EQ(1, mixer.SaveSettings(out));
        std::fclose(out);
        good = file.ReadBytes();
    }
    std::mt19937 random(20261207);
    const std::string alphabet = "0123456789ABCDEFx-+ \t\r\n()zQ";
    for (int round = 0; round < 300; ++round) {
        std::string damaged = good;
        const int edits = 1 + int(random() % 8);
        for (int e = 0; e < edits && !damaged.empty(); ++e) {
            const size_t at = random() % damaged.size();
            switch (random() % 4) {
            case 0:
                damaged[at] = alphabet[random() % alphabet.size()];
                break;
            case 1:
                damaged.erase(at, 1 + random() % 6);
                break;
            case 2:
                damaged.insert(at,
                               std::string(1 + random() % 3, alphabet[random() % alphabet.size()]));
                break;
            default:
                damaged.insert(at, damaged.substr(random() % damaged.size(), 1 + random() % 40));
                break;
            }
        }
        mixer.writes.clear();
        ASSERT_EQ(1, Load(damaged)) << "round " << round;
        for (DWORD id : mixer.writes) {
            ASSERT_NE(fake.Find(id), nullptr);
            ASSERT_NE(id, 0x12u) << "meter written in round " << round;
        }
        // Every line that survived whole was applied.
        for (DWORD id : IntactLines(good, damaged))
            ASSERT_NE(std::find(mixer.writes.begin(), mixer.writes.end(), id), mixer.writes.end())
                << "line of control " << id << " not applied in round " << round;
        // Booleans stay booleans and volumes stay in range, whatever the file said.
        ASSERT_LE(Values(0x11)[0], 1u);
        for (DWORD v : Values(0x10))
            ASSERT_LE(v, 65535u);
    }
}

TEST_F(PresetInputTest, FindKeySearchesOnThenFromTheStart) {
    Load("");
    file.WriteBytes(
        "Begin NonWSS Settings: x\nSpeakerMode 6\nMicBoost 1\nName Quenda Wave\nEmpty \n");
    FILE* in = file.Open("r");
    int value = -1;
    EXPECT_EQ(1, mixer.FindKey(in, "MicBoost", &value, 0, sizeof(value)));
    EXPECT_EQ(value, 1);
    // Behind the stream's position: found by the second pass.
    EXPECT_EQ(1, mixer.FindKey(in, "SpeakerMode", &value, 0, sizeof(value)));
    EXPECT_EQ(value, 6);
    // The stream stands after the matching line.
    char line[64] = {};
    ASSERT_NE(std::fgets(line, sizeof(line), in), nullptr);
    EXPECT_STREQ(line, "MicBoost 1\n");
    char word[4] = {};
    EXPECT_EQ(1, mixer.FindKey(in, "Name", word, 1, sizeof(word)));
    EXPECT_STREQ(word, "Que");
    value = 42;
    EXPECT_EQ(0, mixer.FindKey(in, "Empty", &value, 0, sizeof(value)));
    EXPECT_EQ(value, 42);
    EXPECT_EQ(0, mixer.FindKey(in, "Reverb", &value, 0, sizeof(value)));
    EXPECT_EQ(0, mixer.FindKey(in, "MicBoost", &value, 2, sizeof(value)));
    std::fclose(in);
}

} // namespace
