// The DLL's exports: the eight winmm mixer functions with winmm's signatures (exported under
// winmm's names by quendasim.def), and QuendaSimReset and QuendaSimStateInMemory for the
// control program.
#include "SimMixer.h"
#include "SimState.h"

extern "C" {

UINT WINAPI SimMixerGetNumDevs() {
    return CSimMixer::GetNumDevs();
}

MMRESULT WINAPI SimMixerGetDevCapsA(UINT_PTR deviceId, LPMIXERCAPSA caps, UINT capsSize) {
    return CSimMixer::GetDevCaps(deviceId, caps, capsSize);
}

MMRESULT WINAPI SimMixerOpen(LPHMIXER handle, UINT deviceId, DWORD_PTR callback, DWORD_PTR instance,
                             DWORD flags) {
    return CSimMixer::Open(handle, deviceId, callback, instance, flags);
}

MMRESULT WINAPI SimMixerClose(HMIXER handle) {
    return CSimMixer::Close(handle);
}

MMRESULT WINAPI SimMixerGetLineInfoA(HMIXEROBJ object, LPMIXERLINEA line, DWORD flags) {
    return CSimMixer::GetLineInfo(object, line, flags);
}

MMRESULT WINAPI SimMixerGetLineControlsA(HMIXEROBJ object, LPMIXERLINECONTROLSA controls,
                                         DWORD flags) {
    return CSimMixer::GetLineControls(object, controls, flags);
}

MMRESULT WINAPI SimMixerGetControlDetailsA(HMIXEROBJ object, LPMIXERCONTROLDETAILS details,
                                           DWORD flags) {
    return CSimMixer::GetControlDetails(object, details, flags);
}

MMRESULT WINAPI SimMixerSetControlDetails(HMIXEROBJ object, LPMIXERCONTROLDETAILS details,
                                          DWORD flags) {
    return CSimMixer::SetControlDetails(object, details, flags);
}

MMRESULT WINAPI QuendaSimReset() {
    return CSimMixer::Reset();
}

// 1 when the card's state could not be kept in its state file and lives in memory only, for
// as long as some process has the card loaded; 0 when the file holds it (or there is no card).
UINT WINAPI QuendaSimStateInMemory() {
    CSimState* state = CSimState::Get();
    return state && !state->IsFileBacked() ? 1 : 0;
}
}
