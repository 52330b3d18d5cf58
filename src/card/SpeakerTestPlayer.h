// Plays the test sound on single speakers of the card through DirectSound, and reads and
// sets the system's DirectSound speaker configuration of the card's output device.
#pragma once

#include "Platform.h"

#include "ComInit.h"
#include "ComPtr.h"
#include "UniqueHandle.h"
#include "WorkerThread.h"

#include <mmsystem.h>
#include <dsound.h>

#include <memory>
#include <string>
#include <vector>

class CWaveFile;

class CSpeakerTestPlayer {
public:
    using DirectSoundCreateFn = HRESULT(WINAPI*)(LPCGUID, LPDIRECTSOUND*, LPUNKNOWN);
    using DirectSoundEnumerateFn = HRESULT(WINAPI*)(LPDSENUMCALLBACKA, LPVOID);

    // One DirectSound device of the last enumeration. Longer texts are cut to the fields.
    struct DeviceEntry {
        char description[128];
        char module[128];
        GUID guid; // all zeros when DirectSound reported none
    };

    // Speaker masks (wave channel-mask bits).
    enum : DWORD {
        kFrontLeft = 0x1,
        kFrontRight = 0x2,
        kCenter = 0x4,
        kSubwoofer = 0x8,
        kRearLeft = 0x10,
        kRearRight = 0x20,
        kFrontLeftOfCenter = 0x40,
        kFrontRightOfCenter = 0x80,
    };
    static const int kSpeakerSlots = 8;

    CSpeakerTestPlayer();
    virtual ~CSpeakerTestPlayer();
    CSpeakerTestPlayer(const CSpeakerTestPlayer&) = delete;
    CSpeakerTestPlayer& operator=(const CSpeakerTestPlayer&) = delete;

    // Uses these two functions instead of dsound.dll's (tests). Call before Open.
    void SetEntryPoints(DirectSoundCreateFn create, DirectSoundEnumerateFn enumerate);

    // Enumerates the devices, chooses the last one whose description contains deviceName
    // (the default device when none does) and reads its speaker configuration.
    HRESULT Open(HWND window, const char* deviceName);
    // Replaces the test sound. 0, or E_FAIL when the file cannot be used.
    HRESULT LoadWave(const char* fileName);
    // Open and LoadWave on a thread of their own: finding the devices takes DirectSound a
    // while, and the caller (a window coming up) need not wait for it. What the opening finds
    // is only reached once it is done, so callers see the player as if Open had run in their
    // place.
    void OpenInBackground(HWND window, const char* deviceName, const char* fileName);
    // live: asks the open device (E_FAIL while closed); otherwise the cached code and 0.
    HRESULT QuerySpeakerConfig(DWORD* config, BOOL live);
    HRESULT ChangeSpeakerConfig(DWORD config);
    // Plays the test sound on the speaker of the mask; the device opens with the first one.
    HRESULT StartSpeaker(DWORD mask, BOOL looping);
    // Stops it; the device closes when the last started speaker stops.
    void StopSpeaker(DWORD mask, BOOL rewind);
    BOOL IsSpeakerPlaying(DWORD mask);
    // Releases everything: device, buffers, device list, test sound, COM. Returns 0.
    HRESULT Reset();

    const std::vector<std::unique_ptr<DeviceEntry>>& GetDevices() const { return Opened().devices; }
    const GUID& GetDeviceId() const { return Opened().deviceId; }
    DWORD GetSpeakerCount() const { return Opened().speakerCount; }
    LONG GetPlayCount() const { return m_playCount; }
    bool IsDeviceOpen() const { return m_device.Get() != nullptr; }
    CWaveFile* GetWave() const { return Opened().wave.get(); }

private:
    // What opening finds: dsound.dll's entry points, the devices, the chosen one with its
    // speaker configuration, and the test sound. An opening in the background fills it and
    // touches nothing else of the player.
    struct Found {
        CModuleHandle dsound;
        DirectSoundCreateFn create = nullptr;
        DirectSoundEnumerateFn enumerate = nullptr;
        HWND window = nullptr;
        GUID deviceId = {};
        std::vector<std::unique_ptr<DeviceEntry>> devices;
        DWORD speakerConfig = 0;
        DWORD speakerCount = 0;
        std::unique_ptr<CWaveFile> wave;
    };

    static BOOL CALLBACK EnumCallback(LPGUID guid, LPCSTR description, LPCSTR module,
                                      LPVOID context);
    static int SlotOf(DWORD mask);
    static HRESULT FindDevice(Found& found, HWND window, const char* deviceName);
    static HRESULT ReadWave(Found& found, const char* fileName);
    static HRESULT LoadEntryPoints(Found& found);
    static HRESULT CreateDevice(Found& found, IDirectSound** device);

    // The only way to what the opening found: waits for an opening in the background first.
    Found& Opened() {
        m_opening.Wait();
        return m_found;
    }
    const Found& Opened() const {
        m_opening.Wait();
        return m_found;
    }

    HRESULT OpenDevice();
    HRESULT CreatePrimaryBuffer();
    HRESULT CreateSpeakerBuffers();
    HRESULT CreateExtensibleBuffer(DWORD mask);
    HRESULT Create3DBuffer(DWORD mask, float x, float z);
    HRESULT FillBuffer(IDirectSoundBuffer* buffer);
    void ReleaseSpeakerBuffers();
    void CloseDevice();
    IDirectSoundBuffer* BufferOf(DWORD mask);

    // COM and dsound.dll (in m_found) before the objects that come from them: the objects go
    // first.
    CComInit m_com;
    Found m_found;
    LONG m_playCount = 0;
    CComPtr<IDirectSound> m_device;
    CComPtr<IDirectSoundBuffer> m_primary;
    CComPtr<IDirectSoundBuffer> m_buffers[kSpeakerSlots];
    DWORD m_bufferSize = 0;

    // Speakers started and not yet stopped, as slot bits; m_playCount is their number.
    DWORD m_started = 0;
    // The opening of OpenInBackground; last, so that it is waited for before m_found goes.
    CWorkerThread m_opening;
};
