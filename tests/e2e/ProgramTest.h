// The fixture of the tests that run the program: a simulated card just reset, English, the
// default colours and no autostart value; the registry values it touches are put back.
#pragma once

#include "ProgramRun.h"
#include "SimCard.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

inline constexpr const char* kSettingsKey =
    "Software\\Vantrel Electronic GmbH\\Quenda\\ControlPanel";
inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class ProgramTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { UseSimulatedCard(); }

    void SetUp() override {
        ASSERT_TRUE(ResetSimulatedCard());
        settings.SetDword("Language", 1033);
        for (const char* name : kColourNames)
            settings.Delete(name);
        run.Delete("Quenda Mixer");
    }

    // Starts the program once the instance before it has let go, and waits for its window.
    std::unique_ptr<RunningProgram> Start(const std::string& arguments = std::string()) {
        EXPECT_TRUE(WaitForNoInstance());
        auto program = std::make_unique<RunningProgram>(arguments);
        EXPECT_TRUE(program->WaitForWindow()) << arguments;
        return program;
    }

    static constexpr const char* kColourNames[6] = {"ColBgrd",   "ColText",  "ColLum",
                                                    "ColSelLow", "ColSelHi", "RenderMode"};
    ScopedRegistryValues settings{
        HKEY_CURRENT_USER,
        kSettingsKey,
        {"Language", "ColBgrd", "ColText", "ColLum", "ColSelLow", "ColSelHi", "RenderMode"}};
    ScopedRegistryValues run{HKEY_CURRENT_USER, kRunKey, {"Quenda Mixer"}};
};
