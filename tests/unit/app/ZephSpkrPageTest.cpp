// The Speakers page in the main window, against the simulated card and the sound server: the
// speaker buttons of each configuration, the test sound, the effect room and the acceleration.
#include "LanguageSupport.h"
#include "MonitorRecorder.h"
#include "Pump.h"
#include "SimCard.h"
#include "SpeakerTestPlayer.h"
#include "ZephMixer.h"
#include "ZephSheet.h"
#include "ZephSpkrPage.h"

#include "../../../src/res/resource.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

constexpr int kSpeakersPage = 3;

class ZephSpkrPageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { UseSimulatedCard(); }

    void SetUp() override {
        ASSERT_TRUE(ResetSimulatedCard());
        ASSERT_TRUE(mixer.Init());
        savedAcceleration = mixer.GetDSAcceleration();
        language.SetLanguage(1033);
        sheet = std::make_unique<CZephSheet>("ZEPH", &mixer);
        ASSERT_TRUE(sheet->Create(nullptr, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0));
        sheet->SetActivePage(kSpeakersPage);
        page = sheet->GetActivePage()->m_hWnd;
    }
    void TearDown() override {
        sheet.reset();
        mixer.SetDSAcceleration(savedAcceleration);
    }

    HWND Control(int id) { return ::GetDlgItem(page, id); }
    bool Checked(int id) { return ::SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool Shown(int id) { return (::GetWindowLongPtrA(Control(id), GWL_STYLE) & WS_VISIBLE) != 0; }
    void Click(int id) { ::SendMessageA(Control(id), BM_CLICK, 0, 0); }
    void Choose(int listId, int item) {
        ::SendMessageA(Control(listId), CB_SETCURSEL, item, 0);
        ::SendMessageA(page, WM_COMMAND, MAKEWPARAM(listId, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(Control(listId)));
    }
    void Refresh() { static_cast<CZephSpkrPage*>(sheet->GetActivePage())->Refresh(); }
    DWORD CachedConfig() {
        DWORD config = 0;
        sheet->GetSpeakerTestPlayer().QuerySpeakerConfig(&config, FALSE);
        return config;
    }

    CLanguageSupport language;
    CZephMixer mixer;
    std::unique_ptr<CZephSheet> sheet;
    HWND page = nullptr;
    int savedAcceleration = 0;
};

TEST_F(ZephSpkrPageTest, ConfigurationDecidesTheSpeakerButtons) {
    Choose(IDC_SPK_CONFIG, 1); // quad
    ASSERT_EQ(CachedConfig() & 0xFF, 3u);
    EXPECT_FALSE(Shown(IDC_SPK_CENTER));
    EXPECT_FALSE(Shown(IDC_SPK_SUB));
    for (int id : {IDC_SPK_FRONT_LEFT, IDC_SPK_FRONT_RIGHT, IDC_SPK_REAR_LEFT, IDC_SPK_REAR_RIGHT})
        EXPECT_TRUE(Shown(id)) << id;
    EXPECT_FALSE(::IsWindowEnabled(Control(IDC_SPK_SPDIF_ENABLE)));
    EXPECT_FALSE(Shown(IDC_SPK_SPDIF_WARNING));

    Choose(IDC_SPK_CONFIG, 0); // 5.1
    EXPECT_TRUE(Shown(IDC_SPK_CENTER));
    EXPECT_TRUE(Shown(IDC_SPK_SUB));

    // Surround shows like quad, and the rebuilt list selects "Quad Speakers".
    ASSERT_EQ(sheet->GetSpeakerTestPlayer().ChangeSpeakerConfig(5), S_OK);
    ::SendMessageA(Control(IDC_SPK_CENTER), BM_SETCHECK, BST_CHECKED, 0);
    // The rebuilt room list shows "--- None ---" for an effect that is off.
    ::SendMessageA(page, WM_LANGUAGE_CHANGED, 0, 0);
    EXPECT_EQ(::SendMessageA(Control(IDC_SPK_ROOM), CB_GETCURSEL, 0, 0), 0);
    Refresh();
    EXPECT_EQ(::SendMessageA(Control(IDC_SPK_CONFIG), CB_GETCURSEL, 0, 0), 1);
    EXPECT_FALSE(Shown(IDC_SPK_CENTER));
    EXPECT_FALSE(Checked(IDC_SPK_CENTER));
    EXPECT_TRUE(Shown(IDC_SPK_REAR_LEFT));

    Choose(IDC_SPK_CONFIG, 3); // headphones
    for (int id : {IDC_SPK_CENTER, IDC_SPK_SUB, IDC_SPK_REAR_LEFT, IDC_SPK_REAR_RIGHT})
        EXPECT_FALSE(Shown(id)) << id;
    EXPECT_TRUE(Shown(IDC_SPK_FRONT_LEFT));
    EXPECT_TRUE(Shown(IDC_SPK_FRONT_RIGHT));
    EXPECT_TRUE(::IsWindowEnabled(Control(IDC_SPK_SPDIF_ENABLE)));
}

TEST_F(ZephSpkrPageTest, EffectBoxAndRoomListWriteTheEffect) {
    ASSERT_TRUE(mixer.SetReverb(24));
    // The rebuilt room list shows "--- None ---" for an effect that is off.
    ::SendMessageA(page, WM_LANGUAGE_CHANGED, 0, 0);
    EXPECT_EQ(::SendMessageA(Control(IDC_SPK_ROOM), CB_GETCURSEL, 0, 0), 0);
    Refresh();
    EXPECT_FALSE(Checked(IDC_SPK_EFFECT_ENABLE));
    EXPECT_EQ(::SendMessageA(Control(IDC_SPK_ROOM), CB_GETCOUNT, 0, 0), 24);
    EXPECT_EQ(::SendMessageA(Control(IDC_SPK_ROOM), CB_GETCURSEL, 0, 0), 0);

    LONG effect = -1;
    Click(IDC_SPK_EFFECT_ENABLE);
    mixer.GetReverb(&effect);
    EXPECT_EQ(effect, 25);
    Choose(IDC_SPK_ROOM, 1); // "Default"
    mixer.GetReverb(&effect);
    EXPECT_EQ(effect, 0);
    Choose(IDC_SPK_ROOM, 23); // "Sewer pipe"
    mixer.GetReverb(&effect);
    EXPECT_EQ(effect, 22);

    // Without a selected room the effect keeps its value.
    ::SendMessageA(Control(IDC_SPK_ROOM), CB_SETCURSEL, WPARAM(-1), 0);
    Click(IDC_SPK_EFFECT_ENABLE); // off
    Click(IDC_SPK_EFFECT_ENABLE); // on again, no room
    mixer.GetReverb(&effect);
    EXPECT_EQ(effect, 24);
}

TEST_F(ZephSpkrPageTest, AccelerationSliderWritesEveryPosition) {
    HWND slider = Control(IDC_SPK_ACCEL);
    ::SendMessageA(slider, TBM_SETPOS, TRUE, 3);
    ::SendMessageA(page, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 3),
                   reinterpret_cast<LPARAM>(slider));
    EXPECT_EQ(mixer.GetDSAcceleration(), 3);
    ::SendMessageA(slider, TBM_SETPOS, TRUE, 1);
    ::SendMessageA(page, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 1),
                   reinterpret_cast<LPARAM>(slider));
    EXPECT_EQ(mixer.GetDSAcceleration(), 1);
}

TEST_F(ZephSpkrPageTest, SpeakerButtonsStartAndStopTheTestSound) {
    CSpeakerTestPlayer& player = sheet->GetSpeakerTestPlayer();
    Choose(IDC_SPK_CONFIG, 2); // stereo
    CMonitorRecorder recorder;
    ASSERT_TRUE(recorder.Start());
    Click(IDC_SPK_FRONT_LEFT);
    ASSERT_TRUE(player.IsSpeakerPlaying(CSpeakerTestPlayer::kFrontLeft));
    EXPECT_TRUE(recorder.WaitForSound(1000, 5000)) << "peak " << recorder.TakePeak();
    Click(IDC_SPK_FRONT_LEFT);
    EXPECT_FALSE(player.IsSpeakerPlaying(CSpeakerTestPlayer::kFrontLeft));

    // A new configuration stops the sound; the button keeps its look until the next click.
    Click(IDC_SPK_FRONT_RIGHT);
    ASSERT_TRUE(player.IsSpeakerPlaying(CSpeakerTestPlayer::kFrontRight));
    Choose(IDC_SPK_CONFIG, 3);
    EXPECT_FALSE(player.IsSpeakerPlaying(CSpeakerTestPlayer::kFrontRight));
    EXPECT_TRUE(Checked(IDC_SPK_FRONT_RIGHT));
    Click(IDC_SPK_FRONT_RIGHT);
    EXPECT_FALSE(Checked(IDC_SPK_FRONT_RIGHT));
    EXPECT_FALSE(player.IsSpeakerPlaying(CSpeakerTestPlayer::kFrontRight));
}

} // namespace
