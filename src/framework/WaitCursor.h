// Shows the wait cursor for its lifetime and puts the previous cursor back.
#pragma once

#include "Platform.h"

class CWaitCursor {
public:
    CWaitCursor() : m_previous(::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)))) {}
    ~CWaitCursor() { ::SetCursor(m_previous); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    // Shows the wait cursor again, after something (a message box) changed it.
    void Restore() const { ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514))); }

private:
    HCURSOR m_previous;
};
