#include "Platform.h"

#include "SpeakerTestPlayer.h"

#include "WaveFile.h"

#include <mmreg.h>

#include <algorithm>
#include <cstring>

namespace {

// Interface and format identifiers, spelt out here so that the library needs no import
// library for them.
const IID kIID_IDirectSound3DListener = {
    0x279AFA84, 0x4981, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
const IID kIID_IDirectSound3DBuffer = {
    0x279AFA86, 0x4981, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
const GUID kSubtypePcm = {
    0x00000001, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// Speaker buffer slots, in the order the buffers are kept.
const DWORD kSlotMasks[CSpeakerTestPlayer::kSpeakerSlots] = {
    CSpeakerTestPlayer::kFrontLeft,
    CSpeakerTestPlayer::kFrontRight,
    CSpeakerTestPlayer::kRearLeft,
    CSpeakerTestPlayer::kRearRight,
    CSpeakerTestPlayer::kCenter,
    CSpeakerTestPlayer::kSubwoofer,
    CSpeakerTestPlayer::kFrontRightOfCenter,
    CSpeakerTestPlayer::kFrontLeftOfCenter};

// Order in which a closing device stops what still plays.
const DWORD kStopOrder[CSpeakerTestPlayer::kSpeakerSlots] = {
    CSpeakerTestPlayer::kFrontLeft,         CSpeakerTestPlayer::kFrontRight,
    CSpeakerTestPlayer::kRearLeft,          CSpeakerTestPlayer::kRearRight,
    CSpeakerTestPlayer::kSubwoofer,         CSpeakerTestPlayer::kCenter,
    CSpeakerTestPlayer::kFrontLeftOfCenter, CSpeakerTestPlayer::kFrontRightOfCenter};

// A lost buffer is restored in a loop; give up after about two seconds rather than hang the
// user interface while another program holds the device.
const int kRestoreAttempts = 200;
const DWORD kRestoreWaitMs = 10;

void CopyText(char (&field)[128], const char* text) {
    if (!text) text = "";
    size_t length = std::min(std::strlen(text), sizeof(field) - 1);
    std::memcpy(field, text, length);
    field[length] = '\0';
}

WAVEFORMATEXTENSIBLE ExtensibleFormat(WORD channels, DWORD rate, WORD bits, DWORD mask) {
    WAVEFORMATEXTENSIBLE format = {};
    format.Format.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
    format.Format.nChannels = channels;
    format.Format.nSamplesPerSec = rate;
    format.Format.wBitsPerSample = bits;
    format.Format.nBlockAlign = WORD(bits / 8 * channels);
    format.Format.nAvgBytesPerSec = format.Format.nBlockAlign * rate;
    format.Format.cbSize = sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX);
    format.Samples.wValidBitsPerSample = bits;
    format.dwChannelMask = mask;
    format.SubFormat = kSubtypePcm;
    return format;
}

} // namespace

CSpeakerTestPlayer::CSpeakerTestPlayer() = default;

CSpeakerTestPlayer::~CSpeakerTestPlayer() {
    Reset();
}

void CSpeakerTestPlayer::SetEntryPoints(DirectSoundCreateFn create,
                                        DirectSoundEnumerateFn enumerate) {
    Found& found = Opened();
    found.create = create;
    found.enumerate = enumerate;
}

HRESULT CSpeakerTestPlayer::LoadEntryPoints(Found& found) {
    if (found.create && found.enumerate) return S_OK;
    if (!found.dsound) {
        found.dsound.Reset(LoadLibraryA("dsound.dll"));
        if (!found.dsound) return HRESULT_FROM_WIN32(GetLastError());
    }
    // DirectSoundCreate and DirectSoundEnumerateA by their ordinals.
    FARPROC create = GetProcAddress(found.dsound.Get(), MAKEINTRESOURCEA(1));
    FARPROC enumerate = GetProcAddress(found.dsound.Get(), MAKEINTRESOURCEA(2));
    if (!create || !enumerate) return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
    found.create = reinterpret_cast<DirectSoundCreateFn>(reinterpret_cast<void*>(create));
    found.enumerate = reinterpret_cast<DirectSoundEnumerateFn>(reinterpret_cast<void*>(enumerate));
    return S_OK;
}

HRESULT CSpeakerTestPlayer::CreateDevice(Found& found, IDirectSound** device) {
    HRESULT result = LoadEntryPoints(found);
    if (FAILED(result)) return result;
    static const GUID kDefault = {};
    bool isDefault = std::memcmp(&found.deviceId, &kDefault, sizeof(GUID)) == 0;
    return found.create(isDefault ? nullptr : &found.deviceId, device, nullptr);
}

BOOL CALLBACK CSpeakerTestPlayer::EnumCallback(LPGUID guid, LPCSTR description, LPCSTR module,
                                               LPVOID context) {
    auto* found = static_cast<Found*>(context);
    std::unique_ptr<DeviceEntry> entry(new DeviceEntry());
    CopyText(entry->description, description);
    CopyText(entry->module, module);
    if (guid) entry->guid = *guid;
    found->devices.push_back(std::move(entry));
    return TRUE;
}

HRESULT CSpeakerTestPlayer::Open(HWND window, const char* deviceName) {
    Found& found = Opened();
    HRESULT initialised = m_com.Initialize();
    if (FAILED(initialised)) return initialised;
    return FindDevice(found, window, deviceName);
}

void CSpeakerTestPlayer::OpenInBackground(HWND window, const char* deviceName,
                                          const char* fileName) {
    Found& found = Opened();
    // COM stays initialised on this thread for the player's later calls, as after Open; the
    // worker has its own for as long as it runs.
    if (FAILED(m_com.Initialize())) return;
    const std::string device = deviceName ? deviceName : "";
    const std::string file = fileName ? fileName : "";
    m_opening.Start([&found, window, device, file] {
        CComInit com;
        if (FAILED(com.Initialize())) return;
        FindDevice(found, window, device.c_str());
        ReadWave(found, file.c_str());
    });
}

HRESULT CSpeakerTestPlayer::FindDevice(Found& found, HWND window, const char* deviceName) {
    found.window = window;
    found.devices.clear();
    found.deviceId = GUID();

    HRESULT result = LoadEntryPoints(found);
    if (FAILED(result)) return result;
    found.enumerate(&CSpeakerTestPlayer::EnumCallback, &found);

    if (deviceName && *deviceName) {
        for (const auto& entry : found.devices)
            if (std::strstr(entry->description, deviceName)) found.deviceId = entry->guid;
    }

    CComPtr<IDirectSound> device;
    result = CreateDevice(found, device.Receive());
    if (SUCCEEDED(result) && device) {
        DWORD config = 0;
        if (SUCCEEDED(device->GetSpeakerConfig(&config))) found.speakerConfig = config;
        device.Reset();
        found.speakerCount = kSpeakerSlots;
    }
    return result;
}

HRESULT CSpeakerTestPlayer::LoadWave(const char* fileName) {
    return ReadWave(Opened(), fileName);
}

HRESULT CSpeakerTestPlayer::ReadWave(Found& found, const char* fileName) {
    found.wave.reset(new CWaveFile());
    if (FAILED(found.wave->Open(fileName))) {
        // Without a usable sound no speaker buffer can be built: starting a speaker then fails.
        found.wave.reset();
        return E_FAIL;
    }
    return 0;
}

HRESULT CSpeakerTestPlayer::QuerySpeakerConfig(DWORD* config, BOOL live) {
    const Found& found = Opened();
    if (!config) return E_POINTER;
    if (live) {
        if (!m_device) return E_FAIL;
        return m_device->GetSpeakerConfig(config);
    }
    *config = found.speakerConfig;
    return 0;
}

HRESULT CSpeakerTestPlayer::ChangeSpeakerConfig(DWORD config) {
    Found& found = Opened();
    CloseDevice();
    HRESULT opened = OpenDevice();
    if (FAILED(opened)) return opened;
    HRESULT result = m_device->SetSpeakerConfig(config);
    if (FAILED(result)) {
        CloseDevice();
        return result;
    }
    found.speakerConfig = config;
    CloseDevice();
    return opened;
}

// Opens the device object with its primary buffer and, when a test sound is loaded, one
// filled buffer per speaker. On failure nothing stays open.
HRESULT CSpeakerTestPlayer::OpenDevice() {
    if (m_device) return S_OK;
    Found& found = Opened();
    HRESULT result = CreateDevice(found, m_device.Receive());
    if (SUCCEEDED(result) && !m_device) result = E_FAIL;
    if (SUCCEEDED(result)) result = m_device->SetCooperativeLevel(found.window, DSSCL_PRIORITY);
    if (SUCCEEDED(result)) result = CreatePrimaryBuffer();
    if (SUCCEEDED(result) && found.wave && found.wave->GetFormat()) result = CreateSpeakerBuffers();
    if (FAILED(result)) {
        CloseDevice();
        return result;
    }
    for (IDirectSoundBuffer* buffer : m_buffers)
        if (buffer) FillBuffer(buffer);
    return result;
}

HRESULT CSpeakerTestPlayer::CreatePrimaryBuffer() {
    DSBUFFERDESC description = {};
    description.dwSize = sizeof(description);
    description.dwFlags = DSBCAPS_PRIMARYBUFFER;
    HRESULT result = m_device->CreateSoundBuffer(&description, m_primary.Receive(), nullptr);
    if (SUCCEEDED(result) && m_primary) {
        // A mono primary format with a channel mask: the driver then routes each speaker
        // buffer by its own mask.
        WAVEFORMATEXTENSIBLE format = ExtensibleFormat(1, 44100, 16, kFrontLeft);
        if (SUCCEEDED(m_primary->SetFormat(&format.Format))) return S_OK;
    }
    m_primary.Reset();

    // No extensible formats: plain PCM, and the speakers placed in 3D space instead.
    description.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRL3D;
    result = m_device->CreateSoundBuffer(&description, m_primary.Receive(), nullptr);
    if (FAILED(result)) return result;
    if (!m_primary) return E_FAIL;
    WAVEFORMATEX current = {};
    m_primary->GetFormat(&current, sizeof(current), nullptr);
    WAVEFORMATEX pcm = {};
    pcm.wFormatTag = WAVE_FORMAT_PCM;
    pcm.nChannels = 1;
    pcm.nSamplesPerSec = 44100;
    pcm.nAvgBytesPerSec = 88200;
    pcm.nBlockAlign = 2;
    pcm.wBitsPerSample = 16;
    return m_primary->SetFormat(&pcm);
}

HRESULT CSpeakerTestPlayer::CreateSpeakerBuffers() {
    ReleaseSpeakerBuffers();
    WAVEFORMATEXTENSIBLE primaryFormat = {};
    DWORD written = 0;
    HRESULT result = m_primary->GetFormat(&primaryFormat.Format, sizeof(primaryFormat), &written);
    if (FAILED(result)) return result;
    const Found& found = Opened();
    m_bufferSize = found.wave->GetSize();

    if (primaryFormat.Format.wFormatTag == WAVE_FORMAT_EXTENSIBLE) {
        DWORD count = found.speakerCount;
        const DWORD order[] = {kFrontLeft, kFrontRight, kRearLeft,          kRearRight,
                               kCenter,    kSubwoofer,  kFrontLeftOfCenter, kFrontRightOfCenter};
        const DWORD needed[] = {0, 0, 4, 4, 6, 6, 8, 8};
        for (size_t i = 0; i < sizeof(order) / sizeof(order[0]); ++i) {
            if (count < needed[i]) break;
            result = CreateExtensibleBuffer(order[i]);
            if (FAILED(result)) return result;
        }
        return S_OK;
    }

    // The sound is used as mono PCM and positioned around the listener.
    WAVEFORMATEX* format = found.wave->GetFormat();
    format->wFormatTag = WAVE_FORMAT_PCM;
    format->nChannels = 1;
    format->nBlockAlign = WORD(format->wBitsPerSample / 8);
    format->nAvgBytesPerSec = format->nSamplesPerSec * format->nBlockAlign;
    format->cbSize = 0;

    CComPtr<IDirectSound3DListener> listener;
    result = m_primary.QueryInterface(kIID_IDirectSound3DListener, listener);
    if (FAILED(result)) return result;
    result = listener->SetPosition(0.0f, 0.0f, 0.0f, DS3D_IMMEDIATE);
    listener.Reset();
    if (FAILED(result)) return result;

    result = Create3DBuffer(kFrontLeft, -1.0f, 1.0f);
    if (SUCCEEDED(result)) result = Create3DBuffer(kFrontRight, 1.0f, 1.0f);
    if (SUCCEEDED(result) && found.speakerCount >= 4)
        result = Create3DBuffer(kRearLeft, -1.0f, -1.0f);
    if (SUCCEEDED(result) && found.speakerCount >= 4)
        result = Create3DBuffer(kRearRight, 1.0f, -1.0f);
    return result;
}

HRESULT CSpeakerTestPlayer::CreateExtensibleBuffer(DWORD mask) {
    const WAVEFORMATEX* wave = Opened().wave->GetFormat();
    WAVEFORMATEXTENSIBLE format =
        ExtensibleFormat(wave->nChannels, wave->nSamplesPerSec, wave->wBitsPerSample, mask);
    DSBUFFERDESC description = {};
    description.dwSize = sizeof(description);
    description.dwFlags = DSBCAPS_STICKYFOCUS | DSBCAPS_LOCSOFTWARE;
    description.dwBufferBytes = m_bufferSize;
    description.lpwfxFormat = &format.Format;
    return m_device->CreateSoundBuffer(&description, m_buffers[SlotOf(mask)].Receive(), nullptr);
}

HRESULT CSpeakerTestPlayer::Create3DBuffer(DWORD mask, float x, float z) {
    DSBUFFERDESC description = {};
    description.dwSize = sizeof(description);
    description.dwFlags =
        DSBCAPS_STATIC | DSBCAPS_CTRL3D | DSBCAPS_STICKYFOCUS | DSBCAPS_MUTE3DATMAXDISTANCE;
    description.dwBufferBytes = m_bufferSize;
    description.lpwfxFormat = Opened().wave->GetFormat();
    CComPtr<IDirectSoundBuffer>& buffer = m_buffers[SlotOf(mask)];
    HRESULT result = m_device->CreateSoundBuffer(&description, buffer.Receive(), nullptr);
    if (FAILED(result)) return result;
    if (!buffer) return E_FAIL;

    CComPtr<IDirectSound3DBuffer> position;
    result = buffer.QueryInterface(kIID_IDirectSound3DBuffer, position);
    if (FAILED(result)) return result;
    result = position->SetPosition(x, 0.0f, z, DS3D_IMMEDIATE);
    if (SUCCEEDED(result)) result = position->SetMode(DS3DMODE_NORMAL, DS3D_IMMEDIATE);
    if (SUCCEEDED(result)) result = position->SetMinDistance(1.0f, DS3D_IMMEDIATE);
    if (SUCCEEDED(result)) result = position->SetMaxDistance(1.0f, DS3D_IMMEDIATE);
    return result;
}

// Copies the whole sound into the buffer (silence after it, should the buffer be longer than
// the sound now loaded) and leaves the file at the start of the sound.
HRESULT CSpeakerTestPlayer::FillBuffer(IDirectSoundBuffer* buffer) {
    std::vector<BYTE> sound;
    CWaveFile* wave = Opened().wave.get();
    if (wave && SUCCEEDED(wave->ResetToData())) {
        sound.resize(std::min(m_bufferSize, wave->GetSize()));
        UINT read = 0;
        wave->Read(UINT(sound.size()), sound.data(), &read);
        sound.resize(read);
        wave->ResetToData();
    }

    void* first = nullptr;
    void* second = nullptr;
    DWORD firstSize = 0;
    DWORD secondSize = 0;
    HRESULT result = buffer->Lock(0, m_bufferSize, &first, &firstSize, &second, &secondSize, 0);
    if (FAILED(result)) return result;
    size_t offset = 0;
    auto copy = [&](void* part, DWORD size) {
        if (!part) return;
        size_t count = std::min<size_t>(size, sound.size() - offset);
        std::memcpy(part, sound.data() + offset, count);
        std::memset(static_cast<BYTE*>(part) + count, 0, size - count);
        offset += count;
    };
    copy(first, firstSize);
    copy(second, secondSize);
    return buffer->Unlock(first, firstSize, second, secondSize);
}

HRESULT CSpeakerTestPlayer::StartSpeaker(DWORD mask, BOOL looping) {
    if (m_playCount == 0) {
        HRESULT result = OpenDevice();
        if (FAILED(result)) return result;
    }
    HRESULT result = E_FAIL;
    IDirectSoundBuffer* buffer = BufferOf(mask);
    if (buffer) {
        DWORD status = 0;
        result = buffer->GetStatus(&status);
        if (SUCCEEDED(result) && (status & DSBSTATUS_BUFFERLOST)) {
            for (int attempt = 0; attempt < kRestoreAttempts; ++attempt) {
                result = buffer->Restore();
                if (result != DSERR_BUFFERLOST) break;
                Sleep(kRestoreWaitMs);
            }
            if (SUCCEEDED(result)) FillBuffer(buffer);
        }
        if (SUCCEEDED(result)) result = buffer->Play(0, 0, looping ? DSBPLAY_LOOPING : 0);
    }
    if (FAILED(result)) {
        // Nothing else plays: do not keep a device open for a speaker that did not start.
        if (m_playCount == 0) CloseDevice();
        return result;
    }
    // A speaker started again while it plays is still one speaker.
    DWORD bit = 1u << SlotOf(mask);
    if (!(m_started & bit)) {
        m_started |= bit;
        ++m_playCount;
    }
    return result;
}

void CSpeakerTestPlayer::StopSpeaker(DWORD mask, BOOL rewind) {
    IDirectSoundBuffer* buffer = BufferOf(mask);
    if (!buffer) return;
    buffer->Stop();
    if (rewind) buffer->SetCurrentPosition(0);
    // Only a speaker that was started counts down; the last one closes the device.
    DWORD bit = 1u << SlotOf(mask);
    if (m_started & bit) {
        m_started &= ~bit;
        if (--m_playCount == 0) CloseDevice();
    }
}

BOOL CSpeakerTestPlayer::IsSpeakerPlaying(DWORD mask) {
    IDirectSoundBuffer* buffer = BufferOf(mask);
    DWORD status = 0;
    if (!buffer || FAILED(buffer->GetStatus(&status))) return FALSE;
    return (status & DSBSTATUS_PLAYING) ? TRUE : FALSE;
}

void CSpeakerTestPlayer::ReleaseSpeakerBuffers() {
    for (CComPtr<IDirectSoundBuffer>& buffer : m_buffers)
        buffer.Reset();
}

void CSpeakerTestPlayer::CloseDevice() {
    if (!m_device) return;
    for (DWORD mask : kStopOrder) {
        IDirectSoundBuffer* buffer = BufferOf(mask);
        if (buffer && IsSpeakerPlaying(mask)) {
            buffer->Stop();
            buffer->SetCurrentPosition(0);
        }
    }
    // With the device gone nothing plays, including speakers that ended on their own.
    m_started = 0;
    m_playCount = 0;
    ReleaseSpeakerBuffers();
    m_primary.Reset();
    m_device.Reset();
}

HRESULT CSpeakerTestPlayer::Reset() {
    Found& found = Opened();
    CloseDevice();
    found.devices.clear();
    found.wave.reset();
    m_com.Uninitialize();
    return 0;
}

int CSpeakerTestPlayer::SlotOf(DWORD mask) {
    for (int slot = 0; slot < kSpeakerSlots; ++slot)
        if (kSlotMasks[slot] == mask) return slot;
    return -1;
}

IDirectSoundBuffer* CSpeakerTestPlayer::BufferOf(DWORD mask) {
    int slot = SlotOf(mask);
    if (slot < 0 || !m_device || !m_primary) return nullptr;
    return m_buffers[slot];
}
