#include "ZephVolPage.h"

#include "PageTexts.h"
#include "ZephMixer.h"

#include "../res/StringIds.h"
#include "../res/resource.h"

CZephVolPage::CZephVolPage(CZephMixer* mixer)
    : CCoolPropertyPage(IDD_VOLUME_PAGE), m_mixer(mixer) {}

CZephVolPage::~CZephVolPage() = default;

BOOL CZephVolPage::OnInitDialog() {
    const BOOL result = CCoolPropertyPage::OnInitDialog();
    ApplyTexts();
    return result;
}

LRESULT CZephVolPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LANGUAGE_CHANGED) {
        ApplyTexts();
        return 0;
    }
    return CCoolPropertyPage::WindowProc(message, wParam, lParam);
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
