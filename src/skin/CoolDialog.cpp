#include "CoolDialog.h"

#include "CoolScheme.h"
#include "SchemePropagation.h"
#include "FrameworkMessages.h"
#include "MessageOrigin.h"

CCoolDialog::CCoolDialog(UINT templateId, HWND parent)
    : CDialog(templateId, parent), m_pParentWnd(parent) {}

CCoolDialog::CCoolDialog(const DLGTEMPLATE* dialogTemplate, HWND parent)
    : CDialog(dialogTemplate, parent), m_pParentWnd(parent) {}

CCoolDialog::~CCoolDialog() = default;

int CCoolDialog::GetBackgroundBitmap(CCoolBitmap** out) {
    if (!out) return 0;
    // A reference DC only to build the background: every control asks for it as it paints.
    if (m_background && !m_background->IsEmpty()) {
        *out = m_background.get();
        return 1;
    }
    CDC screen;
    *out = m_hWnd && screen.GetDC(m_hWnd) ? EnsureBackground(screen) : m_background.get();
    return 1;
}

int CCoolDialog::GetScreenRect(RECT* out) {
    if (!out || !m_hWnd) return 0;
    ::GetClientRect(m_hWnd, out);
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(out), 2);
    return 1;
}

void CCoolDialog::OnColorsChanged() {
    m_background.reset();
}

void CCoolDialog::Propagate() {
    if (m_hWnd) PassSchemeToChildren(m_hWnd, *this);
}

BOOL CCoolDialog::OnInitDialog() {
    const BOOL result = CDialog::OnInitDialog();
    CoolInheritScheme(*this, m_pParentWnd ? m_pParentWnd : GetParent());
    if (m_hIcon) {
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    }
    Propagate();
    return result;
}

LRESULT CCoolDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleSchemeMessage(message, wParam, lParam, &result, Role::Window)) {
        if (!IsSchemeChange(message) || IsForeignPointer(message, wParam, lParam)) return result;
        if (!SchemeHandOverContinues(m_hWnd)) Propagate();
        Invalidate(true);
        return 1;
    }
    switch (message) {
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    case WM_PAINT:
        if (!::IsIconic(m_hWnd)) break;
        OnPaint();
        return 0;
    case WM_SIZE:
        OnSize();
        break;
    case WM_DISPLAYCHANGE:
        OnDisplayChange(static_cast<int>(wParam));
        break;
    case WM_SETMESSAGESTRING:
        return OnSetMessageString(wParam, lParam);
    default:
        break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

CCoolBitmap* CCoolDialog::EnsureBackground(HDC reference) {
    if (m_background && !m_background->IsEmpty()) return m_background.get();
    auto bitmap = std::make_unique<CCoolBitmap>();
    if (!CoolPaintWindowBackground(*this, *bitmap, reference, GetClientRect())) return nullptr;
    m_background = std::move(bitmap);
    return m_background.get();
}

BOOL CCoolDialog::OnEraseBkgnd(HDC dc) {
    const CRect client = GetClientRect();
    if (CCoolBitmap* background = EnsureBackground(dc))
        background->Draw(dc, client, CRect(0, 0, background->Width(), background->Height()));
    return TRUE;
}

void CCoolDialog::OnPaint() {
    if (!m_dc.BeginPaint(m_hWnd)) return;
    if (m_hIcon) {
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(m_dc.GetSafeHdc()));
        const CRect client = GetClientRect();
        const int x = (client.Width() - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.Height() - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        ::DrawIcon(m_dc, x, y, m_hIcon);
    }
    m_dc.EndPaint();
}

void CCoolDialog::OnSize() {
    OnColorsChanged();
    // The background is painted when it is erased: without the erase a smaller dialog would
    // keep the old, larger gradient.
    Invalidate(true);
    ::LockWindowUpdate(m_hWnd);
    CoolLayoutChildren(m_hWnd);
    ::LockWindowUpdate(nullptr);
}

void CCoolDialog::OnDisplayChange(int bitsPerPixel) {
    if (m_background && m_background->BitsPixel() != bitsPerPixel) OnColorsChanged();
}

LRESULT CCoolDialog::OnSetMessageString(WPARAM id, LPARAM text) {
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

void CCoolDialog::GetMessageString(UINT id, std::string& text) const {
    text = CoolMessageString(id);
}

HWND CCoolDialog::GetMessageBar() const {
    return CoolFindMessageBar(m_hWnd);
}
