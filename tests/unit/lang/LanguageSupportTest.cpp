#include "Platform.h"

#include "LanguageSupport.h"
#include "StringIds.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cctype>
#include <clocale>
#include <cstring>
#include <string>
#include <vector>

namespace {

const LCID kBuiltIn[] = {0x0407, 0x0409, 0x040A, 0x040C, 0x0410, 0x0413};

class LanguageSupportTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveAllLanguageFiles(); }
    void TearDown() override { RemoveAllLanguageFiles(); }
};

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

TEST_F(LanguageSupportTest, StartsInTheUsersDefaultLanguage) {
    CLanguageSupport language;
    LCID user = ::GetUserDefaultLCID();
    EXPECT_EQ(language.GetLanguage(), user ? user : 0x0409u);
    EXPECT_EQ(::GetThreadLocale(), language.GetLanguage());
    EXPECT_EQ(language.GetProgramDirectory(), ExeDirectory());
    EXPECT_NE(language.GetProgramDirectory().back(), '\\');
    EXPECT_EQ(CLanguageSupport::GetLanguageObject(), &language);
    {
        CLanguageSupport second;
        EXPECT_EQ(CLanguageSupport::GetLanguageObject(), &language);
    }
    EXPECT_EQ(CLanguageSupport::GetLanguageObject(), &language);
}

TEST_F(LanguageSupportTest, GermanComesFromResourcesUnlessTheFileHasAText) {
    CLanguageSupport language;
    language.SetLanguage(0x0407);
    EXPECT_EQ(language.GetString(IDS_LOAD), TableText(0x0407, IDS_LOAD));
    EXPECT_NE(language.GetString(IDS_LOAD), TableText(0x0409, IDS_LOAD));
    // Converted with the thread's code page: the umlaut is one Windows-1252 byte.
    EXPECT_NE(language.GetString(IDS_SPEAKERS_PHONES).find('\xF6'), std::string::npos)
        << language.GetString(IDS_SPEAKERS_PHONES);

    WriteBesideExe("German.lng", "[Strings]\r\n4100=Datei laden\r\n4101=\r\n");
    EXPECT_EQ(language.GetString(IDS_LOAD), "Datei laden");
    EXPECT_EQ(language.GetString(IDS_SAVE), TableText(0x0407, IDS_SAVE));
    EXPECT_EQ(language.GetString(IDS_PRESETS), TableText(0x0407, IDS_PRESETS));
}

TEST_F(LanguageSupportTest, SwissGermanFallsBackToEnglishResourcesBeforeGerman) {
    CLanguageSupport language;
    language.SetLanguage(0x0807);
    EXPECT_EQ(language.GetString(IDS_LOAD), TableText(0x0409, IDS_LOAD));
    EXPECT_EQ(language.GetString(IDS_TRAY_EXIT), TableText(0x0409, IDS_TRAY_EXIT));

    // Its language file is the German one.
    WriteBesideExe("German.lng", "[Strings]\r\n4100=Datei laden\r\n");
    EXPECT_EQ(language.GetString(IDS_LOAD), "Datei laden");
    EXPECT_EQ(language.GetString(IDS_SAVE), TableText(0x0409, IDS_SAVE));
}

TEST_F(LanguageSupportTest, DanishUsesItsFileThenEnglishFileThenEnglishResources) {
    CLanguageSupport language;
    language.SetLanguage(0x0406);
    EXPECT_EQ(language.GetString(IDS_LOAD), TableText(0x0409, IDS_LOAD));

    WriteBesideExe("English.lng", "[Strings]\r\n4100=Load from English file\r\n");
    EXPECT_EQ(language.GetString(IDS_LOAD), "Load from English file");
    EXPECT_EQ(language.GetString(IDS_SAVE), TableText(0x0409, IDS_SAVE));

    // With its own file present the English file is no longer consulted.
    WriteBesideExe("Danish.lng", "[Strings]\r\n4101=Gem\r\n");
    EXPECT_EQ(language.GetString(IDS_SAVE), "Gem");
    EXPECT_EQ(language.GetString(IDS_LOAD), TableText(0x0409, IDS_LOAD));
}

TEST_F(LanguageSupportTest, UnknownIdentifiersYieldNothing) {
    WriteBesideExe("English.lng", "[Strings]\r\n4100=Load\r\n");
    CLanguageSupport language;
    language.SetLanguage(0x0409);
    EXPECT_EQ(language.GetString(4999), "");
    char buffer[32];
    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_FALSE(language.LookupString(4999, buffer, sizeof(buffer)));
    EXPECT_EQ(std::string(buffer, sizeof(buffer)), std::string(sizeof(buffer), '\0'));
    EXPECT_FALSE(language.LookupString(IDS_LOAD, nullptr, 16));
    EXPECT_FALSE(language.LookupString(IDS_LOAD, buffer, 0));
}

TEST_F(LanguageSupportTest, ResourceTextsAreCutToTheBuffer) {
    CLanguageSupport language;
    language.SetLanguage(0x0409);
    std::string full = TableText(0x0409, IDS_SPDIF_MODE_WARNING);
    ASSERT_GT(full.size(), 10u);
    EXPECT_EQ(language.GetString(IDS_SPDIF_MODE_WARNING), full);
    char buffer[10];
    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_TRUE(language.LookupString(IDS_SPDIF_MODE_WARNING, buffer, sizeof(buffer)));
    EXPECT_EQ(std::string(buffer), full.substr(0, 9));
    // A text exactly one byte shorter than the buffer fits whole.
    std::string exit = TableText(0x0409, IDS_TRAY_EXIT);
    std::vector<char> fits(exit.size() + 1, 'x');
    EXPECT_TRUE(language.LookupString(IDS_TRAY_EXIT, fits.data(), static_cast<int>(fits.size())));
    EXPECT_EQ(std::string(fits.data()), exit);
}

TEST_F(LanguageSupportTest, FrameworkStringsUseTheTipAndNeverTheFiles) {
    WriteBesideExe("English.lng", "[Strings]\r\n57345=From the file\r\n57346=From the file\r\n");
    CLanguageSupport language;
    language.SetLanguage(0x0409);
    EXPECT_EQ(language.GetString(0xE001), "Open");
    EXPECT_EQ(language.GetString(0xE002), "Plain prompt");
    EXPECT_EQ(language.GetString(0xE003), "Tip");
    EXPECT_EQ(language.GetString(0xE004), "");
    char buffer[3];
    EXPECT_TRUE(language.LookupString(0xE001, buffer, sizeof(buffer)));
    EXPECT_STREQ(buffer, "Op");
    EXPECT_FALSE(language.LookupString(0xE0FF, buffer, sizeof(buffer)));
}

TEST_F(LanguageSupportTest, ListHoldsTheBuiltInLanguagesWithoutFiles) {
    CLanguageSupport language;
    ASSERT_EQ(language.GetLanguageCount(), 6);
    for (int i = 0; i < 6; ++i) {
        LCID id = 0;
        char name[128];
        ASSERT_TRUE(language.GetLanguageInfo(i, &id, name, sizeof(name)));
        EXPECT_EQ(id, kBuiltIn[i]);
        char native[256] = {};
        ASSERT_GT(::GetLocaleInfoA(id, LOCALE_SNATIVELANGNAME, native, sizeof(native)), 0);
        EXPECT_EQ(Lower(name), Lower(native));
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(name[0]))) << name;
        EXPECT_TRUE(language.IsLanguageAvailable(id));
        EXPECT_EQ(language.GetAvailability(1 + i), unsigned(CLanguageSupport::AVAILABLE_RESOURCES));
    }
    for (LCID id : {0x0406, 0x0414, 0x0415, 0x0816, 0x040B, 0x041D, 0x0807, 0x0419})
        EXPECT_FALSE(language.IsLanguageAvailable(id)) << id;
}

TEST_F(LanguageSupportTest, ListAddsLanguagesWhoseFileIsPresentAtStart) {
    WriteBesideExe("Danish.lng", "[Strings]\r\n4100=Indl\xE6s\r\n");
    WriteBesideExe("Swedish.lng", "[Strings]\r\n");
    WriteBesideExe("German.lng", "[Strings]\r\n");
    CLanguageSupport language;
    ASSERT_EQ(language.GetLanguageCount(), 8);
    LCID id = 0;
    char name[128];
    ASSERT_TRUE(language.GetLanguageInfo(0, &id, name, sizeof(name)));
    EXPECT_EQ(id, 0x0406u);
    EXPECT_EQ(Lower(name), "dansk");
    EXPECT_EQ(name[0], 'D');
    ASSERT_TRUE(language.GetLanguageInfo(7, &id, name, sizeof(name)));
    EXPECT_EQ(id, 0x041Du);
    EXPECT_EQ(language.GetAvailability(0), unsigned(CLanguageSupport::AVAILABLE_FILE));
    EXPECT_EQ(language.GetAvailability(1),
              unsigned(CLanguageSupport::AVAILABLE_FILE | CLanguageSupport::AVAILABLE_RESOURCES));

    // Files that come or go later change the texts but not the list.
    RemoveBesideExe("Danish.lng");
    WriteBesideExe("Finnish.lng", "[Strings]\r\n4100=Lataa\r\n");
    EXPECT_EQ(language.GetLanguageCount(), 8);
    EXPECT_TRUE(language.IsLanguageAvailable(0x0406));
    EXPECT_FALSE(language.IsLanguageAvailable(0x040B));
    language.SetLanguage(0x040B);
    EXPECT_EQ(language.GetString(IDS_LOAD), "Lataa");
    language.SetLanguage(0x0406);
    EXPECT_EQ(language.GetString(IDS_LOAD), TableText(0x0409, IDS_LOAD));
}

TEST_F(LanguageSupportTest, GetLanguageInfoBounds) {
    CLanguageSupport language;
    LCID id = 0x1234;
    char name[16];
    for (int index : {-1, 6, 11, 12, 100}) {
        std::memset(name, 'x', sizeof(name));
        EXPECT_FALSE(language.GetLanguageInfo(index, &id, name, sizeof(name))) << index;
        EXPECT_STREQ(name, "???");
    }
    EXPECT_EQ(id, 0x1234u);
    EXPECT_FALSE(language.GetLanguageInfo(0, &id, nullptr, 16));

    // Small buffers cut both the placeholder and the name.
    char small[3];
    EXPECT_TRUE(language.GetLanguageInfo(1, &id, small, sizeof(small)));
    EXPECT_EQ(id, 0x0409u);
    EXPECT_STREQ(small, "En");
    EXPECT_FALSE(language.GetLanguageInfo(12, &id, small, 2));
    EXPECT_STREQ(small, "?");
    EXPECT_TRUE(language.GetLanguageInfo(0, nullptr, name, sizeof(name)));
}

TEST_F(LanguageSupportTest, SetLanguageSetsThreadAndRuntimeLocale) {
    CLanguageSupport language;
    const LCID rows[] = {0x0406, 0x0407, 0x0409, 0x040A, 0x040C, 0x0410,
                         0x0413, 0x0414, 0x0415, 0x0816, 0x040B, 0x041D};
    for (LCID id : rows) {
        language.SetLanguage(id);
        EXPECT_EQ(language.GetLanguage(), id);
        EXPECT_EQ(::GetThreadLocale(), id);
        const char* runtime = std::setlocale(LC_ALL, nullptr);
        ASSERT_NE(runtime, nullptr);
        // The runtime reports "<Language>_<Country>.<code page>".
        std::string expected = CLanguageSupport::RuntimeLocaleName(id);
        EXPECT_EQ(Lower(runtime).rfind(expected, 0), 0u) << runtime;
        char codePage[8] = {};
        ::GetLocaleInfoA(id, LOCALE_IDEFAULTANSICODEPAGE, codePage, sizeof(codePage));
        EXPECT_NE(std::string(runtime).find(std::string(".") + codePage), std::string::npos)
            << runtime;
    }
}

TEST_F(LanguageSupportTest, UnlistedLanguageUsesEnglishFileAndFallbacks) {
    CLanguageSupport language;
    language.SetLanguage(0x0419);
    EXPECT_EQ(language.GetLanguage(), 0x0419u);
    EXPECT_EQ(::GetThreadLocale(), 0x0419u);
    EXPECT_EQ(Lower(std::setlocale(LC_ALL, nullptr)).rfind("english", 0), 0u);
    EXPECT_EQ(std::string(CLanguageSupport::LanguageFileName(0x0419)), "English.lng");
    EXPECT_FALSE(language.IsLanguageAvailable(0x0419));
    EXPECT_EQ(language.GetLanguageCount(), 6);

    EXPECT_EQ(language.GetString(IDS_SAVE), TableText(0x0409, IDS_SAVE));
    WriteBesideExe("English.lng", "[Strings]\r\n4101=Save (file)\r\n");
    EXPECT_EQ(language.GetString(IDS_SAVE), "Save (file)");
}

TEST_F(LanguageSupportTest, LanguageFileAndRuntimeNameFollowThePrimaryLanguage) {
    EXPECT_STREQ(CLanguageSupport::LanguageFileName(0x0807), "German.lng");
    EXPECT_STREQ(CLanguageSupport::RuntimeLocaleName(0x0807), "german");
    EXPECT_STREQ(CLanguageSupport::LanguageFileName(0x0416), "Portuguese.lng");
    EXPECT_STREQ(CLanguageSupport::LanguageFileName(0x081D), "Swedish.lng");
    EXPECT_STREQ(CLanguageSupport::LanguageFileName(0x0809), "English.lng");
    EXPECT_STREQ(CLanguageSupport::LanguageFileName(0x0411), "English.lng");
    EXPECT_STREQ(CLanguageSupport::RuntimeLocaleName(0x0000), "english");
}

TEST_F(LanguageSupportTest, TranslateMenuRelabelsOneLevel) {
    CLanguageSupport language;
    language.SetLanguage(0x0407);
    HMENU menu = ::CreatePopupMenu();
    HMENU sub = ::CreatePopupMenu();
    ::AppendMenuA(sub, MF_STRING, IDS_LOAD, "load");
    ::AppendMenuA(menu, MF_STRING, IDS_TRAY_SHOW, "show");
    ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu, MF_STRING | MF_CHECKED, 4999, "keep");
    ::AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "sub");
    ::AppendMenuA(menu, MF_STRING, IDS_TRAY_EXIT, "exit");
    // A language file that defines identifier 0 must not turn the separator into text.
    WriteBesideExe("German.lng", "[Strings]\r\n0=Broken\r\n32772=Schlie\xDF"
                                 "en\r\n");

    language.TranslateMenu(menu);
    language.TranslateMenu(nullptr);

    auto text = [](HMENU m, UINT position) {
        char buffer[64] = {};
        ::GetMenuStringA(m, position, buffer, sizeof(buffer), MF_BYPOSITION);
        return std::string(buffer);
    };
    ASSERT_EQ(::GetMenuItemCount(menu), 5);
    EXPECT_EQ(text(menu, 0), TableText(0x0407, IDS_TRAY_SHOW));
    EXPECT_EQ(::GetMenuItemID(menu, 0), UINT(IDS_TRAY_SHOW));
    EXPECT_EQ(::GetMenuState(menu, 1, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
    EXPECT_EQ(text(menu, 2), "keep");
    EXPECT_EQ(::GetSubMenu(menu, 3), sub);
    EXPECT_EQ(text(menu, 3), "sub");
    EXPECT_EQ(text(sub, 0), "load");
    EXPECT_EQ(text(menu, 4), "Schlie\xDF"
                             "en");
    EXPECT_EQ(::GetMenuItemID(menu, 4), UINT(IDS_TRAY_EXIT));
    ::DestroyMenu(menu);
}

} // namespace
