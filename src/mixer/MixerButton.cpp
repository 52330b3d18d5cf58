#include "MixerButton.h"

#include "Mixer.h"

#include <algorithm>
#include <vector>

CMixerButton::CMixerButton() = default;

CMixerButton::CMixerButton(CMixer* mixer, DWORD lineId, DWORD controlId, int itemCount,
                           int itemIndex)
    : CMixerSink(mixer, lineId, controlId), m_itemCount(itemCount), m_itemIndex(itemIndex) {}

CMixerButton::~CMixerButton() {
    if (m_hWnd) DestroyWindow();
    Unregister();
}

bool CMixerButton::Create(const char* caption, DWORD style, const RECT& rect, HWND parent,
                          UINT id) {
    if (!CButton::Create(caption, style, rect, parent, id)) return false;
    Bind();
    return true;
}

void CMixerButton::Unregister() {
    if (m_mixer && m_controlId) m_mixer->RemoveListener(m_controlId, this);
}

int CMixerButton::Attach(CMixer* mixer, DWORD lineId, DWORD controlId) {
    Unregister();
    m_mixer = mixer;
    m_lineId = lineId;
    m_controlId = controlId;
    return Bind();
}

void CMixerButton::ApplyEnableFlag() {
    if (m_hWnd) EnableWindow((m_control.fdwControl & MIXERCONTROL_CONTROLF_DISABLED) == 0);
}

int CMixerButton::Bind() {
    MixerControlRecord* record = nullptr;
    if (!m_mixer || !m_mixer->FindControl(m_controlId, &record)) return 0;
    m_control = record->control;
    // Binding again must not register twice.
    m_mixer->RemoveListener(m_controlId, this);
    m_mixer->AddListener(m_controlId, this);
    if (m_hWnd) {
        if (m_itemCount > 0) {
            MIXERCONTROLDETAILS* texts = nullptr;
            if (m_mixer->FindListText(m_controlId, &texts) && texts && m_itemIndex >= 0 &&
                DWORD(m_itemIndex) < record->count) {
                auto* items = static_cast<MIXERCONTROLDETAILS_LISTTEXTA*>(texts->paDetails);
                SetWindowText(items[m_itemIndex].szName);
            }
        } else {
            SetWindowText(m_control.szShortName);
        }
        ApplyEnableFlag();
    }
    return Exchange(1);
}

int CMixerButton::Exchange(int direction) {
    if (!m_hWnd || !m_mixer) return 0;
    if (m_itemCount > 0) {
        if (m_itemIndex < 0 || m_itemIndex >= m_itemCount) return 0;
        const DWORD bytes = DWORD(m_itemCount) * sizeof(DWORD);
        std::vector<DWORD> values(size_t(m_itemCount), 0);
        if (!m_mixer->GetValues(m_controlId, values.data(), bytes)) return 0;
        if (direction) {
            SetCheck(int(values[size_t(m_itemIndex)]));
            return 1;
        }
        const int checked = GetCheck();
        // A multiplexer records from one source: the checked item alone. Mixer-type lists
        // keep the other items as they are.
        if (m_control.dwControlType == MIXERCONTROL_CONTROLTYPE_MUX && checked)
            std::fill(values.begin(), values.end(), 0);
        values[size_t(m_itemIndex)] = DWORD(checked);
        // A list the device refused (a multiplexer left without a source) shows what the
        // device still holds.
        if (!m_mixer->SetValues(m_controlId, values.data(), bytes)) return Exchange(1);
        return 1;
    }
    if (!direction) {
        m_mixer->SetAll(m_controlId, LONG(GetCheck()));
        return 0;
    }
    BOOL value = FALSE;
    if (m_mixer->GetValue(m_controlId, &value)) SetCheck(value);
    return 0;
}

void CMixerButton::OnMixerChange(DWORD controlId, int refresh) {
    if (controlId != m_controlId) return;
    Exchange(1);
    if (refresh) {
        MixerControlRecord* record = nullptr;
        if (m_mixer && m_mixer->FindControl(m_controlId, &record)) m_control = record->control;
        ApplyEnableFlag();
    }
    if (!m_hWnd) return;
    m_record.header.hwndFrom = m_hWnd;
    m_record.header.idFrom = UINT_PTR(GetDlgCtrlID());
    m_record.header.code = UINT(kNotifyCode);
    m_record.lineId = LOWORD(m_lineId);
    m_record.reserved = 0;
    m_record.controlId = m_controlId;
    if (HWND parent = GetParent())
        ::SendMessageA(parent, WM_NOTIFY, WPARAM(INT_PTR(kNotifyCode)),
                       reinterpret_cast<LPARAM>(&m_record));
}

bool CMixerButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    // A click writes the box to the device; the parent still sees the command.
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) Exchange(0);
    return CCoolButton::OnChildNotify(message, wParam, lParam, result);
}

LRESULT CMixerButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        // A button whose window is gone is never told about changes again.
        Unregister();
        return CCoolButton::WindowProc(message, wParam, lParam);
    default:
        return CCoolButton::WindowProc(message, wParam, lParam);
    }
}
