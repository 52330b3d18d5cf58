// A dialog from a resource template or a template built in memory, modal (DoModal) or
// modeless (Create/CreateIndirect). The dialog manager runs its small dialog procedure, which
// binds the object at WM_INITDIALOG by subclassing the window; from then on the dialog's
// messages reach WindowProc like any other window's, and what WindowProc returns is the
// message's result (no DWLP_MSGRESULT needed).
#pragma once

#include "Wnd.h"

class CDialogTemplate;

class CDialog : public CWnd {
public:
    CDialog() = default;
    explicit CDialog(UINT templateId, HWND parent = nullptr)
        : m_templateId(templateId), m_parent(parent) {}
    explicit CDialog(const DLGTEMPLATE* dialogTemplate, HWND parent = nullptr)
        : m_template(dialogTemplate), m_parent(parent) {}

    // The template DoModal uses: a resource identifier, or a template in memory that the
    // caller keeps alive while the dialog runs.
    void SetTemplate(UINT templateId) { m_templateId = templateId, m_template = nullptr; }
    void SetTemplate(const DLGTEMPLATE* dialogTemplate) { m_template = dialogTemplate; }
    void SetParentWindow(HWND parent) { m_parent = parent; }

    // Runs the dialog modally; returns what EndDialog was given, or -1 when it could not start.
    INT_PTR DoModal();
    // Creates the dialog modeless; the object owns the window.
    bool Create(UINT templateId, HWND parent = nullptr);
    bool CreateIndirect(const DLGTEMPLATE* dialogTemplate, HWND parent = nullptr);
    // Ends the dialog: a modal one returns from DoModal with the result, a modeless one is
    // destroyed.
    bool EndDialog(INT_PTR result);
    bool IsModal() const { return m_modal; }
    INT_PTR GetResult() const { return m_result; }

    // Called at WM_INITDIALOG once the object is bound; the base binds the controls
    // (DoDataExchange). Return TRUE to let the system set the focus.
    virtual BOOL OnInitDialog();
    // IDOK and IDCANCEL; the base ends the dialog with that identifier.
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Binds template controls to control objects (BindControl); called by OnInitDialog.
    virtual void DoDataExchange() {}
    // Binds the template control with that identifier to a control object (the window stays
    // the dialog's).
    bool BindControl(int id, CWnd& control) {
        return control.SubclassDlgItem(static_cast<UINT>(id), m_hWnd);
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // A modeless dialog gets its keyboard interface (Tab, arrows, mnemonics, Enter, Esc).
    bool PreTranslateMessage(MSG* msg) override;

    // The dialog procedure the dialog manager calls; lParam of WM_INITDIALOG is the object.
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // Binds a dialog window to its object at WM_INITDIALOG and lets the object handle it.
    static INT_PTR BindAtInitDialog(CDialog* dialog, HWND window, bool ownsWindow, WPARAM wParam,
                                    LPARAM lParam);

private:
    bool CreateModeless(const DLGTEMPLATE* dialogTemplate, UINT templateId, HWND parent);

    UINT m_templateId = 0;
    const DLGTEMPLATE* m_template = nullptr;
    HWND m_parent = nullptr;
    bool m_modal = false;
    INT_PTR m_result = 0;
};
