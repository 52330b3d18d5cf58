// Presets from anywhere: a second start hands its preset to the running panel, and the
// commands for scripts (/save, /load) run without a window and end with their exit codes.
#include "MixerDevice.h"
#include "ProgramTest.h"
#include "Pump.h"

#include "../../src/res/resource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr DWORD kMasterVolume = 1;

std::wstring TempPath(const std::wstring& name) {
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

// A preset with a name outside the ANSI code page: the master volume all right, and the
// subwoofer at -10 dB, a card value only a refresh of the pages shows.
class ScriptingTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        preset = TempPath(L"Klang \u4e2d\u6587 \u266b.vqs");
        std::ofstream out(preset.c_str(), std::ios::binary);
        out << "Begin NonWSS Settings: Quenda Wave\t256\t1 104\nSpeakerVolSub -1310720\n"
               "Begin settings: Quenda Wave\t256\t1 104\n1\t2\t 0 65535\t(Master Volume)\n"
               "End settings: Quenda Wave\t256\t1 104\n";
    }
    void TearDown() override { ::DeleteFileW(preset.c_str()); }

    static std::vector<DWORD> MasterVolume() {
        CMixerDevice mixer;
        std::vector<DWORD> values(2);
        if (!mixer.Open("Quenda Wave", 1, 104) ||
            !mixer.GetValues(kMasterVolume, values.data(), DWORD(values.size() * sizeof(DWORD))))
            return {};
        return values;
    }

    std::wstring preset;
};

TEST_F(ScriptingTest, SecondStartHandsItsPresetToTheRunningPanel) {
    auto program = Start();
    HWND sub = program->Control(IDC_VOL_SUB);
    ASSERT_TRUE(sub);
    EXPECT_LE(::SendMessageA(sub, TBM_GETPOS, 0, 0), 2); // full gain on a card just reset

    ProgramRun second = RunProgram(Quoted(preset), 30000);
    ASSERT_TRUE(second.ended);
    EXPECT_EQ(second.exitCode, 0u);
    EXPECT_FALSE(second.windowShown);
    EXPECT_TRUE(second.boxes.empty());
    EXPECT_EQ(MasterVolume(), (std::vector<DWORD>{0, 65535}));
    // The page shown refreshed its card values: a tenth of the full gain.
    EXPECT_TRUE(PumpUntil(
        [&] { return std::abs(int(::SendMessageA(sub, TBM_GETPOS, 0, 0)) - (65535 - 6553)) <= 2; },
        5000));
    EXPECT_FALSE(program->HasEnded());
}

TEST_F(ScriptingTest, ScriptCommandsEndWithTheirExitCodes) {
    // Without a panel, /load applies the file by itself and opens no window.
    ASSERT_TRUE(WaitForNoInstance());
    ProgramRun run = RunProgram(L"/LOAD " + Quoted(preset));
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_FALSE(run.windowShown);
    EXPECT_EQ(MasterVolume(), (std::vector<DWORD>{0, 65535}));

    // Files that cannot be read or written: 2, and nothing applied or left behind.
    const std::wstring missing = TempPath(L"no such preset.vqs");
    const std::wstring intoMissingFolder = TempPath(L"no such folder\\backup.vqs");
    for (const std::wstring& arguments :
         {L"/load " + Quoted(missing), L"-load " + Quoted(TempPath(L"")),
          L"/save " + Quoted(intoMissingFolder), std::wstring(L"/save")}) {
        run = RunProgram(arguments);
        ASSERT_TRUE(run.ended);
        EXPECT_EQ(run.exitCode, 2u);
        EXPECT_TRUE(run.boxes.empty());
        EXPECT_FALSE(run.windowShown);
    }

    // No card: 3, told on the command line rather than in a box that would hold a script up.
    const std::wstring backup = TempPath(L"no card backup.vqs");
    {
        ScopedEnvironment noCard("QUENDA_MIXER_DRIVER", "no-such-driver.dll");
        run = RunProgram(L"/save " + Quoted(backup));
    }
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 3u);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(::GetFileAttributesW(backup.c_str()), INVALID_FILE_ATTRIBUTES);
}

} // namespace
