// Shortcuts past the system's message dispatch, with the rule they rely on and its check.
//
// A message sent to a window travels through user32 and the window's subclass chain, which
// under Wine costs some 25 microseconds against about one for the answer itself. Painting the
// skinned controls asks thousands of questions and a starting main window hands several hundred
// scheme messages down, so three shortcuts take a message straight to where it would arrive:
//
//  1. AskClassProcedure: a question goes to the window class's own procedure, past the
//     subclass chain and so past the window's object.
//  2. CallWindowObject: a message for a window of this thread that is bound to one of our
//     objects goes to the object's WindowProc by a plain call, past the system's dispatch, the
//     subclass chain and our entry point.
//  3. The hand-over: while a parent hands a series of messages to one child, the child may put
//     off work that the series' last message, delivered after the hand-over, does anyway
//     (HandOverContinues).
//
// The rule: a shortcut leaves out only what does not handle its message. A question for the
// class procedure is one that none of our window classes handles: it falls through every
// WindowProc to CWnd::WindowProc unchanged. A direct call carries a message that reaches the
// object's WindowProc unchanged along the full route: nothing in the subclass chain and no
// reflection at our entry point takes it. A hand-over leaves out no message: what a child puts
// off is done at the series' last message, which the parent sends after EndHandOver.
//
// The check: in debug builds, and in any build where the environment variable
// QUENDA_CHECK_FAST_PATHS is 1 (the tests set it), each shortcut taken also sends its message
// along the full route as a probe, which stops where the shortcut arrives (CWnd::WindowProc for
// a question, our entry point for a direct call) and goes no further. A probe that does not
// arrive there with its message unchanged was handled on the way: the check reports it, so a
// later override that answers such a message can never be skipped silently. (An override that
// only looks at the message and passes it on goes unseen: it must not rely on seeing it.)
#pragma once

#include "Platform.h"

#include <string>

class CWnd;

// Shortcut 1: the answer of the window class's procedure (a plain send when there is none).
LRESULT AskClassProcedure(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Questions of the skinned controls' painting, answered by the class procedure.
HFONT ClassFont(HWND window);
std::string ClassText(HWND window);

// Shortcut 2: a direct call of the WindowProc of the object bound to window, when the window
// belongs to this thread and the object is one that accepts (an object's kind decides whether
// the call gains anything). False, with nothing done, otherwise. Nothing thrown goes further.
bool CallWindowObject(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                      bool (*accepts)(CWnd&), LRESULT* result);

// Shortcut 3: BeginHandOver marks target as receiving a series of messages from its parent and
// returns the target of the hand-over it interrupts; EndHandOver(that) ends the series before
// its last message. HandOverContinues: window receives a series and more of it is to come.
HWND BeginHandOver(HWND target);
void EndHandOver(HWND outer);
bool HandOverContinues(HWND window);

// The check. Where a probe stops: the framework's entry point (CWnd's window and subclass
// procedures) and the bottom of the WindowProc chain call this with the message they got; true
// means it was a probe of the check that ends here, and the caller returns 0 at once.
enum class FastPathStop { Entry, WindowProcBase };
bool FastPathProbeEnds(FastPathStop where, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Whether shortcuts are checked (debug builds, QUENDA_CHECK_FAST_PATHS=1) and switching it for
// a test. Returns the previous setting.
bool FastPathChecksOn();
bool SetFastPathChecks(bool on);
// What a failed check does with its description: by default it is written to the standard
// error and the debugger, and the program ends. A test may install its own. Returns the
// previous one.
using FastPathReport = void (*)(const std::string& description);
FastPathReport SetFastPathReport(FastPathReport report);
