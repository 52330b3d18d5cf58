#include "MixerMuxControl.h"

#include "Mixer.h"

#include <algorithm>

namespace {
constexpr DWORD kItemStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHLIKE | BS_AUTORADIOBUTTON;
}

CMixerMuxControl::CMixerMuxControl() = default;

CMixerMuxControl::CMixerMuxControl(CMixer* mixer, DWORD lineId, DWORD controlId)
    : CMixerSink(mixer, lineId, controlId) {}

CMixerMuxControl::~CMixerMuxControl() {
    if (m_hWnd) DestroyWindow();
    if (m_mixer) m_mixer->RemoveListener(m_controlId, this);
}

bool CMixerMuxControl::Create(const char* text, DWORD style, const RECT& rect, HWND parent, UINT id,
                              DWORD exStyle) {
    if (!CreateEx(exStyle, WC_STATICA, text, style, rect, parent, id)) return false;
    if (m_buttons.empty()) Bind();
    return true;
}

void CMixerMuxControl::DestroyButtons() {
    for (auto& button : m_buttons)
        if (button->m_hWnd) button->DestroyWindow();
    m_buttons.clear();
}

int CMixerMuxControl::Bind() {
    if (!m_mixer) return 0;
    MIXERLINEA* line = nullptr;
    MixerControlRecord* record = nullptr;
    if (!m_mixer->FindLine(m_lineId, &line) || !m_mixer->FindControl(m_controlId, &record))
        return 1;
    m_line = *line;
    m_control = record->control;
    DestroyButtons();
    m_values.clear();
    if (m_control.dwControlType != MIXERCONTROL_CONTROLTYPE_MUX ||
        !(m_control.fdwControl & MIXERCONTROL_CONTROLF_MULTIPLE))
        return 1;
    MIXERCONTROLDETAILS* texts = nullptr;
    if (!m_mixer->FindListText(m_controlId, &texts) || !texts) return 0;
    // Never more items than the list has texts.
    const DWORD items = std::min<DWORD>(m_control.cMultipleItems, record->count);
    m_values.assign(items, 0);
    if (m_hWnd && items) {
        const auto* names = static_cast<const MIXERCONTROLDETAILS_LISTTEXTA*>(texts->paDetails);
        const CRect client = GetClientRect();
        const int band = client.Height() / int(items);
        const LPARAM font = LPARAM(SendMessage(WM_GETFONT));
        for (DWORD i = 0; i < items; ++i) {
            auto button = std::make_unique<CCoolButton>();
            CRect r(client.left, client.top + int(i) * band, client.right,
                    client.top + int(i + 1) * band);
            r.DeflateRect(2, 2);
            button->Create(names[i].szName, kItemStyle, r, m_hWnd, FirstItemId + i);
            if (font) button->SendMessage(WM_SETFONT, WPARAM(font), FALSE);
            m_buttons.push_back(std::move(button));
        }
    }
    m_mixer->RemoveListener(m_controlId, this);
    m_mixer->AddListener(m_controlId, this);
    Exchange(1);
    return 1;
}

int CMixerMuxControl::Exchange(int direction) {
    if (!m_mixer || m_values.empty()) return 0;
    const DWORD bytes = DWORD(m_values.size() * sizeof(DWORD));
    if (direction) {
        if (!m_mixer->GetValues(m_controlId, m_values.data(), bytes)) return 0;
        for (size_t i = 0; i < m_buttons.size() && i < m_values.size(); ++i)
            m_buttons[i]->SetCheck(int(m_values[i]));
        return 1;
    }
    for (size_t i = 0; i < m_buttons.size() && i < m_values.size(); ++i)
        m_values[i] = DWORD(m_buttons[i]->GetCheck());
    m_mixer->SetValues(m_controlId, m_values.data(), bytes);
    return 1;
}

void CMixerMuxControl::OnMixerChange(DWORD controlId, int) {
    if (controlId == m_controlId) Exchange(1);
}

LRESULT CMixerMuxControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        return OnCommand(wParam, lParam);
    case WM_SETFONT:
        return OnSetFont(wParam, lParam);
    case WM_DESTROY:
        return OnDestroy(wParam, lParam);
    default:
        return CCoolStatic::WindowProc(message, wParam, lParam);
    }
}

LRESULT CMixerMuxControl::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    if (id >= FirstItemId && id <= LastItemId) Exchange(0);
    return CCoolStatic::WindowProc(WM_COMMAND, wParam, lParam);
}

LRESULT CMixerMuxControl::OnSetFont(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CCoolStatic::WindowProc(WM_SETFONT, wParam, lParam);
    for (auto& button : m_buttons)
        if (button->m_hWnd) button->SendMessage(WM_SETFONT, wParam, lParam);
    return result;
}

LRESULT CMixerMuxControl::OnDestroy(WPARAM wParam, LPARAM lParam) {
    if (m_mixer) m_mixer->RemoveListener(m_controlId, this);
    return CCoolStatic::WindowProc(WM_DESTROY, wParam, lParam);
}
