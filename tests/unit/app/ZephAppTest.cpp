// The application object in this process, against the simulated card: what start-up hands
// the main window, and the language it stores at the end.
#include "RegistryKey.h"
#include "SettingsKey.h"
#include "SimCard.h"
#include "ZephApp.h"
#include "ZephCommandLineInfo.h"
#include "ZephMixer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class CProbeApp : public CZephApp {
public:
    bool windowAsked = false;
    bool minimize = false;
    std::string fileName;
    bool mixerReady = false;

protected:
    bool CreateMainWindow(const CZephCommandLineInfo& commandLine) override {
        windowAsked = true;
        minimize = commandLine.HasFlag("minimize");
        fileName = commandLine.m_strFileName;
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

    CProbeApp app;
    // No string 128 in this test program: the name stays the built-in one.
    EXPECT_EQ(app.RunApplication(nullptr, "/minimize \"no preset here.vqs\"", SW_SHOW), 0);
    EXPECT_EQ(app.GetAppName(), "zephmixer");
    EXPECT_TRUE(app.windowAsked);
    EXPECT_TRUE(app.mixerReady);
    EXPECT_TRUE(app.minimize);
    EXPECT_EQ(app.fileName, "no preset here.vqs");
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
