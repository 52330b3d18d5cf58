#include "CoolButton.h"

#include "FastPath.h"
#include "CoolPaintDC.h"
#include "FrameworkMessages.h"
#include "HiddenDefault.h"
#include "ParentBackground.h"
#include "WinApp.h"

#include <utility>

namespace {

// Raster operations of the two passes that paint a monochrome mask in one colour.
constexpr DWORD kMaskAnd = 0x8800C6;
constexpr DWORD kMaskOr = 0xEE0086;

HINSTANCE ResourceInstance() {
    CWinApp* app = CWinApp::GetApp();
    return app && app->m_hInstance ? app->m_hInstance : ::GetModuleHandleA(nullptr);
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

// Asked while painting, of the button's own procedure (FastPath.h).
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
    CScopedSelection font(paint, ClassFont(m_hWnd));
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
    Compose(paint, face);
    m_composed->ReleaseHandle(true);
}

void CCoolButton::Compose(CCoolPaintDC& screen, Face face) {
    CCoolMemoryDC dc(screen);
    CScopedSelection image(dc, m_composed->GetSafeHandle());
    if (!dc || !image) return;
    if (IsSeeThrough()) {
        if (!m_background) {
            m_background = std::make_unique<CCoolBitmap>();
            if (!CopyParentBackground(m_hWnd, dc, *m_background)) m_background.reset();
        }
        if (m_background) m_background->Draw(dc, 0, 0);
    }
    CScopedSelection font(dc, ClassFont(m_hWnd));
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
    const RECT& r = screen.GetPaintRect();
    screen.BitBlt(r.left, r.top, r.right - r.left, r.bottom - r.top, dc, r.left, r.top);
}

CCoolBitmap* CCoolButton::GetFace(bool down, HDC reference, const FacePainter& paint) {
    std::unique_ptr<CCoolBitmap>& face = down ? m_downFace : m_upFace;
    if (face && !face->IsEmpty()) return face.get();
    const CRect client = GetClientRect();
    auto bitmap = std::make_unique<CCoolBitmap>();
    if (!bitmap->CreateCompatibleBitmap(reference, client.Width(), client.Height())) return nullptr;
    {
        CCoolMemoryDC dc(reference);
        CScopedSelection image(dc, bitmap->GetSafeHandle());
        if (!dc || !image) return nullptr;
        CScopedSelection font(dc, ClassFont(m_hWnd));
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

// --- Images -----------------------------------------------------------------------------

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
    CMemoryDC source(dc);
    CScopedSelection sourceImage(source, bitmap);
    if (!source || !sourceImage) return;
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
