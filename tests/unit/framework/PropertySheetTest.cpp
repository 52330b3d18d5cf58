#include "Button.h"
#include "DialogTemplate.h"
#include "FrameworkTestIds.h"
#include "Platform.h"
#include "PropertyPage.h"
#include "PropertySheet.h"
#include "Pump.h"
#include "WinApp.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <new>
#include <memory>
#include <string>
#include <vector>

namespace {

// A page that records its notifications and binds its check box when it has one.
class CTestPage : public CPropertyPage {
public:
    using CPropertyPage::CPropertyPage;
    CButton check;
    UINT checkId = IDC_LOUD;
    int inits = 0;
    int activations = 0;
    int kills = 0;
    int applies = 0;
    bool refuseLeave = false;
    std::function<void()> onActive;

    void DoDataExchange() override { BindControl(static_cast<int>(checkId), check); }
    BOOL OnInitDialog() override {
        ++inits;
        return CPropertyPage::OnInitDialog();
    }
    bool OnSetActive() override {
        ++activations;
        if (onActive) onActive();
        return true;
    }
    bool OnKillActive() override {
        ++kills;
        return !refuseLeave;
    }
    bool OnApply() override {
        ++applies;
        return true;
    }
};

// The second page has no resource: its template is built here.
CDialogTemplate SecondTemplate() {
    CDialogTemplate t("", WS_CHILD | WS_CAPTION, CRect(0, 0, 180, 90));
    t.SetFont(8, "MS Shell Dlg");
    t.AddItem(CDialogTemplate::Button, "&Soft", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
              CRect(8, 8, 88, 20), IDC_SOFT);
    t.AddItem(CDialogTemplate::Edit, "", WS_VISIBLE | WS_BORDER | WS_TABSTOP, CRect(8, 26, 108, 40),
              IDC_NAME);
    return t;
}

// A sheet that checks it is bound before the common controls build it.
class CTestSheet : public CPropertySheet {
public:
    using CPropertySheet::CPropertySheet;
    int inits = 0;
    bool tabBeforeInit = false;
    bool pageAfterInit = false;
    BOOL OnInitDialog() override {
        ++inits;
        tabBeforeInit = ::GetDlgItem(m_hWnd, 0x3020) != nullptr;
        BOOL result = CPropertySheet::OnInitDialog();
        pageAfterInit = SendMessage(PSM_GETCURRENTPAGEHWND) != 0;
        return result;
    }
};

struct TwoPages {
    CTestPage first{IDD_TEST_PAGE};
    std::unique_ptr<CTestPage> second = std::make_unique<CTestPage>(SecondTemplate(), "Second");
    TwoPages() { second->checkId = IDC_SOFT; }
    void AddTo(CPropertySheet& sheet) {
        sheet.AddPage(&first);
        sheet.AddPage(second.get());
    }
};

TEST(Sheet, PageRefusingToBeLeftKeepsTheSheetOnIt) {
    TwoPages pages;
    CTestSheet sheet("Sheet");
    pages.AddTo(sheet);
    ASSERT_TRUE(sheet.Create());
    EXPECT_EQ(sheet.inits, 1);
    EXPECT_TRUE(sheet.tabBeforeInit);
    EXPECT_TRUE(sheet.pageAfterInit);
    EXPECT_EQ(sheet.GetActivePage(), &pages.first);
    EXPECT_EQ(pages.first.inits, 1);

    pages.first.refuseLeave = true;
    EXPECT_FALSE(sheet.SetActivePage(1));
    EXPECT_EQ(pages.first.kills, 1);
    EXPECT_EQ(sheet.GetActiveIndex(), 0);
    EXPECT_EQ(sheet.GetActivePage(), &pages.first);
    EXPECT_EQ(pages.second->inits, 0);

    pages.first.refuseLeave = false;
    EXPECT_TRUE(sheet.SetActivePage(pages.second.get()));
    EXPECT_EQ(sheet.GetActivePage(), pages.second.get());
    EXPECT_EQ(sheet.GetActiveIndex(), 1);
    EXPECT_EQ(pages.second->inits, 1);
    HWND tab = sheet.GetTabControl();
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(::SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0), 2);
}

TEST(Sheet, PageObjectGoneBeforeItsWindowLeavesThatPageUnbound) {
    CTestPage first(IDD_TEST_PAGE);
    // The second page lives in storage of its own, wiped when it goes, as freed memory may be.
    alignas(CTestPage) unsigned char storage[sizeof(CTestPage)];
    auto* second = new (storage) CTestPage(SecondTemplate(), "Second");
    CPropertySheet sheet("Sheet");
    sheet.AddPage(&first);
    sheet.AddPage(second);
    ASSERT_TRUE(sheet.Create());
    second->~CTestPage();
    std::memset(storage, 0, sizeof(storage));
    EXPECT_EQ(sheet.GetPage(1), nullptr);
    EXPECT_TRUE(sheet.SetActivePage(1));
    HWND page = reinterpret_cast<HWND>(sheet.SendMessage(PSM_GETCURRENTPAGEHWND));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(CWnd::FromHandle(page), nullptr);
    EXPECT_EQ(sheet.GetActivePage(), nullptr);
    ::SendMessageA(page, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("still works"));
    PumpPending();
}

TEST(Sheet, ModalSheetAppliesItsPagesOnOk) {
    TwoPages pages;
    CTestSheet sheet("Modal");
    pages.AddTo(sheet);
    HWND window = nullptr;
    pages.first.onActive = [&] {
        window = sheet.m_hWnd;
        sheet.PostMessage(PSM_PRESSBUTTON, PSBTN_OK);
    };
    EXPECT_GE(sheet.DoModal(), 0);
    EXPECT_EQ(sheet.inits, 1);
    EXPECT_EQ(pages.first.applies, 1);
    EXPECT_EQ(sheet.m_hWnd, nullptr);
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(pages.first.m_hWnd, nullptr);
}

// Runs steps from a timer inside the application's message loop: each step acts once, then
// waits for its condition; a condition not met in time ends the loop with the step's name.
class CScript : public CWnd {
public:
    struct Step {
        const char* name;
        std::function<void()> act;
        std::function<bool()> done;
    };
    std::vector<Step> steps;
    std::string failure;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TIMER) {
            Tick();
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    void Tick() {
        if (m_next >= steps.size()) return;
        Step& step = steps[m_next];
        if (!m_acted) {
            m_acted = true;
            m_since = ::GetTickCount();
            step.act();
            return;
        }
        if (step.done()) {
            ++m_next;
            m_acted = false;
        } else if (::GetTickCount() - m_since > 5000) {
            failure = step.name;
            m_next = steps.size();
            ::PostQuitMessage(1);
        }
    }
    size_t m_next = 0;
    bool m_acted = false;
    DWORD m_since = 0;
};

class CSheetApp : public CWinApp {
public:
    CPropertySheet* sheet = nullptr;
    CScript* script = nullptr;
    BOOL InitInstance() override {
        if (!sheet->Create(nullptr, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX)) return FALSE;
        m_pMainWnd = sheet;
        sheet->ShowWindow(SW_SHOWNORMAL);
        script->SetTimer(1, 20);
        return TRUE;
    }
};

// Keys as the keyboard delivers them to the window with the focus.
void PostKey(UINT key) {
    ::PostMessageA(::GetFocus(), WM_KEYDOWN, key, 1);
}
void PostAltKey(char letter) {
    ::PostMessageA(::GetFocus(), WM_SYSKEYDOWN, static_cast<WPARAM>(letter), 0x20000001);
}

TEST(Sheet, ModelessSheetLivesInTheApplicationLoop) {
    TwoPages pages;
    CPropertySheet sheet("Sheet");
    pages.AddTo(sheet);
    CScript script;
    ASSERT_TRUE(script.CreateEx(0, nullptr, "script", WS_POPUP, CRect(0, 0, 1, 1), nullptr, 0));
    std::vector<HWND> windows;
    HWND focusBeforeTab = nullptr;
    script.steps = {
        {"created hidden with the asked style, then shown",
         [&] {
             windows = {sheet.m_hWnd, pages.first.m_hWnd, pages.first.check.m_hWnd};
             ::SetFocus(pages.first.check.m_hWnd);
         },
         [&] {
             return (sheet.GetStyle() & WS_MINIMIZEBOX) && sheet.IsWindowVisible() &&
                    ::GetFocus() == pages.first.check.m_hWnd;
         }},
        {"Tab moves the focus",
         [&] {
             focusBeforeTab = ::GetFocus();
             PostKey(VK_TAB);
         },
         [&] { return ::GetFocus() == pages.first.GetDlgItem(IDC_NAME); }},
        {"Alt+L checks Loud", [&] { PostAltKey('L'); },
         [&] { return pages.first.check.GetCheck() == BST_CHECKED; }},
        {"switch to the second page", [&] { sheet.SetActivePage(1); },
         [&] {
             return sheet.GetActivePage() == pages.second.get() && pages.second->inits == 1 &&
                    CWnd::FromHandle(pages.second->GetDlgItem(IDC_SOFT)) == &pages.second->check;
         }},
        {"Alt+S checks Soft",
         [&] {
             windows.push_back(pages.second->m_hWnd);
             ::SetFocus(pages.second->GetDlgItem(IDC_NAME));
             PostAltKey('S');
         },
         [&] { return pages.second->check.GetCheck() == BST_CHECKED; }},
        {"Escape closes the sheet", [&] { PostKey(VK_ESCAPE); }, [] { return false; }},
    };
    CSheetApp app;
    app.sheet = &sheet;
    app.script = &script;
    EXPECT_EQ(app.RunApplication(nullptr, "", SW_SHOW), 0);
    EXPECT_EQ(script.failure, "");
    EXPECT_NE(focusBeforeTab, nullptr);
    // The closed sheet was destroyed, which ended the loop; every object is unbound.
    EXPECT_EQ(sheet.m_hWnd, nullptr);
    EXPECT_EQ(pages.first.m_hWnd, nullptr);
    EXPECT_EQ(pages.second->m_hWnd, nullptr);
    EXPECT_EQ(pages.first.check.m_hWnd, nullptr);
    for (HWND window : windows) {
        EXPECT_FALSE(::IsWindow(window));
        EXPECT_EQ(CWnd::FromHandle(window), nullptr);
    }
    EXPECT_EQ(pages.first.kills, 1);
    script.DestroyWindow();
    PumpPending();
}

} // namespace
