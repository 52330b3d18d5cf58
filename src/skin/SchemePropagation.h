// How a skinned container hands its scheme down: every direct child gets the twelve colours,
// a light point of its own (off its centre towards the parent's light, by its share of the
// parent's size) and the render mode, and is repainted.
#pragma once

#include "Platform.h"

class CoolColors;

void PassSchemeToChildren(HWND parent, const CoolColors& scheme);

// The light point of a child whose rectangle (in the parent's client coordinates) is child,
// in the child's client coordinates, for a parent of the given client size and light point.
POINT ChildLightPoint(POINT parentLight, SIZE parentClient, const RECT& child);
