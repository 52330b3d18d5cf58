// The card's vendor control interface: the COM object that the card's driver package registers
// for the card functions the mixer service does not reach. Properties are read and written
// whole, by number, in fixed byte layouts.
#pragma once

#include "Platform.h"

#include <objbase.h>

// The vendor control class.
extern const CLSID CLSID_CardControl;
// The interface ids the object is known under, in the order they are tried. All of them
// have the layout of ICardControl.
extern const IID kCardControlIids[6];

struct ICardControl : public IUnknown {
    // The result is the object's own and not relied on.
    virtual LONG STDMETHODCALLTYPE SetProperty(DWORD id, void* buffer, DWORD size) = 0;
    // Nonzero when the object filled the buffer.
    virtual LONG STDMETHODCALLTYPE GetProperty(DWORD id, void* buffer, DWORD size) = 0;
};

// Property numbers and sizes.
enum : DWORD {
    CARDPROP_SPDIF = 1,           // 11 bytes, the S/P-DIF switches (CZephMixer::kSpdif*)
    CARDPROP_SPEAKER_VOLUMES = 2, // six LONG gains in 1/65536 dB: C, Sub, RL, RR, FL, FR
    CARDPROP_SPEAKER_MODE = 3,    // DWORD, DirectSound speaker configuration (low byte)
    CARDPROP_INPUT = 4,           // 16 bytes; byte 8 is the microphone boost
    CARDPROP_EFFECT = 5,          // LONG: 0..22 room, 24 off, 25 virtual speakers without room
};

constexpr DWORD kCardSpdifSize = 11;
constexpr DWORD kCardSpeakerCount = 6;
constexpr DWORD kCardInputSize = 16;

// Entries of CARDPROP_SPEAKER_VOLUMES.
enum CardSpeaker {
    kCardSpeakerCenter = 0,
    kCardSpeakerSub = 1,
    kCardSpeakerRearLeft = 2,
    kCardSpeakerRearRight = 3,
    kCardSpeakerFrontLeft = 4,
    kCardSpeakerFrontRight = 5,
};
