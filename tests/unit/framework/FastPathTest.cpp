#include "FastPath.h"
#include "Platform.h"
#include "Wnd.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT WM_ANSWERED = WM_APP + 7;

std::vector<std::string> g_reports;
void Record(const std::string& description) {
    g_reports.push_back(description);
}

// Checks on and failures recorded for the test's duration.
class FastPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_reports.clear();
        m_wasOn = SetFastPathChecks(true);
        m_previous = SetFastPathReport(&Record);
    }
    void TearDown() override {
        SetFastPathReport(m_previous);
        SetFastPathChecks(m_wasOn);
    }

private:
    bool m_wasOn = false;
    FastPathReport m_previous = nullptr;
};

// A button whose object answers the text length itself (a later override) and counts what its
// own message reaches it.
class CCountingButton : public CWnd {
public:
    int answered = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_GETTEXTLENGTH) return 99;
        if (message == WM_ANSWERED) return ++answered;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// Something else in the subclass chain that takes WM_ANSWERED before the object sees it.
LRESULT CALLBACK Swallow(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                         DWORD_PTR) {
    if (message == WM_ANSWERED) return -1;
    return ::DefSubclassProc(window, message, wParam, lParam);
}

TEST_F(FastPathTest, AShortcutPastAHandlerOfOursIsReportedAndOneThatSkipsNothingIsNot) {
    CCountingButton button;
    ASSERT_TRUE(button.CreateEx(0, "BUTTON", "seven", WS_POPUP, CRect(0, 0, 80, 20), nullptr, 0));

    // The class procedure knows five characters; the object would have said 99.
    EXPECT_EQ(AskClassProcedure(button, WM_GETTEXTLENGTH), 5);
    ASSERT_EQ(g_reports.size(), 1u);
    EXPECT_NE(g_reports[0].find("0x000E"), std::string::npos) << g_reports[0];
    g_reports.clear();
    EXPECT_EQ(AskClassProcedure(button, WM_GETFONT), ::SendMessageA(button, WM_GETFONT, 0, 0));
    EXPECT_TRUE(g_reports.empty());

    // The direct call reaches the handler once (the check's probe stops before it) ...
    LRESULT result = 0;
    ASSERT_TRUE(CallWindowObject(button, WM_ANSWERED, 0, 0, nullptr, &result));
    EXPECT_EQ(result, 1);
    EXPECT_EQ(button.answered, 1);
    EXPECT_TRUE(g_reports.empty());
    // ... and is reported once the full route would not have reached it.
    ASSERT_TRUE(::SetWindowSubclass(button, &Swallow, 1, 0));
    ASSERT_TRUE(CallWindowObject(button, WM_ANSWERED, 0, 0, nullptr, &result));
    EXPECT_EQ(button.answered, 2);
    EXPECT_EQ(g_reports.size(), 1u);
    ::RemoveWindowSubclass(button, &Swallow, 1);
}

} // namespace
