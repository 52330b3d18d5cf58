#include "Platform.h"

#include "SimVendor.h"

#include <cstring>

namespace {

// The bytes of the S/P-DIF block that the card reads as on/off switches; bytes 3, 7 and 9 are
// kept as written.
const int kSpdifFlags[] = {0, 1, 2, 4, 5, 6, 8, 10};
const int kInputMicBoost = 8;

bool IsSpeakerMode(DWORD mode) {
    BYTE config = static_cast<BYTE>(mode & 0xFF);
    return config >= 1 && config <= 6;
}

bool IsEffect(LONG effect) {
    return (effect >= 0 && effect < CSimVendor::kRoomCount) || effect == CSimVendor::kEffectOff ||
           effect == CSimVendor::kEffectNoRoom;
}

BYTE Flag(BYTE value) {
    return value ? 1 : 0;
}

} // namespace

void CSimVendor::FirstRun(SimVendorValues* values) {
    std::memset(values, 0, sizeof(*values));
    values->speakerMode = 4;
    values->effect = kEffectOff;
}

bool CSimVendor::IsValid(const SimVendorValues& values) {
    for (int index : kSpdifFlags)
        if (values.spdif[index] > 1) return false;
    for (LONG gain : values.speakerVolumes)
        if (gain > 0 || gain < kMinGain) return false;
    return values.reserved == 0 && IsSpeakerMode(values.speakerMode) &&
           values.input[kInputMicBoost] <= 1 && IsEffect(values.effect);
}

DWORD CSimVendor::PropertySize(DWORD id) {
    switch (id) {
    case kSpdif:
        return kSimSpdifSize;
    case kSpeakerVolumes:
        return sizeof(SimVendorValues::speakerVolumes);
    case kSpeakerMode:
        return sizeof(SimVendorValues::speakerMode);
    case kInput:
        return kSimInputSize;
    case kEffect:
        return sizeof(SimVendorValues::effect);
    default:
        return 0;
    }
}

bool CSimVendor::Set(SimVendorValues& values, DWORD id, const void* data, DWORD size) {
    DWORD expected = PropertySize(id);
    if (!data || expected == 0 || size != expected) return false;
    switch (id) {
    case kSpdif: {
        BYTE block[kSimSpdifSize];
        std::memcpy(block, data, sizeof(block));
        for (int index : kSpdifFlags)
            block[index] = Flag(block[index]);
        std::memcpy(values.spdif, block, sizeof(block));
        return true;
    }
    case kSpeakerVolumes: {
        LONG gains[kSimSpeakerCount];
        std::memcpy(gains, data, sizeof(gains));
        for (LONG& gain : gains) {
            if (gain > 0) gain = 0;
            if (gain < kMinGain) gain = kMinGain;
        }
        std::memcpy(values.speakerVolumes, gains, sizeof(gains));
        return true;
    }
    case kSpeakerMode: {
        DWORD mode;
        std::memcpy(&mode, data, sizeof(mode));
        if (!IsSpeakerMode(mode)) return false;
        values.speakerMode = mode;
        return true;
    }
    case kInput: {
        BYTE block[kSimInputSize];
        std::memcpy(block, data, sizeof(block));
        block[kInputMicBoost] = Flag(block[kInputMicBoost]);
        std::memcpy(values.input, block, sizeof(block));
        return true;
    }
    case kEffect: {
        LONG effect;
        std::memcpy(&effect, data, sizeof(effect));
        if (!IsEffect(effect)) return false;
        values.effect = effect;
        return true;
    }
    }
    return false;
}

bool CSimVendor::Get(const SimVendorValues& values, DWORD id, void* data, DWORD size) {
    DWORD expected = PropertySize(id);
    if (!data || expected == 0 || size != expected) return false;
    const void* source = nullptr;
    switch (id) {
    case kSpdif:
        source = values.spdif;
        break;
    case kSpeakerVolumes:
        source = values.speakerVolumes;
        break;
    case kSpeakerMode:
        source = &values.speakerMode;
        break;
    case kInput:
        source = values.input;
        break;
    case kEffect:
        source = &values.effect;
        break;
    }
    std::memcpy(data, source, size);
    return true;
}
