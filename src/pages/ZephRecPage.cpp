#include "ZephRecPage.h"

#include "PageTexts.h"
#include "ZephMixer.h"

#include "../res/StringIds.h"
#include "../res/resource.h"

namespace {
// Strip names: Mix, Mic, CD, Aux, Line, Wave.
const UINT kNameStrings[CZephRecPage::kStrips] = {IDS_MIX, IDS_MIC,  IDS_CD,
                                                  IDS_AUX, IDS_LINE, IDS_WAVE};
} // namespace

CZephRecPage::CZephRecPage(CZephMixer* mixer)
    : CCoolPropertyPage(IDD_RECORD_PAGE), m_mixer(mixer) {}

CZephRecPage::~CZephRecPage() = default;

BOOL CZephRecPage::OnInitDialog() {
    const BOOL result = CCoolPropertyPage::OnInitDialog();
    ApplyTexts();
    return result;
}

LRESULT CZephRecPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LANGUAGE_CHANGED) {
        ApplyTexts();
        return 0;
    }
    return CCoolPropertyPage::WindowProc(message, wParam, lParam);
}

void CZephRecPage::DoDataExchange() {
    for (int k = 0; k < kStrips; ++k) {
        BindControl(IDC_REC_MUX + k, m_muxItems[k]);
        BindControl(IDC_REC_VOLUME + k, m_volumes[k]);
    }
    BindControl(IDC_REC_BOOST, m_boost);
    BindControl(IDC_REC_SPDIF, m_spdifIn);
}

void CZephRecPage::ApplyTexts() {
    for (int k = 0; k < kStrips; ++k) {
        SetLanguageText(m_muxItems[k], kNameStrings[k]);
    }
    SetLanguageText(m_boost, IDS_BOOST);
    // The S/P-DIF input switch keeps its two-line template text.
}

void CZephRecPage::SetMicBoostCheck(bool on) {
    if (m_boost.GetSafeHwnd()) m_boost.SendMessage(BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED);
}
