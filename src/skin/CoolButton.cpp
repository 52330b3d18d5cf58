#include "CoolButton.h"

#include "ClassQuery.h"
#include "CoolDialog.h"
#include "CoolPaintDC.h"
#include "CoolPropertyPage.h"
#include "Font.h"
#include "FrameworkMessages.h"
#include "HiddenDefault.h"
#include "Pen.h"
#include "WinApp.h"
#include "MessageOrigin.h"

#include <utility>

namespace {

constexpr DWORD kAlignHorizontal = 0x300; // BS_LEFT, BS_RIGHT, BS_CENTER
constexpr DWORD kAlignVertical = 0xC00;   // BS_TOP, BS_BOTTOM, BS_VCENTER

// Raster operations of the two passes that paint a monochrome mask in one colour.
constexpr DWORD kMaskAnd = 0x8800C6;
constexpr DWORD kMaskOr = 0xEE0086;

HINSTANCE ResourceInstance() {
    CWinApp* app = CWinApp::GetApp();
    return app && app->m_hInstance ? app->m_hInstance : ::GetModuleHandleA(nullptr);
}

bool IsTop(DWORD style) {
    return (style & kAlignVertical) == BS_TOP;
}
bool IsBottom(DWORD style) {
    return (style & kAlignVertical) == BS_BOTTOM;
}

} // namespace

CCoolButton::CCoolButton() {
    StoreStyle(0);
}

CCoolButton::~CCoolButton() {
    StopHoverTimer();
}

int CCoolButton::SetBitmaps(const char* normal, const char* pressed, const char* focus,
                            const char* disabled, const char* hot, bool resize) {
    CCoolBitmap* images[] = {&m_normalImage, &m_pressedImage, &m_focusImage, &m_disabledImage,
                             &m_hotImage};
    for (CCoolBitmap* image : images)
        image->DeleteObject();
    if (m_hWnd) Invalidate();

    const HINSTANCE instance = ResourceInstance();
    if (!normal || !m_normalImage.LoadBitmap(instance, normal)) {
        m_normalImage.DeleteObject();
        return 0;
    }
    int result = 1;
    const char* names[] = {pressed, focus, disabled, hot};
    for (int i = 0; i < 4; ++i) {
        if (names[i] && !images[i + 1]->LoadBitmap(instance, names[i])) result = 0;
    }
    if (resize && m_hWnd) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, m_normalImage.Width(), m_normalImage.Height(),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (CCoolBitmap* image : images)
        image->ReleaseHandle();
    return result;
}

int CCoolButton::SetBitmaps(UINT normal, UINT pressed, UINT focus, UINT disabled, UINT hot,
                            bool resize) {
    auto name = [](UINT id) { return id ? MAKEINTRESOURCEA(id) : nullptr; };
    return SetBitmaps(name(normal), name(pressed), name(focus), name(disabled), name(hot), resize);
}

void CCoolButton::OnColorsChanged() {
    m_composed.reset();
    m_background.reset();
    m_downFace.reset();
    m_upFace.reset();
}

LRESULT CCoolButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleSchemeMessage(message, wParam, lParam, &result, Role::ControlWithoutBackground))
        return result;
    switch (message) {
    case WM_PAINT:
        CaptureLayout(m_hWnd);
        if (GetFaceKind() == Face::None) break; // left to the system's own painting
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        if (GetFaceKind() == Face::None) break;
        return 1;
    case WM_MOUSEMOVE:
        OnMouseMove();
        break;
    case WM_TIMER:
        if (wParam != HoverTimerId) break;
        OnHoverTimer();
        return 0;
    case WM_CONTEXTMENU:
        return OnContextMenu(wParam, lParam);
    case WM_LBUTTONDOWN:
        NotifyParent(NotifyPressed);
        break;
    case WM_LBUTTONUP:
        NotifyParent(NotifyReleased);
        break;
    case WM_SETFOCUS:
        m_focused = 1;
        m_hot = 0;
        return DefaultWithoutDrawing(*this, message, wParam, lParam);
    case WM_KILLFOCUS:
        m_focused = 0;
        m_hot = 0;
        return DefaultWithoutDrawing(*this, message, wParam, lParam);
    case WM_SETTEXT:
        // A check box without a caption has a larger indicator: redraw the faces.
        m_upFace.reset();
        m_downFace.reset();
        return DefaultWithoutDrawing(*this, message, wParam, lParam);
    case BM_SETCHECK:
    case BM_SETSTATE:
    case WM_UPDATEUISTATE:
        return DefaultWithoutDrawing(*this, message, wParam, lParam);
    case BM_SETSTYLE:
    case WM_ENABLE:
        OnColorsChanged();
        return DefaultWithoutDrawing(*this, message, wParam, lParam);
    case WM_SIZE:
        OnColorsChanged();
        break;
    case WM_STYLECHANGED:
        // Hiding the window for default processing changes no look.
        if (wParam == static_cast<WPARAM>(GWL_STYLE) && lParam) {
            const auto* change = reinterpret_cast<const STYLESTRUCT*>(lParam);
            if ((change->styleOld ^ change->styleNew) & ~DWORD(WS_VISIBLE)) OnColorsChanged();
        }
        break;
    case WM_DISPLAYCHANGE:
        OnDisplayChange(static_cast<int>(wParam));
        break;
    case WM_DESTROY:
        StopHoverTimer();
        break;
    default:
        break;
    }
    return CButton::WindowProc(message, wParam, lParam);
}

CCoolButton::Face CCoolButton::GetFaceKind() const {
    const DWORD style = GetStyle();
    const bool pushLike = (style & BS_PUSHLIKE) != 0;
    switch (style & 0x0F) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        return Face::Push;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
        return pushLike ? Face::PushLike : Face::Check;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return pushLike ? Face::PushLike : Face::Radio;
    case BS_GROUPBOX:
        return Face::Group;
    default:
        return Face::None;
    }
}

// Asked while painting, of the button's own procedure (ClassQuery.h).
bool CCoolButton::IsDown() const {
    return (AskClassProcedure(m_hWnd, BM_GETSTATE) & BST_PUSHED) != 0 ||
           AskClassProcedure(m_hWnd, BM_GETCHECK) != BST_UNCHECKED;
}

bool CCoolButton::IsSeeThrough() const {
    return (GetStyle() & (BS_FLAT | BS_BITMAP)) != 0 ||
           (HasRenderFlag(RenderAlpha) && GetAlpha() < 255);
}

// --- Paint ------------------------------------------------------------------------------

void CCoolButton::OnPaint() {
    CCoolPaintDC paint(m_hWnd);
    const Face face = GetFaceKind();
    if (HFONT font = ClassFont(m_hWnd)) paint.SelectObject(font);
    if (face == Face::Group) {
        DrawGroupFace(paint);
        return;
    }
    const CRect client = GetClientRect();
    if (client.IsRectEmpty()) return;
    if (!m_composed || m_composed->IsEmpty()) {
        m_composed = std::make_unique<CCoolBitmap>();
        if (!m_composed->CreateCompatibleBitmap(paint, client.Width(), client.Height())) {
            m_composed.reset();
            return;
        }
    }
    if (!m_composed->RestoreHandle()) return;
    Compose(paint, client, face);
    m_composed->ReleaseHandle(true);
}

void CCoolButton::Compose(CCoolDC& screen, const CRect& client, Face face) {
    CCoolDC dc;
    if (!dc.CreateCompatibleDC(screen) || !dc.SelectObject(m_composed->GetSafeHandle())) return;
    if (IsSeeThrough()) {
        if (!m_background) FetchBackground(dc, client);
        if (m_background) m_background->Draw(dc, 0, 0);
    }
    if (HFONT font = ClassFont(m_hWnd)) dc.SelectObject(font);
    switch (face) {
    case Face::Push:
        DrawPushFace(dc);
        break;
    case Face::Check:
        DrawCheckFace(dc);
        break;
    case Face::Radio:
        DrawRadioFace(dc);
        break;
    case Face::PushLike:
        DrawPushLikeFace(dc);
        break;
    default:
        break;
    }
    const RECT& r = screen.m_ps.rcPaint;
    screen.BitBlt(r.left, r.top, r.right - r.left, r.bottom - r.top, dc, r.left, r.top);
    dc.RestoreSelections();
}

bool CCoolButton::AskParentBackground(HWND parent, CCoolBitmap** bitmap, RECT* screenRect) {
    // Our own skinned windows are asked directly; anyone else by message.
    CWnd* window = CWnd::FromHandle(parent);
    CoolColors* skinned = dynamic_cast<CCoolDialog*>(window);
    if (!skinned) skinned = dynamic_cast<CCoolPropertyPage*>(window);
    if (skinned)
        return skinned->GetBackgroundBitmap(bitmap) == 1 && skinned->GetScreenRect(screenRect) == 1;
    return CMessageOrigin::SendOwn(parent, WM_COOL_GETBKBITMAP, 0,
                                   reinterpret_cast<LPARAM>(bitmap)) == 1 &&
           CMessageOrigin::SendOwn(parent, WM_COOL_GETSCREENRECT, 0,
                                   reinterpret_cast<LPARAM>(screenRect)) == 1;
}

void CCoolButton::FetchBackground(HDC reference, const CRect& client) {
    auto copy = std::make_unique<CCoolBitmap>();
    const int width = client.Width(), height = client.Height();
    if (!copy->CreateCompatibleBitmap(reference, width, height)) return;
    {
        CDC dc;
        if (!dc.CreateCompatibleDC(reference) || !dc.SelectObject(copy->GetSafeHandle())) return;
        POINT origin = {0, 0};
        ::ClientToScreen(m_hWnd, &origin);
        CCoolBitmap* parentBackground = nullptr;
        RECT parentScreen = {};
        HWND parent = GetParent();
        if (parent && AskParentBackground(parent, &parentBackground, &parentScreen) &&
            parentBackground && !parentBackground->IsEmpty()) {
            parentBackground->Draw(dc, 0, 0, width, height, origin.x - parentScreen.left,
                                   origin.y - parentScreen.top, width, height);
        } else {
            CDC screen;
            if (screen.GetDC(nullptr)) dc.BitBlt(0, 0, width, height, screen, origin.x, origin.y);
        }
    }
    copy->ReleaseHandle(true);
    m_background = std::move(copy);
}

CCoolBitmap* CCoolButton::GetFace(bool down, HDC reference, const FacePainter& paint) {
    std::unique_ptr<CCoolBitmap>& face = down ? m_downFace : m_upFace;
    if (face && !face->IsEmpty()) return face.get();
    const CRect client = GetClientRect();
    auto bitmap = std::make_unique<CCoolBitmap>();
    if (!bitmap->CreateCompatibleBitmap(reference, client.Width(), client.Height())) return nullptr;
    {
        CCoolDC dc;
        if (!dc.CreateCompatibleDC(reference) || !dc.SelectObject(bitmap->GetSafeHandle()))
            return nullptr;
        if (HFONT font = ClassFont(m_hWnd)) dc.SelectObject(font);
        paint(dc, client);
    }
    bitmap->ReleaseHandle(true);
    face = std::move(bitmap);
    return face.get();
}

void CCoolButton::CopyFace(CCoolDC& dc, CCoolBitmap* face) {
    if (!face) return;
    if (HasRenderFlag(RenderAlpha) && GetAlpha() < 255)
        face->DrawAlpha(dc, GetAlpha(), 0, 0);
    else
        face->Draw(dc, 0, 0);
}

void CCoolButton::FillSurface(CCoolDC& dc, const RECT& rect, COLORREF outer, COLORREF highlight,
                              POINT light) {
    if (HasRenderFlag(RenderGradients))
        dc.FillLit(rect, outer, highlight, &light);
    else
        dc.FillSolidRect(rect, highlight);
}

// --- Push faces -------------------------------------------------------------------------

void CCoolButton::PaintPushUp(CCoolDC& dc, const CRect& client) {
    FillSurface(dc, client, GetColor(Shadow), GetColor(Background), GetLightPoint());
    CRect inner = client;
    inner.DeflateRect(1, 1);
    dc.Draw3dRect(inner, GetColor(Light), GetColor(Shadow));
    dc.Draw3dRect(client, GetColor(Light), GetColor(Shadow));
}

void CCoolButton::PaintPushDown(CCoolDC& dc, const CRect& client) {
    const POINT centre = client.CenterPoint();
    const POINT light = GetLightPoint();
    FillSurface(dc, client, GetColor(Shadow), GetColor(Background),
                POINT{centre.x - light.x, centre.y - light.y});
    CRect inner = client;
    inner.DeflateRect(1, 1);
    dc.Draw3dRect(inner, GetColor(Shadow), GetColor(Light));
    inner.DeflateRect(1, 1);
    dc.Draw3dRect(inner, GetColor(Light), GetColor(Shadow));
    dc.Draw3dRect(client, GetColor(Shadow), GetColor(Light));
}

void CCoolButton::DrawFocusMark(CCoolDC& dc, bool down) {
    const CRect client = GetClientRect();
    if (down)
        dc.Draw3dRect(client, GetColor(Lum), GetColor(LumBright));
    else
        dc.Draw3dRect(client, GetColor(LumBright), GetColor(Lum));
}

void CCoolButton::DrawPushCaption(CCoolDC& dc, const RECT& rect) {
    const DWORD style = GetStyle();
    if (!(style & BS_FLAT) || !(m_hot || m_focused)) {
        DrawCaption(dc, rect, style, nullptr);
        return;
    }
    LOGFONTA lf = {};
    HGDIOBJ current = ::GetCurrentObject(dc, OBJ_FONT);
    CFont underlined;
    if (current && ::GetObjectA(current, sizeof(lf), &lf) == sizeof(lf)) {
        lf.lfUnderline = TRUE;
        underlined.CreateFontIndirect(lf);
    }
    HGDIOBJ previous = underlined.IsNull() ? nullptr : ::SelectObject(dc, underlined);
    DrawCaption(dc, rect, style, nullptr);
    if (previous) ::SelectObject(dc, previous);
}

void CCoolButton::DrawPushFace(CCoolDC& dc) {
    const CRect client = GetClientRect();
    const DWORD style = GetStyle();
    if (!(style & BS_FLAT)) {
        const bool down = IsDown();
        CopyFace(dc, GetFace(down, dc, [this, down](CCoolDC& face, const CRect& r) {
                     if (down)
                         PaintPushDown(face, r);
                     else
                         PaintPushUp(face, r);
                 }));
        if (m_focused) DrawFocusMark(dc, down);
    }
    if (style & BS_BITMAP) DrawImage(dc);
    DrawPushCaption(dc, client);
}

void CCoolButton::DrawPushLikeFace(CCoolDC& dc) {
    const CRect client = GetClientRect();
    const DWORD style = GetStyle();
    if (!(style & BS_FLAT)) {
        const bool down = IsDown();
        CopyFace(dc, GetFace(down, dc, [this, down](CCoolDC& face, const CRect& r) {
                     CRect inner = r;
                     inner.DeflateRect(1, 1);
                     if (!down) {
                         FillSurface(face, r, GetColor(Shadow), GetColor(Background),
                                     GetLightPoint());
                         face.Draw3dRect(r, GetColor(Light), GetColor(Shadow));
                         face.Draw3dRect(inner, GetColor(Light), GetColor(Shadow));
                         return;
                     }
                     FillSurface(face, r, GetColor(Shadow), GetColor(SelLow), r.CenterPoint());
                     face.Draw3dRect(r, GetColor(Shadow), GetColor(Light));
                     face.Draw3dRect(inner, GetColor(Shadow), GetColor(Light));
                     inner.DeflateRect(1, 1);
                     face.Draw3dRect(inner, GetColor(Light), GetColor(Shadow));
                 }));
        if (m_focused) DrawFocusMark(dc, down);
    }
    if (style & BS_BITMAP) DrawImage(dc);
    DrawPushCaption(dc, client);
}

// --- Check and radio faces ----------------------------------------------------------------

CRect CCoolButton::IndicatorRect(CCoolDC& dc, const CRect& client, bool check) const {
    const DWORD style = GetStyle();
    if (check && ClassText(m_hWnd).empty()) {
        CRect whole = client;
        whole.OffsetRect(1, IsTop(style) ? 1 : IsBottom(style) ? -1 : 0);
        return whole;
    }
    const int side = dc.GetTextExtent("X").cy;
    int top = client.top + (client.Height() - side) / 2;
    if (IsTop(style))
        top = client.top + 1;
    else if (IsBottom(style))
        top = client.bottom - side - 1;
    return CRect(client.left + 1, top, client.left + 1 + side, top + side);
}

void CCoolButton::PaintIndicatorFace(CCoolDC& dc, const CRect& client, bool check, bool down) {
    const DWORD style = GetStyle();
    if (style & BS_FLAT) {
        if (m_background)
            m_background->Draw(dc, 0, 0);
        else
            dc.FillSolidRect(client, GetColor(Background));
    } else {
        FillSurface(dc, client, GetColor(Shadow), GetColor(Light), GetLightPoint());
    }
    const bool enabled = IsWindowEnabled();
    const COLORREF outer = GetColor(enabled ? LumDark : Shadow);
    const COLORREF middle = GetColor(enabled ? Lum : Background);
    const COLORREF bright = GetColor(enabled ? LumBright : Light);

    const CRect indicator = IndicatorRect(dc, client, check);
    CRect inside = indicator;
    inside.DeflateRect(1, 1);
    if (down) {
        dc.Draw3dRect(indicator, GetColor(Shadow), GetColor(Light));
        FillSurface(dc, inside, middle, bright, indicator.CenterPoint());
    } else {
        dc.Draw3dRect(indicator, GetColor(Light), GetColor(Shadow));
        FillSurface(dc, inside, outer, middle, indicator.CenterPoint());
    }
    if (!check) return;
    CRect cross = inside;
    cross.DeflateRect(2, 2);
    if (cross.IsRectEmpty()) return;
    CPen pen(PS_SOLID, 2, down ? middle : outer);
    HGDIOBJ previous = ::SelectObject(dc, pen);
    dc.MoveTo(cross.left, cross.top);
    dc.LineTo(cross.right, cross.bottom);
    dc.MoveTo(cross.left, cross.bottom - 1);
    dc.LineTo(cross.right, cross.top - 1);
    ::SelectObject(dc, previous);
}

void CCoolButton::DrawIndicatorFace(CCoolDC& dc, bool check) {
    const CRect client = GetClientRect();
    const DWORD style = GetStyle();
    const bool down = IsDown();
    CopyFace(dc, GetFace(down, dc, [this, check, down](CCoolDC& face, const CRect& r) {
                 PaintIndicatorFace(face, r, check, down);
             }));
    if (style & BS_BITMAP) DrawImage(dc);
    if (m_focused)
        dc.Draw3dRect(client, GetColor(LumBright), GetColor(Lum));
    else if (!(style & BS_FLAT))
        dc.Draw3dRect(client, GetColor(Light), GetColor(Shadow));
    CRect caption = client;
    caption.left = IndicatorRect(dc, client, check).right + 1;
    DrawCaption(dc, caption, style, nullptr);
}

void CCoolButton::DrawRadioFace(CCoolDC& dc) {
    DrawIndicatorFace(dc, false);
}

void CCoolButton::DrawCheckFace(CCoolDC& dc) {
    DrawIndicatorFace(dc, true);
}

// --- Group face ---------------------------------------------------------------------------

void CCoolButton::DrawGroupFace(CCoolDC& dc) {
    const CRect client = GetClientRect();
    const DWORD style = GetStyle();
    dc.Draw3dRect(client, GetColor(Shadow), GetColor(Light));
    if (style & BS_FLAT) {
        CRect inner = client;
        inner.DeflateRect(1, 1);
        dc.Draw3dRect(inner, GetColor(Light), GetColor(Shadow));
    }
    const DWORD top = (style & ~kAlignVertical) | BS_TOP;
    CRect shadowed = client;
    shadowed.OffsetRect(1, 1);
    const COLORREF shadow = GetColor(Shadow);
    DrawCaption(dc, shadowed, top, &shadow);
    DrawCaption(dc, client, top, nullptr);
}

// --- Images and caption -------------------------------------------------------------------

CCoolBitmap* CCoolButton::ChooseStateImage() {
    if (IsDown() && !m_pressedImage.IsEmpty()) return &m_pressedImage;
    if (m_focused && !m_focusImage.IsEmpty()) return &m_focusImage;
    if (!IsWindowEnabled() && !m_disabledImage.IsEmpty()) return &m_disabledImage;
    if (m_hot && !m_hotImage.IsEmpty()) return &m_hotImage;
    return m_normalImage.IsEmpty() ? nullptr : &m_normalImage;
}

void CCoolButton::DrawImage(CCoolDC& dc) {
    // An image given to the system button is borrowed: drawn from its handle as it is.
    if (HBITMAP own = GetBitmap()) {
        DrawBitmapHandle(dc, own);
        return;
    }
    CCoolBitmap* image = ChooseStateImage();
    if (!image || !image->RestoreHandle()) return;
    DrawBitmapHandle(dc, image->GetSafeHandle());
    image->ReleaseHandle();
}

void CCoolButton::DrawBitmapHandle(CCoolDC& dc, HBITMAP bitmap) {
    BITMAP bm = {};
    if (!::GetObjectA(bitmap, sizeof(bm), &bm)) return;
    const CRect client = GetClientRect();
    const int x = client.left + (client.Width() - bm.bmWidth) / 2;
    const int y = client.top + (client.Height() - bm.bmHeight) / 2;
    CDC source;
    if (!source.CreateCompatibleDC(dc) || !source.SelectObject(bitmap)) return;
    if (bm.bmBitsPixel == 1) {
        // A mask: its set bits are painted in the caption colour, the rest stays.
        const COLORREF oldText = dc.SetTextColor(RGB(255, 255, 255));
        const COLORREF oldBack = dc.SetBkColor(RGB(0, 0, 0));
        dc.BitBlt(x, y, bm.bmWidth, bm.bmHeight, source, 0, 0, kMaskAnd);
        dc.SetTextColor(RGB(0, 0, 0));
        dc.SetBkColor(CaptionColor());
        dc.BitBlt(x, y, bm.bmWidth, bm.bmHeight, source, 0, 0, kMaskOr);
        dc.SetTextColor(oldText);
        dc.SetBkColor(oldBack);
    } else {
        dc.TransparentBlt(x, y, bm.bmWidth, bm.bmHeight, source, 0, 0, bm.bmWidth, bm.bmHeight,
                          m_transparentColor);
    }
}

COLORREF CCoolButton::CaptionColor() const {
    if (!IsWindowEnabled()) return GetColor(TextDisabled);
    if (m_hot || m_focused) return GetColor(TextHot);
    return GetColor(Text);
}

void CCoolButton::DrawCaption(CCoolDC& dc, const RECT& rect, DWORD style, const COLORREF* colour) {
    const std::string text = ClassText(m_hWnd);
    if (text.empty()) return;
    CRect r = rect;
    r.DeflateRect(4, 1);

    const Face face = GetFaceKind();
    UINT format = 0;
    switch (style & kAlignHorizontal) {
    case BS_RIGHT:
        format |= DT_RIGHT;
        break;
    case BS_LEFT:
        format |= DT_LEFT;
        break;
    case BS_CENTER:
        format |= DT_CENTER;
        break;
    default:
        if (face == Face::Push || face == Face::PushLike) {
            format |= DT_CENTER;
        } else {
            format |= DT_LEFT;
            if (face == Face::Check && (style & BS_MULTILINE)) r.left += 5;
        }
        break;
    }
    if (!(style & BS_MULTILINE)) {
        format |= DT_SINGLELINE | (IsTop(style)      ? DT_TOP
                                   : IsBottom(style) ? DT_BOTTOM
                                                     : DT_VCENTER);
    } else {
        format |= DT_WORDBREAK;
        if (!IsTop(style)) {
            CRect measured = r;
            dc.DrawText(text, measured, format | DT_CALCRECT);
            const int spare = r.Height() - measured.Height();
            if (IsBottom(style))
                r.top += spare;
            else if (spare > 0)
                r.top += spare / 2;
        }
    }

    const COLORREF color = colour ? *colour : CaptionColor();
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF oldColor = dc.GetSafeHdc() ? ::GetTextColor(dc) : 0;
    auto draw = [&](int dx, int dy, COLORREF c) {
        CRect at = r;
        at.OffsetRect(dx, dy);
        dc.SetTextColor(c);
        dc.DrawText(text, at, format);
    };
    if (HasRenderFlag(RenderEmbossed)) {
        draw(-1, -1, GetColor(Light));
        draw(1, 1, GetColor(Shadow));
    }
    draw(0, 0, color);
    dc.SetTextColor(oldColor);
    dc.SetBkMode(oldMode);
}

// --- Hover, notifications, state --------------------------------------------------------

void CCoolButton::OnMouseMove() {
    if (m_hoverTimer) return;
    m_hoverTimer = SetTimer(HoverTimerId, HoverInterval);
    m_hot = 1;
    InvalidateHover();
    SendStatusPrompt(static_cast<UINT>(GetDlgCtrlID()));
}

void CCoolButton::OnHoverTimer() {
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    if (GetWindowRect().PtInRect(cursor)) return;
    StopHoverTimer();
    m_hot = 0;
    InvalidateHover();
    SendStatusPrompt(0);
}

LRESULT CCoolButton::OnContextMenu(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CButton::WindowProc(WM_CONTEXTMENU, wParam, lParam);
    if (m_hot && m_hWnd) {
        m_hot = 0;
        SendStatusPrompt(0);
        Invalidate();
    }
    return result;
}

void CCoolButton::InvalidateHover() {
    Invalidate();
    // A see-through window shows its parent: that part of the parent is redrawn too.
    if (::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE) & WS_EX_TRANSPARENT) {
        HWND parent = GetParent();
        CRect area = GetWindowRect();
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
        ::InvalidateRect(parent, &area, TRUE);
    }
}

void CCoolButton::StopHoverTimer() {
    if (m_hoverTimer && m_hWnd) KillTimer(HoverTimerId);
    m_hoverTimer = 0;
}

void CCoolButton::NotifyParent(WORD code) {
    if (!(GetStyle() & BS_NOTIFY)) return;
    ::SendMessageA(GetParent(), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), code),
                   reinterpret_cast<LPARAM>(m_hWnd));
}

void CCoolButton::OnDisplayChange(int bitsPerPixel) {
    if (!m_composed || m_composed->IsEmpty() || m_composed->BitsPixel() == bitsPerPixel) return;
    OnColorsChanged();
    Invalidate();
}
