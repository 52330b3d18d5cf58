// What lies behind a see-through control: the part of its parent's cached background under
// it. Every skinned window asks here. The parent is asked with the scheme messages (a skinned
// parent of this thread answers directly); a parent that does not answer leaves the control
// with what the screen shows there now.
#pragma once

#include "Platform.h"

class CCoolBitmap;

// The background questions passed on to window's parent, for windows that show their parent's
// background (a page, a control that holds controls): its background bitmap, and its client
// rectangle on the screen that the bitmap covers. 0 when there is no parent or no answer.
int ParentBackgroundBitmap(HWND window, CCoolBitmap** out);
int ParentScreenRect(HWND window, RECT* out);

// Fills target (created control-sized, compatible with reference) with the background behind
// the control. False when no bitmap could be made.
bool CopyParentBackground(HWND control, HDC reference, CCoolBitmap& target);
