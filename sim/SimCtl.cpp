// quendasim-ctl: reads and sets the simulated card's mixer controls from outside, the way any
// other program would (so the control panel is notified of the changes).
//
//   quendasim-ctl list               the device, its lines and controls with their values
//   quendasim-ctl get ID             the values of one control
//   quendasim-ctl set ID value...    writes one value per channel/item (one value: all)
//   quendasim-ctl reset              returns the card to its first-run state
//   quendasim-ctl prop get N         the bytes of card property N (SimCtlProp.h)
//   quendasim-ctl prop set N byte... writes card property N
//
// IDs are printed in hexadecimal; they are accepted as 0x... or decimal. When the state file
// cannot hold the card's state (QUENDA_SIM_STATE names a pipe or a device), a note on standard
// error says that the state lasts only while some program uses the card.
#include "Platform.h"

#include "MixerApi.h"
#include "SimCtlProp.h"
#include "SimState.h"
#include "UniqueHandle.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
MixerApi g_api = {};
HMIXER g_mixer = nullptr;

const char* ResultName(MMRESULT result) {
    switch (result) {
    case MMSYSERR_NOERROR:
        return "no error";
    case MMSYSERR_ERROR:
        return "error";
    case MMSYSERR_BADDEVICEID:
        return "bad device ID";
    case MMSYSERR_INVALHANDLE:
        return "invalid handle";
    case MMSYSERR_NODRIVER:
        return "no driver";
    case MMSYSERR_NOMEM:
        return "out of memory";
    case MMSYSERR_NOTSUPPORTED:
        return "not supported";
    case MMSYSERR_INVALFLAG:
        return "invalid flag";
    case MMSYSERR_INVALPARAM:
        return "invalid parameter (value refused)";
    case MIXERR_INVALLINE:
        return "invalid line";
    case MIXERR_INVALCONTROL:
        return "invalid control";
    case MIXERR_INVALVALUE:
        return "invalid value";
    default:
        return "unknown result";
    }
}

const char* ComponentName(DWORD type) {
    switch (type) {
    case MIXERLINE_COMPONENTTYPE_DST_SPEAKERS:
        return "DST_SPEAKERS";
    case MIXERLINE_COMPONENTTYPE_DST_WAVEIN:
        return "DST_WAVEIN";
    case MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED:
        return "SRC_UNDEFINED";
    case MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT:
        return "SRC_WAVEOUT";
    case MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER:
        return "SRC_SYNTHESIZER";
    case MIXERLINE_COMPONENTTYPE_SRC_LINE:
        return "SRC_LINE";
    case MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC:
        return "SRC_COMPACTDISC";
    case MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE:
        return "SRC_MICROPHONE";
    case MIXERLINE_COMPONENTTYPE_SRC_ANALOG:
        return "SRC_ANALOG";
    case MIXERLINE_COMPONENTTYPE_SRC_PCSPEAKER:
        return "SRC_PCSPEAKER";
    default:
        return "OTHER";
    }
}

const char* ControlTypeName(DWORD type) {
    switch (type) {
    case MIXERCONTROL_CONTROLTYPE_VOLUME:
        return "VOLUME";
    case MIXERCONTROL_CONTROLTYPE_MUTE:
        return "MUTE";
    case MIXERCONTROL_CONTROLTYPE_PEAKMETER:
        return "PEAKMETER";
    case MIXERCONTROL_CONTROLTYPE_MUX:
        return "MUX";
    default:
        return "OTHER";
    }
}

bool IsSigned(DWORD type) {
    DWORD units = type & MIXERCONTROL_CT_UNITS_MASK;
    return units == MIXERCONTROL_CT_UNITS_SIGNED || units == MIXERCONTROL_CT_UNITS_DECIBELS;
}

bool ParseNumber(const char* text, bool allowNegative, DWORD* value) {
    if (!text || !*text) return false;
    const char* digits = text;
    bool negative = false;
    if (allowNegative && *digits == '-') {
        negative = true;
        ++digits;
    }
    int base = 10;
    if (digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits += 2;
    }
    if (!*digits) return false;
    char* end = nullptr;
    unsigned long parsed = std::strtoul(digits, &end, base);
    if (*end != '\0' || *digits == '-' || *digits == '+') return false;
    *value = negative ? DWORD(0u - DWORD(parsed)) : DWORD(parsed);
    return true;
}

// A control with what it takes to read and write it.
struct ControlInfo {
    MIXERCONTROLA control;
    MIXERLINEA line;
    DWORD channels; // as passed in the details
    DWORD items;
    DWORD count;
};

void Describe(const MIXERCONTROLA& control, const MIXERLINEA& line, ControlInfo* info) {
    info->control = control;
    info->line = line;
    info->channels = (control.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM) ? 1 : line.cChannels;
    info->items =
        (control.fdwControl & MIXERCONTROL_CONTROLF_MULTIPLE) ? control.cMultipleItems : 0;
    info->count = info->items ? info->channels * info->items : info->channels;
}

MMRESULT FindControl(DWORD id, ControlInfo* info) {
    MIXERCONTROLA control = {};
    control.cbStruct = sizeof(control);
    MIXERLINECONTROLSA request = {};
    request.cbStruct = sizeof(request);
    request.dwControlID = id;
    request.cControls = 1;
    request.cbmxctrl = sizeof(control);
    request.pamxctrl = &control;
    MMRESULT result = g_api.GetLineControlsA(reinterpret_cast<HMIXEROBJ>(g_mixer), &request,
                                             MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYID);
    if (result != MMSYSERR_NOERROR) return result;
    MIXERLINEA line = {};
    line.cbStruct = sizeof(line);
    line.dwLineID = request.dwLineID;
    result = g_api.GetLineInfoA(reinterpret_cast<HMIXEROBJ>(g_mixer), &line,
                                MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_LINEID);
    if (result != MMSYSERR_NOERROR) return result;
    Describe(control, line, info);
    return MMSYSERR_NOERROR;
}

MIXERCONTROLDETAILS Details(const ControlInfo& info, DWORD entrySize, void* buffer) {
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof(details);
    details.dwControlID = info.control.dwControlID;
    details.cChannels = info.channels;
    details.cMultipleItems = info.items;
    details.cbDetails = entrySize;
    details.paDetails = buffer;
    return details;
}

MMRESULT ReadValues(const ControlInfo& info, std::vector<DWORD>* values) {
    values->assign(info.count ? info.count : 1, 0);
    MIXERCONTROLDETAILS details = Details(info, sizeof(DWORD), values->data());
    return g_api.GetControlDetailsA(reinterpret_cast<HMIXEROBJ>(g_mixer), &details,
                                    MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE);
}

std::string FormatValues(const ControlInfo& info, const std::vector<DWORD>& values) {
    std::string text;
    char number[16];
    for (DWORD i = 0; i < info.count; ++i) {
        if (IsSigned(info.control.dwControlType))
            std::snprintf(number, sizeof(number), "%ld", static_cast<long>(LONG(values[i])));
        else
            std::snprintf(number, sizeof(number), "%lu", static_cast<unsigned long>(values[i]));
        if (!text.empty()) text += ' ';
        text += number;
    }
    return text;
}

void ListControl(const ControlInfo& info, const char* indent) {
    const MIXERCONTROLA& c = info.control;
    std::printf("%scontrol 0x%08lX %s \"%s\" (%s)", indent,
                static_cast<unsigned long>(c.dwControlID), ControlTypeName(c.dwControlType),
                c.szName, c.szShortName);
    if (IsSigned(c.dwControlType))
        std::printf(" range %ld..%ld", static_cast<long>(c.Bounds.lMinimum),
                    static_cast<long>(c.Bounds.lMaximum));
    else
        std::printf(" range %lu..%lu", static_cast<unsigned long>(c.Bounds.dwMinimum),
                    static_cast<unsigned long>(c.Bounds.dwMaximum));
    if (c.Metrics.cSteps) std::printf(", %lu steps", static_cast<unsigned long>(c.Metrics.cSteps));
    if (info.items) std::printf(", %lu items", static_cast<unsigned long>(info.items));
    std::vector<DWORD> values;
    MMRESULT result = ReadValues(info, &values);
    if (result == MMSYSERR_NOERROR)
        std::printf(": %s\n", FormatValues(info, values).c_str());
    else
        std::printf(": (%s)\n", ResultName(result));

    if (!info.items) return;
    std::vector<MIXERCONTROLDETAILS_LISTTEXTA> texts(info.count);
    MIXERCONTROLDETAILS details =
        Details(info, sizeof(MIXERCONTROLDETAILS_LISTTEXTA), texts.data());
    if (g_api.GetControlDetailsA(reinterpret_cast<HMIXEROBJ>(g_mixer), &details,
                                 MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_LISTTEXT) !=
        MMSYSERR_NOERROR)
        return;
    for (DWORD i = 0; i < info.items; ++i)
        std::printf("%s  item %lu \"%s\" (line 0x%08lX)%s\n", indent, static_cast<unsigned long>(i),
                    texts[i].szName, static_cast<unsigned long>(texts[i].dwParam1),
                    result == MMSYSERR_NOERROR && values[i] ? " selected" : "");
}

void ListLine(const MIXERLINEA& line, const char* title, const char* indent,
              const char* controlIndent) {
    std::printf("%s%s \"%s\" (%s): line 0x%08lX, %s, %lu channel%s", indent, title, line.szName,
                line.szShortName, static_cast<unsigned long>(line.dwLineID),
                ComponentName(line.dwComponentType), static_cast<unsigned long>(line.cChannels),
                line.cChannels == 1 ? "" : "s");
    if (!(line.fdwLine & MIXERLINE_LINEF_SOURCE))
        std::printf(", %lu sources", static_cast<unsigned long>(line.cConnections));
    if (std::strcmp(line.szShortName, "NA") == 0) std::printf(", unavailable");
    std::printf("\n");
    if (line.cControls == 0) return;
    std::vector<MIXERCONTROLA> controls(line.cControls);
    for (auto& c : controls)
        c.cbStruct = sizeof(MIXERCONTROLA);
    MIXERLINECONTROLSA request = {};
    request.cbStruct = sizeof(request);
    request.dwLineID = line.dwLineID;
    request.cControls = line.cControls;
    request.cbmxctrl = sizeof(MIXERCONTROLA);
    request.pamxctrl = controls.data();
    MMRESULT result = g_api.GetLineControlsA(reinterpret_cast<HMIXEROBJ>(g_mixer), &request,
                                             MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL);
    if (result != MMSYSERR_NOERROR) {
        std::printf("%s(controls: %s)\n", controlIndent, ResultName(result));
        return;
    }
    for (const MIXERCONTROLA& control : controls) {
        ControlInfo info;
        Describe(control, line, &info);
        ListControl(info, controlIndent);
    }
}

int List() {
    MIXERCAPSA caps = {};
    MMRESULT result = g_api.GetDevCapsA(0, &caps, sizeof(caps));
    if (result != MMSYSERR_NOERROR) {
        std::fprintf(stderr, "device 0: %s\n", ResultName(result));
        return 1;
    }
    std::printf("%s: manufacturer %u, product %u, driver %u.%u, %lu destinations\n", caps.szPname,
                caps.wMid, caps.wPid, unsigned(caps.vDriverVersion >> 8),
                unsigned(caps.vDriverVersion & 0xFF),
                static_cast<unsigned long>(caps.cDestinations));
    for (DWORD d = 0; d < caps.cDestinations; ++d) {
        MIXERLINEA destination = {};
        destination.cbStruct = sizeof(destination);
        destination.dwDestination = d;
        result = g_api.GetLineInfoA(reinterpret_cast<HMIXEROBJ>(g_mixer), &destination,
                                    MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_DESTINATION);
        if (result != MMSYSERR_NOERROR) {
            std::printf("Destination %lu: %s\n", static_cast<unsigned long>(d), ResultName(result));
            continue;
        }
        char title[32];
        std::snprintf(title, sizeof(title), "Destination %lu", static_cast<unsigned long>(d));
        ListLine(destination, title, "", "  ");
        for (DWORD s = 0; s < destination.cConnections; ++s) {
            MIXERLINEA source = {};
            source.cbStruct = sizeof(source);
            source.dwDestination = d;
            source.dwSource = s;
            result = g_api.GetLineInfoA(reinterpret_cast<HMIXEROBJ>(g_mixer), &source,
                                        MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_SOURCE);
            std::snprintf(title, sizeof(title), "Source %lu", static_cast<unsigned long>(s));
            if (result != MMSYSERR_NOERROR)
                std::printf("  %s: %s\n", title, ResultName(result));
            else
                ListLine(source, title, "  ", "    ");
        }
    }
    return 0;
}

int Get(const char* idText) {
    DWORD id = 0;
    if (!ParseNumber(idText, false, &id)) {
        std::fprintf(stderr, "not a control ID: %s\n", idText);
        return 2;
    }
    ControlInfo info;
    MMRESULT result = FindControl(id, &info);
    std::vector<DWORD> values;
    if (result == MMSYSERR_NOERROR) result = ReadValues(info, &values);
    if (result != MMSYSERR_NOERROR) {
        std::fprintf(stderr, "control 0x%08lX: %s\n", static_cast<unsigned long>(id),
                     ResultName(result));
        return 1;
    }
    std::printf("%s\n", FormatValues(info, values).c_str());
    return 0;
}

int Set(const char* idText, int count, char** texts) {
    DWORD id = 0;
    if (!ParseNumber(idText, false, &id)) {
        std::fprintf(stderr, "not a control ID: %s\n", idText);
        return 2;
    }
    ControlInfo info;
    MMRESULT result = FindControl(id, &info);
    if (result != MMSYSERR_NOERROR) {
        std::fprintf(stderr, "control 0x%08lX: %s\n", static_cast<unsigned long>(id),
                     ResultName(result));
        return 1;
    }
    if (count != 1 && DWORD(count) != info.count) {
        std::fprintf(stderr, "control 0x%08lX takes %lu values (or one for all)\n",
                     static_cast<unsigned long>(id), static_cast<unsigned long>(info.count));
        return 2;
    }
    std::vector<DWORD> values(info.count ? info.count : 1);
    for (DWORD i = 0; i < values.size(); ++i) {
        const char* text = texts[count == 1 ? 0 : i];
        if (!ParseNumber(text, true, &values[i])) {
            std::fprintf(stderr, "not a value: %s\n", text);
            return 2;
        }
    }
    MIXERCONTROLDETAILS details = Details(info, sizeof(DWORD), values.data());
    result = g_api.SetControlDetails(reinterpret_cast<HMIXEROBJ>(g_mixer), &details,
                                     MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
    if (result == MMSYSERR_NOERROR) result = ReadValues(info, &values);
    if (result != MMSYSERR_NOERROR) {
        std::fprintf(stderr, "control 0x%08lX: %s\n", static_cast<unsigned long>(id),
                     ResultName(result));
        return 1;
    }
    std::printf("%s\n", FormatValues(info, values).c_str());
    return 0;
}

int Usage() {
    std::fprintf(stderr, "usage: quendasim-ctl list | get ID | set ID value... | reset | %s\n"
                         "IDs and values: decimal or 0x... hexadecimal\n",
                 kSimPropUsage);
    return 2;
}

// Says once, on standard error, when the card could not keep its state in its state file
// (a pipe, a device, a link to /dev/null, a file that cannot be written): the values set now
// last only while some program has the card loaded.
void NoteStateInMemory(const std::string& driver) {
    const CModuleHandle card(::LoadLibraryA(driver.c_str()));
    if (!card) return;
    using InMemoryFunction = UINT(WINAPI*)();
    auto inMemory = reinterpret_cast<InMemoryFunction>(
        reinterpret_cast<void*>(::GetProcAddress(card.Get(), "QuendaSimStateInMemory")));
    if (inMemory && inMemory())
        std::fprintf(stderr,
                     "note: the state file %s cannot hold the card's state; it is kept in memory "
                     "while a program uses the card\n",
                     CSimState::StatePath().c_str());
}

std::string DriverPath() {
    char path[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string folder(path, length < sizeof(path) ? length : 0);
    size_t slash = folder.find_last_of("\\/");
    folder = slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
    return folder + "quendasim.dll";
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    const bool known = (command == "list" && argc == 2) || (command == "get" && argc == 3) ||
                       (command == "set" && argc >= 4) || (command == "reset" && argc == 2);
    if (command == "prop") {
        int status = SimPropCommand(DriverPath(), argc - 2, argv + 2);
        std::fflush(stdout);
        NoteStateInMemory(DriverPath());
        return status;
    }
    if (!known) return Usage();

    const std::string driver = DriverPath();
    if (!LoadMixerApi(driver.c_str(), &g_api)) {
        std::fprintf(stderr, "cannot load the simulated card: %s\n", driver.c_str());
        return 1;
    }
    if (command == "reset") {
        using ResetFunction = MMRESULT(WINAPI*)();
        auto reset = reinterpret_cast<ResetFunction>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleA(driver.c_str()), "QuendaSimReset")));
        MMRESULT result = reset ? reset() : MMSYSERR_NOTSUPPORTED;
        if (result != MMSYSERR_NOERROR) {
            std::fprintf(stderr, "reset: %s\n", ResultName(result));
            return 1;
        }
        NoteStateInMemory(driver);
        return 0;
    }

    MMRESULT result = g_api.Open(&g_mixer, 0, 0, 0, CALLBACK_NULL);
    if (result != MMSYSERR_NOERROR) {
        std::fprintf(stderr, "cannot open the mixer device: %s\n", ResultName(result));
        return 1;
    }
    int status = 0;
    if (command == "list")
        status = List();
    else if (command == "get")
        status = Get(argv[2]);
    else
        status = Set(argv[2], argc - 3, argv + 3);
    g_api.Close(g_mixer);
    std::fflush(stdout);
    NoteStateInMemory(driver);
    return status;
}
