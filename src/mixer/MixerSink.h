// The interface of everything bound to one mixer control (sliders, switches, multiplexers).
// The device calls only OnMixerChange; Exchange and Bind belong to the bound control itself.
#pragma once

#include "Platform.h"

class CMixerSink {
public:
    virtual ~CMixerSink() = default;

    // The control controlId changed. refresh is 1 when the change comes from a preset file
    // (bounds and flags may have changed too), 0 for a change message or the meter timer.
    virtual void OnMixerChange(DWORD controlId, int refresh) = 0;
    // Moves values between the mixer and the window: non-zero = mixer to window,
    // 0 = window to mixer.
    virtual int Exchange(int direction) = 0;
    // Binds the control to its mixer control; the base has nothing to bind.
    virtual int Bind() { return 1; }
};
