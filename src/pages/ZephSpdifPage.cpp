#include "ZephSpdifPage.h"

#include "CardFunctions.h"
#include "PageTexts.h"
#include "SheetServices.h"
#include "SpeakerTestPlayer.h"
#include "ZephMixer.h"

#include "../res/StringIds.h"
#include "../res/resource.h"

CZephSpdifPage::CZephSpdifPage(CZephMixer* mixer, CSheetServices* services)
    : CZephPage(IDD_SPDIF_PAGE, mixer, services) {}

CZephSpdifPage::~CZephSpdifPage() = default;

BOOL CZephSpdifPage::OnInitDialog() {
    CZephPage::OnInitDialog();
    m_warning.SetStyle(2);
    m_warning.SetColor(CoolColors::Text, GetColor(CoolColors::SelLow));
    DWORD config = 0;
    Services().GetSpeakerTestPlayer().QuerySpeakerConfig(&config, FALSE);
    ApplyTexts();
    ApplySpeakerConfig(config);
    Refresh();
    DisableWithoutCardFunctions(m_mixer,
                                {&m_outGroup, &m_outEnable, &m_out44, &m_out48, &m_inGroup,
                                 &m_loopBack, &m_monitor, &m_validity, &m_reverse, &m_copyright});
    return TRUE;
}

LRESULT CZephSpdifPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) OnButtonClicked(LOWORD(wParam));
    return CZephPage::WindowProc(message, wParam, lParam);
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
    // The two rate buttons keep their template texts.
}

bool CZephSpdifPage::IsChecked(const CWnd& box) {
    return box.GetSafeHwnd() && ::SendMessageA(box.GetSafeHwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CZephSpdifPage::SetCheck(CWnd& box, bool on) {
    if (box.GetSafeHwnd())
        ::SendMessageA(box.GetSafeHwnd(), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CZephSpdifPage::Refresh() {
    if (!m_mixer || !GetSafeHwnd()) return;
    SetCheck(m_outEnable, m_mixer->GetSPDIFOutEnabled() != 0);
    const bool rate44 = m_mixer->GetSPDIFOut44() != 0;
    SetCheck(m_out44, rate44);
    SetCheck(m_out48, !rate44);
    SetCheck(m_copyright, m_mixer->GetSPDIFCopy() != 0);
    SetCheck(m_loopBack, m_mixer->GetSPDIFLoop() != 0);
    SetCheck(m_monitor, m_mixer->GetSPDIFInMonitor() != 0);
    SetCheck(m_validity, m_mixer->GetSPDIFInValid() != 0);
    SetCheck(m_reverse, m_mixer->GetSPDIFSignalReverse() != 0);
}

void CZephSpdifPage::ApplySpeakerConfig(DWORD config) {
    switch (config & 0xFF) {
    case 1: // headphones
    case 2: // mono
    case 4: // stereo
        EnableOutputControls(true);
        break;
    case 3: // quad
    case 5: // surround
    case 6: // 5.1
        Services().ApplySPDIFOut(0);
        EnableOutputControls(false);
        break;
    default:
        break;
    }
    Refresh();
}

void CZephSpdifPage::OnButtonClicked(UINT id) {
    if (!m_mixer) return;
    switch (id) {
    case IDC_SPDIF_OUT_ENABLE:
        Services().ApplySPDIFOut(IsChecked(m_outEnable) ? 1 : 0);
        break;
    case IDC_SPDIF_OUT_44K:
        m_mixer->SetSPDIFOut44(IsChecked(m_out44) ? 1 : 0);
        break;
    case IDC_SPDIF_OUT_48K:
        m_mixer->SetSPDIFOut44(IsChecked(m_out48) ? 0 : 1);
        break;
    case IDC_SPDIF_LOOPBACK:
        m_mixer->SetSPDIFLoop(IsChecked(m_loopBack) ? 1 : 0);
        break;
    case IDC_SPDIF_MONITOR:
        m_mixer->SetSPDIFInMonitor(IsChecked(m_monitor) ? 1 : 0);
        break;
    case IDC_SPDIF_VALIDITY:
        m_mixer->SetSPDIFInValid(IsChecked(m_validity) ? 1 : 0);
        break;
    case IDC_SPDIF_COPYRIGHT:
        m_mixer->SetSPDIFCopy(IsChecked(m_copyright) ? 1 : 0);
        break;
    case IDC_SPDIF_REVERSE:
        // Written without reading the other boxes back.
        m_mixer->SetSPDIFSignalReverse(IsChecked(m_reverse) ? 1 : 0);
        return;
    default:
        return;
    }
    Refresh();
}

void CZephSpdifPage::SetSPDIFOutCheck(bool on) {
    SetCheck(m_outEnable, on);
}

void CZephSpdifPage::EnableOutputControls(bool enable) {
    for (CWnd* control : {static_cast<CWnd*>(&m_outGroup), static_cast<CWnd*>(&m_outEnable),
                          static_cast<CWnd*>(&m_out44), static_cast<CWnd*>(&m_out48)})
        if (control->GetSafeHwnd()) control->EnableWindow(enable && HasCardFunctions(m_mixer));
}
