// Skinned dialogs and sheets for the tests, built from templates in memory.
#pragma once

#include "CoolButton.h"
#include "CoolDialog.h"
#include "CoolPropertyPage.h"
#include "CoolPropertySheet.h"
#include "DialogTemplate.h"
#include "Pixels.h"
#include "Pump.h"

#include <memory>
#include <string>
#include <vector>

// A page with buttons from its template, each bound to a CCoolButton.
class CTestCoolPage : public CCoolPropertyPage {
public:
    struct Item {
        std::string text;
        DWORD style;
        RECT rect; // dialog units
    };
    CTestCoolPage(const std::string& title, std::vector<Item> items)
        : CCoolPropertyPage(Template(items), title), m_count(static_cast<int>(items.size())) {}

    std::vector<std::unique_ptr<CCoolButton>> buttons;
    bool refuseLeave = false;

    static constexpr int kFirstId = 2000;

    void DoDataExchange() override {
        for (int i = 0; i < m_count; ++i) {
            buttons.push_back(std::make_unique<CCoolButton>());
            BindControl(kFirstId + i, *buttons.back());
        }
    }
    bool OnKillActive() override { return !refuseLeave; }

private:
    static CDialogTemplate Template(const std::vector<Item>& items) {
        CDialogTemplate t("", WS_CHILD | WS_CAPTION, CRect(0, 0, 200, 110));
        t.SetFont(8, "MS Shell Dlg");
        WORD id = kFirstId;
        for (const Item& item : items)
            t.AddItem(CDialogTemplate::Button, item.text, WS_VISIBLE | WS_TABSTOP | item.style,
                      item.rect, id++);
        return t;
    }
    int m_count;
};

// A sheet that records where its notification icon's menu would be tracked.
class CTestCoolSheet : public CCoolPropertySheet {
public:
    using CCoolPropertySheet::CCoolPropertySheet;
    std::vector<POINT> trackedAt;
    void TrackTrayMenu(int x, int y) override { trackedAt.push_back(POINT{x, y}); }
};

// A modeless sheet with the main window's default colours and its light towards the top left.
struct TestSheet {
    CTestCoolSheet sheet{"Skinned sheet"};
    std::vector<std::unique_ptr<CTestCoolPage>> pages;

    void Add(std::unique_ptr<CTestCoolPage> page) {
        sheet.AddPage(page.get());
        pages.push_back(std::move(page));
    }
    bool Open(DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE) {
        sheet.SetColor(CoolColors::Background, 0x504141);
        sheet.SetColor(CoolColors::Text, 0xB9B9B9);
        sheet.SetColor(CoolColors::Lum, 0xEB786E);
        sheet.SetColor(CoolColors::SelLow, 0x005AFF);
        sheet.SetColor(CoolColors::SelHigh, 0x00FF00);
        sheet.SetLightPoint(POINT{90, 60});
        if (!sheet.Create(nullptr, style)) return false;
        ::SetWindowPos(sheet.m_hWnd, HWND_TOPMOST, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        Repaint();
        return true;
    }
    void Repaint() {
        ::RedrawWindow(sheet.m_hWnd, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpPending();
    }
};

// Where a child's client area lies in its ancestor's client area.
inline POINT OffsetIn(HWND ancestor, HWND child) {
    POINT p = {0, 0};
    ::MapWindowPoints(child, ancestor, &p, 1);
    return p;
}
