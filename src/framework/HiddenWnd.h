// An invisible top-level window that exists only to receive messages (callbacks, timers).
#pragma once

#include "Wnd.h"

class CHiddenWnd : public CWnd {
public:
    bool Create(const char* title);
};
