#include "FakeMixerDriver.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
FakeMixerDriver* g_fake = nullptr;
FakeDevice* g_openDevice = nullptr;

HMIXER Handle() {
    return reinterpret_cast<HMIXER>(FakeMixerDriver::kHandle);
}
bool IsOurs(HMIXEROBJ object) {
    return reinterpret_cast<HMIXER>(object) == Handle();
}

template <size_t N> void Copy(char (&to)[N], const std::string& from) {
    std::strncpy(to, from.c_str(), N - 1);
}

FakeLine* FindLine(DWORD lineId) {
    if (!g_openDevice) return nullptr;
    for (FakeLine& d : g_openDevice->destinations) {
        if (d.lineId == lineId) return &d;
        for (FakeLine& s : d.sources)
            if (s.lineId == lineId) return &s;
    }
    return nullptr;
}

void Fill(const FakeLine& from, DWORD destination, DWORD source, MIXERLINEA* line) {
    line->dwDestination = destination;
    line->dwSource = source;
    line->dwLineID = from.lineId;
    line->cChannels = from.channels;
    line->cConnections = static_cast<DWORD>(from.sources.size());
    line->cControls = static_cast<DWORD>(from.controls.size());
    Copy(line->szShortName, from.shortName);
    Copy(line->szName, from.shortName + " line");
}

UINT WINAPI FakeGetNumDevs() {
    return static_cast<UINT>(g_fake->devices.size());
}

MMRESULT WINAPI FakeGetDevCaps(UINT_PTR id, LPMIXERCAPSA caps, UINT size) {
    if (id >= g_fake->devices.size() || size < sizeof(MIXERCAPSA)) return MMSYSERR_BADDEVICEID;
    const FakeDevice& device = g_fake->devices[id];
    *caps = MIXERCAPSA();
    caps->wMid = device.mid;
    caps->wPid = device.pid;
    Copy(caps->szPname, device.name);
    caps->cDestinations = static_cast<DWORD>(device.destinations.size());
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI FakeOpen(LPHMIXER handle, UINT id, DWORD_PTR callback, DWORD_PTR, DWORD flags) {
    g_fake->opened.push_back(id);
    g_fake->openFlags = flags;
    g_fake->openCallback = callback;
    if (id >= g_fake->devices.size() || g_fake->devices[id].failOpen) return MMSYSERR_ALLOCATED;
    g_openDevice = &g_fake->devices[id];
    *handle = Handle();
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI FakeClose(HMIXER handle) {
    if (handle != Handle()) return MMSYSERR_INVALHANDLE;
    ++g_fake->closes;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI FakeGetLineInfo(HMIXEROBJ object, LPMIXERLINEA line, DWORD flags) {
    if (!IsOurs(object) || line->cbStruct != sizeof(MIXERLINEA)) return MMSYSERR_INVALPARAM;
    auto& destinations = g_openDevice->destinations;
    if (line->dwDestination >= destinations.size()) return MIXERR_INVALLINE;
    const FakeLine& destination = destinations[line->dwDestination];
    if (flags == MIXER_GETLINEINFOF_DESTINATION) {
        Fill(destination, line->dwDestination, 0, line);
        return MMSYSERR_NOERROR;
    }
    if (flags != MIXER_GETLINEINFOF_SOURCE || line->dwSource >= destination.sources.size())
        return MIXERR_INVALLINE;
    Fill(destination.sources[line->dwSource], line->dwDestination, line->dwSource, line);
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI FakeGetLineControls(HMIXEROBJ object, LPMIXERLINECONTROLSA request, DWORD flags) {
    FakeLine* line = FindLine(request->dwLineID);
    if (!IsOurs(object) || flags != MIXER_GETLINECONTROLSF_ALL || !line ||
        request->cbmxctrl != sizeof(MIXERCONTROLA) || request->cControls != line->controls.size())
        return MMSYSERR_INVALPARAM;
    for (size_t k = 0; k < line->controls.size(); ++k) {
        const FakeControl& c = line->controls[k];
        MIXERCONTROLA& out = request->pamxctrl[k];
        out.dwControlID = c.id;
        out.dwControlType = c.type;
        out.fdwControl = c.flags;
        out.cMultipleItems = c.items;
        std::snprintf(out.szName, sizeof(out.szName), "Control %lX", (unsigned long)c.id);
        std::snprintf(out.szShortName, sizeof(out.szShortName), "C%lX", (unsigned long)c.id);
        out.Bounds.dwMinimum = c.minimum;
        out.Bounds.dwMaximum = c.maximum;
        out.Metrics.cSteps = c.steps;
    }
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI FakeGetDetails(HMIXEROBJ object, LPMIXERCONTROLDETAILS details, DWORD flags) {
    ++g_fake->getDetails;
    FakeControl* control = g_fake->Find(details->dwControlID);
    if (!IsOurs(object) || !control || g_fake->failDetails) return MMSYSERR_ERROR;
    if (flags == MIXER_GETCONTROLDETAILSF_LISTTEXT) {
        auto* texts = static_cast<MIXERCONTROLDETAILS_LISTTEXTA*>(details->paDetails);
        for (size_t i = 0; i < control->texts.size(); ++i)
            Copy(texts[i].szName, control->texts[i]);
        return MMSYSERR_NOERROR;
    }
    std::copy(control->values.begin(), control->values.end(),
              static_cast<DWORD*>(details->paDetails));
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI FakeSetDetails(HMIXEROBJ object, LPMIXERCONTROLDETAILS details, DWORD) {
    ++g_fake->setDetails;
    FakeControl* control = g_fake->Find(details->dwControlID);
    if (!IsOurs(object) || !control || g_fake->failDetails) return MMSYSERR_ERROR;
    g_fake->lastSet = *details;
    const DWORD* values = static_cast<const DWORD*>(details->paDetails);
    DWORD count = details->cChannels * (details->cMultipleItems ? details->cMultipleItems : 1);
    g_fake->lastSetValues.assign(values, values + count);
    control->values.assign(values, values + count);
    return MMSYSERR_NOERROR;
}
} // namespace

FakeMixerDriver::FakeMixerDriver()
    : m_api{&FakeGetNumDevs,  &FakeGetDevCaps,      &FakeOpen,       &FakeClose,
            &FakeGetLineInfo, &FakeGetLineControls, &FakeGetDetails, &FakeSetDetails} {
    g_fake = this;
    g_openDevice = nullptr;
    InstallMixerApi(&m_api);
}

FakeMixerDriver::~FakeMixerDriver() {
    InstallMixerApi(nullptr);
    g_fake = nullptr;
    g_openDevice = nullptr;
}

FakeControl* FakeMixerDriver::Find(DWORD controlId) {
    if (!g_openDevice) return nullptr;
    auto search = [controlId](FakeLine& line) -> FakeControl* {
        for (FakeControl& c : line.controls)
            if (c.id == controlId) return &c;
        return nullptr;
    };
    for (FakeLine& d : g_openDevice->destinations) {
        if (FakeControl* c = search(d)) return c;
        for (FakeLine& s : d.sources)
            if (FakeControl* c = search(s)) return c;
    }
    return nullptr;
}
