// A skinned property sheet: a lit background painted by the sheet, its tab control and
// standard buttons replaced by skinned ones, the scheme handed to its pages and children,
// hover prompts in a status bar, and an optional icon in the notification area that keeps
// the window alive when it is closed.
#pragma once

#include "CoolButton.h"
#include "CoolContainer.h"
#include "CoolDC.h"
#include "CoolTabCtrl.h"
#include "NotifyIcon.h"
#include "PropertySheet.h"

#include <memory>
#include <string>

class CCoolPropertySheet : public CPropertySheet, public CoolContainer {
public:
    // The notification icon: its identifier and the message its events arrive with.
    enum : UINT { TrayIconId = 1, WM_TRAYNOTIFY = 0x514 };
    enum : WORD { NoMenu = 0xFFFF };

    CCoolPropertySheet();
    explicit CCoolPropertySheet(const std::string& caption, HWND parent = nullptr,
                                UINT startPage = 0);
    ~CCoolPropertySheet() override;

    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Rereads the values of every page that has a window.
    virtual void RefreshPages();
    // Shows the notification icon's popup menu at a screen point.
    virtual void TrackTrayMenu(int x, int y);
    // Readies the popup menu before it is shown (its texts, for one); nothing by default.
    virtual void PrepareTrayMenu(HMENU) {}
    // The status prompt of an identifier: its string resource up to the first line feed.
    virtual void GetMessageString(UINT id, std::string& text) const;
    // The status bar that shows the prompts: the descendant with the status bar identifier.
    virtual HWND GetMessageBar() const;

    // Puts the sheet into the notification area with this icon and popup menu (NoMenu: none);
    // from now on closing the window hides it.
    void SetTrayIcon(HICON icon, WORD menuId = NoMenu);
    // Takes the icon out of the notification area; closing closes again.
    void RemoveTrayIcon();
    bool HasTrayIcon() const { return m_trayIcon != 0; }
    // The menu being tracked for the notification icon, or null.
    HMENU GetTrackedMenu() const { return m_trackedMenu; }

    CCoolTabCtrl& GetCoolTabCtrl() { return m_tabCtrl; }
    // Hands the scheme to the pages, then to every direct child, and has them repainted.
    void Propagate() override;
    // True while the initialisation makes the first page: the sheet hands its scheme to the
    // page afterwards, so the page need not hand it on to its controls itself.
    bool IsMakingFirstPage() const { return m_makingFirstPage; }

protected:
    void AddTrayIcon();
    // Whether the initialisation replaces the standard buttons by skinned ones. A sheet that
    // removes them right after its initialisation says no: they would be made for nothing.
    virtual bool SkinsStandardButtons() const { return true; }
    // Whether the initialisation leaves the pages' controls to a later Propagate of each page
    // (a sheet that sizes itself to its pages hands the scheme on once it has its size).
    virtual bool PropagatesPagesAfterInit() const { return false; }

    CCoolTabCtrl m_tabCtrl;
    CCoolButton m_okButton;
    CCoolButton m_cancelButton;
    CCoolButton m_applyButton;
    CCoolButton m_helpButton;
    CCoolButton m_nextButton;
    CCoolButton m_backButton;
    CCoolButton m_finishButton;
    // Held for the window's life, so the drawing library stays loaded between paints.
    CCoolDC m_drawingLife{nullptr};
    int m_trayIcon = 0;
    CNotifyIcon m_trayRecord;
    HICON m_trayHIcon = nullptr;
    WORD m_menuId = NoMenu;
    HMENU m_trackedMenu = nullptr;
    int m_lastMessageId = 0;
    int m_currentMessageId = 0;
    bool m_makingFirstPage = false;
    bool m_pagesLater = false;

private:
    void ReplaceButton(UINT id, CCoolButton& button);
    void OnPaint();
    LRESULT OnSetMessageString(WPARAM id, LPARAM text);
    void OnTrayNotify(WPARAM id, LPARAM event);
    void RestoreFromTray();
    bool OnSysCommand(WPARAM command);
};
