#include "FastPath.h"

#include "Wnd.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// A message of the check on its way along the full route: where it must end, and whether it
// arrived there unchanged.
struct Probe {
    FastPathStop stop;
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool arrived;
    Probe* outer;
};

thread_local Probe* t_probe = nullptr;
// The child that is being handed a series of messages right now (one UI thread).
HWND g_handOverTarget = nullptr;

bool ChecksFromStart() {
#ifndef NDEBUG
    return true;
#else
    const char* value = std::getenv("QUENDA_CHECK_FAST_PATHS");
    return value && value[0] == '1' && value[1] == '\0';
#endif
}

bool& ChecksOn() {
    static bool on = ChecksFromStart();
    return on;
}

void EndProgram(const std::string& description) {
    const std::string line = "fast path check failed: " + description + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    ::OutputDebugStringA(line.c_str());
    std::abort();
}

FastPathReport g_report = &EndProgram;

std::string ClassName(HWND window) {
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof(name));
    return name;
}

// Sends the message along the full route as a probe that ends at stop; reports when it did not
// arrive there unchanged. Only windows of this thread bound to an object that receives messages
// are checked: elsewhere the shortcut leaves out nothing of ours.
void Check(FastPathStop stop, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!ChecksOn() || ::GetWindowThreadProcessId(window, nullptr) != ::GetCurrentThreadId())
        return;
    CWnd* wnd = CWnd::FromHandle(window);
    if (!wnd || wnd->m_hWnd != window || wnd->GetRoute() == CWnd::Route::None) return;
    Probe probe = {stop, window, message, wParam, lParam, false, t_probe};
    t_probe = &probe;
    ::SendMessageA(window, message, wParam, lParam);
    t_probe = probe.outer;
    if (probe.arrived) return;
    char text[160];
    std::snprintf(text, sizeof(text), "message 0x%04X to a \"%s\" window was handled on the way %s",
                  message, ClassName(window).c_str(),
                  stop == FastPathStop::Entry ? "to the object's WindowProc"
                                              : "through the WindowProc chain");
    g_report(text);
}

} // namespace

LRESULT AskClassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto procedure = reinterpret_cast<WNDPROC>(::GetClassLongPtrA(window, GCLP_WNDPROC));
    if (!procedure) return ::SendMessageA(window, message, wParam, lParam);
    const LRESULT answer = ::CallWindowProcA(procedure, window, message, wParam, lParam);
    Check(FastPathStop::WindowProcBase, window, message, wParam, lParam);
    return answer;
}

HFONT ClassFont(HWND window) {
    return reinterpret_cast<HFONT>(AskClassProcedure(window, WM_GETFONT));
}

std::string ClassText(HWND window) {
    const LRESULT length = AskClassProcedure(window, WM_GETTEXTLENGTH);
    if (length <= 0) return std::string();
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    const LRESULT got = AskClassProcedure(window, WM_GETTEXT, buffer.size(),
                                          reinterpret_cast<LPARAM>(buffer.data()));
    return std::string(buffer.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

bool CallWindowObject(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                      bool (*accepts)(CWnd&), LRESULT* result) {
    CWnd* wnd = CWnd::FromHandle(window);
    if (!wnd || wnd->m_hWnd != window || wnd->GetRoute() == CWnd::Route::None ||
        (accepts && !accepts(*wnd)) ||
        ::GetWindowThreadProcessId(window, nullptr) != ::GetCurrentThreadId())
        return false;
    LRESULT answer = 0;
    try {
        answer = wnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        // As through the system: nothing thrown by a handler goes further.
        answer = 0;
    }
    Check(FastPathStop::Entry, window, message, wParam, lParam);
    if (result) *result = answer;
    return true;
}

HWND BeginHandOver(HWND target) {
    const HWND outer = g_handOverTarget;
    g_handOverTarget = target;
    return outer;
}

void EndHandOver(HWND outer) {
    g_handOverTarget = outer;
}

bool HandOverContinues(HWND window) {
    return window && window == g_handOverTarget;
}

bool FastPathProbeEnds(FastPathStop where, HWND window, UINT message, WPARAM wParam,
                       LPARAM lParam) {
    Probe* probe = t_probe;
    if (!probe || probe->stop != where || probe->window != window || probe->message != message ||
        probe->wParam != wParam || probe->lParam != lParam || probe->arrived)
        return false;
    probe->arrived = true;
    return true;
}

bool FastPathChecksOn() {
    return ChecksOn();
}

bool SetFastPathChecks(bool on) {
    const bool was = ChecksOn();
    ChecksOn() = on;
    return was;
}

FastPathReport SetFastPathReport(FastPathReport report) {
    const FastPathReport previous = g_report;
    g_report = report ? report : &EndProgram;
    return previous;
}
