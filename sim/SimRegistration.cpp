#include "Platform.h"

#include "SimRegistration.h"

#include "SimCardControl.h"
#include "SimDevice.h"
#include "UniqueHandle.h"

#include <objbase.h>

namespace {

std::string ClassKey() {
    char clsid[64] = {};
    LPOLESTR text = nullptr;
    if (SUCCEEDED(StringFromCLSID(CLSID_SimCardControl, &text))) {
        WideCharToMultiByte(CP_ACP, 0, text, -1, clsid, sizeof(clsid) - 1, nullptr, nullptr);
        CoTaskMemFree(text);
    }
    return std::string("CLSID\\") + clsid;
}

// The file this code was loaded from (the card's DLL, or a test program linking it).
std::string ModulePath() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ModulePath), &module);
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(module, path, sizeof(path));
    if (length == 0 || length >= sizeof(path)) return {};
    return path;
}

bool SetString(HKEY parent, const std::string& path, const char* name, const std::string& value) {
    CRegKeyHandle key;
    if (RegCreateKeyExA(parent, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Receive(),
                        nullptr) != ERROR_SUCCESS)
        return false;
    return RegSetValueExA(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool RegisterClass(const std::string& server) {
    std::string key = ClassKey();
    return SetString(HKEY_CLASSES_ROOT, key, nullptr, "Quenda Card Control") &&
           SetString(HKEY_CLASSES_ROOT, key + "\\InprocServer32", nullptr, server) &&
           SetString(HKEY_CLASSES_ROOT, key + "\\InprocServer32", "ThreadingModel", "Apartment");
}

bool UnregisterClass() {
    LONG rc = RegDeleteTreeA(HKEY_CLASSES_ROOT, ClassKey().c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

// The driver file is built beside the card's DLL.
std::string DriverSource(const std::string& server) {
    size_t slash = server.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : server.substr(0, slash + 1)) +
           kSimDriverFile;
}

bool RemoveDriverFile() {
    std::string path = SimDriverPath();
    return DeleteFileA(path.c_str()) || GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

} // namespace

std::string SimDriverPath() {
    char system[MAX_PATH] = {};
    UINT length = GetSystemDirectoryA(system, sizeof(system));
    if (length == 0 || length >= sizeof(system)) return {};
    return std::string(system) + "\\drivers\\" + kSimDriverFile;
}

bool SimRegister() {
    std::string server = ModulePath();
    if (server.empty()) return false;

    bool classAdded = RegisterClass(server);
    bool driverAdded = classAdded && !SimDriverPath().empty() &&
                       CopyFileA(DriverSource(server).c_str(), SimDriverPath().c_str(), FALSE);
    bool deviceAdded = false;
    bool deviceThere = false;
    if (driverAdded) {
        // Registering again must not add a second card.
        deviceThere = !FindMediaDevices(kSimDeviceEnumerator, kSimCardHardwareId).empty();
        if (!deviceThere)
            deviceAdded =
                !InstallMediaDevice(kSimDeviceEnumerator, kSimCardHardwareId, "Quenda PCI Audio")
                     .empty();
    }
    if (deviceThere || deviceAdded) return true;

    // Nothing half-done: a card without its device or driver file is no card.
    if (driverAdded) RemoveDriverFile();
    UnregisterClass();
    return false;
}

bool SimUnregister() {
    bool classGone = UnregisterClass();
    RemoveMediaDevices(kSimDeviceEnumerator, kSimCardHardwareId);
    bool deviceGone = FindMediaDevices(kSimDeviceEnumerator, kSimCardHardwareId).empty();
    bool driverGone = RemoveDriverFile();
    return classGone && deviceGone && driverGone;
}
