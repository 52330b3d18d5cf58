#include "MixerApi.h"

#include "UniqueHandle.h"

#include <string>

namespace {
const MixerApi* g_installed = nullptr;
bool g_bound = false;
MixerApi g_bound_api = {};

template <class F> bool Bind(HMODULE module, const char* name, F* function) {
    FARPROC address = ::GetProcAddress(module, name);
    if (!address) return false;
    *function = reinterpret_cast<F>(reinterpret_cast<void*>(address));
    return true;
}

std::string DriverFromEnvironment() {
    char buffer[MAX_PATH];
    DWORD length = ::GetEnvironmentVariableA(kMixerDriverVariable, buffer, sizeof(buffer));
    if (length == 0 || length >= sizeof(buffer)) return std::string();
    return std::string(buffer, length);
}
} // namespace

const MixerApi& WinmmMixerApi() {
    static const MixerApi api = {
        &::mixerGetNumDevs,
        &::mixerGetDevCapsA,
        &::mixerOpen,
        &::mixerClose,
        &::mixerGetLineInfoA,
        &::mixerGetLineControlsA,
        &::mixerGetControlDetailsA,
        &::mixerSetControlDetails,
    };
    return api;
}

bool LoadMixerApi(const char* path, MixerApi* api) {
    if (!path || !*path || !api) return false;
    CModuleHandle library(::LoadLibraryA(path));
    if (!library) return false;
    HMODULE module = library.Get();
    MixerApi bound = {};
    bool complete = Bind(module, "mixerGetNumDevs", &bound.GetNumDevs) &&
                    Bind(module, "mixerGetDevCapsA", &bound.GetDevCapsA) &&
                    Bind(module, "mixerOpen", &bound.Open) &&
                    Bind(module, "mixerClose", &bound.Close) &&
                    Bind(module, "mixerGetLineInfoA", &bound.GetLineInfoA) &&
                    Bind(module, "mixerGetLineControlsA", &bound.GetLineControlsA) &&
                    Bind(module, "mixerGetControlDetailsA", &bound.GetControlDetailsA) &&
                    Bind(module, "mixerSetControlDetails", &bound.SetControlDetails);
    if (!complete) return false;
    // The bound functions live in the library: it stays loaded for the rest of the run.
    library.Detach();
    *api = bound;
    return true;
}

const MixerApi& CurrentMixerApi() {
    if (g_installed) return *g_installed;
    if (!g_bound) {
        g_bound_api = WinmmMixerApi();
        std::string driver = DriverFromEnvironment();
        if (!driver.empty()) LoadMixerApi(driver.c_str(), &g_bound_api);
        g_bound = true;
    }
    return g_bound_api;
}

void InstallMixerApi(const MixerApi* api) {
    g_installed = api;
    if (!api) g_bound = false;
}
