#include "ZephSrcPage.h"

#include "PageTexts.h"
#include "ZephMixer.h"

#include "../res/StringIds.h"
#include "../res/resource.h"

namespace {
// Strip labels: Wave, Synth, Mic, CD, Aux, Line.
const UINT kLabelStrings[CZephSrcPage::kStrips] = {IDS_WAVE, IDS_SYNTH, IDS_MIC,
                                                   IDS_CD,   IDS_AUX,   IDS_LINE};
} // namespace

CZephSrcPage::CZephSrcPage(CZephMixer* mixer)
    : CCoolPropertyPage(IDD_SOURCES_PAGE), m_mixer(mixer) {}

CZephSrcPage::~CZephSrcPage() = default;

BOOL CZephSrcPage::OnInitDialog() {
    const BOOL result = CCoolPropertyPage::OnInitDialog();
    ApplyTexts();
    return result;
}

LRESULT CZephSrcPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LANGUAGE_CHANGED) {
        ApplyTexts();
        return 0;
    }
    return CCoolPropertyPage::WindowProc(message, wParam, lParam);
}

void CZephSrcPage::DoDataExchange() {
    for (int k = 0; k < kStrips; ++k) {
        BindControl(IDC_SRC_LABEL + k, m_labels[k]);
        BindControl(IDC_SRC_VOLUME + k, m_volumes[k]);
        BindControl(IDC_SRC_MUTE + k, m_mutes[k]);
    }
    BindControl(IDC_SRC_BOOST, m_boost);
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
