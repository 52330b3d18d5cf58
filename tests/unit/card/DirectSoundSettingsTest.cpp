#include "Platform.h"

#include "DirectSoundSettings.h"
#include "SimDevice.h"
#include "UniqueHandle.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A hardware id of our own, so that the card's device (when it is installed) is never touched.
const char kTestEnumerator[] = "QUENDATEST";
const char kTestId[] = "PCI\\VEN_FFF1&DEV_51FE&SUBSYS_0001FFF1";

const char kMixerDefaults[] = "\\Device Parameters\\DirectSound\\Mixer Defaults";
const char kDevicePresence[] = "\\Device Parameters\\DirectSound\\Device Presence";

std::string EnumKey(const std::string& instance, const char* subkey) {
    return "System\\CurrentControlSet\\Enum\\" + instance + subkey;
}

// Reads a DWORD the way any other program would; -1 when the value is missing or no DWORD.
long long ReadValue(const std::string& instance, const char* subkey, const char* name) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    DWORD type = 0;
    CRegKeyHandle key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, EnumKey(instance, subkey).c_str(), 0, KEY_READ,
                      key.Receive()))
        return -1;
    LONG rc =
        RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    return rc == ERROR_SUCCESS && type == REG_DWORD ? static_cast<long long>(value) : -1;
}

void WriteValue(const std::string& instance, const char* subkey, const char* name, DWORD type,
                const void* data, DWORD size) {
    CRegKeyHandle key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, EnumKey(instance, subkey).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key.Get(), name, 0, type, static_cast<const BYTE*>(data), size);
}

void WriteDword(const std::string& instance, const char* subkey, const char* name, DWORD v) {
    WriteValue(instance, subkey, name, REG_DWORD, &v, sizeof(v));
}

bool KeyExists(const std::string& instance, const char* subkey) {
    CRegKeyHandle key;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, EnumKey(instance, subkey).c_str(), 0, KEY_READ,
                         key.Receive()) == ERROR_SUCCESS;
}

class DirectSoundSettings : public testing::Test {
protected:
    void SetUp() override {
        RemoveMediaDevices(kTestEnumerator, kTestId);
        first = InstallMediaDevice(kTestEnumerator, kTestId, "Quenda test device");
        ASSERT_FALSE(first.empty());
    }
    void TearDown() override { RemoveMediaDevices(kTestEnumerator, kTestId); }

    std::string first;
};

TEST_F(DirectSoundSettings, EachCodeIsWrittenAsTwoValuesAndReadBack) {
    const DWORD codes[] = {0x0000000F, 0x0001000F, 0x00010008, 0x00010000};
    for (DWORD code : codes) {
        SCOPED_TRACE(code);
        EXPECT_EQ(WriteDirectSoundSettings(kTestId, code), 1);
        EXPECT_EQ(ReadValue(first, kMixerDefaults, "Acceleration"), code & 0xFFFF);
        EXPECT_EQ(ReadValue(first, kDevicePresence, "VxD"), code >> 16);
        EXPECT_EQ(ReadValue(first, kDevicePresence, "WDM"), code >> 16);
        DWORD read = 0;
        EXPECT_EQ(ReadDirectSoundSettings(kTestId, &read), 1);
        EXPECT_EQ(read, code);
    }
}

TEST_F(DirectSoundSettings, CodesOutsideTheFourReadAsLevelTwo) {
    WriteDword(first, kMixerDefaults, "Acceleration", 8);
    WriteDword(first, kDevicePresence, "VxD", 1);
    DWORD code = 0;
    EXPECT_EQ(ReadDirectSoundSettings(kTestId, &code), 1);
    EXPECT_EQ(code, 0x00010008u);

    WriteDword(first, kMixerDefaults, "Acceleration", 5);
    code = 0;
    EXPECT_EQ(ReadDirectSoundSettings(kTestId, &code), 1);
    EXPECT_EQ(code, 0x00010008u);

    // Only VxD is read: WDM is written alongside it but never consulted.
    WriteDword(first, kMixerDefaults, "Acceleration", 15);
    WriteDword(first, kDevicePresence, "VxD", 0);
    WriteDword(first, kDevicePresence, "WDM", 1);
    EXPECT_EQ(ReadDirectSoundSettings(kTestId, &code), 1);
    EXPECT_EQ(code, 0x0000000Fu);
}

TEST_F(DirectSoundSettings, NothingStoredYetReadsAsLevelTwoAndFails) {
    DWORD code = 0x0000000F;
    EXPECT_EQ(ReadDirectSoundSettings(kTestId, &code), 0);
    EXPECT_EQ(code, 0x00010008u);
}

TEST_F(DirectSoundSettings, ValuesOfTheWrongTypeOrSizeAreNotTakenAsRead) {
    WriteDword(first, kDevicePresence, "VxD", 1);
    WriteValue(first, kMixerDefaults, "Acceleration", REG_SZ, "15", 3);
    DWORD code = 0;
    EXPECT_EQ(ReadDirectSoundSettings(kTestId, &code), 0);
    // The low half stays 0: the text's bytes are not taken for a number.
    EXPECT_EQ(code, 0x00010000u);

    const BYTE shortValue[2] = {0x0F, 0x00};
    WriteValue(first, kMixerDefaults, "Acceleration", REG_BINARY, shortValue, 2);
    EXPECT_EQ(ReadDirectSoundSettings(kTestId, &code), 0);

    const DWORD wide[2] = {0x0F, 0};
    WriteValue(first, kMixerDefaults, "Acceleration", REG_DWORD, wide, sizeof(wide));
    EXPECT_EQ(ReadDirectSoundSettings(kTestId, &code), 0);
}

TEST_F(DirectSoundSettings, TheIdentifierMustBeAPartOfTheHardwareIdInTheSameCase) {
    const char* const missing[] = {"PCI\\VEN_FFF1&DEV_51FF", "pci\\ven_fff1&dev_51fe",
                                   "PCI\\VEN_FFF1&DEV_51FE&SUBSYS_0001FFF1&REV_01"};
    for (const char* id : missing) {
        SCOPED_TRACE(id);
        DWORD code = 0;
        EXPECT_EQ(ReadDirectSoundSettings(id, &code), 0);
        EXPECT_EQ(code, 0x00010008u);
        EXPECT_EQ(WriteDirectSoundSettings(id, 0x0000000F), 0);
    }
    EXPECT_FALSE(KeyExists(first, "\\Device Parameters\\DirectSound"));

    // A part from the middle of the id is enough.
    EXPECT_EQ(WriteDirectSoundSettings("DEV_51FE", 0x0000000F), 1);
    EXPECT_EQ(ReadValue(first, kMixerDefaults, "Acceleration"), 15);
}

TEST_F(DirectSoundSettings, OnlyTheFirstOfTwoMatchingDevicesIsTouched) {
    ASSERT_FALSE(InstallMediaDevice(kTestEnumerator, kTestId, "Quenda test device").empty());
    auto devices = FindMediaDevices(kTestEnumerator, kTestId);
    ASSERT_EQ(devices.size(), 2u);

    EXPECT_EQ(WriteDirectSoundSettings(kTestId, 0x0001000F), 1);
    EXPECT_EQ(ReadValue(devices[0], kMixerDefaults, "Acceleration"), 15);
    EXPECT_EQ(ReadValue(devices[0], kDevicePresence, "WDM"), 1);
    EXPECT_FALSE(KeyExists(devices[1], "\\Device Parameters\\DirectSound"));

    WriteDword(devices[1], kMixerDefaults, "Acceleration", 0);
    WriteDword(devices[1], kDevicePresence, "VxD", 1);
    DWORD code = 0;
    EXPECT_EQ(ReadDirectSoundSettings(kTestId, &code), 1);
    EXPECT_EQ(code, 0x0001000Fu);
}

TEST_F(DirectSoundSettings, ANullCodeIsIgnored) {
    EXPECT_EQ(ReadDirectSoundSettings(kTestId, nullptr), 0);
    EXPECT_EQ(AccessDirectSoundSettings(kTestId, nullptr, 1), 0);
    EXPECT_FALSE(KeyExists(first, "\\Device Parameters\\DirectSound"));
}

} // namespace
