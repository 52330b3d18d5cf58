#include "Platform.h"

#include "ModulePath.h"
#include "RegistryKey.h"

#include <cstring>
#include <vector>

namespace {
const char kDefaultCompany[] = "Vantrel Electronic GmbH";

// The program file's name without folder and extension: the name the program keeps its
// settings under when nothing else is set.
std::string ProgramProfileName() {
    std::string name = GetModulePath();
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

bool IsAcceptedRoot(HKEY root) {
    return root == HKEY_CLASSES_ROOT || root == HKEY_CURRENT_USER || root == HKEY_LOCAL_MACHINE ||
           root == HKEY_USERS || root == HKEY_CURRENT_CONFIG;
}
} // namespace

CRegistryKey::CRegistryKey() {
    m_path = std::string("Software\\") + kDefaultCompany + "\\" + ProgramProfileName();
}

CRegistryKey::~CRegistryKey() = default;

BOOL CRegistryKey::SetRoot(HKEY root, const char* path) {
    if (!IsAcceptedRoot(root)) return FALSE;
    m_root = root;
    m_path = path ? path : "";
    return TRUE;
}

std::string CRegistryKey::FullPath(const char* subKey) const {
    if (!subKey) return m_path;
    // With an empty path the subkey alone names the key: a leading backslash would make
    // the name invalid.
    if (m_path.empty()) return subKey;
    return m_path + "\\" + subKey;
}

CRegKeyHandle CRegistryKey::Open(const char* subKey) const {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(m_root, FullPath(subKey).c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return CRegKeyHandle();
    return CRegKeyHandle(key);
}

CRegKeyHandle CRegistryKey::OpenOrCreate(const char* subKey) const {
    CRegKeyHandle opened = Open(subKey);
    if (opened) return opened;
    // One call creates every missing key along the path.
    HKEY key = nullptr;
    if (::RegCreateKeyExA(m_root, FullPath(subKey).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          &key, nullptr) != ERROR_SUCCESS)
        return CRegKeyHandle();
    return CRegKeyHandle(key);
}

BOOL CRegistryKey::CreateSubKey(const char* child, const char* subKey, DWORD options,
                                REGSAM access) {
    if (!child) return FALSE;
    CRegKeyHandle parent = Open(subKey);
    if (!parent) return FALSE;
    HKEY created = nullptr;
    if (::RegCreateKeyExA(parent.Get(), child, 0, nullptr, options, access, nullptr, &created,
                          nullptr) != ERROR_SUCCESS)
        return FALSE;
    CRegKeyHandle close(created);
    return TRUE;
}

BOOL CRegistryKey::QueryDword(const char* name, DWORD* value, const char* subKey) {
    if (!value) return FALSE;
    CRegKeyHandle key = Open(subKey);
    if (!key) return FALSE;
    // Read into a zeroed local so that a value shorter than 4 bytes does not leave stale
    // bytes behind and a failed read does not touch the caller's value.
    BYTE bytes[sizeof(DWORD)] = {};
    DWORD size = sizeof(bytes);
    if (::RegQueryValueExA(key.Get(), name, nullptr, nullptr, bytes, &size) != ERROR_SUCCESS)
        return FALSE;
    std::memcpy(value, bytes, sizeof(bytes));
    return TRUE;
}

BOOL CRegistryKey::SetValue(const char* name, DWORD type, const void* data, DWORD size,
                            const char* subKey) {
    if (!data && size != 0) return FALSE;
    CRegKeyHandle key = OpenOrCreate(subKey);
    if (!key) return FALSE;
    return ::RegSetValueExA(key.Get(), name, 0, type, static_cast<const BYTE*>(data), size) ==
           ERROR_SUCCESS;
}

BOOL CRegistryKey::SetDword(const char* name, DWORD value, const char* subKey) {
    return SetValue(name, REG_DWORD, &value, sizeof(value), subKey);
}

BOOL CRegistryKey::SetBinary(const char* name, const void* data, DWORD size, const char* subKey) {
    return SetValue(name, REG_BINARY, data, size, subKey);
}

BOOL CRegistryKey::SetString(const char* name, const char* text, const char* subKey) {
    if (!text) return FALSE;
    return SetValue(name, REG_SZ, text, static_cast<DWORD>(std::strlen(text) + 1), subKey);
}

BOOL CRegistryKey::QueryValue(const char* name, void* buffer, DWORD* size, const char* subKey) {
    if (!buffer || !size) return FALSE;
    CRegKeyHandle key = Open(subKey);
    if (!key) return FALSE;
    DWORD stored = *size;
    if (::RegQueryValueExA(key.Get(), name, nullptr, nullptr, static_cast<BYTE*>(buffer),
                           &stored) != ERROR_SUCCESS)
        return FALSE;
    *size = stored;
    return TRUE;
}

BOOL CRegistryKey::QueryValue(const char* name, void* buffer, DWORD capacity, const char* subKey) {
    DWORD size = capacity;
    return QueryValue(name, buffer, &size, subKey);
}

BOOL CRegistryKey::HasValue(const char* name, const char* subKey) {
    CRegKeyHandle key = Open(subKey);
    return key &&
           ::RegQueryValueExA(key.Get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

BOOL CRegistryKey::DeleteValue(const char* name, const char* subKey) {
    CRegKeyHandle key = Open(subKey);
    if (!key) return FALSE;
    return ::RegDeleteValueA(key.Get(), name) == ERROR_SUCCESS;
}

int CRegistryKey::QueryInfo(int selector, const char* subKey) {
    CRegKeyHandle key = Open(subKey);
    if (!key) return -1;
    DWORD subKeys = 0;
    DWORD values = 0;
    if (::RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                           &values, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return -1;
    switch (selector) {
    case INFO_VALUES:
        return static_cast<int>(values);
    case INFO_SUBKEYS:
        return static_cast<int>(subKeys);
    default:
        return 0;
    }
}

int CRegistryKey::CountValues(const char* subKey) {
    return QueryInfo(INFO_VALUES, subKey);
}

BOOL CRegistryKey::EnumValueName(int index, char* name, DWORD nameSize, const char* subKey) {
    if (!name || nameSize == 0 || index < 0) return FALSE;
    CRegKeyHandle key = Open(subKey);
    if (!key) return FALSE;
    int count = CountValues(subKey);
    if (count == -1 || index >= count) return FALSE;
    DWORD size = nameSize;
    return ::RegEnumValueA(key.Get(), static_cast<DWORD>(index), name, &size, nullptr, nullptr,
                           nullptr, nullptr) == ERROR_SUCCESS;
}
