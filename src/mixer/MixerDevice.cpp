#include "MixerDevice.h"

#include "AppMessageBox.h"
#include "Format.h"
#include "MixerApi.h"

#include <cstring>
#include <vector>

const char* const CMixerDevice::kCallbackWindowError = "Error creating Callback Window Handle";
const char* const CMixerDevice::kDeviceNotFound =
    "The specified audio mixer device could not be found:\n\n\t%s";
const char* const CMixerDevice::kDeviceNotOpened =
    "The specified audio mixer device could not be opened:\n\n\t%s\n";

namespace {
HMIXEROBJ Object(HMIXER handle) {
    return reinterpret_cast<HMIXEROBJ>(handle);
}

// Driver strings are fixed arrays; one that fills its array has no terminator of its own.
template <size_t N> void Terminate(char (&text)[N]) {
    text[N - 1] = '\0';
}

bool NameMatches(const MIXERCAPSA& caps, const char* name) {
    if (!name) return true;
    size_t length = ::strnlen(caps.szPname, sizeof(caps.szPname));
    return std::strlen(name) == length && std::memcmp(caps.szPname, name, length) == 0;
}

bool IsNotAvailable(const MIXERLINEA& line) {
    return std::strcmp(line.szShortName, "NA") == 0;
}

void MarkUnavailable(MIXERLINEA& line) {
    line.cControls = 0;
    line.dwUser |= kMixerLineUnavailable;
}
} // namespace

CMixerDevice::CMixerDevice() = default;

CMixerDevice::~CMixerDevice() {
    if (m_timer && m_callbackWnd) ::KillTimer(m_callbackWnd->m_hWnd, m_timer);
    m_timer = 0;
    CloseDevice();
    m_callbackWnd.reset();
}

void CMixerDevice::CloseDevice() {
    if (!m_handle) return;
    CurrentMixerApi().Close(m_handle);
    m_handle = nullptr;
}

int CMixerDevice::Open(const char* name, UINT manufacturerId, UINT productId) {
    if (!m_callbackWnd) {
        auto window = std::make_unique<CMixerCallbackWnd>(this);
        if (window->Create())
            m_callbackWnd = std::move(window);
        else
            AppMessageBox(nullptr, kCallbackWindowError, MB_OK);
    }

    // A second Open replaces everything the first one read.
    CloseDevice();
    FreeTree();
    m_caps = MIXERCAPSA();

    const MixerApi& api = CurrentMixerApi();
    UINT devices = api.GetNumDevs();
    if (devices == 0) return 0;

    UINT deviceId = 0;
    bool found = false;
    for (; deviceId < devices && !found; ++deviceId) {
        MIXERCAPSA caps = {};
        if (api.GetDevCapsA(deviceId, &caps, sizeof(caps)) != MMSYSERR_NOERROR) continue;
        Terminate(caps.szPname);
        found = NameMatches(caps, name) && (manufacturerId == 0 || caps.wMid == manufacturerId) &&
                (productId == 0 || caps.wPid == productId);
        if (found) m_caps = caps;
    }
    const char* shownName = name ? name : "";
    if (!found) {
        AppMessageBox(nullptr, Format(kDeviceNotFound, shownName), MB_ICONHAND);
        return 0;
    }
    --deviceId; // the loop stepped past the match

    HWND window = GetCallbackWindow();
    HMIXER handle = nullptr;
    MMRESULT opened = api.Open(&handle, deviceId, reinterpret_cast<DWORD_PTR>(window), 0,
                               window ? CALLBACK_WINDOW : CALLBACK_NULL);
    if (opened != MMSYSERR_NOERROR || !handle) {
        AppMessageBox(nullptr, Format(kDeviceNotOpened, shownName), MB_ICONHAND);
        return 0;
    }
    m_handle = handle;

    m_destinationCount = m_caps.cDestinations;
    m_destinations.reset(new MixerDestinationLine[m_destinationCount]());
    for (DWORD i = 0; i < m_destinationCount; ++i) {
        MixerDestinationLine& destination = m_destinations[i];
        MIXERLINEA& line = destination.line;
        line.cbStruct = sizeof(MIXERLINEA);
        line.dwDestination = i;
        line.dwSource = 0;
        api.GetLineInfoA(Object(m_handle), &line, MIXER_GETLINEINFOF_DESTINATION);
        ReadLine(line, destination.controls);
        if (IsLineUnavailable(line)) continue;

        destination.sources.reset(new MixerSourceLine[line.cConnections]());
        for (DWORD j = 0; j < line.cConnections; ++j) {
            MIXERLINEA& source = destination.sources[j].line;
            source.cbStruct = sizeof(MIXERLINEA);
            source.dwSource = j;
            source.dwDestination = i;
            api.GetLineInfoA(Object(m_handle), &source, MIXER_GETLINEINFOF_SOURCE);
            ReadLine(source, destination.sources[j].controls);
        }
    }
    return 1;
}

void CMixerDevice::ReadLine(MIXERLINEA& line, std::unique_ptr<MixerControlRecord[]>& controls) {
    Terminate(line.szShortName);
    Terminate(line.szName);
    Terminate(line.Target.szPname);
    if (IsNotAvailable(line)) {
        MarkUnavailable(line);
        return;
    }
    m_lines.SetAt(line.dwLineID, &line);
    ReadControls(line, controls);
}

void CMixerDevice::ReadControls(const MIXERLINEA& line,
                                std::unique_ptr<MixerControlRecord[]>& controls) {
    const DWORD n = line.cControls;
    if (n == 0) return;
    std::vector<MIXERCONTROLA> described(n);
    for (MIXERCONTROLA& control : described)
        control.cbStruct = sizeof(MIXERCONTROLA);
    controls.reset(new MixerControlRecord[n]());

    MIXERLINECONTROLSA request = {};
    request.cbStruct = sizeof(request);
    request.dwLineID = line.dwLineID;
    request.cControls = n;
    request.cbmxctrl = sizeof(MIXERCONTROLA);
    request.pamxctrl = described.data();
    CurrentMixerApi().GetLineControlsA(Object(m_handle), &request, MIXER_GETLINECONTROLSF_ALL);

    for (DWORD k = 0; k < n; ++k) {
        MixerControlRecord& record = controls[k];
        record.control = described[k];
        Terminate(record.control.szShortName);
        Terminate(record.control.szName);
        const MIXERCONTROLA& control = record.control;
        if (control.dwControlType == 0) continue;
        m_controls.SetAt(control.dwControlID, &record);

        const bool multiple = (control.fdwControl & MIXERCONTROL_CONTROLF_MULTIPLE) != 0;
        MIXERCONTROLDETAILS& details = record.details;
        details.cbStruct = sizeof(MIXERCONTROLDETAILS);
        details.dwControlID = control.dwControlID;
        details.cChannels =
            (control.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM) ? 1 : line.cChannels;
        details.cMultipleItems = multiple ? control.cMultipleItems : 0;
        record.count = multiple ? details.cChannels * details.cMultipleItems : details.cChannels;
        record.kind = MixerValueKindOf(control.dwControlType);
        if (record.kind == kMixerKindNone) continue;

        record.values.reset(new DWORD[record.count]());
        details.cbDetails = sizeof(DWORD);
        details.paDetails = record.values.get();
        if (record.kind & kMixerKindListText) {
            record.listDetails = details;
            record.texts.reset(new MIXERCONTROLDETAILS_LISTTEXTA[record.count]());
            record.listDetails.cbDetails = sizeof(MIXERCONTROLDETAILS_LISTTEXTA);
            record.listDetails.paDetails = record.texts.get();
        }
    }
    for (DWORD k = 0; k < n; ++k) {
        if (controls[k].control.dwControlType == 0) continue;
        GetDetails(&controls[k]);
        GetListText(&controls[k]);
    }
}

// ---- the tree by position --------------------------------------------------------------

int CMixerDevice::GetDestinationCount() {
    return static_cast<int>(m_destinationCount);
}

const char* CMixerDevice::GetDestinationName(int destination) {
    if (destination < 0 || static_cast<DWORD>(destination) >= m_destinationCount) return "";
    return m_destinations[destination].line.szName;
}

int CMixerDevice::GetSourceCount(int destination) {
    if (destination < 0 || static_cast<DWORD>(destination) >= m_destinationCount) return 0;
    return static_cast<int>(m_destinations[destination].line.cConnections);
}

MixerSourceLine* CMixerDevice::Source(int destination, int source) {
    if (destination < 0 || static_cast<DWORD>(destination) >= m_destinationCount) return nullptr;
    MixerDestinationLine& line = m_destinations[destination];
    if (!line.sources || source < 0 || static_cast<DWORD>(source) >= line.line.cConnections)
        return nullptr;
    return &line.sources[source];
}

int CMixerDevice::GetLine(int destination, int source, MIXERLINEA** line) {
    if (source == -1) return GetDestinationLine(destination, line);
    MixerSourceLine* found = Source(destination, source);
    if (line) *line = found ? &found->line : nullptr;
    return found ? 1 : 0;
}

int CMixerDevice::GetDestinationLine(int destination, MIXERLINEA** line) {
    bool valid = destination >= 0 && static_cast<DWORD>(destination) < m_destinationCount;
    if (line) *line = valid ? &m_destinations[destination].line : nullptr;
    return valid ? 1 : 0;
}

int CMixerDevice::GetDestinationControl(int destination, int control, MixerControlRecord** record) {
    MixerControlRecord* found = nullptr;
    if (destination >= 0 && static_cast<DWORD>(destination) < m_destinationCount) {
        MixerDestinationLine& line = m_destinations[destination];
        if (line.controls && control >= 0 && static_cast<DWORD>(control) < line.line.cControls)
            found = &line.controls[control];
    }
    if (record) *record = found;
    return found ? 1 : 0;
}

int CMixerDevice::GetLineControl(int destination, int source, int control,
                                 MixerControlRecord** record) {
    if (source == -1) return GetDestinationControl(destination, control, record);
    MixerControlRecord* found = nullptr;
    MixerSourceLine* line = Source(destination, source);
    if (line && line->controls && control >= 0 &&
        static_cast<DWORD>(control) < line->line.cControls)
        found = &line->controls[control];
    if (record) *record = found;
    return found ? 1 : 0;
}

// ---- driver calls ----------------------------------------------------------------------

int CMixerDevice::SetDetails(MixerControlRecord* record) {
    if (!record || !record->values) return 0;
    return CurrentMixerApi().SetControlDetails(Object(m_handle), &record->details,
                                               MIXER_SETCONTROLDETAILSF_VALUE) == MMSYSERR_NOERROR;
}

int CMixerDevice::GetDetails(MixerControlRecord* record) {
    // A control without a value buffer has nothing the driver could fill.
    if (!record || !record->values) return 0;
    return CurrentMixerApi().GetControlDetailsA(Object(m_handle), &record->details,
                                                MIXER_GETCONTROLDETAILSF_VALUE) == MMSYSERR_NOERROR;
}

int CMixerDevice::GetListText(MixerControlRecord* record) {
    if (!record || !record->texts) return 0;
    if (CurrentMixerApi().GetControlDetailsA(Object(m_handle), &record->listDetails,
                                             MIXER_GETCONTROLDETAILSF_LISTTEXT) != MMSYSERR_NOERROR)
        return 0;
    for (DWORD i = 0; i < record->count; ++i)
        Terminate(record->texts[i].szName);
    return 1;
}

// ---- listeners and the meter timer -----------------------------------------------------

int CMixerDevice::AddListener(DWORD controlId, CMixerSink* sink) {
    int result = CMixer::AddListener(controlId, sink);
    if (result == 1) UpdateMeterTimer();
    return result;
}

int CMixerDevice::RemoveListener(DWORD controlId, CMixerSink* sink) {
    int result = CMixer::RemoveListener(controlId, sink);
    if (result) UpdateMeterTimer();
    return result;
}

void CMixerDevice::SetMetersShown(bool shown) {
    if (m_metersShown == shown) return;
    m_metersShown = shown;
    UpdateMeterTimer();
    // What a meter showed when it went out of sight is stale when it comes back: it starts
    // again from silence.
    if (!shown) RestMeters();
}

void CMixerDevice::UpdateMeterTimer() {
    HWND window = GetCallbackWindow();
    const bool wanted = m_metersShown && HasPolledListeners() && window;
    if (wanted && m_timer == 0) {
        m_timer = ::SetTimer(window, kMeterTimerId, kMeterIntervalMs, &MeterTimerProc);
    } else if (!wanted && m_timer) {
        ::KillTimer(window, m_timer);
        m_timer = 0;
    }
}

void CALLBACK CMixerDevice::MeterTimerProc(HWND window, UINT, UINT_PTR, DWORD) {
    // Called from the message loop's dispatch: nothing thrown may escape into user32.
    try {
        auto* callback = dynamic_cast<CMixerCallbackWnd*>(CWnd::FromHandle(window));
        if (callback && callback->GetDevice()) callback->GetDevice()->PollMeters();
    } catch (...) {
    }
}
