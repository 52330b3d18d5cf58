#include "CoolPropertyPage.h"

#include "CoolBitmap.h"
#include "CoolPropertySheet.h"
#include "CoolScheme.h"
#include "SchemePropagation.h"

namespace {
CCoolPropertySheet* CoolSheetOf(HWND page) {
    return dynamic_cast<CCoolPropertySheet*>(CWnd::FromHandle(::GetParent(page)));
}
} // namespace

CCoolPropertyPage::CCoolPropertyPage(UINT templateId, const std::string& title)
    : CPropertyPage(templateId, title), CoolContainer(*this, BackgroundSource::Parents) {}

CCoolPropertyPage::CCoolPropertyPage(const CDialogTemplate& dialogTemplate,
                                     const std::string& title)
    : CPropertyPage(dialogTemplate, title), CoolContainer(*this, BackgroundSource::Parents) {}

CCoolPropertyPage::~CCoolPropertyPage() = default;

void CCoolPropertyPage::Propagate() {
    if (m_hWnd) PassSchemeToChildren(m_hWnd, *this);
}

BOOL CCoolPropertyPage::OnInitDialog() {
    const BOOL result = CPropertyPage::OnInitDialog();
    HWND parent = GetParent();
    CoolInheritScheme(*this, parent);
    TakeSheetLightPoint();
    // The first page of a sheet being made gets the sheet's scheme, and hands it on, after
    // the sheet's own initialisation.
    const CCoolPropertySheet* sheet = CoolSheetOf(m_hWnd);
    if (!sheet || !sheet->IsMakingFirstPage()) Propagate();
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
    if (HandleContainerMessage(message, wParam, lParam, &result)) return result;
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
    CCoolBitmap* background = nullptr;
    RECT parentScreen = {};
    if (!GetBackgroundBitmap(&background) || !background || !GetScreenRect(&parentScreen))
        return FALSE;
    // The parent's client origin in page coordinates: the page shows what lies under it.
    POINT origin = {parentScreen.left, parentScreen.top};
    ::ScreenToClient(m_hWnd, &origin);
    background->Draw(dc, origin.x, origin.y);
    return TRUE;
}

void CCoolPropertyPage::OnPaint() {
    // The background is drawn on erasing; a paint only validates.
    const CPaintDC paint(m_hWnd);
}
