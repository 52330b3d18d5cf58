#include "Platform.h"

#include "ZephMixer.h"

#include "DirectSoundSettings.h"

#include <cstring>

namespace {

// The speaker gains of a preset, with their entries in the speaker volume property, in the
// order they are written.
struct SpeakerKey {
    const char* key;
    int entry;
};
const SpeakerKey kSpeakerKeys[] = {
    {"SpeakerVolFL", kCardSpeakerFrontLeft}, {"SpeakerVolFR", kCardSpeakerFrontRight},
    {"SpeakerVolRR", kCardSpeakerRearRight}, {"SpeakerVolRL", kCardSpeakerRearLeft},
    {"SpeakerVolSub", kCardSpeakerSub},      {"SpeakerVolCenter", kCardSpeakerCenter},
};

const BYTE kHeadphones = 1;
const BYTE kStereo = 4;

} // namespace

const DWORD CZephMixer::kAccelerationCodes[4] = {0x0000000F, 0x0001000F, 0x00010008, 0x00010000};

CZephMixer::CZephMixer() = default;

CZephMixer::~CZephMixer() {
    // The object belongs to a server that COM unloads below; let it go first.
    m_control.Reset();
    m_com.Uninitialize();
}

int CZephMixer::Init(Start start) {
    if (FAILED(m_com.Initialize())) return 0;

    int opened = Open(kDeviceName, kManufacturerId, kProductId);
    if (!opened) return 0;

    if (!m_control) m_control.Attach(CreateCardControl());

    if (m_control && start == Start::Script) {
        m_control->GetProperty(CARDPROP_SPDIF, m_spdif, sizeof(m_spdif));
        m_control->GetProperty(CARDPROP_EFFECT, &m_effect, sizeof(m_effect));
        return opened;
    }
    if (m_control) {
        m_control->GetProperty(CARDPROP_SPDIF, m_spdif, sizeof(m_spdif));
        m_spdif[kSpdifStarted] = 1;
        m_spdif[kSpdifSignalReverse] = 0;
        m_control->SetProperty(CARDPROP_SPDIF, m_spdif, sizeof(m_spdif));

        m_control->GetProperty(CARDPROP_EFFECT, &m_effect, sizeof(m_effect));

        // Bytes 0 to 2 of the input block start cleared. A block that could not be read is
        // not written: zeros would replace the card's other input settings.
        BYTE input[kCardInputSize] = {};
        if (m_control->GetProperty(CARDPROP_INPUT, input, sizeof(input))) {
            input[0] = input[1] = input[2] = 0;
            m_control->SetProperty(CARDPROP_INPUT, input, sizeof(input));
        }
    }

    // Every start of the panel sets full DirectSound acceleration.
    if (start == Start::Panel) WriteAccelerationInBackground(3);
    return opened;
}

ICardControl* CZephMixer::CreateCardControl() {
    for (const IID& iid : kCardControlIids) {
        CComPtr<ICardControl> object;
        if (SUCCEEDED(CoCreateInstance(CLSID_CardControl, nullptr, CLSCTX_INPROC_SERVER, iid,
                                       object.ReceiveVoid())) &&
            object)
            return object.Detach();
    }
    return nullptr;
}

int CZephMixer::GetSpeakerMode(DWORD* mode) {
    if (!m_control || !mode) return 0;
    m_control->GetProperty(CARDPROP_SPEAKER_MODE, mode, sizeof(*mode));
    return 1;
}

bool CZephMixer::SpdifOutAllowed() {
    DWORD mode = 0;
    GetSpeakerMode(&mode);
    BYTE config = static_cast<BYTE>(mode & 0xFF);
    return config == kHeadphones || config == kStereo;
}

int CZephMixer::WriteSpdif() {
    m_control->SetProperty(CARDPROP_SPDIF, m_spdif, sizeof(m_spdif));
    return m_control->GetProperty(CARDPROP_SPDIF, m_spdif, sizeof(m_spdif)) ? 1 : 0;
}

int CZephMixer::SetSpdifByte(int index, int value) {
    if (!m_control) return 0;
    m_spdif[index] = static_cast<BYTE>(value);
    return WriteSpdif();
}

int CZephMixer::SetSPDIFOutEnabled(int value) {
    if (!m_control) return 0;
    m_spdif[kSpdifOutEnabled] = SpdifOutAllowed() ? static_cast<BYTE>(value) : 0;
    return WriteSpdif();
}

int CZephMixer::SetSPDIFOut44(int value) {
    if (!m_control || !SpdifOutAllowed()) return 0;
    m_spdif[kSpdifOut44] = static_cast<BYTE>(value);
    return WriteSpdif();
}

int CZephMixer::SetReverb(LONG effect) {
    if (!m_control) return 0;
    m_effect = effect;
    m_control->SetProperty(CARDPROP_EFFECT, &m_effect, sizeof(m_effect));
    return m_control->GetProperty(CARDPROP_EFFECT, &m_effect, sizeof(m_effect)) ? 1 : 0;
}

void CZephMixer::GetReverb(LONG* effect) const {
    if (effect) *effect = m_effect;
}

void CZephMixer::SetMicBoost(int value) {
    if (!m_control) return;
    BYTE input[kCardInputSize] = {};
    if (!m_control->GetProperty(CARDPROP_INPUT, input, sizeof(input))) return;
    input[kInputMicBoost] = static_cast<BYTE>(value);
    m_control->SetProperty(CARDPROP_INPUT, input, sizeof(input));
}

int CZephMixer::GetMicBoost() {
    if (!m_control) return 0;
    BYTE input[kCardInputSize] = {};
    if (!m_control->GetProperty(CARDPROP_INPUT, input, sizeof(input))) return -1;
    return input[kInputMicBoost];
}

void CZephMixer::FinishAccelerationWrite() {
    m_accelerationWrite.Wait();
}

void CZephMixer::WriteAccelerationInBackground(int level) {
    m_accelerationWrite.Start(
        [level] { WriteDirectSoundSettings(kHardwareId, kAccelerationCodes[level]); });
}

void CZephMixer::SetDSAcceleration(int level) {
    FinishAccelerationWrite();
    if (level < 0 || level > 3) level = 3;
    WriteDirectSoundSettings(kHardwareId, kAccelerationCodes[level]);
}

int CZephMixer::GetDSAcceleration() {
    FinishAccelerationWrite();
    DWORD code = 0;
    ReadDirectSoundSettings(kHardwareId, &code);
    for (int level = 0; level < 3; ++level)
        if (code == kAccelerationCodes[level]) return level;
    return 3;
}

int CZephMixer::SaveSettings(FILE* stream) {
    if (!stream) return 0;
    const MIXERCAPSA& caps = GetCaps();
    std::fprintf(stream, "Begin NonWSS Settings: %s\t%i\t%i %i\n", caps.szPname,
                 static_cast<int>(caps.vDriverVersion), caps.wMid, caps.wPid);

    DWORD mode = 0;
    GetSpeakerMode(&mode);
    LONG effect = 0;
    GetReverb(&effect);
    std::fprintf(stream, "%s %i\n", "SpeakerMode", static_cast<int>(mode));
    std::fprintf(stream, "%s %i\n", "MicBoost", GetMicBoost());
    std::fprintf(stream, "%s %i\n", "Reverb", static_cast<int>(effect));
    std::fprintf(stream, "%s %i\n", "SPDIFOutEnabled", GetSPDIFOutEnabled());
    std::fprintf(stream, "%s %i\n", "SPDIFOut44", GetSPDIFOut44());
    std::fprintf(stream, "%s %i\n", "SPDIFInMonitor", GetSPDIFInMonitor());
    std::fprintf(stream, "%s %i\n", "SPDIFInValid", GetSPDIFInValid());
    std::fprintf(stream, "%s %i\n", "SPDIFLoop", GetSPDIFLoop());
    std::fprintf(stream, "%s %i\n", "SPDIFCopy", GetSPDIFCopy());

    LONG gains[kCardSpeakerCount] = {};
    if (m_control) m_control->GetProperty(CARDPROP_SPEAKER_VOLUMES, gains, sizeof(gains));
    for (const SpeakerKey& speaker : kSpeakerKeys)
        std::fprintf(stream, "%s %i\n", speaker.key, static_cast<int>(gains[speaker.entry]));

    return CMixerDevice::SaveSettings(stream) ? 1 : 0;
}

int CZephMixer::LoadSettings(FILE* stream) {
    if (!stream) return 0;
    int value = 0;
    // The speaker configuration is changed on the Speakers page only.
    FindKey(stream, "SpeakerMode", &value, 0, sizeof(value));
    // A negative boost is what a preset holds when the card's input block could not be read
    // while saving: it says nothing about the boost and must not switch it on.
    if (FindKey(stream, "MicBoost", &value, 0, sizeof(value)) && value >= 0) SetMicBoost(value);
    if (FindKey(stream, "Reverb", &value, 0, sizeof(value))) SetReverb(value);
    if (FindKey(stream, "SPDIFOutEnabled", &value, 0, sizeof(value))) SetSPDIFOutEnabled(value);
    if (FindKey(stream, "SPDIFOut44", &value, 0, sizeof(value))) SetSPDIFOut44(value);
    if (FindKey(stream, "SPDIFInMonitor", &value, 0, sizeof(value))) SetSPDIFInMonitor(value);
    if (FindKey(stream, "SPDIFInValid", &value, 0, sizeof(value))) SetSPDIFInValid(value);
    if (FindKey(stream, "SPDIFLoop", &value, 0, sizeof(value))) SetSPDIFLoop(value);
    if (FindKey(stream, "SPDIFCopy", &value, 0, sizeof(value))) SetSPDIFCopy(value);

    // The gains are written back once, whether or not the file held any of them; but not
    // when they could not be read, since the speakers the file leaves out would go to 0 dB.
    LONG gains[kCardSpeakerCount] = {};
    bool haveGains =
        m_control && m_control->GetProperty(CARDPROP_SPEAKER_VOLUMES, gains, sizeof(gains));
    for (const SpeakerKey& speaker : kSpeakerKeys)
        if (FindKey(stream, speaker.key, &value, 0, sizeof(value))) gains[speaker.entry] = value;
    if (haveGains) m_control->SetProperty(CARDPROP_SPEAKER_VOLUMES, gains, sizeof(gains));

    // A key that was not found leaves the stream at its end; the mixer section is then
    // searched from the start, so a file without card keys still gets its controls applied.
    if (std::feof(stream)) {
        std::clearerr(stream);
        std::fseek(stream, 0, SEEK_SET);
    }
    if (CMixerDevice::LoadSettings(stream)) return 1;
    std::fseek(stream, 0, SEEK_SET);
    return CMixerDevice::LoadSettings(stream);
}
