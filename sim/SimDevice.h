// Media-class devices made through SetupAPI: the simulated card's own device, and the extra
// devices that tests install beside it.
#pragma once

#include "Platform.h"

#include <string>
#include <vector>

// Installs a present media-class device "ROOT\<enumerator>\NNNN" whose hardware id list holds
// hardwareId. Returns its instance id, empty on failure (nothing is left behind then).
std::string InstallMediaDevice(const char* enumerator, const char* hardwareId,
                               const char* description);

// Instance ids, in enumeration order, of the media-class devices under ROOT\<enumerator> whose
// first hardware id is exactly hardwareId.
std::vector<std::string> FindMediaDevices(const char* enumerator, const char* hardwareId);

// Removes the devices FindMediaDevices finds; returns how many were removed.
int RemoveMediaDevices(const char* enumerator, const char* hardwareId);
