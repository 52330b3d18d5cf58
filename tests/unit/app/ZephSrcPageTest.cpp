// The Sources page in this process, against the simulated card: which line each strip shows,
// and the microphone boost shared with the Record page.
#include "CoolPropertySheet.h"
#include "LanguageSupport.h"
#include "SimCard.h"
#include "ZephMixer.h"
#include "ZephSheet.h"
#include "ZephSrcPage.h"

#include "../../../src/res/StringIds.h"
#include "../../../src/res/resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ZephSrcPageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { UseSimulatedCard(); }

    void SetUp() override {
        ASSERT_TRUE(ResetSimulatedCard());
        ASSERT_TRUE(mixer.Init());
        language.SetLanguage(1033);
    }
    void TearDown() override { sheet.reset(); }

    CZephSrcPage* OpenSourcesPage() {
        sheet = std::make_unique<CZephSheet>("ZEPH", &mixer);
        if (!sheet->Create(nullptr, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0)) return nullptr;
        sheet->SetActivePage(1);
        return dynamic_cast<CZephSrcPage*>(sheet->GetActivePage());
    }
    std::string LineName(DWORD lineId) {
        MIXERLINEA* line = nullptr;
        return mixer.FindLine(lineId, &line) && line ? line->szName : "";
    }

    CLanguageSupport language;
    CZephMixer mixer;
    std::unique_ptr<CZephSheet> sheet;
};

TEST_F(ZephSrcPageTest, EachStripShowsTheSourceOfItsType) {
    CZephSrcPage* page = OpenSourcesPage();
    ASSERT_TRUE(page);
    // The rear line input (the line-type source 0x00020000) is left out of the Line strip.
    const char* expected[CZephSrcPage::kStrips] = {"Wave",     "SW Synth", "Microphone",
                                                   "CD Audio", "Aux",      "Line In"};
    for (int k = 0; k < CZephSrcPage::kStrips; ++k) {
        EXPECT_EQ(LineName(page->GetVolume(k).GetLineId()), expected[k]) << "strip " << k;
        EXPECT_EQ(page->GetMute(k).GetLineId(), page->GetVolume(k).GetLineId()) << "strip " << k;
        EXPECT_NE(page->GetVolume(k).GetControlId(), page->GetMute(k).GetControlId());
    }

    // Muting a strip mutes its line on the card.
    const DWORD muteId = page->GetMute(5).GetControlId();
    BOOL left = FALSE, right = FALSE;
    ASSERT_TRUE(mixer.SetStereo(muteId, FALSE, FALSE));
    ::SendMessageA(::GetDlgItem(page->m_hWnd, IDC_SRC_MUTE + 5), BM_CLICK, 0, 0);
    ASSERT_TRUE(mixer.GetStereo(muteId, &left, &right));
    EXPECT_TRUE(left && right);
}

TEST_F(ZephSrcPageTest, BoostStartsFromTheCardAndIsSharedWithTheRecordPage) {
    mixer.SetMicBoost(1);
    CZephSrcPage* page = OpenSourcesPage();
    ASSERT_TRUE(page);
    HWND boost = ::GetDlgItem(page->m_hWnd, IDC_SRC_BOOST);
    EXPECT_EQ(::SendMessageA(boost, BM_GETCHECK, 0, 0), BST_CHECKED);

    ::SendMessageA(boost, BM_CLICK, 0, 0);
    EXPECT_EQ(mixer.GetMicBoost(), 0);
    sheet->SetActivePage(2);
    HWND recordBoost = ::GetDlgItem(sheet->GetActivePage()->m_hWnd, IDC_REC_BOOST);
    EXPECT_EQ(::SendMessageA(recordBoost, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    sheet->SetActivePage(1);
    ::SendMessageA(boost, BM_CLICK, 0, 0);
    EXPECT_EQ(mixer.GetMicBoost(), 1);
    EXPECT_EQ(::SendMessageA(recordBoost, BM_GETCHECK, 0, 0), BST_CHECKED);
}

// A page made without the main window, here in a plain skinned sheet, writes the value it
// shares with a sister page to the card all the same.
TEST_F(ZephSrcPageTest, BoostOfAPageWithoutTheMainWindowReachesTheCard) {
    mixer.SetMicBoost(0);
    CZephSrcPage page(&mixer);
    CCoolPropertySheet alone("ALONE");
    alone.AddPage(&page);
    ASSERT_TRUE(alone.Create(nullptr, WS_CAPTION | WS_SYSMENU, 0));
    ::SendMessageA(::GetDlgItem(page.m_hWnd, IDC_SRC_BOOST), BM_CLICK, 0, 0);
    EXPECT_EQ(mixer.GetMicBoost(), 1);
}

TEST_F(ZephSrcPageTest, LanguageChangeSetsEveryText) {
    CZephSrcPage* page = OpenSourcesPage();
    ASSERT_TRUE(page);
    const auto text = [&](int id) {
        char buffer[128] = {};
        ::GetWindowTextA(::GetDlgItem(page->m_hWnd, id), buffer, sizeof(buffer));
        return std::string(buffer);
    };
    const UINT labels[CZephSrcPage::kStrips] = {IDS_WAVE, IDS_SYNTH, IDS_MIC,
                                                IDS_CD,   IDS_AUX,   IDS_LINE};
    EXPECT_EQ(text(IDC_SRC_LABEL + 5), "Line");
    EXPECT_EQ(text(IDC_SRC_BOOST), "Boost");
    language.SetLanguage(1031);
    EXPECT_EQ(::SendMessageA(page->m_hWnd, WM_LANGUAGE_CHANGED, 0, 0), 0);
    EXPECT_EQ(text(IDC_SRC_MUTE), "Stumm");
    for (int k = 0; k < CZephSrcPage::kStrips; ++k) {
        EXPECT_EQ(text(IDC_SRC_LABEL + k), language.GetString(labels[k])) << "strip " << k;
        EXPECT_EQ(text(IDC_SRC_MUTE + k), language.GetString(IDS_MUTE)) << "strip " << k;
    }
    EXPECT_EQ(text(IDC_SRC_BOOST), language.GetString(IDS_BOOST));
}

} // namespace
