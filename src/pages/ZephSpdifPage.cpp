#include "ZephSpdifPage.h"

#include "PageTexts.h"
#include "ZephMixer.h"

#include "../res/StringIds.h"
#include "../res/resource.h"

CZephSpdifPage::CZephSpdifPage(CZephMixer* mixer)
    : CCoolPropertyPage(IDD_SPDIF_PAGE), m_mixer(mixer) {}

CZephSpdifPage::~CZephSpdifPage() = default;

BOOL CZephSpdifPage::OnInitDialog() {
    const BOOL result = CCoolPropertyPage::OnInitDialog();
    ApplyTexts();
    return result;
}

LRESULT CZephSpdifPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LANGUAGE_CHANGED) {
        ApplyTexts();
        return 0;
    }
    return CCoolPropertyPage::WindowProc(message, wParam, lParam);
}

void CZephSpdifPage::DoDataExchange() {
    BindControl(IDC_SPDIF_OUT_GROUP, m_outGroup);
    BindControl(IDC_SPDIF_OUT_ENABLE, m_outEnable);
    BindControl(IDC_SPDIF_OUT_44K, m_out44);
    BindControl(IDC_SPDIF_OUT_48K, m_out48);
    BindControl(IDC_SPDIF_WARNING, m_warning);
    BindControl(IDC_SPDIF_IN_GROUP, m_inGroup);
    BindControl(IDC_SPDIF_LOOPBACK, m_loopBack);
    BindControl(IDC_SPDIF_MONITOR, m_monitor);
    BindControl(IDC_SPDIF_VALIDITY, m_validity);
    BindControl(IDC_SPDIF_REVERSE, m_reverse);
    BindControl(IDC_SPDIF_COPYRIGHT, m_copyright);
}

void CZephSpdifPage::ApplyTexts() {
    SetLanguageText(m_outGroup, IDS_OUTPUT);
    SetLanguageText(m_outEnable, IDS_ENABLE);
    SetLanguageText(m_warning, IDS_SPDIF_MODE_WARNING);
    SetLanguageText(m_inGroup, IDS_INPUT);
    SetLanguageText(m_loopBack, IDS_LOOPBACK);
    SetLanguageText(m_monitor, IDS_MONITOR);
    SetLanguageText(m_validity, IDS_VALIDITY_DETECTION);
    SetLanguageText(m_reverse, IDS_SIGNAL_REVERSE);
    SetLanguageText(m_copyright, IDS_COPYRIGHT_PROTECTION);
}

void CZephSpdifPage::SetSPDIFOutCheck(bool on) {
    if (m_outEnable.GetSafeHwnd())
        m_outEnable.SendMessage(BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED);
}

void CZephSpdifPage::EnableOutputControls(bool enable) {
    for (CWnd* control : {static_cast<CWnd*>(&m_outEnable), static_cast<CWnd*>(&m_out44),
                          static_cast<CWnd*>(&m_out48), static_cast<CWnd*>(&m_warning)})
        if (control->GetSafeHwnd()) control->EnableWindow(enable);
}
