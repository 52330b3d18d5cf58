#include "PropertySheet.h"

#include "FastPath.h"
#include "PropertyPage.h"
#include "WinApp.h"

#include <algorithm>

namespace {
// The sheet PropertySheet is creating on this thread, until its window is bound.
thread_local CPropertySheet* t_creating = nullptr;
thread_local HHOOK t_hook = nullptr;

// Modeless sheets with a window, for the message loop's check for closed ones.
std::vector<CPropertySheet*>& ModelessSheets() {
    static std::vector<CPropertySheet*> sheets;
    return sheets;
}

void Unregister(CPropertySheet* sheet) {
    auto& sheets = ModelessSheets();
    sheets.erase(std::remove(sheets.begin(), sheets.end(), sheet), sheets.end());
}

bool IsDialogClass(HWND window) {
    char name[16] = {};
    return ::GetClassNameA(window, name, sizeof(name)) > 0 && lstrcmpA(name, "#32770") == 0;
}

// Replaces the window style bits (the high word) and the extended style of a sheet template,
// keeping its dialog style bits.
void ApplyStyle(void* dialogTemplate, DWORD style, DWORD exStyle) {
    auto* words = static_cast<WORD*>(dialogTemplate);
    DWORD* styleField;
    DWORD* exStyleField;
    if (words[1] == 0xFFFF) { // extended template: version, signature, help id, ex style, style
        exStyleField = reinterpret_cast<DWORD*>(words + 4);
        styleField = reinterpret_cast<DWORD*>(words + 6);
    } else {
        styleField = reinterpret_cast<DWORD*>(words);
        exStyleField = reinterpret_cast<DWORD*>(words + 2);
    }
    DWORD dialogBits = *styleField & 0xFFFF;
    // A minimise or maximise box and the help button exclude each other.
    if (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) dialogBits &= ~DWORD(DS_CONTEXTHELP);
    *styleField = (style & 0xFFFF0000) | dialogBits;
    *exStyleField = exStyle;
}
} // namespace

CPropertySheet::CPropertySheet(const std::string& caption, HWND parent, UINT startPage) {
    Construct(caption, parent, startPage);
}

CPropertySheet::~CPropertySheet() {
    Unregister(this);
    for (auto& entry : m_pages)
        if (entry.page) entry.page->m_sheet = nullptr;
    // The window goes before the page templates it may still read.
    if (m_hWnd && OwnsWindow()) {
        HWND window = m_hWnd;
        UnbindHandle();
        ::DestroyWindow(window);
    }
}

void CPropertySheet::Construct(const std::string& caption, HWND parent, UINT startPage) {
    m_caption = caption;
    m_parent = parent;
    m_startPage = startPage;
}

void CPropertySheet::AddPage(CPropertyPage* page) {
    if (!page || page->m_sheet) return;
    PageEntry entry{page, nullptr};
    PROPSHEETPAGEA record = page->Describe(&entry.memoryTemplate);
    if (m_hWnd) {
        HPROPSHEETPAGE handle = ::CreatePropertySheetPageA(&record);
        if (!handle) return;
        if (!SendMessage(PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(handle))) {
            ::DestroyPropertySheetPage(handle);
            return;
        }
    }
    page->m_sheet = this;
    m_pages.push_back(std::move(entry));
}

void CPropertySheet::ForgetPage(CPropertyPage* page) {
    for (auto& entry : m_pages)
        if (entry.page == page) entry.page = nullptr;
}

CPropertyPage* CPropertySheet::GetPage(int index) const {
    if (index < 0 || index >= GetPageCount()) return nullptr;
    return m_pages[static_cast<size_t>(index)].page;
}

int CPropertySheet::GetPageIndex(const CPropertyPage* page) const {
    for (size_t i = 0; i < m_pages.size(); ++i)
        if (page && m_pages[i].page == page) return static_cast<int>(i);
    return -1;
}

int CPropertySheet::GetActiveIndex() const {
    if (!m_hWnd) return static_cast<int>(m_startPage);
    HWND tab = GetTabControl();
    return tab ? static_cast<int>(::SendMessageA(tab, TCM_GETCURSEL, 0, 0)) : -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const {
    if (!m_hWnd) return GetPage(static_cast<int>(m_startPage));
    return dynamic_cast<CPropertyPage*>(
        FromHandle(reinterpret_cast<HWND>(SendMessage(PSM_GETCURRENTPAGEHWND))));
}

bool CPropertySheet::SetActivePage(int index) {
    if (index < 0 || index >= GetPageCount()) return false;
    if (!m_hWnd) {
        m_startPage = static_cast<UINT>(index);
        return true;
    }
    return SendMessage(PSM_SETCURSEL, static_cast<WPARAM>(index)) != 0;
}

bool CPropertySheet::Create(HWND parent, DWORD style, DWORD exStyle) {
    if (m_hWnd) return false;
    m_createStyle = style;
    m_createExStyle = exStyle;
    Launch(true, parent ? parent : m_parent);
    if (!m_hWnd) return false;
    ModelessSheets().push_back(this);
    return true;
}

INT_PTR CPropertySheet::DoModal() {
    if (m_hWnd) return -1;
    m_createStyle = static_cast<DWORD>(-1);
    return Launch(false, m_parent);
}

INT_PTR CPropertySheet::Launch(bool modeless, HWND parent) {
    m_modeless = modeless;
    std::vector<PROPSHEETPAGEA> records;
    for (auto& entry : m_pages) {
        if (!entry.page) continue;
        records.push_back(entry.page->Describe(&entry.memoryTemplate));
    }
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof(header);
    header.dwFlags = m_flags | PSH_PROPSHEETPAGE | PSH_USECALLBACK | (modeless ? PSH_MODELESS : 0);
    header.hwndParent = parent;
    header.hInstance = GetResourceInstance();
    header.pszCaption = m_caption.c_str();
    header.nPages = static_cast<UINT>(records.size());
    header.nStartPage = std::min<UINT>(m_startPage, records.empty() ? 0 : UINT(records.size() - 1));
    header.ppsp = records.data();
    header.pfnCallback = &CPropertySheet::SheetCallback;

    CPropertySheet* outer = t_creating;
    HHOOK outerHook = t_hook;
    t_creating = this;
    t_hook =
        ::SetWindowsHookExA(WH_CBT, &CPropertySheet::CreationHook, nullptr, ::GetCurrentThreadId());
    const INT_PTR result = ::PropertySheetA(&header);
    if (t_hook) ::UnhookWindowsHookEx(t_hook);
    t_hook = outerHook;
    t_creating = outer;
    if (modeless && result && !m_hWnd) {
        // Made but not bound: no object would answer for it.
        ::DestroyWindow(reinterpret_cast<HWND>(result));
        return 0;
    }
    return result;
}

LRESULT CALLBACK CPropertySheet::CreationHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_creating && !t_creating->m_hWnd) {
        HWND window = reinterpret_cast<HWND>(wParam);
        auto* create = reinterpret_cast<const CBT_CREATEWNDA*>(lParam);
        const bool child = create && create->lpcs && (create->lpcs->style & WS_CHILD);
        if (!child && IsDialogClass(window)) {
            CPropertySheet* sheet = t_creating;
            t_creating = nullptr;
            try {
                sheet->BindBySubclass(window, sheet->m_modeless);
            } catch (...) {
                // Left unbound: Create and DoModal find the sheet without its window.
            }
            // The sheet was all the hook was for. Every window made from here on (the pages
            // and their controls) would pass through it, and a hook call is not cheap.
            const HHOOK hook = t_hook;
            t_hook = nullptr;
            const LRESULT next = ::CallNextHookEx(nullptr, code, wParam, lParam);
            if (hook) ::UnhookWindowsHookEx(hook);
            return next;
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

int CALLBACK CPropertySheet::SheetCallback(HWND window, UINT message, LPARAM lParam) {
    CPropertySheet* sheet = t_creating;
    if (message == PSCB_PRECREATE && sheet && lParam && sheet->m_modeless &&
        sheet->m_createStyle != static_cast<DWORD>(-1))
        ApplyStyle(reinterpret_cast<void*>(lParam), sheet->m_createStyle, sheet->m_createExStyle);
    if (message == PSCB_INITIALIZED && sheet && !sheet->m_hWnd && window) {
        // The creation hook missed the window: bind it now, late but before the pages.
        t_creating = nullptr;
        try {
            sheet->BindBySubclass(window, sheet->m_modeless);
        } catch (...) {
        }
    }
    return 0;
}

BOOL CPropertySheet::OnInitDialog() {
    return static_cast<BOOL>(DefWindowProc(WM_INITDIALOG, m_initWParam, m_initLParam));
}

LRESULT CPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        m_initWParam = wParam;
        m_initLParam = lParam;
        return OnInitDialog();
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

bool CPropertySheet::PreTranslateMessage(MSG* msg) {
    if (!m_modeless || !m_hWnd) return false;
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return false;
    if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd)) return false;
    return SendMessage(PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(msg)) != 0;
}

void CPropertySheet::EndDialog(int result) {
    if (!m_hWnd) return;
    if (m_modeless) {
        DestroyWindow();
        return;
    }
    PressButton(result == IDOK ? PSBTN_OK : PSBTN_CANCEL);
}

void CPropertySheet::DestroyClosedSheets() {
    const std::vector<CPropertySheet*> sheets = ModelessSheets();
    for (CPropertySheet* sheet : sheets) {
        if (std::find(ModelessSheets().begin(), ModelessSheets().end(), sheet) ==
            ModelessSheets().end())
            continue; // went while an earlier one was destroyed
        if (!sheet->m_hWnd) {
            Unregister(sheet);
            continue;
        }
        // Asked after every message: past the sheet's subclass chain, which answers nothing
        // here and would cost more than the question.
        if (!AskClassProcedure(sheet->m_hWnd, PSM_GETCURRENTPAGEHWND)) {
            Unregister(sheet);
            sheet->DestroyWindow();
        }
    }
}
