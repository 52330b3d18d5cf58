// A property sheet over the common controls' sheet, modeless (Create) or modal (DoModal).
// The sheet's window is bound to the object from its creation on: while PropertySheet runs,
// the thread holds a pointer to the sheet being created, and the first dialog window made for
// it is subclassed at once, so the object sees WM_INITDIALOG (OnInitDialog) and everything
// after it. A modeless sheet gets its keyboard interface from the application's message loop
// (PSM_ISDIALOGMESSAGE), which also destroys its window once the sheet was closed.
#pragma once

#include "Wnd.h"

#include <memory>
#include <string>
#include <vector>

class CPropertyPage;

class CPropertySheet : public CWnd {
public:
    CPropertySheet() = default;
    explicit CPropertySheet(const std::string& caption, HWND parent = nullptr, UINT startPage = 0);
    ~CPropertySheet() override;

    // Caption, parent and start page, for a sheet constructed without them.
    void Construct(const std::string& caption, HWND parent = nullptr, UINT startPage = 0);
    // Adds a page (not owned), before the sheet exists or while it does.
    void AddPage(CPropertyPage* page);
    // Extra PSH_ flags of the sheet (PSH_NOAPPLYNOW, PSH_WIZARD, ...), before creation.
    void SetSheetFlags(DWORD flags) { m_flags = flags; }
    DWORD GetSheetFlags() const { return m_flags; }

    // Creates the sheet modeless; style (WS_ bits, -1 for the sheet's own) and extended style
    // replace those of the sheet's template. The object owns the window.
    bool Create(HWND parent = nullptr, DWORD style = static_cast<DWORD>(-1), DWORD exStyle = 0);
    // Runs the sheet modally; returns PropertySheet's result.
    INT_PTR DoModal();
    bool IsModeless() const { return m_modeless; }
    // Ends the sheet: a modeless sheet is destroyed, a modal one closed with OK or Cancel.
    void EndDialog(int result);
    bool PressButton(int button) { return SendMessage(PSM_PRESSBUTTON, button) != 0; }

    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int index) const;
    int GetPageIndex(const CPropertyPage* page) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    // Makes a page the active one; false when the current page refused to be left.
    bool SetActivePage(int index);
    bool SetActivePage(CPropertyPage* page) { return SetActivePage(GetPageIndex(page)); }
    HWND GetTabControl() const { return reinterpret_cast<HWND>(SendMessage(PSM_GETTABCONTROL)); }

    // Called at WM_INITDIALOG; the base lets the sheet build itself and its first page.
    virtual BOOL OnInitDialog();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PreTranslateMessage(MSG* msg) override;

    // Destroys the window of every modeless sheet that was closed (OK, Cancel, the close box);
    // the application's message loop calls it after each message.
    static void DestroyClosedSheets();

private:
    friend class CPropertyPage;
    struct PageEntry {
        CPropertyPage* page;
        std::shared_ptr<const std::vector<WORD>> memoryTemplate;
    };

    INT_PTR Launch(bool modeless, HWND parent);
    void ForgetPage(CPropertyPage* page);
    static int CALLBACK SheetCallback(HWND window, UINT message, LPARAM lParam);
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);

    std::string m_caption;
    HWND m_parent = nullptr;
    UINT m_startPage = 0;
    DWORD m_flags = 0;
    DWORD m_createStyle = static_cast<DWORD>(-1);
    DWORD m_createExStyle = 0;
    bool m_modeless = false;
    std::vector<PageEntry> m_pages;
    WPARAM m_initWParam = 0;
    LPARAM m_initLParam = 0;
};
