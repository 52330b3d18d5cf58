// The S/P-DIF page in the main window, against the simulated card: its boxes show the card's
// digital options, its clicks write them, and the speaker configuration takes the digital
// output away for more than two speakers.
#include "LanguageSupport.h"
#include "SimCard.h"
#include "ZephMixer.h"
#include "ZephSheet.h"

#include "../../../src/res/resource.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <vector>

namespace {

constexpr int kSpeakersPage = 3;
constexpr int kSpdifPage = 4;

class ZephSpdifPageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { UseSimulatedCard(); }

    void SetUp() override {
        ASSERT_TRUE(ResetSimulatedCard());
        ASSERT_EQ(RunCtl("prop set 3 4 0 0 0").exitCode, 0u); // the card in stereo
        ASSERT_TRUE(mixer.Init());
        language.SetLanguage(1033);
        sheet = std::make_unique<CZephSheet>("ZEPH", &mixer);
        ASSERT_TRUE(sheet->Create(nullptr, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0));
    }
    void TearDown() override { sheet.reset(); }

    HWND Control(int id, int page = kSpdifPage) {
        sheet->SetActivePage(page);
        return ::GetDlgItem(sheet->GetActivePage()->m_hWnd, id);
    }
    bool Checked(int id, int page = kSpdifPage) {
        return ::SendMessageA(Control(id, page), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    void Click(int id) { ::SendMessageA(Control(id), BM_CLICK, 0, 0); }
    // The bytes of the card's S/P-DIF property as another process reads them.
    std::vector<int> CardSpdifBytes() {
        std::istringstream in(RunCtl("prop get 1").output);
        std::vector<int> bytes;
        for (int value; in >> value;)
            bytes.push_back(value);
        return bytes;
    }

    CLanguageSupport language;
    CZephMixer mixer;
    std::unique_ptr<CZephSheet> sheet;
};

TEST_F(ZephSpdifPageTest, BoxesShowAndWriteTheCardOptions) {
    ASSERT_TRUE(Control(IDC_SPK_SPDIF_ENABLE, kSpeakersPage));
    mixer.SetSPDIFLoop(1);
    mixer.SetSPDIFCopy(1);
    mixer.SetSPDIFOut44(1);
    EXPECT_TRUE(Checked(IDC_SPDIF_LOOPBACK));
    EXPECT_TRUE(Checked(IDC_SPDIF_COPYRIGHT));
    EXPECT_FALSE(Checked(IDC_SPDIF_MONITOR));
    EXPECT_TRUE(Checked(IDC_SPDIF_OUT_44K));
    EXPECT_FALSE(Checked(IDC_SPDIF_OUT_48K));
    EXPECT_TRUE((::GetWindowLongPtrA(Control(IDC_SPDIF_WARNING), GWL_STYLE) & WS_VISIBLE));

    Click(IDC_SPDIF_OUT_48K);
    const std::vector<int> bytes = CardSpdifBytes();
    ASSERT_GT(bytes.size(), 10u);
    EXPECT_EQ(bytes[10], 0);
    EXPECT_TRUE(Checked(IDC_SPDIF_OUT_48K));
    EXPECT_FALSE(Checked(IDC_SPDIF_OUT_44K));

    // "Enable" goes through the main window, which checks the Speakers page's box as well.
    Click(IDC_SPDIF_OUT_ENABLE);
    EXPECT_EQ(mixer.GetSPDIFOutEnabled(), 1);
    EXPECT_TRUE(Checked(IDC_SPDIF_OUT_ENABLE));
    EXPECT_TRUE(Checked(IDC_SPK_SPDIF_ENABLE, kSpeakersPage));

    Click(IDC_SPDIF_MONITOR);
    Click(IDC_SPDIF_VALIDITY);
    Click(IDC_SPDIF_COPYRIGHT);
    EXPECT_EQ(mixer.GetSPDIFInMonitor(), 1);
    EXPECT_EQ(mixer.GetSPDIFInValid(), 1);
    EXPECT_EQ(mixer.GetSPDIFCopy(), 0);

    // Signal reverse writes its byte without re-reading the other boxes; the next option does.
    mixer.SetSPDIFLoop(0);
    Click(IDC_SPDIF_REVERSE);
    EXPECT_EQ(mixer.GetSPDIFSignalReverse(), 1);
    EXPECT_TRUE(Checked(IDC_SPDIF_LOOPBACK));
    Click(IDC_SPDIF_MONITOR);
    EXPECT_FALSE(Checked(IDC_SPDIF_LOOPBACK));
    EXPECT_TRUE(Checked(IDC_SPDIF_REVERSE));
}

TEST_F(ZephSpdifPageTest, MoreThanTwoSpeakersTakeTheOutputAway) {
    // Before the page was ever shown, too: the output must not stay on in 5.1.
    sheet->ApplySPDIFOut(1);
    ASSERT_EQ(mixer.GetSPDIFOutEnabled(), 1);
    sheet->OnSpeakerModeChanged(0x106);
    EXPECT_EQ(mixer.GetSPDIFOutEnabled(), 0);

    sheet->ApplySPDIFOut(1);
    ASSERT_TRUE(Control(IDC_SPDIF_OUT_ENABLE));
    sheet->OnSpeakerModeChanged(3);
    EXPECT_EQ(mixer.GetSPDIFOutEnabled(), 0);
    EXPECT_FALSE(Checked(IDC_SPDIF_OUT_ENABLE));
    EXPECT_FALSE(Checked(IDC_SPK_SPDIF_ENABLE, kSpeakersPage));
    for (int id : {IDC_SPDIF_OUT_GROUP, IDC_SPDIF_OUT_ENABLE, IDC_SPDIF_OUT_44K, IDC_SPDIF_OUT_48K})
        EXPECT_FALSE(::IsWindowEnabled(Control(id))) << id;
    EXPECT_TRUE(::IsWindowEnabled(Control(IDC_SPDIF_LOOPBACK)));
    EXPECT_TRUE((::GetWindowLongPtrA(Control(IDC_SPDIF_WARNING), GWL_STYLE) & WS_VISIBLE));

    // Headphones give the controls back, the output stays off.
    sheet->OnSpeakerModeChanged(1);
    for (int id : {IDC_SPDIF_OUT_GROUP, IDC_SPDIF_OUT_ENABLE, IDC_SPDIF_OUT_44K, IDC_SPDIF_OUT_48K})
        EXPECT_TRUE(::IsWindowEnabled(Control(id))) << id;
    EXPECT_EQ(mixer.GetSPDIFOutEnabled(), 0);

    // A card that is itself in 5.1 refuses a new rate; the page shows the rate it kept.
    ASSERT_EQ(RunCtl("prop set 3 6 0 0 0").exitCode, 0u);
    const bool was44 = mixer.GetSPDIFOut44() != 0;
    Click(was44 ? IDC_SPDIF_OUT_48K : IDC_SPDIF_OUT_44K);
    EXPECT_EQ(mixer.GetSPDIFOut44() != 0, was44);
    EXPECT_EQ(Checked(IDC_SPDIF_OUT_44K), was44);
    EXPECT_EQ(Checked(IDC_SPDIF_OUT_48K), !was44);
}

} // namespace
