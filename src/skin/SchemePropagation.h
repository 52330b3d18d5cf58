// How a skinned container hands its scheme down: every direct child gets the twelve colours,
// a light point of its own (off its centre towards the parent's light, by its share of the
// parent's size) and the render mode, and is repainted (a parent that is not on screen yet is
// painted whole when it is shown).
#pragma once

#include "Platform.h"

class CoolColors;

void PassSchemeToChildren(HWND parent, const CoolColors& scheme);

// Sends one of the scheme messages that every skinned window answers itself (set or get a
// colour, the light point or the render mode; get the background bitmap or the screen
// rectangle). A skinned window of this thread gets it by a direct call to its WindowProc
// (FastPath.h: a main window hands several hundred of these down while it starts, and every
// control asks its parent for the background when it first paints). Any other window gets the
// message.
// Sent to a window of this thread, it counts as the thread's own (CMessageOrigin) even while the
// thread answers a message from elsewhere.
LRESULT SendSchemeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Handing the whole scheme to a child is a hand-over (FastPath.h): the colours and the light
// point come within it, the render mode last, after it. A container that gets a change while
// HandOverContinues(its window) only records the value and passes its scheme on once, at the
// render mode, instead of once per message: otherwise the messages multiply by fourteen at
// every level of nesting.

// The light point of a child whose rectangle (in the parent's client coordinates) is child,
// in the child's client coordinates, for a parent of the given client size and light point.
POINT ChildLightPoint(POINT parentLight, SIZE parentClient, const RECT& child);
