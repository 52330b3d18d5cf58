// A dialog template built in memory (the classic DLGTEMPLATE layout), for dialogs and pages
// that have no resource. Coordinates are dialog units; texts are ANSI and stored as UTF-16.
#pragma once

#include "Platform.h"

#include <string>
#include <vector>

class CDialogTemplate {
public:
    // The predefined control classes, stored by atom.
    enum : WORD {
        Button = 0x80,
        Edit = 0x81,
        Static = 0x82,
        ListBox = 0x83,
        ScrollBar = 0x84,
        ComboBox = 0x85
    };

    CDialogTemplate(const std::string& title, DWORD style, const RECT& rect, DWORD exStyle = 0);

    // Gives the dialog a font (DS_SETFONT); call before the first item.
    void SetFont(WORD pointSize, const std::string& face);
    // Adds a control of a predefined class.
    void AddItem(WORD classAtom, const std::string& text, DWORD style, const RECT& rect, WORD id,
                 DWORD exStyle = 0);
    // Adds a control of a registered class (e.g. a trackbar).
    void AddItem(const std::string& className, const std::string& text, DWORD style,
                 const RECT& rect, WORD id, DWORD exStyle = 0);

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }
    size_t Size() const { return m_words.size() * sizeof(WORD); }
    int ItemCount() const { return m_items; }

private:
    void AlignToDword();
    void AddString(const std::string& text);
    void AddDword(DWORD value);
    void AddItemHeader(DWORD style, DWORD exStyle, const RECT& rect, WORD id);
    DLGTEMPLATE& Header() { return *reinterpret_cast<DLGTEMPLATE*>(m_words.data()); }

    std::vector<WORD> m_words;
    int m_items = 0;
    bool m_hasFont = false;
};
