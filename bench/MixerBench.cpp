// Mixer benchmarks against the simulated card, as time per operation:
//   open      - construct a mixer object, Open the whole simulated tree, destroy it
//   reopen    - Open again on the same object (the tree is read afresh)
//   roundtrip - write a stereo volume and read it back (two driver calls)
// Usage: mixer_bench [opens] [roundtrips]. Runs against a private state file of its own.
#include "BenchState.h"
#include "AppMessageBox.h"
#include "MixerApi.h"
#include "MixerDevice.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {
double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) / double(frequency.QuadPart);
}

void Report(const char* what, int operations, double seconds) {
    std::printf("%-10s %10.1f us/op  (%d ops, %.3f s)\n", what, seconds * 1e6 / operations,
                operations, seconds);
}

DWORD FirstVolume(CMixer& mixer) {
    MixerControlRecord* record = nullptr;
    for (int k = 0; mixer.GetLineControl(0, 0, k, &record); ++k)
        if (record->control.dwControlType == MIXERCONTROL_CONTROLTYPE_VOLUME)
            return record->control.dwControlID;
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    const int opens = argc > 1 ? std::atoi(argv[1]) : 200;
    const int roundTrips = argc > 2 ? std::atoi(argv[2]) : 5000;
    if (opens <= 0 || roundTrips <= 0) {
        std::fprintf(stderr, "usage: mixer_bench [opens] [roundtrips]\n");
        return 2;
    }
    char driver[MAX_PATH];
    if (!::GetEnvironmentVariableA(kMixerDriverVariable, driver, sizeof(driver)))
        ::SetEnvironmentVariableA(kMixerDriverVariable, "quendasim.dll");
    const CBenchState state;
    InstallMixerApi(nullptr);
    SetMessageBoxHook([](HWND, const std::string& text, const std::string&, UINT) {
        std::fprintf(stderr, "%s\n", text.c_str());
        return IDOK;
    });

    double start = Now();
    for (int i = 0; i < opens; ++i) {
        auto mixer = std::make_unique<CMixerDevice>();
        if (!mixer->Open("Quenda Wave", 1, 104)) return 1;
    }
    Report("open", opens, Now() - start);

    CMixerDevice mixer;
    if (!mixer.Open("Quenda Wave", 1, 104)) return 1;
    start = Now();
    for (int i = 0; i < opens; ++i)
        if (!mixer.Open("Quenda Wave", 1, 104)) return 1;
    Report("reopen", opens, Now() - start);

    const DWORD volume = FirstVolume(mixer);
    if (!volume) return 1;
    start = Now();
    for (int i = 0; i < roundTrips; ++i) {
        DWORD level = (i & 1) ? 20000 : 40000, left = 0, right = 0;
        if (!mixer.SetStereo(volume, level, level) || !mixer.GetStereo(volume, &left, &right))
            return 1;
    }
    Report("roundtrip", roundTrips, Now() - start);
    return 0;
}
