#include "CoolEdit.h"

#include "CoolBitmap.h"
#include "CoolScheme.h"
#include "CoolPaintDC.h"
#include "FrameworkMessages.h"
#include "HiddenDefault.h"

namespace {

bool SameSize(const CCoolBitmap* bitmap, const CRect& r) {
    return bitmap && !bitmap->IsEmpty() && bitmap->Width() == r.Width() &&
           bitmap->Height() == r.Height();
}

void FillSolid(HDC dc, const RECT& r, COLORREF color) {
    const COLORREF old = ::SetBkColor(dc, color);
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

void Frame(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    FillSolid(dc, RECT{r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    FillSolid(dc, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    FillSolid(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
    FillSolid(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
}

} // namespace

CCoolEdit::CCoolEdit() : m_keyBrush(kKeyColor) {
    StoreStyle(1);
}

CCoolEdit::~CCoolEdit() = default;

int CCoolEdit::SetStyle(unsigned variant) {
    return ChangeStyle(variant, 1);
}

void CCoolEdit::OnColorsChanged() {
    m_background.reset();
    m_textImage.reset();
}

LRESULT CCoolEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleSchemeMessage(message, wParam, lParam, &result)) return result;
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_NCPAINT:
        OnNcPaint(reinterpret_cast<HRGN>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        return OnFocus(message, wParam, lParam);
    case WM_MOUSEMOVE:
        OnMouseMove(wParam, lParam);
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_COMMAND:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_CAPTURECHANGED:
        return DefaultWithoutDrawing(*this, message, wParam, lParam);
    default:
        break;
    }
    return CEdit::WindowProc(message, wParam, lParam);
}

bool CCoolEdit::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message != WM_CTLCOLOREDIT && message != WM_CTLCOLORSTATIC)
        return CEdit::OnChildNotify(message, wParam, lParam, result);
    // Read-only (and disabled) edits ask as statics.
    HDC dc = reinterpret_cast<HDC>(wParam);
    ::SetTextColor(dc, GetColor(message == WM_CTLCOLORSTATIC ? Lum : LumBright));
    ::SetBkColor(dc, kKeyColor);
    ::SetBkMode(dc, TRANSPARENT);
    if (result) *result = reinterpret_cast<LRESULT>(static_cast<HBRUSH>(m_keyBrush));
    return true;
}

LRESULT CCoolEdit::OnFocus(UINT message, WPARAM wParam, LPARAM lParam) {
    m_focused = message == WM_SETFOCUS;
    m_hot = false;
    return DefaultWithoutDrawing(*this, message, wParam, lParam);
}

void CCoolEdit::OnMouseMove(WPARAM keys, LPARAM position) {
    if (keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) return;
    const POINT point = {static_cast<short>(LOWORD(position)),
                         static_cast<short>(HIWORD(position))};
    if (GetClientRect().PtInRect(point)) {
        if (::GetCapture() != m_hWnd) ::SetCapture(m_hWnd);
        if (!m_hot) {
            m_hot = true;
            Invalidate(false);
            SendStatusPrompt(static_cast<UINT>(GetDlgCtrlID()));
        }
    } else {
        if (::GetCapture() == m_hWnd) ::ReleaseCapture();
        if (m_hot) {
            m_hot = false;
            Invalidate(true);
            SendStatusPrompt(0);
        }
    }
}

void CCoolEdit::OnNcPaint(HRGN region) {
    // The system draws the scroll bars; the border is ours.
    if (CWnd::GetStyle() & (WS_HSCROLL | WS_VSCROLL))
        CEdit::WindowProc(WM_NCPAINT, reinterpret_cast<WPARAM>(region), 0);
    DrawBorder();
}

void CCoolEdit::DrawBorder() {
    CWindowDC dc(m_hWnd, DCArea::WholeWindow);
    if (!dc) return;
    CRect window = GetWindowRect();
    CRect client = GetClientRect();
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    client.OffsetRect(-window.left, -window.top);
    window.OffsetRect(-window.left, -window.top);
    if (window != client) {
        const int saved = ::SaveDC(dc);
        ::ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
        if (!(CWnd::GetStyle() & (WS_HSCROLL | WS_VSCROLL)))
            FillSolid(dc, window, GetColor(Background));
        Frame(dc, window, GetColor(Light), GetColor(Shadow));
        ::RestoreDC(dc, saved);
    }
}

void CCoolEdit::OnPaint() {
    CCoolPaintDC paint(m_hWnd);
    CaptureLayout(m_hWnd);
    const CRect client = GetClientRect();
    if (client.IsRectEmpty()) return;
    const int width = client.Width(), height = client.Height();

    if (!SameSize(m_background.get(), client)) {
        m_background = std::make_unique<CCoolBitmap>();
        if (!CoolPaintPanel(*this, *m_background, paint, client, LumDark, Lum)) return;
    }
    if (!SameSize(m_textImage.get(), client)) {
        m_textImage = std::make_unique<CCoolBitmap>();
        if (!m_textImage->CreateCompatibleBitmap(paint, width, height)) return;
    }
    if (!m_textImage->RestoreHandle()) return;

    {
        // The system's own drawing of the text, on the key colour.
        CCoolMemoryDC text(paint);
        CScopedSelection textImage(text, *m_textImage);
        text.FillSolidRect(client, kKeyColor);
        const int saved = ::SaveDC(text);
        DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(text.GetSafeHdc()), 0);
        ::RestoreDC(text, saved);

        CCoolBitmap composed;
        CCoolMemoryDC memory(paint);
        if (!composed.CreateCompatibleBitmap(paint, width, height)) return;
        CScopedSelection composedImage(memory, composed);
        m_background->Draw(memory, 0, 0);
        if (m_focused) memory.Draw3dRect(client, GetColor(Lum), GetColor(Lum));
        memory.TransparentBlt(0, 0, width, height, text, 0, 0, width, height, kKeyColor);

        const RECT& dirty = paint.GetPaintRect();
        paint.BitBlt(dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top,
                     memory, dirty.left, dirty.top);
    }
    m_textImage->ReleaseHandle(true);
    // The border follows the colours too (it was first drawn before the skin took over).
    DrawBorder();
}
