// The main window in this process, against the simulated card: the pages that show the same
// card value stay in step, and presets go only to files on disk.
#include "CommonDialogs.h"
#include "LanguageSupport.h"
#include "PresetHandOver.h"
#include "SimCard.h"
#include "WideText.h"
#include "ZephMixer.h"
#include "ZephSheet.h"

#include "../../../src/res/resource.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

class ZephSheetTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { UseSimulatedCard(); }

    void SetUp() override {
        ASSERT_TRUE(ResetSimulatedCard());
        ASSERT_TRUE(mixer.Init());
        language.SetLanguage(1033);
        sheet = std::make_unique<CZephSheet>("ZEPH", &mixer);
        ASSERT_TRUE(sheet->Create(nullptr, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0));
    }
    void TearDown() override {
        SetFileDialogHook(nullptr);
        sheet.reset();
    }

    HWND PageControl(int page, int id) {
        sheet->SetActivePage(page);
        return ::GetDlgItem(sheet->GetActivePage()->m_hWnd, id);
    }

    CLanguageSupport language;
    CZephMixer mixer;
    std::unique_ptr<CZephSheet> sheet;
};

TEST_F(ZephSheetTest, SisterPagesFollowTheSharedCardValues) {
    HWND spdifOut = PageControl(4, IDC_SPDIF_OUT_ENABLE);
    HWND speakersOut = PageControl(3, IDC_SPK_SPDIF_ENABLE);
    ASSERT_TRUE(spdifOut && speakersOut);
    sheet->ApplySPDIFOut(1);
    EXPECT_EQ(mixer.GetSPDIFOutEnabled(), 1);
    EXPECT_EQ(::SendMessageA(spdifOut, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(::SendMessageA(speakersOut, BM_GETCHECK, 0, 0), BST_CHECKED);

    // Surround takes the digital output away and greys its controls; stereo gives them back.
    sheet->OnSpeakerModeChanged(0x105);
    EXPECT_EQ(mixer.GetSPDIFOutEnabled(), 0);
    EXPECT_EQ(::SendMessageA(spdifOut, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_FALSE(::IsWindowEnabled(spdifOut));
    EXPECT_FALSE(::IsWindowEnabled(
        ::GetParent(spdifOut) ? ::GetDlgItem(::GetParent(spdifOut), IDC_SPDIF_OUT_48K) : nullptr));
    sheet->OnSpeakerModeChanged(4);
    EXPECT_TRUE(::IsWindowEnabled(spdifOut));
    EXPECT_EQ(mixer.GetSPDIFOutEnabled(), 0);

    HWND sourcesBoost = PageControl(1, IDC_SRC_BOOST);
    HWND recordBoost = PageControl(2, IDC_REC_BOOST);
    sheet->ApplyMicBoost(1);
    EXPECT_EQ(mixer.GetMicBoost(), 1);
    EXPECT_EQ(::SendMessageA(sourcesBoost, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(::SendMessageA(recordBoost, BM_GETCHECK, 0, 0), BST_CHECKED);
}

// A name that opens a device instead of a file ("NUL" swallows everything, "COM1" may block)
// gets no preset; a file on disk gets the card's settings.
TEST_F(ZephSheetTest, PresetsAreSavedToFilesOnDiskOnly) {
    std::wstring answer;
    FileDialogRequest seen;
    SetFileDialogHook([&](bool open, FileDialogRequest& request) {
        EXPECT_FALSE(open);
        seen = request;
        request.fileName = answer;
        return true;
    });
    char folder[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "zeph sheet test.vqs";
    ::DeleteFileA(path.c_str());
    answer = WidenAnsi(path);
    sheet->SavePreset();
    EXPECT_EQ(seen.defaultExt, "vqs");
    EXPECT_EQ(seen.filter, "Quenda Mixer Mixer Settings(*.vqs)|*.vqs||");
    EXPECT_EQ(seen.flags, DWORD(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT));
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("Begin settings: Quenda Wave"), std::string::npos);
    in.close();
    ::DeleteFileA(path.c_str());

    // A pipe takes what is written to it (so would a device): the name is refused.
    const char* pipeName = "\\\\.\\pipe\\zeph sheet test";
    HANDLE pipe = ::CreateNamedPipeA(pipeName, PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED,
                                     PIPE_TYPE_BYTE, 1, 0, 1 << 16, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    answer = WidenAnsi(pipeName);
    sheet->SavePreset();
    OVERLAPPED overlapped = {};
    overlapped.hEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const bool connected =
        !::ConnectNamedPipe(pipe, &overlapped) &&
        (::GetLastError() == ERROR_PIPE_CONNECTED || ::GetLastError() == ERROR_NO_DATA);
    DWORD waiting = 0;
    ::PeekNamedPipe(pipe, nullptr, 0, nullptr, &waiting, nullptr);
    ::CloseHandle(overlapped.hEvent);
    ::CloseHandle(pipe);
    EXPECT_TRUE(connected); // the save did open it
    EXPECT_EQ(waiting, 0u);
}

// A preset handed over by a second start: the panel answers its question, and applies only a
// well-formed hand-over (tag, terminator, size) of a file on disk.
TEST_F(ZephSheetTest, HandOverAppliesOnlyAWellFormedPresetFile) {
    HWND window = sheet->m_hWnd;
    EXPECT_EQ(::SendMessageA(window, PresetHandOver::PanelQuestion(), 0, 0),
              PresetHandOver::kPanelAnswer);
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"hand over \u266b.vqs";
    {
        std::ofstream out(path.c_str(), std::ios::binary);
        out << "Begin settings: Quenda Wave\t256\t1 104\n2\t1\t 1\t(Master Mute)\n"
               "End settings: Quenda Wave\t256\t1 104\n";
    }
    const auto send = [&](ULONG_PTR tag, std::wstring text, bool terminated) {
        std::vector<wchar_t> data(text.begin(), text.end());
        if (terminated) data.push_back(L'\0');
        COPYDATASTRUCT copy = {tag, DWORD(data.size() * sizeof(wchar_t)), data.data()};
        return ::SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
    };
    const auto muted = [&] {
        DWORD value = 0;
        mixer.GetValues(2, &value, sizeof(value));
        return value;
    };
    ASSERT_EQ(muted(), 0u);
    EXPECT_EQ(send(PresetHandOver::kTag + 1, path, true), PresetHandOver::kRefused);
    EXPECT_EQ(send(PresetHandOver::kTag, path, false), PresetHandOver::kRefused);
    EXPECT_EQ(send(PresetHandOver::kTag, std::wstring(MAX_PATH, L'a'), true),
              PresetHandOver::kRefused);
    EXPECT_EQ(send(PresetHandOver::kTag, folder, true), PresetHandOver::kUnusable);
    EXPECT_EQ(send(PresetHandOver::kTag, L"NUL", true), PresetHandOver::kUnusable);
    EXPECT_EQ(muted(), 0u);
    EXPECT_EQ(send(PresetHandOver::kTag, path, true), PresetHandOver::kApplied);
    EXPECT_EQ(muted(), 1u);
    ::DeleteFileW(path.c_str());
}

// The meters are polled only while the window can be seen: not before it is first shown, not
// while minimised or hidden in the notification area.
TEST_F(ZephSheetTest, MetersArePolledOnlyWhileTheWindowIsSeen) {
    EXPECT_EQ(mixer.GetTimerId(), 0u);
    for (int show : {SW_SHOWNORMAL, SW_MINIMIZE, SW_RESTORE, SW_HIDE, SW_SHOW}) {
        sheet->ShowWindow(show);
        const bool seen = show != SW_MINIMIZE && show != SW_HIDE;
        EXPECT_EQ(mixer.GetTimerId() != 0, seen) << show;
    }
}

} // namespace

// The window is centred on the screen at its full height and then 18 pixels shorter, with the
// top left where centring put it.
TEST_F(ZephSheetTest, WindowIsCentredThenShortened) {
    RECT r = {};
    ::GetWindowRect(sheet->m_hWnd, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    EXPECT_EQ((::GetSystemMetrics(SM_CXSCREEN) - width) / 2, r.left);
    EXPECT_EQ((::GetSystemMetrics(SM_CYSCREEN) - (height + 18)) / 2, r.top);
}
