// The start-up benchmark's yardstick: a plain modeless property sheet of the common controls
// with the control panel's six page templates, no skin and no card. It runs until its window
// is closed.
#include "Platform.h"

#include <commctrl.h>

#include "../src/res/resource.h"

namespace {
INT_PTR CALLBACK PageProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    const UINT templates[] = {IDD_VOLUME_PAGE,   IDD_SOURCES_PAGE, IDD_RECORD_PAGE,
                              IDD_SPEAKERS_PAGE, IDD_SPDIF_PAGE,   IDD_MISC_PAGE};
    PROPSHEETPAGEA pages[6] = {};
    for (int i = 0; i < 6; ++i) {
        pages[i].dwSize = sizeof(pages[i]);
        pages[i].hInstance = instance;
        pages[i].pszTemplate = MAKEINTRESOURCEA(templates[i]);
        pages[i].pfnDlgProc = PageProc;
    }
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_NOAPPLYNOW;
    header.hInstance = instance;
    header.pszCaption = "Baseline Sheet";
    header.nPages = 6;
    header.ppsp = pages;
    HWND sheet = reinterpret_cast<HWND>(::PropertySheetA(&header));
    if (!sheet) return 1;
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!PropSheet_IsDialogMessage(sheet, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (!PropSheet_GetCurrentPageHwnd(sheet)) break; // closed
    }
    ::DestroyWindow(sheet);
    return 0;
}
