// A CMixer that talks to a mixer driver through the mixer function table (MixerApi.h): it
// opens the device, reads its whole tree once, performs the detail calls, owns the hidden
// callback window "wss cb" that receives the driver's change messages, and polls the meter
// controls with timer 777 every 50 ms while at least one meter listener is registered and the
// meters can be seen (SetMetersShown).
//
// Typical use:
//     CMixerDevice mixer;
//     if (!mixer.Open("Quenda Wave", 1, 104)) return;   // the failure was reported
//     mixer.AddListener(volumeId, &slider);              // slider.OnMixerChange on changes
//     mixer.SetStereo(volumeId, DWORD(40000), DWORD(40000));
#pragma once

#include "Mixer.h"
#include "MixerCallbackWnd.h"

#include <memory>
#include <string>

class CMixerDevice : public CMixer {
public:
    static constexpr UINT_PTR kMeterTimerId = 777;
    static constexpr UINT kMeterIntervalMs = 50;

    CMixerDevice();
    ~CMixerDevice() override;

    // Failures are shown in a message box (AppMessageBox): the callback window cannot be
    // created (Open goes on without change messages), the device is not found, or it cannot
    // be opened. No devices at all: 0 without a message. Opening again replaces the tree.
    int Open(const char* name, UINT manufacturerId, UINT productId) override;

    int GetDestinationCount() override;
    const char* GetDestinationName(int destination) override;
    int GetSourceCount(int destination) override;
    int GetLine(int destination, int source, MIXERLINEA** line) override;
    int GetDestinationLine(int destination, MIXERLINEA** line) override;
    int GetDestinationControl(int destination, int control, MixerControlRecord** record) override;
    int GetLineControl(int destination, int source, int control,
                       MixerControlRecord** record) override;

    int SetDetails(MixerControlRecord* record) override;
    int GetDetails(MixerControlRecord* record) override;
    int GetListText(MixerControlRecord* record) override;

    // As CMixer's, and the meter timer starts with the first meter listener and stops with
    // the last.
    int AddListener(DWORD controlId, CMixerSink* sink) override;
    int RemoveListener(DWORD controlId, CMixerSink* sink) override;
    // Whether the window that shows the meters can be seen. While it cannot (hidden in the
    // notification area, minimised), the meter timer does not run, so the program costs
    // nothing while nobody looks; change messages still reach every listener. The meters go
    // to rest when they go out of sight. Shown at first.
    void SetMetersShown(bool shown);
    bool AreMetersShown() const { return m_metersShown; }

    HMIXER GetHandle() const { return m_handle; }
    HWND GetCallbackWindow() const { return m_callbackWnd ? m_callbackWnd->m_hWnd : nullptr; }
    // The running meter timer's ID, 0 when none runs.
    UINT_PTR GetTimerId() const { return m_timer; }

    // The message texts shown when Open fails.
    static const char* const kCallbackWindowError;
    static const char* const kDeviceNotFound;  // format, %s = the requested name
    static const char* const kDeviceNotOpened; // format, %s = the requested name

private:
    static void CALLBACK MeterTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);

    // Starts or stops the timer as the listeners and SetMetersShown want it.
    void UpdateMeterTimer();
    void CloseDevice();
    MixerSourceLine* Source(int destination, int source);
    void ReadLine(MIXERLINEA& line, std::unique_ptr<MixerControlRecord[]>& controls);
    void ReadControls(const MIXERLINEA& line, std::unique_ptr<MixerControlRecord[]>& controls);

    std::unique_ptr<CMixerCallbackWnd> m_callbackWnd;
    HMIXER m_handle = nullptr;
    UINT_PTR m_timer = 0;
    bool m_metersShown = true;
};
