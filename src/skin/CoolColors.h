// The colour scheme every skinned window and control carries (as its second base class):
// twelve colours, a render mode with a style variant, the layout block, a constant alpha and
// a light point. Parents pass their scheme down to children with the scheme messages below;
// HandleSchemeMessage answers them for any skinned class.
#pragma once

#include "Platform.h"

#include <cstdint>

class CCoolBitmap;

// Scheme messages (fixed numbers; a window that does not answer them returns 0).
constexpr UINT WM_COOL_SETCOLOR = 0x500;      // wParam slot, lParam COLORREF
constexpr UINT WM_COOL_GETCOLOR = 0x501;      // wParam slot, lParam COLORREF*
constexpr UINT WM_COOL_SETLIGHTPOINT = 0x502; // lParam POINT* in the receiver's client coordinates
constexpr UINT WM_COOL_SETRENDERMODE = 0x504; // lParam mode
constexpr UINT WM_COOL_GETRENDERMODE = 0x505; // lParam unsigned*
constexpr UINT WM_COOL_GETBKBITMAP = 0x50E;   // lParam CCoolBitmap**
constexpr UINT WM_COOL_GETSCREENRECT = 0x50F; // lParam RECT*
constexpr UINT WM_COOL_GETLAYOUT = 0x511;     // lParam CoolLayout* (controls only)

// Where a control sits in its parent: exchanged as one 28-byte record.
struct CoolLayout {
    int32_t anchor; // CoolColors::Anchor* bits; negative while not captured
    int32_t leftMargin;
    int32_t rightMargin;
    int32_t topMargin;
    int32_t bottomMargin;
    int32_t width;
    int32_t height;
};
static_assert(sizeof(CoolLayout) == 28, "the layout block is exchanged as 28 bytes");

class CoolColors {
public:
    // Colour slots. 0, 4, 8, 10 and 11 are set from outside; the others derive from them.
    enum Slot {
        Background = 0,
        Light = 1,
        Shadow = 2,
        LumDark = 3,
        Lum = 4,
        LumLight = 5,
        LumBright = 6,
        TextHot = 7,
        Text = 8,
        TextDisabled = 9,
        SelHigh = 10,
        SelLow = 11,
        SlotCount = 12
    };

    // Render-mode bits (five bits are kept).
    enum : unsigned {
        RenderGradients = 1,
        RenderAlpha = 2,
        RenderEmbossed = 4,
        RenderDeriveShades = 8,
        RenderKept = 16,
        RenderModeMask = 0x1F
    };

    // Anchor flags of the layout block.
    enum : uint32_t {
        AnchorLeft = 1,
        AnchorTop = 2,
        AnchorRight = 4,
        AnchorBottom = 8,
        FixedHeight = 0x10,
        FixedWidth = 0x20,
        LayoutNotCaptured = 0x80000000u
    };

    // Which messages the owner answers. Controls give out their layout block and answer the
    // background questions with their scheme operations; buttons and sliders leave the
    // background questions (0x50E, 0x50F) to default handling; the status bar and the windows
    // (dialog, sheet, page) give out no layout block.
    enum class Role { Control, Window, ControlWithoutBackground, ControlWithoutLayout };

    CoolColors();
    CoolColors(const CoolColors&) = default;
    CoolColors& operator=(const CoolColors&) = default;

    // Virtual operations, in this order.
    virtual ~CoolColors();
    // Stores the colour (slots 0-11), recomputes derived slots when derive-shades is on,
    // then OnColorsChanged (even for a slot out of range).
    virtual void SetColor(int slot, COLORREF color);
    // Replaces the five render-mode bits; the style variant stays.
    virtual void SetRenderMode(unsigned mode);
    // Chooses a look for controls that have more than one; the scheme itself has none.
    virtual int SetStyle(unsigned variant);
    // The cached background that see-through children copy from; none here.
    virtual int GetBackgroundBitmap(CCoolBitmap** out);
    // The client rectangle in screen coordinates; none here.
    virtual int GetScreenRect(RECT* out);
    // Every change ends here; skinned classes drop their cached images.
    virtual void OnColorsChanged();

    void GetColor(int slot, COLORREF* out) const;
    COLORREF GetColor(int slot) const; // 0 for a slot out of range
    void GetRenderMode(unsigned* out) const;
    unsigned GetRenderMode() const { return m_flags & RenderModeMask; }
    bool HasRenderFlag(unsigned bit) const { return (GetRenderMode() & bit) != 0; }
    unsigned GetStyle() const { return (m_flags >> kStyleShift) & kStyleMask; }
    void SetLightPoint(POINT point);
    POINT GetLightPoint() const { return m_lightPoint; }
    BYTE GetAlpha() const { return m_alpha; }
    // Constant alpha of cached images; a plain setting, no repaint involved.
    void SetAlpha(BYTE alpha) { m_alpha = alpha; }
    const CoolLayout& GetLayout() const { return m_layout; }

    // The operating system's colours (the "- Windows -" look); slots 10 and 11 stay.
    void SetSystemColors();

    // Scales a colour; what goes past white bleeds into the other channels.
    static COLORREF Shade(COLORREF color, float factor);

    // Captures the layout block the first time (while the top bit of the anchor flags is
    // set): margins to the parent's client edges and the own size. False when it was
    // captured before or the window is not there.
    bool CaptureLayout(HWND window);

    // Answers a scheme message. A skinned class's WindowProc calls this first and returns
    // *result when it yields true. A window class then passes the change on to its children
    // when IsSchemeChange(message) and not IsForeignPointer(...).
    bool HandleSchemeMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result,
                             Role role = Role::Control);
    // The messages that change the scheme (set colour, light point, render mode).
    static bool IsSchemeChange(UINT message);
    // The messages whose lParam points at what is read or written. HandleSchemeMessage answers
    // them with 0, doing nothing, unless this thread's own code sent them.
    static bool CarriesPointer(UINT message);
    // Such a message not sent by this thread's own code: answered with 0, nothing done, and a
    // window passes nothing on for it.
    static bool IsForeignPointer(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // The overriding classes' SetStyle: 1 without change for the current variant, 0 above
    // the largest, otherwise store, OnColorsChanged and 1.
    int ChangeStyle(unsigned variant, unsigned largest);
    // Sets the variant without notification (constructors).
    void StoreStyle(unsigned variant);

    static constexpr unsigned kStyleShift = 5;
    static constexpr unsigned kStyleMask = 3;

    uint32_t m_flags;
    CoolLayout m_layout;
    COLORREF m_colors[SlotCount];
    BYTE m_alpha;
    POINT m_lightPoint;
};
