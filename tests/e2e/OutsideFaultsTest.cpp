// "Quenda Mixer.exe" against what comes from outside it: the private messages of its windows
// sent and posted by another program with addresses that mean nothing in it.
#include "ProgramRun.h"
#include "ProgramTest.h"
#include "Pump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

BOOL CALLBACK Collect(HWND window, LPARAM windows) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
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

} // namespace
