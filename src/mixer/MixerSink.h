// The interface of everything bound to one mixer control (sliders, switches, multiplexers).
// The device calls only OnMixerChange and OnMeterRest; Exchange and Bind belong to the bound
// control itself.
#pragma once

#include "Platform.h"

#include <mmsystem.h>

class CMixer;

class CMixerSink {
public:
    CMixerSink() = default;
    CMixerSink(CMixer* mixer, DWORD lineId, DWORD controlId)
        : m_lineId(lineId), m_controlId(controlId), m_mixer(mixer) {}
    virtual ~CMixerSink() = default;

    // The control controlId changed. refresh is 1 when the change comes from a preset file
    // (bounds and flags may have changed too), 0 for a change message or the meter timer.
    virtual void OnMixerChange(DWORD controlId, int refresh) = 0;
    // The meter controlId is no longer polled (its window went out of sight): show silence.
    virtual void OnMeterRest(DWORD /*controlId*/) {}
    // Moves values between the mixer and the window: non-zero = mixer to window,
    // 0 = window to mixer.
    virtual int Exchange(int direction) = 0;
    // Binds the control to its mixer control; the base has nothing to bind.
    virtual int Bind() { return 1; }

    DWORD GetLineId() const { return m_lineId; }
    DWORD GetControlId() const { return m_controlId; }
    CMixer* GetMixer() const { return m_mixer; }
    const MIXERCONTROLA& GetControl() const { return m_control; }

protected:
    // What a bound control is bound to, and its copy of the control's description (taken
    // when it binds, taken again on a refresh).
    DWORD m_lineId = 0;
    DWORD m_controlId = 0;
    CMixer* m_mixer = nullptr;
    MIXERCONTROLA m_control = {};
};
