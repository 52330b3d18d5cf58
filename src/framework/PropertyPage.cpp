#include "PropertyPage.h"

#include "DialogTemplate.h"
#include "PropertySheet.h"
#include "WinApp.h"

#include <unordered_set>

namespace {
// Pages alive now: the sheet creates a page's window late, so a page object may be gone when
// its window is made; such a window stays without an object.
std::unordered_set<const CPropertyPage*>& LivePages() {
    static std::unordered_set<const CPropertyPage*> pages;
    return pages;
}

std::shared_ptr<const std::vector<WORD>> CopyTemplate(const CDialogTemplate& t) {
    const WORD* words = reinterpret_cast<const WORD*>(t.Get());
    return std::make_shared<const std::vector<WORD>>(words, words + t.Size() / sizeof(WORD));
}
} // namespace

CPropertyPage::CPropertyPage(UINT templateId, const std::string& title)
    : m_templateId(templateId), m_title(title) {
    LivePages().insert(this);
}

CPropertyPage::CPropertyPage(const CDialogTemplate& dialogTemplate, const std::string& title)
    : m_memoryTemplate(CopyTemplate(dialogTemplate)), m_title(title) {
    LivePages().insert(this);
}

CPropertyPage::~CPropertyPage() {
    LivePages().erase(this);
    if (m_sheet) m_sheet->ForgetPage(this);
}

void CPropertyPage::SetTemplate(UINT templateId) {
    m_templateId = templateId;
    m_memoryTemplate.reset();
}

void CPropertyPage::SetTemplate(const CDialogTemplate& dialogTemplate) {
    m_memoryTemplate = CopyTemplate(dialogTemplate);
}

void CPropertyPage::SetModified(bool changed) {
    HWND sheet = GetParent();
    if (!m_hWnd || !sheet) return;
    ::SendMessageA(sheet, changed ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd),
                   0);
}

PROPSHEETPAGEA CPropertyPage::Describe(std::shared_ptr<const std::vector<WORD>>* holder) const {
    PROPSHEETPAGEA page = {};
    page.dwSize = sizeof(page);
    page.hInstance = GetResourceInstance();
    if (m_memoryTemplate) {
        page.dwFlags |= PSP_DLGINDIRECT;
        page.pResource = reinterpret_cast<const DLGTEMPLATE*>(m_memoryTemplate->data());
        *holder = m_memoryTemplate;
    } else {
        page.pszTemplate = MAKEINTRESOURCEA(m_templateId);
    }
    if (!m_title.empty()) {
        page.dwFlags |= PSP_USETITLE;
        page.pszTitle = m_title.c_str();
    }
    page.pfnDlgProc = &CPropertyPage::PageProc;
    page.lParam = reinterpret_cast<LPARAM>(this);
    return page;
}

LRESULT CPropertyPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY && lParam) {
        const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.hwndFrom == GetParent()) return OnSheetNotify(header);
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

LRESULT CPropertyPage::OnSheetNotify(const NMHDR& header) {
    LRESULT result;
    switch (header.code) {
    case PSN_SETACTIVE:
        result = OnSetActive() ? 0 : -1;
        break;
    case PSN_KILLACTIVE:
        result = OnKillActive() ? FALSE : TRUE;
        break;
    case PSN_APPLY:
        result = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        break;
    case PSN_RESET:
        OnReset();
        result = 0;
        break;
    case PSN_QUERYCANCEL:
        result = OnQueryCancel() ? FALSE : TRUE;
        break;
    default:
        return DefWindowProc(WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    }
    // The result is the window procedure's return value; it is left in DWLP_MSGRESULT as well
    // for a sheet that reads it from there.
    ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
    return result;
}

INT_PTR CALLBACK CPropertyPage::PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_INITDIALOG || FromHandle(window) || !lParam) return FALSE;
    try {
        auto* page =
            reinterpret_cast<CPropertyPage*>(reinterpret_cast<PROPSHEETPAGEA*>(lParam)->lParam);
        if (!LivePages().count(page)) return TRUE;
        return BindAtInitDialog(page, window, false, wParam, lParam);
    } catch (...) {
        return TRUE; // nothing may unwind into comctl32: the page runs without its object
    }
}
