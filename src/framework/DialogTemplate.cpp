#include "DialogTemplate.h"

CDialogTemplate::CDialogTemplate(const std::string& title, DWORD style, const RECT& rect,
                                 DWORD exStyle) {
    m_words.resize(sizeof(DLGTEMPLATE) / sizeof(WORD));
    DLGTEMPLATE& t = Header();
    t.style = style;
    t.dwExtendedStyle = exStyle;
    t.cdit = 0;
    t.x = static_cast<short>(rect.left);
    t.y = static_cast<short>(rect.top);
    t.cx = static_cast<short>(rect.right - rect.left);
    t.cy = static_cast<short>(rect.bottom - rect.top);
    m_words.push_back(0); // no menu
    m_words.push_back(0); // the dialog class
    AddString(title);
}

void CDialogTemplate::SetFont(WORD pointSize, const std::string& face) {
    if (m_hasFont || m_items) return;
    m_hasFont = true;
    Header().style |= DS_SETFONT;
    m_words.push_back(pointSize);
    AddString(face);
}

void CDialogTemplate::AlignToDword() {
    if (m_words.size() % 2) m_words.push_back(0);
}

void CDialogTemplate::AddString(const std::string& text) {
    if (!text.empty()) {
        const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(),
                                                 static_cast<int>(text.size()), nullptr, 0);
        const size_t at = m_words.size();
        m_words.resize(at + static_cast<size_t>(length));
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                              reinterpret_cast<wchar_t*>(m_words.data() + at), length);
    }
    m_words.push_back(0);
}

void CDialogTemplate::AddDword(DWORD value) {
    m_words.push_back(LOWORD(value));
    m_words.push_back(HIWORD(value));
}

void CDialogTemplate::AddItemHeader(DWORD style, DWORD exStyle, const RECT& rect, WORD id) {
    AlignToDword();
    AddDword(style | WS_CHILD);
    AddDword(exStyle);
    m_words.push_back(static_cast<WORD>(rect.left));
    m_words.push_back(static_cast<WORD>(rect.top));
    m_words.push_back(static_cast<WORD>(rect.right - rect.left));
    m_words.push_back(static_cast<WORD>(rect.bottom - rect.top));
    m_words.push_back(id);
}

void CDialogTemplate::AddItem(WORD classAtom, const std::string& text, DWORD style,
                              const RECT& rect, WORD id, DWORD exStyle) {
    AddItemHeader(style, exStyle, rect, id);
    m_words.push_back(0xFFFF);
    m_words.push_back(classAtom);
    AddString(text);
    m_words.push_back(0); // no creation data
    ++Header().cdit;
    ++m_items;
}

void CDialogTemplate::AddItem(const std::string& className, const std::string& text, DWORD style,
                              const RECT& rect, WORD id, DWORD exStyle) {
    AddItemHeader(style, exStyle, rect, id);
    AddString(className);
    AddString(text);
    m_words.push_back(0);
    ++Header().cdit;
    ++m_items;
}
