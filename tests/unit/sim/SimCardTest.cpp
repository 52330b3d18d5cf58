// The simulated card as any program sees it through the winmm mixer functions: the device
// and its lines and controls, winmm's result codes, and change messages to every handle.
#include "HiddenWnd.h"
#include "MixerApi.h"
#include "Pump.h"
#include "SimCard.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {
constexpr DWORD V = MIXERCONTROL_CONTROLTYPE_VOLUME, M = MIXERCONTROL_CONTROLTYPE_MUTE,
                P = MIXERCONTROL_CONTROLTYPE_PEAKMETER, X = MIXERCONTROL_CONTROLTYPE_MUX;

struct ExpectedLine {
    DWORD destination;
    int source;
    const char* name;
    const char* shortName;
    DWORD type;
    DWORD channels;
    DWORD id;
    std::vector<DWORD> controls;
};

const ExpectedLine kLines[] = {
    {0,
     -1,
     "Master Volume",
     "Master",
     MIXERLINE_COMPONENTTYPE_DST_SPEAKERS,
     2,
     0xFFFF0000,
     {V, M, P}},
    {0, 0, "Wave", "Wave", MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, 2, 0x00000000, {V, M, P}},
    {0, 1, "SW Synth", "Synth", MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER, 2, 0x00010000, {V, M}},
    {0, 2, "Rear Line", "RearLn", MIXERLINE_COMPONENTTYPE_SRC_LINE, 2, 0x00020000, {V, M}},
    {0, 3, "CD Audio", "CD", MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC, 2, 0x00030000, {V, M}},
    {0, 4, "Line In", "Line", MIXERLINE_COMPONENTTYPE_SRC_LINE, 2, 0x00040000, {V, M}},
    {0, 5, "Microphone", "Mic", MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, 1, 0x00050000, {V, M}},
    {0, 6, "Aux", "Aux", MIXERLINE_COMPONENTTYPE_SRC_ANALOG, 2, 0x00060000, {V, M}},
    {0, 7, "PC Speaker", "NA", MIXERLINE_COMPONENTTYPE_SRC_PCSPEAKER, 1, 0x00070000, {}},
    {1,
     -1,
     "Recording Control",
     "Record",
     MIXERLINE_COMPONENTTYPE_DST_WAVEIN,
     2,
     0xFFFF0001,
     {X, P}},
    {1, 0, "Stereo Mix", "Mix", MIXERLINE_COMPONENTTYPE_SRC_ANALOG, 2, 0x00000001, {V}},
    {1, 1, "Microphone", "Mic", MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, 1, 0x00010001, {V}},
    {1, 2, "CD Audio", "CD", MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC, 2, 0x00020001, {V}},
    {1, 3, "Aux", "Aux", MIXERLINE_COMPONENTTYPE_SRC_ANALOG, 2, 0x00030001, {V}},
    {1, 4, "Line In", "Line", MIXERLINE_COMPONENTTYPE_SRC_LINE, 2, 0x00040001, {V}},
    {1, 5, "Wave", "Wave", MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED, 2, 0x00050001, {V}},
};

class ChangeWindow : public CHiddenWnd {
public:
    std::vector<std::pair<WPARAM, LPARAM>> changes;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != MM_MIXM_CONTROL_CHANGE)
            return CHiddenWnd::WindowProc(message, wParam, lParam);
        changes.emplace_back(wParam, lParam);
        return 0;
    }
};

HMIXEROBJ Object(HMIXER handle) {
    return reinterpret_cast<HMIXEROBJ>(handle);
}
constexpr DWORD kByHandle = MIXER_OBJECTF_HMIXER;

class SimCardTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { UseSimulatedCard(); }
    void SetUp() override {
        ASSERT_TRUE(LoadMixerApi("quendasim.dll", &api));
        ASSERT_TRUE(ResetSimulatedCard());
        ASSERT_EQ(MMSYSERR_NOERROR, api.Open(&mixer, 0, 0, 0, CALLBACK_NULL));
    }
    void TearDown() override {
        if (mixer) api.Close(mixer);
    }

    MMRESULT Line(DWORD flags, MIXERLINEA* line) {
        line->cbStruct = sizeof(MIXERLINEA);
        return api.GetLineInfoA(Object(mixer), line, kByHandle | flags);
    }
    std::vector<MIXERCONTROLA> Controls(const MIXERLINEA& line, MMRESULT* result) {
        std::vector<MIXERCONTROLA> controls(line.cControls ? line.cControls : 1);
        for (auto& c : controls)
            c.cbStruct = sizeof(c);
        MIXERLINECONTROLSA request = {sizeof(request), line.dwLineID,         {0},
                                      line.cControls,  sizeof(MIXERCONTROLA), controls.data()};
        *result = api.GetLineControlsA(Object(mixer), &request, kByHandle);
        return controls;
    }
    DWORD ControlId(DWORD lineId, DWORD type) {
        MIXERCONTROLA control = {};
        control.cbStruct = sizeof(control);
        MIXERLINECONTROLSA request = {sizeof(request), lineId,  {type}, 1,
                                      sizeof(control), &control};
        EXPECT_EQ(MMSYSERR_NOERROR,
                  api.GetLineControlsA(Object(mixer), &request,
                                       kByHandle | MIXER_GETLINECONTROLSF_ONEBYTYPE));
        return control.dwControlID;
    }
    MMRESULT Set(HMIXER handle, DWORD id, DWORD channels, std::vector<DWORD> values,
                 DWORD items = 0) {
        MIXERCONTROLDETAILS details = {sizeof(details), id,           channels, {nullptr},
                                       sizeof(DWORD),   values.data()};
        details.cMultipleItems = items;
        return api.SetControlDetails(Object(handle), &details, kByHandle);
    }

    MixerApi api = {};
    HMIXER mixer = nullptr;
};

TEST_F(SimCardTest, DeviceLinesAndControlsAsTheCardHasThem) {
    EXPECT_EQ(1u, api.GetNumDevs());
    MIXERCAPSA caps = {};
    ASSERT_EQ(MMSYSERR_NOERROR, api.GetDevCapsA(0, &caps, sizeof(caps)));
    EXPECT_STREQ("Quenda Wave", caps.szPname);
    EXPECT_EQ(1, caps.wMid);
    EXPECT_EQ(104, caps.wPid);
    EXPECT_EQ(2u, caps.cDestinations);

    std::set<DWORD> ids;
    for (const ExpectedLine& expected : kLines) {
        SCOPED_TRACE(expected.name);
        MIXERLINEA line = {};
        line.dwDestination = expected.destination;
        line.dwSource = expected.source < 0 ? 0 : expected.source;
        ASSERT_EQ(MMSYSERR_NOERROR, Line(expected.source < 0 ? MIXER_GETLINEINFOF_DESTINATION
                                                             : MIXER_GETLINEINFOF_SOURCE,
                                         &line));
        EXPECT_STREQ(expected.name, line.szName);
        EXPECT_STREQ(expected.shortName, line.szShortName);
        EXPECT_EQ(expected.type, line.dwComponentType);
        EXPECT_EQ(expected.channels, line.cChannels);
        EXPECT_EQ(expected.id, line.dwLineID);
        if (expected.source < 0) {
            EXPECT_EQ(expected.destination == 0 ? 8u : 6u, line.cConnections);
        }
        ASSERT_EQ(expected.controls.size(), line.cControls);
        if (line.cControls == 0) continue;
        MMRESULT result = MMSYSERR_ERROR;
        auto controls = Controls(line, &result);
        ASSERT_EQ(MMSYSERR_NOERROR, result);
        for (size_t k = 0; k < controls.size(); ++k) {
            const MIXERCONTROLA& c = controls[k];
            EXPECT_EQ(expected.controls[k], c.dwControlType);
            EXPECT_TRUE(ids.insert(c.dwControlID).second) << "duplicate ID " << c.dwControlID;
            if (c.dwControlType == V) {
                EXPECT_EQ(0u, c.Bounds.dwMinimum);
                EXPECT_EQ(65535u, c.Bounds.dwMaximum);
                EXPECT_EQ(32u, c.Metrics.cSteps);
                EXPECT_FALSE(c.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM);
            } else if (c.dwControlType == M) {
                EXPECT_TRUE(c.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM);
            } else if (c.dwControlType == P) {
                EXPECT_EQ(-32768, c.Bounds.lMinimum);
                EXPECT_EQ(32767, c.Bounds.lMaximum);
            } else {
                EXPECT_EQ(DWORD(MIXERCONTROL_CONTROLF_UNIFORM | MIXERCONTROL_CONTROLF_MULTIPLE),
                          c.fdwControl);
                EXPECT_EQ(6u, c.cMultipleItems);
            }
        }
    }
    EXPECT_EQ(26u, ids.size());
}

TEST_F(SimCardTest, LinesByIdAndTypeAndControlsById) {
    MIXERLINEA line = {};
    line.dwLineID = 0x00040001;
    ASSERT_EQ(MMSYSERR_NOERROR, Line(MIXER_GETLINEINFOF_LINEID, &line));
    EXPECT_STREQ("Line In", line.szName);
    EXPECT_EQ(1u, line.dwDestination);
    EXPECT_EQ(4u, line.dwSource);
    line = MIXERLINEA();
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_WAVEIN;
    ASSERT_EQ(MMSYSERR_NOERROR, Line(MIXER_GETLINEINFOF_COMPONENTTYPE, &line));
    EXPECT_EQ(0xFFFF0001u, line.dwLineID);

    // Asked by ID, a control tells its line; the ID is the same in another process.
    const DWORD micVolume = ControlId(0x00050000, V);
    MIXERCONTROLA control = {};
    control.cbStruct = sizeof(control);
    MIXERLINECONTROLSA request = {sizeof(request), 0, {micVolume}, 1, sizeof(control), &control};
    ASSERT_EQ(MMSYSERR_NOERROR, api.GetLineControlsA(Object(mixer), &request,
                                                     kByHandle | MIXER_GETLINECONTROLSF_ONEBYID));
    EXPECT_EQ(0x00050000u, request.dwLineID);
    char expected[64];
    std::snprintf(expected, sizeof(expected), "control 0x%08lX VOLUME \"%s\"",
                  static_cast<unsigned long>(micVolume), control.szName);
    CtlResult list = RunCtl("list");
    ASSERT_EQ(0u, list.exitCode);
    EXPECT_NE(std::string::npos, list.output.find(expected)) << list.output;
}

TEST_F(SimCardTest, ResultCodesAsWinmmAnswers) {
    MIXERCAPSA caps = {};
    EXPECT_EQ(MMSYSERR_BADDEVICEID, api.GetDevCapsA(1, &caps, sizeof(caps)));
    EXPECT_EQ(MMSYSERR_INVALPARAM, api.GetDevCapsA(0, nullptr, sizeof(caps)));

    HMIXER other = nullptr;
    EXPECT_EQ(MMSYSERR_BADDEVICEID, api.Open(&other, 1, 0, 0, CALLBACK_NULL));
    EXPECT_EQ(MMSYSERR_INVALFLAG, api.Open(&other, 0, 0, 0, CALLBACK_FUNCTION));
    // Callback kinds winmm knows, which this driver does not serve.
    EXPECT_EQ(MMSYSERR_NOTSUPPORTED, api.Open(&other, 0, 0, 0, CALLBACK_EVENT));
    EXPECT_EQ(MMSYSERR_NOTSUPPORTED,
              api.Open(&other, 0, ::GetCurrentThreadId(), 0, CALLBACK_THREAD));
    EXPECT_EQ(MMSYSERR_INVALPARAM, api.Open(&other, 0, 0x1234, 0, CALLBACK_WINDOW)); // no window

    MIXERLINEA line = {};
    line.cbStruct = sizeof(line) - 4;
    EXPECT_EQ(MMSYSERR_INVALPARAM, api.GetLineInfoA(Object(mixer), &line, kByHandle));
    line = MIXERLINEA();
    line.dwDestination = 2;
    EXPECT_EQ(MIXERR_INVALLINE, Line(MIXER_GETLINEINFOF_DESTINATION, &line));
    line.dwDestination = 0;
    line.dwSource = 8;
    EXPECT_EQ(MIXERR_INVALLINE, Line(MIXER_GETLINEINFOF_SOURCE, &line));
    line.dwLineID = 0x12345;
    EXPECT_EQ(MIXERR_INVALLINE, Line(MIXER_GETLINEINFOF_LINEID, &line));
    EXPECT_EQ(MMSYSERR_INVALFLAG, Line(0x7, &line));
    EXPECT_EQ(MMSYSERR_INVALFLAG, Line(0x100, &line));

    // A handle that is not open, asked for as a handle and (by a large value) as a device.
    HMIXER bogus = reinterpret_cast<HMIXER>(0x7654321);
    line = MIXERLINEA();
    line.cbStruct = sizeof(line);
    EXPECT_EQ(MMSYSERR_INVALHANDLE, api.GetLineInfoA(Object(bogus), &line, kByHandle));
    EXPECT_EQ(MMSYSERR_INVALHANDLE, api.GetLineInfoA(Object(bogus), &line, 0));
    // Device 0 without a handle is fine.
    EXPECT_EQ(MMSYSERR_NOERROR, api.GetLineInfoA(nullptr, &line, 0));

    line = MIXERLINEA();
    line.dwDestination = 0;
    ASSERT_EQ(MMSYSERR_NOERROR, Line(MIXER_GETLINEINFOF_DESTINATION, &line));
    line.cControls = 2; // the line has three
    MMRESULT result = MMSYSERR_NOERROR;
    Controls(line, &result);
    EXPECT_EQ(MMSYSERR_INVALPARAM, result);

    // Controls of a line that does not exist, by an unknown ID, or asked with a wrong size.
    MIXERCONTROLA control = {};
    control.cbStruct = sizeof(control);
    MIXERLINECONTROLSA request = {sizeof(request), 0x12345, {0}, 1, sizeof(control), &control};
    EXPECT_EQ(MIXERR_INVALLINE, api.GetLineControlsA(Object(mixer), &request, kByHandle));
    request.dwControlID = 0x999;
    EXPECT_EQ(
        MIXERR_INVALCONTROL,
        api.GetLineControlsA(Object(mixer), &request, kByHandle | MIXER_GETLINECONTROLSF_ONEBYID));
    request.dwLineID = 0xFFFF0000;
    request.cbStruct = sizeof(request) - 4;
    EXPECT_EQ(MMSYSERR_INVALPARAM,
              api.GetLineControlsA(Object(mixer), &request,
                                   kByHandle | MIXER_GETLINECONTROLSF_ONEBYTYPE));

    const DWORD volume = ControlId(0xFFFF0000, V);
    const DWORD peak = ControlId(0xFFFF0000, P);
    const DWORD mux = ControlId(0xFFFF0001, X);
    EXPECT_EQ(MIXERR_INVALCONTROL, Set(mixer, 0x999, 1, {0}));
    EXPECT_EQ(MMSYSERR_INVALPARAM, Set(mixer, volume, 3, {0, 0, 0}));          // channel count
    EXPECT_EQ(MMSYSERR_INVALPARAM, Set(mixer, mux, 1, {1}));                   // items missing
    EXPECT_EQ(MMSYSERR_INVALPARAM, Set(mixer, mux, 1, {0, 0, 0, 0, 0, 0}, 6)); // none selected
    EXPECT_EQ(MMSYSERR_NOTSUPPORTED, Set(mixer, peak, 2, {1, 1}));             // meters only report
    DWORD value = 0;
    MIXERCONTROLDETAILS details = {sizeof(details) + 4, volume,        1,
                                   {nullptr},           sizeof(DWORD), &value};
    EXPECT_EQ(MMSYSERR_INVALPARAM, api.GetControlDetailsA(Object(mixer), &details, kByHandle));
    details.cbStruct = sizeof(details);
    details.dwControlID = 0x999;
    EXPECT_EQ(MIXERR_INVALCONTROL, api.GetControlDetailsA(Object(mixer), &details, kByHandle));
    details.dwControlID = volume;
    EXPECT_EQ(MMSYSERR_NOTSUPPORTED,
              api.SetControlDetails(Object(mixer), &details,
                                    kByHandle | MIXER_SETCONTROLDETAILSF_CUSTOM));
    EXPECT_EQ(MMSYSERR_INVALFLAG, api.GetControlDetailsA(Object(mixer), &details, kByHandle | 5));
    EXPECT_EQ(MMSYSERR_INVALPARAM,
              api.GetControlDetailsA(Object(mixer), &details,
                                     kByHandle | MIXER_GETCONTROLDETAILSF_LISTTEXT));

    ASSERT_EQ(MMSYSERR_NOERROR, api.Close(mixer));
    EXPECT_EQ(MMSYSERR_INVALHANDLE, api.Close(mixer));
    EXPECT_EQ(MMSYSERR_INVALHANDLE, api.GetControlDetailsA(Object(mixer), &details, kByHandle));
    mixer = nullptr;
}

TEST_F(SimCardTest, ChangesArePostedToEveryOpenHandle) {
    ChangeWindow first, second;
    ASSERT_TRUE(first.Create("first"));
    ASSERT_TRUE(second.Create("second"));
    HMIXER firstHandle = nullptr, secondHandle = nullptr;
    ASSERT_EQ(MMSYSERR_NOERROR, api.Open(&firstHandle, 0, reinterpret_cast<DWORD_PTR>(first.m_hWnd),
                                         0, CALLBACK_WINDOW));
    ASSERT_EQ(
        MMSYSERR_NOERROR,
        api.Open(&secondHandle, 0, reinterpret_cast<DWORD_PTR>(second.m_hWnd), 0, CALLBACK_WINDOW));
    ASSERT_NE(firstHandle, secondHandle);

    const DWORD mute = ControlId(0x00030000, M);
    ASSERT_EQ(MMSYSERR_NOERROR, Set(mixer, mute, 1, {1})); // written through a third handle
    ASSERT_TRUE(PumpUntil([&] { return !first.changes.empty() && !second.changes.empty(); }));
    EXPECT_EQ(std::make_pair(WPARAM(firstHandle), LPARAM(mute)), first.changes[0]);
    EXPECT_EQ(std::make_pair(WPARAM(secondHandle), LPARAM(mute)), second.changes[0]);

    // The same value again is no change; a window that is gone gets nothing more, and its
    // handle stays usable.
    ASSERT_EQ(MMSYSERR_NOERROR, Set(mixer, mute, 1, {5}));
    second.DestroyWindow();
    ASSERT_EQ(MMSYSERR_NOERROR, Set(mixer, mute, 1, {0}));
    ASSERT_TRUE(PumpUntil([&] { return first.changes.size() >= 2; }));
    PumpPending();
    EXPECT_EQ(2u, first.changes.size());
    EXPECT_EQ(1u, second.changes.size());
    EXPECT_EQ(MMSYSERR_NOERROR, api.Close(secondHandle));
    EXPECT_EQ(MMSYSERR_NOERROR, api.Close(firstHandle));
}
} // namespace
