// Questions our code asks a window about itself often (a skinned control while it paints: its
// font, its text, its position, its geometry and ticks; the message loop after every message:
// whether a modeless sheet still has a page), answered by its window class's own procedure,
// past the subclass chain: a trip through the chain looks the subclass data up again for every
// message, which costs far more than the answer (under Wine some 25 microseconds against one).
// Only for questions our window classes leave to the system.
#pragma once

#include "Platform.h"

#include <string>

LRESULT AskClassProcedure(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
HFONT ClassFont(HWND window);
std::string ClassText(HWND window);
