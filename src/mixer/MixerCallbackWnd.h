// The hidden window "wss cb" that receives the driver's change messages for a CMixerDevice
// and carries its meter polling timer.
#pragma once

#include "Wnd.h"

class CMixerDevice;

class CMixerCallbackWnd : public CWnd {
public:
    explicit CMixerCallbackWnd(CMixerDevice* device) : m_device(device) {}

    // Creates the window: the framework's default class, title "wss cb", an overlapped
    // window that is never shown.
    bool Create();
    CMixerDevice* GetDevice() const { return m_device; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnControlChange(WPARAM handle, LPARAM controlId);

    CMixerDevice* m_device;
};
