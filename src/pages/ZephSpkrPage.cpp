#include "ZephSpkrPage.h"

#include "CardFunctions.h"
#include "PageTexts.h"
#include "SheetServices.h"
#include "SpeakerTestPlayer.h"
#include "ZephMixer.h"

#include "../res/StringIds.h"
#include "../res/resource.h"

namespace {
// Test buttons in member order: front left, front right, rear left, rear right, center, sub.
const int kTestIds[6] = {IDC_SPK_FRONT_LEFT, IDC_SPK_FRONT_RIGHT, IDC_SPK_REAR_LEFT,
                         IDC_SPK_REAR_RIGHT, IDC_SPK_CENTER,      IDC_SPK_SUB};
const DWORD kTestMasks[6] = {CSpeakerTestPlayer::kFrontLeft, CSpeakerTestPlayer::kFrontRight,
                             CSpeakerTestPlayer::kRearLeft,  CSpeakerTestPlayer::kRearRight,
                             CSpeakerTestPlayer::kCenter,    CSpeakerTestPlayer::kSubwoofer};
enum { kFrontLeft, kFrontRight, kRearLeft, kRearRight, kCenter, kSub };

// The card's effect values: kEffectOff switches the virtual speakers off, 25 is on without a
// room.
constexpr LONG kEffectOff = CZephMixer::kEffectOff;
const LONG kEffectNoRoom = 25;
const int kRooms = 24;

struct ConfigItem {
    UINT text;
    DWORD code;
};
const ConfigItem kConfigItems[] = {{IDS_SPEAKERS_SIX, 6},
                                   {IDS_SPEAKERS_QUAD, 3},
                                   {IDS_SPEAKERS_STEREO, 4},
                                   {IDS_SPEAKERS_PHONES, 1}};

// The configuration item shown for a code: surround appears as quad.
bool ConfigItemMatches(DWORD itemCode, DWORD code) {
    const DWORD low = code & 0xFF;
    return itemCode == low || (itemCode == 3 && low == 5);
}

std::string LanguageString(UINT id) {
    CLanguageSupport* language = CLanguageSupport::GetLanguageObject();
    return language ? language->GetString(id) : std::string();
}
} // namespace

CZephSpkrPage::CZephSpkrPage(CZephMixer* mixer, CSheetServices* services)
    : CZephPage(IDD_SPEAKERS_PAGE, mixer, services) {}

CZephSpkrPage::~CZephSpkrPage() = default;

BOOL CZephSpkrPage::OnInitDialog() {
    CZephPage::OnInitDialog();
    // The test buttons are pictures of the speakers on black: grey, and green while pressed.
    const UINT pictures[6][2] = {{IDB_SPEAKER_FRONT_LEFT, IDB_SPEAKER_FRONT_LEFT_ON},
                                 {IDB_SPEAKER_FRONT_RIGHT, IDB_SPEAKER_FRONT_RIGHT_ON},
                                 {IDB_SPEAKER_REAR_LEFT, IDB_SPEAKER_REAR_LEFT_ON},
                                 {IDB_SPEAKER_REAR_RIGHT, IDB_SPEAKER_REAR_RIGHT_ON},
                                 {IDB_SPEAKER_CENTER, IDB_SPEAKER_CENTER_ON},
                                 {IDB_SPEAKER_SUB, IDB_SPEAKER_SUB_ON}};
    for (int i = 0; i < 6; ++i) {
        if (!m_tests[i].GetSafeHwnd()) continue;
        m_tests[i].SetTransparentColor(RGB(0, 0, 0));
        m_tests[i].SetBitmaps(pictures[i][0], pictures[i][1], 0, 0, 0, true);
        m_tests[i].SetWindowText("");
    }
    if (m_accel.GetSafeHwnd()) m_accel.SetRange(0, 3, false);
    if (m_accelMax.GetSafeHwnd()) m_accelMax.SetStyle(2);
    ApplyTexts();
    if (m_accel.GetSafeHwnd() && m_mixer) m_accel.SetPos(m_mixer->GetDSAcceleration());
    Refresh();
    // The test sounds and the acceleration do without the vendor object.
    DisableWithoutCardFunctions(m_mixer, {&m_config, &m_effectEnable, &m_room, &m_spdifEnable});
    return TRUE;
}

LRESULT CZephSpkrPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        break;
    case WM_HSCROLL:
        // Every notification writes the level, also while the thumb is dragged.
        if (m_mixer && m_accel.GetSafeHwnd() && reinterpret_cast<HWND>(lParam) == m_accel.m_hWnd)
            m_mixer->SetDSAcceleration(m_accel.GetPos());
        break;
    default:
        break;
    }
    return CZephPage::WindowProc(message, wParam, lParam);
}

void CZephSpkrPage::DoDataExchange() {
    BindControl(IDC_SPK_CONFIG_GROUP, m_configGroup);
    BindControl(IDC_SPK_CONFIG, m_config);
    for (int i = 0; i < 6; ++i)
        BindControl(kTestIds[i], m_tests[i]);
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

CSpeakerTestPlayer& CZephSpkrPage::Player() const {
    return Services().GetSpeakerTestPlayer();
}

DWORD CZephSpkrPage::CachedSpeakerConfig() const {
    DWORD config = 0;
    Player().QuerySpeakerConfig(&config, FALSE);
    return config;
}

void CZephSpkrPage::ApplyTexts() {
    FillConfigList();
    SetLanguageText(m_spdifGroup, IDS_SPDIF_OUTPUT);
    SetLanguageText(m_spdifWarning, IDS_SPDIF_MODE_WARNING);
    if (m_spdifWarning.GetSafeHwnd()) {
        m_spdifWarning.SetStyle(2);
        m_spdifWarning.SetColor(CoolColors::Text, GetColor(CoolColors::SelLow));
    }
    SetLanguageText(m_effectGroup, IDS_VIRTUAL_SPEAKERS);
    SetLanguageText(m_configGroup, IDS_SPEAKER_CONFIGURATION);
    SetLanguageText(m_effectEnable, IDS_ENABLE);
    SetLanguageText(m_spdifEnable, IDS_ENABLE);
    FillRoomList();
}

void CZephSpkrPage::FillConfigList() {
    if (!m_config.GetSafeHwnd()) return;
    m_config.ResetContent();
    const DWORD config = CachedSpeakerConfig();
    for (const ConfigItem& entry : kConfigItems) {
        const int item = m_config.AddString(LanguageString(entry.text));
        if (item < 0) continue;
        m_config.SetItemData(item, entry.code);
        if (ConfigItemMatches(entry.code, config)) m_config.SetCurSel(item);
    }
}

void CZephSpkrPage::FillRoomList() {
    if (!m_room.GetSafeHwnd()) return;
    m_room.ResetContent();
    LONG effect = kEffectOff;
    if (m_mixer) m_mixer->GetReverb(&effect);
    for (int k = 0; k < kRooms; ++k) {
        const int item = m_room.AddString(LanguageString(IDS_ROOM_NONE + k));
        if (item < 0) continue;
        const LONG data = k == 0 ? kEffectNoRoom : k - 1;
        m_room.SetItemData(item, static_cast<DWORD_PTR>(data));
        if (data == effect) m_room.SetCurSel(item);
    }
    // With the effect off the list shows "--- None ---", as after a refresh.
    if (effect == kEffectOff) m_room.SetCurSel(0);
}

void CZephSpkrPage::Refresh() {
    if (!GetSafeHwnd()) return;
    auto show = [this](int index, bool visible) {
        CCoolButton& button = m_tests[index];
        if (!button.GetSafeHwnd()) return;
        if (!visible) button.SendMessage(BM_SETCHECK, BST_UNCHECKED);
        button.ShowWindow(visible ? SW_SHOW : SW_HIDE);
    };
    auto enableSpdif = [this](bool enable) {
        if (m_spdifEnable.GetSafeHwnd())
            m_spdifEnable.EnableWindow(enable && HasCardFunctions(m_mixer));
    };
    switch (CachedSpeakerConfig() & 0xFF) {
    case 6: // 5.1
        for (int i = 0; i < 6; ++i)
            show(i, true);
        enableSpdif(false);
        break;
    case 3: // quad
    case 5: // surround
        show(kCenter, false);
        show(kSub, false);
        for (int i : {kFrontLeft, kFrontRight, kRearLeft, kRearRight})
            show(i, true);
        enableSpdif(false);
        break;
    case 1: // headphones
    case 2: // mono
    case 4: // stereo
        enableSpdif(true);
        [[fallthrough]];
    default:
        show(kCenter, false);
        show(kSub, false);
        show(kFrontLeft, true);
        show(kFrontRight, true);
        show(kRearLeft, false);
        show(kRearRight, false);
        break;
    }
    if (m_mixer) SetSPDIFOutCheck(m_mixer->GetSPDIFOutEnabled() != 0);

    LONG effect = kEffectOff;
    if (m_mixer) m_mixer->GetReverb(&effect);
    if (m_room.GetSafeHwnd()) {
        const int count = m_room.GetCount();
        for (int item = 0; item < count; ++item)
            if (static_cast<LONG>(m_room.GetItemData(item)) == effect) m_room.SetCurSel(item);
        if (effect == kEffectOff) m_room.SetCurSel(0);
    }
    if (m_effectEnable.GetSafeHwnd())
        m_effectEnable.SendMessage(BM_SETCHECK, effect != kEffectOff ? BST_CHECKED : BST_UNCHECKED);
}

void CZephSpkrPage::OnCommand(UINT id, UINT code) {
    if (code == BN_CLICKED) {
        for (int i = 0; i < 6; ++i)
            if (kTestIds[i] == static_cast<int>(id)) OnSpeakerButton(i);
        if (id == IDC_SPK_SPDIF_ENABLE) OnSPDIFEnable();
        if (id == IDC_SPK_EFFECT_ENABLE) OnEffectChanged();
    } else if (code == CBN_SELCHANGE) {
        if (id == IDC_SPK_CONFIG) OnConfigChanged();
        if (id == IDC_SPK_ROOM) OnEffectChanged();
    }
}

void CZephSpkrPage::OnSpeakerButton(int index) {
    if (m_tests[index].SendMessage(BM_GETCHECK) == BST_CHECKED)
        Player().StartSpeaker(kTestMasks[index], TRUE);
    else
        Player().StopSpeaker(kTestMasks[index], TRUE);
}

void CZephSpkrPage::OnConfigChanged() {
    const int item = m_config.GetCurSel();
    if (item < 0) return;
    const DWORD config = static_cast<DWORD>(m_config.GetItemData(item));
    Player().ChangeSpeakerConfig(config);
    Services().OnSpeakerModeChanged(static_cast<int>(config));
    Refresh();
}

void CZephSpkrPage::OnEffectChanged() {
    if (!m_mixer) return;
    LONG effect = kEffectOff;
    if (m_effectEnable.SendMessage(BM_GETCHECK) == BST_CHECKED) {
        const int item = m_room.GetCurSel();
        // Without a selected room the effect keeps its value rather than getting a bad one.
        if (item < 0)
            m_mixer->GetReverb(&effect);
        else
            effect = static_cast<LONG>(m_room.GetItemData(item));
    }
    m_mixer->SetReverb(effect);
}

void CZephSpkrPage::OnSPDIFEnable() {
    const int on = m_spdifEnable.SendMessage(BM_GETCHECK) == BST_CHECKED ? 1 : 0;
    Services().ApplySPDIFOut(on);
}

void CZephSpkrPage::SetSPDIFOutCheck(bool on) {
    if (m_spdifEnable.GetSafeHwnd())
        m_spdifEnable.SendMessage(BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED);
}
