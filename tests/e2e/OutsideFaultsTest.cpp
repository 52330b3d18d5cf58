// "Quenda Mixer.exe" against what comes from outside it: the private messages of its windows
// sent and posted by another program with addresses that mean nothing in it, and a card whose
// driver package brings no vendor control object for it.
#include "ProgramRun.h"
#include "ProgramTest.h"
#include "Pump.h"
#include "SimCardControl.h"

#include "../../src/res/resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

BOOL CALLBACK Collect(HWND window, LPARAM windows) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

std::string WindowText(HWND window) {
    char text[1024] = {};
    ::GetWindowTextA(window, text, sizeof(text));
    return text;
}

using OutsideFaultsTest = ProgramTest;

TEST_F(OutsideFaultsTest, PointerMessagesOfAnotherProgramAreIgnoredOnEveryWindow) {
    auto program = Start();
    HWND sheet = program->Window();
    ASSERT_TRUE(sheet);
    // Colour, light point, render mode, background, screen rectangle, layout, status text.
    const UINT messages[] = {0x501, 0x502, 0x505, 0x50E, 0x50F, 0x511, 0x362};
    const LPARAM nowhere = 0x10;
    for (int page = 0; page < 6; ++page) {
        ASSERT_TRUE(program->SelectPageByKey(WORD(VK_F5 + page), {}, page)) << page;
        std::vector<HWND> windows = {sheet};
        ::EnumChildWindows(sheet, Collect, reinterpret_cast<LPARAM>(&windows));
        for (HWND window : windows) {
            for (UINT message : messages) {
                DWORD_PTR result = 1;
                ASSERT_TRUE(::SendMessageTimeoutA(window, message, 0, nowhere, SMTO_ABORTIFHUNG,
                                                  5000, &result))
                    << page << " " << std::hex << message;
                EXPECT_EQ(result, 0u) << page << " " << std::hex << message;
                ::PostMessageA(window, message, 0, nowhere);
            }
        }
    }
    // Keys come after posted messages: once a key changed the page, the posted ones were handled.
    ASSERT_TRUE(program->SelectPageByKey(VK_F5, {}, 0));
    EXPECT_FALSE(program->HasEnded());
    DWORD_PTR alive = 0;
    EXPECT_TRUE(::SendMessageTimeoutA(sheet, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &alive));
}

TEST_F(OutsideFaultsTest, WithoutTheVendorObjectTheCardsControlsAreOffAndTheMiscPageSaysWhy) {
    ScopedEnvironment noVendor(kSimNoVendorVariable, "1");
    auto program = Start();
    ASSERT_TRUE(program->Window());
    auto enabled = [&](int id) {
        HWND control = program->Control(id);
        EXPECT_TRUE(control) << id;
        return control && ::IsWindowEnabled(control);
    };
    const struct {
        int page;
        std::vector<int> off, on; // needing the object; the mixer's and DirectSound's
    } pages[] = {
        {0,
         {IDC_VOL_FRONT_LEFT, IDC_VOL_FRONT_RIGHT, IDC_VOL_REAR_LEFT, IDC_VOL_REAR_RIGHT,
          IDC_VOL_CENTER, IDC_VOL_SUB, IDC_VOL_FRONT_LINK, IDC_VOL_REAR_LINK},
         {IDC_VOL_MASTER, IDC_VOL_MASTER_MUTE}},
        {1, {IDC_SRC_BOOST}, {}},
        {2, {IDC_REC_BOOST, IDC_REC_SPDIF}, {IDC_REC_MUX}},
        {3,
         {IDC_SPK_CONFIG, IDC_SPK_EFFECT_ENABLE, IDC_SPK_ROOM, IDC_SPK_SPDIF_ENABLE},
         {IDC_SPK_FRONT_LEFT, IDC_SPK_ACCEL}},
        {4,
         {IDC_SPDIF_OUT_ENABLE, IDC_SPDIF_OUT_44K, IDC_SPDIF_OUT_48K, IDC_SPDIF_LOOPBACK,
          IDC_SPDIF_MONITOR, IDC_SPDIF_VALIDITY, IDC_SPDIF_REVERSE, IDC_SPDIF_COPYRIGHT},
         {}},
    };
    for (const auto& page : pages) {
        ASSERT_TRUE(program->SelectPageByKey(WORD(VK_F5 + page.page), {}, page.page));
        for (int id : page.off)
            EXPECT_FALSE(enabled(id)) << page.page << " " << id;
        for (int id : page.on)
            EXPECT_TRUE(enabled(id)) << page.page << " " << id;
    }
    ASSERT_TRUE(program->SelectPageByKey(VK_F8, {}, 3));
    // Nothing read from the card: the virtual speakers show off, not a made-up "on".
    EXPECT_EQ(::SendMessageA(program->Control(IDC_SPK_EFFECT_ENABLE), BM_GETCHECK, 0, 0),
              BST_UNCHECKED);
    program->WaitForNewPicture(PixelImage());
    EXPECT_FALSE(program->Screenshot("no-vendor-object-speakers").empty());

    ASSERT_TRUE(program->SelectPageByKey(VK_F10, {}, 5));
    const std::string about = WindowText(program->Control(IDC_MISC_ABOUT_TEXT));
    const std::string note =
        "\nCard functions not available to this program: control object missing or 32-bit only.";
    EXPECT_EQ(about.substr(about.size() - std::min(about.size(), note.size())), note) << about;
    program->WaitForNewPicture(PixelImage());
    EXPECT_FALSE(program->Screenshot("no-vendor-object-misc").empty());
}

} // namespace
