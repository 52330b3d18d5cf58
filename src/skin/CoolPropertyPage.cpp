#include "CoolPropertyPage.h"

#include "CoolBitmap.h"
#include "CoolPropertySheet.h"
#include "CoolScheme.h"
#include "SchemePropagation.h"
#include "MessageOrigin.h"

namespace {
CCoolPropertySheet* CoolSheetOf(HWND page) {
    return dynamic_cast<CCoolPropertySheet*>(CWnd::FromHandle(::GetParent(page)));
}
} // namespace

CCoolPropertyPage::CCoolPropertyPage(UINT templateId, const std::string& title)
    : CPropertyPage(templateId, title) {}

CCoolPropertyPage::CCoolPropertyPage(const CDialogTemplate& dialogTemplate,
                                     const std::string& title)
    : CPropertyPage(dialogTemplate, title) {}

CCoolPropertyPage::~CCoolPropertyPage() = default;

int CCoolPropertyPage::GetBackgroundBitmap(CCoolBitmap** out) {
    HWND parent = m_hWnd ? GetParent() : nullptr;
    if (!out || !parent) return 0;
    if (CCoolPropertySheet* sheet = CoolSheetOf(m_hWnd)) return sheet->GetBackgroundBitmap(out);
    return static_cast<int>(
        CMessageOrigin::SendOwn(parent, WM_COOL_GETBKBITMAP, 0, reinterpret_cast<LPARAM>(out)));
}

int CCoolPropertyPage::GetScreenRect(RECT* out) {
    HWND parent = m_hWnd ? GetParent() : nullptr;
    if (!out || !parent) return 0;
    if (CCoolPropertySheet* sheet = CoolSheetOf(m_hWnd)) return sheet->GetScreenRect(out);
    return static_cast<int>(
        CMessageOrigin::SendOwn(parent, WM_COOL_GETSCREENRECT, 0, reinterpret_cast<LPARAM>(out)));
}

void CCoolPropertyPage::Propagate() {
    if (m_hWnd) PassSchemeToChildren(m_hWnd, *this);
}

BOOL CCoolPropertyPage::OnInitDialog() {
    const BOOL result = CPropertyPage::OnInitDialog();
    HWND parent = GetParent();
    CoolInheritScheme(*this, parent);
    TakeSheetLightPoint();
    Propagate();
    m_initialised = true;
    return result;
}

void CCoolPropertyPage::TakeSheetLightPoint() {
    if (CCoolPropertySheet* sheet = CoolSheetOf(m_hWnd)) {
        POINT light = sheet->GetLightPoint();
        ::MapWindowPoints(sheet->m_hWnd, m_hWnd, &light, 1);
        SetLightPoint(light);
    }
}

void CCoolPropertyPage::OnMove() {
    // The sheet moves its pages when its tabs take another number of rows (the labels of
    // another language): the light point and the controls' copies of the sheet's background
    // belong to the old place.
    if (!m_initialised) return;
    TakeSheetLightPoint();
    Propagate();
}

LRESULT CCoolPropertyPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleSchemeMessage(message, wParam, lParam, &result, Role::Window)) {
        if (!IsSchemeChange(message) || IsForeignPointer(message, wParam, lParam)) return result;
        if (!SchemeHandOverContinues(m_hWnd)) Propagate();
        Invalidate(true);
        return 1;
    }
    switch (message) {
    case WM_ERASEBKGND:
        if (OnEraseBkgnd(reinterpret_cast<HDC>(wParam))) return TRUE;
        break;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_MOVE:
        OnMove();
        break;
    default:
        break;
    }
    return CPropertyPage::WindowProc(message, wParam, lParam);
}

BOOL CCoolPropertyPage::OnEraseBkgnd(HDC dc) {
    CCoolPropertySheet* sheet = CoolSheetOf(m_hWnd);
    CCoolBitmap* background = nullptr;
    if (!sheet || !sheet->GetBackgroundBitmap(&background) || !background) return FALSE;
    // The sheet's client origin in page coordinates: the page shows what lies under it.
    POINT origin = {0, 0};
    ::MapWindowPoints(sheet->m_hWnd, m_hWnd, &origin, 1);
    background->Draw(dc, origin.x, origin.y);
    return TRUE;
}

void CCoolPropertyPage::OnPaint() {
    PAINTSTRUCT ps;
    ::BeginPaint(m_hWnd, &ps);
    ::EndPaint(m_hWnd, &ps);
}
