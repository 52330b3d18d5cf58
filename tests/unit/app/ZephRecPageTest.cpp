// The Record page in this process, against the simulated card: the strips' sources, the
// multiplexer boxes and recording from the S/P-DIF input.
#include "LanguageSupport.h"
#include "Pump.h"
#include "SimCard.h"
#include "ZephMixer.h"
#include "ZephRecPage.h"
#include "ZephSheet.h"

#include "../../../src/res/StringIds.h"
#include "../../../src/res/resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ZephRecPageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { UseSimulatedCard(); }

    void SetUp() override {
        ASSERT_TRUE(ResetSimulatedCard());
        ASSERT_TRUE(mixer.Init());
        language.SetLanguage(1033);
        sheet = std::make_unique<CZephSheet>("ZEPH", &mixer);
        ASSERT_TRUE(sheet->Create(nullptr, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0));
        sheet->SetActivePage(2);
        page = dynamic_cast<CZephRecPage*>(sheet->GetActivePage());
        ASSERT_TRUE(page);
    }
    void TearDown() override { sheet.reset(); }

    HWND Item(int id) const { return ::GetDlgItem(page->m_hWnd, id); }
    bool Checked(int id) const {
        return ::SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    std::string Text(int id) const {
        char buffer[128] = {};
        ::GetWindowTextA(Item(id), buffer, sizeof(buffer));
        return buffer;
    }
    std::string LineName(DWORD lineId) {
        MIXERLINEA* line = nullptr;
        return mixer.FindLine(lineId, &line) && line ? line->szName : "";
    }
    // The multiplexer's selection, one value per item.
    std::vector<DWORD> Selection() {
        const DWORD muxId = page->GetMuxItem(0).GetControlId();
        std::vector<DWORD> values(static_cast<size_t>(page->GetMuxItem(0).GetItemCount()));
        mixer.GetValues(muxId, values.data(), static_cast<DWORD>(values.size() * sizeof(DWORD)));
        return values;
    }

    CLanguageSupport language;
    CZephMixer mixer;
    std::unique_ptr<CZephSheet> sheet;
    CZephRecPage* page = nullptr;
};

TEST_F(ZephRecPageTest, StripsShowTheSourcesOfTheirTypes) {
    // Two analog sources: the first is the "Mix" strip, the second the "Aux" strip.
    const char* lines[CZephRecPage::kStrips] = {"Stereo Mix", "Microphone", "CD Audio",
                                                "Aux",        "Line In",    "Wave"};
    const char* names[CZephRecPage::kStrips] = {"Mix", "Mic", "CD", "Aux", "Line", "Wave"};
    MIXERCONTROLDETAILS* list = nullptr;
    ASSERT_TRUE(mixer.FindListText(page->GetMuxItem(0).GetControlId(), &list) && list);
    const auto* items = static_cast<const MIXERCONTROLDETAILS_LISTTEXTA*>(list->paDetails);
    for (int k = 0; k < CZephRecPage::kStrips; ++k) {
        EXPECT_EQ(LineName(page->GetVolume(k).GetLineId()), lines[k]) << "strip " << k;
        const int item = page->GetMuxItem(k).GetItemIndex();
        ASSERT_GE(item, 0);
        EXPECT_STREQ(items[item].szName, lines[k]) << "strip " << k;
        EXPECT_EQ(Text(IDC_REC_MUX + k), names[k]);
    }
    language.SetLanguage(1031);
    EXPECT_EQ(::SendMessageA(page->m_hWnd, WM_LANGUAGE_CHANGED, 0, 0), 0);
    EXPECT_EQ(Text(IDC_REC_MUX), language.GetString(IDS_MIX));
    EXPECT_EQ(Text(IDC_REC_BOOST), language.GetString(IDS_BOOST));
}

TEST_F(ZephRecPageTest, MuxBoxesAndTheSPDIFInputExcludeEachOther) {
    // A box selects its source alone; the other boxes follow the card's notification.
    ::SendMessageA(Item(IDC_REC_MUX + 2), BM_CLICK, 0, 0);
    std::vector<DWORD> selection = Selection();
    for (int k = 0; k < CZephRecPage::kStrips; ++k) {
        const auto item = static_cast<size_t>(page->GetMuxItem(k).GetItemIndex());
        EXPECT_EQ(selection[item] != 0, k == 2) << "strip " << k;
    }
    EXPECT_TRUE(PumpUntil([&] {
        for (int k = 0; k < CZephRecPage::kStrips; ++k)
            if (Checked(IDC_REC_MUX + k) != (k == 2)) return false;
        return true;
    }));

    // Recording from S/P-DIF clears the boxes' look but not the multiplexer.
    ::SendMessageA(Item(IDC_REC_SPDIF), BM_CLICK, 0, 0);
    EXPECT_EQ(mixer.GetSPDIFRecord(), 1);
    EXPECT_TRUE(Checked(IDC_REC_SPDIF));
    for (int k = 0; k < CZephRecPage::kStrips; ++k)
        EXPECT_FALSE(Checked(IDC_REC_MUX + k)) << "strip " << k;
    EXPECT_EQ(Selection(), selection);
    PumpPending();
    EXPECT_FALSE(Checked(IDC_REC_MUX + 2));

    // Choosing a source again ends it.
    ::SendMessageA(Item(IDC_REC_MUX + 4), BM_CLICK, 0, 0);
    EXPECT_EQ(mixer.GetSPDIFRecord(), 0);
    EXPECT_FALSE(Checked(IDC_REC_SPDIF));
    EXPECT_TRUE(PumpUntil([&] { return Checked(IDC_REC_MUX + 4) && !Checked(IDC_REC_MUX + 2); }));
    EXPECT_NE(Selection()[static_cast<size_t>(page->GetMuxItem(4).GetItemIndex())], 0u);
}

} // namespace
