#include "AppMessageBox.h"
#include "CommonDialogs.h"
#include "ColorSetKey.h"
#include "CoolColorDialog.h"
#include "Pixels.h"
#include "Png.h"

#include "ColorDialogHarness.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

namespace {

const CoolColorSet kDefaultSet = {{0x594437, 0x6BB6FA, 0xB47800, 0x0000FF, 0x00FF00, 9}};
const CoolColorSet kBlackWhite = {{0x383838, 0xFFFFFF, 0x404040, 0xAAAAAA, 0x666666, 8}};
const CoolColorSet kHotMetal = {{0x504141, 0xB9B9B9, 0xEB786E, 0x005AFF, 0x00FF00, 9}};

struct Question {
    std::string text;
    UINT type;
};

BOOL AnswerChooser(CHOOSECOLORA* choose);
struct ChooserAnswer {
    BOOL ok = TRUE;
    COLORREF colour = RGB(1, 2, 3);
    int calls = 0;
} g_chooser;
BOOL AnswerChooser(CHOOSECOLORA* choose) {
    ++g_chooser.calls;
    if (g_chooser.ok) choose->rgbResult = g_chooser.colour;
    return g_chooser.ok;
}

bool Checked(HWND dialog, int id) {
    return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

class ColorDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_previousBox =
            SetMessageBoxHook([this](HWND, const std::string& text, const std::string&, UINT type) {
                questions.push_back({text, type});
                return answer;
            });
        m_previousChooser = SetChooseColorHook(
            [](CHOOSECOLORA& choose) { return AnswerChooser(&choose) != FALSE; });
        g_chooser = ChooserAnswer();
        ASSERT_TRUE(main.Open());
        main.SetColor(CoolColors::SelLow, 0x123456);
        main.SetColor(CoolColors::SelHigh, 0x654321);
    }
    void TearDown() override {
        SetMessageBoxHook(m_previousBox);
        SetChooseColorHook(m_previousChooser);
        main.DestroyWindow();
    }

    // Runs the editor: the script waits for it first and presses OK at the end.
    INT_PTR RunEditor(CTestColorDialog& editor, CModalScript& script) {
        INT_PTR result = 0;
        script.Then([&] { ClickOn(editor.GetDlgItem(IDOK)); });
        EXPECT_TRUE(script.Run([&] { result = editor.DoModal(); }));
        return result;
    }
    std::function<bool()> EditorOpen(CTestColorDialog& editor) {
        return [&editor] { return editor.initialised && editor.IsWindowVisible(); };
    }

    CColorRegistry registry;
    CMainStandIn main;
    std::vector<Question> questions;
    int answer = IDYES;

private:
    MessageBoxHook m_previousBox;
    ChooseColorHook m_previousChooser;
};

TEST_F(ColorDialogTest, OpensLaidOutWithTheDefaultSetWhateverTheMainWindowShows) {
    main.SetColor(CoolColors::Background, 0x504141);
    CTestColorDialog editor(main);
    CModalScript script;
    script.Then(EditorOpen(editor), [&] {
        EXPECT_EQ(editor.GetWindowText(), "Color Settings");
        EXPECT_EQ(editor.GetClientRect(), CRect(0, 0, 376, 278));
        auto place = [&](int id) {
            CRect r;
            ::GetWindowRect(editor.GetDlgItem(id), &r);
            ::MapWindowPoints(nullptr, editor, reinterpret_cast<POINT*>(&r), 2);
            return r;
        };
        EXPECT_EQ(place(IDOK), CRect(226, 250, 360, 270));
        EXPECT_EQ(place(IDCANCEL), CRect(226, 222, 360, 242));
        EXPECT_EQ(place(CCoolColorDialog::IdBackground + 4), CRect(18, 210, 202, 230));
        EXPECT_EQ(place(CCoolColorDialog::IdDemoSlider), CRect(226, 118, 360, 148));
        EXPECT_EQ(ItemText(editor, CCoolColorDialog::IdPresets), "- Default -");
        EXPECT_EQ(ItemText(editor, CCoolColorDialog::IdReflectionsOff), "Reflections off");
        EXPECT_FALSE(Checked(editor, CCoolColorDialog::IdReflectionsOff));
        EXPECT_TRUE(Checked(editor, CCoolColorDialog::IdDemoCheck));
        EXPECT_EQ(::SendDlgItemMessageA(editor, CCoolColorDialog::IdDemoSlider, TBM_GETPOS, 0, 0),
                  60);
        // The dialog's own colours are the main window's until a set is applied.
        EXPECT_EQ(editor.GetColor(CoolColors::Background), 0x504141u);
    });
    EXPECT_EQ(RunEditor(editor, script), IDOK);
    EXPECT_EQ(editor.Values(), kDefaultSet);
    EXPECT_EQ(editor.GetValues(nullptr), 0);
}

TEST_F(ColorDialogTest, DefaultSetComesFromTheRegistryOnlyWhenItHoldsAWholeSet) {
    const std::string program = "skin_colors_tests.exe";
    const CoolColorSet stored = {{1, 2, 3, 4, 5, 1}};
    registry.Put(CColorSetKey::kDefaultSets, program, REG_BINARY, &stored, 20);
    EXPECT_EQ(CTestColorDialog(main).Values(), kDefaultSet);
    registry.Put(CColorSetKey::kDefaultSets, program, REG_DWORD, &stored, 4);
    EXPECT_EQ(CTestColorDialog(main).Values(), kDefaultSet);
    registry.PutSet(CColorSetKey::kDefaultSets, program, stored);
    CTestColorDialog editor(main);
    EXPECT_EQ(editor.Values(), stored);
    // Its mode derives no shades; a set applied afterwards still gets its own.
    CModalScript script;
    script.Then(EditorOpen(editor), [&] {
        EXPECT_EQ(editor.GetRenderMode(), 1u);
        ASSERT_TRUE(ChoosePreset(editor, "Hot Metal"));
        EXPECT_EQ(editor.GetColor(CoolColors::Shadow), CoolColors::Shade(0x504141, 0.5f));
        EXPECT_EQ(editor.GetColor(CoolColors::LumDark), CoolColors::Shade(0xEB786E, 0.5f));
    });
    EXPECT_EQ(RunEditor(editor, script), IDOK);
    EXPECT_EQ(editor.Values(), kHotMetal);
}

TEST_F(ColorDialogTest, UserSetsFollowTheBuiltInOnesAndApplyWhenTheyFit) {
    const unsigned char shortSet[12] = {0x11, 0x22, 0x33, 0, 0x44, 0x55, 0x66, 0, 0x77, 0x88, 0x99};
    const unsigned char longSet[28] = {0xFF};
    CoolColorSet embossed = kHotMetal;
    embossed[5] = 13; // applying drops the embossed text
    registry.PutSet(CColorSetKey::kUserSets, "Zeta", embossed);
    registry.Put(CColorSetKey::kUserSets, "Short", REG_BINARY, shortSet, sizeof(shortSet));
    registry.Put(CColorSetKey::kUserSets, "Long", REG_BINARY, longSet, sizeof(longSet));
    registry.Put(CColorSetKey::kUserSets, "Words", REG_SZ, "0123456789abcdefghijklm", 24);
    const std::vector<std::string> order = CColorRegistry::Names(CColorSetKey::kUserSets);
    ASSERT_EQ(order.size(), 4u);

    CTestColorDialog editor(main);
    CModalScript script;
    script.Then(EditorOpen(editor), [&] {
        HWND list = editor.GetDlgItem(CCoolColorDialog::IdPresets);
        const int count = static_cast<int>(::SendMessageA(list, CB_GETCOUNT, 0, 0));
        EXPECT_EQ(count, 13);
        int builtIn = 0;
        for (int item = 0; item < count; ++item) {
            char text[64] = "";
            ::SendMessageA(list, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text));
            const auto data = static_cast<size_t>(::SendMessageA(list, CB_GETITEMDATA, item, 0));
            if (data < 9)
                ++builtIn;
            else if (data - 9 < order.size())
                EXPECT_EQ(order[data - 9], text);
            else
                ADD_FAILURE() << text << " has data " << data;
        }
        EXPECT_EQ(builtIn, 9);

        ASSERT_TRUE(ChoosePreset(editor, "Short"));
        const CoolColorSet padded = {{0x332211, 0x665544, 0x998877, 0, 0, 8}};
        EXPECT_EQ(editor.Values(), padded);
        for (const char* ignored : {"Long", "Words"}) {
            ASSERT_TRUE(ChoosePreset(editor, ignored));
            EXPECT_EQ(editor.Values(), padded) << ignored;
        }
        ASSERT_TRUE(ChoosePreset(editor, "Zeta"));
    });
    EXPECT_EQ(RunEditor(editor, script), IDOK);
    EXPECT_EQ(editor.Values(), kHotMetal);
}

TEST_F(ColorDialogTest, SetsThatCannotBeNamedOrShadowABuiltInOneAreNotListed) {
    // Names the code page cannot spell (they would read back as "????" and reach no value),
    // a name too long for the program, and a user set called like a built-in one.
    registry.PutSet(CColorSetKey::kUserSets, "Mine", kHotMetal);
    registry.PutSet(CColorSetKey::kUserSets, "green", kBlackWhite);
    registry.PutSet(CColorSetKey::kUserSets, std::string(300, 'n'), kBlackWhite);
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER,
                                L"Software\\Vantrel Electronic GmbH\\Cool Colors\\User sets", 0,
                                nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    for (const wchar_t* name : {L"Klang \x4E2D\x6587", L"\x266B\x266B"})
        ::RegSetValueExW(key, name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&kBlackWhite),
                         sizeof(kBlackWhite));
    ::RegCloseKey(key);
    // The organizer lists what the key names; the editor leaves the built-in's namesake out.
    EXPECT_EQ(CColorSetKey().ValueNames(CColorSetKey::kUserSets).size(), 2u);

    CTestColorDialog editor(main);
    CModalScript script;
    script.Then(EditorOpen(editor), [&] {
        HWND list = editor.GetDlgItem(CCoolColorDialog::IdPresets);
        EXPECT_EQ(::SendMessageA(list, CB_GETCOUNT, 0, 0), 10);
        ASSERT_TRUE(ChoosePreset(editor, "Green"));
        EXPECT_NE(editor.Values(), kBlackWhite); // the built-in set, not the user's namesake
        ASSERT_TRUE(ChoosePreset(editor, "Mine"));
    });
    EXPECT_EQ(RunEditor(editor, script), IDOK);
    EXPECT_EQ(editor.Values(), kHotMetal);
}

TEST_F(ColorDialogTest, BuiltInSetsRepaintTheDemoControlsWithProgressInBothCaptions) {
    CTestColorDialog editor(main);
    CModalScript script;
    script.Then(EditorOpen(editor), [&] {
        HWND demo = editor.GetDlgItem(CCoolColorDialog::IdDemoButton);
        main.captions.clear();
        editor.captions.clear();
        ASSERT_TRUE(ChoosePreset(editor, "Black/White"));
        const std::vector<std::string> progress = {
            "Working ...",          "Working ......",          "Working .........",
            "Working ............", "Working ...............", "Working .................."};
        std::vector<std::string> expected = progress;
        expected.push_back("Quenda Mixer");
        EXPECT_EQ(main.captions, expected);
        expected.back() = "Color Settings";
        EXPECT_EQ(editor.captions, expected);

        EXPECT_EQ(editor.Values(), kBlackWhite);
        EXPECT_EQ(editor.Scheme(), kBlackWhite);
        EXPECT_TRUE(Checked(editor, CCoolColorDialog::IdReflectionsOff));
        // Without reflections every face is flat: the demo button shows the background colour,
        // the swatch its own colour.
        ::UpdateWindow(editor);
        const PixelImage flat = CaptureClient(demo);
        EXPECT_EQ(flat.At(8, 10), 0x383838u);
        EXPECT_EQ(CaptureClient(editor).At(372, 200), 0x383838u);
        const PixelImage swatch =
            CaptureClient(editor.GetDlgItem(CCoolColorDialog::IdBackground + 2));
        EXPECT_EQ(swatch.At(174, 10), 0x404040u);

        ASSERT_TRUE(ChoosePreset(editor, "Hot Metal"));
        ::UpdateWindow(editor);
        const PixelImage lit = CaptureClient(demo);
        EXPECT_NE(lit.At(8, 10), flat.At(8, 10));
        EXPECT_NE(CaptureClient(editor.GetDlgItem(CCoolColorDialog::IdBackground + 2)).At(174, 10),
                  swatch.At(174, 10));
        for (const char* name :
             {"- Default -", "Midnight Blue", "Green", "Grey 1", "Grey 2", "Hot Metal"}) {
            ASSERT_TRUE(ChoosePreset(editor, "Black/White"));
            ASSERT_TRUE(ChoosePreset(editor, name));
            EXPECT_FALSE(Checked(editor, CCoolColorDialog::IdReflectionsOff)) << name;
            EXPECT_EQ(editor.Values()[5], 9u) << name;
        }
    });
    EXPECT_EQ(RunEditor(editor, script), IDOK);
    EXPECT_EQ(editor.Values(), kHotMetal);
    EXPECT_EQ(main.GetWindowText(), "Quenda Mixer");
}

TEST_F(ColorDialogTest, RandomSetIsTheSameWithinOneSecond) {
    CTestColorDialog editor(main);
    CModalScript script;
    script.Then(EditorOpen(editor), [&] {
        for (int attempt = 0; attempt < 3; ++attempt) {
            const std::time_t before = std::time(nullptr);
            ASSERT_TRUE(ChoosePreset(editor, "- Random -"));
            const CoolColorSet first = editor.Values();
            ASSERT_TRUE(ChoosePreset(editor, "- Random -"));
            if (std::time(nullptr) != before) continue; // a second boundary passed
            EXPECT_EQ(editor.Values(), first);
            EXPECT_NE(first, kDefaultSet);
            EXPECT_EQ(first[5], 9u);
            for (int i = 0; i < 5; ++i)
                EXPECT_EQ(first[i] & 0xFF000000u, 0u);
            return;
        }
        ADD_FAILURE() << "no two choices within one second";
    });
    EXPECT_EQ(RunEditor(editor, script), IDOK);
}

TEST_F(ColorDialogTest, WindowsSetSwatchesAndReflectionsGiveWhatTheUserChose) {
    CTestColorDialog editor(main);
    CModalScript script;
    // Reflections off: the mode loses its gradients.
    script.Then(EditorOpen(editor),
                [&] { ClickOn(editor.GetDlgItem(CCoolColorDialog::IdReflectionsOff)); });
    script.Then(ClicksTaken, [&] {
        EXPECT_TRUE(Checked(editor, CCoolColorDialog::IdReflectionsOff));
        EXPECT_EQ(editor.Values()[5], 8u);
        EXPECT_EQ(editor.GetRenderMode(), 8u);
        ASSERT_TRUE(ChoosePreset(editor, "- Windows -"));
        // The system's colours; the peak meter colours and the mode stay.
        const CoolColorSet windows = {{::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNTEXT),
                                       CoolColors::Shade(::GetSysColor(COLOR_ACTIVECAPTION), 1.5f),
                                       0x123456, 0x654321, 8}};
        EXPECT_EQ(editor.Values(), windows);
        EXPECT_TRUE(Checked(editor, CCoolColorDialog::IdReflectionsOff));
        // The text swatch: the chooser's colour is taken.
        ClickOn(editor.GetDlgItem(CCoolColorDialog::IdBackground + 1));
    });
    script.Then(ClicksTaken, [&] {
        EXPECT_EQ(g_chooser.calls, 1);
        EXPECT_EQ(editor.Values()[1], RGB(1, 2, 3));
        EXPECT_EQ(editor.GetColor(CoolColors::Text), RGB(1, 2, 3));
        // Cancelled: the swatch keeps its colour.
        g_chooser.ok = FALSE;
        ClickOn(editor.GetDlgItem(CCoolColorDialog::IdBackground + 3));
    });
    script.Then(ClicksTaken, [&] {
        EXPECT_EQ(g_chooser.calls, 2);
        EXPECT_EQ(editor.Values()[3], 0x123456u);
    });
    EXPECT_EQ(RunEditor(editor, script), IDOK);
    EXPECT_EQ(editor.Values()[1], RGB(1, 2, 3));
    EXPECT_EQ(editor.Values()[5], 8u);
}

TEST_F(ColorDialogTest, SaveAsksBeforeOverwritingAndWritesAWholeSet) {
    const unsigned char longValue[28] = {};
    registry.Put(CColorSetKey::kUserSets, "Long", REG_BINARY, longValue, sizeof(longValue));
    CTestColorDialog editor(main);
    CModalScript script;
    auto saveAs = [&](const std::string& name) {
        script.Then([&] { ClickOn(editor.GetDlgItem(CCoolColorDialog::IdSave)); });
        script.Then([] { return FindThreadWindow("Save as") != nullptr; },
                    [name] {
                        HWND box = FindThreadWindow("Save as");
                        EXPECT_EQ(ItemText(box, 21866), "New");
                        ::SetDlgItemTextA(box, 21866, name.c_str());
                        ClickOn(::GetDlgItem(box, IDOK));
                    });
        script.Then([] { return FindThreadWindow("Save as") == nullptr; }, [] {});
    };
    script.Then(EditorOpen(editor), [] {});
    saveAs("Mine");
    script.Then([&] {
        EXPECT_TRUE(questions.empty());
        EXPECT_EQ(ItemText(editor, CCoolColorDialog::IdPresets), "Mine");
        ASSERT_TRUE(ChoosePreset(editor, "Hot Metal"));
        answer = IDNO;
    });
    saveAs("Mine");
    script.Then([&] {
        ASSERT_EQ(questions.size(), 1u);
        EXPECT_EQ(questions[0].text,
                  "The color set name 'Mine' is already used!\nDo you want to overwrite it?");
        EXPECT_EQ(questions[0].type & 0xF, UINT(MB_YESNO));
        const std::vector<BYTE> kept = CColorRegistry::Get(CColorSetKey::kUserSets, "Mine");
        EXPECT_EQ(kept, std::vector<BYTE>(reinterpret_cast<const BYTE*>(&kDefaultSet),
                                          reinterpret_cast<const BYTE*>(&kDefaultSet + 1)));
        answer = IDYES;
    });
    saveAs("Mine");
    // A value that is no colour set is not replaced without asking either.
    script.Then([&] { answer = IDNO; });
    saveAs("Long");
    EXPECT_EQ(RunEditor(editor, script), IDOK);
    EXPECT_EQ(questions.size(), 3u);
    EXPECT_EQ(CColorRegistry::Get(CColorSetKey::kUserSets, "Long").size(), 28u);
    DWORD type = 0;
    const std::vector<BYTE> saved = CColorRegistry::Get(CColorSetKey::kUserSets, "Mine", &type);
    EXPECT_EQ(type, DWORD(REG_BINARY));
    EXPECT_EQ(saved, std::vector<BYTE>(reinterpret_cast<const BYTE*>(&kHotMetal),
                                       reinterpret_cast<const BYTE*>(&kHotMetal + 1)));
}

// Selects exactly the entries of the organizer's list with these names.
void SelectNames(HWND list, const std::vector<std::string>& names) {
    const int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int item = 0; item < count; ++item) {
        char text[64] = "";
        LVITEMA lv = {};
        lv.pszText = text;
        lv.cchTextMax = sizeof(text);
        ::SendMessageA(list, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&lv));
        bool chosen = false;
        for (const std::string& name : names)
            chosen = chosen || name == text;
        LVITEMA state = {};
        state.stateMask = LVIS_SELECTED;
        state.state = chosen ? LVIS_SELECTED : 0;
        ::SendMessageA(list, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
    }
}

TEST_F(ColorDialogTest, OrganizerRenamesWithoutAskingAndDeletesAfterOneQuestion) {
    const CoolColorSet a = {{1, 1, 1, 1, 1, 9}}, b = {{2, 2, 2, 2, 2, 9}};
    registry.PutSet(CColorSetKey::kUserSets, "A", a);
    registry.PutSet(CColorSetKey::kUserSets, "B", b);
    registry.PutSet(CColorSetKey::kUserSets, "C", b);
    registry.PutSet(CColorSetKey::kUserSets, "D", b);
    const char* kUser = CColorSetKey::kUserSets;
    CTestColorDialog editor(main);
    HWND organizer = nullptr, list = nullptr;
    auto click = [&](int id) { ClickOn(::GetDlgItem(organizer, id)); };
    HWND nameBox = nullptr;
    auto nameBoxUp = [&] { return (nameBox = FindThreadWindow("Save as")) != nullptr; };
    auto typeName = [&](const std::string& from, const std::string& to) {
        return [&nameBox, from, to] {
            EXPECT_EQ(ItemText(nameBox, 21866), from);
            ::SetDlgItemTextA(nameBox, 21866, to.c_str());
            ClickOn(::GetDlgItem(nameBox, IDOK));
        };
    };
    auto nameBoxGone = [] { return FindThreadWindow("Save as") == nullptr; };

    CModalScript script;
    script.Then(EditorOpen(editor),
                [&] { ClickOn(editor.GetDlgItem(CCoolColorDialog::IdOrganize)); });
    script.Then([&] { return (organizer = FindThreadWindow("Color Sets")) != nullptr; },
                [&] {
                    list = ::GetDlgItem(organizer, 21867);
                    EXPECT_EQ(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 4);
                    EXPECT_EQ(::GetFocus(), list);
                    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(organizer, IDCANCEL)));
                    SelectNames(list, {"A"});
                    click(21869);
                });
    // Onto an existing name: no question, the set moves.
    script.Then(nameBoxUp, typeName("A", "B"));
    script.Then(nameBoxGone, [&] {
        EXPECT_TRUE(questions.empty());
        EXPECT_TRUE(CColorRegistry::Get(kUser, "A").empty());
        EXPECT_EQ(CColorRegistry::Get(kUser, "B").size(), 24u);
        EXPECT_EQ(CColorRegistry::Get(kUser, "B")[0], 1);
        EXPECT_EQ(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 3);
        // Only the case changes: the set must survive.
        SelectNames(list, {"D"});
        click(21869);
    });
    script.Then(nameBoxUp, typeName("D", "d"));
    script.Then(nameBoxGone, [&] {
        EXPECT_EQ(CColorRegistry::Get(kUser, "d").size(), 24u);
        // Nothing selected: no question, nothing deleted.
        SelectNames(list, {});
        click(21868);
    });
    script.Then(ClicksTaken, [&] {
        EXPECT_TRUE(questions.empty());
        EXPECT_EQ(CColorRegistry::Names(kUser).size(), 3u);
        SelectNames(list, {"B", "C"});
        answer = IDNO;
        click(21868);
    });
    script.Then([&] { return questions.size() == 1; },
                [&] {
                    EXPECT_EQ(questions[0].text, "Are you sure to delete the selected color sets?");
                    EXPECT_EQ(questions[0].type, UINT(MB_YESNO | MB_ICONQUESTION));
                    EXPECT_EQ(CColorRegistry::Names(kUser).size(), 3u);
                    SelectNames(list, {"B", "C"});
                    answer = IDYES;
                    click(21868);
                });
    script.Then([&] { return questions.size() == 2; },
                [&] {
                    EXPECT_EQ(CColorRegistry::Names(kUser), std::vector<std::string>{"d"});
                    EXPECT_EQ(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 1);
                    SelectNames(list, {"d"});
                    click(21868);
                });
    script.Then([&] { return questions.size() == 3; },
                [&] {
                    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(organizer, 21868)));
                    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(organizer, 21869)));
                    click(IDOK);
                });
    // Back in the editor, the preset list has only the built-in sets.
    script.Then(
        [] { return FindThreadWindow("Color Sets") == nullptr; },
        [&] {
            EXPECT_EQ(::SendDlgItemMessageA(editor, CCoolColorDialog::IdPresets, CB_GETCOUNT, 0, 0),
                      9);
        });
    EXPECT_EQ(RunEditor(editor, script), IDOK);
}

// The editor in the main window's default colours, with "- Default -", "Hot Metal" and
// "Black/White" applied, and the organizer, kept under build/artefacts.
TEST_F(ColorDialogTest, Screenshots) {
    registry.PutSet(CColorSetKey::kUserSets, "Evening", kHotMetal);
    registry.PutSet(CColorSetKey::kUserSets, "Morning", kDefaultSet);
    const int slots[] = {CoolColors::Background, CoolColors::Text, CoolColors::Lum,
                         CoolColors::SelLow, CoolColors::SelHigh};
    for (int i = 0; i < 5; ++i)
        main.SetColor(slots[i], kHotMetal[i]);
    CTestColorDialog editor(main);
    CModalScript script;
    auto shoot = [&](HWND window, const char* name) {
        ::RedrawWindow(window, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        EXPECT_TRUE(WritePng(ArtefactPath(name), CaptureClient(window))) << name;
    };
    script.Then(EditorOpen(editor), [&] {
        shoot(editor, "color-editor-opened.png");
        for (auto shot : {std::make_pair("- Default -", "color-editor-default.png"),
                          std::make_pair("Hot Metal", "color-editor-hot-metal.png"),
                          std::make_pair("Black/White", "color-editor-black-white.png")}) {
            ASSERT_TRUE(ChoosePreset(editor, shot.first));
            shoot(editor, shot.second);
        }
        ASSERT_TRUE(ChoosePreset(editor, "Hot Metal"));
        ClickOn(editor.GetDlgItem(CCoolColorDialog::IdSave));
    });
    script.Then([] { return FindThreadWindow("Save as") != nullptr; },
                [&] {
                    HWND box = FindThreadWindow("Save as");
                    shoot(box, "color-save-as.png");
                    ClickOn(::GetDlgItem(box, IDCANCEL));
                });
    script.Then([] { return FindThreadWindow("Save as") == nullptr; },
                [&] { ClickOn(editor.GetDlgItem(CCoolColorDialog::IdOrganize)); });
    script.Then([] { return FindThreadWindow("Color Sets") != nullptr; },
                [&] {
                    HWND organizer = FindThreadWindow("Color Sets");
                    SelectNames(::GetDlgItem(organizer, 21867), {"Morning"});
                    shoot(organizer, "color-organizer.png");
                    ClickOn(::GetDlgItem(organizer, IDOK));
                });
    script.Then([] { return FindThreadWindow("Color Sets") == nullptr; }, [] {});
    EXPECT_EQ(RunEditor(editor, script), IDOK);
}

} // namespace
