// The application object in this process, against the simulated card: what start-up hands
// the main window, and the language it stores at the end.
#include "MixerDevice.h"
#include "RegistryKey.h"
#include "SettingsKey.h"
#include "SimCard.h"
#include "ZephApp.h"
#include "ZephCommandLineInfo.h"
#include "WideText.h"
#include "ZephMixer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

class CProbeApp : public CZephApp {
public:
    bool windowAsked = false;
    bool minimize = false;
    std::wstring fileName;
    bool mixerReady = false;

protected:
    bool CreateMainWindow(const CZephCommandLineInfo& commandLine) override {
        windowAsked = true;
        minimize = commandLine.HasFlag("minimize");
        fileName = commandLine.m_fileName;
        mixerReady = GetMixer() != nullptr;
        SetLanguage(0x0407); // the user picks German while the program runs
        return false;
    }
};

// One start per process: the instance semaphore lives as long as the process.
TEST(ZephApp, StartHandsTheCommandLineToTheWindowAndEndStoresTheLanguage) {
    UseSimulatedCard();
    ASSERT_TRUE(ResetSimulatedCard());
    CRegistryKey key;
    key.SetRoot(HKEY_CURRENT_USER, kSettingsKey);
    DWORD saved = 0;
    const bool hadLanguage = key.QueryDword("Language", &saved) != 0;
    key.SetDword("Language", 0x0409);

    // A preset that would mute the master: without a main window the start ends at once and
    // applies nothing.
    char folder[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, folder);
    const std::string preset = std::string(folder) + "no preset here.vqs";
    {
        std::ofstream out(preset, std::ios::binary);
        out << "Begin settings: Quenda Wave\t256\t1 104\n2\t1\t 1\t(Master Mute)\n"
               "End settings: Quenda Wave\t256\t1 104\n";
    }

    CProbeApp app;
    // No string 128 in this test program: the name stays the built-in one.
    EXPECT_EQ(app.RunApplication(nullptr, ("/minimize \"" + preset + "\"").c_str(), SW_SHOW), 0);
    EXPECT_EQ(app.GetAppName(), "zephmixer");
    EXPECT_TRUE(app.windowAsked);
    EXPECT_TRUE(app.mixerReady);
    EXPECT_TRUE(app.minimize);
    EXPECT_EQ(app.fileName, WidenAnsi(preset));
    CMixerDevice mixer;
    ASSERT_TRUE(mixer.Open("Quenda Wave", 1, 104));
    DWORD muted = 1;
    mixer.GetValues(2, &muted, sizeof(muted));
    EXPECT_EQ(muted, 0u);
    ::DeleteFileA(preset.c_str());
    EXPECT_EQ(app.GetMixer(), nullptr); // destroyed at the end
    DWORD stored = 0;
    EXPECT_TRUE(key.QueryDword("Language", &stored));
    EXPECT_EQ(stored, 0x0407u);

    if (hadLanguage)
        key.SetDword("Language", saved);
    else
        key.DeleteValue("Language");
}

} // namespace
