// The program's one mixer object: the card's mixer device "Quenda Wave" together with the
// card's vendor control object, whose S/P-DIF block (property 1) and effect (property 5) it
// caches, and the DirectSound acceleration level kept in the card's device key.
//
// Every setter of the S/P-DIF block writes the whole cached block and reads it back, so the
// cache holds what the card accepted; the getters answer from the cache. The S/P-DIF output
// works only with headphones or two speakers: in any other speaker mode enabling it writes 0,
// and its sample rate is left alone.
//
// Without a vendor object (the card's driver package is not installed) the card functions do
// nothing: setters return 0, getters report 0.
//
// Typical use:
//     CZephMixer mixer;
//     if (!mixer.Init()) return;        // no card mixer: the program does not start
//     mixer.SetSPDIFOutEnabled(1);
//     int on = mixer.GetSPDIFOutEnabled();
#pragma once

#include "Platform.h"

#include "CardControl.h"
#include "ComInit.h"
#include "ComPtr.h"
#include "MixerDevice.h"
#include "WorkerThread.h"

#include <cstdio>

class CZephMixer : public CMixerDevice {
public:
    // The card's PCI hardware id; its device key holds the DirectSound settings.
    static constexpr const char* kHardwareId = "PCI\\VEN_FFF1&DEV_5100&SUBSYS_0001FFF1";
    static constexpr const char* kDeviceName = "Quenda Wave";
    static constexpr UINT kManufacturerId = 1; // MM_MICROSOFT
    static constexpr UINT kProductId = 104;    // MM_MSFT_WDMAUDIO_MIXER

    // The DirectSound acceleration codes of levels 0 to 3 (3 is full acceleration).
    static const DWORD kAccelerationCodes[4];

    // Bytes of the S/P-DIF block.
    enum SpdifByte {
        kSpdifOutEnabled = 0,
        kSpdifRecord = 1,
        kSpdifInMonitor = 2,
        kSpdifLoop = 4,
        kSpdifSignalReverse = 5,
        kSpdifInValid = 6,
        kSpdifStarted = 7,
        kSpdifCopy = 8,
        kSpdifOut44 = 10,
    };
    static constexpr int kInputMicBoost = 8;
    // The effect that switches the virtual speakers and the reverb off.
    static constexpr LONG kEffectOff = 24;

    CZephMixer();
    ~CZephMixer() override;

    // How the card is opened: by the control panel, which marks the S/P-DIF block as started
    // and sets full acceleration, or by a command for scripts (/save, /load), which only reads
    // until it is asked to write.
    enum class Start { Panel, Script };

    // Initialises COM, opens the card's mixer device, creates the vendor object and caches the
    // S/P-DIF block and the effect. The panel's start also marks the S/P-DIF block as started
    // (signal reverse off), clears input bytes 0 to 2, and sets full DirectSound acceleration.
    // 0 when COM or the mixer device fails.
    int Init(Start start = Start::Panel);

    // The vendor object, for the pages that use its properties directly (null without one).
    ICardControl* GetCardControl() const { return m_control; }

    // Reads the speaker mode into *mode (which keeps its value when the object does not fill
    // it). 0 without a vendor object, else 1.
    int GetSpeakerMode(DWORD* mode);

    // S/P-DIF switches: each setter stores the low byte of its argument, writes the block and
    // returns the result of reading it back (0 when nothing was written).
    int SetSPDIFOutEnabled(int value);
    int GetSPDIFOutEnabled() const { return m_spdif[kSpdifOutEnabled]; }
    int SetSPDIFOut44(int value);
    int GetSPDIFOut44() const { return m_spdif[kSpdifOut44]; }
    int SetSPDIFRecord(int value) { return SetSpdifByte(kSpdifRecord, value); }
    int GetSPDIFRecord() const { return m_spdif[kSpdifRecord]; }
    int SetSPDIFInMonitor(int value) { return SetSpdifByte(kSpdifInMonitor, value); }
    int GetSPDIFInMonitor() const { return m_spdif[kSpdifInMonitor]; }
    int SetSPDIFLoop(int value) { return SetSpdifByte(kSpdifLoop, value); }
    int GetSPDIFLoop() const { return m_spdif[kSpdifLoop]; }
    int SetSPDIFSignalReverse(int value) { return SetSpdifByte(kSpdifSignalReverse, value); }
    int GetSPDIFSignalReverse() const { return m_spdif[kSpdifSignalReverse]; }
    int SetSPDIFInValid(int value) { return SetSpdifByte(kSpdifInValid, value); }
    int GetSPDIFInValid() const { return m_spdif[kSpdifInValid]; }
    int SetSPDIFCopy(int value) { return SetSpdifByte(kSpdifCopy, value); }
    int GetSPDIFCopy() const { return m_spdif[kSpdifCopy]; }

    // The effect: 24 off, 25 virtual speakers without a room, 0..22 with that room.
    int SetReverb(LONG effect);
    void GetReverb(LONG* effect) const;

    // Microphone boost (byte 8 of the input block). GetMicBoost gives -1 when the block
    // cannot be read, 0 without a vendor object.
    void SetMicBoost(int value);
    int GetMicBoost();

    // DirectSound acceleration level 0..3 in the card's device key; other levels set 3. Init
    // writes full acceleration on a thread of its own (SetupAPI takes a while to find the
    // device key, and the window need not wait for it); these two wait for that write first,
    // and the mixer does not end before it.
    void SetDSAcceleration(int level);
    int GetDSAcceleration();
    // Waits until the write that Init started is in the device key.
    void FinishAccelerationWrite();

    // The card section of a preset file, then the mixer section.
    int SaveSettings(FILE* stream) override;
    int LoadSettings(FILE* stream) override;

protected:
    // Creates the vendor object, trying the interface ids in order; null when none works.
    // The caller owns the reference returned.
    virtual ICardControl* CreateCardControl();

private:
    int SetSpdifByte(int index, int value);
    // Writes the cached block and reads it back into the cache.
    int WriteSpdif();
    // True in headphone or stereo mode, the only modes with an S/P-DIF output.
    bool SpdifOutAllowed();
    void WriteAccelerationInBackground(int level);

    // COM before the object: the object goes first.
    CComInit m_com;
    CComPtr<ICardControl> m_control;
    BYTE m_spdif[kCardSpdifSize] = {};
    // Off until the card says otherwise: without the vendor object nothing is on.
    LONG m_effect = kEffectOff;
    // Waits for its write when the mixer goes; the write uses nothing of the mixer.
    CWorkerThread m_accelerationWrite;
};
