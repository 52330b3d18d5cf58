#include "MixerCallbackWnd.h"

#include "MixerDevice.h"

bool CMixerCallbackWnd::Create() {
    return CreateEx(0, nullptr, "wss cb", WS_OVERLAPPEDWINDOW, CRect(0, 0, 0, 0), nullptr, 0);
}

LRESULT CMixerCallbackWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case MM_MIXM_CONTROL_CHANGE:
        return OnControlChange(wParam, lParam);
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

LRESULT CMixerCallbackWnd::OnControlChange(WPARAM handle, LPARAM controlId) {
    // Only changes for the device's own handle count; a message carrying another handle is
    // handled like any other message.
    HMIXER own = m_device->GetHandle();
    if (!own || reinterpret_cast<HMIXER>(handle) != own)
        return DefWindowProc(MM_MIXM_CONTROL_CHANGE, handle, controlId);
    m_device->NotifyListeners(static_cast<DWORD>(controlId), 0);
    return 0;
}
