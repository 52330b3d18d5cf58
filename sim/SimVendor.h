// What the simulated card does with its vendor properties: which writes it takes, how it
// stores them, and what it hands out. Works on a SimVendorValues block; the caller holds the
// shared state's lock around every call.
//
// Properties (id, size): 1 S/P-DIF block (11 bytes), 2 six speaker gains (24), 3 speaker mode
// (4), 4 input block (16), 5 effect (4). A buffer of any other size is refused.
#pragma once

#include "Platform.h"

#include "SimVendorValues.h"

class CSimVendor {
public:
    enum : DWORD {
        kSpdif = 1,
        kSpeakerVolumes = 2,
        kSpeakerMode = 3,
        kInput = 4,
        kEffect = 5,
    };

    // Gains below this are stored as this: the card's attenuation ends at -100 dB.
    static constexpr LONG kMinGain = -100 * 65536;
    static constexpr LONG kEffectOff = 24;
    static constexpr LONG kEffectNoRoom = 25;
    static constexpr LONG kRoomCount = 23;

    // The state of a card that was never set: stereo speakers (what the system reports for
    // the card), full gain, effect off, S/P-DIF off at 48 kHz.
    static void FirstRun(SimVendorValues* values);
    // False for a block the card could never have produced.
    static bool IsValid(const SimVendorValues& values);

    // The size of a property, 0 for an unknown id.
    static DWORD PropertySize(DWORD id);

    // Takes a write as the card would: flags become 0/1, gains are limited to the card's
    // range, bytes without a meaning to the card are kept as written. False, with the values
    // untouched, when the id is unknown, the size is not the property's, or the card cannot do
    // what is asked (a speaker mode other than 1..6, an effect outside 0..22, 24, 25).
    static bool Set(SimVendorValues& values, DWORD id, const void* data, DWORD size);
    // Copies a property out; false, with the buffer untouched, as for Set.
    static bool Get(const SimVendorValues& values, DWORD id, void* data, DWORD size);
};
