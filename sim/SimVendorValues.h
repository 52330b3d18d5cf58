// The card properties behind the simulated vendor control object, kept with the mixer values
// between runs. Each block has the size and layout the control object hands out.
#pragma once

#include "Platform.h"

constexpr DWORD kSimSpdifSize = 11;
constexpr DWORD kSimSpeakerCount = 6;
constexpr DWORD kSimInputSize = 16;

struct SimVendorValues {
    BYTE spdif[kSimSpdifSize];             // property 1
    BYTE reserved;                         // keeps what follows aligned; always 0
    LONG speakerVolumes[kSimSpeakerCount]; // property 2, 1/65536 dB
    DWORD speakerMode;                     // property 3, DirectSound coding
    BYTE input[kSimInputSize];             // property 4
    LONG effect;                           // property 5
};
