// The eight winmm mixer functions, called through one table so that the program can run
// against another mixer driver. The table is bound to winmm by default; when the environment
// variable QUENDA_MIXER_DRIVER names a DLL that loads and exports all eight functions under
// their winmm names, it is bound to that DLL instead. Tests may install a table of their own.
#pragma once

#include "Platform.h"

#include <mmsystem.h>

struct MixerApi {
    UINT(WINAPI* GetNumDevs)();
    MMRESULT(WINAPI* GetDevCapsA)(UINT_PTR deviceId, LPMIXERCAPSA caps, UINT capsSize);
    MMRESULT(WINAPI* Open)
    (LPHMIXER handle, UINT deviceId, DWORD_PTR callback, DWORD_PTR instance, DWORD flags);
    MMRESULT(WINAPI* Close)(HMIXER handle);
    MMRESULT(WINAPI* GetLineInfoA)(HMIXEROBJ object, LPMIXERLINEA line, DWORD flags);
    MMRESULT(WINAPI* GetLineControlsA)
    (HMIXEROBJ object, LPMIXERLINECONTROLSA controls, DWORD flags);
    MMRESULT(WINAPI* GetControlDetailsA)
    (HMIXEROBJ object, LPMIXERCONTROLDETAILS details, DWORD flags);
    MMRESULT(WINAPI* SetControlDetails)
    (HMIXEROBJ object, LPMIXERCONTROLDETAILS details, DWORD flags);
};

// Name of the environment variable that selects a mixer driver DLL.
constexpr const char* kMixerDriverVariable = "QUENDA_MIXER_DRIVER";

// The table every mixer call goes through. Bound on first use: an installed table, else the
// driver named by QUENDA_MIXER_DRIVER, else winmm.
const MixerApi& CurrentMixerApi();

// The table bound to winmm itself.
const MixerApi& WinmmMixerApi();

// Binds *api to the eight exports of the DLL at path. The DLL stays loaded on success; on
// failure (the DLL does not load, or lacks one of the functions) *api is left untouched and
// the result is false.
bool LoadMixerApi(const char* path, MixerApi* api);

// Makes api the current table (the caller keeps it alive). Null drops an installed table; the
// next CurrentMixerApi() then binds afresh from the environment.
void InstallMixerApi(const MixerApi* api);
