#include "CoolListCtrl.h"

#include "CoolBitmap.h"
#include "CoolScheme.h"
#include "CoolPaintDC.h"

CCoolListCtrl::CCoolListCtrl() {
    StoreStyle(1);
}

CCoolListCtrl::~CCoolListCtrl() = default;

void CCoolListCtrl::OnColorsChanged() {
    m_background.reset();
    m_content.reset();
    m_contentDirty = true;
    m_listColorsSet = false;
}

LRESULT CCoolListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleSchemeMessage(message, wParam, lParam, &result)) {
        if (message == WM_COOL_SETCOLOR) Invalidate(true);
        return result;
    }
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        m_focused = message == WM_SETFOCUS;
        Invalidate(false);
        break;
    case WM_KEYDOWN:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_MOUSEWHEEL: {
        // The items may have moved: redraw everything on a clean content image.
        result = CListCtrl::WindowProc(message, wParam, lParam);
        m_contentDirty = true;
        Invalidate(true);
        return result;
    }
    default:
        break;
    }
    return CListCtrl::WindowProc(message, wParam, lParam);
}

bool CCoolListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_NOTIFY && lParam) {
        const UINT code = reinterpret_cast<const NMHDR*>(lParam)->code;
        if (code == LVN_DELETEITEM || code == LVN_DELETEALLITEMS) m_contentDirty = true;
    }
    // The owner still sees every notification.
    return CListCtrl::OnChildNotify(message, wParam, lParam, result);
}

void CCoolListCtrl::OnPaint() {
    CCoolPaintDC paint(m_hWnd);
    CaptureLayout(m_hWnd);
    const CRect client = GetClientRect();
    if (client.IsRectEmpty()) return;
    const int width = client.Width(), height = client.Height();

    if (!m_listColorsSet) {
        SetBkColor(kKeyColor);
        SetTextBkColor(kKeyColor);
        SetTextColor(GetColor(LumBright));
        m_listColorsSet = true;
    }
    const COLORREF key = static_cast<COLORREF>(SendMessage(LVM_GETBKCOLOR));

    if (!m_background || m_background->IsEmpty()) {
        m_background = std::make_unique<CCoolBitmap>();
        if (!CoolPaintPanel(*this, *m_background, paint, client, LumDark, Lum)) return;
    }
    if (!m_content || m_content->IsEmpty() || m_content->Width() != width ||
        m_content->Height() != height) {
        m_content = std::make_unique<CCoolBitmap>();
        if (!m_content->CreateCompatibleBitmap(paint, width, height)) return;
        m_contentDirty = true;
    }
    if (!m_content->RestoreHandle()) return;

    {
        CCoolMemoryDC content(paint);
        CScopedSelection contentImage(content, *m_content);
        if (m_contentDirty) {
            content.FillSolidRect(client, key);
            m_contentDirty = false;
        }
        const int saved = ::SaveDC(content);
        DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(content.GetSafeHdc()), 0);
        ::RestoreDC(content, saved);

        CCoolBitmap composed;
        CCoolMemoryDC memory(paint);
        if (!composed.CreateCompatibleBitmap(paint, width, height)) return;
        CScopedSelection composedImage(memory, composed);
        m_background->Draw(memory, 0, 0, width, height, 0, 0, m_background->Width(),
                           m_background->Height());
        const COLORREF frame = GetColor(m_focused ? SelLow : LumDark);
        memory.Draw3dRect(client, frame, frame);
        memory.TransparentBlt(0, 0, width, height, content, 0, 0, width, height, key);

        // The header (report view) paints itself.
        for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (!::IsWindowVisible(child)) continue;
            CRect r;
            ::GetWindowRect(child, &r);
            ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
            ::ExcludeClipRect(paint, r.left, r.top, r.right, r.bottom);
        }
        const RECT& dirty = paint.GetPaintRect();
        paint.BitBlt(dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top,
                     memory, dirty.left, dirty.top);
    }
    m_content->ReleaseHandle(true);
}
