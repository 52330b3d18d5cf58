#include "Platform.h"
#include "Pump.h"
#include "Wnd.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

constexpr UINT WM_PROBE = WM_APP + 1;

// Records the messages it sees.
class CProbeWnd : public CWnd {
public:
    std::vector<UINT> seen;
    int probes = 0;
    int timerTicks = 0;
    bool throwOnProbe = false;
    bool destroyedCalled = false;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(message);
        switch (message) {
        case WM_PROBE:
            return OnProbe(wParam);
        case WM_TIMER:
            ++timerTicks;
            return 0;
        case WM_DESTROY:
            destroyedCalled = true;
            break;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    LRESULT OnProbe(WPARAM wParam) {
        ++probes;
        if (throwOnProbe) throw std::runtime_error("handler failed");
        return static_cast<LRESULT>(wParam) * 2;
    }
};

// A control that takes every notification its parent reflects, answering with the message
// number so that the caller can tell who answered.
class CReflectingChild : public CWnd {
public:
    std::vector<UINT> taken;
    bool OnChildNotify(UINT message, WPARAM, LPARAM, LRESULT* result) override {
        taken.push_back(message);
        *result = static_cast<LRESULT>(message) + 100000;
        return true;
    }
};

std::unique_ptr<CProbeWnd> MakeTopLevel() {
    auto wnd = std::make_unique<CProbeWnd>();
    EXPECT_TRUE(
        wnd->CreateEx(0, nullptr, "probe", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 100), nullptr, 0));
    return wnd;
}

TEST(Wnd, MessagesReachTheirObjectAndLookupFindsIt) {
    auto a = MakeTopLevel();
    auto b = MakeTopLevel();
    ASSERT_NE(a->m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandle(a->m_hWnd), a.get());
    EXPECT_EQ(CWnd::FromHandle(b->m_hWnd), b.get());
    EXPECT_EQ(::SendMessageA(a->m_hWnd, WM_PROBE, 21, 0), 42);
    EXPECT_EQ(a->probes, 1);
    EXPECT_EQ(b->probes, 0);
    // Creation messages arrive at the object too, from WM_NCCREATE on.
    EXPECT_EQ(a->seen.front(), static_cast<UINT>(WM_NCCREATE));
}

// Sends each reflected message kind to parent as if from sender (a control with that id).
std::vector<UINT> SendEveryKind(HWND parent, HWND sender, UINT id, std::vector<LRESULT>* results) {
    const LPARAM from = reinterpret_cast<LPARAM>(sender);
    NMHDR header = {sender, id, NM_CLICK};
    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_BUTTON;
    draw.CtlID = id;
    draw.hwndItem = sender;
    MEASUREITEMSTRUCT measure = {};
    measure.CtlType = ODT_LISTBOX;
    measure.CtlID = id;
    COMPAREITEMSTRUCT compare = {};
    compare.CtlType = ODT_LISTBOX;
    compare.CtlID = id;
    compare.hwndItem = sender;
    DELETEITEMSTRUCT del = {};
    del.CtlType = ODT_LISTBOX;
    del.CtlID = id;
    del.hwndItem = sender;
    HDC dc = ::GetDC(parent);
    const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    } kinds[] = {
        {WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), from},
        {WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header)},
        {WM_DRAWITEM, id, reinterpret_cast<LPARAM>(&draw)},
        {WM_MEASUREITEM, id, reinterpret_cast<LPARAM>(&measure)},
        {WM_COMPAREITEM, id, reinterpret_cast<LPARAM>(&compare)},
        {WM_DELETEITEM, id, reinterpret_cast<LPARAM>(&del)},
        {WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), from},
        {WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), from},
        {WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), from},
        {WM_HSCROLL, SB_LINEDOWN, from},
        {WM_VSCROLL, SB_LINEUP, from},
    };
    std::vector<UINT> sent;
    for (const auto& kind : kinds) {
        sent.push_back(kind.message);
        results->push_back(::SendMessageA(parent, kind.message, kind.wParam, kind.lParam));
    }
    ::ReleaseDC(parent, dc);
    return sent;
}

TEST(Wnd, EveryNotificationKindIsReflectedToTheChildObjectOnly) {
    auto parent = MakeTopLevel();
    CReflectingChild child;
    ASSERT_TRUE(child.Create("BUTTON", "child", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20),
                             parent->m_hWnd, 1001));
    std::vector<LRESULT> results;
    const std::vector<UINT> sent = SendEveryKind(parent->m_hWnd, child.m_hWnd, 1001, &results);
    EXPECT_EQ(child.taken, sent);
    for (size_t i = 0; i < sent.size(); ++i)
        EXPECT_EQ(results[i], static_cast<LRESULT>(sent[i]) + 100000) << "message " << sent[i];
    // The parent did not see what the child took.
    for (UINT message : sent)
        EXPECT_EQ(std::count(parent->seen.begin(), parent->seen.end(), message), 0) << message;
}

TEST(Wnd, NotificationsFromNonChildrenReachTheReceiverItself) {
    auto parent = MakeTopLevel();
    // A window with an object that is not a child of the receiver (a sheet notifying its
    // page is one): its object must not take what it sends.
    CReflectingChild stranger;
    ASSERT_TRUE(stranger.Create("BUTTON", "stranger", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    std::vector<LRESULT> results;
    const std::vector<UINT> sent = SendEveryKind(parent->m_hWnd, stranger.m_hWnd, 7, &results);
    EXPECT_TRUE(stranger.taken.empty());
    for (UINT message : sent)
        EXPECT_EQ(std::count(parent->seen.begin(), parent->seen.end(), message), 1) << message;

    // Nor a grandchild's: only the direct parent reflects.
    CWnd middle;
    ASSERT_TRUE(middle.Create(nullptr, "middle", WS_CHILD, CRect(0, 0, 50, 50), parent->m_hWnd, 5));
    CReflectingChild grandchild;
    ASSERT_TRUE(grandchild.Create("BUTTON", "g", WS_CHILD, CRect(0, 0, 5, 5), middle.m_hWnd, 6));
    parent->seen.clear();
    ::SendMessageA(parent->m_hWnd, WM_COMMAND, MAKEWPARAM(6, BN_CLICKED),
                   reinterpret_cast<LPARAM>(grandchild.m_hWnd));
    EXPECT_TRUE(grandchild.taken.empty());

    // A child without an object leaves the notification to the parent.
    HWND plain = ::CreateWindowExA(0, "BUTTON", "plain", WS_CHILD, 0, 0, 10, 10, parent->m_hWnd,
                                   reinterpret_cast<HMENU>(1002), nullptr, nullptr);
    parent->seen.clear();
    ::SendMessageA(parent->m_hWnd, WM_COMMAND, MAKEWPARAM(1002, BN_CLICKED),
                   reinterpret_cast<LPARAM>(plain));
    EXPECT_EQ(std::count(parent->seen.begin(), parent->seen.end(), WM_COMMAND), 1);
}

TEST(Wnd, CreatedWindowsAreOwnedSubclassedAndAttachedOnesBorrowed) {
    auto parent = MakeTopLevel();
    HWND created;
    {
        CProbeWnd control;
        ASSERT_TRUE(control.Create("BUTTON", "x", WS_CHILD, CRect(0, 0, 5, 5), parent->m_hWnd, 3));
        created = control.m_hWnd;
        EXPECT_EQ(control.GetRoute(), CWnd::Route::Subclass);
        EXPECT_TRUE(control.OwnsWindow());
    }
    EXPECT_FALSE(::IsWindow(created)); // a system control the object made goes with it

    HWND borrowed = ::CreateWindowExA(0, "BUTTON", "b", WS_CHILD, 0, 0, 5, 5, parent->m_hWnd,
                                      nullptr, nullptr, nullptr);
    {
        CProbeWnd subclassed;
        ASSERT_TRUE(subclassed.SubclassWindow(borrowed));
        EXPECT_FALSE(subclassed.OwnsWindow());
    }
    {
        CWnd attached;
        ASSERT_TRUE(attached.Attach(borrowed));
        EXPECT_EQ(attached.GetRoute(), CWnd::Route::None);
        EXPECT_FALSE(attached.OwnsWindow());
    }
    EXPECT_TRUE(::IsWindow(borrowed));
    EXPECT_EQ(parent->GetRoute(), CWnd::Route::WindowData);
    EXPECT_TRUE(parent->OwnsWindow());
}

TEST(Wnd, SystemControlCreatedThroughAnObjectIsSubclassed) {
    auto parent = MakeTopLevel();
    CProbeWnd child;
    ASSERT_TRUE(child.Create("BUTTON", "x", WS_CHILD, CRect(0, 0, 5, 5), parent->m_hWnd, 3));
    EXPECT_EQ(CWnd::FromHandle(child.m_hWnd), &child);
    EXPECT_EQ(::SendMessageA(child.m_hWnd, WM_PROBE, 4, 0), 8);
    // The control's own behaviour is still there behind the object.
    child.SetWindowText("label");
    EXPECT_EQ(child.GetWindowText(), "label");
}

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PROBE) return 1234;
    return ::DefWindowProcA(hwnd, msg, wp, lp);
}

TEST(Wnd, SubclassAndUnsubclassRestoreTheOriginalProcedure) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "CountingClass";
    ::RegisterClassA(&wc);
    HWND window = ::CreateWindowExA(0, "CountingClass", "c", WS_POPUP, 0, 0, 10, 10, nullptr,
                                    nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    const LONG_PTR before = ::GetWindowLongPtrA(window, GWLP_WNDPROC);

    {
        CProbeWnd wnd;
        ASSERT_TRUE(wnd.SubclassWindow(window));
        EXPECT_EQ(CWnd::FromHandle(window), &wnd);
        EXPECT_EQ(::SendMessageA(window, WM_PROBE, 5, 0), 10);
        // A second object cannot take a window that is already bound.
        CProbeWnd other;
        EXPECT_FALSE(other.SubclassWindow(window));
        EXPECT_EQ(wnd.UnsubclassWindow(), window);
        EXPECT_EQ(CWnd::FromHandle(window), nullptr);
        EXPECT_EQ(::SendMessageA(window, WM_PROBE, 5, 0), 1234);
        EXPECT_EQ(wnd.probes, 1);

        // Subclassed again and dropped with the object: the window lives on, unbound.
        ASSERT_TRUE(wnd.SubclassWindow(window));
    }
    EXPECT_TRUE(::IsWindow(window));
    EXPECT_EQ(CWnd::FromHandle(window), nullptr);
    EXPECT_EQ(::SendMessageA(window, WM_PROBE, 5, 0), 1234);
    EXPECT_EQ(::GetWindowLongPtrA(window, GWLP_WNDPROC), before);
    ::DestroyWindow(window);
}

LRESULT CALLBACK OnTopProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR seen) {
    if (message == WM_PROBE) ++*reinterpret_cast<int*>(seen);
    return ::DefSubclassProc(window, message, wParam, lParam);
}

TEST(Wnd, SubclassKeepsTheCharacterSetAndASubclassOnTop) {
    // A Unicode control keeps text the ANSI code page cannot spell; an ANSI one stays ANSI.
    HWND wide = ::CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    HWND narrow = ::CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    nullptr, nullptr);
    ASSERT_TRUE(wide && narrow);
    CProbeWnd wideWnd, narrowWnd;
    ASSERT_TRUE(wideWnd.SubclassWindow(wide));
    ASSERT_TRUE(narrowWnd.SubclassWindow(narrow));
    EXPECT_TRUE(::IsWindowUnicode(wide));
    EXPECT_FALSE(::IsWindowUnicode(narrow));
    const wchar_t text[] = L"\x65E5\x672C \x0141\x00F3d\x017A";
    ::SetWindowTextW(wide, text);
    wchar_t back[32] = {};
    ::GetWindowTextW(wide, back, 32);
    EXPECT_STREQ(text, back);

    // Another subclass comes on top; ours lets go and stays in the chain, passing messages on.
    int onTop = 0;
    ASSERT_TRUE(::SetWindowSubclass(narrow, OnTopProc, 7, reinterpret_cast<DWORD_PTR>(&onTop)));
    EXPECT_EQ(::SendMessageA(narrow, WM_PROBE, 5, 0), 10);
    EXPECT_EQ(narrowWnd.UnsubclassWindow(), narrow);
    EXPECT_EQ(::SendMessageA(narrow, WM_PROBE, 5, 0), 0);
    EXPECT_EQ(onTop, 2);
    EXPECT_EQ(narrowWnd.probes, 1);
    // It binds again to the same place, and a window destroyed under it leaves nothing behind.
    ASSERT_TRUE(narrowWnd.SubclassWindow(narrow));
    EXPECT_EQ(::SendMessageA(narrow, WM_PROBE, 5, 0), 10);
    ::DestroyWindow(narrow);
    EXPECT_EQ(narrowWnd.m_hWnd, nullptr);
    ::DestroyWindow(wide);
    EXPECT_EQ(wideWnd.m_hWnd, nullptr);
}

TEST(Wnd, LateMessagesReachNobodyOnceTheObjectIsGone) {
    auto wnd = MakeTopLevel();
    HWND window = wnd->m_hWnd;
    // Messages already queued for the window when its object goes.
    ::PostMessageA(window, WM_PROBE, 1, 0);
    wnd.reset(); // destroys the window as well
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(CWnd::FromHandle(window), nullptr);
    PumpPending(); // must not touch the freed object

    // A subclassed window whose object went first keeps working on its own procedure.
    HWND button = ::CreateWindowExA(0, "BUTTON", "b", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    nullptr, nullptr);
    auto sub = std::make_unique<CProbeWnd>();
    ASSERT_TRUE(sub->SubclassWindow(button));
    sub.reset();
    ::PostMessageA(button, WM_PROBE, 1, 0);
    PumpPending();
    ::SendMessageA(button, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("still alive"));
    char text[32] = {};
    ::GetWindowTextA(button, text, sizeof(text));
    EXPECT_STREQ(text, "still alive");
    ::DestroyWindow(button);
}

TEST(Wnd, DestroyingTheWindowUnbindsTheObject) {
    auto wnd = MakeTopLevel();
    HWND window = wnd->m_hWnd;
    EXPECT_TRUE(wnd->DestroyWindow());
    EXPECT_TRUE(wnd->destroyedCalled);
    EXPECT_EQ(wnd->m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandle(window), nullptr);
    // The object can be reused for a new window.
    EXPECT_TRUE(wnd->CreateEx(0, nullptr, "again", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
}

TEST(Wnd, TimerFiresThroughTheMessageLoop) {
    auto wnd = MakeTopLevel();
    ASSERT_NE(wnd->SetTimer(7, 10), 0u);
    EXPECT_TRUE(PumpUntil([&] { return wnd->timerTicks >= 3; }, 5000));
    EXPECT_TRUE(wnd->KillTimer(7));
}

TEST(Wnd, ExceptionInAHandlerDoesNotEscapeTheWindowProcedure) {
    auto wnd = MakeTopLevel();
    wnd->throwOnProbe = true;
    LRESULT r = -1;
    EXPECT_NO_THROW(r = ::SendMessageA(wnd->m_hWnd, WM_PROBE, 3, 0));
    EXPECT_EQ(r, 0); // the default procedure's answer to an unknown message
    EXPECT_EQ(wnd->probes, 1);
    // The window keeps working.
    wnd->throwOnProbe = false;
    EXPECT_EQ(::SendMessageA(wnd->m_hWnd, WM_PROBE, 3, 0), 6);
}

TEST(Wnd, TextAndRectangleHelpers) {
    auto wnd = MakeTopLevel();
    wnd->SetWindowText("Quenda");
    EXPECT_EQ(wnd->GetWindowText(), "Quenda");
    wnd->SetWindowText("");
    EXPECT_EQ(wnd->GetWindowText(), "");
    CRect r = wnd->GetWindowRect();
    EXPECT_EQ(r.Width(), 200);
    EXPECT_EQ(r.Height(), 100);
    EXPECT_FALSE(wnd->IsWindowVisible());
    wnd->ShowWindow(SW_SHOW);
    EXPECT_TRUE(wnd->IsWindowVisible());
    wnd->EnableWindow(false);
    EXPECT_FALSE(wnd->IsWindowEnabled());
}

} // namespace
