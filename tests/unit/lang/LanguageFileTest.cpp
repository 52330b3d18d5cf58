// The language file format as users write it, including files that are damaged.
#include "Platform.h"

#include "LanguageSupport.h"
#include "StringIds.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class LanguageFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveAllLanguageFiles();
        m_language.SetLanguage(0x0407);
    }
    void TearDown() override { RemoveAllLanguageFiles(); }

    // Writes German.lng with a [Strings] section of the given lines.
    void WriteStrings(const std::string& lines) {
        WriteBesideExe("German.lng", "[Strings]\r\n" + lines);
    }

    std::string Resource(UINT id) const { return TableText(0x0407, id); }

    CLanguageSupport m_language;
};

TEST_F(LanguageFileTest, DecimalKeyWinsUnlessItsTextIsEmpty) {
    WriteStrings("4100=\r\n0x1004=Laden\r\n");
    EXPECT_EQ(m_language.GetString(IDS_LOAD), "Laden");
    WriteStrings("0x1004=Laden\r\n4100=Load\r\n");
    EXPECT_EQ(m_language.GetString(IDS_LOAD), "Load");
    // Hexadecimal alone, and key and section names in any case.
    WriteBesideExe("German.lng", "[STRINGS]\r\n0X1005=Sichern\r\n");
    EXPECT_EQ(m_language.GetString(IDS_SAVE), "Sichern");
    // Leading zeros make another key; hexadecimal digits compare without case.
    WriteStrings("04100=Zero\r\n0x100A=Upper\r\n");
    EXPECT_EQ(m_language.GetString(IDS_LOAD), Resource(IDS_LOAD));
    EXPECT_EQ(m_language.GetString(0x100A), "Upper");
}

TEST_F(LanguageFileTest, BlanksAndOnePairOfQuotesAreDropped) {
    WriteStrings("  4100  =   Laden   \r\n4101=\"  Sichern  \"\r\n4102=\"\"\r\n");
    EXPECT_EQ(m_language.GetString(IDS_LOAD), "Laden");
    EXPECT_EQ(m_language.GetString(IDS_SAVE), "  Sichern  ");
    // Quotes around nothing are an empty text, which counts as missing.
    EXPECT_EQ(m_language.GetString(IDS_PRESETS), Resource(IDS_PRESETS));
}

TEST_F(LanguageFileTest, EscapesKeepTheLengthOfTheText) {
    WriteStrings("4100=A\\tB\r\n"
                 "4101=A\\nB\r\n"
                 "4102=\\\\n\r\n"
                 "4103=C:\\\\Mixer\r\n"
                 "4104=Ends in \\\r\n"
                 "4105=Keep \\x and \\N\r\n"
                 "4111=%s\\n%s\\n%s\r\n");
    EXPECT_EQ(m_language.GetString(IDS_LOAD), "A \tB");
    EXPECT_EQ(m_language.GetString(IDS_SAVE), "A \nB");
    EXPECT_EQ(m_language.GetString(IDS_PRESETS), "  \n");
    EXPECT_EQ(m_language.GetString(IDS_ABOUT), "C: \\Mixer");
    EXPECT_EQ(m_language.GetString(IDS_MISC), "Ends in \\");
    EXPECT_EQ(m_language.GetString(IDS_SHOW_TASKBAR_ICON), "Keep \\x and \\N");
    EXPECT_EQ(m_language.GetString(IDS_ABOUT_FORMAT), "%s \n%s \n%s");
}

TEST_F(LanguageFileTest, OverlongTextsAreCutAndLaterKeysStillFound) {
    std::string longText(5000, 'L');
    longText[509] = '\\';
    longText[510] = 'n';
    WriteStrings("4100=" + longText + "\r\n4101=Sichern\r\n" + std::string(9000, 'k') +
                 "=junk\r\n4102=Danach\r\n");
    std::string text = m_language.GetString(IDS_LOAD);
    ASSERT_EQ(text.size(), 511u);
    EXPECT_EQ(text.substr(508), "L \n");
    EXPECT_EQ(m_language.GetString(IDS_SAVE), "Sichern");
    EXPECT_EQ(m_language.GetString(IDS_PRESETS), "Danach");

    char small[8];
    std::memset(small, 'x', sizeof(small));
    EXPECT_TRUE(m_language.LookupString(IDS_SAVE, small, sizeof(small)));
    EXPECT_STREQ(small, "Sichern");
    char tiny[4];
    EXPECT_TRUE(m_language.LookupString(IDS_SAVE, tiny, sizeof(tiny)));
    EXPECT_STREQ(tiny, "Sic");
    // A cut that ends on a backslash leaves it alone.
    WriteStrings("4100=ab\\nc\r\n");
    EXPECT_TRUE(m_language.LookupString(IDS_LOAD, tiny, sizeof(tiny)));
    EXPECT_STREQ(tiny, "ab\\");
}

TEST_F(LanguageFileTest, OtherSectionsAreIgnored) {
    WriteBesideExe("German.lng", "4100=Before any section\r\n[Texts]\r\n4100=Wrong\r\n"
                                 "[Strings Extra]\r\n4101=Wrong too\r\n");
    EXPECT_EQ(m_language.GetString(IDS_LOAD), Resource(IDS_LOAD));
    EXPECT_EQ(m_language.GetString(IDS_SAVE), Resource(IDS_SAVE));
    WriteBesideExe("German.lng", "");
    EXPECT_EQ(m_language.GetString(IDS_LOAD), Resource(IDS_LOAD));
}

TEST_F(LanguageFileTest, BinaryJunkDoesNotBreakOtherKeys) {
    std::string junk;
    for (int i = 0; i < 2048; ++i)
        junk += static_cast<char>((i * 151 + 7) & 0xFF);
    junk[100] = '\0';
    WriteBesideExe("German.lng", junk + "\r\n[Strings]\r\n4100=Laden\r\n4101=" +
                                     junk.substr(200, 40) + "\r\n4102=Noch da\r\n");
    EXPECT_EQ(m_language.GetString(IDS_LOAD), "Laden");
    EXPECT_EQ(m_language.GetString(IDS_PRESETS), "Noch da");
    std::string odd = m_language.GetString(IDS_SAVE);
    EXPECT_LE(odd.size(), 511u);
    // Whatever the reader made of the junk, unknown identifiers still come out empty.
    EXPECT_EQ(m_language.GetString(4999), "");
    EXPECT_EQ(m_language.GetString(IDS_ABOUT), Resource(IDS_ABOUT));
}

TEST_F(LanguageFileTest, TextBytesArePassedOnUnconverted) {
    // UTF-8 text in a file meant for Windows-1252 comes out as the same bytes.
    WriteStrings("4090=Kopfh\xC3\xB6rer\r\n4091=Pegel\r\n");
    EXPECT_EQ(m_language.GetString(IDS_SPEAKERS_PHONES), "Kopfh\xC3\xB6rer");
    EXPECT_EQ(m_language.GetString(IDS_SPEAKER_VOLUMES), "Pegel");
    // Windows-1250 bytes of a Polish file, read while German is the language.
    m_language.SetLanguage(0x0415);
    WriteBesideExe("Polish.lng", "[Strings]\r\n4090=S\xB3uchawki \xAF\xF3\xB3w\r\n");
    EXPECT_EQ(m_language.GetString(IDS_SPEAKERS_PHONES), "S\xB3uchawki \xAF\xF3\xB3w");
}

TEST_F(LanguageFileTest, UnicodeFileWithByteOrderMarkIsReadAsText) {
    const wchar_t text[] = L"\xFEFF[Strings]\r\n4100=Laden\r\n4090=Kopfh\x00F6rer\r\n";
    WriteBesideExe("German.lng", std::string(reinterpret_cast<const char*>(text),
                                             sizeof(text) - sizeof(wchar_t)));
    EXPECT_EQ(m_language.GetString(IDS_LOAD), "Laden");
    EXPECT_EQ(m_language.GetString(IDS_SPEAKERS_PHONES), "Kopfh\xF6rer");
    EXPECT_EQ(m_language.GetString(IDS_SAVE), Resource(IDS_SAVE));
}

TEST_F(LanguageFileTest, LinesWithoutEqualsOrKeyAreSkipped) {
    WriteStrings("4100\r\n=Nameless\r\n4101==Doppelt\r\n4102=a=b\r\n\r\n\r\n4103=Info\r\n");
    EXPECT_EQ(m_language.GetString(IDS_LOAD), Resource(IDS_LOAD));
    EXPECT_EQ(m_language.GetString(IDS_SAVE), "=Doppelt");
    EXPECT_EQ(m_language.GetString(IDS_PRESETS), "a=b");
    EXPECT_EQ(m_language.GetString(IDS_ABOUT), "Info");
}

} // namespace
