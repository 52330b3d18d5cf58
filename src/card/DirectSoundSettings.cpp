#include "Platform.h"

#include "DirectSoundSettings.h"

#include "DevInfoList.h"
#include "UniqueHandle.h"

#include <setupapi.h>

#include <cstring>

namespace {

// The setup class of sound, video and game controllers.
const GUID kMediaClass = {
    0x4D36E96C, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

const char kMixerDefaultsKey[] = "DirectSound\\Mixer Defaults";
const char kDevicePresenceKey[] = "DirectSound\\Device Presence";
const REGSAM kKeyAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

bool IsKnownCode(DWORD code) {
    return code == 0x0000000F || code == 0x00010000 || code == 0x0001000F || code == 0x00010008;
}

// A value counts as read only when it is a DWORD of exactly four bytes: anything else would
// leave part of the buffer unset or be taken for a number it is not.
bool QueryDword(HKEY key, const char* name, DWORD* value) {
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof(data);
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
        ERROR_SUCCESS)
        return false;
    if (type != REG_DWORD || size != sizeof(data)) return false;
    *value = data;
    return true;
}

bool SetDword(HKEY key, const char* name, DWORD value) {
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof(value)) == ERROR_SUCCESS;
}

CRegKeyHandle CreateSubKey(HKEY parent, const char* path) {
    CRegKeyHandle key;
    if (RegCreateKeyExA(parent, path, 0, const_cast<char*>(""), 0, kKeyAccess, nullptr,
                        key.Receive(), nullptr) != ERROR_SUCCESS)
        key.Detach(); // nothing was opened
    return key;
}

// True when the device's first hardware id contains hardwareId.
bool DeviceMatches(HDEVINFO set, SP_DEVINFO_DATA* device, const char* hardwareId) {
    // Two bytes more than asked for stay zero, so the text always ends inside the buffer.
    char buffer[256 + 2] = {};
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyA(set, device, SPDRP_HARDWAREID, &type,
                                           reinterpret_cast<BYTE*>(buffer), 256, nullptr))
        return false;
    return std::strstr(buffer, hardwareId) != nullptr;
}

} // namespace

int AccessDirectSoundSettings(const char* hardwareId, DWORD* code, int write) {
    DWORD low = 0;
    DWORD high = 0;
    bool lowDone = false;
    bool highDone = false;
    if (write && code) {
        low = *code & 0xFFFF;
        high = *code >> 16;
    }

    CDevInfoList devices;
    if (hardwareId && code)
        devices.Reset(SetupDiGetClassDevsA(&kMediaClass, nullptr, nullptr, DIGCF_PRESENT));
    if (devices) {
        HDEVINFO set = devices.Get();
        SP_DEVINFO_DATA device = {};
        device.cbSize = sizeof(device);
        for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index) {
            if (!DeviceMatches(set, &device, hardwareId)) continue;

            // Only the first matching device is touched, whatever happens below.
            CRegKeyHandle deviceKey(SetupDiCreateDevRegKeyA(set, &device, DICS_FLAG_CONFIGSPECIFIC,
                                                            0, DIREG_DEV, nullptr, nullptr));
            if (!deviceKey) break;

            if (CRegKeyHandle key = CreateSubKey(deviceKey.Get(), kMixerDefaultsKey)) {
                lowDone = write ? SetDword(key.Get(), "Acceleration", low)
                                : QueryDword(key.Get(), "Acceleration", &low);
            }
            if (CRegKeyHandle key = CreateSubKey(deviceKey.Get(), kDevicePresenceKey)) {
                if (write) {
                    SetDword(key.Get(), "VxD", high);
                    highDone = SetDword(key.Get(), "WDM", high);
                } else {
                    highDone = QueryDword(key.Get(), "VxD", &high);
                }
            }
            break;
        }
    }

    DWORD result = high * 65536 + low;
    if (!IsKnownCode(result)) result = 0x00010008;
    if (code) *code = result;
    return lowDone && highDone ? 1 : 0;
}

int ReadDirectSoundSettings(const char* hardwareId, DWORD* code) {
    if (!code) return 0;
    return AccessDirectSoundSettings(hardwareId, code, 0);
}

int WriteDirectSoundSettings(const char* hardwareId, DWORD code) {
    return AccessDirectSoundSettings(hardwareId, &code, 1);
}
