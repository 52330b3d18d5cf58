// State changes that the system control would draw itself (check, text, enable, selection,
// focus) are passed to its default processing with the visible style bit cleared, so that its
// own drawing never reaches the screen; the window is then invalidated and the skin repaints.
#pragma once

#include "Platform.h"

class CWnd;

// Default processing of one message with WS_VISIBLE cleared for the duration (only when the
// window is visible on screen, its parents too), then an invalidation with erase. Returns the
// default result.
LRESULT DefaultWithoutDrawing(CWnd& wnd, UINT message, WPARAM wParam, LPARAM lParam);
