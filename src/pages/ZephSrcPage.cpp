#include "ZephSrcPage.h"

#include "CardFunctions.h"
#include "LineControl.h"
#include "PageTexts.h"
#include "SheetServices.h"
#include "ZephMixer.h"

#include "../res/StringIds.h"
#include "../res/resource.h"

namespace {
// Strip labels: Wave, Synth, Mic, CD, Aux, Line.
const UINT kLabelStrings[CZephSrcPage::kStrips] = {IDS_WAVE, IDS_SYNTH, IDS_MIC,
                                                   IDS_CD,   IDS_AUX,   IDS_LINE};
// Component types of the strips' source lines.
const DWORD kStripTypes[CZephSrcPage::kStrips] = {
    MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT,    MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER,
    MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC,
    MIXERLINE_COMPONENTTYPE_SRC_ANALOG,     MIXERLINE_COMPONENTTYPE_SRC_LINE};
// The card's second line input, which the page does not show.
constexpr DWORD kHiddenLineId = 0x00020000;
} // namespace

void CZephSrcPage::ChooseStripLines(CMixer& mixer, int (&lines)[kStrips]) {
    const int count = mixer.GetSourceCount(0);
    for (int k = 0; k < kStrips; ++k) {
        lines[k] = kNoLine;
        for (int j = -1; j < count && lines[k] == kNoLine; ++j) {
            MIXERLINEA* line = nullptr;
            if (!mixer.GetLine(0, j, &line) || !line) continue;
            if (line->dwLineID == kHiddenLineId &&
                line->dwComponentType == MIXERLINE_COMPONENTTYPE_SRC_LINE)
                continue;
            if (line->dwComponentType != kStripTypes[k]) continue;
            bool taken = false;
            for (int earlier = 0; earlier < k; ++earlier)
                taken = taken || lines[earlier] == j;
            if (!taken) lines[k] = j;
        }
    }
}

CZephSrcPage::CZephSrcPage(CZephMixer* mixer, CSheetServices* services)
    : CZephPage(IDD_SOURCES_PAGE, mixer, services) {}

CZephSrcPage::~CZephSrcPage() = default;

BOOL CZephSrcPage::OnInitDialog() {
    CZephPage::OnInitDialog();
    if (m_mixer) {
        int lines[kStrips];
        ChooseStripLines(*m_mixer, lines);
        for (int k = 0; k < kStrips; ++k) {
            MIXERLINEA* line = nullptr;
            if (lines[k] == kNoLine || !m_mixer->GetLine(0, lines[k], &line) || !line) continue;
            // A source with a peak meter shows its level inside its slider.
            if (const MixerControlRecord* volume =
                    FindLineControl(*m_mixer, 0, lines[k], MIXERCONTROL_CONTROLTYPE_VOLUME))
                m_volumes[k].Attach(m_mixer, line->dwLineID, volume->control.dwControlID,
                                    FindPeakMeter(*m_mixer, 0, lines[k]));
            if (const MixerControlRecord* mute =
                    FindLineControl(*m_mixer, 0, lines[k], MIXERCONTROL_CONTROLTYPE_MUTE))
                m_mutes[k].Attach(m_mixer, line->dwLineID, mute->control.dwControlID);
        }
    }
    for (CCoolStatic& label : m_labels)
        if (label.GetSafeHwnd()) label.SetStyle(2);
    // A failed read (-1) also shows the box checked.
    SetMicBoostCheck(m_mixer && m_mixer->GetMicBoost() != 0);
    DisableWithoutCardFunctions(m_mixer, {&m_boost});
    ApplyTexts();
    return TRUE;
}

LRESULT CZephSrcPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_SRC_BOOST) OnBoostClicked();
        break;
    default:
        break;
    }
    return CZephPage::WindowProc(message, wParam, lParam);
}

void CZephSrcPage::OnBoostClicked() {
    Services().ApplyMicBoost(m_boost.GetCheck() == BST_CHECKED ? 1 : 0);
}

void CZephSrcPage::DoDataExchange() {
    BindControl(IDC_SRC_BOOST, m_boost);
    // Without a mixer the strips stay plain dialog items.
    if (!m_mixer) return;
    for (int k = 0; k < kStrips; ++k) {
        BindControl(IDC_SRC_LABEL + k, m_labels[k]);
        BindControl(IDC_SRC_VOLUME + k, m_volumes[k]);
        BindControl(IDC_SRC_MUTE + k, m_mutes[k]);
    }
}

void CZephSrcPage::ApplyTexts() {
    for (int k = 0; k < kStrips; ++k) {
        SetLanguageText(m_labels[k], kLabelStrings[k]);
        SetLanguageText(m_mutes[k], IDS_MUTE);
    }
    SetLanguageText(m_boost, IDS_BOOST);
}

void CZephSrcPage::SetMicBoostCheck(bool on) {
    if (m_boost.GetSafeHwnd()) m_boost.SendMessage(BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED);
}
