#include "Dialog.h"

#include "WinApp.h"

INT_PTR CDialog::DoModal() {
    if (m_hWnd) return -1;
    m_modal = true;
    m_result = -1;
    INT_PTR result;
    if (m_template)
        result = ::DialogBoxIndirectParamA(GetResourceInstance(), m_template, m_parent,
                                           &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    else
        result = ::DialogBoxParamA(GetResourceInstance(), MAKEINTRESOURCEA(m_templateId), m_parent,
                                   &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    m_modal = false;
    return result;
}

bool CDialog::Create(UINT templateId, HWND parent) {
    return CreateModeless(nullptr, templateId, parent);
}

bool CDialog::CreateIndirect(const DLGTEMPLATE* dialogTemplate, HWND parent) {
    return dialogTemplate && CreateModeless(dialogTemplate, 0, parent);
}

bool CDialog::CreateModeless(const DLGTEMPLATE* dialogTemplate, UINT templateId, HWND parent) {
    if (m_hWnd) return false;
    m_modal = false;
    m_parent = parent;
    HWND window;
    if (dialogTemplate)
        window = ::CreateDialogIndirectParamA(GetResourceInstance(), dialogTemplate, parent,
                                              &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    else
        window = ::CreateDialogParamA(GetResourceInstance(), MAKEINTRESOURCEA(templateId), parent,
                                      &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (!window) return false;
    if (m_hWnd != window) { // not bound: no object behind it, so it must not stay
        ::DestroyWindow(window);
        return false;
    }
    return true;
}

bool CDialog::EndDialog(INT_PTR result) {
    if (!m_hWnd) return false;
    m_result = result;
    if (m_modal) return ::EndDialog(m_hWnd, result) != FALSE;
    return DestroyWindow();
}

BOOL CDialog::OnInitDialog() {
    DoDataExchange();
    return TRUE;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDOK) {
            OnOK();
            return 0;
        }
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return 0;
        }
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

bool CDialog::PreTranslateMessage(MSG* msg) {
    if (m_modal || !m_hWnd || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return false;
    if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd)) return false;
    return ::IsDialogMessageA(m_hWnd, msg) != FALSE;
}

INT_PTR CDialog::BindAtInitDialog(CDialog* dialog, HWND window, bool ownsWindow, WPARAM wParam,
                                  LPARAM lParam) {
    if (!dialog || !dialog->BindBySubclass(window, ownsWindow)) return TRUE;
    return Dispatch(dialog, window, WM_INITDIALOG, wParam, lParam);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Everything but the first WM_INITDIALOG reaches the object through its subclass, above
    // the dialog manager; what comes here is default processing.
    if (message != WM_INITDIALOG || FromHandle(window)) return FALSE;
    try {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        return BindAtInitDialog(dialog, window, dialog && !dialog->m_modal, wParam, lParam);
    } catch (...) {
        return TRUE; // nothing may unwind into user32: the dialog runs without its object
    }
}
