// Selects a pen, brush, font or bitmap into a DC and puts the previous object back when it
// goes. Declared after the object it selects, it always ends first, so the object is never
// deleted while still selected, whether the object was declared before or after the DC.
#pragma once

#include "Platform.h"

#include <utility>

class CScopedSelection {
public:
    CScopedSelection(HDC dc, HGDIOBJ object) : m_dc(dc) {
        if (!dc || !object) return;
        HGDIOBJ previous = ::SelectObject(dc, object);
        if (previous && previous != HGDI_ERROR) m_previous = previous;
    }
    ~CScopedSelection() { Restore(); }
    CScopedSelection(const CScopedSelection&) = delete;
    CScopedSelection& operator=(const CScopedSelection&) = delete;
    CScopedSelection(CScopedSelection&& other) noexcept
        : m_dc(other.m_dc), m_previous(std::exchange(other.m_previous, nullptr)) {}
    CScopedSelection& operator=(CScopedSelection&&) = delete;

    // False when the object could not be selected.
    explicit operator bool() const { return m_previous != nullptr; }
    HGDIOBJ Previous() const { return m_previous; }

    // Puts the previous object back now.
    void Restore() {
        if (m_previous) ::SelectObject(m_dc, m_previous);
        m_previous = nullptr;
    }

private:
    HDC m_dc = nullptr;
    HGDIOBJ m_previous = nullptr;
};
