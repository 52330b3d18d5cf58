#include "DC.h"

CDC::~CDC() {
    Close();
}

bool CDC::CreateCompatibleDC(HDC reference) {
    Close();
    m_hDC = ::CreateCompatibleDC(reference);
    m_kind = m_hDC ? Kind::Memory : Kind::None;
    return m_hDC != nullptr;
}

bool CDC::GetDC(HWND window) {
    Close();
    m_hDC = ::GetDC(window);
    m_window = window;
    m_kind = m_hDC ? Kind::Window : Kind::None;
    return m_hDC != nullptr;
}

HGDIOBJ CDC::SelectObject(HGDIOBJ object) {
    if (!m_hDC || !object) return nullptr;
    HGDIOBJ previous = ::SelectObject(m_hDC, object);
    if (!previous || previous == HGDI_ERROR) return nullptr;
    HGDIOBJ* slot = nullptr;
    switch (::GetObjectType(object)) {
    case OBJ_PEN:
    case OBJ_EXTPEN:
        slot = &m_oldPen;
        break;
    case OBJ_BRUSH:
        slot = &m_oldBrush;
        break;
    case OBJ_FONT:
        slot = &m_oldFont;
        break;
    case OBJ_BITMAP:
        slot = &m_oldBitmap;
        break;
    default:
        break;
    }
    if (slot && !*slot) *slot = previous;
    return previous;
}

void CDC::RestoreSelections() {
    if (!m_hDC) return;
    for (HGDIOBJ* slot : {&m_oldPen, &m_oldBrush, &m_oldFont, &m_oldBitmap}) {
        if (*slot) ::SelectObject(m_hDC, *slot);
        *slot = nullptr;
    }
}

void CDC::Close() {
    RestoreSelections();
    switch (m_kind) {
    case Kind::Memory:
        ::DeleteDC(m_hDC);
        break;
    case Kind::Window:
        ::ReleaseDC(m_window, m_hDC);
        break;
    default: // borrowed DCs belong to someone else; paint DCs end in CPaintDC
        break;
    }
    m_hDC = nullptr;
    m_window = nullptr;
    m_kind = Kind::None;
}

void CDC::FillSolidRect(const RECT& r, COLORREF color) {
    COLORREF old = ::SetBkColor(m_hDC, color);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

void CDC::Draw3dRect(const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    FillSolidRect(CRect(r.left, r.top, r.left + w - 1, r.top + 1), topLeft);
    FillSolidRect(CRect(r.left, r.top, r.left + 1, r.top + h - 1), topLeft);
    FillSolidRect(CRect(r.right - 1, r.top, r.right, r.bottom), bottomRight);
    FillSolidRect(CRect(r.left, r.bottom - 1, r.right, r.bottom), bottomRight);
}

SIZE CDC::GetTextExtent(const std::string& text) const {
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(m_hDC, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}
