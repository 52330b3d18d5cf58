#include "CoolDialog.h"

#include "CoolScheme.h"
#include "SchemePropagation.h"
#include "FrameworkMessages.h"
#include "MessageOrigin.h"

CCoolDialog::CCoolDialog(UINT templateId, HWND parent)
    : CDialog(templateId, parent), CoolContainer(*this, BackgroundSource::Own),
      m_pParentWnd(parent) {}

CCoolDialog::CCoolDialog(const DLGTEMPLATE* dialogTemplate, HWND parent)
    : CDialog(dialogTemplate, parent), CoolContainer(*this, BackgroundSource::Own),
      m_pParentWnd(parent) {}

CCoolDialog::~CCoolDialog() = default;

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
    if (HandleContainerMessage(message, wParam, lParam, &result)) return result;
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

BOOL CCoolDialog::OnEraseBkgnd(HDC dc) {
    const CRect client = GetClientRect();
    if (CCoolBitmap* background = EnsureBackground(dc))
        background->Draw(dc, client, CRect(0, 0, background->Width(), background->Height()));
    return TRUE;
}

void CCoolDialog::OnPaint() {
    CPaintDC paint(m_hWnd);
    if (!paint) return;
    if (m_hIcon) {
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.GetSafeHdc()));
        const CRect client = GetClientRect();
        const int x = (client.Width() - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
        const int y = (client.Height() - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
        ::DrawIcon(paint, x, y, m_hIcon);
    }
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
