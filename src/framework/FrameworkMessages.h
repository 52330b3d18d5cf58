// Messages of the class library that windows and controls exchange, with their fixed numbers,
// and the way a control reaches the program's main window.
#pragma once

#include "Platform.h"

// Shows the prompt of a command or control in the main window's status bar: wParam the
// identifier whose string is shown, 0 for the empty prompt; lParam 0 (or a text pointer).
constexpr UINT WM_SETMESSAGESTRING = 0x362;
// Sent to the top-level windows of the program when the application is activated.
constexpr UINT WM_ACTIVATETOPLEVEL = 0x36E;
// The control identifier of a frame's status bar.
constexpr UINT kStatusBarId = 0xE801;

// The application's main window, or null when there is none (no application object, or no
// main window yet).
HWND GetMainWindow();

// Sends the status prompt for an identifier (0: the empty prompt) to the main window; nothing
// happens without one.
void SendStatusPrompt(UINT id);
