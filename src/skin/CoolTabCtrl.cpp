#include "CoolTabCtrl.h"

#include "FastPath.h"
#include "CoolPropertyPage.h"
#include "CoolPropertySheet.h"

#include <algorithm>

namespace {
constexpr UINT kTabTextFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr int kTabTextLength = 64;
} // namespace

CCoolTabCtrl::CCoolTabCtrl() = default;

CCoolTabCtrl::~CCoolTabCtrl() {
    OnColorsChanged();
}

void CCoolTabCtrl::DisableTab(int index, bool disable) {
    const auto value = static_cast<uint32_t>(index);
    auto it = std::find(m_disabledTabs.begin(), m_disabledTabs.end(), value);
    if (disable && it == m_disabledTabs.end()) m_disabledTabs.push_back(value);
    if (!disable && it != m_disabledTabs.end()) m_disabledTabs.erase(it);
    if (m_hWnd) Invalidate(false);
}

bool CCoolTabCtrl::IsTabDisabled(int index) const {
    return std::find(m_disabledTabs.begin(), m_disabledTabs.end(), static_cast<uint32_t>(index)) !=
           m_disabledTabs.end();
}

void CCoolTabCtrl::OnColorsChanged() {
    m_canvas.reset();
}

LRESULT CCoolTabCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleSchemeMessage(message, wParam, lParam, &result)) return result;
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint covers the whole client area
    case WM_MOVE:
    case WM_SIZE:
        OnColorsChanged();
        break;
    default:
        break;
    }
    return CTabCtrl::WindowProc(message, wParam, lParam);
}

bool CCoolTabCtrl::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
    if (message != WM_NOTIFY || !lParam) return false;
    if (reinterpret_cast<const NMHDR*>(lParam)->code != static_cast<UINT>(TCN_SELCHANGING))
        return false;
    *result = AllowSelectionChange() ? FALSE : TRUE;
    return true;
}

bool CCoolTabCtrl::AllowSelectionChange() {
    const DWORD position = ::GetMessagePos();
    TCHITTESTINFO hit = {};
    hit.pt = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    ::ScreenToClient(m_hWnd, &hit.pt);
    const int tab = static_cast<int>(SendMessage(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (tab < 0 || IsTabDisabled(tab)) return false;

    auto* sheet = dynamic_cast<CCoolPropertySheet*>(CWnd::FromHandle(GetParent()));
    if (!sheet) return true;
    CPropertyPage* active = sheet->GetActivePage();
    if (active && active->m_hWnd) {
        NMHDR header = {};
        header.hwndFrom = sheet->m_hWnd;
        header.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(sheet->m_hWnd));
        header.code = static_cast<UINT>(PSN_KILLACTIVE);
        return active->SendMessage(WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header)) ==
               0;
    }
    sheet->SetActivePage(GetCurSel());
    return false;
}

// The paint's questions go to the tab control's own procedure (FastPath.h).
std::vector<CCoolTabCtrl::Tab> CCoolTabCtrl::ReadTabs() const {
    std::vector<Tab> tabs;
    const int count = static_cast<int>(AskClassProcedure(m_hWnd, TCM_GETITEMCOUNT));
    const int selected = static_cast<int>(AskClassProcedure(m_hWnd, TCM_GETCURSEL));
    for (int i = 0; i < count; ++i) {
        char text[kTabTextLength + 1] = {};
        TCITEMA item = {};
        item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
        item.pszText = text;
        item.cchTextMax = kTabTextLength;
        AskClassProcedure(m_hWnd, TCM_GETITEMA, static_cast<WPARAM>(i),
                          reinterpret_cast<LPARAM>(&item));
        Tab tab;
        AskClassProcedure(m_hWnd, TCM_GETITEMRECT, static_cast<WPARAM>(i),
                          reinterpret_cast<LPARAM>(&tab.rect));
        tab.text = text;
        tab.selected = i == selected;
        tab.disabled = IsTabDisabled(i);
        tabs.push_back(tab);
    }
    return tabs;
}

CRect CCoolTabCtrl::PageArea(const CRect& client) const {
    CRect area = client;
    area.DeflateRect(1, 1);
    CRect tab;
    if (AskClassProcedure(m_hWnd, TCM_GETITEMCOUNT) > 0 &&
        AskClassProcedure(m_hWnd, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab)) &&
        !(GetStyle() & TCS_BOTTOM))
        area.top = std::max(area.top, tab.bottom + 1);
    return area;
}

void CCoolTabCtrl::DrawTabText(CCoolDC& dc, const Tab& tab, COLORREF colour, bool embossed) {
    if (tab.disabled) return;
    dc.SetBkMode(TRANSPARENT);
    if (embossed) {
        CRect r = tab.rect;
        r.OffsetRect(-1, -1);
        dc.SetTextColor(GetColor(Shadow));
        dc.DrawText(tab.text, r, kTabTextFormat);
        r.OffsetRect(2, 2);
        dc.SetTextColor(GetColor(Light));
        dc.DrawText(tab.text, r, kTabTextFormat);
    }
    CRect r = tab.rect;
    dc.SetTextColor(colour);
    dc.DrawText(tab.text, r, kTabTextFormat);
}

void CCoolTabCtrl::DrawButtonTabs(CCoolDC& dc, const CRect& client) {
    const bool gradients = HasRenderFlag(RenderGradients);
    for (const Tab& tab : ReadTabs()) {
        if (gradients) {
            POINT light = m_lightPoint;
            dc.FillLit(tab.rect, GetColor(Shadow), GetColor(Light), &light);
        } else {
            dc.FillSolidRect(tab.rect, GetColor(Background));
        }
        if (tab.selected) {
            dc.Draw3dRect(tab.rect, GetColor(Shadow), GetColor(Light));
            dc.Draw3dRect(PageArea(client), GetColor(Shadow), GetColor(Light));
        } else {
            dc.Draw3dRect(tab.rect, GetColor(Light), GetColor(Shadow));
        }
        DrawTabText(dc, tab, GetColor(tab.selected ? Text : TextDisabled),
                    HasRenderFlag(RenderEmbossed));
    }
}

void CCoolTabCtrl::DrawOrdinaryTabs(CCoolDC& dc, const CRect& client) {
    dc.Draw3dRect(client, GetColor(Light), GetColor(Shadow));
    for (const Tab& tab : ReadTabs()) {
        CRect inner = tab.rect;
        inner.DeflateRect(1, 1);
        if (tab.selected) {
            if (HasRenderFlag(RenderGradients)) {
                POINT centre = tab.rect.CenterPoint();
                dc.FillLit(tab.rect, GetColor(LumDark), GetColor(Lum), &centre);
            } else {
                dc.FillSolidRect(tab.rect, GetColor(Lum));
            }
            dc.Draw3dRect(tab.rect, GetColor(Shadow), GetColor(Light));
            dc.Draw3dRect(inner, GetColor(Shadow), GetColor(Light));
            dc.Draw3dRect(PageArea(client), GetColor(Shadow), GetColor(Light));
        } else {
            dc.FillSolidRect(tab.rect, GetColor(LumDark));
            dc.Draw3dRect(tab.rect, GetColor(Light), GetColor(Shadow));
            dc.Draw3dRect(inner, GetColor(Shadow), GetColor(Light));
        }
        DrawTabText(dc, tab, GetColor(tab.selected ? LumBright : Lum), false);
    }
}

void CCoolTabCtrl::OnPaint() {
    CaptureLayout(m_hWnd);
    CPaintDC paint(m_hWnd);
    if (!paint) return;
    const CRect client = GetClientRect();
    if (!m_canvas) {
        OnColorsChanged();
        auto canvas = std::make_unique<Canvas>(paint);
        if (!canvas->dc ||
            !canvas->bitmap.CreateCompatibleBitmap(paint, client.Width(), client.Height()))
            return;
        canvas->image.emplace(canvas->dc, canvas->bitmap);
        canvas->font.emplace(canvas->dc, ::GetStockObject(ANSI_VAR_FONT));
        m_canvas = std::move(canvas);
    }
    CCoolDC& dc = m_canvas->dc;
    // The background goes under every paint: a selected tab is larger than the others, so
    // what it covered before must not stay behind once another tab is selected.
    if (HasRenderFlag(RenderGradients)) {
        POINT light = m_lightPoint;
        dc.FillLit(client, GetColor(Shadow), GetColor(Light), &light);
    } else {
        dc.FillSolidRect(client, GetColor(Background));
    }
    if (GetStyle() & TCS_BUTTONS)
        DrawButtonTabs(dc, client);
    else
        DrawOrdinaryTabs(dc, client);
    paint.BitBlt(0, 0, client.Width(), client.Height(), dc, 0, 0);
}
