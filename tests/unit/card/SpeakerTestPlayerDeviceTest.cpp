// The speaker test player against the platform's DirectSound, playing to the sound server
// that the test scripts start (a six-channel null sink described as "Quenda Wave").
#include "Platform.h"

#include "ComPtr.h"
#include "HiddenWnd.h"
#include "MonitorRecorder.h"
#include "Pump.h"
#include "SpeakerTestPlayer.h"
#include "UniqueHandle.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kDeviceName[] = "Quenda Wave";

class SpeakerTestPlayerDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_window.Create("speaker test"));
        ASSERT_EQ(m_player.Open(m_window, kDeviceName), S_OK);
        ASSERT_EQ(m_player.LoadWave("QzTest.wav"), 0);
    }
    CHiddenWnd m_window;
    CSpeakerTestPlayer m_player;
};

TEST_F(SpeakerTestPlayerDeviceTest, OpenChoosesTheCardsDeviceAndCachesItsConfiguration) {
    const GUID* card = nullptr;
    for (const auto& device : m_player.GetDevices()) {
        std::printf("device: \"%s\" \"%s\"\n", device->description, device->module);
        if (std::strstr(device->description, kDeviceName)) card = &device->guid;
    }
    ASSERT_NE(card, nullptr) << "DirectSound lists no device named " << kDeviceName;
    EXPECT_TRUE(IsEqualGUID(m_player.GetDeviceId(), *card));
    EXPECT_EQ(m_player.GetSpeakerCount(), 8u);
    EXPECT_FALSE(m_player.IsDeviceOpen());

    // The cache holds what the device itself reports.
    CComPtr<IDirectSound> device;
    ASSERT_EQ(DirectSoundCreate(card, device.Receive(), nullptr), S_OK);
    DWORD live = 0;
    ASSERT_EQ(device->GetSpeakerConfig(&live), S_OK);
    device.Reset();
    DWORD cached = 0;
    EXPECT_EQ(m_player.QuerySpeakerConfig(&cached, FALSE), 0);
    EXPECT_EQ(cached, live);
    // Live queries need the open device.
    EXPECT_EQ(m_player.QuerySpeakerConfig(&cached, TRUE), E_FAIL);
}

TEST_F(SpeakerTestPlayerDeviceTest, FrontLeftPutsTheSoundOnTheSink) {
    CMonitorRecorder recorder;
    ASSERT_TRUE(recorder.Start());
    // Nothing plays yet: the monitor is silent.
    size_t silent = 0;
    ASSERT_TRUE(PumpUntil([&] { return (silent += recorder.ReadSome()) >= 44100 * 6 / 10; }, 3000));
    EXPECT_EQ(recorder.TakePeak(), 0);

    ASSERT_EQ(m_player.StartSpeaker(CSpeakerTestPlayer::kFrontLeft, TRUE), S_OK);
    EXPECT_TRUE(m_player.IsDeviceOpen());
    EXPECT_TRUE(m_player.IsSpeakerPlaying(CSpeakerTestPlayer::kFrontLeft));
    EXPECT_FALSE(m_player.IsSpeakerPlaying(CSpeakerTestPlayer::kFrontRight));
    DWORD live = 0;
    EXPECT_EQ(m_player.QuerySpeakerConfig(&live, TRUE), S_OK);
    EXPECT_TRUE(recorder.WaitForSound(1000, 5000)) << "peak " << recorder.TakePeak();

    m_player.StopSpeaker(CSpeakerTestPlayer::kFrontLeft, TRUE);
    EXPECT_FALSE(m_player.IsDeviceOpen());
    EXPECT_EQ(m_player.GetPlayCount(), 0);
}

TEST_F(SpeakerTestPlayerDeviceTest, TwoSpeakersKeepTheDeviceOpenUntilBothStop) {
    ASSERT_EQ(m_player.StartSpeaker(CSpeakerTestPlayer::kFrontLeft, TRUE), S_OK);
    ASSERT_EQ(m_player.StartSpeaker(CSpeakerTestPlayer::kRearRight, TRUE), S_OK);
    EXPECT_EQ(m_player.GetPlayCount(), 2);

    m_player.StopSpeaker(CSpeakerTestPlayer::kFrontLeft, TRUE);
    EXPECT_TRUE(m_player.IsDeviceOpen());
    EXPECT_FALSE(m_player.IsSpeakerPlaying(CSpeakerTestPlayer::kFrontLeft));
    EXPECT_TRUE(m_player.IsSpeakerPlaying(CSpeakerTestPlayer::kRearRight));

    m_player.StopSpeaker(CSpeakerTestPlayer::kRearRight, TRUE);
    EXPECT_FALSE(m_player.IsDeviceOpen());
    EXPECT_FALSE(m_player.IsSpeakerPlaying(CSpeakerTestPlayer::kRearRight));
}

TEST_F(SpeakerTestPlayerDeviceTest, ASoundPlayedOnceEndsByItself) {
    ASSERT_EQ(m_player.StartSpeaker(CSpeakerTestPlayer::kCenter, FALSE), S_OK);
    EXPECT_TRUE(m_player.IsSpeakerPlaying(CSpeakerTestPlayer::kCenter));
    EXPECT_TRUE(
        PumpUntil([&] { return !m_player.IsSpeakerPlaying(CSpeakerTestPlayer::kCenter); }, 10000));
    // Still counted until stopped; stopping closes the device.
    EXPECT_EQ(m_player.GetPlayCount(), 1);
    m_player.StopSpeaker(CSpeakerTestPlayer::kCenter, TRUE);
    EXPECT_FALSE(m_player.IsDeviceOpen());
}

TEST_F(SpeakerTestPlayerDeviceTest, ChangingTheConfigurationStopsTheSoundAndUpdatesTheCache) {
    DWORD original = 0;
    m_player.QuerySpeakerConfig(&original, FALSE);
    const DWORD wanted =
        DSSPEAKER_CONFIG(original) == DSSPEAKER_STEREO ? DSSPEAKER_QUAD : DSSPEAKER_STEREO;

    ASSERT_EQ(m_player.StartSpeaker(CSpeakerTestPlayer::kFrontRight, TRUE), S_OK);
    ASSERT_EQ(m_player.ChangeSpeakerConfig(wanted), S_OK);
    EXPECT_FALSE(m_player.IsDeviceOpen());
    EXPECT_EQ(m_player.GetPlayCount(), 0);
    DWORD cached = 0;
    m_player.QuerySpeakerConfig(&cached, FALSE);
    EXPECT_EQ(cached, wanted);

    // Whether the platform keeps the setting for new device objects is its own business;
    // report it, and put the original back.
    CSpeakerTestPlayer second;
    ASSERT_EQ(second.Open(m_window, kDeviceName), S_OK);
    DWORD reread = 0;
    second.QuerySpeakerConfig(&reread, FALSE);
    std::printf("speaker configuration set 0x%lx, read back by a new device 0x%lx (was 0x%lx)\n",
                wanted, reread, original);
    EXPECT_EQ(m_player.ChangeSpeakerConfig(original), S_OK);
    // A speaker plays again after the change.
    ASSERT_EQ(m_player.StartSpeaker(CSpeakerTestPlayer::kFrontRight, TRUE), S_OK);
    EXPECT_TRUE(m_player.IsSpeakerPlaying(CSpeakerTestPlayer::kFrontRight));
    m_player.StopSpeaker(CSpeakerTestPlayer::kFrontRight, TRUE);
}

} // namespace
