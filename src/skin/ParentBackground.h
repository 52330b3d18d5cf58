// What lies behind a see-through control: the part of its parent's cached background under
// it, asked for with the scheme messages, or else what the screen shows there now.
#pragma once

#include "Platform.h"

class CCoolBitmap;

// Fills target (created control-sized, compatible with reference) with the background behind
// the control. False when no bitmap could be made.
bool CopyParentBackground(HWND control, HDC reference, CCoolBitmap& target);
