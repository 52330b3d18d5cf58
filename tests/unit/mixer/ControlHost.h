// A top-level window that parents mixer-bound controls in tests: it records the WM_NOTIFY
// records and commands its children send, and answers the skin's background questions with
// marker values.
#pragma once

#include "CoolColors.h"
#include "Wnd.h"

#include <vector>

class ControlHost : public CWnd {
public:
    struct Notify {
        WPARAM wParam;
        NMHDR header;
        WORD lineId;
        DWORD controlId;
    };
    std::vector<Notify> notifies;
    std::vector<WPARAM> commands;
    CCoolBitmap* background = reinterpret_cast<CCoolBitmap*>(0x1234);
    RECT screen = {1, 2, 3, 4};

    explicit ControlHost(int width = 400, int height = 300) {
        CreateEx(WS_EX_TOPMOST, nullptr, "mixer control host", WS_POPUP | WS_VISIBLE,
                 CRect(20, 20, 20 + width, 20 + height), nullptr, 0);
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_NOTIFY: {
            const BYTE* record = reinterpret_cast<const BYTE*>(lParam);
            Notify n = {wParam, *reinterpret_cast<const NMHDR*>(record), 0, 0};
            n.lineId = *reinterpret_cast<const WORD*>(record + sizeof(NMHDR));
            n.controlId = *reinterpret_cast<const DWORD*>(record + sizeof(NMHDR) + 4);
            notifies.push_back(n);
            return 0;
        }
        case WM_COMMAND:
            commands.push_back(wParam);
            return 0;
        case WM_COOL_GETBKBITMAP:
            if (!lParam) return 0;
            *reinterpret_cast<CCoolBitmap**>(lParam) = background;
            return 1;
        case WM_COOL_GETSCREENRECT:
            if (!lParam) return 0;
            *reinterpret_cast<RECT*>(lParam) = screen;
            return 1;
        default:
            return CWnd::WindowProc(message, wParam, lParam);
        }
    }
};
