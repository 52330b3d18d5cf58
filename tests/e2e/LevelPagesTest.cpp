// The Volume, Sources and Record pages of "Quenda Mixer.exe" used as a user would, with real
// keyboard and mouse input, against the simulated card: what the controls write to the card,
// what the pages show of changes another program makes, the level meters while the card
// plays, and the three pages in English and German kept as screenshots.
#include "CardControl.h"
#include "ComInit.h"
#include "ComPtr.h"
#include "MixerDevice.h"
#include "ProgramRun.h"
#include "ProgramTest.h"
#include "Pump.h"
#include "SimCard.h"
#include "UniqueHandle.h"
#include "ZephMixer.h"
#include "ZephVolPage.h"

#include "../../src/res/resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <array>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr LONG kBottomGain = -6313047; // a speaker slider at the bottom, about -96.3 dB
constexpr int kSpeakerMax = CZephVolPage::kSpeakerMax;

using Gains = std::array<LONG, kCardSpeakerCount>; // center, sub, rear L/R, front L/R

std::string Text(HWND window) {
    char text[256] = {};
    ::GetWindowTextA(window, text, sizeof(text));
    return text;
}

bool Checked(HWND box) {
    return ::SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

int Position(HWND slider) {
    return static_cast<int>(::SendMessageA(slider, TBM_GETPOS, 0, 0));
}

int RangeMax(HWND slider) {
    return static_cast<int>(::SendMessageA(slider, TBM_GETRANGEMAX, 0, 0));
}

// The volume slider inside a mixer slider group of a page.
HWND GroupSlider(HWND group) {
    return ::GetDlgItem(group, 789);
}

POINT Middle(HWND window) {
    RECT rect = {};
    ::GetClientRect(window, &rect);
    return {rect.right / 2, rect.bottom / 2};
}

// The part of a picture of the main window that a control covers.
PixelImage Part(const PixelImage& picture, HWND main, HWND control) {
    RECT outer = {}, inner = {};
    ::GetWindowRect(main, &outer);
    ::GetWindowRect(control, &inner);
    PixelImage part;
    const int left = inner.left - outer.left, top = inner.top - outer.top;
    part.width = inner.right - inner.left;
    part.height = inner.bottom - inner.top;
    if (left < 0 || top < 0 || left + part.width > picture.width ||
        top + part.height > picture.height)
        return PixelImage();
    for (int y = 0; y < part.height; ++y)
        for (int x = 0; x < part.width; ++x)
            part.pixels.push_back(picture.At(left + x, top + y));
    return part;
}

// The card's own functions, reached through its control object as the program reaches them.
class CardFunctions {
public:
    CardFunctions() {
        m_com.Initialize();
        for (const IID& iid : kCardControlIids)
            if (!m_control &&
                FAILED(::CoCreateInstance(CLSID_CardControl, nullptr, CLSCTX_INPROC_SERVER, iid,
                                          m_control.ReceiveVoid())))
                m_control.Reset();
    }
    bool Ready() const { return m_control.Get() != nullptr; }
    Gains SpeakerGains() {
        Gains gains = {};
        if (m_control)
            m_control->GetProperty(CARDPROP_SPEAKER_VOLUMES, gains.data(), sizeof(gains));
        return gains;
    }
    int MicBoost() { return Byte(CARDPROP_INPUT, kCardInputSize, CZephMixer::kInputMicBoost); }
    int SPDIFRecord() { return Byte(CARDPROP_SPDIF, kCardSpdifSize, CZephMixer::kSpdifRecord); }

private:
    int Byte(DWORD property, DWORD size, int index) {
        BYTE block[32] = {};
        return m_control && m_control->GetProperty(property, block, size) ? block[index] : -1;
    }
    CComInit m_com;
    CComPtr<ICardControl> m_control;
};

class LevelPagesTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(mixer.Open("Quenda Wave", 1, 104));
        ASSERT_TRUE(card.Ready());
    }

    // Presses Tab until the control has the keyboard focus, as a user walks the page.
    static bool TabTo(RunningProgram& program, HWND control) {
        program.BringToFront();
        for (int i = 0; i < 40 && control; ++i) {
            HWND focus = program.Focus();
            if (focus == control) return true;
            PressKey(VK_TAB);
            PumpUntil([&] { return program.Focus() != focus; }, 2000);
        }
        return false;
    }

    // Drags a slider's thumb with the mouse past the top or the bottom end of its channel.
    static bool DragThumb(RunningProgram& program, HWND slider, bool toTop) {
        program.BringToFront();
        const RECT thumb = program.ThumbRect(slider);
        RECT client = {};
        ::GetClientRect(slider, &client);
        const POINT from = {(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
        const int end = toTop ? 0 : RangeMax(slider);
        return DragFromTo(slider, from, {from.x, toTop ? -40 : client.bottom + 40},
                          [&] { return Position(slider) == end; });
    }

    // The control ID of the card's mixer control with this name ("Line In Mute").
    DWORD ControlId(const std::string& name) {
        for (int d = 0; d < mixer.GetDestinationCount(); ++d)
            for (int s = -1; s < mixer.GetSourceCount(d); ++s) {
                MIXERLINEA* line = nullptr;
                if (!mixer.GetLine(d, s, &line) || !line) continue;
                for (DWORD c = 0; c < line->cControls; ++c) {
                    MixerControlRecord* record = nullptr;
                    if (mixer.GetLineControl(d, s, static_cast<int>(c), &record) && record &&
                        name == record->control.szName)
                        return record->control.dwControlID;
                }
            }
        ADD_FAILURE() << "no control " << name;
        return 0;
    }
    DWORD Value(const std::string& control) {
        DWORD value = DWORD(-1);
        mixer.GetValue(ControlId(control), &value);
        return value;
    }
    std::vector<DWORD> Stereo(const std::string& control) {
        DWORD left = DWORD(-1), right = DWORD(-1);
        mixer.GetStereo(ControlId(control), &left, &right);
        return {left, right};
    }
    std::vector<DWORD> RecordingSource() {
        std::vector<DWORD> items(6, DWORD(-1));
        mixer.GetValues(ControlId("Recording Source"), items.data(),
                        DWORD(items.size() * sizeof(DWORD)));
        return items;
    }
    // Sets a control as another program would.
    bool SetFromOutside(const std::string& control, const std::string& values) {
        return RunCtl("set " + std::to_string(ControlId(control)) + " " + values).exitCode == 0;
    }

    // A level meter inside a control moves: the control's picture keeps changing (more often
    // than a page that is still being painted would).
    static bool MeterMoves(RunningProgram& program, HWND control) {
        PixelImage last = Part(program.Capture(), program.Window(), control);
        int changes = 0;
        return !last.pixels.empty() &&
               PumpUntil(
                   [&] {
                       PixelImage now = Part(program.Capture(), program.Window(), control);
                       if (now.pixels != last.pixels) ++changes;
                       last = std::move(now);
                       return changes >= 5;
                   },
                   5000);
    }
    // The control's picture stays the same for a second: its meter has fallen silent.
    static bool MeterSettles(RunningProgram& program, HWND control) {
        PixelImage last;
        DWORD since = ::GetTickCount();
        return PumpUntil(
            [&] {
                PixelImage now = Part(program.Capture(), program.Window(), control);
                if (now.pixels != last.pixels) {
                    last = std::move(now);
                    since = ::GetTickCount();
                }
                return ::GetTickCount() - since >= 1000;
            },
            8000);
    }

    // The card's speaker gains come to the expected ones (else the failure says what they are).
    ::testing::AssertionResult GainsBecome(const Gains& expected) {
        Gains now = {};
        if (PumpUntil([&] { return (now = card.SpeakerGains()) == expected; }, 5000))
            return ::testing::AssertionSuccess();
        auto failure = ::testing::AssertionFailure() << "the card has";
        for (LONG gain : now)
            failure << " " << gain;
        return failure;
    }

    template <class Condition> static bool Eventually(Condition condition) {
        return PumpUntil(condition, 5000);
    }

    CMixerDevice mixer;
    CardFunctions card;
};

// The six speaker sliders from the keyboard and with the mouse, with the front pair linked
// and the rear pair not.
TEST_F(LevelPagesTest, SpeakerSlidersWriteTheCardFromKeyboardAndMouse) {
    auto program = Start();
    ASSERT_TRUE(program->SelectPageByKey(VK_F6, {}, 1));
    ASSERT_TRUE(program->SelectPageByKey(VK_F5, {}, 0));
    const auto slider = [&](int id) { return program->Control(id); };
    // The card starts at full level everywhere, which the sliders show one step down.
    for (int id : {IDC_VOL_FRONT_LEFT, IDC_VOL_FRONT_RIGHT, IDC_VOL_REAR_LEFT, IDC_VOL_REAR_RIGHT,
                   IDC_VOL_CENTER, IDC_VOL_SUB})
        EXPECT_EQ(Position(slider(id)), 1) << id;

    ClickAt(slider(IDC_VOL_FRONT_LINK), Middle(slider(IDC_VOL_FRONT_LINK)));
    ASSERT_TRUE(Eventually([&] { return Checked(slider(IDC_VOL_FRONT_LINK)); }));
    EXPECT_FALSE(Checked(slider(IDC_VOL_REAR_LINK)));

    // Front right from the keyboard: End, then PageUp; front left follows in the same write.
    ASSERT_TRUE(TabTo(*program, slider(IDC_VOL_FRONT_RIGHT)));
    PressKey(VK_END);
    EXPECT_TRUE(GainsBecome(Gains{0, 0, 0, 0, kBottomGain, kBottomGain}));
    EXPECT_EQ(Position(slider(IDC_VOL_FRONT_LEFT)), kSpeakerMax);
    PressKey(VK_PRIOR);
    ASSERT_TRUE(Eventually([&] { return Position(slider(IDC_VOL_FRONT_RIGHT)) < kSpeakerMax; }));
    const LONG paged = CZephVolPage::PositionToValue(Position(slider(IDC_VOL_FRONT_RIGHT)));
    EXPECT_TRUE(GainsBecome(Gains{0, 0, 0, 0, paged, paged})) << paged;
    EXPECT_EQ(Position(slider(IDC_VOL_FRONT_LEFT)), Position(slider(IDC_VOL_FRONT_RIGHT)));

    // Rear left dragged to the bottom and back to the top: rear right stays.
    ASSERT_TRUE(DragThumb(*program, slider(IDC_VOL_REAR_LEFT), false));
    EXPECT_TRUE(GainsBecome(Gains{0, 0, kBottomGain, 0, paged, paged}));
    EXPECT_EQ(Position(slider(IDC_VOL_REAR_LEFT)), kSpeakerMax);
    EXPECT_EQ(Position(slider(IDC_VOL_REAR_RIGHT)), 1);
    ASSERT_TRUE(DragThumb(*program, slider(IDC_VOL_REAR_LEFT), true));
    EXPECT_TRUE(GainsBecome(Gains{0, 0, 0, 0, paged, paged}));

    // Center with the mouse and sub with the keyboard touch only their own entries.
    ASSERT_TRUE(DragThumb(*program, slider(IDC_VOL_CENTER), false));
    EXPECT_TRUE(GainsBecome(Gains{kBottomGain, 0, 0, 0, paged, paged}));
    ASSERT_TRUE(TabTo(*program, slider(IDC_VOL_SUB)));
    PressKey(VK_END);
    EXPECT_TRUE(GainsBecome(Gains{kBottomGain, kBottomGain, 0, 0, paged, paged}));
}

// The master slider and mute follow the card both ways, and the master meter shows what
// plays while the speakers are not muted.
TEST_F(LevelPagesTest, MasterFollowsTheCardAndItsMeterShowsWhatPlays) {
    auto program = Start();
    ASSERT_TRUE(program->SelectPageByKey(VK_F6, {}, 1));
    ASSERT_TRUE(program->SelectPageByKey('M', {VK_MENU}, 0));
    HWND master = GroupSlider(program->Control(IDC_VOL_MASTER));
    HWND mute = program->Control(IDC_VOL_MASTER_MUTE);
    ASSERT_TRUE(master && mute);
    EXPECT_TRUE(MeterMoves(*program, master));

    // Another program turns the master volume down and up again.
    ASSERT_TRUE(SetFromOutside("Master Volume", "0"));
    EXPECT_TRUE(Eventually([&] { return Position(master) == RangeMax(master); }));
    ASSERT_TRUE(SetFromOutside("Master Volume", "65535"));
    EXPECT_TRUE(Eventually([&] { return Position(master) == 0; }));

    // The master slider is a tab stop; End turns it down and the card follows.
    ASSERT_TRUE(TabTo(*program, master));
    PressKey(VK_END);
    EXPECT_TRUE(Eventually([&] { return Stereo("Master Volume") == std::vector<DWORD>{0, 0}; }));

    // The mute box mutes both channels and silences the meter; unmuted from outside, the box
    // follows and the meter runs again.
    ASSERT_TRUE(SetFromOutside("Master Volume", "65535"));
    ClickAt(mute, Middle(mute));
    EXPECT_TRUE(Eventually([&] { return Stereo("Master Mute") == std::vector<DWORD>{1, 1}; }));
    EXPECT_TRUE(Checked(mute));
    EXPECT_TRUE(MeterSettles(*program, master));
    ASSERT_TRUE(SetFromOutside("Master Mute", "0"));
    EXPECT_TRUE(Eventually([&] { return !Checked(mute); }));
    EXPECT_TRUE(MeterMoves(*program, master));
}

// Each source strip works the line its rule chooses (the Line strip the "Line In", never the
// "Rear Line"); the Wave strip's meter follows its mute; the boost is shared with the Record
// page.
TEST_F(LevelPagesTest, SourceStripsWorkTheirLinesAndShareTheBoost) {
    auto program = Start();
    // A key that leaves the Volume page does not leave the keyboard on its hidden sliders.
    ASSERT_TRUE(TabTo(*program, program->Control(IDC_VOL_CENTER)));
    ASSERT_TRUE(program->SelectPageByKey('S', {VK_MENU}, 1));
    EXPECT_TRUE(::IsWindowVisible(program->Focus()));

    HWND wave = GroupSlider(program->Control(IDC_SRC_VOLUME));
    ASSERT_TRUE(wave);
    EXPECT_TRUE(MeterMoves(*program, wave));
    ASSERT_TRUE(TabTo(*program, wave));
    PressKey(VK_HOME);
    EXPECT_TRUE(Eventually([&] {
        return Stereo("Wave Volume") == std::vector<DWORD>{65535, 65535};
    }));

    const char* lines[] = {"Wave", "SW Synth", "Microphone", "CD Audio", "Aux", "Line In"};
    for (int k = 0; k < 6; ++k) {
        HWND mute = program->Control(IDC_SRC_MUTE + k);
        ClickAt(mute, Middle(mute));
        const std::string name = std::string(lines[k]) + " Mute";
        EXPECT_TRUE(Eventually([&] { return Value(name) == 1; })) << name;
        EXPECT_TRUE(Checked(mute)) << name;
    }
    EXPECT_EQ(Value("Rear Line Mute"), 0u);
    EXPECT_TRUE(MeterSettles(*program, wave));

    // Changes from outside: the CD strip's slider and the Wave strip's mute follow.
    HWND cd = GroupSlider(program->Control(IDC_SRC_VOLUME + 3));
    ASSERT_TRUE(SetFromOutside("CD Audio Volume", "0"));
    EXPECT_TRUE(Eventually([&] { return Position(cd) == RangeMax(cd); }));
    ASSERT_TRUE(SetFromOutside("Wave Mute", "0"));
    EXPECT_TRUE(Eventually([&] { return !Checked(program->Control(IDC_SRC_MUTE)); }));
    EXPECT_TRUE(MeterMoves(*program, wave));

    // The boost, switched on here, shows on the Record page and is switched off there.
    HWND boost = program->Control(IDC_SRC_BOOST);
    ASSERT_EQ(card.MicBoost(), 0);
    EXPECT_FALSE(Checked(boost));
    ClickAt(boost, Middle(boost));
    EXPECT_TRUE(Eventually([&] { return card.MicBoost() == 1; }));
    ASSERT_TRUE(program->SelectPageByKey(VK_F7, {}, 2));
    HWND recordBoost = program->Control(IDC_REC_BOOST);
    EXPECT_TRUE(Checked(recordBoost));
    ClickAt(recordBoost, Middle(recordBoost));
    EXPECT_TRUE(Eventually([&] { return card.MicBoost() == 0; }));
    EXPECT_FALSE(Checked(boost));
}

// The recording strips: a slider from the keyboard, a multiplexer box selecting its source
// alone, the boxes following a selection made elsewhere, and recording from the S/P-DIF input
// against the boxes.
TEST_F(LevelPagesTest, RecordBoxesChooseOneSourceOrTheDigitalInput) {
    auto program = Start();
    ASSERT_TRUE(program->SelectPageByKey(VK_F7, {}, 2));
    const auto box = [&](int k) { return program->Control(IDC_REC_MUX + k); };
    const auto onlyChecked = [&](int checked) {
        for (int k = 0; k < 6; ++k)
            if (Checked(box(k)) != (k == checked)) return false;
        return true;
    };
    const auto only = [](int item) {
        std::vector<DWORD> items(6, 0);
        if (item >= 0) items[static_cast<size_t>(item)] = 1;
        return items;
    };
    EXPECT_TRUE(onlyChecked(0)); // the card records "Stereo Mix" at first

    HWND line = GroupSlider(program->Control(IDC_REC_VOLUME + 4));
    ASSERT_TRUE(TabTo(*program, line));
    PressKey(VK_END);
    EXPECT_TRUE(Eventually([&] {
        return Stereo("Line In Record Volume") == std::vector<DWORD>{0, 0};
    }));

    ClickAt(box(2), Middle(box(2)));
    EXPECT_TRUE(Eventually([&] { return RecordingSource() == only(2); }));
    EXPECT_TRUE(Eventually([&] { return onlyChecked(2); }));
    ASSERT_TRUE(SetFromOutside("Recording Source", "0 0 0 0 1 0"));
    EXPECT_TRUE(Eventually([&] { return onlyChecked(4); }));

    // Recording from S/P-DIF clears the boxes but leaves the multiplexer as it was.
    HWND spdif = program->Control(IDC_REC_SPDIF);
    ClickAt(spdif, Middle(spdif));
    EXPECT_TRUE(Eventually([&] { return card.SPDIFRecord() == 1; }));
    EXPECT_TRUE(Checked(spdif));
    EXPECT_TRUE(onlyChecked(-1));
    EXPECT_EQ(RecordingSource(), only(4));

    // Choosing a source ends it.
    ClickAt(box(1), Middle(box(1)));
    EXPECT_TRUE(Eventually([&] { return card.SPDIFRecord() == 0; }));
    EXPECT_TRUE(Eventually([&] { return RecordingSource() == only(1) && onlyChecked(1); }));
    EXPECT_FALSE(Checked(spdif));
}

// The three pages while the card plays, in English, then in German chosen on the Misc page:
// every text changes, and each page is kept as a screenshot. Several labels read the same in
// English and German ("Wave", "CD"), so German.lng beside the program gives every label a
// German text of its own (a file named after a built-in language replaces its texts).
TEST_F(LevelPagesTest, PagesInEnglishAndGermanWhileTheCardPlays) {
    struct Label {
        int page;
        int id;
        int text; // the string's number
        const char* english;
        const char* german;
    };
    const Label labels[] = {
        {0, IDC_VOL_MASTER_LABEL, 5001, "Master", "Gesamt"},
        {0, IDC_VOL_MASTER_MUTE, 5013, "Mute", "Stumm"},
        {0, IDC_VOL_SPEAKER_GROUP, 4091, "Speaker Volumes", "Lautsprecherpegel"},
        {0, IDC_VOL_FRONT_LABEL, 5000, "Front", "Vorne"},
        {0, IDC_VOL_REAR_LABEL, 5005, "Rear", "Hinten"},
        {0, IDC_VOL_CENTER_LABEL, 5016, "Center", "Mitte"},
        {0, IDC_VOL_SUB_LABEL, 5015, "Sub", "Bass"},
        {1, IDC_SRC_LABEL, 5006, "Wave", "Welle"},
        {1, IDC_SRC_LABEL + 1, 5007, "Synth", "Synthi"},
        {1, IDC_SRC_LABEL + 2, 5008, "Mic", "Mikro"},
        {1, IDC_SRC_LABEL + 3, 5014, "CD", "Platte"},
        {1, IDC_SRC_LABEL + 4, 5010, "Aux", "Extra"},
        {1, IDC_SRC_LABEL + 5, 5009, "Line", "Leitung"},
        {1, IDC_SRC_MUTE, 5013, "Mute", "Stumm"},
        {1, IDC_SRC_MUTE + 5, 5013, "Mute", "Stumm"},
        {1, IDC_SRC_BOOST, 5012, "Boost", "Anhub"},
        {2, IDC_REC_MUX, 5011, "Mix", "Mischung"},
        {2, IDC_REC_MUX + 1, 5008, "Mic", "Mikro"},
        {2, IDC_REC_MUX + 2, 5014, "CD", "Platte"},
        {2, IDC_REC_MUX + 3, 5010, "Aux", "Extra"},
        {2, IDC_REC_MUX + 4, 5009, "Line", "Leitung"},
        {2, IDC_REC_MUX + 5, 5006, "Wave", "Welle"},
        {2, IDC_REC_BOOST, 5012, "Boost", "Anhub"},
    };
    const char* const kGermanFile = "German.lng";
    ASSERT_EQ(::GetFileAttributesA(kGermanFile), INVALID_FILE_ATTRIBUTES) << "left from before";
    std::string file = "[Strings]\n";
    for (const Label& label : labels) {
        ASSERT_STRNE(label.english, label.german) << label.id;
        file += std::to_string(label.text) + "=" + label.german + "\n";
    }
    std::unique_ptr<const char, decltype(&::DeleteFileA)> removeFile(kGermanFile, ::DeleteFileA);
    std::ofstream(kGermanFile, std::ios::binary) << file;
    const char* names[] = {"volume", "sources", "record"};
    // The meter each page shows: the master's, the Wave strip's; the Record page has none.
    const int meters[] = {IDC_VOL_MASTER, IDC_SRC_VOLUME, 0};

    auto program = Start();
    const auto showPages = [&](bool german) {
        PixelImage picture = program->Capture();
        for (int page = 0; page < 3; ++page) {
            ASSERT_TRUE(program->SelectPageByKey(WORD(VK_F5 + page), {}, page));
            if (meters[page]) {
                EXPECT_TRUE(MeterMoves(*program, GroupSlider(program->Control(meters[page]))))
                    << names[page];
            } else {
                picture = program->WaitForNewPicture(picture);
            }
            for (const Label& label : labels) {
                if (label.page != page) continue;
                EXPECT_EQ(Text(program->Control(label.id)), german ? label.german : label.english)
                    << names[page] << " " << label.id;
            }
            EXPECT_FALSE(program
                             ->Screenshot(std::string("level-pages-") + names[page] +
                                          (german ? "-de" : "-en"))
                             .empty());
            picture = program->Capture();
        }
    };
    showPages(false);

    // German, chosen with the keyboard in the Misc page's language list.
    ASSERT_TRUE(program->SelectPageByKey(VK_F10, {}, 5));
    ASSERT_TRUE(TabTo(*program, program->Control(IDC_MISC_LANGUAGE)));
    PressKey('D');
    ASSERT_TRUE(PumpUntil([&] { return program->TabText(1) == "&Quellen"; }, 5000));
    showPages(true);
}

} // namespace
