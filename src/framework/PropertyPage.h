// A page of a property sheet, from a resource template or a template built in memory. The
// sheet creates the page's window when the page is first shown; the page object is found
// from its window (PROPSHEETPAGE::lParam at WM_INITDIALOG, then the subclass like a dialog),
// and its notifications' results are WindowProc's return values.
#pragma once

#include "Dialog.h"

#include <memory>
#include <string>
#include <vector>

class CDialogTemplate;
class CPropertySheet;

class CPropertyPage : public CDialog {
public:
    explicit CPropertyPage(UINT templateId = 0, const std::string& title = std::string());
    CPropertyPage(const CDialogTemplate& dialogTemplate, const std::string& title);
    ~CPropertyPage() override;

    // Before the page is added to a sheet: its template (a copy is kept) and tab title.
    void SetTemplate(UINT templateId);
    void SetTemplate(const CDialogTemplate& dialogTemplate);
    void SetTitle(const std::string& title) { m_title = title; }
    const std::string& GetTitle() const { return m_title; }

    // The sheet the page was added to, or null.
    CPropertySheet* GetSheet() const { return m_sheet; }
    // Enables or disables the sheet's Apply button for this page.
    void SetModified(bool changed = true);

    // Page notifications. OnSetActive: false refuses to become the active page; OnKillActive:
    // false refuses to be left (the sheet stays on the page); OnApply: false keeps the sheet
    // open on the page; OnQueryCancel: false refuses the cancel.
    virtual bool OnSetActive() { return true; }
    virtual bool OnKillActive() { return true; }
    virtual bool OnApply() { return true; }
    virtual void OnReset() {}
    virtual bool OnQueryCancel() { return true; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The sheet gives its pages their keyboard interface.
    bool PreTranslateMessage(MSG*) override { return false; }
    // A page is not ended like a dialog: the sheet's buttons end the sheet.
    void OnOK() override {}
    void OnCancel() override {}

    // The dialog procedure of pages; lParam of WM_INITDIALOG is the PROPSHEETPAGE.
    static INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend class CPropertySheet;
    // The page's record for the sheet; the template it points to stays alive with the
    // returned holder.
    PROPSHEETPAGEA Describe(std::shared_ptr<const std::vector<WORD>>* holder) const;
    LRESULT OnSheetNotify(const NMHDR& header);

    UINT m_templateId = 0;
    std::shared_ptr<const std::vector<WORD>> m_memoryTemplate;
    std::string m_title;
    CPropertySheet* m_sheet = nullptr;
};
