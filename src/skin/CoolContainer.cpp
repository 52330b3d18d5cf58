#include "CoolContainer.h"

#include "CoolScheme.h"
#include "FastPath.h"
#include "ParentBackground.h"
#include "SchemePropagation.h"
#include "WindowDC.h"
#include "Wnd.h"

CoolContainer::CoolContainer(const CWnd& window, BackgroundSource source)
    : m_window(window), m_source(source) {}

int CoolContainer::GetBackgroundBitmap(CCoolBitmap** out) {
    if (m_source == BackgroundSource::Parents) return ParentBackgroundBitmap(m_window, out);
    if (!out) return 0;
    // A reference DC only to build the background: every control asks for it as it paints.
    if (m_background && !m_background->IsEmpty()) {
        *out = m_background.get();
        return 1;
    }
    CWindowDC screen(m_window.m_hWnd);
    *out = m_window.m_hWnd && screen ? EnsureBackground(screen) : m_background.get();
    return 1;
}

int CoolContainer::GetScreenRect(RECT* out) {
    if (m_source == BackgroundSource::Parents) return ParentScreenRect(m_window, out);
    if (!out || !m_window.m_hWnd) return 0;
    ::GetClientRect(m_window, out);
    ::MapWindowPoints(m_window, nullptr, reinterpret_cast<POINT*>(out), 2);
    return 1;
}

void CoolContainer::OnColorsChanged() {
    m_background.reset();
}

bool CoolContainer::HandleContainerMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                           LRESULT* result) {
    if (!HandleSchemeMessage(message, wParam, lParam, result, Role::Window)) return false;
    // A change that changed nothing (a light point message without its point, or one whose point
    // is not this thread's to follow) says so and is passed on to no one.
    if (!IsSchemeChange(message) || !*result) return true;
    if (!HandOverContinues(m_window)) Propagate();
    ::InvalidateRect(m_window, nullptr, TRUE);
    *result = 1;
    return true;
}

CCoolBitmap* CoolContainer::EnsureBackground(HDC reference) {
    if (m_background && !m_background->IsEmpty()) return m_background.get();
    auto bitmap = std::make_unique<CCoolBitmap>();
    if (!CoolPaintWindowBackground(*this, *bitmap, reference, m_window.GetClientRect()))
        return nullptr;
    m_background = std::move(bitmap);
    return m_background.get();
}

void CoolContainer::OnDisplayChange(int bitsPerPixel) {
    CCoolBitmap::SetDisplayBitsPerPixel(bitsPerPixel);
    if (m_background && m_background->BitsPixel() != bitsPerPixel) OnColorsChanged();
}
