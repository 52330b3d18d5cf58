#include "ZephVolPage.h"

#include "CardFunctions.h"
#include "LineControl.h"
#include "PageTexts.h"
#include "ZephMixer.h"

#include "../res/StringIds.h"
#include "../res/resource.h"

#include <cmath>

namespace {

// Card entries of the sliders, in slider order (front left, front right, rear left, rear
// right, center, subwoofer).
const int kSpeakerEntries[6] = {kCardSpeakerFrontLeft, kCardSpeakerFrontRight, kCardSpeakerRearLeft,
                                kCardSpeakerRearRight, kCardSpeakerCenter,     kCardSpeakerSub};

// Reads the speaker volumes; false when the card gave none (no vendor object or a failed read).
bool ReadSpeakerVolumes(CZephMixer* mixer, LONG (&volumes)[kCardSpeakerCount]) {
    for (LONG& volume : volumes)
        volume = 0;
    ICardControl* control = mixer ? mixer->GetCardControl() : nullptr;
    return control && control->GetProperty(CARDPROP_SPEAKER_VOLUMES, volumes, sizeof(volumes)) != 0;
}

void WriteSpeakerVolumes(CZephMixer* mixer, LONG (&volumes)[kCardSpeakerCount]) {
    ICardControl* control = mixer ? mixer->GetCardControl() : nullptr;
    if (control) control->SetProperty(CARDPROP_SPEAKER_VOLUMES, volumes, sizeof(volumes));
}

} // namespace

CZephVolPage::CZephVolPage(CZephMixer* mixer, CSheetServices* services)
    : CZephPage(IDD_VOLUME_PAGE, mixer, services) {}

CZephVolPage::~CZephVolPage() = default;

LONG CZephVolPage::PositionToValue(int position) {
    // 20 * log10((65535 - p) / 65535) dB in 1/65536 dB, truncated toward zero.
    const double level = (65535 - position) * 0.000015259021896696422;
    return static_cast<LONG>(std::log10(2.0) * std::log2(level) * 1310720.0);
}

int CZephVolPage::ValueToPosition(LONG value) {
    double gain = 65535.0 * std::pow(10.0, value * 7.62939453125e-7);
    if (gain > kSpeakerMax) gain = kSpeakerMax;
    if (gain < 0.0) gain = 0.0;
    return 65535 - static_cast<int>(static_cast<DWORD>(gain));
}

BOOL CZephVolPage::OnInitDialog() {
    CZephPage::OnInitDialog();
    CCoolStatic* labels[] = {&m_masterLabel, &m_frontLabel, &m_rearLabel, &m_centerLabel,
                             &m_subLabel};
    for (CCoolStatic* label : labels)
        label->SetStyle(2);
    ApplyTexts();

    MIXERLINEA* line = nullptr;
    if (m_mixer) {
        m_mixer->GetSourceCount(0);
        m_mixer->GetDestinationLine(0, &line);
    }
    if (line) {
        // The master slider shows what the speakers play.
        const DWORD meter = FindPeakMeter(*m_mixer, 0, -1);
        for (DWORD k = 0; k < line->cControls; ++k) {
            MixerControlRecord* record = nullptr;
            if (!m_mixer->GetDestinationControl(0, static_cast<int>(k), &record) || !record)
                continue;
            const DWORD type = record->control.dwControlType;
            if (type == MIXERCONTROL_CONTROLTYPE_VOLUME) {
                m_master.Attach(m_mixer, line->dwLineID, record->control.dwControlID, meter);
            } else if (type == MIXERCONTROL_CONTROLTYPE_MUTE) {
                m_masterMute.Attach(m_mixer, line->dwLineID, record->control.dwControlID);
                SetLanguageText(m_masterMute, IDS_MUTE);
            }
        }
    }

    for (CCoolSliderCtrl& slider : m_speakers) {
        slider.SetRange(0, kSpeakerMax, false);
        slider.SetTicFreq(8192);
    }
    ShowSpeakerVolumes();

    m_frontLink.SetBitmaps(IDB_LINK_BROKEN, IDB_LINK_JOINED);
    m_rearLink.SetBitmaps(IDB_LINK_BROKEN, IDB_LINK_JOINED);
    DisableWithoutCardFunctions(m_mixer,
                                {&m_speakers[0], &m_speakers[1], &m_speakers[2], &m_speakers[3],
                                 &m_speakers[4], &m_speakers[5], &m_frontLink, &m_rearLink});
    return TRUE;
}

LRESULT CZephVolPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_VSCROLL:
        OnVScroll(reinterpret_cast<HWND>(lParam));
        break;
    default:
        break;
    }
    return CZephPage::WindowProc(message, wParam, lParam);
}

void CZephVolPage::Refresh() {
    ShowSpeakerVolumes();
}

void CZephVolPage::ShowSpeakerVolumes() {
    LONG volumes[kCardSpeakerCount];
    if (!ReadSpeakerVolumes(m_mixer, volumes)) return;
    for (int i = 0; i < 6; ++i)
        if (m_speakers[i].GetSafeHwnd())
            m_speakers[i].SetPos(ValueToPosition(volumes[kSpeakerEntries[i]]));
}

void CZephVolPage::OnVScroll(HWND slider) {
    int index = -1;
    for (int i = 0; i < 6; ++i)
        if (slider && m_speakers[i].GetSafeHwnd() == slider) index = i;
    if (index < 0) return;

    // Read afresh so a change made elsewhere is never written back with an old value. Without
    // a record read from the card nothing is written: a made-up record would set the other
    // five speakers as well.
    LONG volumes[kCardSpeakerCount];
    if (!ReadSpeakerVolumes(m_mixer, volumes)) return;
    const int position = m_speakers[index].GetPos();
    const LONG value = PositionToValue(position);
    volumes[kSpeakerEntries[index]] = value;

    // Sliders 0/1 are the front pair, 2/3 the rear pair; a linked partner follows.
    CCoolButton* link = index < 2 ? &m_frontLink : index < 4 ? &m_rearLink : nullptr;
    if (link && link->GetCheck() == BST_CHECKED) {
        const int partner = index ^ 1;
        volumes[kSpeakerEntries[partner]] = value;
        m_speakers[partner].SetPos(position);
    }
    WriteSpeakerVolumes(m_mixer, volumes);
}

void CZephVolPage::DoDataExchange() {
    BindControl(IDC_VOL_MASTER_LABEL, m_masterLabel);
    BindControl(IDC_VOL_MASTER, m_master);
    BindControl(IDC_VOL_MASTER_MUTE, m_masterMute);
    BindControl(IDC_VOL_SPEAKER_GROUP, m_speakerGroup);
    BindControl(IDC_VOL_FRONT_LABEL, m_frontLabel);
    BindControl(IDC_VOL_REAR_LABEL, m_rearLabel);
    BindControl(IDC_VOL_CENTER_LABEL, m_centerLabel);
    BindControl(IDC_VOL_SUB_LABEL, m_subLabel);
    const int speakerIds[6] = {IDC_VOL_FRONT_LEFT, IDC_VOL_FRONT_RIGHT, IDC_VOL_REAR_LEFT,
                               IDC_VOL_REAR_RIGHT, IDC_VOL_CENTER,      IDC_VOL_SUB};
    for (int i = 0; i < 6; ++i)
        BindControl(speakerIds[i], m_speakers[i]);
    BindControl(IDC_VOL_FRONT_LINK, m_frontLink);
    BindControl(IDC_VOL_REAR_LINK, m_rearLink);
}

void CZephVolPage::ApplyTexts() {
    SetLanguageText(m_masterLabel, IDS_MASTER);
    SetLanguageText(m_masterMute, IDS_MUTE);
    SetLanguageText(m_speakerGroup, IDS_SPEAKER_VOLUMES);
    SetLanguageText(m_frontLabel, IDS_FRONT);
    SetLanguageText(m_rearLabel, IDS_REAR);
    SetLanguageText(m_centerLabel, IDS_CENTER);
    SetLanguageText(m_subLabel, IDS_SUB);
}
