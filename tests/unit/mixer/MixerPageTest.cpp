// The generic mixer page and the mixer sheet over the fake driver: which destinations get
// pages, the column layout, and how the sheet sizes and dresses itself, modeless and modal.
#include "FakeMixerDriver.h"
#include "MixerDevice.h"
#include "MixerPropertySheet.h"
#include "Pump.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {
constexpr DWORD kVolume = MIXERCONTROL_CONTROLTYPE_VOLUME;
constexpr DWORD kMute = MIXERCONTROL_CONTROLTYPE_MUTE;
constexpr DWORD kPeak = MIXERCONTROL_CONTROLTYPE_PEAKMETER;
constexpr DWORD kHidden = 0x40000000;

FakeControl Volume(DWORD id, DWORD channels) {
    FakeControl c{id, kVolume, 0, 0, std::vector<DWORD>(channels, 30000), {}};
    c.maximum = 65535;
    c.steps = 32;
    return c;
}

FakeLine Destination(const std::string& name, DWORD lineId) {
    FakeLine line{lineId, name, 2, {}, {}};
    line.controls = {Volume(lineId & 0xFF, 2)};
    return line;
}

// Playback: a stereo master with volume, mute and meter; a mono source with volume and mute;
// a source without controls; an unavailable one; one whose only control is hidden; a stereo
// source with two switches. Recording: a multiplexer over three sources.
FakeDevice PageDevice() {
    FakeDevice device;
    FakeLine play{0xFFFF0000, "Volume", 2, {}, {}};
    play.controls = {Volume(0x10, 2),
                     {0x11, kMute, MIXERCONTROL_CONTROLF_UNIFORM, 0, {0}, {}},
                     {0x12, kPeak, 0, 0, {0, 0}, {}}};
    FakeLine mic{0x10000, "Mic", 1, {}, {}};
    mic.controls = {{0x21, kMute, 0, 0, {0}, {}}, Volume(0x20, 1)};
    FakeLine empty{0x20000, "Empty", 2, {}, {}};
    FakeLine missing{0x30000, "NA", 2, {}, {}};
    missing.controls = {Volume(0x40, 2)};
    FakeLine hidden{0x40000, "Hidden", 2, {}, {}};
    hidden.controls = {Volume(0x50, 2)};
    hidden.controls[0].flags = kHidden;
    FakeLine line{0x50000, "Line", 2, {}, {}};
    line.controls = {
        Volume(0x60, 2),
        {0x61, kMute, MIXERCONTROL_CONTROLF_UNIFORM, 0, {0}, {}},
        {0x62, MIXERCONTROL_CONTROLTYPE_LOUDNESS, MIXERCONTROL_CONTROLF_UNIFORM, 0, {1}, {}}};
    play.sources = {mic, empty, missing, hidden, line};
    FakeLine record{0xFFFF0001, "Recording", 2, {}, {}};
    record.controls = {{0x70,
                        MIXERCONTROL_CONTROLTYPE_MUX,
                        MIXERCONTROL_CONTROLF_UNIFORM | MIXERCONTROL_CONTROLF_MULTIPLE,
                        3,
                        {0, 1, 0},
                        {"Mic", "Line", "Mix"}}};
    FakeLine recMic{0x10001, "Mic", 1, {}, {}};
    recMic.controls = {Volume(0x80, 1)};
    record.sources = {recMic};
    device.destinations = {play, record};
    return device;
}

CRect InPage(HWND page, HWND child) {
    CRect r;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Records what the sheet looks like once it started; a modal one then ends itself.
class ProbeSheet : public CMixerPropertySheet {
public:
    CRect rect;
    DWORD style = 0;
    UINT defaultMenuItem = UINT(-1);
    bool buttonsGone = false;

    BOOL OnInitDialog() override {
        const BOOL result = CMixerPropertySheet::OnInitDialog();
        rect = GetWindowRect();
        style = CWnd::GetStyle();
        defaultMenuItem = ::GetMenuDefaultItem(::GetSystemMenu(m_hWnd, FALSE), FALSE, 0);
        buttonsGone = !GetDlgItem(IDOK) && !GetDlgItem(IDCANCEL) && !GetDlgItem(0x3021) &&
                      !GetDlgItem(IDHELP);
        if (!IsModeless()) PostMessage(WM_APP);
        return result;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_APP) {
            EndDialog(IDCANCEL);
            return 0;
        }
        return CMixerPropertySheet::WindowProc(message, wParam, lParam);
    }
};

class MixerPageTest : public ::testing::Test {
protected:
    void Open(FakeDevice device) {
        fake.devices = {std::move(device)};
        ASSERT_EQ(1, mixer.Open("Quenda Wave", 1, 104));
    }
    FakeMixerDriver fake;
    BoxCapture boxes;
    CMixerDevice mixer;
};

TEST_F(MixerPageTest, PagesForThePlaybackAndTheRecordingDestination) {
    FakeDevice device;
    device.destinations = {Destination("recording", 0xFFFF0001),
                           Destination("Speakers", 0xFFFF0002), Destination("VOLUME", 0xFFFF0003),
                           Destination("Playback", 0xFFFF0004)};
    Open(device);
    CMixerPropertySheet sheet;
    sheet.Construct("Mixer", &mixer);
    ASSERT_EQ(2, sheet.GetPageCount());
    EXPECT_EQ(sheet.GetPlaybackPage(), sheet.GetPage(0));
    EXPECT_EQ(3, sheet.GetPlaybackPage()->GetDestination()); // the later match wins
    EXPECT_EQ("Playback line", sheet.GetPlaybackPage()->GetTitle());
    EXPECT_EQ(0, sheet.GetRecordPage()->GetDestination());
}

TEST_F(MixerPageTest, DeviceWithoutSuchDestinationsGetsNoPage) {
    FakeDevice device;
    device.destinations = {Destination("Speakers", 0xFFFF0001), Destination("Capture", 0xFFFF0002)};
    Open(device);
    CMixerPropertySheet sheet;
    sheet.Construct("Mixer", &mixer);
    EXPECT_EQ(0, sheet.GetPageCount());
}

TEST_F(MixerPageTest, ModelessSheetLaysOutColumnsAndGrows) {
    Open(PageDevice());
    ProbeSheet sheet;
    sheet.Construct("Mixer", &mixer);
    ASSERT_TRUE(sheet.Create());
    CMixerPropertyPage& page = *sheet.GetPlaybackPage();
    ASSERT_NE(nullptr, page.m_hWnd);

    // Master, Mic, Hidden (a label without controls) and Line take columns; the empty and
    // the unavailable lines do not.
    EXPECT_EQ(4, page.GetLineCount());
    EXPECT_EQ(4 * 45 + 20, page.GetPageWidth());
    ASSERT_EQ(3u, page.GetSliders().size());
    EXPECT_EQ(CRect(10, 40, 45, 2 * 22 + 168), InPage(page, *page.GetSliders()[0]));
    EXPECT_EQ(CRect(55, 40, 90, 22 + 168), InPage(page, *page.GetSliders()[1]));
    EXPECT_EQ(1001 - 1, page.GetSliders()[0]->GetDlgCtrlID());
    EXPECT_EQ(0x12u, page.GetSliders()[0]->GetMeterId()); // the line's peak meter
    EXPECT_EQ(1001 + 4, page.GetSliders()[2]->GetDlgCtrlID());
    EXPECT_EQ("Mic", page.GetLabels()[1]->GetWindowText());
    EXPECT_EQ(CRect(53, 10, 90, 30), InPage(page, *page.GetLabels()[1]));

    // Switches: 220 on two-channel lines, 190 on one-channel lines, 30 apart.
    ASSERT_EQ(4u, page.GetButtons().size());
    EXPECT_EQ(CRect(10, 220, 45, 240), InPage(page, *page.GetButtons()[0]));
    EXPECT_EQ(1128, page.GetButtons()[0]->GetDlgCtrlID());
    EXPECT_EQ("Mute", page.GetButtons()[0]->GetWindowText());
    EXPECT_EQ(CRect(55, 190, 90, 210), InPage(page, *page.GetButtons()[1]));
    EXPECT_EQ(CRect(145, 220, 180, 240), InPage(page, *page.GetButtons()[2]));
    EXPECT_EQ(CRect(145, 250, 180, 270), InPage(page, *page.GetButtons()[3]));
    EXPECT_EQ("Hidden", page.GetLabels()[2]->GetWindowText());
    EXPECT_EQ(1129 + 4, page.GetButtons()[3]->GetDlgCtrlID());

    // The sheet fits the largest page, 20 pixels taller, keeps its system menu, no buttons.
    const int width = page.GetPageWidth();
    EXPECT_EQ(width + 10, sheet.rect.Width());
    EXPECT_EQ(280 + 60 + 20, sheet.rect.Height());
    EXPECT_NE(UINT(SC_MINIMIZE), sheet.defaultMenuItem);
    EXPECT_FALSE(sheet.style & WS_MINIMIZEBOX);
    EXPECT_TRUE(sheet.buttonsGone);
    EXPECT_EQ("Volume", page.GetWindowText()); // the destination's short name

    // The recording page: the multiplexer at the left with a column of its own.
    ASSERT_TRUE(sheet.SetActivePage(1));
    CMixerPropertyPage& record = *sheet.GetRecordPage();
    ASSERT_EQ(1u, record.GetMuxes().size());
    EXPECT_EQ(CRect(10, 40, 80, 210), InPage(record, *record.GetMuxes()[0]));
    EXPECT_EQ(1096, record.GetMuxes()[0]->GetDlgCtrlID());
    EXPECT_EQ(3u, record.GetMuxes()[0]->GetItemCount());
    EXPECT_EQ(2, record.GetLineCount());
    EXPECT_EQ(CRect(100, 40, 135, 22 + 168), InPage(record, *record.GetSliders()[0]));
    // The multiplexer's column counts for the width, so the last column is not cut off.
    EXPECT_EQ(3 * 45 + 20, record.GetPageWidth());
}

TEST_F(MixerPageTest, ModalSheetGetsMinimizeAndShrinks) {
    Open(PageDevice());
    ProbeSheet sheet;
    sheet.Construct("Mixer", &mixer);
    sheet.DoModal();
    EXPECT_EQ(280 + 60 - 20, sheet.rect.Height());
    EXPECT_EQ(UINT(SC_MINIMIZE), sheet.defaultMenuItem);
    EXPECT_TRUE(sheet.style & WS_MINIMIZEBOX);
    EXPECT_TRUE(sheet.buttonsGone);
}
} // namespace
