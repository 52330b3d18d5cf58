// Reading a setting that the program itself stores as a DWORD ("Language", the colours,
// "RenderMode"). CRegistryKey::QueryDword takes any value of up to 4 bytes whatever its type;
// a setting read with it would turn a string "ab" into 0x6261. Here only a REG_DWORD of
// exactly 4 bytes counts as stored.
#pragma once

#include "Platform.h"

#include "RegistryKey.h"

// Reads the value name of the key (root and path of the object). 1 with *value set when it is
// a REG_DWORD of 4 bytes; 0 with *value untouched when it is missing or of another type or
// size, so the caller goes on as if nothing were stored.
BOOL QueryStoredDword(const CRegistryKey& key, const char* name, DWORD* value);
