#include "ZephSpkrPage.h"

#include "PageTexts.h"
#include "ZephMixer.h"

#include "../res/StringIds.h"
#include "../res/resource.h"

CZephSpkrPage::CZephSpkrPage(CZephMixer* mixer)
    : CCoolPropertyPage(IDD_SPEAKERS_PAGE), m_mixer(mixer) {}

CZephSpkrPage::~CZephSpkrPage() = default;

BOOL CZephSpkrPage::OnInitDialog() {
    const BOOL result = CCoolPropertyPage::OnInitDialog();
    // The test buttons are pictures of the speakers: grey, and green while pressed.
    const UINT pictures[6][2] = {{IDB_SPEAKER_FRONT_LEFT, IDB_SPEAKER_FRONT_LEFT_ON},
                                 {IDB_SPEAKER_FRONT_RIGHT, IDB_SPEAKER_FRONT_RIGHT_ON},
                                 {IDB_SPEAKER_REAR_LEFT, IDB_SPEAKER_REAR_LEFT_ON},
                                 {IDB_SPEAKER_REAR_RIGHT, IDB_SPEAKER_REAR_RIGHT_ON},
                                 {IDB_SPEAKER_CENTER, IDB_SPEAKER_CENTER_ON},
                                 {IDB_SPEAKER_SUB, IDB_SPEAKER_SUB_ON}};
    for (int i = 0; i < 6; ++i) {
        if (!m_tests[i].GetSafeHwnd()) continue;
        m_tests[i].SetWindowText("");
        m_tests[i].SetBitmaps(pictures[i][0], pictures[i][1]);
    }
    ApplyTexts();
    return result;
}

LRESULT CZephSpkrPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LANGUAGE_CHANGED) {
        ApplyTexts();
        return 0;
    }
    return CCoolPropertyPage::WindowProc(message, wParam, lParam);
}

void CZephSpkrPage::DoDataExchange() {
    BindControl(IDC_SPK_CONFIG_GROUP, m_configGroup);
    BindControl(IDC_SPK_CONFIG, m_config);
    const int testIds[6] = {IDC_SPK_FRONT_LEFT, IDC_SPK_FRONT_RIGHT, IDC_SPK_REAR_LEFT,
                            IDC_SPK_REAR_RIGHT, IDC_SPK_CENTER,      IDC_SPK_SUB};
    for (int i = 0; i < 6; ++i)
        BindControl(testIds[i], m_tests[i]);
    BindControl(IDC_SPK_EFFECT_GROUP, m_effectGroup);
    BindControl(IDC_SPK_EFFECT_ENABLE, m_effectEnable);
    BindControl(IDC_SPK_ROOM, m_room);
    BindControl(IDC_SPK_SPDIF_GROUP, m_spdifGroup);
    BindControl(IDC_SPK_SPDIF_ENABLE, m_spdifEnable);
    BindControl(IDC_SPK_SPDIF_WARNING, m_spdifWarning);
    BindControl(IDC_SPK_ACCEL_GROUP, m_accelGroup);
    BindControl(IDC_SPK_ACCEL, m_accel);
    BindControl(IDC_SPK_ACCEL_MAX, m_accelMax);
}

void CZephSpkrPage::ApplyTexts() {
    SetLanguageText(m_configGroup, IDS_SPEAKER_CONFIGURATION);
    SetLanguageText(m_effectGroup, IDS_VIRTUAL_SPEAKERS);
    SetLanguageText(m_effectEnable, IDS_ENABLE);
    SetLanguageText(m_spdifGroup, IDS_SPDIF_OUTPUT);
    SetLanguageText(m_spdifEnable, IDS_ENABLE);
    SetLanguageText(m_spdifWarning, IDS_SPDIF_MODE_WARNING);
}

void CZephSpkrPage::SetSPDIFOutCheck(bool on) {
    if (m_spdifEnable.GetSafeHwnd())
        m_spdifEnable.SendMessage(BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED);
}
