// The values of the simulated mixer device that are kept between runs: every control but the
// meters, up to six 32-bit values each (channels, or the multiplexer's items).
#pragma once

#include "Platform.h"

constexpr DWORD kSimControlCount = 26;
constexpr DWORD kSimMaxValues = 6;

struct SimMixerValues {
    DWORD values[kSimControlCount][kSimMaxValues];
};
