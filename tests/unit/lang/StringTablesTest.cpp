// The program's texts as shipped: the six built-in string tables and the six language files
// installed beside the program.
#include "Platform.h"

#include "StringIds.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

struct BuiltIn {
    LANGID language;
    const char* name;
};
const BuiltIn kTables[] = {{0x0407, "German"}, {0x0409, "English"}, {0x040A, "Spanish"},
                           {0x040C, "French"}, {0x0410, "Italian"}, {0x0413, "Dutch"}};

struct LanguageFile {
    const char* name;
    UINT codePage;
};
const LanguageFile kFiles[] = {{"Danish.lng", 1252},  {"Norwegian.lng", 1252},
                               {"Polish.lng", 1250},  {"Portuguese.lng", 1252},
                               {"Finnish.lng", 1252}, {"Swedish.lng", 1252}};

// Page titles: each carries an access letter, and no two pages of a language share one.
const UINT kTabTitles[] = {IDS_PAGE_VOLUME,   IDS_PAGE_SOURCES, IDS_PAGE_RECORD,
                           IDS_PAGE_SPEAKERS, IDS_PAGE_DIGITAL, IDS_PAGE_MISC};

std::wstring Decode(const std::string& bytes, UINT codePage, bool* ok = nullptr) {
    if (bytes.empty()) return std::wstring();
    int length = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(),
                                       static_cast<int>(bytes.size()), nullptr, 0);
    if (ok) *ok = length > 0;
    if (length <= 0) return std::wstring();
    std::wstring text(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0],
                          length);
    return text;
}

std::string FilePath(const char* name) {
    char directory[MAX_PATH] = {};
    ::GetCurrentDirectoryA(sizeof(directory), directory);
    return std::string(directory) + "\\" + name;
}

// Every key=text pair of the file's [Strings] section, texts decoded in the file's code page
// with the "\n" escapes turned into line feeds.
std::map<std::string, std::wstring> ReadFileStrings(const LanguageFile& file) {
    std::vector<char> section(65536);
    DWORD length = ::GetPrivateProfileSectionA(
        "Strings", section.data(), static_cast<DWORD>(section.size()), FilePath(file.name).c_str());
    std::map<std::string, std::wstring> entries;
    for (const char* line = section.data(); line < section.data() + length && *line;
         line += std::strlen(line) + 1) {
        std::string entry(line);
        size_t equals = entry.find('=');
        if (equals == std::string::npos) continue;
        std::string text = entry.substr(equals + 1);
        for (size_t at; (at = text.find("\\n")) != std::string::npos;)
            text.replace(at, 2, "\n");
        entries[entry.substr(0, equals)] = Decode(text, file.codePage);
    }
    return entries;
}

std::set<UINT> EnglishIds() {
    std::set<UINT> ids;
    for (const auto& entry : ReadStringTable(0x0409))
        ids.insert(entry.first);
    return ids;
}

// The access letter after the single "&" of a title, upper-cased; 0 when there is none.
wchar_t AccessLetter(const std::wstring& title) {
    size_t amp = title.find(L'&');
    if (amp == std::wstring::npos || amp + 1 >= title.size() || title[amp + 1] == L'&' ||
        title[amp + 1] == L' ' || title.find(L'&', amp + 1) != std::wstring::npos)
        return 0;
    return static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(
        ::CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(title[amp + 1])))));
}

// Number of "%s" in a format; -1 when it holds any other conversion.
int StringPlaceholders(const std::wstring& format) {
    int count = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != L'%') continue;
        if (i + 1 < format.size() && format[i + 1] == L'%') {
            ++i;
            continue;
        }
        if (i + 1 >= format.size() || format[i + 1] != L's') return -1;
        ++count;
        ++i;
    }
    return count;
}

void CheckTabsAndAbout(const std::string& where, const std::map<UINT, std::wstring>& texts) {
    std::set<wchar_t> letters;
    for (UINT id : kTabTitles) {
        auto found = texts.find(id);
        ASSERT_NE(found, texts.end()) << where << " " << id;
        wchar_t letter = AccessLetter(found->second);
        EXPECT_NE(letter, 0) << where << " " << id;
        EXPECT_TRUE(letters.insert(letter).second)
            << where << ": access letter of " << id << " used twice";
    }
    auto about = texts.find(IDS_ABOUT_FORMAT);
    ASSERT_NE(about, texts.end()) << where;
    EXPECT_EQ(StringPlaceholders(about->second), 3) << where;
    EXPECT_NE(about->second.find(L'\n'), std::wstring::npos) << where;
}

bool HasControlCharacters(const std::wstring& text) {
    for (wchar_t c : text)
        if ((c < 0x20 && c != L'\n' && c != L'\r') || (c >= 0x80 && c < 0xA0) || c == 0xFFFD)
            return true;
    return false;
}

TEST(StringTables, EveryBuiltInLanguageHasTheSameTexts) {
    std::set<UINT> english = EnglishIds();
    EXPECT_EQ(english.size(), static_cast<size_t>(IDS_TEXT_COUNT));
    EXPECT_LT(*english.rbegin(), 0xE000u);
    for (const BuiltIn& table : kTables) {
        std::map<UINT, std::wstring> texts = ReadStringTable(table.language);
        std::set<UINT> ids;
        for (const auto& entry : texts) {
            ids.insert(entry.first);
            EXPECT_FALSE(HasControlCharacters(entry.second)) << table.name << " " << entry.first;
            // Every text fits the Western code page it was written in.
            BOOL lost = FALSE;
            ::WideCharToMultiByte(1252, 0, entry.second.data(),
                                  static_cast<int>(entry.second.size()), nullptr, 0, nullptr,
                                  &lost);
            EXPECT_FALSE(lost) << table.name << " " << entry.first;
        }
        EXPECT_EQ(ids, english) << table.name;
        CheckTabsAndAbout(table.name, texts);
    }
}

TEST(StringTables, EnglishAboutTextHoldsItsThreeLines) {
    std::wstring about = ReadStringTable(0x0409)[IDS_ABOUT_FORMAT];
    EXPECT_EQ(about, L"%s Control Panel\nVersion %s\nDriver Version: %s");
}

TEST(StringTables, TheApplicationNameIsTheSameEverywhere) {
    EXPECT_EQ(ReadStringTable(0x0000)[IDS_APP_NAME], L"Quenda Mixer");
    for (const BuiltIn& table : kTables)
        EXPECT_EQ(ReadStringTable(table.language)[IDS_APP_NAME], L"Quenda Mixer") << table.name;
}

TEST(LanguageFiles, EveryInstalledFileHasAllTextsInItsCodePage) {
    std::set<UINT> english = EnglishIds();
    ASSERT_EQ(english.size(), static_cast<size_t>(IDS_TEXT_COUNT));
    for (const LanguageFile& file : kFiles) {
        std::string bytes = ReadWholeFile(FilePath(file.name));
        ASSERT_FALSE(bytes.empty()) << file.name << " is not installed";
        bool decodes = false;
        std::wstring whole = Decode(bytes, file.codePage, &decodes);
        EXPECT_TRUE(decodes) << file.name;
        EXPECT_FALSE(HasControlCharacters(whole)) << file.name;
        // Written in an ANSI code page, not in UTF-8: the translations need letters outside
        // ASCII, and those bytes are not valid UTF-8.
        bool utf8 = false;
        Decode(bytes, CP_UTF8, &utf8);
        EXPECT_FALSE(utf8) << file.name;

        std::map<std::string, std::wstring> entries = ReadFileStrings(file);
        std::set<UINT> ids;
        std::map<UINT, std::wstring> texts;
        for (const auto& entry : entries) {
            UINT id = static_cast<UINT>(std::stoul(entry.first));
            EXPECT_EQ(std::to_string(id), entry.first) << file.name;
            EXPECT_FALSE(entry.second.empty()) << file.name << " " << id;
            ids.insert(id);
            texts[id] = entry.second;
        }
        EXPECT_EQ(ids, english) << file.name;
        CheckTabsAndAbout(file.name, texts);
    }
}

TEST(LanguageFiles, PolishIsWrittenInTheCentralEuropeanCodePage) {
    // Letters that Windows-1250 has and Windows-1252 lacks: decoded as 1250 they are Polish.
    std::map<std::string, std::wstring> entries = ReadFileStrings({"Polish.lng", 1250});
    std::wstring all;
    for (const auto& entry : entries)
        all += entry.second;
    EXPECT_NE(all.find_first_of(L"\x0105\x0107\x0119\x0142\x0144\x015B\x017A\x017C"),
              std::wstring::npos);
}

// The narrow labels of the slider strips and the switches beside them: the width of their
// controls in dialog units, and whether a control is a button, whose frame takes two pixels
// on each side. The pages use "MS Sans Serif" 8 point.
struct NarrowLabel {
    UINT id;
    int width;
    bool button;
};
const NarrowLabel kNarrowLabels[] = {
    {IDS_MASTER, 27, false}, {IDS_CENTER, 27, false}, {IDS_SUB, 23, false}, {IDS_FRONT, 39, false},
    {IDS_REAR, 39, false},   {IDS_SYNTH, 27, false},  {IDS_MUTE, 27, true}, {IDS_BOOST, 27, true},
    {IDS_WAVE, 27, true},    {IDS_MIC, 27, true},     {IDS_CD, 27, true},   {IDS_AUX, 27, true},
    {IDS_LINE, 27, true},    {IDS_MIX, 27, true}};

class LabelMeasure {
public:
    LabelMeasure() : m_dc(::GetDC(nullptr)) {
        m_font =
            ::CreateFontA(-::MulDiv(8, ::GetDeviceCaps(m_dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL,
                          FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
        m_old = ::SelectObject(m_dc, m_font);
        // Horizontal base unit as the dialog manager computes it from the dialog font.
        SIZE letters = {};
        ::GetTextExtentPoint32A(m_dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52,
                                &letters);
        m_baseX = (letters.cx / 26 + 1) / 2;
    }
    ~LabelMeasure() {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_font);
        ::ReleaseDC(nullptr, m_dc);
    }
    int TextWidth(const std::wstring& text) const {
        SIZE size = {};
        ::GetTextExtentPoint32W(m_dc, text.data(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    // Room for a caption in a control of `width` dialog units.
    int Room(const NarrowLabel& label) const {
        return ::MulDiv(label.width, m_baseX, 4) - (label.button ? 4 : 0);
    }

private:
    HDC m_dc;
    HFONT m_font;
    HGDIOBJ m_old;
    int m_baseX = 0;
};

void CheckNarrowLabels(const LabelMeasure& measure, const std::string& where,
                       const std::map<UINT, std::wstring>& texts) {
    for (const NarrowLabel& label : kNarrowLabels) {
        auto found = texts.find(label.id);
        ASSERT_NE(found, texts.end()) << where << " " << label.id;
        EXPECT_LE(measure.TextWidth(found->second), measure.Room(label))
            << where << " " << label.id << " is too wide for its control";
    }
}

TEST(StringTables, NarrowLabelsFitTheirControlsInEveryLanguage) {
    LabelMeasure measure;
    for (const BuiltIn& table : kTables)
        CheckNarrowLabels(measure, table.name, ReadStringTable(table.language));
    for (const LanguageFile& file : kFiles) {
        std::map<UINT, std::wstring> texts;
        for (const auto& entry : ReadFileStrings(file))
            texts[static_cast<UINT>(std::stoul(entry.first))] = entry.second;
        CheckNarrowLabels(measure, file.name, texts);
    }
}

} // namespace
