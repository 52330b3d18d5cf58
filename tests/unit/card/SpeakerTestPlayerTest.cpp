// The speaker test player with injected DirectSound entry points: fakes that record every
// device, buffer, format and 3D position the player asks for.
#include "Platform.h"

#include "SpeakerTestPlayer.h"
#include "UniqueHandle.h"
#include "WaveFile.h"

#include <gtest/gtest.h>

#include <mmreg.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const GUID kPcm = {0x00000001, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// What one created buffer was asked to be and what was done with it.
struct BufferRecord {
    bool primary = false;
    DWORD flags = 0;
    DWORD bytes = 0;
    std::vector<BYTE> format; // the creation format, with its extra bytes
    std::vector<BYTE> setFormat;
    std::vector<BYTE> data;
    DWORD status = 0;
    int plays = 0;
    DWORD playFlags = 0;
    int restores = 0;
    bool has3D = false;
    D3DVECTOR position = {};
    DWORD mode = 0xFFFF;
    float minDistance = 0, maxDistance = 0;

    const WAVEFORMATEXTENSIBLE* Extensible() const {
        return format.size() >= sizeof(WAVEFORMATEXTENSIBLE)
                   ? reinterpret_cast<const WAVEFORMATEXTENSIBLE*>(format.data())
                   : nullptr;
    }
};

struct DeviceInfo {
    bool hasGuid;
    GUID guid;
    std::string description;
    std::string module;
};

// The fake platform: what it reports and what it was asked.
struct World {
    std::vector<DeviceInfo> devices;
    int createFailures = 0;
    bool extensiblePrimary = true;
    bool buffersStartLost = false;
    int restoreStillLost = 0;
    HRESULT playResult = S_OK;
    HRESULT setSpeakerConfigResult = S_OK;
    DWORD speakerConfig = DSSPEAKER_5POINT1;

    int live = 0;
    int creates = 0;
    std::vector<bool> createdDefault;
    std::vector<GUID> createdGuid;
    HWND coopWindow = nullptr;
    DWORD coopLevel = 0;
    std::vector<std::shared_ptr<BufferRecord>> buffers;
    bool listenerSet = false;
    D3DVECTOR listener = {1, 1, 1};
    std::vector<DWORD> speakerConfigsSet;
    HANDLE enumerateGate = nullptr; // set: the enumeration waits for it
    DWORD enumerateThread = 0;

    std::vector<std::shared_ptr<BufferRecord>> Secondary() const {
        std::vector<std::shared_ptr<BufferRecord>> out;
        for (const auto& b : buffers)
            if (!b->primary) out.push_back(b);
        return out;
    }
};
World* g_world = nullptr;

std::vector<BYTE> CopyFormat(const WAVEFORMATEX* format) {
    if (!format) return {};
    size_t size =
        sizeof(WAVEFORMATEX) + (format->wFormatTag == WAVE_FORMAT_PCM ? 0 : format->cbSize);
    const BYTE* bytes = reinterpret_cast<const BYTE*>(format);
    return std::vector<BYTE>(bytes, bytes + size);
}

// Reference counting shared by the fakes; each counts itself in the world while alive.
template <class Interface> class CFake : public Interface {
public:
    CFake() { ++g_world->live; }
    virtual ~CFake() { --g_world->live; }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG refs = --m_refs;
        if (refs == 0) delete this;
        return refs;
    }

private:
    ULONG m_refs = 1;
};

class CFake3DBuffer : public CFake<IDirectSound3DBuffer> {
public:
    explicit CFake3DBuffer(std::shared_ptr<BufferRecord> record) : m_record(std::move(record)) {}
    STDMETHODIMP QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHODIMP GetAllParameters(LPDS3DBUFFER) override { return E_NOTIMPL; }
    STDMETHODIMP GetConeAngles(LPDWORD, LPDWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetConeOrientation(LPD3DVECTOR) override { return E_NOTIMPL; }
    STDMETHODIMP GetConeOutsideVolume(LPLONG) override { return E_NOTIMPL; }
    STDMETHODIMP GetMaxDistance(LPD3DVALUE) override { return E_NOTIMPL; }
    STDMETHODIMP GetMinDistance(LPD3DVALUE) override { return E_NOTIMPL; }
    STDMETHODIMP GetMode(LPDWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetPosition(LPD3DVECTOR) override { return E_NOTIMPL; }
    STDMETHODIMP GetVelocity(LPD3DVECTOR) override { return E_NOTIMPL; }
    STDMETHODIMP SetAllParameters(LPCDS3DBUFFER, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetConeAngles(DWORD, DWORD, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetConeOrientation(D3DVALUE, D3DVALUE, D3DVALUE, DWORD) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP SetConeOutsideVolume(LONG, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetVelocity(D3DVALUE, D3DVALUE, D3DVALUE, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetMaxDistance(D3DVALUE d, DWORD apply) override {
        m_record->maxDistance = d;
        return apply == DS3D_IMMEDIATE ? S_OK : E_INVALIDARG;
    }
    STDMETHODIMP SetMinDistance(D3DVALUE d, DWORD apply) override {
        m_record->minDistance = d;
        return apply == DS3D_IMMEDIATE ? S_OK : E_INVALIDARG;
    }
    STDMETHODIMP SetMode(DWORD mode, DWORD apply) override {
        m_record->mode = mode;
        return apply == DS3D_IMMEDIATE ? S_OK : E_INVALIDARG;
    }
    STDMETHODIMP SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) override {
        m_record->position = {{x}, {y}, {z}};
        return apply == DS3D_IMMEDIATE ? S_OK : E_INVALIDARG;
    }

private:
    std::shared_ptr<BufferRecord> m_record;
};

class CFakeListener : public CFake<IDirectSound3DListener> {
public:
    STDMETHODIMP QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHODIMP GetAllParameters(LPDS3DLISTENER) override { return E_NOTIMPL; }
    STDMETHODIMP GetDistanceFactor(LPD3DVALUE) override { return E_NOTIMPL; }
    STDMETHODIMP GetDopplerFactor(LPD3DVALUE) override { return E_NOTIMPL; }
    STDMETHODIMP GetOrientation(LPD3DVECTOR, LPD3DVECTOR) override { return E_NOTIMPL; }
    STDMETHODIMP GetPosition(LPD3DVECTOR) override { return E_NOTIMPL; }
    STDMETHODIMP GetRolloffFactor(LPD3DVALUE) override { return E_NOTIMPL; }
    STDMETHODIMP GetVelocity(LPD3DVECTOR) override { return E_NOTIMPL; }
    STDMETHODIMP SetAllParameters(LPCDS3DLISTENER, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetDistanceFactor(D3DVALUE, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetDopplerFactor(D3DVALUE, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetOrientation(D3DVALUE, D3DVALUE, D3DVALUE, D3DVALUE, D3DVALUE, D3DVALUE,
                                DWORD) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP SetRolloffFactor(D3DVALUE, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetVelocity(D3DVALUE, D3DVALUE, D3DVALUE, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP CommitDeferredSettings() override { return S_OK; }
    STDMETHODIMP SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD apply) override {
        g_world->listenerSet = apply == DS3D_IMMEDIATE;
        g_world->listener = {{x}, {y}, {z}};
        return S_OK;
    }
};

class CFakeBuffer : public CFake<IDirectSoundBuffer> {
public:
    explicit CFakeBuffer(std::shared_ptr<BufferRecord> record) : m_record(std::move(record)) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        *out = nullptr;
        if (!(m_record->flags & DSBCAPS_CTRL3D)) return E_NOINTERFACE;
        if (m_record->primary && IsEqualIID(iid, IID_IDirectSound3DListener)) {
            *out = static_cast<IDirectSound3DListener*>(new CFakeListener());
            return S_OK;
        }
        if (!m_record->primary && IsEqualIID(iid, IID_IDirectSound3DBuffer)) {
            m_record->has3D = true;
            *out = static_cast<IDirectSound3DBuffer*>(new CFake3DBuffer(m_record));
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    STDMETHODIMP GetCaps(LPDSBCAPS) override { return E_NOTIMPL; }
    STDMETHODIMP GetCurrentPosition(LPDWORD, LPDWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetVolume(LPLONG) override { return E_NOTIMPL; }
    STDMETHODIMP GetPan(LPLONG) override { return E_NOTIMPL; }
    STDMETHODIMP GetFrequency(LPDWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Initialize(LPDIRECTSOUND, LPCDSBUFFERDESC) override { return E_NOTIMPL; }
    STDMETHODIMP SetVolume(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP SetPan(LONG) override { return E_NOTIMPL; }
    STDMETHODIMP SetFrequency(DWORD) override { return E_NOTIMPL; }

    STDMETHODIMP GetFormat(LPWAVEFORMATEX format, DWORD size, LPDWORD written) override {
        std::vector<BYTE> current = m_record->primary ? m_record->setFormat : m_record->format;
        if (current.empty()) {
            WAVEFORMATEX stereo = {WAVE_FORMAT_PCM, 2, 22050, 88200, 4, 16, 0};
            current = CopyFormat(&stereo);
        }
        if (written) *written = DWORD(current.size());
        if (!format) return S_OK;
        if (size < current.size()) return DSERR_INVALIDPARAM;
        std::memcpy(format, current.data(), current.size());
        return S_OK;
    }
    STDMETHODIMP SetFormat(LPCWAVEFORMATEX format) override {
        if (!m_record->primary) return DSERR_INVALIDCALL;
        if (format->wFormatTag == WAVE_FORMAT_EXTENSIBLE && !g_world->extensiblePrimary)
            return DSERR_BADFORMAT;
        m_record->setFormat = CopyFormat(format);
        return S_OK;
    }
    STDMETHODIMP GetStatus(LPDWORD status) override {
        *status = m_record->status;
        return S_OK;
    }
    STDMETHODIMP Lock(DWORD offset, DWORD bytes, LPVOID* first, LPDWORD firstSize, LPVOID* second,
                      LPDWORD secondSize, DWORD) override {
        if (m_record->status & DSBSTATUS_BUFFERLOST) return DSERR_BUFFERLOST;
        if (offset != 0 || bytes != m_record->bytes) return DSERR_INVALIDPARAM;
        // Handed out in two parts, as a ring buffer may be.
        DWORD half = bytes / 2;
        *first = m_record->data.data();
        *firstSize = half;
        *second = m_record->data.data() + half;
        *secondSize = bytes - half;
        return S_OK;
    }
    STDMETHODIMP Unlock(LPVOID, DWORD, LPVOID, DWORD) override { return S_OK; }
    STDMETHODIMP Play(DWORD, DWORD, DWORD flags) override {
        if (m_record->status & DSBSTATUS_BUFFERLOST) return DSERR_BUFFERLOST;
        if (FAILED(g_world->playResult)) return g_world->playResult;
        ++m_record->plays;
        m_record->playFlags = flags;
        m_record->status |= DSBSTATUS_PLAYING;
        return S_OK;
    }
    STDMETHODIMP SetCurrentPosition(DWORD) override { return S_OK; }
    STDMETHODIMP Stop() override {
        m_record->status &= ~DSBSTATUS_PLAYING;
        return S_OK;
    }
    STDMETHODIMP Restore() override {
        ++m_record->restores;
        if (g_world->restoreStillLost > 0) {
            --g_world->restoreStillLost;
            return DSERR_BUFFERLOST;
        }
        m_record->status &= ~DSBSTATUS_BUFFERLOST;
        return S_OK;
    }

private:
    std::shared_ptr<BufferRecord> m_record;
};

class CFakeDevice : public CFake<IDirectSound> {
public:
    STDMETHODIMP QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHODIMP GetCaps(LPDSCAPS) override { return E_NOTIMPL; }
    STDMETHODIMP DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER, LPLPDIRECTSOUNDBUFFER) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP Compact() override { return S_OK; }
    STDMETHODIMP Initialize(LPCGUID) override { return E_NOTIMPL; }
    STDMETHODIMP SetCooperativeLevel(HWND window, DWORD level) override {
        g_world->coopWindow = window;
        g_world->coopLevel = level;
        return S_OK;
    }
    STDMETHODIMP GetSpeakerConfig(LPDWORD config) override {
        *config = g_world->speakerConfig;
        return S_OK;
    }
    STDMETHODIMP SetSpeakerConfig(DWORD config) override {
        g_world->speakerConfigsSet.push_back(config);
        return g_world->setSpeakerConfigResult;
    }
    STDMETHODIMP CreateSoundBuffer(LPCDSBUFFERDESC description, LPLPDIRECTSOUNDBUFFER out,
                                   IUnknown*) override {
        if (description->dwSize != sizeof(DSBUFFERDESC)) return DSERR_INVALIDPARAM;
        auto record = std::make_shared<BufferRecord>();
        record->primary = (description->dwFlags & DSBCAPS_PRIMARYBUFFER) != 0;
        record->flags = description->dwFlags;
        record->bytes = description->dwBufferBytes;
        record->format = CopyFormat(description->lpwfxFormat);
        if (!record->primary) {
            if (record->bytes == 0 || record->format.empty()) return DSERR_INVALIDPARAM;
            record->data.assign(record->bytes, 0xEE);
            if (g_world->buffersStartLost) record->status = DSBSTATUS_BUFFERLOST;
        }
        g_world->buffers.push_back(record);
        *out = new CFakeBuffer(record);
        return S_OK;
    }
};

HRESULT WINAPI FakeCreate(LPCGUID guid, LPDIRECTSOUND* device, LPUNKNOWN) {
    ++g_world->creates;
    g_world->createdDefault.push_back(guid == nullptr);
    g_world->createdGuid.push_back(guid ? *guid : GUID());
    *device = nullptr;
    if (g_world->createFailures > 0) {
        --g_world->createFailures;
        return DSERR_NODRIVER;
    }
    *device = new CFakeDevice();
    return S_OK;
}

HRESULT WINAPI FakeEnumerate(LPDSENUMCALLBACKA callback, LPVOID context) {
    g_world->enumerateThread = ::GetCurrentThreadId();
    if (g_world->enumerateGate) ::WaitForSingleObject(g_world->enumerateGate, 10000);
    for (DeviceInfo& device : g_world->devices)
        if (!callback(device.hasGuid ? &device.guid : nullptr, device.description.c_str(),
                      device.module.c_str(), context))
            break;
    return S_OK;
}

GUID MakeGuid(BYTE n) {
    return {0x12345600u + n, 0x1111, 0x2222, {n, 1, 2, 3, 4, 5, 6, 7}};
}

class SpeakerTestPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_world = &m_world;
        m_world.devices = {{true, MakeGuid(1), "Speakers (Onboard)", "onboard.sys"},
                           {true, MakeGuid(2), "Quenda Wave", "quenda.sys"},
                           {false, GUID(), "Primary Sound Driver", ""},
                           {true, MakeGuid(3), "Quenda Wave 2", "quenda.sys"},
                           {true, MakeGuid(4), "quenda wave", "other.sys"}};
        m_player.reset(new CSpeakerTestPlayer());
        m_player->SetEntryPoints(&FakeCreate, &FakeEnumerate);

        CWaveFile sound;
        ASSERT_EQ(sound.Open("QzTest.wav"), S_OK);
        m_sound.resize(sound.GetSize());
        UINT read = 0;
        ASSERT_EQ(sound.Read(UINT(m_sound.size()), m_sound.data(), &read), S_OK);
        ASSERT_EQ(read, m_sound.size());
    }
    void TearDown() override {
        m_player.reset();
        EXPECT_EQ(m_world.live, 0) << "DirectSound objects left unreleased";
        g_world = nullptr;
    }
    // Opens the player on the card's device with the test sound loaded.
    void OpenWithSound() {
        ASSERT_EQ(m_player->Open(m_window, "Quenda Wave"), S_OK);
        ASSERT_EQ(m_player->LoadWave("QzTest.wav"), 0);
    }

    World m_world;
    std::unique_ptr<CSpeakerTestPlayer> m_player;
    std::vector<BYTE> m_sound;
    HWND m_window = reinterpret_cast<HWND>(0x1234);
};

TEST_F(SpeakerTestPlayerTest, OpenChoosesTheLastDeviceWhoseDescriptionHoldsTheName) {
    std::string longText(300, 'x');
    m_world.devices.push_back({true, MakeGuid(5), longText, longText});
    m_world.speakerConfig = DSSPEAKER_QUAD;

    ASSERT_EQ(m_player->Open(m_window, "Quenda Wave"), S_OK);
    // Case-sensitive substring; "Quenda Wave 2" comes last among the matches.
    EXPECT_TRUE(IsEqualGUID(m_player->GetDeviceId(), MakeGuid(3)));
    ASSERT_EQ(m_world.creates, 1);
    EXPECT_FALSE(m_world.createdDefault[0]);
    EXPECT_TRUE(IsEqualGUID(m_world.createdGuid[0], MakeGuid(3)));
    EXPECT_EQ(m_player->GetSpeakerCount(), 8u);
    DWORD config = 0;
    EXPECT_EQ(m_player->QuerySpeakerConfig(&config, FALSE), 0);
    EXPECT_EQ(config, DWORD(DSSPEAKER_QUAD));
    // The device object was only borrowed to read the configuration.
    EXPECT_EQ(m_world.live, 0);
    EXPECT_FALSE(m_player->IsDeviceOpen());

    const auto& devices = m_player->GetDevices();
    ASSERT_EQ(devices.size(), 6u);
    EXPECT_STREQ(devices[2]->description, "Primary Sound Driver");
    EXPECT_TRUE(IsEqualGUID(devices[2]->guid, GUID()));
    EXPECT_EQ(std::string(devices[5]->description), longText.substr(0, 127));
    EXPECT_EQ(std::string(devices[5]->module), longText.substr(0, 127));

    // A second Open enumerates afresh; no match means the default device.
    m_world.devices.resize(1);
    ASSERT_EQ(m_player->Open(m_window, "Quenda Wave"), S_OK);
    EXPECT_EQ(m_player->GetDevices().size(), 1u);
    EXPECT_TRUE(IsEqualGUID(m_player->GetDeviceId(), GUID()));
    EXPECT_TRUE(m_world.createdDefault[1]);
}

// Opening in the background leaves the caller free while DirectSound looks for its devices;
// afterwards the player is as Open and LoadWave leave it, and plays from the caller's thread.
TEST_F(SpeakerTestPlayerTest, OpeningInTheBackgroundDoesNotHoldTheCallerUp) {
    CKernelHandle gate(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    m_world.enumerateGate = gate.Get();
    m_world.speakerConfig = DSSPEAKER_QUAD;
    m_player->OpenInBackground(m_window, "Quenda Wave", "QzTest.wav");
    // Still enumerating, behind the gate, and yet the call is back.
    EXPECT_NE(::WaitForSingleObject(gate.Get(), 0), WAIT_OBJECT_0);
    ::SetEvent(gate.Get());

    EXPECT_TRUE(IsEqualGUID(m_player->GetDeviceId(), MakeGuid(3)));
    EXPECT_NE(m_world.enumerateThread, ::GetCurrentThreadId());
    EXPECT_EQ(m_player->GetSpeakerCount(), 8u);
    ASSERT_NE(m_player->GetWave(), nullptr);
    DWORD config = 0;
    EXPECT_EQ(m_player->QuerySpeakerConfig(&config, FALSE), 0);
    EXPECT_EQ(config, DWORD(DSSPEAKER_QUAD));
    ASSERT_EQ(m_player->StartSpeaker(CSpeakerTestPlayer::kCenter, FALSE), S_OK);
    EXPECT_TRUE(m_player->IsSpeakerPlaying(CSpeakerTestPlayer::kCenter));
    EXPECT_EQ(m_world.coopWindow, m_window);
}

TEST_F(SpeakerTestPlayerTest, AFailedOpenLeavesTwoSpeakersOnly) {
    m_world.createFailures = 1;
    EXPECT_EQ(m_player->Open(m_window, "Quenda Wave"), DSERR_NODRIVER);
    EXPECT_EQ(m_player->GetSpeakerCount(), 0u);
    DWORD config = 99;
    m_player->QuerySpeakerConfig(&config, FALSE);
    EXPECT_EQ(config, 0u);

    ASSERT_EQ(m_player->LoadWave("QzTest.wav"), 0);
    ASSERT_EQ(m_player->StartSpeaker(CSpeakerTestPlayer::kFrontLeft, FALSE), S_OK);
    auto speakers = m_world.Secondary();
    ASSERT_EQ(speakers.size(), 2u);
    EXPECT_EQ(speakers[0]->Extensible()->dwChannelMask, DWORD(SPEAKER_FRONT_LEFT));
    EXPECT_EQ(speakers[1]->Extensible()->dwChannelMask, DWORD(SPEAKER_FRONT_RIGHT));
    EXPECT_EQ(m_player->StartSpeaker(CSpeakerTestPlayer::kRearLeft, FALSE), E_FAIL);
    EXPECT_EQ(m_player->GetPlayCount(), 1);
}

TEST_F(SpeakerTestPlayerTest, EachSpeakerGetsABufferWithExactlyItsChannelMask) {
    OpenWithSound();
    ASSERT_EQ(m_player->StartSpeaker(CSpeakerTestPlayer::kFrontLeft, TRUE), S_OK);
    EXPECT_EQ(m_world.coopWindow, m_window);
    EXPECT_EQ(m_world.coopLevel, DWORD(DSSCL_PRIORITY));

    ASSERT_FALSE(m_world.buffers.empty());
    const BufferRecord& primary = *m_world.buffers[0];
    EXPECT_TRUE(primary.primary);
    EXPECT_EQ(primary.flags, DWORD(DSBCAPS_PRIMARYBUFFER));
    ASSERT_EQ(primary.setFormat.size(), sizeof(WAVEFORMATEXTENSIBLE));
    auto* mix = reinterpret_cast<const WAVEFORMATEXTENSIBLE*>(primary.setFormat.data());
    EXPECT_EQ(mix->Format.nChannels, 1);
    EXPECT_EQ(mix->Format.nSamplesPerSec, 44100u);
    EXPECT_EQ(mix->dwChannelMask, DWORD(SPEAKER_FRONT_LEFT));

    auto speakers = m_world.Secondary();
    const DWORD masks[] = {1, 2, 16, 32, 4, 8, 64, 128};
    ASSERT_EQ(speakers.size(), 8u);
    for (size_t i = 0; i < speakers.size(); ++i) {
        const BufferRecord& speaker = *speakers[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(speaker.flags, DWORD(DSBCAPS_STICKYFOCUS | DSBCAPS_LOCSOFTWARE));
        EXPECT_EQ(speaker.bytes, m_sound.size());
        const WAVEFORMATEXTENSIBLE* format = speaker.Extensible();
        ASSERT_NE(format, nullptr);
        EXPECT_EQ(format->Format.wFormatTag, WAVE_FORMAT_EXTENSIBLE);
        EXPECT_EQ(format->Format.nChannels, 1);
        EXPECT_EQ(format->Format.nSamplesPerSec, 44100u);
        EXPECT_EQ(format->Format.nBlockAlign, 2);
        EXPECT_EQ(format->Format.nAvgBytesPerSec, 88200u);
        EXPECT_EQ(format->Format.cbSize, 22);
        EXPECT_EQ(format->Samples.wValidBitsPerSample, 16);
        EXPECT_TRUE(IsEqualGUID(format->SubFormat, kPcm));
        EXPECT_EQ(format->dwChannelMask, masks[i]);
        EXPECT_EQ(speaker.data, m_sound);
        EXPECT_EQ(speaker.plays, i == 0 ? 1 : 0);
    }
    EXPECT_EQ(speakers[0]->playFlags, DWORD(DSBPLAY_LOOPING));
    EXPECT_TRUE(m_player->IsSpeakerPlaying(CSpeakerTestPlayer::kFrontLeft));
    EXPECT_FALSE(m_player->IsSpeakerPlaying(CSpeakerTestPlayer::kFrontRight));

    // The subwoofer plays once, on its own buffer.
    ASSERT_EQ(m_player->StartSpeaker(CSpeakerTestPlayer::kSubwoofer, FALSE), S_OK);
    EXPECT_EQ(speakers[5]->plays, 1);
    EXPECT_EQ(speakers[5]->playFlags, 0u);
    EXPECT_EQ(m_world.Secondary().size(), 8u) << "the open device is reused";
}

TEST_F(SpeakerTestPlayerTest, WithoutExtensibleFormatsSpeakersArePlacedIn3D) {
    m_world.extensiblePrimary = false;
    OpenWithSound();
    ASSERT_EQ(m_player->StartSpeaker(CSpeakerTestPlayer::kFrontRight, TRUE), S_OK);

    std::vector<std::shared_ptr<BufferRecord>> primaries;
    for (const auto& b : m_world.buffers)
        if (b->primary) primaries.push_back(b);
    ASSERT_EQ(primaries.size(), 2u);
    EXPECT_EQ(primaries[1]->flags, DWORD(DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRL3D));
    ASSERT_EQ(primaries[1]->setFormat.size(), sizeof(WAVEFORMATEX));
    auto* pcm = reinterpret_cast<const WAVEFORMATEX*>(primaries[1]->setFormat.data());
    EXPECT_EQ(pcm->wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(pcm->nChannels, 1);
    EXPECT_EQ(pcm->nAvgBytesPerSec, 88200u);
    EXPECT_TRUE(m_world.listenerSet);
    EXPECT_EQ(m_world.listener.x, 0.0f);
    EXPECT_EQ(m_world.listener.z, 0.0f);

    // Front left, front right, rear left, rear right; no center or subwoofer.
    auto speakers = m_world.Secondary();
    ASSERT_EQ(speakers.size(), 4u);
    const float x[] = {-1, 1, -1, 1};
    const float z[] = {1, 1, -1, -1};
    for (size_t i = 0; i < speakers.size(); ++i) {
        const BufferRecord& speaker = *speakers[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(speaker.flags, DWORD(DSBCAPS_STATIC | DSBCAPS_CTRL3D | DSBCAPS_STICKYFOCUS |
                                       DSBCAPS_MUTE3DATMAXDISTANCE));
        ASSERT_EQ(speaker.format.size(), sizeof(WAVEFORMATEX));
        EXPECT_EQ(reinterpret_cast<const WAVEFORMATEX*>(speaker.format.data())->wFormatTag,
                  WAVE_FORMAT_PCM);
        EXPECT_TRUE(speaker.has3D);
        EXPECT_EQ(speaker.position.x, x[i]);
        EXPECT_EQ(speaker.position.y, 0.0f);
        EXPECT_EQ(speaker.position.z, z[i]);
        EXPECT_EQ(speaker.mode, DWORD(DS3DMODE_NORMAL));
        EXPECT_EQ(speaker.minDistance, 1.0f);
        EXPECT_EQ(speaker.maxDistance, 1.0f);
        EXPECT_EQ(speaker.data, m_sound);
    }

    // The center has no buffer: it cannot start, and stopping it changes nothing.
    EXPECT_EQ(m_player->StartSpeaker(CSpeakerTestPlayer::kCenter, TRUE), E_FAIL);
    m_player->StopSpeaker(CSpeakerTestPlayer::kCenter, TRUE);
    EXPECT_EQ(m_player->GetPlayCount(), 1);
    EXPECT_TRUE(m_player->IsDeviceOpen());
    EXPECT_TRUE(m_player->IsSpeakerPlaying(CSpeakerTestPlayer::kFrontRight));
}

TEST_F(SpeakerTestPlayerTest, TheDeviceStaysOpenUntilTheLastStartedSpeakerStops) {
    OpenWithSound();
    ASSERT_EQ(m_player->StartSpeaker(CSpeakerTestPlayer::kFrontLeft, TRUE), S_OK);
    ASSERT_EQ(m_player->StartSpeaker(CSpeakerTestPlayer::kRearRight, TRUE), S_OK);
    // Started again while playing: still one speaker.
    ASSERT_EQ(m_player->StartSpeaker(CSpeakerTestPlayer::kFrontLeft, TRUE), S_OK);
    EXPECT_EQ(m_player->GetPlayCount(), 2);
    // Stopping one that was never started leaves the others alone.
    m_player->StopSpeaker(CSpeakerTestPlayer::kCenter, TRUE);
    EXPECT_EQ(m_player->GetPlayCount(), 2);

    m_player->StopSpeaker(CSpeakerTestPlayer::kFrontLeft, TRUE);
    EXPECT_TRUE(m_player->IsDeviceOpen());
    EXPECT_FALSE(m_player->IsSpeakerPlaying(CSpeakerTestPlayer::kFrontLeft));
    EXPECT_TRUE(m_player->IsSpeakerPlaying(CSpeakerTestPlayer::kRearRight));

    m_player->StopSpeaker(CSpeakerTestPlayer::kRearRight, TRUE);
    EXPECT_FALSE(m_player->IsDeviceOpen());
    EXPECT_EQ(m_world.live, 0);
    // Stopping with the device closed does nothing; the next start opens it again.
    m_player->StopSpeaker(CSpeakerTestPlayer::kRearRight, TRUE);
    EXPECT_EQ(m_player->GetPlayCount(), 0);
    ASSERT_EQ(m_player->StartSpeaker(CSpeakerTestPlayer::kRearRight, TRUE), S_OK);
    EXPECT_EQ(m_world.Secondary().size(), 16u);
    EXPECT_TRUE(m_player->IsSpeakerPlaying(CSpeakerTestPlayer::kRearRight));
}

TEST_F(SpeakerTestPlayerTest, ALostBufferIsRestoredAndRefilledBeforePlaying) {
    m_world.buffersStartLost = true;
    m_world.restoreStillLost = 2;
    OpenWithSound();
    ASSERT_EQ(m_player->StartSpeaker(CSpeakerTestPlayer::kFrontLeft, FALSE), S_OK);
    const BufferRecord& speaker = *m_world.Secondary()[0];
    EXPECT_EQ(speaker.restores, 3);
    EXPECT_EQ(speaker.data, m_sound);
    EXPECT_EQ(speaker.plays, 1);
}

TEST_F(SpeakerTestPlayerTest, AFailedStartCountsNothingAndClosesTheDevice) {
    OpenWithSound();
    m_world.playResult = DSERR_PRIOLEVELNEEDED;
    EXPECT_EQ(m_player->StartSpeaker(CSpeakerTestPlayer::kFrontLeft, TRUE), DSERR_PRIOLEVELNEEDED);
    EXPECT_EQ(m_player->GetPlayCount(), 0);
    EXPECT_FALSE(m_player->IsDeviceOpen());
    EXPECT_EQ(m_world.live, 0);

    // A device that cannot be created: the start fails and nothing is left behind.
    m_world.playResult = S_OK;
    m_world.createFailures = 1;
    EXPECT_EQ(m_player->StartSpeaker(CSpeakerTestPlayer::kFrontLeft, TRUE), DSERR_NODRIVER);
    EXPECT_FALSE(m_player->IsDeviceOpen());
    ASSERT_EQ(m_player->StartSpeaker(CSpeakerTestPlayer::kFrontLeft, TRUE), S_OK);
}

TEST_F(SpeakerTestPlayerTest, ChangingTheConfigurationStopsSoundsAndCachesTheCode) {
    OpenWithSound();
    ASSERT_EQ(m_player->StartSpeaker(CSpeakerTestPlayer::kFrontLeft, TRUE), S_OK);
    auto playing = m_world.Secondary()[0];

    EXPECT_EQ(m_player->ChangeSpeakerConfig(DSSPEAKER_STEREO), S_OK);
    ASSERT_EQ(m_world.speakerConfigsSet.size(), 1u);
    EXPECT_EQ(m_world.speakerConfigsSet[0], DWORD(DSSPEAKER_STEREO));
    EXPECT_FALSE(playing->status & DSBSTATUS_PLAYING);
    EXPECT_FALSE(m_player->IsDeviceOpen());
    EXPECT_EQ(m_player->GetPlayCount(), 0);
    EXPECT_EQ(m_world.live, 0);
    DWORD config = 0;
    m_player->QuerySpeakerConfig(&config, FALSE);
    EXPECT_EQ(config, DWORD(DSSPEAKER_STEREO));

    // A sound that ended by itself is gone with the device too: the next start opens it.
    ASSERT_EQ(m_player->StartSpeaker(CSpeakerTestPlayer::kFrontLeft, FALSE), S_OK);
    auto speakers = m_world.Secondary();
    speakers[speakers.size() - 8]->status = 0; // front left of the device now open
    ASSERT_EQ(m_player->ChangeSpeakerConfig(DSSPEAKER_5POINT1), S_OK);
    EXPECT_EQ(m_player->GetPlayCount(), 0);
    ASSERT_EQ(m_player->StartSpeaker(CSpeakerTestPlayer::kFrontLeft, FALSE), S_OK);
    EXPECT_TRUE(m_player->IsSpeakerPlaying(CSpeakerTestPlayer::kFrontLeft));
    m_player->StopSpeaker(CSpeakerTestPlayer::kFrontLeft, TRUE);

    // Refused: the error comes back and the cache keeps the old code.
    m_world.setSpeakerConfigResult = DSERR_INVALIDPARAM;
    EXPECT_EQ(m_player->ChangeSpeakerConfig(DSSPEAKER_QUAD), DSERR_INVALIDPARAM);
    m_player->QuerySpeakerConfig(&config, FALSE);
    EXPECT_EQ(config, DWORD(DSSPEAKER_5POINT1));
    EXPECT_FALSE(m_player->IsDeviceOpen());
}

TEST_F(SpeakerTestPlayerTest, WithoutTheTestSoundSpeakersFailQuietly) {
    ASSERT_EQ(m_player->Open(m_window, "Quenda Wave"), S_OK);
    EXPECT_EQ(m_player->LoadWave("no such sound.wav"), E_FAIL);
    EXPECT_EQ(m_player->StartSpeaker(CSpeakerTestPlayer::kFrontLeft, TRUE), E_FAIL);
    EXPECT_FALSE(m_player->IsDeviceOpen());
    EXPECT_EQ(m_player->GetPlayCount(), 0);
    EXPECT_TRUE(m_world.Secondary().empty());
    // The configuration does not need the sound.
    EXPECT_EQ(m_player->ChangeSpeakerConfig(DSSPEAKER_QUAD), S_OK);
    EXPECT_EQ(m_world.speakerConfigsSet.size(), 1u);

    // A sound without samples is no sound either: no buffer could hold it, and it must not
    // keep the configuration from being changed.
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path =
        std::string(folder) + "quenda-empty-" + std::to_string(GetCurrentProcessId()) + ".wav";
    // PCM, mono, 44.1 kHz, 16 bits, and a "data" chunk of no bytes.
    const DWORD empty[] = {mmioFOURCC('R', 'I', 'F', 'F'),
                           36,
                           mmioFOURCC('W', 'A', 'V', 'E'),
                           mmioFOURCC('f', 'm', 't', ' '),
                           16,
                           MAKELONG(WAVE_FORMAT_PCM, 1),
                           44100,
                           88200,
                           MAKELONG(2, 16),
                           mmioFOURCC('d', 'a', 't', 'a'),
                           0};
    CKernelHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(file);
    DWORD written = 0;
    WriteFile(file.Get(), empty, sizeof(empty), &written, nullptr);
    file.Close();
    EXPECT_EQ(m_player->LoadWave(path.c_str()), E_FAIL);
    DeleteFileA(path.c_str());
    EXPECT_EQ(m_player->StartSpeaker(CSpeakerTestPlayer::kFrontLeft, TRUE), E_FAIL);
    EXPECT_EQ(m_player->ChangeSpeakerConfig(DSSPEAKER_5POINT1), S_OK);
    EXPECT_EQ(m_world.speakerConfigsSet.size(), 2u);
    EXPECT_FALSE(m_player->IsDeviceOpen());
}

TEST_F(SpeakerTestPlayerTest, ResetReleasesEverything) {
    OpenWithSound();
    ASSERT_EQ(m_player->StartSpeaker(CSpeakerTestPlayer::kFrontLeft, TRUE), S_OK);
    EXPECT_EQ(m_player->Reset(), 0);
    EXPECT_EQ(m_world.live, 0);
    EXPECT_TRUE(m_player->GetDevices().empty());
    EXPECT_EQ(m_player->GetWave(), nullptr);
    EXPECT_EQ(m_player->GetPlayCount(), 0);
}

} // namespace
