// Colours the control tests give their host, chosen so that every layer is told apart by its
// pixels: a grey background, a red luminous channel, a blue-to-green level bar, grey text.
#pragma once

#include "CoolColors.h"

#include <cstdlib>

constexpr COLORREF kHostBackground = RGB(0x40, 0x40, 0x40);
constexpr COLORREF kLum = RGB(0xC0, 0, 0);
constexpr COLORREF kSelLow = RGB(0, 0, 0xFF);
constexpr COLORREF kSelHigh = RGB(0, 0xFF, 0);
constexpr COLORREF kText = RGB(0xB9, 0xB9, 0xB9);

inline void UseTestColors(CoolColors& scheme, unsigned renderMode = 9) {
    scheme.SetRenderMode(renderMode | CoolColors::RenderDeriveShades);
    scheme.SetColor(CoolColors::Background, kHostBackground);
    scheme.SetColor(CoolColors::Lum, kLum);
    scheme.SetColor(CoolColors::Text, kText);
    scheme.SetColor(CoolColors::SelLow, kSelLow);
    scheme.SetColor(CoolColors::SelHigh, kSelHigh);
}

// A pixel of the level bar (somewhere between SelLow and SelHigh), not of the red channel.
inline bool IsBar(COLORREF c) {
    return GetRValue(c) < 40 && GetGValue(c) + GetBValue(c) > 200;
}
