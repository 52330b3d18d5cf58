#include "Platform.h"

#include "LanguageSupport.h"
#include "ModulePath.h"

#include <shlwapi.h>

#include <cctype>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {
struct LanguageRow {
    LCID id;
    const char* fileName;
};

// The languages the program knows, in the order of the language list.
const LanguageRow kLanguages[CLanguageSupport::kLanguageCount] = {
    {0x0406, "Danish.lng"},     {0x0407, "German.lng"},    {0x0409, "English.lng"},
    {0x040A, "Spanish.lng"},    {0x040C, "French.lng"},    {0x0410, "Italian.lng"},
    {0x0413, "Dutch.lng"},      {0x0414, "Norwegian.lng"}, {0x0415, "Polish.lng"},
    {0x0816, "Portuguese.lng"}, {0x040B, "Finnish.lng"},   {0x041D, "Swedish.lng"},
};

struct PrimaryLanguage {
    unsigned primary;
    const char* fileName;
    // The name the C runtime (msvcrt) accepts for setlocale; it picks the country and the
    // ANSI code page itself.
    const char* runtimeLocale;
};

const PrimaryLanguage kPrimaryLanguages[] = {
    {LANG_DANISH, "Danish.lng", "danish"},    {LANG_GERMAN, "German.lng", "german"},
    {LANG_SPANISH, "Spanish.lng", "spanish"}, {LANG_FINNISH, "Finnish.lng", "finnish"},
    {LANG_FRENCH, "French.lng", "french"},    {LANG_ITALIAN, "Italian.lng", "italian"},
    {LANG_DUTCH, "Dutch.lng", "dutch"},       {LANG_NORWEGIAN, "Norwegian.lng", "norwegian"},
    {LANG_POLISH, "Polish.lng", "polish"},    {LANG_PORTUGUESE, "Portuguese.lng", "portuguese"},
    {LANG_SWEDISH, "Swedish.lng", "swedish"},
};
const PrimaryLanguage kEnglish = {LANG_ENGLISH, "English.lng", "english"};

const PrimaryLanguage& PrimaryLanguageOf(LCID language) {
    unsigned primary = language & 0x3FF;
    for (const PrimaryLanguage& entry : kPrimaryLanguages)
        if (entry.primary == primary) return entry;
    return kEnglish;
}

// Resource languages tried, after the current one, when no source in the current language
// has a text: English, neutral, the user's and the system's default, German.
const LANGID kResourceFallbacks[] = {0x0409, 0x0000, 0x0400, 0x0800, 0x0407};

// String-table blocks whose presence in a language marks its tables as built in.
const WORD kProbeBlocks[] = {1, 2, 100, 101, 102, 128, 1000, 32768};

const int kGetStringCapacity = 512;
const int kMenuTextCapacity = 256;
const int kNativeNameCapacity = 256;

void ZeroFill(char* buffer, int size) {
    std::memset(buffer, 0, static_cast<size_t>(size));
}

// Copies text into buffer, cut to size - 1 bytes and terminated.
void CopyCut(char* buffer, int size, const char* text, size_t length) {
    size_t room = static_cast<size_t>(size) - 1;
    if (length > room) length = room;
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
}

// The escapes of language files. The text keeps its length: the escaping backslash becomes
// a blank and the escaped character the backslash, line feed or tab. Every position but the
// last is examined, including one just written, so "\\n" ends as two blanks and a line feed.
void ApplyEscapes(char* text) {
    size_t length = std::strlen(text);
    for (size_t i = 0; i + 1 < length; ++i) {
        if (text[i] != '\\') continue;
        char replacement;
        switch (text[i + 1]) {
        case '\\':
            replacement = '\\';
            break;
        case 'n':
            replacement = '\n';
            break;
        case 't':
            replacement = '\t';
            break;
        default:
            continue;
        }
        text[i] = ' ';
        text[i + 1] = replacement;
    }
}

std::string ProgramDirectory() {
    std::string directory = GetModulePath();
    size_t slash = directory.find_last_of('\\');
    directory.erase(slash == std::string::npos ? 0 : slash);
    return directory;
}

CLanguageSupport* g_languageObject = nullptr;

struct LanguageSearch {
    LANGID language;
    bool found;
};

BOOL CALLBACK MatchLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR param) {
    auto* search = reinterpret_cast<LanguageSearch*>(param);
    if (language != search->language) return TRUE;
    search->found = true;
    return FALSE;
}

UINT ThreadAnsiCodePage() {
    char number[16] = {};
    if (::GetLocaleInfoA(::GetThreadLocale(), LOCALE_IDEFAULTANSICODEPAGE, number,
                         sizeof(number)) == 0)
        return CP_ACP;
    UINT codePage = 0;
    if (std::sscanf(number, "%u", &codePage) != 1 || codePage == 0) return CP_ACP;
    return codePage;
}
} // namespace

CLanguageSupport::CLanguageSupport() {
    if (!g_languageObject) g_languageObject = this;
    m_module = ::GetModuleHandleA(nullptr);
    m_programDirectory = ProgramDirectory();
    LCID language = ::GetUserDefaultLCID();
    SetLanguage(language ? language : 0x0409);
    ScanAvailability();
}

CLanguageSupport::~CLanguageSupport() {
    if (g_languageObject == this) g_languageObject = nullptr;
}

CLanguageSupport* CLanguageSupport::GetLanguageObject() {
    return g_languageObject;
}

const char* CLanguageSupport::LanguageFileName(LCID language) {
    return PrimaryLanguageOf(language).fileName;
}

const char* CLanguageSupport::RuntimeLocaleName(LCID language) {
    return PrimaryLanguageOf(language).runtimeLocale;
}

void CLanguageSupport::SetLanguage(LCID language) {
    m_language = language;
    ::SetThreadLocale(language);
    std::setlocale(LC_ALL, RuntimeLocaleName(language));
}

bool CLanguageSupport::HasStringTables(LANGID language) const {
    // The resource loader hands out a neutral block for any language asked for, so the
    // languages a block exists in are listed and compared instead.
    LanguageSearch search = {language, false};
    for (WORD block : kProbeBlocks) {
        ::EnumResourceLanguagesA(m_module, MAKEINTRESOURCEA(6), MAKEINTRESOURCEA(block),
                                 MatchLanguage, reinterpret_cast<LONG_PTR>(&search));
        if (search.found) return true;
    }
    return false;
}

void CLanguageSupport::ScanAvailability() {
    m_availableCount = 0;
    for (int row = 0; row < kLanguageCount; ++row) {
        unsigned bits = 0;
        std::string path = m_programDirectory + "\\" + kLanguages[row].fileName;
        if (::PathFileExistsA(path.c_str())) bits |= AVAILABLE_FILE;
        if (HasStringTables(LANGIDFROMLCID(kLanguages[row].id))) bits |= AVAILABLE_RESOURCES;
        m_availability[row] = bits;
        if (bits) ++m_availableCount;
    }
}

unsigned CLanguageSupport::GetAvailability(int row) const {
    if (row < 0 || row >= kLanguageCount) return 0;
    return m_availability[row];
}

bool CLanguageSupport::IsLanguageAvailable(LCID language) const {
    for (int row = 0; row < kLanguageCount; ++row)
        if (kLanguages[row].id == language) return m_availability[row] != 0;
    return false;
}

BOOL CLanguageSupport::LookupString(UINT id, char* buffer, int size) const {
    if (!buffer || size <= 0) return FALSE;
    if (id >= kFrameworkStringBase) return LookupFrameworkString(id, buffer, size);
    if (LookupInFile(id, buffer, size, false)) return TRUE;
    if (LookupInResources(id, LANGIDFROMLCID(m_language), buffer, size)) return TRUE;
    if (LookupInFile(id, buffer, size, true)) return TRUE;
    if (LookupInResourcesWithFallback(id, buffer, size)) return TRUE;
    ZeroFill(buffer, size);
    return FALSE;
}

BOOL CLanguageSupport::LookupFrameworkString(UINT id, char* buffer, int size) const {
    int length = ::LoadStringA(m_module, id, buffer, size);
    if (length <= 0) return FALSE;
    // The class library's strings may hold a prompt and, after a line feed, a short tip:
    // the tip is the text.
    char* tip = std::strchr(buffer, '\n');
    if (tip) {
        ++tip;
        size_t tipLength = std::strcspn(tip, "\n");
        std::memmove(buffer, tip, tipLength);
        buffer[tipLength] = '\0';
    }
    return TRUE;
}

BOOL CLanguageSupport::LookupInFile(UINT id, char* buffer, int size, bool fallBackToEnglish) const {
    std::string path = m_programDirectory + "\\" + LanguageFileName(m_language);
    if (fallBackToEnglish && !::PathFileExistsA(path.c_str()))
        path = m_programDirectory + "\\" + kEnglish.fileName;
    if (!::PathFileExistsA(path.c_str())) {
        ZeroFill(buffer, size);
        return FALSE;
    }
    char key[16];
    std::snprintf(key, sizeof(key), "%u", id);
    DWORD length = ::GetPrivateProfileStringA("Strings", key, "", buffer, static_cast<DWORD>(size),
                                              path.c_str());
    if (length == 0) {
        std::snprintf(key, sizeof(key), "0x%x", id);
        length = ::GetPrivateProfileStringA("Strings", key, "", buffer, static_cast<DWORD>(size),
                                            path.c_str());
    }
    if (length == 0) return FALSE;
    ApplyEscapes(buffer);
    return TRUE;
}

BOOL CLanguageSupport::LookupInResources(UINT id, LANGID language, char* buffer, int size) const {
    HRSRC found =
        ::FindResourceExA(m_module, MAKEINTRESOURCEA(6), MAKEINTRESOURCEA(id / 16 + 1), language);
    if (!found) return FALSE;
    HGLOBAL loaded = ::LoadResource(m_module, found);
    const WCHAR* block = loaded ? static_cast<const WCHAR*>(::LockResource(loaded)) : nullptr;
    if (!block) return FALSE;
    // A block is 16 entries, each a length in UTF-16 units followed by that many units;
    // never read past the end of the resource.
    const size_t units = ::SizeofResource(m_module, found) / sizeof(WCHAR);
    size_t at = 0;
    for (UINT skip = id % 16; skip > 0 && at < units; --skip)
        at += 1 + block[at];
    if (at >= units || block[at] == 0) return FALSE;
    const int length = block[at];
    const WCHAR* text = block + at + 1;
    if (at + 1 + static_cast<size_t>(length) > units) return FALSE;

    UINT codePage = ThreadAnsiCodePage();
    int bytes = ::WideCharToMultiByte(codePage, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return FALSE;
    std::vector<char> converted(static_cast<size_t>(bytes));
    ::WideCharToMultiByte(codePage, 0, text, length, converted.data(), bytes, nullptr, nullptr);
    CopyCut(buffer, size, converted.data(), converted.size());
    return TRUE;
}

BOOL CLanguageSupport::LookupInResourcesWithFallback(UINT id, char* buffer, int size) const {
    if (LookupInResources(id, LANGIDFROMLCID(m_language), buffer, size)) return TRUE;
    for (LANGID language : kResourceFallbacks)
        if (LookupInResources(id, language, buffer, size)) return TRUE;
    return FALSE;
}

std::string CLanguageSupport::GetString(UINT id) const {
    char buffer[kGetStringCapacity];
    if (!LookupString(id, buffer, sizeof(buffer))) return std::string();
    return std::string(buffer);
}

void CLanguageSupport::TranslateMenu(HMENU menu) const {
    if (!menu) return;
    int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        UINT command = ::GetMenuItemID(menu, position);
        // Separators (0) and sub-menus (-1) have no text of their own to look up.
        if (command == 0 || command == static_cast<UINT>(-1)) continue;
        char text[kMenuTextCapacity];
        if (!LookupString(command, text, sizeof(text))) continue;
        ::ModifyMenuA(menu, command, MF_BYCOMMAND | MF_STRING, command, text);
    }
}

BOOL CLanguageSupport::GetLanguageInfo(int index, LCID* language, char* name, int size) const {
    if (!name || size <= 0) return FALSE;
    CopyCut(name, size, "???", 3);
    if (index < 0 || index >= kLanguageCount) return FALSE;
    int seen = 0;
    for (const LanguageRow& row : kLanguages) {
        if (!IsLanguageAvailable(row.id)) continue;
        if (seen++ != index) continue;
        if (language) *language = row.id;
        char native[kNativeNameCapacity] = {};
        if (::GetLocaleInfoA(row.id, LOCALE_SNATIVELANGNAME, native, sizeof(native)) == 0)
            return FALSE;
        native[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(native[0])));
        CopyCut(name, size, native, std::strlen(native));
        return TRUE;
    }
    return FALSE;
}
