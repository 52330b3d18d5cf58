// The simulated card's mixer device "Quenda Wave": the winmm mixer functions answered the way
// the hardware's driver answers them, over the values in the shared state (SimState.h).
//
// One device, two destinations (playback "Master Volume" with eight sources, recording
// "Recording Control" with six). Volumes are quantised to 32 steps, the recording
// multiplexer always has exactly one item selected, and the peak meters follow what is
// "playing": a slowly varying signal on Wave, scaled by the Wave and master volumes and
// silenced by their mutes; the recording meter follows the selected source. A write that
// changes a value posts MM_MIXM_CONTROL_CHANGE to the callback window of every open handle
// in every process.
#pragma once

#include "Platform.h"

#include "SimMixerValues.h"

#include <mmsystem.h>

class CSimMixer {
public:
    static constexpr WORD kManufacturerId = 1;
    static constexpr WORD kProductId = 104;
    static constexpr DWORD kVolumeMaximum = 65535;
    static constexpr DWORD kVolumeSteps = 32;
    static constexpr DWORD kFirstRunStep = 23; // about three quarters

    // The winmm mixer functions.
    static UINT GetNumDevs();
    static MMRESULT GetDevCaps(UINT_PTR deviceId, LPMIXERCAPSA caps, UINT capsSize);
    static MMRESULT Open(LPHMIXER handle, UINT deviceId, DWORD_PTR callback, DWORD_PTR instance,
                         DWORD flags);
    static MMRESULT Close(HMIXER handle);
    static MMRESULT GetLineInfo(HMIXEROBJ object, LPMIXERLINEA line, DWORD flags);
    static MMRESULT GetLineControls(HMIXEROBJ object, LPMIXERLINECONTROLSA controls, DWORD flags);
    static MMRESULT GetControlDetails(HMIXEROBJ object, LPMIXERCONTROLDETAILS details, DWORD flags);
    static MMRESULT SetControlDetails(HMIXEROBJ object, LPMIXERCONTROLDETAILS details, DWORD flags);

    // Returns every control to its first-run value, notifying the changed ones.
    static MMRESULT Reset();

    // The first-run values, and whether a set of values is one the card could hold.
    static void FirstRun(SimMixerValues* values);
    static bool IsValid(const SimMixerValues& values);
    // The nearest of the 32 volume steps (values above the maximum count as the maximum).
    static DWORD Quantise(DWORD volume);
    // The level of one channel of a peak meter control (by control ID) at time tick (ms).
    static LONG MeterLevel(const SimMixerValues& values, DWORD controlId, DWORD channel,
                           DWORD tick);
};
