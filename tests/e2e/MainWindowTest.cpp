// The main window of "Quenda Mixer.exe" driven from outside with real input: colours and
// language from the registry, the tab keys, the notification icon, presets through the file
// dialogs and the single instance.
#include "MixerDevice.h"
#include "ProgramRun.h"
#include "ProgramTest.h"
#include "UniqueHandle.h"
#include "Pump.h"
#include "SimCard.h"
#include "ZephMixer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kMiscLoad = 1047, kMiscSave = 1048, kMiscColours = 1053;
constexpr DWORD kMasterVolume = 1;
constexpr int kVolumeSub = 1012;

std::string WindowText(HWND window) {
    char text[256] = {};
    ::GetWindowTextA(window, text, sizeof(text));
    return text;
}

std::wstring TempPath(const std::wstring& name) {
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

std::string ReadFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

using MainWindowTest = ProgramTest;

TEST_F(MainWindowTest, FreshAccountShowsEnglishTabsInTheDefaultColoursOnEveryPage) {
    settings.Delete("Language");
    auto program = Start();
    HWND sheet = program->Window();
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(::IsWindowVisible(sheet));
    EXPECT_FALSE(::IsIconic(sheet));
    EXPECT_EQ(WindowText(sheet), "Quenda Mixer");
    const char* labels[] = {"&Master", "&Sources", "&Record", "S&peakers", "&Digital", "M&isc"};
    for (int tab = 0; tab < 6; ++tab)
        EXPECT_EQ(program->TabText(tab), labels[tab]) << tab;

    // F5 to F10 walk the pages; every page is kept as a screenshot and shows the background.
    const char* names[] = {"volume", "sources", "record", "speakers", "spdif", "misc"};
    PixelImage picture = program->WaitForNewPicture(PixelImage());
    for (int page = 0; page < 6; ++page) {
        ASSERT_TRUE(program->SelectPageByKey(WORD(VK_F5 + page), {}, page)) << page;
        // The keys go on to what the user sees, not to a control of the page just left.
        EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(program->Focus()); }, 3000)) << page;
        if (page > 0) picture = program->WaitForNewPicture(picture);
        EXPECT_FALSE(program->Screenshot(std::string("main-window-") + names[page]).empty());
        EXPECT_GT(ShareNear(picture, 0x504141, 0x18), 0.15) << names[page];
    }
    // Ctrl+F5 is no tab key.
    EXPECT_FALSE(program->SelectPageByKey(VK_F5, {VK_CONTROL}, 0));
    EXPECT_EQ(program->ActivePageIndex(), 5);
}

TEST_F(MainWindowTest, StoredColoursAndGermanLabels) {
    settings.SetDword("ColBgrd", 0x803010);
    settings.SetDword("Language", 1031);
    auto program = Start();
    HWND sheet = program->Window();
    ASSERT_TRUE(sheet);
    const char* labels[] = {"&Master",       "&Quellen", "&Aufnahme",
                            "&Lautsprecher", "&Digital", "S&onstiges"};
    for (int tab = 0; tab < 6; ++tab)
        EXPECT_EQ(program->TabText(tab), labels[tab]) << tab;
    program->Screenshot("main-window-stored-colours");
    const PixelImage image = program->Capture();
    EXPECT_GT(ShareNear(image, 0x803010, 0x18), 0.15);
    EXPECT_LT(ShareNear(image, 0x504141, 0x10), 0.05);

    // The first three pages in German, kept as screenshots.
    const char* names[] = {"volume", "sources", "record"};
    PixelImage picture = program->Capture();
    for (int page = 0; page < 3; ++page) {
        ASSERT_TRUE(program->SelectPageByKey(WORD(VK_F5 + page), {}, page)) << page;
        if (page > 0) picture = program->WaitForNewPicture(picture);
        EXPECT_FALSE(program->Screenshot(std::string("main-window-german-") + names[page]).empty());
    }

    // Alt with each tab's access letter, in German.
    const WORD letters[] = {'Q', 'A', 'L', 'D', 'O', 'M'};
    const int pages[] = {1, 2, 3, 4, 5, 0};
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(program->SelectPageByKey(letters[i], {VK_MENU}, pages[i])) << char(letters[i]);
}

TEST_F(MainWindowTest, AltLettersSelectTheEnglishTabs) {
    auto program = Start();
    const WORD letters[] = {'S', 'R', 'P', 'D', 'I', 'M'};
    const int pages[] = {1, 2, 3, 4, 5, 0};
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(program->SelectPageByKey(letters[i], {VK_MENU}, pages[i])) << char(letters[i]);
        EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(program->Focus()); }, 3000))
            << char(letters[i]);
    }
}

TEST_F(MainWindowTest, MinimizeLeavesTheIconOrAMinimisedWindow) {
    {
        auto program = Start("/minimize");
        ASSERT_TRUE(program->Window());
        EXPECT_TRUE(::IsWindowVisible(program->Window()));
        EXPECT_TRUE(::IsIconic(program->Window()));
    }
    // Only the value's presence counts, also for a command line longer than 512 bytes.
    run.SetString("Quenda Mixer",
                  "\"C:\\" + std::string(600, 'x') + "\\Quenda Mixer.exe\" /minimize");
    auto program = Start("/minimize");
    ASSERT_TRUE(program->Window());
    EXPECT_FALSE(::IsWindowVisible(program->Window()));
    EXPECT_FALSE(program->HasEnded());
}

TEST_F(MainWindowTest, NotificationMenuShowsAndExitsAndCloseHides) {
    run.SetString("Quenda Mixer", "C:\\windows\\system32\\Quenda Mixer.exe /minimize");
    settings.SetDword("Language", 1031);
    auto program = Start();
    HWND sheet = program->Window();
    ASSERT_TRUE(sheet);
    ASSERT_TRUE(::IsWindowVisible(sheet));

    // The close button only hides the window while the icon is there.
    program->BringToFront();
    PressKey(VK_F4, {VK_MENU});
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(sheet); }, 5000));
    EXPECT_FALSE(program->HasEnded());

    // What the shell sends on a right click on the icon: the menu comes up; "Show" is first.
    auto chooseFromMenu = [&](int downs) {
        ::PostMessageA(sheet, 0x514, 1, WM_RBUTTONUP);
        HWND menu = nullptr;
        if (!PumpUntil([&] { return (menu = program->ShownMenu()) != nullptr; }, 5000))
            return false;
        for (int i = 0; i < downs; ++i)
            PressKey(VK_DOWN);
        PressKey(VK_RETURN);
        return PumpUntil([&] { return !::IsWindowVisible(menu); }, 5000);
    };
    ASSERT_TRUE(chooseFromMenu(1));
    EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(sheet) != FALSE; }, 5000));

    settings.SetDword("Language", 1033); // the program stores its own at the end
    ASSERT_TRUE(chooseFromMenu(2));
    EXPECT_TRUE(program->WaitForEnd(15000));
    EXPECT_EQ(program->ExitCode(), 0u);
    DWORD language = 0;
    EXPECT_TRUE(settings.QueryDword("Language", &language));
    EXPECT_EQ(language, 1031u);
}

// Names outside the ANSI code page go through both dialogs; "/save" beside the running panel
// writes the same bytes as its "Save As".
TEST_F(MainWindowTest, PresetsThroughTheFileDialogs) {
    const std::wstring loaded = TempPath(L"main window load \u4e2d\u6587.vqs");
    const std::wstring saved = TempPath(L"Klang \u4e2d\u6587 \u266b.vqs");
    const std::wstring scripted = TempPath(L"main window scripted \u266b.vqs");
    ::DeleteFileW(saved.c_str());
    {
        std::ofstream out(loaded.c_str(), std::ios::binary);
        // The subwoofer at -10 dB: a card value that no mixer notification brings to the
        // Volume page, only the pages' refresh after loading.
        out << "Begin NonWSS Settings: Quenda Wave\t256\t1 104\nSpeakerVolSub -1310720\n"
               "Begin settings: Quenda Wave\t256\t1 104\n1\t2\t 0 65535\t(Master Volume)\n"
               "End settings: Quenda Wave\t256\t1 104\n";
    }
    auto program = Start();
    const auto subPosition = [&] {
        return int(::SendMessageA(program->Control(kVolumeSub), TBM_GETPOS, 0, 0));
    };
    EXPECT_LE(subPosition(), 2); // 0 dB (full gain) on a card just reset
    ASSERT_TRUE(program->SelectPageByKey(VK_F10, {}, 5));
    ASSERT_TRUE(program->AnswerFileDialog(kMiscLoad, loaded));
    CMixerDevice mixer;
    ASSERT_TRUE(mixer.Open("Quenda Wave", 1, 104));
    std::vector<DWORD> values(2);
    EXPECT_TRUE(PumpUntil(
        [&] {
            mixer.GetValues(kMasterVolume, values.data(), DWORD(values.size() * sizeof(DWORD)));
            return values == std::vector<DWORD>{0, 65535};
        },
        5000));
    ASSERT_TRUE(program->SelectPageByKey(VK_F5, {}, 0));
    EXPECT_NEAR(subPosition(), 65535 - 6553, 2); // a tenth of the full gain
    ASSERT_TRUE(program->SelectPageByKey(VK_F10, {}, 5));

    ASSERT_TRUE(program->AnswerFileDialog(kMiscSave, saved));
    ASSERT_TRUE(PumpUntil(
        [&] { return ::GetFileAttributesW(saved.c_str()) != INVALID_FILE_ATTRIBUTES; }, 5000));
    const ProgramRun save = RunProgram(L"/save \"" + scripted + L"\"");
    EXPECT_EQ(save.exitCode, 0u);
    EXPECT_FALSE(save.windowShown);
    program->End();
    EXPECT_FALSE(ReadFile(saved).empty());
    EXPECT_EQ(ReadFile(saved), ReadFile(scripted));
    ::DeleteFileW(loaded.c_str());
    ::DeleteFileW(saved.c_str());
    ::DeleteFileW(scripted.c_str());
}

// The card without its moving parts (the peak meters): every mixer control, then the card's
// own properties 2 to 4 (speaker gains, speaker mode, input block). Empty when the card could
// not be read.
std::string SteadyCardState() {
    std::string steady, line;
    const CtlResult list = RunCtl("list");
    if (list.exitCode != 0) return std::string();
    for (char ch : list.output) {
        if (ch != '\n') {
            line += ch;
            continue;
        }
        if (line.find("PEAKMETER") == std::string::npos) steady += line + "\n";
        line.clear();
    }
    for (int property = 2; property <= 4; ++property) {
        const CtlResult read = RunCtl("prop get " + std::to_string(property));
        if (read.exitCode != 0 || read.output.empty()) return std::string();
        steady += "property " + std::to_string(property) + ": " + read.output;
    }
    return steady;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM data) {
    if (::IsWindowVisible(window) && ::IsWindowEnabled(window))
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

// Every control of every page clicked: the program stays up and the settings do not change;
// past the Volume, Sources and Record pages (whose controls set the card by design) neither the
// card's mixer controls nor its speaker gains, speaker mode and input block change. The S/P-DIF
// block and the effect do: a click toggles the S/P-DIF page's boxes and the Speakers page's
// virtual 5.1 box. The preset buttons are the file dialog test's.
TEST_F(MainWindowTest, ClickingEveryControlChangesNothing) {
    auto program = Start();
    ASSERT_TRUE(program->Window());
    std::string before;
    for (int page = 0; page < 6; ++page) {
        ASSERT_TRUE(program->SelectPageByKey(WORD(VK_F5 + page), {}, page)) << page;
        // Taken once the page key is through, so the clicks before it have all been handled.
        if (page == 3) {
            before = SteadyCardState();
            ASSERT_FALSE(before.empty());
        }
        std::vector<HWND> controls;
        ::EnumChildWindows(program->ActivePage(), CollectChild,
                           reinterpret_cast<LPARAM>(&controls));
        ASSERT_FALSE(controls.empty()) << page;
        for (HWND control : controls) {
            const int id = ::GetDlgCtrlID(control);
            if (page == 5 && (id == kMiscLoad || id == kMiscSave)) continue;
            // A group box's middle lies on the controls it frames.
            char className[16] = {};
            ::GetClassNameA(control, className, sizeof(className));
            const LONG_PTR style = ::GetWindowLongPtrA(control, GWL_STYLE);
            if (std::string(className) == "Button" && (style & BS_TYPEMASK) == BS_GROUPBOX)
                continue;
            RECT rect = {};
            ::GetClientRect(control, &rect);
            ClickAt(control, {rect.right / 2, rect.bottom / 2});
            if (page == 5 && id == kMiscColours) {
                // The colour set editor comes up; cancelled, it must change nothing. Left open,
                // the clicks after it would land on it wherever it covers the page.
                HWND editor = program->WaitForDialog();
                ASSERT_TRUE(editor) << "the colour set editor did not open";
                ::PostMessageA(editor, WM_COMMAND, IDCANCEL, 0);
                ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(editor); }, 5000));
                continue;
            }
            ClickAt(program->ActivePage(), {2, 2}); // a list that dropped down closes again
            ASSERT_FALSE(program->HasEnded()) << "page " << page << " control " << id;
        }
        HWND box = program->FindDialog();
        char text[256] = {};
        if (box) ::GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
        EXPECT_EQ(box, nullptr) << page << " " << WindowText(box) << ": " << text;
    }
    program->End();
    EXPECT_EQ(program->ExitCode(), 0u); // ended by its own Exit, not by a fault
    EXPECT_EQ(SteadyCardState(), before);
    DWORD value = 0;
    EXPECT_FALSE(settings.QueryDword("ColBgrd", &value));
    EXPECT_FALSE(settings.QueryDword("RenderMode", &value));
}

TEST_F(MainWindowTest, SecondStartEndsAtOnceAndLeavesTheFirstWindow) {
    auto first = Start();
    ASSERT_TRUE(first->Window());
    RunningProgram second("");
    EXPECT_TRUE(second.WaitForEnd(15000));
    EXPECT_EQ(second.WaitForWindow(1), nullptr);
    EXPECT_TRUE(::IsWindowVisible(first->Window()));
    EXPECT_FALSE(first->HasEnded());
}

} // namespace
