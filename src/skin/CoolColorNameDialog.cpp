#include "CoolColorNameDialog.h"

namespace {
// A child's rectangle in its parent's client coordinates.
CRect ChildRect(HWND child) {
    CRect r;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}
} // namespace

CCoolColorNameDialog::CCoolColorNameDialog(const DLGTEMPLATE* dialogTemplate, HWND parent,
                                           const std::string& name)
    : CCoolDialog(dialogTemplate, parent), m_name(name) {}

CCoolColorNameDialog::~CCoolColorNameDialog() = default;

void CCoolColorNameDialog::DoDataExchange() {
    BindControl(IDOK, m_ok);
    BindControl(IDCANCEL, m_cancel);
}

BOOL CCoolColorNameDialog::OnInitDialog() {
    CCoolDialog::OnInitDialog();
    SetWindowText("Save as");

    CRect ok = ChildRect(m_ok);
    CRect cancel = ChildRect(m_cancel);
    CRect field;
    ::UnionRect(&field, &ok, &cancel);
    field.bottom -= 2;
    if (m_edit.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL, field,
                      m_hWnd, IdName))
        m_edit.SendMessage(WM_SETFONT, static_cast<WPARAM>(SendMessage(WM_GETFONT)), FALSE);

    // The buttons go below the field and the window grows by as much.
    const int shift = field.Height() + 8;
    ok.OffsetRect(0, shift);
    cancel.OffsetRect(0, shift);
    m_ok.MoveWindow(ok);
    m_cancel.MoveWindow(cancel);
    const CRect window = GetWindowRect();
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, window.Width(), window.Height() + shift,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    m_edit.SetWindowText(m_name.empty() ? std::string("New") : m_name);
    Propagate();
    m_edit.SetSel(0, -1);
    ::SetFocus(m_edit);
    return FALSE; // the focus is set
}

void CCoolColorNameDialog::OnOK() {
    m_name = m_edit.GetWindowText();
    CCoolDialog::OnOK();
}
