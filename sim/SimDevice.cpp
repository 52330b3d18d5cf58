#include "Platform.h"

#include "SimDevice.h"

#include "DevInfoList.h"

#include <setupapi.h>

#include <cstring>
#include <functional>

namespace {

const GUID kMediaClass = {
    0x4D36E96C, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

std::string InstanceId(HDEVINFO set, SP_DEVINFO_DATA* device) {
    char id[200 + 1] = {}; // device instance ids are at most 200 characters
    if (!SetupDiGetDeviceInstanceIdA(set, device, id, sizeof(id) - 1, nullptr)) return {};
    return id;
}

// Calls visit, in enumeration order, for every media device (present or not) under
// ROOT\<enumerator> whose first hardware id equals hardwareId.
void ForEachDevice(const char* enumerator, const char* hardwareId,
                   const std::function<void(HDEVINFO, SP_DEVINFO_DATA*)>& visit) {
    CDevInfoList devices(SetupDiGetClassDevsA(&kMediaClass, nullptr, nullptr, 0));
    if (!devices) return;
    HDEVINFO set = devices.Get();
    std::string prefix = std::string("ROOT\\") + enumerator + "\\";
    // Collected first, so that a visitor removing a device does not disturb the enumeration.
    std::vector<SP_DEVINFO_DATA> matches;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index) {
        if (_strnicmp(InstanceId(set, &device).c_str(), prefix.c_str(), prefix.size()) != 0)
            continue;
        char ids[512 + 2] = {};
        if (!SetupDiGetDeviceRegistryPropertyA(set, &device, SPDRP_HARDWAREID, nullptr,
                                               reinterpret_cast<BYTE*>(ids), 512, nullptr))
            continue;
        if (std::strcmp(ids, hardwareId) == 0) matches.push_back(device);
    }
    for (SP_DEVINFO_DATA& match : matches)
        visit(set, &match);
}

} // namespace

std::string InstallMediaDevice(const char* enumerator, const char* hardwareId,
                               const char* description) {
    CDevInfoList devices(SetupDiCreateDeviceInfoList(&kMediaClass, nullptr));
    if (!devices) return {};
    HDEVINFO set = devices.Get();
    std::string instance;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof(device);
    if (SetupDiCreateDeviceInfoA(set, enumerator, &kMediaClass, description, nullptr,
                                 DICD_GENERATE_ID, &device)) {
        // A hardware id list: the id, then the empty string that ends the list.
        std::string ids = std::string(hardwareId) + '\0' + '\0';
        if (SetupDiSetDeviceRegistryPropertyA(set, &device, SPDRP_HARDWAREID,
                                              reinterpret_cast<const BYTE*>(ids.data()),
                                              static_cast<DWORD>(ids.size())) &&
            SetupDiCallClassInstaller(DIF_REGISTERDEVICE, set, &device)) {
            instance = InstanceId(set, &device);
            if (instance.empty()) SetupDiCallClassInstaller(DIF_REMOVE, set, &device);
        }
    }
    return instance;
}

std::vector<std::string> FindMediaDevices(const char* enumerator, const char* hardwareId) {
    std::vector<std::string> found;
    ForEachDevice(enumerator, hardwareId, [&](HDEVINFO set, SP_DEVINFO_DATA* device) {
        found.push_back(InstanceId(set, device));
    });
    return found;
}

int RemoveMediaDevices(const char* enumerator, const char* hardwareId) {
    int removed = 0;
    ForEachDevice(enumerator, hardwareId, [&](HDEVINFO set, SP_DEVINFO_DATA* device) {
        if (SetupDiCallClassInstaller(DIF_REMOVE, set, device)) ++removed;
    });
    return removed;
}
