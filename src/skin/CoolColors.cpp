#include "CoolColors.h"

#include "MessageOrigin.h"

#include <algorithm>

namespace {

// Factors of the derived slots: {derived slot, factor}, in the order they are computed.
struct Derived {
    int slot;
    float factor;
};
constexpr Derived kFromBackground[] = {{CoolColors::Shadow, 0.5f}, {CoolColors::Light, 1.7f}};
constexpr Derived kFromLum[] = {
    {CoolColors::LumDark, 0.5f}, {CoolColors::LumLight, 1.5f}, {CoolColors::LumBright, 3.0f}};
constexpr Derived kFromText[] = {{CoolColors::TextDisabled, 0.5f}, {CoolColors::TextHot, 2.0f}};

template <size_t N> void Derive(COLORREF* colors, COLORREF source, const Derived (&table)[N]) {
    for (const Derived& d : table)
        colors[d.slot] = CoolColors::Shade(source, d.factor);
}

} // namespace

CoolColors::CoolColors()
    : m_flags(RenderGradients | RenderDeriveShades),
      m_layout{static_cast<int32_t>(LayoutNotCaptured | 0x33), -1, -1, -1, -1, -1, -1}, m_colors{},
      m_alpha(255), m_lightPoint{0, 0} {
    // The built-in look of a window no parent has reached yet.
    SetColor(Background, 0x594437);
    SetColor(Text, 0x6BB6FA);
    SetColor(Lum, 0xB47800);
    SetColor(SelLow, 0x0000FF);
    SetColor(SelHigh, 0x00FF00);
}

CoolColors::~CoolColors() = default;

void CoolColors::SetColor(int slot, COLORREF color) {
    if (slot >= 0 && slot < SlotCount) {
        m_colors[slot] = color;
        if (HasRenderFlag(RenderDeriveShades)) {
            switch (slot) {
            case Background:
                Derive(m_colors, color, kFromBackground);
                break;
            case Lum:
                Derive(m_colors, color, kFromLum);
                break;
            case Text:
                Derive(m_colors, color, kFromText);
                break;
            default:
                break;
            }
        }
    }
    OnColorsChanged();
}

void CoolColors::SetRenderMode(unsigned mode) {
    m_flags = (m_flags & ~static_cast<uint32_t>(RenderModeMask)) | (mode & RenderModeMask);
    OnColorsChanged();
}

int CoolColors::SetStyle(unsigned) {
    return 0;
}

int CoolColors::GetBackgroundBitmap(CCoolBitmap** out) {
    if (out) *out = nullptr;
    return 0;
}

int CoolColors::GetScreenRect(RECT*) {
    return 0;
}

void CoolColors::OnColorsChanged() {}

void CoolColors::GetColor(int slot, COLORREF* out) const {
    if (out && slot >= 0 && slot < SlotCount) *out = m_colors[slot];
}

COLORREF CoolColors::GetColor(int slot) const {
    return slot >= 0 && slot < SlotCount ? m_colors[slot] : 0;
}

void CoolColors::GetRenderMode(unsigned* out) const {
    if (out) *out = GetRenderMode();
}

void CoolColors::SetLightPoint(POINT point) {
    m_lightPoint = point;
    OnColorsChanged();
}

void CoolColors::SetSystemColors() {
    const uint32_t derive = m_flags & RenderDeriveShades;
    m_flags &= ~static_cast<uint32_t>(RenderDeriveShades);
    const COLORREF caption = ::GetSysColor(COLOR_ACTIVECAPTION);
    SetColor(Background, ::GetSysColor(COLOR_BTNFACE));
    SetColor(Shadow, ::GetSysColor(COLOR_BTNSHADOW));
    SetColor(Light, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    SetColor(Text, ::GetSysColor(COLOR_BTNTEXT));
    SetColor(TextDisabled, ::GetSysColor(COLOR_GRAYTEXT));
    SetColor(TextHot, ::GetSysColor(COLOR_HIGHLIGHTTEXT));
    SetColor(LumBright, Shade(caption, 6.0f));
    SetColor(LumLight, Shade(caption, 3.0f));
    SetColor(LumDark, Shade(caption, 0.75f));
    SetColor(Lum, Shade(caption, 1.5f));
    m_flags |= derive;
    OnColorsChanged();
}

COLORREF CoolColors::Shade(COLORREF color, float factor) {
    int channel[3] = {GetRValue(color), GetGValue(color), GetBValue(color)};
    int overflow = 0;
    for (int& v : channel) {
        v = std::max(0, static_cast<int>(static_cast<float>(v) * factor + 0.5f));
        overflow += std::max(v - 255, 0);
    }
    for (int& v : channel)
        v = std::min(v + overflow / 3, 255);
    return static_cast<COLORREF>(channel[0] | channel[1] << 8 | channel[2] << 16);
}

bool CoolColors::CaptureLayout(HWND window) {
    if (m_layout.anchor >= 0 || !::IsWindow(window)) return false;
    RECT own = {};
    ::GetWindowRect(window, &own);
    HWND parent = ::GetParent(window);
    RECT client = {};
    if (parent) {
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&own), 2);
        ::GetClientRect(parent, &client);
    } else {
        // A top-level window is placed on the screen.
        ::GetClientRect(::GetDesktopWindow(), &client);
    }
    m_layout.anchor &= ~static_cast<int32_t>(LayoutNotCaptured);
    m_layout.leftMargin = own.left;
    m_layout.rightMargin = client.right - own.right;
    m_layout.topMargin = own.top;
    m_layout.bottomMargin = client.bottom - own.bottom;
    m_layout.width = own.right - own.left;
    m_layout.height = own.bottom - own.top;
    return true;
}

bool CoolColors::HandleSchemeMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result,
                                     Role role) {
    LRESULT answer = 0;
    if (IsForeignPointer(message, wParam, lParam)) {
        if (result) *result = 0;
        return true;
    }
    switch (message) {
    case WM_COOL_SETCOLOR:
        SetColor(static_cast<int>(wParam), static_cast<COLORREF>(lParam));
        answer = 1;
        break;
    case WM_COOL_GETCOLOR:
        GetColor(static_cast<int>(wParam), reinterpret_cast<COLORREF*>(lParam));
        answer = 1;
        break;
    case WM_COOL_SETLIGHTPOINT:
        // Without a point there is nothing to record.
        if (lParam) {
            SetLightPoint(*reinterpret_cast<const POINT*>(lParam));
            answer = 1;
        }
        break;
    case WM_COOL_SETRENDERMODE:
        SetRenderMode(static_cast<unsigned>(lParam));
        answer = 1;
        break;
    case WM_COOL_GETRENDERMODE:
        GetRenderMode(reinterpret_cast<unsigned*>(lParam));
        answer = 1;
        break;
    case WM_COOL_GETBKBITMAP:
        if (role == Role::ControlWithoutBackground) return false;
        answer = GetBackgroundBitmap(reinterpret_cast<CCoolBitmap**>(lParam));
        break;
    case WM_COOL_GETSCREENRECT:
        if (role == Role::ControlWithoutBackground) return false;
        answer = GetScreenRect(reinterpret_cast<RECT*>(lParam));
        break;
    case WM_COOL_GETLAYOUT:
        if (role == Role::Window || role == Role::ControlWithoutLayout) return false;
        if (lParam) {
            *reinterpret_cast<CoolLayout*>(lParam) = m_layout;
            answer = 1;
        }
        break;
    default:
        return false;
    }
    if (result) *result = answer;
    return true;
}

bool CoolColors::CarriesPointer(UINT message) {
    return message == WM_COOL_GETCOLOR || message == WM_COOL_SETLIGHTPOINT ||
           message == WM_COOL_GETRENDERMODE || message == WM_COOL_GETBKBITMAP ||
           message == WM_COOL_GETSCREENRECT || message == WM_COOL_GETLAYOUT;
}

bool CoolColors::IsForeignPointer(UINT message, WPARAM wParam, LPARAM lParam) {
    // A pointer from another thread or process, or a posted one, is not ours to follow.
    return CarriesPointer(message) && !CMessageOrigin::IsOwnThread(message, wParam, lParam);
}

bool CoolColors::IsSchemeChange(UINT message) {
    return message == WM_COOL_SETCOLOR || message == WM_COOL_SETLIGHTPOINT ||
           message == WM_COOL_SETRENDERMODE;
}

int CoolColors::ChangeStyle(unsigned variant, unsigned largest) {
    if (variant == GetStyle()) return 1;
    if (variant > largest || variant > kStyleMask) return 0;
    StoreStyle(variant);
    OnColorsChanged();
    return 1;
}

void CoolColors::StoreStyle(unsigned variant) {
    m_flags = (m_flags & ~(kStyleMask << kStyleShift)) | ((variant & kStyleMask) << kStyleShift);
}
