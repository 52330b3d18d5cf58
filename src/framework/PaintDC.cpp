#include "PaintDC.h"

CPaintDC::CPaintDC(HWND window) {
    m_window = window;
    m_hDC = ::BeginPaint(window, &m_ps);
    m_kind = m_hDC ? Kind::Paint : Kind::None;
}

CPaintDC::~CPaintDC() {
    if (m_kind == Kind::Paint) {
        RestoreSelections();
        ::EndPaint(m_window, &m_ps);
    }
    m_hDC = nullptr;
    m_kind = Kind::None;
}
