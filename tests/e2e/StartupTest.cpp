// "Quenda Mixer.exe" started for real under Wine against the simulated card: the preset on
// its command line, the single instance, the stored language and the mixer missing.
#include "DirectSoundSettings.h"
#include "LanguageSupport.h"
#include "MixerDevice.h"
#include "ProgramRun.h"
#include "RegistryKey.h"
#include "SimCard.h"
#include "UniqueHandle.h"
#include "ZephMixer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr const char* kSettingsKey = "Software\\Vantrel Electronic GmbH\\Quenda\\ControlPanel";
constexpr DWORD kMasterVolume = 1, kMasterMute = 2, kWaveVolume = 4;

const std::string kHeader = "Begin settings: Quenda Wave\t256\t1 104\n";
const std::string kEnd = "End settings: Quenda Wave\t256\t1 104\n";

std::string CardSection() {
    std::string text = "Begin NonWSS Settings: Quenda Wave\t256\t1 104\n";
    for (const char* key : {"SpeakerMode 4", "MicBoost 0", "Reverb 24", "SPDIFOutEnabled 0",
                            "SPDIFOut44 0", "SPDIFInMonitor 0", "SPDIFInValid 0", "SPDIFLoop 0",
                            "SPDIFCopy 0", "SpeakerVolFL 80", "SpeakerVolFR 80", "SpeakerVolRR 80",
                            "SpeakerVolRL 80", "SpeakerVolSub 80", "SpeakerVolCenter 80"})
        text += std::string(key) + "\n";
    return text;
}

class StartupTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { UseSimulatedCard(); }

    void SetUp() override {
        ASSERT_TRUE(ResetSimulatedCard());
        key.SetRoot(HKEY_CURRENT_USER, kSettingsKey);
        m_hadLanguage = key.QueryDword("Language", &m_language) != 0;
        char folder[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, folder);
        preset = std::string(folder) + "startup test.vqs";
    }
    void TearDown() override {
        if (m_hadLanguage)
            key.SetDword("Language", m_language);
        else
            key.DeleteValue("Language");
        ::DeleteFileA(preset.c_str());
    }

    void WritePreset(const std::string& text) {
        std::ofstream out(preset, std::ios::binary);
        out << text;
    }
    std::vector<DWORD> Read(DWORD id) {
        CMixerDevice mixer;
        if (!mixer.Open("Quenda Wave", 1, 104)) return {};
        MixerControlRecord* record = nullptr;
        if (!mixer.FindControl(id, &record)) return {};
        std::vector<DWORD> values(record->count);
        mixer.GetValues(id, values.data(), DWORD(values.size() * sizeof(DWORD)));
        return values;
    }

    CRegistryKey key;
    std::string preset;

private:
    bool m_hadLanguage = false;
    DWORD m_language = 0;
};

TEST_F(StartupTest, PresetNamedOnTheCommandLineIsApplied) {
    WritePreset(CardSection() + kHeader + "1\t2\t 0 65535\t(Master Volume)\n" +
                "2\t1\t 1\t(Master Mute)\n" + kEnd);
    ProgramRun run = RunProgram("\"" + preset + "\"");
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(Read(kMasterVolume), (std::vector<DWORD>{0, 65535}));
    EXPECT_EQ(Read(kMasterMute), (std::vector<DWORD>{1}));
}

TEST_F(StartupTest, MinimizeFlagFollowedByAFileStillLoadsIt) {
    WritePreset(kHeader + "4\t2\t 65535 0\t(Wave Volume)\n" + kEnd);
    ProgramRun run = RunProgram("/minimize \"" + preset + "\"");
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(Read(kWaveVolume), (std::vector<DWORD>{65535, 0}));
    // A file that cannot be opened is ignored quietly.
    run = RunProgram("-minimize \"no such file.vqs\"");
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.boxes.empty());
}

// A device name opens, but reading from a serial port waits for input that never comes: such
// a name is ignored like a file that cannot be opened, and the program ends by itself.
TEST_F(StartupTest, PresetNamingADeviceIsIgnored) {
    for (const char* arguments : {"AUX", "/minimize COM1", "NUL"}) {
        ProgramRun run = RunProgram(arguments, 30000);
        ASSERT_TRUE(run.ended) << arguments;
        EXPECT_EQ(run.exitCode, 0u) << arguments;
        EXPECT_TRUE(run.boxes.empty()) << arguments;
    }
}

// A second start without a preset ends at once; with one, it hands the preset over, and when
// no panel answers (here a semaphore without a window) it gives up after 10 s with exit code 4.
TEST_F(StartupTest, SecondInstanceEndsAtOnceAndTouchesNothing) {
    // This test holds the instance semaphore as a running control panel would.
    CKernelHandle first(::CreateSemaphoreA(nullptr, 0, 1, "Quenda Mixer"));
    ASSERT_TRUE(first);
    key.SetDword("Language", 0x0413);
    ProgramRun run = RunProgram("/minimize", 20000);
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0u);
    WritePreset(kHeader + "2\t1\t 1\t(Master Mute)\n" + kEnd);
    run = RunProgram("\"" + preset + "\"", 30000);
    first.Close();
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 4u);
    EXPECT_FALSE(run.windowShown);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(Read(kMasterMute), (std::vector<DWORD>{0}));
    DWORD language = 0;
    EXPECT_TRUE(key.QueryDword("Language", &language));
    EXPECT_EQ(language, 0x0413u);
}

TEST_F(StartupTest, FirstStartStoresTheDefaultLanguageAndFullAcceleration) {
    key.DeleteValue("Language");
    ASSERT_TRUE(
        WriteDirectSoundSettings(CZephMixer::kHardwareId, CZephMixer::kAccelerationCodes[0]));
    ProgramRun run = RunProgram("");
    ASSERT_TRUE(run.ended);
    EXPECT_TRUE(run.boxes.empty());
    CLanguageSupport defaults;
    DWORD language = 0;
    ASSERT_TRUE(key.QueryDword("Language", &language));
    EXPECT_EQ(language, defaults.GetLanguage());
    DWORD code = 0;
    ASSERT_TRUE(ReadDirectSoundSettings(CZephMixer::kHardwareId, &code));
    EXPECT_EQ(code, CZephMixer::kAccelerationCodes[3]);

    // A later start keeps the stored choice.
    key.SetDword("Language", 0x040C);
    run = RunProgram("");
    ASSERT_TRUE(run.ended);
    ASSERT_TRUE(key.QueryDword("Language", &language));
    EXPECT_EQ(language, 0x040Cu);
}

// "Language" holds something the program did not write: not a choice of the user's. The
// start is a first start, and the end stores the default language as a DWORD.
TEST_F(StartupTest, LanguageOfAnotherTypeCountsAsNotStored) {
    CLanguageSupport defaults;
    const BYTE seven = 0x07;
    for (int round = 0; round < 2; ++round) {
        if (round == 0)
            ASSERT_TRUE(key.SetString("Language", "ab"));
        else
            ASSERT_TRUE(key.SetBinary("Language", &seven, sizeof(seven)));
        ProgramRun run = RunProgram("");
        ASSERT_TRUE(run.ended) << round;
        DWORD type = REG_NONE;
        DWORD language = 0;
        DWORD size = sizeof(language);
        ASSERT_EQ(::RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, "Language", RRF_RT_ANY, &type,
                                 &language, &size),
                  ERROR_SUCCESS)
            << round;
        EXPECT_EQ(type, DWORD(REG_DWORD)) << round;
        EXPECT_EQ(size, sizeof(DWORD)) << round;
        EXPECT_EQ(language, defaults.GetLanguage()) << round;
    }
}

TEST_F(StartupTest, MissingMixerDeviceIsReportedAndLanguageKept) {
    key.SetDword("Language", 0x0410);
    ProgramRun run;
    {
        ScopedEnvironment noCard("QUENDA_MIXER_DRIVER", "no-such-driver.dll");
        run = RunProgram("");
    }
    ASSERT_TRUE(run.ended);
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0],
              "The specified audio mixer device could not be found:\n\n\tQuenda Wave");
    DWORD language = 0;
    EXPECT_TRUE(key.QueryDword("Language", &language));
    EXPECT_EQ(language, 0x0410u);
}

} // namespace
