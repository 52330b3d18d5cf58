#include "CoolPropertySheet.h"

#include "CoolPropertyPage.h"
#include "CoolScheme.h"
#include "SchemePropagation.h"
#include "FrameworkMessages.h"
#include "UniqueHandle.h"
#include "WinApp.h"
#include "MessageOrigin.h"

#include <cstring>

namespace {
constexpr UINT kTabControlId = 0x3020;
constexpr UINT kApplyId = 0x3021;
constexpr UINT kBackId = 0x3023;
constexpr UINT kNextId = 0x3024;
constexpr UINT kFinishId = 0x3025;
constexpr UINT kHelpId = 9;
constexpr DWORD kWizardFlags = 0x20 | 0x1000000; // PSH_WIZARD, PSH_WIZARD97
// The tip of the notification icon holds 64 characters with its terminator.
constexpr size_t kTipLength = 63;
// Make topmost (or not) without moving or sizing, and show.
constexpr UINT kTopmostFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW;
} // namespace

CCoolPropertySheet::CCoolPropertySheet() : CoolContainer(*this, BackgroundSource::Own) {}

CCoolPropertySheet::CCoolPropertySheet(const std::string& caption, HWND parent, UINT startPage)
    : CPropertySheet(caption, parent, startPage), CoolContainer(*this, BackgroundSource::Own) {}

CCoolPropertySheet::~CCoolPropertySheet() {
    if (m_trayIcon) m_trayRecord.Remove();
}

void CCoolPropertySheet::Propagate() {
    if (!m_hWnd) return;
    for (int i = 0; i < GetPageCount(); ++i) {
        auto* page = dynamic_cast<CCoolPropertyPage*>(GetPage(i));
        if (!page) continue;
        for (int slot = 0; slot < SlotCount; ++slot)
            page->SetColor(slot, GetColor(slot));
        if (page->m_hWnd) {
            POINT light = GetLightPoint();
            ::MapWindowPoints(m_hWnd, page->m_hWnd, &light, 1);
            page->SetLightPoint(light);
            if (!m_pagesLater) page->Propagate();
        }
        page->SetRenderMode(GetRenderMode());
        if (page->m_hWnd) page->Invalidate(true);
    }
    PassSchemeToChildren(m_hWnd, *this);
}

BOOL CCoolPropertySheet::OnInitDialog() {
    const bool wizard = (GetSheetFlags() & kWizardFlags) != 0;
    if (!wizard) m_tabCtrl.SubclassDlgItem(kTabControlId, m_hWnd);
    m_makingFirstPage = true;
    const BOOL result = CPropertySheet::OnInitDialog();
    m_makingFirstPage = false;
    if (SkinsStandardButtons()) {
        ReplaceButton(IDCANCEL, m_cancelButton);
        ReplaceButton(kApplyId, m_applyButton);
        ReplaceButton(IDOK, m_okButton);
        ReplaceButton(kHelpId, m_helpButton);
    }
    if (wizard && SkinsStandardButtons()) {
        ReplaceButton(kNextId, m_nextButton);
        ReplaceButton(kBackId, m_backButton);
        ReplaceButton(kFinishId, m_finishButton);
    }
    m_pagesLater = PropagatesPagesAfterInit();
    Propagate();
    m_pagesLater = false;
    if (m_trayIcon) AddTrayIcon();
    return result;
}

void CCoolPropertySheet::ReplaceButton(UINT id, CCoolButton& button) {
    HWND old = GetDlgItem(static_cast<int>(id));
    if (!old || button.m_hWnd) return;
    RECT rect = {};
    ::GetWindowRect(old, &rect);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    char text[256] = {};
    ::GetWindowTextA(old, text, sizeof(text));
    const auto style = static_cast<DWORD>(::GetWindowLongPtrA(old, GWL_STYLE));
    const bool enabled = ::IsWindowEnabled(old) != FALSE;
    // Keep the old button's place in the tab order.
    HWND before = ::GetWindow(old, GW_HWNDPREV);
    ::DestroyWindow(old);
    // Hidden at first; tab stop and group as before.
    const DWORD keep = style & (WS_TABSTOP | WS_GROUP | 0xFF);
    if (!button.Create(text, WS_CHILD | keep, rect, m_hWnd, id)) return;
    ::SetWindowPos(button.m_hWnd, before ? before : HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    button.SendMessage(WM_SETFONT, static_cast<WPARAM>(SendMessage(WM_GETFONT)), FALSE);
    button.EnableWindow(enabled);
    // A button the sheet keeps hidden (Help without help, Apply with no apply) stays hidden.
    if (style & WS_VISIBLE) button.ShowWindow(SW_SHOW);
}

LRESULT CCoolPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleContainerMessage(message, wParam, lParam, &result)) return result;
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_SIZE:
        OnColorsChanged();
        break;
    case WM_DISPLAYCHANGE:
        OnDisplayChange(static_cast<int>(wParam));
        break;
    case WM_SETMESSAGESTRING:
        return OnSetMessageString(wParam, lParam);
    case WM_TRAYNOTIFY:
        OnTrayNotify(wParam, lParam);
        return 0;
    case WM_SYSCOMMAND:
        if (OnSysCommand(wParam)) return 0;
        break;
    case WM_DESTROY:
        if (m_trayIcon) RemoveTrayIcon();
        break;
    default:
        break;
    }
    return CPropertySheet::WindowProc(message, wParam, lParam);
}

void CCoolPropertySheet::OnPaint() {
    CPaintDC paint(m_hWnd);
    if (!paint) return;
    if (!::IsIconic(m_hWnd)) {
        if (CCoolBitmap* background = EnsureBackground(paint)) background->Draw(paint, 0, 0);
    }
}

LRESULT CCoolPropertySheet::OnSetMessageString(WPARAM id, LPARAM text) {
    // A text from another thread or process, or a posted one, is no text of ours.
    if (text && !CMessageOrigin::IsOwnThread(WM_SETMESSAGESTRING, id, text)) return 0;
    std::string prompt;
    if (text)
        prompt = reinterpret_cast<const char*>(text);
    else
        GetMessageString(static_cast<UINT>(id), prompt);
    return CoolShowPrompt(GetMessageBar(), prompt, static_cast<int>(id), m_lastMessageId,
                          m_currentMessageId);
}

void CCoolPropertySheet::GetMessageString(UINT id, std::string& text) const {
    text = CoolMessageString(id);
}

HWND CCoolPropertySheet::GetMessageBar() const {
    return CoolFindMessageBar(m_hWnd);
}

void CCoolPropertySheet::RefreshPages() {
    for (int i = 0; i < GetPageCount(); ++i) {
        auto* page = dynamic_cast<CCoolPropertyPage*>(GetPage(i));
        if (page && page->m_hWnd) page->Refresh();
    }
}

void CCoolPropertySheet::SetTrayIcon(HICON icon, WORD menuId) {
    m_trayHIcon = icon;
    m_menuId = menuId;
    m_trayIcon = 1;
    if (m_hWnd) AddTrayIcon();
}

void CCoolPropertySheet::AddTrayIcon() {
    std::string tip = GetWindowText();
    if (tip.size() > kTipLength) tip.resize(kTipLength);
    m_trayRecord.Add(m_hWnd, TrayIconId, WM_TRAYNOTIFY, m_trayHIcon, tip);
}

void CCoolPropertySheet::RemoveTrayIcon() {
    m_trayRecord.Remove();
    m_trayIcon = 0;
}

void CCoolPropertySheet::OnTrayNotify(WPARAM id, LPARAM event) {
    if (id != TrayIconId) return;
    switch (static_cast<UINT>(event)) {
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
        if (m_menuId != NoMenu) {
            POINT cursor = {};
            ::GetCursorPos(&cursor);
            TrackTrayMenu(cursor.x, cursor.y);
        }
        break;
    case WM_LBUTTONDBLCLK:
        RestoreFromTray();
        break;
    default:
        break;
    }
}

void CCoolPropertySheet::RestoreFromTray() {
    ShowWindow(SW_RESTORE);
    // Brought to the front over whatever holds the foreground now, then back among the
    // ordinary windows.
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, kTopmostFlags);
    const auto thread = static_cast<LPARAM>(::GetCurrentThreadId());
    PostMessage(WM_NCACTIVATE, TRUE);
    PostMessage(WM_ACTIVATEAPP, TRUE, thread);
    PostMessage(WM_NCACTIVATE, TRUE);
    PostMessage(WM_ACTIVATETOPLEVEL, TRUE, thread);
    ::SetForegroundWindow(m_hWnd);
    ::SetActiveWindow(m_hWnd);
    ::SetWindowPos(m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, kTopmostFlags);
}

void CCoolPropertySheet::TrackTrayMenu(int x, int y) {
    const CMenuHandle menu(::LoadMenuA(GetResourceInstance(), MAKEINTRESOURCEA(m_menuId)));
    if (!menu) return;
    m_trackedMenu = ::GetSubMenu(menu.Get(), 0);
    if (m_trackedMenu) {
        PrepareTrayMenu(m_trackedMenu);
        // The menu closes when the user clicks elsewhere only while the window is foreground.
        ::SetForegroundWindow(m_hWnd);
        ::TrackPopupMenu(m_trackedMenu, 0, x, y, 0, m_hWnd, nullptr);
    }
    m_trackedMenu = nullptr;
}

bool CCoolPropertySheet::OnSysCommand(WPARAM command) {
    if ((command & 0xFFF0) != SC_CLOSE || !m_trayIcon) return false;
    ShowWindow(SW_HIDE);
    OnColorsChanged();
    return true;
}
