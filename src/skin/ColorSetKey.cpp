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
    // Names are read as the registry keeps them: the narrow functions would hand out "?" for
    // letters the code page lacks, a name that reaches no value or another one.
    std::vector<wchar_t> wide(16384);
    for (DWORD i = 0; i < count; ++i) {
        DWORD length = static_cast<DWORD>(wide.size());
        if (::RegEnumValueW(key.Get(), i, wide.data(), &length, nullptr, nullptr, nullptr,
                            nullptr) == ERROR_SUCCESS)
            if (auto name = SpellableName(std::wstring(wide.data(), length)))
                names.push_back(*name);
    }
    return names;
}

std::optional<std::string> CColorSetKey::SpellableName(const std::wstring& name) {
    if (name.empty() || name.find(L'\0') != std::wstring::npos) return std::nullopt;
    const int wideLength = static_cast<int>(name.size());
    const int size =
        ::WideCharToMultiByte(CP_ACP, 0, name.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (size <= 0 || size >= kMaxNameLength) return std::nullopt;
    std::string narrow(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, name.data(), wideLength, &narrow[0], size, nullptr, nullptr);
    // Only a name that converts back to itself names this value.
    std::wstring back(name.size() + 1, L'\0');
    const int backLength = ::MultiByteToWideChar(CP_ACP, 0, narrow.data(), size, &back[0],
                                                 static_cast<int>(back.size()));
    if (backLength != wideLength || back.compare(0, name.size(), name) != 0) return std::nullopt;
    return narrow;
}
