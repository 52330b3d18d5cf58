// A registry key named by a root and a path. No handle is kept between calls: every
// operation opens the key afresh, does its one piece of work and closes what it opened.
// Results: 1 for success, 0 for failure (-1 for the counting queries).
#pragma once

#include "Platform.h"

#include "UniqueHandle.h"

#include <string>

class CRegistryKey {
public:
    // Root HKEY_CURRENT_USER, path "Software\<company>\<program>".
    CRegistryKey();
    virtual ~CRegistryKey();
    CRegistryKey(const CRegistryKey&) = default;
    CRegistryKey& operator=(const CRegistryKey&) = default;

    // Accepts the five predefined roots HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,
    // HKEY_LOCAL_MACHINE, HKEY_USERS and HKEY_CURRENT_CONFIG; anything else is refused and
    // leaves the object unchanged. A null path means the root itself.
    BOOL SetRoot(HKEY root, const char* path);

    HKEY GetRoot() const { return m_root; }
    const std::string& GetPath() const { return m_path; }

    // In every operation below a non-null subKey names a key below the object's path, for
    // that one call only.

    // Creates the child key below an existing key; 1 also when the child already exists.
    BOOL CreateSubKey(const char* child, const char* subKey = nullptr, DWORD options = 0,
                      REGSAM access = KEY_ALL_ACCESS);

    // Reads any value of at most 4 bytes, whatever its type; shorter values are zero-extended.
    // On failure *value is left as it was.
    BOOL QueryDword(const char* name, DWORD* value, const char* subKey = nullptr);

    // The writes create the whole missing key chain.
    BOOL SetDword(const char* name, DWORD value, const char* subKey = nullptr);
    BOOL SetBinary(const char* name, const void* data, DWORD size, const char* subKey = nullptr);
    BOOL SetString(const char* name, const char* text, const char* subKey = nullptr);

    // Reads the raw bytes of a value. *size holds the capacity on entry and the number of
    // bytes stored on success; it is left as it was on failure.
    BOOL QueryValue(const char* name, void* buffer, DWORD* size, const char* subKey = nullptr);
    BOOL QueryValue(const char* name, void* buffer, DWORD capacity, const char* subKey = nullptr);
    // Whether the value exists, whatever its type and size. Never creates the key.
    BOOL HasValue(const char* name, const char* subKey = nullptr);

    // Never creates the key.
    BOOL DeleteValue(const char* name, const char* subKey = nullptr);

    // selector 0: number of values, 1: number of subkeys, other: 0; -1 when the key cannot
    // be opened or queried.
    enum { INFO_VALUES = 0, INFO_SUBKEYS = 1 };
    int QueryInfo(int selector, const char* subKey = nullptr);
    int CountValues(const char* subKey = nullptr);

    // Name of the index-th value, in the registry's own order; nameSize in characters.
    BOOL EnumValueName(int index, char* name, DWORD nameSize, const char* subKey = nullptr);

private:
    std::string FullPath(const char* subKey) const;
    CRegKeyHandle Open(const char* subKey) const;
    CRegKeyHandle OpenOrCreate(const char* subKey) const;
    BOOL SetValue(const char* name, DWORD type, const void* data, DWORD size, const char* subKey);

    HKEY m_root = HKEY_CURRENT_USER;
    std::string m_path;
};
