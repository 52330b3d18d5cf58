#include "MixerSliderEx.h"

#include "Mixer.h"
#include "ParentBackground.h"
#include "SchemePropagation.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr DWORD kVerticalStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_VERT | TBS_AUTOTICKS;
constexpr DWORD kBalanceStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_AUTOTICKS;

// A device value as a slider position (the maximum at the bottom): max - value / (span / max).
// A control with fewer units than the slider has steps is scaled proportionally instead.
int ToPosition(DWORD value, DWORD span, int max) {
    const DWORD perStep = span / DWORD(max);
    uint64_t steps = perStep ? value / perStep : uint64_t(value) * DWORD(max) / span;
    steps = std::min<uint64_t>(steps, DWORD(max));
    return max - int(steps);
}

// A slider position as a device value: (max - pos) * (span / max), or proportionally for a
// control with fewer units than the slider has steps.
DWORD ToValue(int pos, DWORD span, int max) {
    const uint64_t steps = pos < max ? uint64_t(max - std::max(pos, 0)) : 0;
    const DWORD perStep = span / DWORD(max);
    return DWORD(perStep ? steps * perStep : steps * span / DWORD(max));
}

// Left and right of a volume d at the balance x (-1 left only ... 1 right only).
void Balance(DWORD d, double x, DWORD* left, DWORD* right) {
    if (x >= 0) {
        *left = DWORD(d * (1.0 - x) + 0.5);
        *right = d;
    } else {
        *left = d;
        *right = DWORD(d * (1.0 + x) + 0.5);
    }
}

double BalanceOf(const CAudioSlider& slider) {
    const int max = slider.GetRangeMax();
    return max > 0 ? double(slider.GetPos()) / max : 0.0;
}

void SetStyleBit(CWnd& wnd, DWORD bit, bool on) {
    const LONG_PTR style = ::GetWindowLongPtrA(wnd, GWL_STYLE);
    const LONG_PTR wanted = on ? (style | LONG_PTR(bit)) : (style & ~LONG_PTR(bit));
    if (wanted != style) ::SetWindowLongPtrA(wnd, GWL_STYLE, wanted);
}

// Ticks about 12 pixels apart for a control of many steps.
int TickFrequency(DWORD steps, int height) {
    const DWORD twelfth = height > 0 ? DWORD(height) / 12 : 0;
    if (steps <= twelfth) return 1;
    return int(std::max<DWORD>(twelfth ? steps / twelfth : steps, 1));
}

// With a meter the range follows the pixels: six ticks over the height.
int MeterTickFrequency(int height) {
    const int sixth = height / 6;
    return sixth > 0 ? std::max(height / sixth, 1) : 1;
}

} // namespace

CMixerSliderEx::CMixerSliderEx() = default;

CMixerSliderEx::CMixerSliderEx(CMixer* mixer, DWORD lineId, DWORD controlId, DWORD meterId,
                               int separateChannels)
    : CMixerSink(mixer, lineId, controlId), m_separate(separateChannels),
      m_meterPresent(meterId != 0), m_meterId(meterId) {}

CMixerSliderEx::~CMixerSliderEx() {
    // The window goes first, while the object can still answer its last messages.
    if (m_hWnd) DestroyWindow();
    Unregister();
}

bool CMixerSliderEx::Create(const char* text, DWORD style, const RECT& rect, HWND parent, UINT id,
                            DWORD exStyle) {
    if (!CreateEx(exStyle, WC_STATICA, text, style | WS_CLIPCHILDREN, rect, parent, id))
        return false;
    if (!m_first || !m_first->m_hWnd) Bind();
    return true;
}

int CMixerSliderEx::Attach(CMixer* mixer, DWORD lineId, DWORD controlId, DWORD meterId) {
    if (m_mixer && m_controlId) m_mixer->RemoveListener(m_controlId, this);
    DetachMeter();
    m_mixer = mixer;
    m_lineId = lineId;
    m_controlId = controlId;
    m_meterPresent = meterId != 0;
    m_meterId = meterId;
    return Bind();
}

void CMixerSliderEx::DetachMeter() {
    if (m_meterPresent && m_mixer) m_mixer->RemoveListener(m_meterId, this);
    m_meterPresent = 0;
    m_meterId = 0;
}

void CMixerSliderEx::Unregister() {
    if (!m_mixer) return;
    m_mixer->RemoveListener(m_controlId, this);
    if (m_meterPresent) m_mixer->RemoveListener(m_meterId, this);
}

CAudioSlider* CMixerSliderEx::GetSlider(int index) const {
    return index == 0 ? m_first.get() : index == 1 ? m_second.get() : nullptr;
}

void CMixerSliderEx::MakeSlider(std::unique_ptr<CAudioSlider>& slider, const CRect& rect,
                                DWORD style, UINT id) {
    if (!slider) slider = std::make_unique<CAudioSlider>();
    if (!slider->m_hWnd && m_hWnd) slider->Create(style, rect, m_hWnd, id);
}

int CMixerSliderEx::Bind() {
    if (!FindControls()) return 0;
    PrepareWindow();
    LayOutSliders();
    // Sliders made now missed the scheme the parent handed down before the binding.
    if (m_hWnd) PassSchemeToChildren(m_hWnd, *this);

    Exchange(1);
    for (CAudioSlider* s : {m_first.get(), m_second.get()})
        if (s) s->EnableReset(true);
    RememberResetPositions();
    ApplyEnableFlag();
    return 1;
}

bool CMixerSliderEx::FindControls() {
    MIXERLINEA* line = nullptr;
    MixerControlRecord* record = nullptr;
    if (!m_mixer || !m_mixer->FindLine(m_lineId, &line) ||
        !m_mixer->FindControl(m_controlId, &record))
        return false;
    m_line = *line;
    m_control = record->control;
    // Binding again must not register twice: the control would be told everything twice.
    m_mixer->RemoveListener(m_controlId, this);
    m_mixer->AddListener(m_controlId, this);
    if (m_meterPresent) {
        MixerControlRecord* meter = nullptr;
        if (m_mixer->FindControl(m_meterId, &meter)) {
            m_meter = meter->control;
            m_mixer->RemoveListener(m_meterId, this);
            m_mixer->AddListener(m_meterId, this);
        } else {
            DetachMeter();
        }
    }
    return true;
}

void CMixerSliderEx::PrepareWindow() {
    if (!m_hWnd) return;
    if (!(CWnd::GetStyle() & WS_CLIPCHILDREN)) SetStyleBit(*this, WS_CLIPCHILDREN, true);
    // The child sliders are tab stops: the dialog's keyboard navigation must reach into this
    // window to find them.
    const LONG_PTR exStyle = ::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE);
    if (!(exStyle & WS_EX_CONTROLPARENT))
        ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, exStyle | WS_EX_CONTROLPARENT);
}

void CMixerSliderEx::LayOutSliders() {
    const CRect client = GetClientRect();
    const int w = client.Width(), h = client.Height();
    const bool meter = m_meterPresent != 0;
    const int tick = meter ? MeterTickFrequency(h) : TickFrequency(m_control.Metrics.cSteps, h);
    const int rangeMax = meter ? h - 1 : int(m_control.Metrics.cSteps) - 1;
    if (!IsStereo()) {
        MakeSlider(m_first, CRect(0, 1, w, h - 1), kVerticalStyle, FirstSliderId);
        if (m_second) m_second->EnableWindow(false);
        SetUpVolumeSlider(*m_first, false, rangeMax, tick);
        return;
    }
    if (m_separate) {
        MakeSlider(m_first, CRect(0, 1, w / 2, h - 1), kVerticalStyle, FirstSliderId);
        MakeSlider(m_second, CRect(w / 2, 1, w, h - 1), kVerticalStyle, SecondSliderId);
        m_second->EnableWindow(true);
        for (CAudioSlider* s : {m_first.get(), m_second.get()})
            SetUpVolumeSlider(*s, false, rangeMax, tick);
    } else {
        const int steps = int(m_control.Metrics.cSteps);
        MakeSlider(m_first, CRect(0, 1, w, h - 22), kVerticalStyle, FirstSliderId);
        MakeSlider(m_second, CRect(0, h - 21, w, h - 1), kBalanceStyle, SecondSliderId);
        m_second->SetRange(1 - steps, steps - 1);
        m_second->EnableWindow(true);
        SetStyleBit(*m_second, TBS_ENABLESELRANGE, false);
        SetUpVolumeSlider(*m_first, true, rangeMax, tick);
    }
    m_second->ShowWindow(SW_SHOW);
}

void CMixerSliderEx::SetUpVolumeSlider(CAudioSlider& slider, bool stereo, int rangeMax, int tick) {
    const bool meter = m_meterPresent != 0;
    SetStyleBit(slider, TBS_ENABLESELRANGE, meter);
    slider.SetOption(CAudioSlider::Stereo, stereo);
    slider.SetRange(0, rangeMax);
    slider.SetTicFreq(tick);
    slider.SetOption(CAudioSlider::RightClickToggles, meter);
}

void CMixerSliderEx::RememberResetPositions() {
    for (CAudioSlider* s : {m_first.get(), m_second.get()})
        if (s && s->m_hWnd) s->SetResetValue(s->GetPos());
}

void CMixerSliderEx::ApplyEnableFlag() {
    if (m_hWnd) EnableWindow((m_control.fdwControl & MIXERCONTROL_CONTROLF_DISABLED) == 0);
}

int CMixerSliderEx::Exchange(int direction) {
    if (!direction || !m_mixer) return 1;
    const DWORD span = Span();
    if (!span) return 0;
    if (!m_first || !m_first->m_hWnd) return 0;
    CAudioSlider& first = *m_first;
    const int max1 = first.GetRangeMax();
    auto show = [](CAudioSlider& slider, int pos) {
        if (slider.GetPos() != pos) slider.SetPos(pos);
    };

    if (IsStereo()) {
        if (!m_second || !m_second->m_hWnd) return 0;
        CAudioSlider& second = *m_second;
        const int max2 = second.GetRangeMax();
        if (max1 <= 0 || max2 <= 0) return 0;
        DWORD left = 0, right = 0;
        if (!m_mixer->GetStereo(m_controlId, &left, &right)) return 0;
        if (m_separate) {
            show(first, ToPosition(left, span, max1));
            show(second, ToPosition(right, span, max2));
            return 1;
        }
        show(first, ToPosition(std::max(left, right), span, max1));
        if (!left && !right) return 1; // silence has no balance: the slider stays
        const double o =
            left < right ? 1.0 - double(left) / double(right) : double(right) / double(left) - 1.0;
        show(second, int(max2 * o));
        return 1;
    }

    if (max1 <= 0) return 0;
    DWORD value = 0;
    if (!m_mixer->GetValue(m_controlId, &value)) return 0;
    show(first, ToPosition(value, span, max1));
    return 1;
}

void CMixerSliderEx::WriteToDevice(bool vertical) {
    const DWORD span = Span();
    if (!m_mixer || !m_first || !m_first->m_hWnd) return;
    const int max1 = m_first->GetRangeMax();
    if (IsStereo() && m_second && m_second->m_hWnd) {
        if (m_separate) {
            const int max2 = m_second->GetRangeMax();
            if (max1 <= 0 || max2 <= 0) return;
            m_mixer->SetStereo(m_controlId, ToValue(m_first->GetPos(), span, max1),
                               ToValue(m_second->GetPos(), span, max2));
            return;
        }
        DWORD d = 0;
        if (vertical) {
            if (max1 <= 0) return;
            const int pos = std::max(m_first->GetPos(), 0);
            d = pos < max1 ? DWORD(uint64_t(max1 - pos) * span / DWORD(max1)) : 0;
        } else {
            DWORD left = 0, right = 0;
            if (!m_mixer->GetStereo(m_controlId, &left, &right)) return;
            d = std::max(left, right);
        }
        DWORD left = 0, right = 0;
        Balance(d, BalanceOf(*m_second), &left, &right);
        m_mixer->SetStereo(m_controlId, left, right);
        return;
    }
    if (vertical && max1 > 0)
        m_mixer->SetValue(m_controlId, ToValue(m_first->GetPos(), span, max1));
}

void CMixerSliderEx::OnMixerChange(DWORD controlId, int refresh) {
    if (m_meterPresent && controlId == m_meterId) {
        UpdateMeter();
        return;
    }
    if (controlId != m_controlId) return;
    Exchange(1);
    if (!refresh) return;
    MixerControlRecord* record = nullptr;
    if (m_mixer && m_mixer->FindControl(m_controlId, &record)) m_control = record->control;
    RememberResetPositions();
    ApplyEnableFlag();
}

int CMixerSliderEx::NextLevel(long long magnitude, int current, int r0, int r1) const {
    const DWORD units = m_meter.dwControlType & MIXERCONTROL_CT_UNITS_MASK;
    long long full = units == MIXERCONTROL_CT_UNITS_UNSIGNED ? (long long)m_meter.Bounds.dwMaximum
                                                             : (long long)m_meter.Bounds.lMaximum;
    // A meter that gives no maximum is scaled by the larger of its bounds; one without any
    // bounds has no scale at all and shows silence.
    if (full <= 0 && units != MIXERCONTROL_CT_UNITS_UNSIGNED)
        full = std::llabs((long long)m_meter.Bounds.lMinimum);
    const long long shown = full > 0 ? std::min(magnitude, full) : 0;
    using Wide = long long;
    const Wide target = full > 0 ? r1 - (Wide(r1) - r0) * shown / full : r1;
    if (target < current) return int(target);
    return int(std::min<Wide>(Wide(current) + kMeterFallback, target));
}

void CMixerSliderEx::UpdateMeter() {
    if (!m_mixer || !m_first || !m_first->m_hWnd) return;
    // A meter out of sight (its page is not the current one) is not read: it rests, and starts
    // from silence when its page is shown.
    if (!IsWindowVisible()) {
        OnMeterRest(m_meterId);
        return;
    }
    const DWORD units = m_meter.dwControlType & MIXERCONTROL_CT_UNITS_MASK;
    long long leftMagnitude = 0, rightMagnitude = 0;
    if (units == MIXERCONTROL_CT_UNITS_SIGNED) {
        LONG left = 0, right = 0;
        const int read = IsStereo() ? m_mixer->GetStereo(m_meterId, &left, &right)
                                    : m_mixer->GetValue(m_meterId, &left);
        if (!read) return;
        leftMagnitude = std::llabs((long long)left);
        rightMagnitude = std::llabs((long long)right);
    } else if (units == MIXERCONTROL_CT_UNITS_UNSIGNED) {
        DWORD left = 0, right = 0;
        const int read = IsStereo() ? m_mixer->GetStereo(m_meterId, &left, &right)
                                    : m_mixer->GetValue(m_meterId, &left);
        if (!read) return;
        leftMagnitude = left;
        rightMagnitude = right;
    } else {
        return;
    }

    CAudioSlider& first = *m_first;
    const int r0 = first.GetRangeMin(), r1 = first.GetRangeMax();
    const bool separate = IsStereo() && m_separate && m_second && m_second->m_hWnd;
    // Separate sliders each keep their channel's level in level A.
    const int currentRight = separate ? m_second->GetLevelA() : first.GetLevelB();
    const int a = NextLevel(leftMagnitude, first.GetLevelA(), r0, r1);
    const int b = IsStereo() ? NextLevel(rightMagnitude, currentRight, r0, r1) : r1;
    ShowLevels(a, b);
}

void CMixerSliderEx::OnMeterRest(DWORD controlId) {
    if (!m_meterPresent || controlId != m_meterId || !m_first || !m_first->m_hWnd) return;
    const int silence = m_first->GetRangeMax();
    ShowLevels(silence, silence);
}

void CMixerSliderEx::ShowLevels(int left, int right) {
    CAudioSlider& first = *m_first;
    // Separate sliders each keep their channel's level in level A.
    if (IsStereo() && m_separate && m_second && m_second->m_hWnd) {
        first.SetLevels(left, first.GetLevelB());
        m_second->SetLevels(right, first.GetLevelB());
    } else {
        first.SetLevels(left, right);
    }
}

int CMixerSliderEx::GetBackgroundBitmap(CCoolBitmap** out) {
    return ParentBackgroundBitmap(m_hWnd, out);
}

int CMixerSliderEx::GetScreenRect(RECT* out) {
    return ParentScreenRect(m_hWnd, out);
}

LRESULT CMixerSliderEx::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_VSCROLL:
    case WM_HSCROLL:
        return OnScroll(message, wParam, lParam);
    case WM_ENABLE:
        return OnEnable(wParam, lParam);
    case WM_DESTROY:
        return OnDestroy(wParam, lParam);
    case WM_PAINT:
        return OnPaint();
    default:
        return CCoolStatic::WindowProc(message, wParam, lParam);
    }
}

LRESULT CMixerSliderEx::OnScroll(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND from = reinterpret_cast<HWND>(lParam);
    // Every scroll code counts, so the device follows the thumb while it is dragged.
    if (from && ((m_first && from == m_first->m_hWnd) || (m_second && from == m_second->m_hWnd)))
        WriteToDevice(message == WM_VSCROLL);
    return CCoolStatic::WindowProc(message, wParam, lParam);
}

LRESULT CMixerSliderEx::OnEnable(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CCoolStatic::WindowProc(WM_ENABLE, wParam, lParam);
    for (CAudioSlider* s : {m_first.get(), m_second.get()})
        if (s && s->m_hWnd) s->EnableWindow(wParam != 0);
    return result;
}

LRESULT CMixerSliderEx::OnDestroy(WPARAM wParam, LPARAM lParam) {
    Unregister();
    return CCoolStatic::WindowProc(WM_DESTROY, wParam, lParam);
}

LRESULT CMixerSliderEx::OnPaint() {
    // The child sliders cover the control and paint themselves.
    CaptureLayout(m_hWnd);
    const CPaintDC paint(m_hWnd);
    return 0;
}
