// A volume control of the mixer drawn as one or two skinned sliders, optionally with a level
// meter inside: two vertical sliders (left and right) or a vertical volume slider over a
// horizontal balance slider for a two-channel line, one vertical slider for the others. Every
// scroll message of a child writes the thumb positions to the device at once; the device's
// change notification moves the sliders back to what was actually set. A bound peak meter is
// polled by the device every 50 ms and shown as the sliders' level bars.
//
// Typical use (the window binds itself when it is created):
//     CMixerSliderEx slider(&mixer, lineId, volumeId, peakId, 0);
//     slider.Create("Test", WS_CHILD | WS_VISIBLE, CRect(10, 40, 45, 212), page, 1001);
#pragma once

#include "AudioSlider.h"
#include "CoolStatic.h"
#include "MixerSink.h"

#include <memory>

class CMixerSliderEx : public CCoolStatic, public CMixerSink {
public:
    // Child window IDs of the first (volume or left) and second (balance or right) slider.
    enum : UINT { FirstSliderId = 789, SecondSliderId = 790 };
    // Range units a meter level falls back per poll.
    static constexpr int kMeterFallback = 4;

    CMixerSliderEx();
    // meterId 0: no meter. separateChannels: a two-channel line gets a left and a right slider
    // instead of volume and balance.
    CMixerSliderEx(CMixer* mixer, DWORD lineId, DWORD controlId, DWORD meterId,
                   int separateChannels);
    ~CMixerSliderEx() override;

    // Creates the window (a static that clips its children) and binds it.
    bool Create(const char* text, DWORD style, const RECT& rect, HWND parent, UINT id,
                DWORD exStyle = 0);

    // Binds to another control, with the peak meter meterId shown inside (0: without a
    // meter). The result of Bind.
    int Attach(CMixer* mixer, DWORD lineId, DWORD controlId, DWORD meterId = 0);
    // Stops showing the meter.
    void DetachMeter();

    int Bind() override;
    int Exchange(int direction) override;
    void OnMixerChange(DWORD controlId, int refresh) override;

    // The background questions of the child sliders go to the parent.
    int GetBackgroundBitmap(CCoolBitmap** out) override;
    int GetScreenRect(RECT* out) override;

    // 0 = first (volume or left), 1 = second (balance or right); null when not made.
    CAudioSlider* GetSlider(int index) const;
    bool HasMeter() const { return m_meterPresent != 0; }
    DWORD GetMeterId() const { return m_meterId; }
    bool HasSeparateChannels() const { return m_separate != 0; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnScroll(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnEnable(WPARAM wParam, LPARAM lParam);
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint();

    bool IsStereo() const { return m_line.cChannels == 2; }
    DWORD Span() const { return m_control.Bounds.dwMaximum - m_control.Bounds.dwMinimum; }
    // The parts of Bind: finds the line and controls and listens to them (false when the
    // mixer lacks one), readies the window to hold the sliders, makes and sets up the sliders.
    bool FindControls();
    void PrepareWindow();
    void LayOutSliders();
    // A volume (or channel) slider: its range, ticks, level bar and options.
    void SetUpVolumeSlider(CAudioSlider& slider, bool stereo, int rangeMax, int tick);
    // Creates a child slider window when it is not there yet.
    void MakeSlider(std::unique_ptr<CAudioSlider>& slider, const CRect& rect, DWORD style, UINT id);
    // Writes the sliders' positions to the device; vertical: a volume slider moved.
    void WriteToDevice(bool vertical);
    void UpdateMeter();
    // The level a meter reading shows, from the current level: up at once, down slowly.
    int NextLevel(long long magnitude, int current, int r0, int r1) const;
    void Unregister();
    void ApplyEnableFlag();
    void RememberResetPositions();

    std::unique_ptr<CAudioSlider> m_first;
    std::unique_ptr<CAudioSlider> m_second;
    int m_separate = 0;
    MIXERLINEA m_line = {};
    int m_meterPresent = 0;
    DWORD m_meterId = 0;
    MIXERCONTROLA m_meter = {};
};
