// The registry key that keeps the colour sets, HKEY_CURRENT_USER "Software\Vantrel Electronic
// GmbH\Cool Colors": the user's named sets under "User sets" and a replacement for the built-in
// default set under "Default sets". Like every registry access of the program, each operation
// opens the key afresh and closes it again. A colour set is a REG_BINARY value.
#pragma once

#include "CoolColorSet.h"

#include <optional>
#include <string>
#include <vector>

class CColorSetKey {
public:
    static constexpr const char* kPath = "Software\\Vantrel Electronic GmbH\\Cool Colors";
    static constexpr const char* kUserSets = "User sets";
    static constexpr const char* kDefaultSets = "Default sets";

    // Reads the set stored under name in subKey. A value shorter than 24 bytes fills the
    // leading fields and leaves the rest 0 unless whole asks for exactly 24 bytes; a longer
    // value, or one of another type, is not a colour set. set is written only on success.
    bool ReadSet(const char* subKey, const std::string& name, CoolColorSet& set,
                 bool whole = false) const;
    // Whether a value of that name exists in subKey, whatever its type and size.
    bool HasValue(const char* subKey, const std::string& name) const;
    // Writes the set as a 24-byte binary value, creating the keys when missing.
    bool WriteSet(const char* subKey, const std::string& name, const CoolColorSet& set) const;
    bool DeleteValue(const char* subKey, const std::string& name) const;
    // The names of the values of subKey in the registry's own order, as far as the program can
    // spell them: a name the ANSI code page cannot write, or one of 260 or more characters,
    // cannot have been given by the program and is skipped.
    std::vector<std::string> ValueNames(const char* subKey) const;

    // Names are at most this many characters, terminator included.
    static constexpr int kMaxNameLength = 260;
    // The name in the ANSI code page; nothing when it cannot be written there exactly or is too
    // long.
    static std::optional<std::string> SpellableName(const std::wstring& name);
};
