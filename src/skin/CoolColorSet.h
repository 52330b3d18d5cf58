// One colour set of the skin as the editor keeps and stores it: 24 bytes, six 32-bit values
// (little-endian in the registry): background, text, luminous colour, the two peak meter
// colours and the render mode.
#pragma once

#include "Platform.h"

#include <cstdint>

struct CoolColorSet {
    enum : int {
        BackgroundIndex = 0,
        TextIndex = 1,
        LumIndex = 2,
        PeakHighIndex = 3, // scheme slot SelLow
        PeakLowIndex = 4,  // scheme slot SelHigh
        ModeIndex = 5,
        ColorCount = 5,
        Count = 6
    };
    uint32_t values[Count];

    uint32_t& operator[](int index) { return values[index]; }
    uint32_t operator[](int index) const { return values[index]; }
    bool operator==(const CoolColorSet& other) const {
        for (int i = 0; i < Count; ++i)
            if (values[i] != other.values[i]) return false;
        return true;
    }
    bool operator!=(const CoolColorSet& other) const { return !(*this == other); }
};
static_assert(sizeof(CoolColorSet) == 24, "a colour set is stored as 24 bytes");
