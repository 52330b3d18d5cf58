#include "SimMixer.h"

#include "SimState.h"
#include "UniqueHandle.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace {
const char kDeviceName[] = "Quenda Wave";
constexpr DWORD kDriverVersion = 0x0100;
constexpr DWORD kObjectTypeMask = 0xF0000000;
constexpr DWORD kQueryMask = 0x0000000F;
constexpr DWORD kMuxItems = 6;

struct LineDesc {
    DWORD destination;
    int source; // -1 for the destination line itself
    const char* name;
    const char* shortName;
    DWORD componentType;
    DWORD channels;
    DWORD lineId;
    DWORD targetType;
};

const LineDesc kLines[] = {
    {0, -1, "Master Volume", "Master", MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, 2, 0xFFFF0000,
     MIXERLINE_TARGETTYPE_WAVEOUT},
    {0, 0, "Wave", "Wave", MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, 2, 0x00000000,
     MIXERLINE_TARGETTYPE_WAVEOUT},
    {0, 1, "SW Synth", "Synth", MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER, 2, 0x00010000,
     MIXERLINE_TARGETTYPE_MIDIOUT},
    {0, 2, "Rear Line", "RearLn", MIXERLINE_COMPONENTTYPE_SRC_LINE, 2, 0x00020000,
     MIXERLINE_TARGETTYPE_UNDEFINED},
    {0, 3, "CD Audio", "CD", MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC, 2, 0x00030000,
     MIXERLINE_TARGETTYPE_UNDEFINED},
    {0, 4, "Line In", "Line", MIXERLINE_COMPONENTTYPE_SRC_LINE, 2, 0x00040000,
     MIXERLINE_TARGETTYPE_UNDEFINED},
    {0, 5, "Microphone", "Mic", MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, 1, 0x00050000,
     MIXERLINE_TARGETTYPE_UNDEFINED},
    {0, 6, "Aux", "Aux", MIXERLINE_COMPONENTTYPE_SRC_ANALOG, 2, 0x00060000,
     MIXERLINE_TARGETTYPE_UNDEFINED},
    {0, 7, "PC Speaker", "NA", MIXERLINE_COMPONENTTYPE_SRC_PCSPEAKER, 1, 0x00070000,
     MIXERLINE_TARGETTYPE_UNDEFINED},
    {1, -1, "Recording Control", "Record", MIXERLINE_COMPONENTTYPE_DST_WAVEIN, 2, 0xFFFF0001,
     MIXERLINE_TARGETTYPE_WAVEIN},
    {1, 0, "Stereo Mix", "Mix", MIXERLINE_COMPONENTTYPE_SRC_ANALOG, 2, 0x00000001,
     MIXERLINE_TARGETTYPE_UNDEFINED},
    {1, 1, "Microphone", "Mic", MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, 1, 0x00010001,
     MIXERLINE_TARGETTYPE_UNDEFINED},
    {1, 2, "CD Audio", "CD", MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC, 2, 0x00020001,
     MIXERLINE_TARGETTYPE_UNDEFINED},
    {1, 3, "Aux", "Aux", MIXERLINE_COMPONENTTYPE_SRC_ANALOG, 2, 0x00030001,
     MIXERLINE_TARGETTYPE_UNDEFINED},
    {1, 4, "Line In", "Line", MIXERLINE_COMPONENTTYPE_SRC_LINE, 2, 0x00040001,
     MIXERLINE_TARGETTYPE_UNDEFINED},
    {1, 5, "Wave", "Wave", MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED, 2, 0x00050001,
     MIXERLINE_TARGETTYPE_UNDEFINED},
};
constexpr DWORD kLineCount = sizeof(kLines) / sizeof(kLines[0]);
constexpr DWORD kRecordingDestination = 9; // line index of "Recording Control"
constexpr DWORD kFirstRecordingSource = 10;

enum class Kind { Volume, Mute, Peak, Mux };

struct ControlDesc {
    DWORD line; // index into kLines
    Kind kind;
    const char* shortName;
    const char* name;
};

// Control IDs are the index plus one: stable from run to run.
const ControlDesc kControls[kSimControlCount] = {
    {0, Kind::Volume, "Volume", "Master Volume"},
    {0, Kind::Mute, "Mute", "Master Mute"},
    {0, Kind::Peak, "Peak", "Master Peak Meter"},
    {1, Kind::Volume, "Volume", "Wave Volume"},
    {1, Kind::Mute, "Mute", "Wave Mute"},
    {1, Kind::Peak, "Peak", "Wave Peak Meter"},
    {2, Kind::Volume, "Volume", "SW Synth Volume"},
    {2, Kind::Mute, "Mute", "SW Synth Mute"},
    {3, Kind::Volume, "Volume", "Rear Line Volume"},
    {3, Kind::Mute, "Mute", "Rear Line Mute"},
    {4, Kind::Volume, "Volume", "CD Audio Volume"},
    {4, Kind::Mute, "Mute", "CD Audio Mute"},
    {5, Kind::Volume, "Volume", "Line In Volume"},
    {5, Kind::Mute, "Mute", "Line In Mute"},
    {6, Kind::Volume, "Volume", "Microphone Volume"},
    {6, Kind::Mute, "Mute", "Microphone Mute"},
    {7, Kind::Volume, "Volume", "Aux Volume"},
    {7, Kind::Mute, "Mute", "Aux Mute"},
    {9, Kind::Mux, "Mux", "Recording Source"},
    {9, Kind::Peak, "Peak", "Recording Peak Meter"},
    {10, Kind::Volume, "Volume", "Stereo Mix Record Volume"},
    {11, Kind::Volume, "Volume", "Microphone Record Volume"},
    {12, Kind::Volume, "Volume", "CD Audio Record Volume"},
    {13, Kind::Volume, "Volume", "Aux Record Volume"},
    {14, Kind::Volume, "Volume", "Line In Record Volume"},
    {15, Kind::Volume, "Volume", "Wave Record Volume"},
};

// Controls looked up by what they are, for the meters.
constexpr DWORD kMasterVolume = 1, kMasterMute = 2, kMasterPeak = 3;
constexpr DWORD kWaveVolume = 4, kWaveMute = 5, kWavePeak = 6;
constexpr DWORD kRecordMux = 19, kRecordPeak = 20;
constexpr DWORD kStereoMixRecordVolume = 21, kWaveRecordVolume = 26;

const ControlDesc* Control(DWORD id) {
    return id >= 1 && id <= kSimControlCount ? &kControls[id - 1] : nullptr;
}

DWORD ControlCount(DWORD line) {
    DWORD n = 0;
    for (const ControlDesc& c : kControls)
        n += c.line == line ? 1 : 0;
    return n;
}

DWORD SourceCount(DWORD destination) {
    DWORD n = 0;
    for (const LineDesc& l : kLines)
        n += (l.destination == destination && l.source >= 0) ? 1 : 0;
    return n;
}

int FindLine(DWORD destination, int source) {
    for (DWORD i = 0; i < kLineCount; ++i)
        if (kLines[i].destination == destination && kLines[i].source == source) return int(i);
    return -1;
}

int FindLineById(DWORD lineId) {
    for (DWORD i = 0; i < kLineCount; ++i)
        if (kLines[i].lineId == lineId) return int(i);
    return -1;
}

DWORD TypeOf(Kind kind) {
    switch (kind) {
    case Kind::Volume:
        return MIXERCONTROL_CONTROLTYPE_VOLUME;
    case Kind::Mute:
        return MIXERCONTROL_CONTROLTYPE_MUTE;
    case Kind::Peak:
        return MIXERCONTROL_CONTROLTYPE_PEAKMETER;
    case Kind::Mux:
    default:
        return MIXERCONTROL_CONTROLTYPE_MUX;
    }
}

template <size_t N> void Copy(char (&to)[N], const char* from) {
    std::strncpy(to, from, N - 1);
    to[N - 1] = '\0';
}

// Fills everything of a line description but cbStruct.
void FillLine(DWORD index, MIXERLINEA* out) {
    const LineDesc& d = kLines[index];
    MIXERLINEA line = {};
    line.cbStruct = out->cbStruct;
    line.dwDestination = d.destination;
    line.dwSource = d.source < 0 ? 0 : DWORD(d.source);
    line.dwLineID = d.lineId;
    const bool available = std::strcmp(d.shortName, "NA") != 0;
    line.fdwLine =
        (d.source >= 0 ? MIXERLINE_LINEF_SOURCE : 0) | (available ? MIXERLINE_LINEF_ACTIVE : 0);
    line.dwComponentType = d.componentType;
    line.cChannels = d.channels;
    line.cConnections = d.source < 0 ? SourceCount(d.destination) : 0;
    line.cControls = ControlCount(index);
    Copy(line.szShortName, d.shortName);
    Copy(line.szName, d.name);
    line.Target.dwType = d.targetType;
    line.Target.dwDeviceID = 0;
    line.Target.wMid = CSimMixer::kManufacturerId;
    line.Target.wPid = CSimMixer::kProductId;
    line.Target.vDriverVersion = kDriverVersion;
    if (d.targetType != MIXERLINE_TARGETTYPE_UNDEFINED) Copy(line.Target.szPname, kDeviceName);
    *out = line;
}

// Fills everything of a control description but cbStruct.
void FillControl(DWORD id, MIXERCONTROLA* out) {
    const ControlDesc& d = *Control(id);
    MIXERCONTROLA control = {};
    control.cbStruct = out->cbStruct;
    control.dwControlID = id;
    control.dwControlType = TypeOf(d.kind);
    Copy(control.szShortName, d.shortName);
    Copy(control.szName, d.name);
    switch (d.kind) {
    case Kind::Volume:
        control.Bounds.dwMinimum = 0;
        control.Bounds.dwMaximum = CSimMixer::kVolumeMaximum;
        control.Metrics.cSteps = CSimMixer::kVolumeSteps;
        break;
    case Kind::Mute:
        control.fdwControl = MIXERCONTROL_CONTROLF_UNIFORM;
        control.Bounds.dwMinimum = 0;
        control.Bounds.dwMaximum = 1;
        break;
    case Kind::Peak:
        control.Bounds.lMinimum = -32768;
        control.Bounds.lMaximum = 32767;
        break;
    case Kind::Mux:
        control.fdwControl = MIXERCONTROL_CONTROLF_UNIFORM | MIXERCONTROL_CONTROLF_MULTIPLE;
        control.cMultipleItems = kMuxItems;
        control.Bounds.dwMinimum = 0;
        control.Bounds.dwMaximum = 1;
        break;
    }
    *out = control;
}

// ---- handles ---------------------------------------------------------------------------

DWORD HandleValue(const void* handle) {
    return static_cast<DWORD>(reinterpret_cast<UINT_PTR>(handle));
}

SimHandleEntry* FindHandle(SimRuntime& shared, DWORD value) {
    if (value == 0) return nullptr;
    const DWORD self = ::GetCurrentProcessId();
    for (SimHandleEntry& entry : shared.handles)
        if (entry.handle == value && entry.processId == self) return &entry;
    return nullptr;
}

// Device IDs are small numbers; anything larger is taken for a handle.
MMRESULT NotOurs(UINT_PTR value) {
    return value < 0x10000 ? MMSYSERR_BADDEVICEID : MMSYSERR_INVALHANDLE;
}

// Checks the object a call names: device 0, or one of this process's open handles.
MMRESULT ResolveObject(SimRuntime& shared, HMIXEROBJ object, DWORD flags) {
    const UINT_PTR value = reinterpret_cast<UINT_PTR>(object);
    switch (flags & kObjectTypeMask) {
    case MIXER_OBJECTF_MIXER:
        if (value == 0 || FindHandle(shared, HandleValue(object))) return MMSYSERR_NOERROR;
        return NotOurs(value);
    case MIXER_OBJECTF_HMIXER:
        return FindHandle(shared, HandleValue(object)) ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
    case MIXER_OBJECTF_WAVEOUT:
    case MIXER_OBJECTF_WAVEIN:
    case MIXER_OBJECTF_MIDIOUT:
    case MIXER_OBJECTF_MIDIIN:
    case MIXER_OBJECTF_AUX:
        return MMSYSERR_BADDEVICEID; // the card has no such devices of its own
    case MIXER_OBJECTF_HWAVEOUT:
    case MIXER_OBJECTF_HWAVEIN:
    case MIXER_OBJECTF_HMIDIOUT:
    case MIXER_OBJECTF_HMIDIIN:
        return MMSYSERR_INVALHANDLE;
    default:
        return MMSYSERR_INVALFLAG;
    }
}

bool ProcessGone(DWORD processId) {
    if (processId == ::GetCurrentProcessId()) return false;
    CKernelHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
    if (!process) return true;
    return ::WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0;
}

// Window handles are shared as their low 32 bits and widened back by sign extension, as
// Windows does between 32-bit and 64-bit processes.
HWND WindowOf(const SimHandleEntry& entry) {
    return static_cast<HWND>(LongToHandle(static_cast<LONG>(entry.window)));
}

// Frees the entries of processes that ended; a handle whose callback window is gone stays
// open but gets no more messages.
void PurgeDead(SimRuntime& shared) {
    for (SimHandleEntry& entry : shared.handles) {
        if (!entry.handle) continue;
        if (ProcessGone(entry.processId))
            entry = SimHandleEntry();
        else if (entry.window && !::IsWindow(WindowOf(entry)))
            entry.window = 0;
    }
}

void Notify(SimRuntime& shared, DWORD controlId) {
    for (SimHandleEntry& entry : shared.handles) {
        if (!entry.handle || !entry.window) continue;
        if (!::IsWindow(WindowOf(entry))) {
            entry.window = 0;
            continue;
        }
        ::PostMessageA(WindowOf(entry), MM_MIXM_CONTROL_CHANGE, static_cast<WPARAM>(entry.handle),
                       static_cast<LPARAM>(controlId));
    }
}

// ---- details ---------------------------------------------------------------------------

// Checks a details structure against its control; fills the number of entries it covers.
MMRESULT CheckDetails(const MIXERCONTROLDETAILS* details, DWORD entrySize, DWORD* entries) {
    if (!details || details->cbStruct != sizeof(MIXERCONTROLDETAILS)) return MMSYSERR_INVALPARAM;
    const ControlDesc* control = Control(details->dwControlID);
    if (!control) return MIXERR_INVALCONTROL;
    const DWORD lineChannels = kLines[control->line].channels;
    if (details->cChannels != 1 && details->cChannels != lineChannels) return MMSYSERR_INVALPARAM;
    const DWORD items = control->kind == Kind::Mux ? kMuxItems : 0;
    if (details->cMultipleItems != items) return MMSYSERR_INVALPARAM;
    if (details->cbDetails != entrySize || !details->paDetails) return MMSYSERR_INVALPARAM;
    *entries = details->cChannels * (items ? items : 1);
    return MMSYSERR_NOERROR;
}

// The value a control shows on one channel (or, for the multiplexer, one item).
DWORD ValueOf(const SimMixerValues& values, DWORD id, DWORD channel, DWORD item, bool allChannels) {
    const ControlDesc& control = *Control(id);
    const DWORD* stored = values.values[id - 1];
    const DWORD lineChannels = kLines[control.line].channels;
    switch (control.kind) {
    case Kind::Volume:
        // Read as one channel, a stereo volume gives its louder side.
        return allChannels ? stored[channel] : *std::max_element(stored, stored + lineChannels);
    case Kind::Mute:
        return stored[0];
    case Kind::Mux:
        return stored[item];
    case Kind::Peak:
    default: {
        const DWORD tick = ::GetTickCount();
        if (allChannels) return DWORD(CSimMixer::MeterLevel(values, id, channel, tick));
        LONG level = 0;
        for (DWORD c = 0; c < lineChannels; ++c)
            level = std::max(level, CSimMixer::MeterLevel(values, id, c, tick));
        return DWORD(level);
    }
    }
}

double Fraction(DWORD volume) {
    return double(volume) / CSimMixer::kVolumeMaximum;
}

// The level QUENDA_SIM_SIGNAL holds the test signal at, as a fraction of full scale; negative
// when the variable is unset or not a whole number from 0 to 100, so the signal drifts. Read
// on every call, so a process may set or clear it at any time.
double FixedSignal() {
    char buffer[16];
    const DWORD length = ::GetEnvironmentVariableA(kSimSignalVariable, buffer, sizeof(buffer));
    if (length == 0 || length >= sizeof(buffer)) return -1.0;
    int percent = 0;
    for (DWORD i = 0; i < length; ++i) {
        if (buffer[i] < '0' || buffer[i] > '9' || i >= 3) return -1.0;
        percent = percent * 10 + (buffer[i] - '0');
    }
    return percent <= 100 ? percent / 100.0 : -1.0;
}

// The test signal Wave plays: a level between 0.2 and 0.9 that drifts over a few seconds;
// the right channel lags the left. Derived from the tick count, so every process agrees.
// Held at one level on both channels while QUENDA_SIM_SIGNAL names one.
double Signal(DWORD channel, DWORD tick) {
    const double fixed = FixedSignal();
    if (fixed >= 0.0) return fixed;
    const double pi = 3.14159265358979323846;
    double phase = 2.0 * pi * double(tick % 3000) / 3000.0 + (channel ? 1.3 : 0.0);
    return 0.55 + 0.35 * std::sin(phase);
}

DWORD Channel(const SimMixerValues& values, DWORD id, DWORD channel) {
    const ControlDesc& control = *Control(id);
    return values.values[id - 1][std::min(channel, kLines[control.line].channels - 1)];
}

class CLocked {
public:
    CLocked() : m_state(CSimState::Get()) {
        if (m_state) m_lock.reset(new CSimState::Lock(*m_state));
    }
    explicit operator bool() const { return m_state != nullptr; }
    SimRuntime& Runtime() { return m_state->Runtime(); }
    SimMixerValues& Values() { return m_state->Persistent().mixer; }
    CSimState& State() { return *m_state; }

private:
    CSimState* m_state;
    std::unique_ptr<CSimState::Lock> m_lock;
};
} // namespace

// ---- the model -------------------------------------------------------------------------

DWORD CSimMixer::Quantise(DWORD volume) {
    volume = std::min(volume, kVolumeMaximum);
    const DWORD intervals = kVolumeSteps - 1;
    DWORD step = (volume * 2 * intervals + kVolumeMaximum) / (2 * kVolumeMaximum);
    return (step * kVolumeMaximum * 2 + intervals) / (2 * intervals);
}

void CSimMixer::FirstRun(SimMixerValues* values) {
    std::memset(values, 0, sizeof(*values));
    const DWORD level = Quantise(kFirstRunStep * kVolumeMaximum / (kVolumeSteps - 1));
    for (DWORD id = 1; id <= kSimControlCount; ++id) {
        const ControlDesc& control = *Control(id);
        if (control.kind == Kind::Volume)
            for (DWORD c = 0; c < kLines[control.line].channels; ++c)
                values->values[id - 1][c] = level;
    }
    values->values[kRecordMux - 1][0] = 1; // "Stereo Mix"
}

bool CSimMixer::IsValid(const SimMixerValues& values) {
    for (DWORD id = 1; id <= kSimControlCount; ++id) {
        const ControlDesc& control = *Control(id);
        const DWORD* stored = values.values[id - 1];
        const DWORD channels = kLines[control.line].channels;
        switch (control.kind) {
        case Kind::Volume:
            for (DWORD c = 0; c < kSimMaxValues; ++c)
                if (c < channels ? stored[c] != Quantise(stored[c]) : stored[c] != 0) return false;
            break;
        case Kind::Mute:
            if (stored[0] > 1) return false;
            for (DWORD c = 1; c < kSimMaxValues; ++c)
                if (stored[c] != 0) return false;
            break;
        case Kind::Mux: {
            DWORD selected = 0;
            for (DWORD i = 0; i < kMuxItems; ++i) {
                if (stored[i] > 1) return false;
                selected += stored[i];
            }
            if (selected != 1) return false;
            break;
        }
        case Kind::Peak:
            for (DWORD c = 0; c < kSimMaxValues; ++c)
                if (stored[c] != 0) return false;
            break;
        }
    }
    return true;
}

LONG CSimMixer::MeterLevel(const SimMixerValues& values, DWORD id, DWORD channel, DWORD tick) {
    auto on = [&values](DWORD muteId) { return values.values[muteId - 1][0] ? 0.0 : 1.0; };
    const double wave =
        Signal(channel, tick) * Fraction(Channel(values, kWaveVolume, channel)) * on(kWaveMute);
    const double master =
        wave * Fraction(Channel(values, kMasterVolume, channel)) * on(kMasterMute);
    double level = 0.0;
    switch (id) {
    case kWavePeak:
        level = wave;
        break;
    case kMasterPeak:
        level = master;
        break;
    case kRecordPeak: {
        const DWORD* mux = values.values[kRecordMux - 1];
        if (mux[0]) // "Stereo Mix" records what the speakers play
            level = master * Fraction(Channel(values, kStereoMixRecordVolume, channel));
        else if (mux[5]) // "Wave" records the wave signal before the playback mixer
            level = Signal(channel, tick) * Fraction(Channel(values, kWaveRecordVolume, channel));
        break; // nothing plays on the other inputs
    }
    default:
        break;
    }
    return LONG(level * 32767.0 + 0.5);
}

// ---- winmm functions -------------------------------------------------------------------

UINT CSimMixer::GetNumDevs() {
    return CSimState::Get() ? 1 : 0;
}

MMRESULT CSimMixer::GetDevCaps(UINT_PTR deviceId, LPMIXERCAPSA caps, UINT capsSize) {
    if (!caps) return MMSYSERR_INVALPARAM;
    CLocked locked;
    if (!locked) return MMSYSERR_NODRIVER;
    if (deviceId != 0 && !FindHandle(locked.Runtime(), DWORD(deviceId))) return NotOurs(deviceId);
    MIXERCAPSA filled = {};
    filled.wMid = kManufacturerId;
    filled.wPid = kProductId;
    filled.vDriverVersion = kDriverVersion;
    Copy(filled.szPname, kDeviceName);
    filled.fdwSupport = 0;
    filled.cDestinations = 2;
    std::memcpy(caps, &filled, std::min<size_t>(capsSize, sizeof(filled)));
    return MMSYSERR_NOERROR;
}

MMRESULT CSimMixer::Open(LPHMIXER handle, UINT deviceId, DWORD_PTR callback, DWORD_PTR,
                         DWORD flags) {
    if (flags & ~(kObjectTypeMask | CALLBACK_TYPEMASK)) return MMSYSERR_INVALFLAG;
    // Change messages go to a window or nowhere. Events and threads are callback kinds that
    // winmm knows but this driver does not serve; a function is never a mixer callback.
    const DWORD callbackType = flags & CALLBACK_TYPEMASK;
    if (callbackType == CALLBACK_EVENT || callbackType == CALLBACK_THREAD)
        return MMSYSERR_NOTSUPPORTED;
    if (callbackType != CALLBACK_NULL && callbackType != CALLBACK_WINDOW) return MMSYSERR_INVALFLAG;
    if (!handle) return MMSYSERR_INVALPARAM;
    HWND window = callbackType == CALLBACK_WINDOW ? reinterpret_cast<HWND>(callback) : nullptr;
    if (window && !::IsWindow(window)) return MMSYSERR_INVALPARAM;

    CLocked locked;
    if (!locked) return MMSYSERR_NODRIVER;
    SimRuntime& shared = locked.Runtime();
    MMRESULT result =
        ResolveObject(shared, reinterpret_cast<HMIXEROBJ>(static_cast<UINT_PTR>(deviceId)), flags);
    if (result != MMSYSERR_NOERROR) return result;

    PurgeDead(shared);
    for (DWORD slot = 0; slot < kSimMaxHandles; ++slot) {
        SimHandleEntry& entry = shared.handles[slot];
        if (entry.handle) continue;
        shared.serial = (shared.serial + 1) & 0xFFFFF;
        if (shared.serial == 0) shared.serial = 1;
        entry.handle = 0x10000000 | (shared.serial << 8) | slot;
        entry.processId = ::GetCurrentProcessId();
        entry.window = HandleValue(window);
        *handle = reinterpret_cast<HMIXER>(static_cast<UINT_PTR>(entry.handle));
        return MMSYSERR_NOERROR;
    }
    return MMSYSERR_NOMEM;
}

MMRESULT CSimMixer::Close(HMIXER handle) {
    CLocked locked;
    if (!locked) return MMSYSERR_INVALHANDLE;
    SimHandleEntry* entry = FindHandle(locked.Runtime(), HandleValue(handle));
    if (!entry) return MMSYSERR_INVALHANDLE;
    *entry = SimHandleEntry();
    return MMSYSERR_NOERROR;
}

MMRESULT CSimMixer::GetLineInfo(HMIXEROBJ object, LPMIXERLINEA line, DWORD flags) {
    if (flags & ~(kObjectTypeMask | kQueryMask)) return MMSYSERR_INVALFLAG;
    CLocked locked;
    if (!locked) return MMSYSERR_NODRIVER;
    MMRESULT result = ResolveObject(locked.Runtime(), object, flags);
    if (result != MMSYSERR_NOERROR) return result;
    if (!line || line->cbStruct != sizeof(MIXERLINEA)) return MMSYSERR_INVALPARAM;

    int index = -1;
    switch (flags & kQueryMask) {
    case MIXER_GETLINEINFOF_DESTINATION:
        index = FindLine(line->dwDestination, -1);
        break;
    case MIXER_GETLINEINFOF_SOURCE:
        if (line->dwSource <= 0xFFFF) index = FindLine(line->dwDestination, int(line->dwSource));
        break;
    case MIXER_GETLINEINFOF_LINEID:
        index = FindLineById(line->dwLineID);
        break;
    case MIXER_GETLINEINFOF_COMPONENTTYPE:
        for (DWORD i = 0; i < kLineCount && index < 0; ++i)
            if (kLines[i].componentType == line->dwComponentType) index = int(i);
        break;
    case MIXER_GETLINEINFOF_TARGETTYPE:
        for (DWORD i = 0; i < kLineCount && index < 0; ++i)
            if (kLines[i].targetType != MIXERLINE_TARGETTYPE_UNDEFINED &&
                kLines[i].targetType == line->Target.dwType &&
                ::strncmp(line->Target.szPname, kDeviceName, sizeof(line->Target.szPname)) == 0)
                index = int(i);
        break;
    default:
        return MMSYSERR_INVALFLAG;
    }
    if (index < 0) return MIXERR_INVALLINE;
    FillLine(DWORD(index), line);
    return MMSYSERR_NOERROR;
}

MMRESULT CSimMixer::GetLineControls(HMIXEROBJ object, LPMIXERLINECONTROLSA request, DWORD flags) {
    if (flags & ~(kObjectTypeMask | kQueryMask)) return MMSYSERR_INVALFLAG;
    CLocked locked;
    if (!locked) return MMSYSERR_NODRIVER;
    MMRESULT result = ResolveObject(locked.Runtime(), object, flags);
    if (result != MMSYSERR_NOERROR) return result;
    if (!request || request->cbStruct != sizeof(MIXERLINECONTROLSA) ||
        request->cbmxctrl != sizeof(MIXERCONTROLA) || !request->pamxctrl)
        return MMSYSERR_INVALPARAM;

    switch (flags & kQueryMask) {
    case MIXER_GETLINECONTROLSF_ALL: {
        int line = FindLineById(request->dwLineID);
        if (line < 0) return MIXERR_INVALLINE;
        const DWORD count = ControlCount(DWORD(line));
        if (request->cControls == 0 || request->cControls != count) return MMSYSERR_INVALPARAM;
        DWORD k = 0;
        for (DWORD id = 1; id <= kSimControlCount; ++id)
            if (Control(id)->line == DWORD(line)) FillControl(id, &request->pamxctrl[k++]);
        return MMSYSERR_NOERROR;
    }
    case MIXER_GETLINECONTROLSF_ONEBYID: {
        const ControlDesc* control = Control(request->dwControlID);
        if (!control) return MIXERR_INVALCONTROL;
        FillControl(request->dwControlID, request->pamxctrl);
        request->dwLineID = kLines[control->line].lineId;
        return MMSYSERR_NOERROR;
    }
    case MIXER_GETLINECONTROLSF_ONEBYTYPE: {
        int line = FindLineById(request->dwLineID);
        if (line < 0) return MIXERR_INVALLINE;
        for (DWORD id = 1; id <= kSimControlCount; ++id) {
            if (Control(id)->line != DWORD(line) ||
                TypeOf(Control(id)->kind) != request->dwControlType)
                continue;
            FillControl(id, request->pamxctrl);
            return MMSYSERR_NOERROR;
        }
        return MIXERR_INVALCONTROL;
    }
    default:
        return MMSYSERR_INVALFLAG;
    }
}

MMRESULT CSimMixer::GetControlDetails(HMIXEROBJ object, LPMIXERCONTROLDETAILS details,
                                      DWORD flags) {
    if (flags & ~(kObjectTypeMask | kQueryMask)) return MMSYSERR_INVALFLAG;
    const DWORD query = flags & kQueryMask;
    if (query != MIXER_GETCONTROLDETAILSF_VALUE && query != MIXER_GETCONTROLDETAILSF_LISTTEXT)
        return MMSYSERR_INVALFLAG;
    CLocked locked;
    if (!locked) return MMSYSERR_NODRIVER;
    SimRuntime& shared = locked.Runtime();
    MMRESULT result = ResolveObject(shared, object, flags);
    if (result != MMSYSERR_NOERROR) return result;

    const bool listText = query == MIXER_GETCONTROLDETAILSF_LISTTEXT;
    DWORD entries = 0;
    result = CheckDetails(details, listText ? sizeof(MIXERCONTROLDETAILS_LISTTEXTA) : sizeof(DWORD),
                          &entries);
    if (result != MMSYSERR_NOERROR) return result;
    const DWORD id = details->dwControlID;
    const ControlDesc& control = *Control(id);
    const DWORD items = details->cMultipleItems;

    if (listText) {
        if (control.kind != Kind::Mux) return MMSYSERR_INVALPARAM;
        auto* texts = static_cast<MIXERCONTROLDETAILS_LISTTEXTA*>(details->paDetails);
        for (DWORD i = 0; i < entries; ++i) {
            const LineDesc& source = kLines[kFirstRecordingSource + i % items];
            MIXERCONTROLDETAILS_LISTTEXTA text = {};
            text.dwParam1 = source.lineId;
            text.dwParam2 = source.componentType;
            Copy(text.szName, source.name);
            texts[i] = text;
        }
        return MMSYSERR_NOERROR;
    }

    const SimMixerValues& values = locked.Values();
    const bool allChannels = details->cChannels > 1;
    auto* out = static_cast<DWORD*>(details->paDetails);
    for (DWORD i = 0; i < entries; ++i) {
        DWORD channel = items ? i / items : i;
        DWORD item = items ? i % items : 0;
        out[i] = ValueOf(values, id, channel, item, allChannels);
    }
    return MMSYSERR_NOERROR;
}

MMRESULT CSimMixer::SetControlDetails(HMIXEROBJ object, LPMIXERCONTROLDETAILS details,
                                      DWORD flags) {
    if (flags & ~(kObjectTypeMask | kQueryMask)) return MMSYSERR_INVALFLAG;
    const DWORD query = flags & kQueryMask;
    if (query != MIXER_SETCONTROLDETAILSF_VALUE && query != MIXER_SETCONTROLDETAILSF_CUSTOM)
        return MMSYSERR_INVALFLAG;
    CLocked locked;
    if (!locked) return MMSYSERR_NODRIVER;
    SimRuntime& shared = locked.Runtime();
    MMRESULT result = ResolveObject(shared, object, flags);
    if (result != MMSYSERR_NOERROR) return result;
    if (query == MIXER_SETCONTROLDETAILSF_CUSTOM) return MMSYSERR_NOTSUPPORTED;

    DWORD entries = 0;
    result = CheckDetails(details, sizeof(DWORD), &entries);
    if (result != MMSYSERR_NOERROR) return result;
    const DWORD id = details->dwControlID;
    const ControlDesc& control = *Control(id);
    const DWORD channels = kLines[control.line].channels;
    const auto* in = static_cast<const DWORD*>(details->paDetails);

    DWORD updated[kSimMaxValues] = {};
    DWORD* stored = locked.Values().values[id - 1];
    switch (control.kind) {
    case Kind::Volume:
        for (DWORD c = 0; c < channels; ++c)
            updated[c] = Quantise(details->cChannels == 1 ? in[0] : in[c]);
        break;
    case Kind::Mute:
        updated[0] = in[0] ? 1 : 0;
        break;
    case Kind::Mux: {
        // Exactly one source records: the first selected item wins, none is refused.
        DWORD i = 0;
        while (i < kMuxItems && in[i] == 0)
            ++i;
        if (i == kMuxItems) return MMSYSERR_INVALPARAM;
        updated[i] = 1;
        break;
    }
    case Kind::Peak:
        return MMSYSERR_NOTSUPPORTED; // meters only report
    }
    if (std::memcmp(updated, stored, sizeof(updated)) != 0) {
        std::memcpy(stored, updated, sizeof(updated));
        locked.State().Changed();
        Notify(shared, id);
    }
    return MMSYSERR_NOERROR;
}

MMRESULT CSimMixer::Reset() {
    CLocked locked;
    if (!locked) return MMSYSERR_NODRIVER;
    SimRuntime& shared = locked.Runtime();
    const SimMixerValues before = locked.Values();
    locked.State().ResetToFirstRun();
    for (DWORD id = 1; id <= kSimControlCount; ++id)
        if (std::memcmp(before.values[id - 1], locked.Values().values[id - 1],
                        sizeof(before.values[id - 1])) != 0)
            Notify(shared, id);
    return MMSYSERR_NOERROR;
}
