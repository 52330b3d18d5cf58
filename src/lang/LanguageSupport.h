// The user-interface language: which language is in effect, the lookup of the program's texts
// by string identifier (language files beside the program first, then the built-in string
// tables), the list of languages that can be chosen, and menu relabelling.
#pragma once

#include "Platform.h"

#include <string>

// Sent to a window to make it fetch all its texts again; wParam = the new language
// identifier, lParam = 0, result 0.
constexpr UINT WM_LANGUAGE_CHANGED = WM_USER + 0x6000;
static_assert(WM_LANGUAGE_CHANGED == 0x6400, "the language message number is fixed");

class CLanguageSupport {
public:
    // Number of languages the program knows.
    static constexpr int kLanguageCount = 12;
    // Identifiers from here up belong to the class library's own string table.
    static constexpr UINT kFrameworkStringBase = 0xE000;

    // Availability bits of one language.
    enum : unsigned { AVAILABLE_FILE = 1, AVAILABLE_RESOURCES = 2 };

    // Starts in the user's default language (English when there is none) and notes which
    // languages are available; that list stays fixed for the life of the object.
    CLanguageSupport();
    virtual ~CLanguageSupport();
    CLanguageSupport(const CLanguageSupport&) = delete;
    CLanguageSupport& operator=(const CLanguageSupport&) = delete;

    // The program's one language object (the first constructed and still alive), or null.
    // Windows that label themselves reach it here.
    static CLanguageSupport* GetLanguageObject();

    // Makes any language identifier current, listed or not, and sets the thread locale and
    // the C runtime's locale to it.
    void SetLanguage(LCID language);
    LCID GetLanguage() const { return m_language; }

    // Looks up text `id` into buffer (size bytes, terminated). 1 when found; 0 when no source
    // knows it, with the buffer zero-filled.
    BOOL LookupString(UINT id, char* buffer, int size) const;
    // The text of `id` (at most 511 bytes), or an empty string.
    std::string GetString(UINT id) const;

    // Relabels the items of one menu level whose command identifier has a text.
    void TranslateMenu(HMENU menu) const;

    // Number of languages that can be chosen.
    int GetLanguageCount() const { return m_availableCount; }
    // The index-th language that can be chosen, in the order of the language table, with its
    // native name (first letter upper-cased). 0 when there is no such language.
    BOOL GetLanguageInfo(int index, LCID* language, char* name, int size) const;
    // True when the language is in the table and available.
    bool IsLanguageAvailable(LCID language) const;
    // The availability bits of table row `row` (AVAILABLE_FILE, AVAILABLE_RESOURCES).
    unsigned GetAvailability(int row) const;

    // Folder of the program file, without a trailing backslash.
    const std::string& GetProgramDirectory() const { return m_programDirectory; }

    // The language file and C runtime locale name that serve a language identifier (chosen
    // by its primary language; English for languages the program does not know).
    static const char* LanguageFileName(LCID language);
    static const char* RuntimeLocaleName(LCID language);

private:
    BOOL LookupFrameworkString(UINT id, char* buffer, int size) const;
    BOOL LookupInFile(UINT id, char* buffer, int size, bool fallBackToEnglish) const;
    BOOL LookupInResources(UINT id, LANGID language, char* buffer, int size) const;
    BOOL LookupInResourcesWithFallback(UINT id, char* buffer, int size) const;
    bool HasStringTables(LANGID language) const;
    void ScanAvailability();

    HMODULE m_module = nullptr;
    LCID m_language = 0x0409;
    unsigned m_availability[kLanguageCount] = {};
    int m_availableCount = 0;
    std::string m_programDirectory;
};
