#include "Platform.h"

#include "RegistryDword.h"

BOOL QueryStoredDword(const CRegistryKey& key, const char* name, DWORD* value) {
    if (!value) return FALSE;
    // One call opens, reads and closes. The buffer holds exactly a DWORD: a longer value
    // does not fit and fails, a shorter one is caught by its size.
    DWORD type = REG_NONE;
    DWORD data = 0;
    DWORD size = sizeof(data);
    if (::RegGetValueA(key.GetRoot(), key.GetPath().c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type,
                       &data, &size) != ERROR_SUCCESS)
        return FALSE;
    if (type != REG_DWORD || size != sizeof(data)) return FALSE;
    *value = data;
    return TRUE;
}
