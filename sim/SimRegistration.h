// Installing the simulated card into the system, as a driver package would: the vendor control
// class (in-process server, apartment threaded), a media-class device carrying the card's PCI
// hardware id, and the driver file "quenda.sys" in the system's drivers folder.
#pragma once

#include <string>

constexpr const char* kSimCardHardwareId = "PCI\\VEN_FFF1&DEV_5100&SUBSYS_0001FFF1";
// The card's device is "ROOT\QUENDA\NNNN".
constexpr const char* kSimDeviceEnumerator = "QUENDA";
constexpr const char* kSimDriverFile = "quenda.sys";

// The path of the driver file in the system's drivers folder.
std::string SimDriverPath();

// Installs all three; a second call leaves one device. On failure the class and the driver file
// are taken away again (the card is then not registered at all), and false is returned.
bool SimRegister();
// Removes all three; absent parts are no error. False when something could not be removed.
bool SimUnregister();
