#include "Platform.h"

#include "RegistryDword.h"
#include "RegistryKey.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

// Every test works below this key of its own and removes it afterwards.
const char kTestRoot[] = "Software\\QuendaRegistryKeyTest";

bool KeyExists(const std::string& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

// Type and raw bytes of a value, read with the platform's own call.
bool ReadRaw(const std::string& path, const char* name, DWORD* type, std::vector<BYTE>* data) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    LONG status = ::RegQueryValueExA(key, name, nullptr, type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        data->assign(size, 0);
        status = ::RegQueryValueExA(key, name, nullptr, type, data->data(), &size);
    }
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

class RegistryKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveTestKeys();
        ASSERT_TRUE(m_key.SetRoot(HKEY_CURRENT_USER, kTestRoot));
    }
    void TearDown() override { RemoveTestKeys(); }

    static void RemoveTestKeys() { ::RegDeleteTreeA(HKEY_CURRENT_USER, kTestRoot); }

    static std::string Path(const char* below) { return std::string(kTestRoot) + "\\" + below; }

    CRegistryKey m_key;
};

TEST_F(RegistryKeyTest, DefaultKeyIsBelowTheCompanyOfTheCurrentUser) {
    CRegistryKey key;
    EXPECT_EQ(key.GetRoot(), HKEY_CURRENT_USER);
    EXPECT_EQ(key.GetPath().rfind("Software\\Vantrel Electronic GmbH\\", 0), 0u) << key.GetPath();
    EXPECT_GT(key.GetPath().size(), std::strlen("Software\\Vantrel Electronic GmbH\\"));
}

TEST_F(RegistryKeyTest, SetRootAcceptsOnlyThePredefinedRoots) {
    for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
                      HKEY_CURRENT_CONFIG}) {
        CRegistryKey key;
        EXPECT_TRUE(key.SetRoot(root, "Some\\Path"));
        EXPECT_EQ(key.GetRoot(), root);
        EXPECT_EQ(key.GetPath(), "Some\\Path");
    }
    CRegistryKey key;
    EXPECT_TRUE(key.SetRoot(HKEY_LOCAL_MACHINE, nullptr));
    EXPECT_EQ(key.GetPath(), "");

    // A refused root changes nothing: the key keeps working where it was.
    ASSERT_TRUE(m_key.SetDword("Kept", 42));
    for (HKEY refused : {HKEY_PERFORMANCE_DATA, reinterpret_cast<HKEY>(0x1234),
                         static_cast<HKEY>(nullptr), reinterpret_cast<HKEY>(0x80000006)}) {
        EXPECT_FALSE(m_key.SetRoot(refused, "Elsewhere"));
        EXPECT_EQ(m_key.GetRoot(), HKEY_CURRENT_USER);
        EXPECT_EQ(m_key.GetPath(), kTestRoot);
    }
    DWORD value = 0;
    EXPECT_TRUE(m_key.QueryDword("Kept", &value));
    EXPECT_EQ(value, 42u);
}

TEST_F(RegistryKeyTest, WritesCreateTheWholeChainReadsCreateNothing) {
    CRegistryKey key;
    ASSERT_TRUE(key.SetRoot(HKEY_CURRENT_USER, Path("A\\B\\C").c_str()));
    DWORD value = 7;
    EXPECT_FALSE(key.QueryDword("Language", &value));
    EXPECT_EQ(value, 7u);
    EXPECT_EQ(key.CountValues(), -1);
    EXPECT_FALSE(key.DeleteValue("Language"));
    char name[16];
    EXPECT_FALSE(key.EnumValueName(0, name, sizeof(name)));
    EXPECT_FALSE(key.CreateSubKey("D"));
    EXPECT_FALSE(KeyExists(kTestRoot));

    EXPECT_TRUE(key.SetDword("Language", 0x0407));
    EXPECT_TRUE(KeyExists(Path("A\\B\\C")));
    EXPECT_TRUE(key.QueryDword("Language", &value));
    EXPECT_EQ(value, 0x0407u);

    DWORD type = 0;
    std::vector<BYTE> raw;
    ASSERT_TRUE(ReadRaw(Path("A\\B\\C"), "Language", &type, &raw));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(raw.size(), sizeof(DWORD));

    // Binary and string writes create their chains the same way.
    const BYTE colours[24] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10,
                              11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
    EXPECT_TRUE(key.SetBinary("Set", colours, sizeof(colours), "X\\Y"));
    ASSERT_TRUE(ReadRaw(Path("A\\B\\C\\X\\Y"), "Set", &type, &raw));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(raw, std::vector<BYTE>(colours, colours + sizeof(colours)));
    EXPECT_TRUE(key.SetString("Run", "C:\\windows\\Quenda Mixer.exe /minimize", "Z"));
    ASSERT_TRUE(ReadRaw(Path("A\\B\\C\\Z"), "Run", &type, &raw));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(reinterpret_cast<const char*>(raw.data()),
                 "C:\\windows\\Quenda Mixer.exe /minimize");
}

TEST_F(RegistryKeyTest, CreateSubKeyNeedsAnExistingParent) {
    EXPECT_FALSE(m_key.CreateSubKey("Child"));
    EXPECT_FALSE(KeyExists(kTestRoot));

    ASSERT_TRUE(m_key.SetDword("Marker", 1));
    EXPECT_FALSE(m_key.CreateSubKey(nullptr));
    EXPECT_TRUE(m_key.CreateSubKey("Child"));
    EXPECT_TRUE(KeyExists(Path("Child")));
    EXPECT_TRUE(m_key.CreateSubKey("Child"));
    EXPECT_TRUE(m_key.CreateSubKey("Grandchild", "Child", 0, KEY_ALL_ACCESS));
    EXPECT_TRUE(KeyExists(Path("Child\\Grandchild")));
    EXPECT_FALSE(m_key.CreateSubKey("Orphan", "Missing"));
    EXPECT_FALSE(KeyExists(Path("Missing")));
    EXPECT_EQ(m_key.QueryInfo(CRegistryKey::INFO_SUBKEYS), 1);
    EXPECT_EQ(m_key.QueryInfo(CRegistryKey::INFO_SUBKEYS, "Child"), 1);
}

TEST_F(RegistryKeyTest, QueryDwordReadsAnyValueOfAtMostFourBytes) {
    DWORD value = 0;
    ASSERT_TRUE(m_key.SetString("Three", "abc"));
    EXPECT_TRUE(m_key.QueryDword("Three", &value));
    EXPECT_EQ(value, 0x00636261u); // 'a' 'b' 'c' and the terminating zero

    // A shorter value leaves no stale bytes of the caller's former value.
    value = 0xFFFFFFFF;
    ASSERT_TRUE(m_key.SetString("One", "a"));
    EXPECT_TRUE(m_key.QueryDword("One", &value));
    EXPECT_EQ(value, 0x61u);

    const BYTE eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_TRUE(m_key.SetBinary("Eight", eight, sizeof(eight)));
    value = 0x12345678;
    EXPECT_FALSE(m_key.QueryDword("Eight", &value));
    EXPECT_EQ(value, 0x12345678u);
    ASSERT_TRUE(m_key.SetString("Long", "abcd"));
    EXPECT_FALSE(m_key.QueryDword("Long", &value));
    EXPECT_EQ(value, 0x12345678u);

    EXPECT_FALSE(m_key.QueryDword("Missing", &value));
    EXPECT_FALSE(m_key.QueryDword("Three", nullptr));

    // The default value of a key is reached with a null name.
    ASSERT_TRUE(m_key.SetDword(nullptr, 99, "Sub"));
    EXPECT_TRUE(m_key.QueryDword(nullptr, &value, "Sub"));
    EXPECT_EQ(value, 99u);
    EXPECT_EQ(m_key.GetPath(), kTestRoot);
}

TEST_F(RegistryKeyTest, StoredDwordIsOnlyAFourByteRegDword) {
    DWORD value = 0x12345678;
    ASSERT_TRUE(m_key.SetDword("Dword", 0x0407));
    EXPECT_TRUE(QueryStoredDword(m_key, "Dword", &value));
    EXPECT_EQ(value, 0x0407u);

    // What QueryDword would take, and a REG_DWORD of the wrong size.
    const BYTE four[4] = {7, 0, 0, 0};
    const WORD two = 7;
    ASSERT_TRUE(m_key.SetString("String", "ab"));
    ASSERT_TRUE(m_key.SetBinary("Binary", four, sizeof(four)));
    ASSERT_EQ(
        ::RegSetKeyValueA(HKEY_CURRENT_USER, kTestRoot, "Short", REG_DWORD, &two, sizeof(two)),
        ERROR_SUCCESS);
    for (const char* name : {"String", "Binary", "Short", "Missing"}) {
        value = 0x12345678;
        EXPECT_FALSE(QueryStoredDword(m_key, name, &value)) << name;
        EXPECT_EQ(value, 0x12345678u) << name;
    }
}

TEST_F(RegistryKeyTest, StringsKeepTheirTerminatingZero) {
    ASSERT_TRUE(m_key.SetString("Empty", ""));
    DWORD type = 0;
    std::vector<BYTE> raw;
    ASSERT_TRUE(ReadRaw(kTestRoot, "Empty", &type, &raw));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw, std::vector<BYTE>{0});

    EXPECT_FALSE(m_key.SetString("Null", nullptr));
    EXPECT_FALSE(m_key.SetBinary("Null", nullptr, 4));
    EXPECT_TRUE(m_key.SetBinary("NoBytes", nullptr, 0));
    ASSERT_TRUE(ReadRaw(kTestRoot, "NoBytes", &type, &raw));
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    EXPECT_TRUE(raw.empty());
}

TEST_F(RegistryKeyTest, QueryValueReportsTheBytesStored) {
    ASSERT_TRUE(m_key.SetString("Text", "Quenda"));
    char buffer[32];
    std::memset(buffer, 'x', sizeof(buffer));
    DWORD size = sizeof(buffer);
    EXPECT_TRUE(m_key.QueryValue("Text", buffer, &size));
    EXPECT_EQ(size, 7u);
    EXPECT_STREQ(buffer, "Quenda");

    // Too small: refused, and the size the caller passed is kept.
    size = 4;
    EXPECT_FALSE(m_key.QueryValue("Text", buffer, &size));
    EXPECT_EQ(size, 4u);
    EXPECT_FALSE(m_key.QueryValue("Text", buffer, DWORD(6)));
    EXPECT_TRUE(m_key.QueryValue("Text", buffer, DWORD(7)));

    // Null buffer or size: refused before any registry work.
    size = sizeof(buffer);
    EXPECT_FALSE(m_key.QueryValue("Text", nullptr, &size));
    EXPECT_FALSE(m_key.QueryValue("Text", buffer, static_cast<DWORD*>(nullptr)));
    EXPECT_FALSE(m_key.QueryValue("Text", nullptr, DWORD(32)));
    EXPECT_FALSE(m_key.QueryValue("Missing", buffer, &size));
    EXPECT_FALSE(m_key.QueryValue("Text", buffer, &size, "NoSuchSubkey"));
    EXPECT_FALSE(KeyExists(Path("NoSuchSubkey")));

    // The type is not examined: a DWORD comes back as its four bytes.
    ASSERT_TRUE(m_key.SetDword("Number", 0x01020304));
    BYTE bytes[4] = {};
    EXPECT_TRUE(m_key.QueryValue("Number", bytes, DWORD(sizeof(bytes))));
    EXPECT_EQ(bytes[0], 4);
    EXPECT_EQ(bytes[3], 1);
}

TEST_F(RegistryKeyTest, DeleteValueRemovesOnlyWhatIsThere) {
    ASSERT_TRUE(m_key.SetDword("A", 1));
    ASSERT_TRUE(m_key.SetDword("B", 2));
    EXPECT_FALSE(m_key.DeleteValue("Missing"));
    EXPECT_EQ(m_key.CountValues(), 2);
    EXPECT_TRUE(m_key.DeleteValue("A"));
    EXPECT_FALSE(m_key.DeleteValue("A"));
    EXPECT_EQ(m_key.CountValues(), 1);
    DWORD value = 0;
    EXPECT_TRUE(m_key.QueryDword("B", &value));
    EXPECT_FALSE(m_key.DeleteValue("B", "Missing"));
    EXPECT_FALSE(KeyExists(Path("Missing")));
}

TEST_F(RegistryKeyTest, QueryInfoCountsValuesAndSubkeys) {
    EXPECT_EQ(m_key.QueryInfo(CRegistryKey::INFO_VALUES), -1);
    EXPECT_EQ(m_key.QueryInfo(CRegistryKey::INFO_SUBKEYS), -1);
    ASSERT_TRUE(m_key.SetDword("One", 1));
    ASSERT_TRUE(m_key.SetDword("Two", 2));
    ASSERT_TRUE(m_key.SetDword("Three", 3, "Sub1"));
    ASSERT_TRUE(m_key.SetDword("Four", 4, "Sub2"));
    EXPECT_EQ(m_key.QueryInfo(CRegistryKey::INFO_VALUES), 2);
    EXPECT_EQ(m_key.QueryInfo(CRegistryKey::INFO_SUBKEYS), 2);
    EXPECT_EQ(m_key.QueryInfo(7), 0);
    EXPECT_EQ(m_key.CountValues(), 2);
    EXPECT_EQ(m_key.CountValues("Sub1"), 1);
    EXPECT_EQ(m_key.CountValues("Sub3"), -1);
}

TEST_F(RegistryKeyTest, EnumValueNameWalksTheRegistryOrder) {
    const char* names[] = {"Ocean", "Amber", "Forest"};
    for (const char* name : names)
        ASSERT_TRUE(m_key.SetBinary(name, "rgb", 3, "User sets"));

    int count = m_key.CountValues("User sets");
    ASSERT_EQ(count, 3);
    HKEY raw = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, Path("User sets").c_str(), 0, KEY_READ, &raw),
              ERROR_SUCCESS);
    std::set<std::string> seen;
    for (int i = 0; i < count; ++i) {
        char name[64] = {};
        ASSERT_TRUE(m_key.EnumValueName(i, name, sizeof(name), "User sets"));
        char expected[64] = {};
        DWORD size = sizeof(expected);
        ASSERT_EQ(::RegEnumValueA(raw, static_cast<DWORD>(i), expected, &size, nullptr, nullptr,
                                  nullptr, nullptr),
                  ERROR_SUCCESS);
        EXPECT_STREQ(name, expected);
        seen.insert(name);
    }
    ::RegCloseKey(raw);
    EXPECT_EQ(seen, (std::set<std::string>{"Amber", "Forest", "Ocean"}));

    char name[64];
    EXPECT_FALSE(m_key.EnumValueName(count, name, sizeof(name), "User sets"));
    EXPECT_FALSE(m_key.EnumValueName(-1, name, sizeof(name), "User sets"));
    EXPECT_FALSE(m_key.EnumValueName(0, nullptr, sizeof(name), "User sets"));
    EXPECT_FALSE(m_key.EnumValueName(0, name, sizeof(name), "Default sets"));
    // A name longer than the buffer is refused rather than cut.
    EXPECT_FALSE(m_key.EnumValueName(0, name, 3, "User sets"));
}

TEST_F(RegistryKeyTest, EmptyPathWithSubkeyNamesTheSubkeyAlone) {
    CRegistryKey key;
    ASSERT_TRUE(key.SetRoot(HKEY_CURRENT_USER, nullptr));
    EXPECT_TRUE(key.SetDword("Value", 5, kTestRoot));
    DWORD value = 0;
    EXPECT_TRUE(m_key.QueryDword("Value", &value));
    EXPECT_EQ(value, 5u);
    EXPECT_EQ(key.CountValues(kTestRoot), 1);
}

} // namespace
