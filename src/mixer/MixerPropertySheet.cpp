#include "MixerPropertySheet.h"

#include "Mixer.h"

#include <algorithm>
#include <cctype>

namespace {
constexpr UINT kApplyId = 0x3021;

std::string Upper(const char* text) {
    std::string s = text ? text : "";
    for (char& c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}
} // namespace

CMixerPropertySheet::CMixerPropertySheet() = default;

CMixerPropertySheet::~CMixerPropertySheet() {
    // The window goes before the pages it shows.
    if (m_hWnd) DestroyWindow();
}

void CMixerPropertySheet::Construct(const std::string& caption, CMixer* mixer, HWND parent,
                                    UINT startPage) {
    CPropertySheet::Construct(caption, parent, startPage);
    m_mixer = mixer;
    CreatePages();
}

int CMixerPropertySheet::CreatePages() {
    if (!m_mixer) return 0;
    for (int i = 0; i < m_mixer->GetDestinationCount(); ++i) {
        MIXERLINEA* line = nullptr;
        if (!m_mixer->GetDestinationLine(i, &line) || !line) return 0;
        const std::string name = Upper(line->szName);
        if (name.find("RECORD") != std::string::npos) {
            m_recordDestination = i;
            m_recordFound = true;
        } else if (name.find("VOLUME") != std::string::npos ||
                   name.find("PLAYBACK") != std::string::npos) {
            m_playbackDestination = i;
            m_playbackFound = true;
        }
    }
    if (m_playbackFound) {
        m_playbackPage = std::make_unique<CMixerPropertyPage>();
        m_playbackPage->SetDestination(m_mixer, m_playbackDestination);
        AddPage(m_playbackPage.get());
    }
    if (m_recordFound) {
        m_recordPage = std::make_unique<CMixerPropertyPage>();
        m_recordPage->SetDestination(m_mixer, m_recordDestination);
        AddPage(m_recordPage.get());
    }
    return 1;
}

BOOL CMixerPropertySheet::OnInitDialog() {
    const BOOL result = CCoolPropertySheet::OnInitDialog();

    int width = 0, height = 0;
    for (int i = 0; i < GetPageCount(); ++i) {
        if (auto* page = dynamic_cast<CCoolPropertyPage*>(GetPage(i))) {
            width = std::max(width, page->GetPageWidth());
            height = std::max(height, page->GetPageHeight());
        }
    }
    if (width > 0 && height > 0) {
        const UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
        HWND tab = GetTabControl();
        ::SetWindowPos(tab, nullptr, 0, 0, width, height + 40, flags);
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, width + 10, height + 60, flags);
        ::InvalidateRect(tab, nullptr, TRUE);
        Invalidate();
        if (CPropertyPage* first = GetPage(0))
            if (first->m_hWnd) first->Invalidate();
    }

    if (!IsModeless()) {
        ::SetWindowLongPtrA(m_hWnd, GWL_STYLE,
                            ::GetWindowLongPtrA(m_hWnd, GWL_STYLE) | WS_MINIMIZEBOX);
        if (HMENU menu = ::GetSystemMenu(m_hWnd, FALSE)) {
            ::AppendMenuA(menu, MF_STRING, SC_MINIMIZE, "Minimize");
            ::SetMenuDefaultItem(menu, SC_MINIMIZE, FALSE);
        }
    }

    HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IconId));
    SendMessage(WM_SETICON, ICON_BIG, LPARAM(icon));

    for (UINT id : {UINT(IDCANCEL), kApplyId, UINT(IDOK), UINT(IDHELP)})
        if (HWND button = GetDlgItem(int(id))) ::DestroyWindow(button);

    CRect r = GetWindowRect();
    const int grow = IsModeless() ? 20 : -20;
    const int w = r.Width(), h = r.Height() + grow;
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    // Centred at the full height, then shortened in the same move: one resize, not two.
    ::SetWindowPos(m_hWnd, nullptr, x, y, w, h - HeightTrim(), SWP_NOZORDER | SWP_NOACTIVATE);
    // The sheet handed its scheme down already; the pages that exist bring their controls up
    // to date for the new size.
    for (int i = 0; i < GetPageCount(); ++i)
        if (auto* page = dynamic_cast<CCoolPropertyPage*>(GetPage(i)))
            if (page->m_hWnd) page->Propagate();
    Invalidate();
    return result;
}
