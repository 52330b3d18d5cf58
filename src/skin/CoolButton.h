// The one button class of the skin: push buttons, check boxes, radio buttons, push-like check
// and radio buttons, group boxes and image buttons are the system button with its painting
// replaced. The kind and options come from the ordinary button styles, so templates need no
// change. Adds hover tracking with a status-bar prompt, state images and press/release
// notifications to the parent.
#pragma once

#include "Button.h"
#include "CoolBitmap.h"
#include "CoolColors.h"
#include "CoolDC.h"
#include "CoolPaintDC.h"

#include <functional>
#include <memory>

class CCoolButton : public CButton, public CoolColors {
public:
    // The hover timer checks every 100 ms whether the cursor has left the button.
    enum : UINT { HoverTimerId = 676, HoverInterval = 100 };
    // Notification codes sent to the parent with the notify style, before the system's own
    // processing of the left button.
    enum : WORD { NotifyPressed = 0x0201, NotifyReleased = 0x0202 };

    CCoolButton();
    ~CCoolButton() override;

    // Loads the state images from bitmap resources (null name or identifier 0: none). Every
    // image held before is released first. 0 when the normal image cannot be loaded (then
    // nothing is loaded); otherwise 1, or 0 when one of the other given images failed.
    // resize makes the window as large as the normal image.
    int SetBitmaps(const char* normal, const char* pressed = nullptr, const char* focus = nullptr,
                   const char* disabled = nullptr, const char* hot = nullptr, bool resize = false);
    int SetBitmaps(UINT normal, UINT pressed = 0, UINT focus = 0, UINT disabled = 0, UINT hot = 0,
                   bool resize = false);

    // The window style; the scheme's style variant is CoolColors::GetStyle.
    using CButton::GetStyle;

    bool IsFocused() const { return m_focused != 0; }
    bool IsHot() const { return m_hot != 0; }

    void OnColorsChanged() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Drawing, each onto the composed image (the group box onto the screen). The faces and the
    // caption are in CoolButtonFaces.cpp.
    virtual void DrawImage(CCoolDC& dc);
    virtual void DrawPushFace(CCoolDC& dc);
    virtual void DrawRadioFace(CCoolDC& dc);
    virtual void DrawCheckFace(CCoolDC& dc);
    virtual void DrawPushLikeFace(CCoolDC& dc);
    virtual void DrawGroupFace(CCoolDC& dc);
    // The window text in rect, placed by the alignment bits of style; colour null means the
    // colour of the current state.
    virtual void DrawCaption(CCoolDC& dc, const RECT& rect, DWORD style, const COLORREF* colour);

protected:
    using FacePainter = std::function<void(CCoolDC& dc, const CRect& client)>;

    // Pushed (button state) or checked.
    bool IsDown() const;
    bool IsSeeThrough() const;
    // The cached up or down face, drawn by paint the first time it is needed.
    CCoolBitmap* GetFace(bool down, HDC reference, const FacePainter& paint);
    // Copies a face onto the composed image: blended while the alpha render flag is set with
    // an alpha below 255, copied otherwise.
    void CopyFace(CCoolDC& dc, CCoolBitmap* face);
    // A lit surface, or a flat fill of the highlight while gradients are off.
    void FillSurface(CCoolDC& dc, const RECT& rect, COLORREF outer, COLORREF highlight,
                     POINT light);
    void PaintPushUp(CCoolDC& dc, const CRect& client);
    void PaintPushDown(CCoolDC& dc, const CRect& client);
    void DrawFocusMark(CCoolDC& dc, bool down);
    // The caption of push faces: underlined while a flat button is hot or focused.
    void DrawPushCaption(CCoolDC& dc, const RECT& rect);
    COLORREF CaptionColor() const;

    COLORREF m_transparentColor = RGB(255, 0, 255);
    CCoolBitmap m_normalImage;
    CCoolBitmap m_pressedImage;
    CCoolBitmap m_focusImage;
    CCoolBitmap m_disabledImage;
    CCoolBitmap m_hotImage;
    int m_focused = 0;
    int m_hot = 0;
    UINT_PTR m_hoverTimer = 0;
    std::unique_ptr<CCoolBitmap> m_composed;
    std::unique_ptr<CCoolBitmap> m_downFace;
    std::unique_ptr<CCoolBitmap> m_upFace;
    std::unique_ptr<CCoolBitmap> m_background;

private:
    enum class Face { None, Push, Check, Radio, PushLike, Group };
    Face GetFaceKind() const;

    void OnPaint();
    void Compose(CCoolPaintDC& screen, Face face);
    void DrawIndicatorFace(CCoolDC& dc, bool check);
    void PaintIndicatorFace(CCoolDC& dc, const CRect& client, bool check, bool down);
    CRect IndicatorRect(CCoolDC& dc, const CRect& client, bool check) const;
    void DrawBitmapHandle(CCoolDC& dc, HBITMAP bitmap);
    CCoolBitmap* ChooseStateImage();

    void OnMouseMove();
    void OnHoverTimer();
    LRESULT OnContextMenu(WPARAM wParam, LPARAM lParam);
    void OnDisplayChange(int bitsPerPixel);
    void NotifyParent(WORD code);
    void InvalidateHover();
    void StopHoverTimer();
};
