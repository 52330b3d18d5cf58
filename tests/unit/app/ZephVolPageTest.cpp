// The Volume page in this process, against the simulated card: the speaker sliders and the
// card's speaker volumes, the links of the pairs, the master controls and the texts.
#include "LanguageSupport.h"
#include "MixerSliderEx.h"
#include "Pump.h"
#include "SimCard.h"
#include "ZephMixer.h"
#include "ZephSheet.h"
#include "ZephVolPage.h"

#include "../../../src/res/StringIds.h"
#include "../../../src/res/resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr LONG kBottomValue = -6313047; // about -96.3 dB

// The card's control object, counting the speaker volume writes that pass through it.
class CountingControl final : public ICardControl {
public:
    explicit CountingControl(ICardControl* real) : m_real(real) {}
    ~CountingControl() { m_real->Release(); }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --m_references;
        if (left == 0) delete this;
        return left;
    }
    LONG STDMETHODCALLTYPE SetProperty(DWORD id, void* buffer, DWORD size) override {
        if (id == CARDPROP_SPEAKER_VOLUMES) ++speakerWrites;
        return m_real->SetProperty(id, buffer, size);
    }
    LONG STDMETHODCALLTYPE GetProperty(DWORD id, void* buffer, DWORD size) override {
        return failReads ? 0 : m_real->GetProperty(id, buffer, size);
    }
    int speakerWrites = 0;
    bool failReads = false;

private:
    ICardControl* m_real;
    ULONG m_references = 1;
};

class CountingMixer : public CZephMixer {
public:
    CountingControl* counter = nullptr;

protected:
    ICardControl* CreateCardControl() override {
        ICardControl* real = CZephMixer::CreateCardControl();
        if (!real) return nullptr;
        counter = new CountingControl(real);
        return counter;
    }
};

TEST(ZephVolPageConversion, PositionsAndCardValues) {
    EXPECT_EQ(CZephVolPage::PositionToValue(0), 0);
    EXPECT_EQ(CZephVolPage::PositionToValue(65534), kBottomValue);
    // Half the range is about -6.02 dB, truncated toward zero.
    EXPECT_EQ(CZephVolPage::PositionToValue(32767), -394557);
    // Full level shows one step below the top; the values never reach past the bottom.
    EXPECT_EQ(CZephVolPage::ValueToPosition(0), 1);
    EXPECT_EQ(CZephVolPage::ValueToPosition(kBottomValue), 65534);
    EXPECT_EQ(CZephVolPage::ValueToPosition(65536 * 10), 1);
    EXPECT_EQ(CZephVolPage::ValueToPosition(-65536 * 200), 65535);
    for (int position : {100, 8192, 40000, 65000})
        EXPECT_NEAR(CZephVolPage::ValueToPosition(CZephVolPage::PositionToValue(position)),
                    position, 1);
}

class ZephVolPageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { UseSimulatedCard(); }

    void SetUp() override {
        ASSERT_TRUE(ResetSimulatedCard());
        ASSERT_TRUE(mixer.Init());
        ASSERT_NE(mixer.GetCardControl(), nullptr);
        language.SetLanguage(1033);
        sheet = std::make_unique<CZephSheet>("ZEPH", &mixer);
        ASSERT_TRUE(sheet->Create(nullptr, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0));
        sheet->SetActivePage(0);
        page = sheet->GetActivePage()->m_hWnd;
        ASSERT_TRUE(page);
    }
    void TearDown() override { sheet.reset(); }

    HWND Item(int id) const { return ::GetDlgItem(page, id); }
    int Pos(int id) const { return static_cast<int>(::SendMessageA(Item(id), TBM_GETPOS, 0, 0)); }

    void Card(LONG (&volumes)[6]) {
        ASSERT_TRUE(mixer.GetCardControl()->GetProperty(CARDPROP_SPEAKER_VOLUMES, volumes,
                                                        sizeof(volumes)));
    }
    void SetCard(std::initializer_list<LONG> values) {
        LONG volumes[6];
        std::copy(values.begin(), values.end(), volumes);
        mixer.GetCardControl()->SetProperty(CARDPROP_SPEAKER_VOLUMES, volumes, sizeof(volumes));
    }
    // What the user's drag ends with: the thumb at a position, then the scroll message.
    void Drag(int id, int position) {
        ::SendMessageA(Item(id), TBM_SETPOS, TRUE, position);
        ::SendMessageA(page, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position),
                       reinterpret_cast<LPARAM>(Item(id)));
    }
    void Link(int id, bool on) {
        ::SendMessageA(Item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    }

    CLanguageSupport language;
    CountingMixer mixer;
    std::unique_ptr<CZephSheet> sheet;
    HWND page = nullptr;
};

TEST_F(ZephVolPageTest, SlidersShowTheCardAndFollowARefresh) {
    for (int id : {IDC_VOL_FRONT_LEFT, IDC_VOL_FRONT_RIGHT, IDC_VOL_REAR_LEFT, IDC_VOL_REAR_RIGHT,
                   IDC_VOL_CENTER, IDC_VOL_SUB}) {
        EXPECT_EQ(::SendMessageA(Item(id), TBM_GETRANGEMAX, 0, 0), 65534);
        EXPECT_EQ(::SendMessageA(Item(id), TBM_GETRANGEMIN, 0, 0), 0);
    }
    // Entries: center, sub, rear left, rear right, front left, front right.
    SetCard({kBottomValue, 0, CZephVolPage::PositionToValue(8192),
             CZephVolPage::PositionToValue(16384), CZephVolPage::PositionToValue(24576),
             CZephVolPage::PositionToValue(32768)});
    static_cast<CCoolPropertyPage*>(sheet->GetActivePage())->Refresh();
    EXPECT_EQ(Pos(IDC_VOL_CENTER), 65534);
    EXPECT_EQ(Pos(IDC_VOL_SUB), 1);
    EXPECT_NEAR(Pos(IDC_VOL_REAR_LEFT), 8192, 1);
    EXPECT_NEAR(Pos(IDC_VOL_REAR_RIGHT), 16384, 1);
    EXPECT_NEAR(Pos(IDC_VOL_FRONT_LEFT), 24576, 1);
    EXPECT_NEAR(Pos(IDC_VOL_FRONT_RIGHT), 32768, 1);
}

TEST_F(ZephVolPageTest, MovingASliderWritesItsEntryAndItsLinkedPartner) {
    SetCard({-100000, -200000, -300000, -400000, -500000, -600000});
    Link(IDC_VOL_FRONT_LINK, true);
    Link(IDC_VOL_REAR_LINK, false);
    LONG card[6];

    // Top is full level, and the next refresh shows it one step down. The pair goes to the
    // card in one write.
    ASSERT_TRUE(mixer.counter);
    const int writes = mixer.counter->speakerWrites;
    Drag(IDC_VOL_FRONT_RIGHT, 0);
    EXPECT_EQ(mixer.counter->speakerWrites, writes + 1);
    Card(card);
    EXPECT_EQ(card[5], 0);
    EXPECT_EQ(card[4], 0);
    EXPECT_EQ(Pos(IDC_VOL_FRONT_LEFT), 0);
    static_cast<CCoolPropertyPage*>(sheet->GetActivePage())->Refresh();
    EXPECT_EQ(Pos(IDC_VOL_FRONT_RIGHT), 1);
    EXPECT_EQ(Pos(IDC_VOL_FRONT_LEFT), 1);

    // The rear pair is not linked: only rear left changes.
    Drag(IDC_VOL_REAR_LEFT, 65534);
    Card(card);
    const LONG afterRear[6] = {-100000, -200000, kBottomValue, -400000, 0, 0};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(card[i], afterRear[i]) << "entry " << i;
    static_cast<CCoolPropertyPage*>(sheet->GetActivePage())->Refresh();
    EXPECT_EQ(Pos(IDC_VOL_REAR_LEFT), 65534);

    // Center and sub are never linked, and a value set elsewhere since is kept.
    SetCard({-100000, -200000, -250000, -400000, 0, 0});
    Drag(IDC_VOL_CENTER, 65534);
    Drag(IDC_VOL_SUB, 0);
    Card(card);
    const LONG afterCenter[6] = {kBottomValue, 0, -250000, -400000, 0, 0};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(card[i], afterCenter[i]) << "entry " << i;

    // With the rear link on, rear right takes rear left along.
    Link(IDC_VOL_REAR_LINK, true);
    Drag(IDC_VOL_REAR_RIGHT, 32767);
    Card(card);
    EXPECT_EQ(card[3], -394557);
    EXPECT_EQ(card[2], -394557);
    EXPECT_EQ(Pos(IDC_VOL_REAR_LEFT), 32767);
}

// A move while the card gives no record writes nothing: a made-up record would also set the
// five other speakers.
TEST_F(ZephVolPageTest, NothingIsWrittenWithoutARecordFromTheCard) {
    SetCard({-100000, -200000, -300000, -400000, -500000, -600000});
    ASSERT_TRUE(mixer.counter);
    mixer.counter->failReads = true;
    const int writes = mixer.counter->speakerWrites;
    Drag(IDC_VOL_CENTER, 0);
    EXPECT_EQ(mixer.counter->speakerWrites, writes);
    mixer.counter->failReads = false;
    LONG card[6];
    Card(card);
    EXPECT_EQ(card[0], -100000);
    EXPECT_EQ(card[4], -500000);
}

TEST_F(ZephVolPageTest, MasterControlsAreBoundToTheSpeakersLine) {
    MIXERLINEA* line = nullptr;
    ASSERT_TRUE(mixer.GetDestinationLine(0, &line));
    DWORD volumeId = 0, muteId = 0;
    for (DWORD k = 0; k < line->cControls; ++k) {
        MixerControlRecord* record = nullptr;
        ASSERT_TRUE(mixer.GetDestinationControl(0, static_cast<int>(k), &record));
        if (record->control.dwControlType == MIXERCONTROL_CONTROLTYPE_VOLUME)
            volumeId = record->control.dwControlID;
        if (record->control.dwControlType == MIXERCONTROL_CONTROLTYPE_MUTE)
            muteId = record->control.dwControlID;
    }
    ASSERT_TRUE(volumeId && muteId);

    // The mute switch mutes both channels.
    ASSERT_TRUE(mixer.SetStereo(muteId, FALSE, FALSE));
    ::SendMessageA(Item(IDC_VOL_MASTER_MUTE), BM_CLICK, 0, 0);
    BOOL left = FALSE, right = FALSE;
    EXPECT_TRUE(PumpUntil([&] { return mixer.GetStereo(muteId, &left, &right) && left && right; }));

    // The master slider follows the volume changed by another program.
    HWND slider = ::GetDlgItem(Item(IDC_VOL_MASTER), CMixerSliderEx::FirstSliderId);
    ASSERT_TRUE(slider);
    const auto position = [&] { return ::SendMessageA(slider, TBM_GETPOS, 0, 0); };
    const LRESULT before = position();
    DWORD volume = 0, unused = 0;
    ASSERT_TRUE(mixer.GetStereo(volumeId, &volume, &unused));
    const std::string other = volume > 32768 ? "0" : "65535";
    ASSERT_EQ(RunCtl("set " + std::to_string(volumeId) + " " + other + " " + other).exitCode, 0u);
    EXPECT_TRUE(PumpUntil([&] { return position() != before; }));
}

TEST_F(ZephVolPageTest, LanguageChangeSetsEveryText) {
    const std::pair<int, UINT> texts[] = {{IDC_VOL_MASTER_LABEL, IDS_MASTER},
                                          {IDC_VOL_MASTER_MUTE, IDS_MUTE},
                                          {IDC_VOL_SPEAKER_GROUP, IDS_SPEAKER_VOLUMES},
                                          {IDC_VOL_FRONT_LABEL, IDS_FRONT},
                                          {IDC_VOL_REAR_LABEL, IDS_REAR},
                                          {IDC_VOL_CENTER_LABEL, IDS_CENTER},
                                          {IDC_VOL_SUB_LABEL, IDS_SUB}};
    const auto text = [&](int id) {
        char buffer[128] = {};
        ::GetWindowTextA(Item(id), buffer, sizeof(buffer));
        return std::string(buffer);
    };
    EXPECT_EQ(text(IDC_VOL_MASTER_MUTE), "Mute");
    EXPECT_EQ(text(IDC_VOL_SPEAKER_GROUP), "Speaker Volumes");
    language.SetLanguage(1031);
    EXPECT_EQ(::SendMessageA(page, WM_LANGUAGE_CHANGED, 0, 0), 0);
    EXPECT_EQ(text(IDC_VOL_MASTER_MUTE), "Stumm");
    for (const auto& [id, string] : texts)
        EXPECT_EQ(text(id), language.GetString(string)) << "control " << id;
}

} // namespace
