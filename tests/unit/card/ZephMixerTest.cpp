#include "Platform.h"

#include "CardControl.h"
#include "ComInit.h"
#include "ComPtr.h"
#include "MixerApi.h"
#include "SimDevice.h"
#include "SimVendor.h"
#include "ZephMixer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char kCardEnumerator[] = "QUENDA";
const char kStateFile[] = "quendasim-card-test-state.bin";

// The card's vendor object as any program gets it.
CComPtr<ICardControl> CreateVendor() {
    CComPtr<ICardControl> object;
    CoCreateInstance(CLSID_CardControl, nullptr, CLSCTX_INPROC_SERVER, kCardControlIids[0],
                     object.ReceiveVoid());
    return object;
}

// Passes every call on to the card's real vendor object and counts the writes; can make the
// reads of one property fail, as a card might.
class CRecordingControl : public ICardControl {
public:
    explicit CRecordingControl(ICardControl* card) { m_card.Attach(card); }
    virtual ~CRecordingControl() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG refs = --m_refs;
        if (refs == 0) delete this;
        return refs;
    }
    LONG STDMETHODCALLTYPE SetProperty(DWORD id, void* buffer, DWORD size) override {
        writes.push_back(id);
        return m_card->SetProperty(id, buffer, size);
    }
    LONG STDMETHODCALLTYPE GetProperty(DWORD id, void* buffer, DWORD size) override {
        if (id == failReads) return 0;
        return m_card->GetProperty(id, buffer, size);
    }

    int WritesOf(DWORD id) const {
        int count = 0;
        for (DWORD written : writes)
            count += written == id;
        return count;
    }

    std::vector<DWORD> writes;
    DWORD failReads = 0;

private:
    CComPtr<ICardControl> m_card;
    ULONG m_refs = 1;
};

// A mixer whose vendor object is the recording one (or none at all).
class CTestMixer : public CZephMixer {
public:
    CRecordingControl* recorder = nullptr;

protected:
    ICardControl* CreateCardControl() override {
        ICardControl* card = CZephMixer::CreateCardControl();
        if (!card) return nullptr;
        recorder = new CRecordingControl(card);
        return recorder;
    }
};

class ZephMixer : public testing::Test {
protected:
    static void SetUpTestSuite() {
        char driver[MAX_PATH];
        if (!GetEnvironmentVariableA(kMixerDriverVariable, driver, sizeof(driver)))
            SetEnvironmentVariableA(kMixerDriverVariable, "quendasim.dll");
        // A state file of our own: the card of the user running the tests stays as it was.
        std::remove(kStateFile);
        SetEnvironmentVariableA("QUENDA_SIM_STATE", kStateFile);
    }
    static void TearDownTestSuite() { std::remove(kStateFile); }

    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(com.Initialize()));
        card = CreateVendor();
        ASSERT_NE(card, nullptr) << "the simulated card is not registered (regsvr32)";
        for (DWORD id = 1; id <= 5; ++id) {
            saved[id - 1].resize(kSizes[id - 1]);
            ASSERT_TRUE(card->GetProperty(id, saved[id - 1].data(), kSizes[id - 1]));
        }
        // A known card: stereo, S/P-DIF off at 48 kHz, effect off, full gains.
        BYTE spdif[11] = {};
        ASSERT_TRUE(card->SetProperty(CARDPROP_SPDIF, spdif, sizeof(spdif)));
        SetSpeakerMode(4);
        LONG effect = 24;
        card->SetProperty(CARDPROP_EFFECT, &effect, sizeof(effect));
        LONG gains[6] = {};
        card->SetProperty(CARDPROP_SPEAKER_VOLUMES, gains, sizeof(gains));
        BYTE input[16] = {};
        card->SetProperty(CARDPROP_INPUT, input, sizeof(input));
    }

    void TearDown() override {
        // The card as the test found it.
        for (DWORD id = 1; card && id <= 5; ++id)
            if (!saved[id - 1].empty()) card->SetProperty(id, saved[id - 1].data(), kSizes[id - 1]);
        card.Reset();
        com.Uninitialize();
    }

    void SetSpeakerMode(DWORD mode) {
        ASSERT_TRUE(card->SetProperty(CARDPROP_SPEAKER_MODE, &mode, sizeof(mode)));
    }

    std::vector<BYTE> CardSpdif() {
        std::vector<BYTE> block(11);
        card->GetProperty(CARDPROP_SPDIF, block.data(), 11);
        return block;
    }

    static constexpr DWORD kSizes[5] = {11, 24, 4, 16, 4};
    CComInit com;
    CComPtr<ICardControl> card;
    std::vector<BYTE> saved[5];
};

TEST_F(ZephMixer, InitMarksTheSpdifBlockStartedAndClearsSignalReverse) {
    const BYTE spdif[11] = {1, 1, 0, 0x77, 1, 1, 1, 0, 1, 0x33, 1};
    ASSERT_TRUE(card->SetProperty(CARDPROP_SPDIF, (void*)spdif, sizeof(spdif)));
    BYTE input[16];
    for (int i = 0; i < 16; ++i)
        input[i] = static_cast<BYTE>(i + 1) & 1 ? 1 : 0x40;
    card->SetProperty(CARDPROP_INPUT, input, sizeof(input));
    LONG effect = 7;
    card->SetProperty(CARDPROP_EFFECT, &effect, sizeof(effect));

    CZephMixer mixer;
    ASSERT_EQ(mixer.Init(), 1);
    ASSERT_NE(mixer.GetCardControl(), nullptr);
    EXPECT_STREQ(mixer.GetName(), "Quenda Wave");

    EXPECT_EQ(mixer.GetSPDIFSignalReverse(), 0);
    EXPECT_EQ(mixer.GetSPDIFOutEnabled(), 1);
    EXPECT_EQ(mixer.GetSPDIFRecord(), 1);
    EXPECT_EQ(mixer.GetSPDIFLoop(), 1);
    EXPECT_EQ(mixer.GetSPDIFCopy(), 1);
    EXPECT_EQ(mixer.GetSPDIFOut44(), 1);
    std::vector<BYTE> expected(spdif, spdif + 11);
    expected[5] = 0;
    expected[7] = 1;
    EXPECT_EQ(CardSpdif(), expected);

    LONG cached = 0;
    mixer.GetReverb(&cached);
    EXPECT_EQ(cached, 7);

    BYTE after[16] = {};
    card->GetProperty(CARDPROP_INPUT, after, sizeof(after));
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(after[i], i < 3 ? 0 : input[i]) << i;
}

TEST_F(ZephMixer, InitSetsFullAccelerationInTheCardsDeviceKey) {
    auto devices = FindMediaDevices(kCardEnumerator, CZephMixer::kHardwareId);
    ASSERT_FALSE(devices.empty()) << "the card's device is not installed (regsvr32)";
    CZephMixer mixer;
    mixer.SetDSAcceleration(0);
    EXPECT_EQ(mixer.GetDSAcceleration(), 0);
    ASSERT_EQ(mixer.Init(), 1);
    mixer.FinishAccelerationWrite();

    std::string base =
        "System\\CurrentControlSet\\Enum\\" + devices[0] + "\\Device Parameters\\DirectSound\\";
    auto read = [&](const std::string& key, const char* name) {
        DWORD value = 0xDEAD, size = sizeof(value), type = 0;
        RegGetValueA(HKEY_LOCAL_MACHINE, (base + key).c_str(), name, RRF_RT_REG_DWORD, &type,
                     &value, &size);
        return value;
    };
    EXPECT_EQ(read("Mixer Defaults", "Acceleration"), 0u);
    EXPECT_EQ(read("Device Presence", "VxD"), 1u);
    EXPECT_EQ(read("Device Presence", "WDM"), 1u);
    EXPECT_EQ(mixer.GetDSAcceleration(), 3);

    for (int level : {0, 1, 2, 3}) {
        mixer.SetDSAcceleration(level);
        EXPECT_EQ(mixer.GetDSAcceleration(), level);
    }
    mixer.SetDSAcceleration(1);
    mixer.SetDSAcceleration(7);
    EXPECT_EQ(mixer.GetDSAcceleration(), 3);
    mixer.SetDSAcceleration(1);
    mixer.SetDSAcceleration(-1);
    EXPECT_EQ(read("Mixer Defaults", "Acceleration"), 0u);
}

TEST_F(ZephMixer, SpdifOutputOnlyWithHeadphonesOrStereo) {
    CZephMixer mixer;
    ASSERT_EQ(mixer.Init(), 1);

    SetSpeakerMode(3); // quad
    mixer.SetSPDIFOutEnabled(1);
    EXPECT_EQ(mixer.GetSPDIFOutEnabled(), 0);
    EXPECT_EQ(CardSpdif()[0], 0);
    mixer.SetSPDIFOut44(1);
    EXPECT_EQ(mixer.GetSPDIFOut44(), 0);
    EXPECT_EQ(CardSpdif()[10], 0);

    SetSpeakerMode(0x00140004); // stereo, with a geometry in the upper bytes
    EXPECT_EQ(mixer.SetSPDIFOutEnabled(1), 1);
    EXPECT_EQ(mixer.GetSPDIFOutEnabled(), 1);
    mixer.SetSPDIFOut44(1);
    EXPECT_EQ(mixer.GetSPDIFOut44(), 1);
    EXPECT_EQ(CardSpdif()[10], 1);

    // At 5.1 the rate is not touched, neither in the cache nor on the card; enabling the
    // output writes 0.
    SetSpeakerMode(6);
    std::vector<BYTE> before = CardSpdif();
    mixer.SetSPDIFOut44(0);
    EXPECT_EQ(mixer.GetSPDIFOut44(), 1);
    EXPECT_EQ(CardSpdif(), before);
    mixer.SetSPDIFOutEnabled(1);
    EXPECT_EQ(mixer.GetSPDIFOutEnabled(), 0);

    SetSpeakerMode(1); // headphones
    mixer.SetSPDIFOutEnabled(1);
    EXPECT_EQ(mixer.GetSPDIFOutEnabled(), 1);
    mixer.SetSPDIFOut44(0);
    EXPECT_EQ(mixer.GetSPDIFOut44(), 0);
}

TEST_F(ZephMixer, SettersKeepWhatTheCardAcceptedAndTheOtherBytes) {
    CZephMixer mixer;
    ASSERT_EQ(mixer.Init(), 1);
    mixer.SetSPDIFInMonitor(1);
    mixer.SetSPDIFInValid(1);
    mixer.SetSPDIFLoop(1);
    mixer.SetSPDIFCopy(1);
    mixer.SetSPDIFRecord(1);
    mixer.SetSPDIFSignalReverse(1);
    const std::vector<BYTE> expected = {0, 1, 1, 0, 1, 1, 1, 1, 1, 0, 0};
    EXPECT_EQ(CardSpdif(), expected);
    mixer.SetSPDIFLoop(0);
    EXPECT_EQ(mixer.GetSPDIFLoop(), 0);
    EXPECT_EQ(mixer.GetSPDIFCopy(), 1);

    // Only the low byte of the argument is stored.
    mixer.SetSPDIFCopy(0x100);
    EXPECT_EQ(mixer.GetSPDIFCopy(), 0);

    // The card refuses an effect it does not know: the cache holds what the card kept.
    EXPECT_EQ(mixer.SetReverb(12), 1);
    LONG effect = 0;
    mixer.GetReverb(&effect);
    EXPECT_EQ(effect, 12);
    mixer.SetReverb(23);
    mixer.GetReverb(&effect);
    EXPECT_EQ(effect, 12);

    mixer.SetMicBoost(1);
    EXPECT_EQ(mixer.GetMicBoost(), 1);
    BYTE input[16] = {};
    card->GetProperty(CARDPROP_INPUT, input, sizeof(input));
    EXPECT_EQ(input[8], 1);
    mixer.SetMicBoost(0);
    EXPECT_EQ(mixer.GetMicBoost(), 0);

    DWORD mode = 0;
    EXPECT_EQ(mixer.GetSpeakerMode(&mode), 1);
    EXPECT_EQ(mode, 4u);
}

TEST_F(ZephMixer, UnreadableInputBlockAndSpeakerModeAreNotMadeUp) {
    CTestMixer mixer;
    ASSERT_EQ(mixer.Init(), 1);
    ASSERT_NE(mixer.recorder, nullptr);
    mixer.recorder->failReads = CARDPROP_INPUT;
    mixer.recorder->writes.clear();
    EXPECT_EQ(mixer.GetMicBoost(), -1);
    mixer.SetMicBoost(1);
    EXPECT_EQ(mixer.recorder->WritesOf(CARDPROP_INPUT), 0);

    // An unreadable speaker mode leaves the caller's value; the object is there, so 1.
    mixer.recorder->failReads = CARDPROP_SPEAKER_MODE;
    DWORD mode = 0x77;
    EXPECT_EQ(mixer.GetSpeakerMode(&mode), 1);
    EXPECT_EQ(mode, 0x77u);
}

// The card section as the program writes it, with the lines the mixer section adds after it.
std::vector<std::string> SavedLines(CZephMixer& mixer) {
    char path[MAX_PATH];
    GetTempFileNameA(".", "vqs", 0, path);
    FILE* file = std::fopen(path, "w");
    EXPECT_EQ(mixer.SaveSettings(file), 1);
    std::fclose(file);
    file = std::fopen(path, "r");
    std::vector<std::string> lines;
    char line[600];
    while (std::fgets(line, sizeof(line), file))
        lines.push_back(line);
    std::fclose(file);
    DeleteFileA(path);
    return lines;
}

TEST_F(ZephMixer, TheCardSectionOfAPreset) {
    CZephMixer mixer;
    ASSERT_EQ(mixer.Init(), 1);
    SetSpeakerMode(1);
    mixer.SetSPDIFOutEnabled(1);
    mixer.SetSPDIFOut44(1);
    mixer.SetSPDIFInMonitor(1);
    mixer.SetSPDIFLoop(1);
    mixer.SetSPDIFRecord(1); // neither saved
    mixer.SetSPDIFSignalReverse(1);
    mixer.SetReverb(3);
    mixer.SetMicBoost(1);
    LONG gains[6] = {-1 * 65536, -2 * 65536, -3 * 65536, -4 * 65536, -5 * 65536, -6 * 65536};
    card->SetProperty(CARDPROP_SPEAKER_VOLUMES, gains, sizeof(gains));

    auto lines = SavedLines(mixer);
    ASSERT_GE(lines.size(), 17u);
    const MIXERCAPSA& caps = mixer.GetCaps();
    char header[200];
    std::snprintf(header, sizeof(header), "Begin NonWSS Settings: Quenda Wave\t%i\t1 104\n",
                  static_cast<int>(caps.vDriverVersion));
    EXPECT_EQ(lines[0], header);
    const std::vector<std::string> expected = {"SpeakerMode 1\n",
                                               "MicBoost 1\n",
                                               "Reverb 3\n",
                                               "SPDIFOutEnabled 1\n",
                                               "SPDIFOut44 1\n",
                                               "SPDIFInMonitor 1\n",
                                               "SPDIFInValid 0\n",
                                               "SPDIFLoop 1\n",
                                               "SPDIFCopy 0\n",
                                               "SpeakerVolFL -327680\n",
                                               "SpeakerVolFR -393216\n",
                                               "SpeakerVolRR -262144\n",
                                               "SpeakerVolRL -196608\n",
                                               "SpeakerVolSub -131072\n",
                                               "SpeakerVolCenter -65536\n"};
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(lines[1 + i], expected[i]) << i;
    // The mixer section follows.
    EXPECT_EQ(lines[16].compare(0, 16, "Begin settings: "), 0);
}

// Writes text to a temporary preset and loads it.
int LoadText(CZephMixer& mixer, const std::string& text) {
    char path[MAX_PATH];
    GetTempFileNameA(".", "vqs", 0, path);
    FILE* file = std::fopen(path, "w");
    std::fputs(text.c_str(), file);
    std::fclose(file);
    file = std::fopen(path, "r");
    int result = mixer.LoadSettings(file);
    std::fclose(file);
    DeleteFileA(path);
    return result;
}

TEST_F(ZephMixer, LoadingAPresetAppliesTheCardValuesFound) {
    CTestMixer mixer;
    ASSERT_EQ(mixer.Init(), 1);
    mixer.SetSPDIFCopy(1);
    LONG gains[6] = {-65536, -65536, -65536, -65536, -65536, -65536};
    card->SetProperty(CARDPROP_SPEAKER_VOLUMES, gains, sizeof(gains));

    // Keys in another order, some missing, the speaker mode only read.
    EXPECT_EQ(LoadText(mixer, "Begin NonWSS Settings: Quenda Wave\t1\t1 104\n"
                              "SPDIFLoop 1\n"
                              "SpeakerVolRR -131072\n"
                              "SpeakerMode 3\n"
                              "Reverb 25\n"
                              "MicBoost 1\n"
                              "SPDIFOutEnabled 1\n"
                              "SpeakerVolFL -196608\n"),
              1);
    LONG effect = 0;
    mixer.GetReverb(&effect);
    EXPECT_EQ(effect, 25);
    EXPECT_EQ(mixer.GetMicBoost(), 1);
    EXPECT_EQ(mixer.GetSPDIFLoop(), 1);
    EXPECT_EQ(mixer.GetSPDIFOutEnabled(), 1);
    EXPECT_EQ(mixer.GetSPDIFCopy(), 1);
    DWORD mode = 0;
    mixer.GetSpeakerMode(&mode);
    EXPECT_EQ(mode, 4u);
    LONG read[6] = {};
    card->GetProperty(CARDPROP_SPEAKER_VOLUMES, read, sizeof(read));
    const LONG expected[6] = {-65536, -65536, -65536, -131072, -196608, -65536};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(read[i], expected[i]) << i;

    // Without any speaker key the gains are still written back once, unchanged.
    mixer.recorder->writes.clear();
    EXPECT_EQ(LoadText(mixer, "Reverb 24\n"), 1);
    EXPECT_EQ(mixer.recorder->WritesOf(CARDPROP_SPEAKER_VOLUMES), 1);
    card->GetProperty(CARDPROP_SPEAKER_VOLUMES, read, sizeof(read));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(read[i], expected[i]) << i;

    // In quad mode the S/P-DIF output stays off and its rate as it was.
    SetSpeakerMode(3);
    EXPECT_EQ(LoadText(mixer, "SPDIFOutEnabled 1\nSPDIFOut44 1\n"), 1);
    EXPECT_EQ(mixer.GetSPDIFOutEnabled(), 0);
    EXPECT_EQ(mixer.GetSPDIFOut44(), 0);

    EXPECT_EQ(mixer.LoadSettings(nullptr), 0);
    EXPECT_EQ(mixer.SaveSettings(nullptr), 0);
}

// A preset saved while the input block could not be read holds boost -1: loading it must not
// switch the boost on (the low byte of -1 would).
TEST_F(ZephMixer, AnUnknownMicBoostInAPresetLeavesTheBoostAlone) {
    CTestMixer mixer;
    ASSERT_EQ(mixer.Init(), 1);
    mixer.recorder->failReads = CARDPROP_INPUT;
    auto lines = SavedLines(mixer);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[2], "MicBoost -1\n");

    mixer.recorder->failReads = 0;
    mixer.recorder->writes.clear();
    EXPECT_EQ(LoadText(mixer, "MicBoost -1\nReverb 25\n"), 1);
    EXPECT_EQ(mixer.recorder->WritesOf(CARDPROP_INPUT), 0);
    EXPECT_EQ(mixer.GetMicBoost(), 0);
    LONG effect = 0;
    mixer.GetReverb(&effect);
    EXPECT_EQ(effect, 25);

    EXPECT_EQ(LoadText(mixer, "MicBoost 1\n"), 1);
    EXPECT_EQ(mixer.GetMicBoost(), 1);
}

// A number the card's 32 bits cannot hold is no value: wrapped, -4294967296 would be full
// level and 4294967301 room 5. The card keeps what it had; the range's own ends still apply.
TEST_F(ZephMixer, CardNumbersPast32BitsInAPresetAreIgnored) {
    CTestMixer mixer;
    ASSERT_EQ(mixer.Init(), 1);
    mixer.SetReverb(3);
    mixer.SetMicBoost(1);
    LONG gains[6] = {-65536, -65536, -65536, -65536, -65536, -65536};
    card->SetProperty(CARDPROP_SPEAKER_VOLUMES, gains, sizeof(gains));

    EXPECT_EQ(LoadText(mixer, "SpeakerVolFL -4294967296\n"
                              "Reverb 4294967301\n"
                              "MicBoost 2147483648\n"
                              "SpeakerVolFR -2147483648\n"),
              1);
    LONG effect = 0;
    mixer.GetReverb(&effect);
    EXPECT_EQ(effect, 3);
    EXPECT_EQ(mixer.GetMicBoost(), 1);
    LONG read[6] = {};
    card->GetProperty(CARDPROP_SPEAKER_VOLUMES, read, sizeof(read));
    EXPECT_EQ(read[4], -65536);               // front left kept
    EXPECT_EQ(read[5], CSimVendor::kMinGain); // front right at the card's lowest level
}

TEST_F(ZephMixer, MixerSectionIsAppliedWhenCardKeysAreMissing) {
    CTestMixer mixer;
    ASSERT_EQ(mixer.Init(), 1);
    ASSERT_EQ(mixer.SetValue(DWORD(2), DWORD(0)), 1); // master mute off
    EXPECT_EQ(LoadText(mixer, "Begin NonWSS Settings: Quenda Wave\t256\t1 104\n"
                              "Reverb 25\n"
                              "Begin settings: Quenda Wave\t256\t1 104\n"
                              "2\t1\t 1\t(Master Mute)\n"
                              "End settings: Quenda Wave\t256\t1 104\n"),
              1);
    DWORD mute = 0;
    ASSERT_EQ(mixer.GetValue(DWORD(2), &mute), 1);
    EXPECT_EQ(mute, 1u);
    LONG effect = 0;
    mixer.GetReverb(&effect);
    EXPECT_EQ(effect, 25);
}

// Takes the vendor class's registration away for the lifetime of the object, as on a system
// without the card's driver package, and puts it back afterwards.
class CClassUnregistered {
public:
    CClassUnregistered() {
        LPOLESTR text = nullptr;
        StringFromCLSID(CLSID_CardControl, &text);
        char clsid[64] = {};
        WideCharToMultiByte(CP_ACP, 0, text, -1, clsid, sizeof(clsid) - 1, nullptr, nullptr);
        CoTaskMemFree(text);
        m_key = std::string("CLSID\\") + clsid;
        char value[MAX_PATH] = {};
        DWORD size = sizeof(value);
        RegGetValueA(HKEY_CLASSES_ROOT, (m_key + "\\InprocServer32").c_str(), nullptr,
                     RRF_RT_REG_SZ, nullptr, value, &size);
        m_server = value;
        RegDeleteTreeA(HKEY_CLASSES_ROOT, m_key.c_str());
    }
    ~CClassUnregistered() {
        std::string key = m_key + "\\InprocServer32";
        RegSetKeyValueA(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, m_server.c_str(),
                        static_cast<DWORD>(m_server.size() + 1));
        RegSetKeyValueA(HKEY_CLASSES_ROOT, key.c_str(), "ThreadingModel", REG_SZ, "Apartment",
                        sizeof("Apartment"));
    }
    bool Saved() const { return !m_server.empty(); }

private:
    std::string m_key;
    std::string m_server;
};

TEST_F(ZephMixer, WithoutAVendorObjectTheCardFunctionsAreInert) {
    CClassUnregistered unregistered;
    ASSERT_TRUE(unregistered.Saved());
    CZephMixer mixer;
    ASSERT_EQ(mixer.Init(), 1);
    EXPECT_EQ(mixer.GetCardControl(), nullptr);
    DWORD mode = 77;
    EXPECT_EQ(mixer.GetSpeakerMode(&mode), 0);
    EXPECT_EQ(mode, 77u);
    EXPECT_EQ(mixer.SetSPDIFOutEnabled(1), 0);
    EXPECT_EQ(mixer.GetSPDIFOutEnabled(), 0);
    EXPECT_EQ(mixer.SetSPDIFLoop(1), 0);
    EXPECT_EQ(mixer.GetSPDIFLoop(), 0);
    EXPECT_EQ(mixer.SetSPDIFOut44(1), 0);
    EXPECT_EQ(mixer.SetReverb(3), 0);
    LONG effect = 5;
    mixer.GetReverb(&effect);
    EXPECT_EQ(effect, CZephMixer::kEffectOff); // nothing read: the virtual speakers are off
    mixer.SetMicBoost(1);
    EXPECT_EQ(mixer.GetMicBoost(), 0);
    EXPECT_EQ(CardSpdif(), std::vector<BYTE>(11, 0));

    auto lines = SavedLines(mixer);
    ASSERT_GE(lines.size(), 16u);
    EXPECT_EQ(lines[1], "SpeakerMode 0\n");
    EXPECT_EQ(lines[15], "SpeakerVolCenter 0\n");
    EXPECT_EQ(LoadText(mixer, "MicBoost 1\nSpeakerVolFL -65536\n"), 1);
}

} // namespace
