#include "ColorSetKey.h"

#include "UniqueHandle.h"

#include <cstring>

namespace {

std::string KeyPath(const char* subKey) {
    return std::string(CColorSetKey::kPath) + "\\" + subKey;
}

CRegKeyHandle OpenKey(const char* subKey, REGSAM access) {
    CRegKeyHandle key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath(subKey).c_str(), 0, access, key.Receive()) !=
        ERROR_SUCCESS)
        key.Reset();
    return key;
}

} // namespace

bool CColorSetKey::ReadSet(const char* subKey, const std::string& name, CoolColorSet& set,
                           bool whole) const {
    CRegKeyHandle key = OpenKey(subKey, KEY_QUERY_VALUE);
    if (!key) return false;
    unsigned char buffer[sizeof(CoolColorSet)] = {};
    DWORD type = 0;
    DWORD size = sizeof(buffer);
    if (::RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, buffer, &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_BINARY || (whole && size != sizeof(buffer))) return false;
    std::memcpy(set.values, buffer, sizeof(buffer));
    return true;
}

bool CColorSetKey::HasValue(const char* subKey, const std::string& name) const {
    CRegKeyHandle key = OpenKey(subKey, KEY_QUERY_VALUE);
    return key && ::RegQueryValueExA(key.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
                      ERROR_SUCCESS;
}

bool CColorSetKey::WriteSet(const char* subKey, const std::string& name,
                            const CoolColorSet& set) const {
    CRegKeyHandle key;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, KeyPath(subKey).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                          nullptr, key.Receive(), nullptr) != ERROR_SUCCESS)
        return false;
    return ::RegSetValueExA(key.Get(), name.c_str(), 0, REG_BINARY,
                            reinterpret_cast<const BYTE*>(set.values),
                            sizeof(set.values)) == ERROR_SUCCESS;
}

bool CColorSetKey::DeleteValue(const char* subKey, const std::string& name) const {
    CRegKeyHandle key = OpenKey(subKey, KEY_SET_VALUE);
    return key && ::RegDeleteValueA(key.Get(), name.c_str()) == ERROR_SUCCESS;
}

std::vector<std::string> CColorSetKey::ValueNames(const char* subKey) const {
    std::vector<std::string> names;
    CRegKeyHandle key = OpenKey(subKey, KEY_QUERY_VALUE);
    if (!key) return names;
    DWORD count = 0;
    if (::RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                           nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    for (DWORD i = 0; i < count; ++i) {
        char name[260];
        DWORD length = sizeof(name);
        if (::RegEnumValueA(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) ==
            ERROR_SUCCESS)
            names.emplace_back(name, length);
    }
    return names;
}
