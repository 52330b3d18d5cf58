// What the skinned windows (dialog, sheet, page) share besides handing their scheme down:
// taking the parent's scheme, painting their background, placing children by their layout
// blocks, and finding the status prompt texts and the status bar that shows them.
#pragma once

#include "CoolColors.h"

#include <string>

class CCoolBitmap;
class CRect;

// Where a child with that layout block goes in a client area of width x height.
RECT CoolLayoutRect(const CoolLayout& layout, int width, int height);

// Moves every direct child that gives out a captured layout block to its place in the
// parent's client area, without repainting, and invalidates it.
void CoolLayoutChildren(HWND parent);

// The status prompt of an identifier: its string resource, at most 255 characters, cut at
// the first line feed; empty when there is none.
std::string CoolMessageString(UINT id);

// The descendant with the status bar identifier, at any depth, or null.
HWND CoolFindMessageBar(HWND window);

// Shows a status prompt in bar (when there is one), makes id the current prompt and returns
// the previous one.
int CoolShowPrompt(HWND bar, const std::string& prompt, int id, int& last, int& current);

// Takes the parent's source colours and render mode, when the parent answers the scheme
// messages.
void CoolInheritScheme(CoolColors& scheme, HWND parent);

// Makes bitmap a window background of the client's size: a flat fill without gradients, the
// lit gradient at the scheme's light point otherwise. False for an empty client area.
bool CoolPaintWindowBackground(const CoolColors& scheme, CCoolBitmap& bitmap, HDC reference,
                               const CRect& client);

// Makes bitmap a control panel of the client's size: a flat Background fill without
// gradients, else the lit surface from outer to highlight with the light at the centre.
// False for an empty client area.
bool CoolPaintPanel(const CoolColors& scheme, CCoolBitmap& bitmap, HDC reference,
                    const CRect& client, int outerSlot, int highlightSlot);
