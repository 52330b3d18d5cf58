#include "MixerPropertyPage.h"

#include "DialogTemplate.h"
#include "Mixer.h"

#include <cstring>

namespace {
constexpr DWORD kLabelStyle =
    WS_CHILD | WS_VISIBLE | WS_TABSTOP | SS_CENTERIMAGE | SS_CENTER; // 0x50010201
constexpr DWORD kSwitchStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHLIKE | BS_AUTOCHECKBOX;
constexpr DWORD kPanelStyle = WS_CHILD | WS_VISIBLE;
// Controls that carry this bit are not shown.
constexpr DWORD kHiddenControl = 0x40000000;

bool IsSwitch(DWORD type) {
    switch (type) {
    case MIXERCONTROL_CONTROLTYPE_ONOFF:
    case MIXERCONTROL_CONTROLTYPE_MUTE:
    case MIXERCONTROL_CONTROLTYPE_MONO:
    case MIXERCONTROL_CONTROLTYPE_LOUDNESS:
    case MIXERCONTROL_CONTROLTYPE_BUTTON:
        return true;
    default:
        return false;
    }
}
} // namespace

CMixerPropertyPage::CMixerPropertyPage() = default;

CMixerPropertyPage::~CMixerPropertyPage() {
    // The controls go before the page's window does.
    m_muxes.clear();
    m_labels.clear();
    m_sliders.clear();
    m_buttons.clear();
}

void CMixerPropertyPage::SetDestination(CMixer* mixer, int destination) {
    m_mixer = mixer;
    m_destination = destination;
    m_lineCount = mixer ? mixer->GetSourceCount(destination) : 0;
    m_width = m_lineCount * ColumnWidth + 20;
    m_muxes.clear();
    m_labels.clear();
    m_sliders.clear();
    m_buttons.clear();
    // The pixel sizes serve as dialog units; the page is sized in pixels when it starts.
    SetTemplate(CDialogTemplate("A", WS_CHILD, CRect(0, 0, m_width, m_height)));
    MIXERLINEA* line = nullptr;
    if (mixer && mixer->GetDestinationLine(destination, &line) && line) SetTitle(line->szName);
}

BOOL CMixerPropertyPage::OnInitDialog() {
    const BOOL result = CCoolPropertyPage::OnInitDialog();
    MIXERLINEA* destination = nullptr;
    if (!m_mixer || !m_mixer->GetDestinationLine(m_destination, &destination) || !destination)
        return result;
    SetWindowText(destination->szShortName);

    int column = 0, shown = 0;
    for (int source = -1; source < m_mixer->GetSourceCount(m_destination); ++source) {
        MIXERLINEA* line = nullptr;
        if (!m_mixer->GetLine(m_destination, source, &line) || !line) continue;
        if (IsLineUnavailable(*line) || line->cControls == 0) continue;
        AddLine(source, *line, column);
        ++column;
        ++shown;
    }
    m_lineCount = shown;
    // A multiplexer's column counts for the width, so that the last column is not cut off.
    m_width = column * ColumnWidth + 20;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, m_width, m_height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Propagate();
    return result;
}

void CMixerPropertyPage::AddLine(int source, const MIXERLINEA& line, int& column) {
    const HWND page = m_hWnd;
    const WPARAM font = WPARAM(SendMessage(WM_GETFONT));
    int x = column * ColumnWidth + 10;

    auto label = std::make_unique<CStatic>();
    if (label->Create(line.szShortName, kLabelStyle,
                      CRect(column * ColumnWidth + 8, 10, x + 35, 30), page, LabelId))
        label->SendMessage(WM_SETFONT, font, FALSE);
    m_labels.push_back(std::move(label));

    int y = line.cChannels >= 2 ? 220 : 190;
    for (DWORD k = 0; k < line.cControls; ++k) {
        MixerControlRecord* record = nullptr;
        if (!m_mixer->GetLineControl(m_destination, source, int(k), &record) || !record) continue;
        MIXERCONTROLA& control = record->control;
        if (control.fdwControl & kHiddenControl) continue;
        const DWORD type = control.dwControlType;
        if (type == MIXERCONTROL_CONTROLTYPE_MUTE)
            std::strncpy(control.szShortName, "Mute", sizeof(control.szShortName));
        if (IsSwitch(type)) {
            auto button =
                std::make_unique<CMixerButton>(m_mixer, line.dwLineID, control.dwControlID);
            if (button->Create(control.szShortName, kSwitchStyle, CRect(x, y, x + 35, y + 20), page,
                               UINT(int(ButtonId) + source)))
                button->SendMessage(WM_SETFONT, font, FALSE);
            m_buttons.push_back(std::move(button));
            y += 30;
        } else if (type == MIXERCONTROL_CONTROLTYPE_VOLUME) {
            DWORD meter = 0;
            for (DWORD m = 0; m < line.cControls && !meter; ++m) {
                MixerControlRecord* candidate = nullptr;
                if (m_mixer->GetLineControl(m_destination, source, int(m), &candidate) &&
                    candidate &&
                    candidate->control.dwControlType == MIXERCONTROL_CONTROLTYPE_PEAKMETER)
                    meter = candidate->control.dwControlID;
            }
            auto slider = std::make_unique<CMixerSliderEx>(m_mixer, line.dwLineID,
                                                           control.dwControlID, meter, 0);
            const int bottom = int(line.cChannels) * 22 + 168;
            if (slider->Create("Test", kPanelStyle, CRect(x, 40, x + 35, bottom), page,
                               UINT(int(SliderId) + source), WS_EX_NOPARENTNOTIFY))
                slider->SendMessage(WM_SETFONT, font, FALSE);
            m_sliders.push_back(std::move(slider));
        } else if (type == MIXERCONTROL_CONTROLTYPE_MUX) {
            auto mux =
                std::make_unique<CMixerMuxControl>(m_mixer, line.dwLineID, control.dwControlID);
            if (mux->Create("Mux", kPanelStyle, CRect(10, 40, 80, 210), page, MuxId))
                mux->SendMessage(WM_SETFONT, font, FALSE);
            m_muxes.push_back(std::move(mux));
            // The multiplexer takes a column of its own.
            ++column;
            x += ColumnWidth;
        }
    }
}

LRESULT CMixerPropertyPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The controls handle their own clicks.
    if (message == WM_COMMAND && LOWORD(wParam) >= 1064 && LOWORD(wParam) <= 1159) return 0;
    return CCoolPropertyPage::WindowProc(message, wParam, lParam);
}
