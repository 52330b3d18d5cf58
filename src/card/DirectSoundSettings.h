// The driver's DirectSound acceleration setting, kept in the registry key of the card's device.
//
// The code is one 32-bit value: the high half is the "VxD" value of the device presence key, the
// low half the "Acceleration" value of the mixer defaults key. Only four codes are used:
// 0x0000000F, 0x0001000F, 0x00010008 and 0x00010000; anything else reads as 0x00010008.
#pragma once

#include "Platform.h"

// Reads (write == 0) or writes (write != 0) the acceleration code in the key of the first
// present media device whose first hardware id contains hardwareId (case-sensitive). *code
// receives the normalised code. Nonzero only when both values were read or written.
int AccessDirectSoundSettings(const char* hardwareId, DWORD* code, int write);

// Does nothing and returns 0 when code is null.
int ReadDirectSoundSettings(const char* hardwareId, DWORD* code);

int WriteDirectSoundSettings(const char* hardwareId, DWORD code);
