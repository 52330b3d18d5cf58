#include "ZephRecPage.h"

#include "CardFunctions.h"
#include "LineControl.h"
#include "PageTexts.h"
#include "SheetServices.h"
#include "ZephMixer.h"

#include "../res/StringIds.h"
#include "../res/resource.h"

#include <cstring>

namespace {
// Strip names: Mix, Mic, CD, Aux, Line, Wave.
const UINT kNameStrings[CZephRecPage::kStrips] = {IDS_MIX, IDS_MIC,  IDS_CD,
                                                  IDS_AUX, IDS_LINE, IDS_WAVE};
// Component types of the strips' recording sources.
const DWORD kStripTypes[CZephRecPage::kStrips] = {
    MIXERLINE_COMPONENTTYPE_SRC_ANALOG,      MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE,
    MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC, MIXERLINE_COMPONENTTYPE_SRC_ANALOG,
    MIXERLINE_COMPONENTTYPE_SRC_LINE,        MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED};
} // namespace

CZephRecPage::CZephRecPage(CZephMixer* mixer, CSheetServices* services)
    : CZephPage(IDD_RECORD_PAGE, mixer, services) {}

CZephRecPage::~CZephRecPage() = default;

int CZephRecPage::StripsInUse() const {
    const int count = m_mixer ? m_mixer->GetSourceCount(1) : 0;
    return count < kStrips ? count : kStrips;
}

void CZephRecPage::ChooseStripSources(CMixer& mixer, int (&sources)[kStrips]) {
    int count = mixer.GetSourceCount(1);
    if (count > kStrips) count = kStrips;
    for (int& source : sources)
        source = kNoSource;
    for (int s = 0; s < count; ++s) {
        MIXERLINEA* line = nullptr;
        if (!mixer.GetLine(1, s, &line) || !line) continue;
        for (int k = 0; k < count; ++k) {
            if (sources[k] == kNoSource && kStripTypes[k] == line->dwComponentType) {
                sources[k] = s;
                break;
            }
        }
    }
}

BOOL CZephRecPage::OnInitDialog() {
    CZephPage::OnInitDialog();
    const int strips = StripsInUse();
    MIXERLINEA* destination = nullptr;
    if (strips > 0 && m_mixer->GetDestinationLine(1, &destination) && destination) {
        int sources[kStrips];
        ChooseStripSources(*m_mixer, sources);
        MixerControlRecord* mux = nullptr;
        MIXERCONTROLDETAILS* listText = nullptr;
        if (!m_mixer->GetDestinationControl(1, 0, &mux)) mux = nullptr;
        if (mux) m_mixer->FindListText(mux->control.dwControlID, &listText);
        const auto* items =
            listText ? static_cast<const MIXERCONTROLDETAILS_LISTTEXTA*>(listText->paDetails)
                     : nullptr;
        const int itemCount = m_mixer->GetSourceCount(1);
        for (int k = 0; k < strips; ++k) {
            MIXERLINEA* line = nullptr;
            if (sources[k] == kNoSource || !m_mixer->GetLine(1, sources[k], &line) || !line)
                continue; // a strip without a source stays unbound
            if (const MixerControlRecord* volume =
                    FindLineControl(*m_mixer, 1, sources[k], MIXERCONTROL_CONTROLTYPE_VOLUME))
                m_volumes[k].Attach(m_mixer, line->dwLineID, volume->control.dwControlID,
                                    FindPeakMeter(*m_mixer, 1, sources[k]));
            // The multiplexer item whose name is the source's; without one the box stays
            // unbound rather than standing for another source.
            int item = -1;
            const DWORD listed = items ? listText->cMultipleItems : 0;
            for (DWORD i = 0; i < listed && item < 0; ++i)
                if (std::strcmp(items[i].szName, line->szName) == 0) item = static_cast<int>(i);
            if (item < 0) continue;
            m_muxItems[k].SetItem(itemCount, item);
            m_muxItems[k].Attach(m_mixer, destination->dwLineID, mux->control.dwControlID);
        }
    }
    ApplyTexts();
    SetMicBoostCheck(m_mixer && m_mixer->GetMicBoost() != 0);
    ShowSPDIFRecord();
    DisableWithoutCardFunctions(m_mixer, {&m_boost, &m_spdifIn});
    return TRUE;
}

LRESULT CZephRecPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        // The boxes handle their own click first (a multiplexer box selects its item).
        const LRESULT result = CZephPage::WindowProc(message, wParam, lParam);
        if (HIWORD(wParam) == BN_CLICKED) OnButtonClicked(LOWORD(wParam));
        return result;
    }
    default:
        return CZephPage::WindowProc(message, wParam, lParam);
    }
}

void CZephRecPage::OnButtonClicked(UINT id) {
    if (id == IDC_REC_BOOST) {
        Services().ApplyMicBoost(m_boost.GetCheck() == BST_CHECKED ? 1 : 0);
    } else if (id == IDC_REC_SPDIF) {
        if (m_mixer) m_mixer->SetSPDIFRecord(m_spdifIn.GetCheck() == BST_CHECKED ? 1 : 0);
        ShowSPDIFRecord();
    } else if (id >= IDC_REC_MUX && id < IDC_REC_MUX + kStrips) {
        // Choosing an analog source ends recording from the S/P-DIF input.
        if (m_mixer) m_mixer->SetSPDIFRecord(0);
        ShowSPDIFRecord();
    }
}

void CZephRecPage::ShowSPDIFRecord() {
    const int on = m_mixer ? m_mixer->GetSPDIFRecord() : 0;
    if (m_spdifIn.GetSafeHwnd())
        m_spdifIn.SendMessage(BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED);
    if (!on) return;
    // Only the look: the multiplexer keeps its selection.
    for (CMixerButton& box : m_muxItems)
        if (box.GetSafeHwnd()) box.SendMessage(BM_SETCHECK, BST_UNCHECKED);
}

void CZephRecPage::DoDataExchange() {
    BindControl(IDC_REC_SPDIF, m_spdifIn);
    BindControl(IDC_REC_BOOST, m_boost);
    const int strips = StripsInUse();
    for (int k = 0; k < strips; ++k)
        BindControl(IDC_REC_MUX + k, m_muxItems[k]);
    for (int k = 0; k < strips; ++k)
        BindControl(IDC_REC_VOLUME + k, m_volumes[k]);
}

void CZephRecPage::ApplyTexts() {
    const int strips = StripsInUse();
    for (int k = 0; k < strips; ++k)
        SetLanguageText(m_muxItems[k], kNameStrings[k]);
    SetLanguageText(m_boost, IDS_BOOST);
    // The S/P-DIF input switch keeps its two-line template text.
}

void CZephRecPage::SetMicBoostCheck(bool on) {
    if (m_boost.GetSafeHwnd()) m_boost.SendMessage(BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED);
}
