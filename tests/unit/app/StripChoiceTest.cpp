// Which source line each strip of the Sources and Record pages shows, over a mixer whose
// destinations hold made-up lines.
#include "Mixer.h"
#include "ZephRecPage.h"
#include "ZephSrcPage.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Two destinations; index 0 of each list is the destination line, the rest its sources.
class LinesMixer : public CMixer {
public:
    std::vector<MIXERLINEA> lines[2];

    void Add(int destination, DWORD lineId, DWORD type) {
        MIXERLINEA line = {};
        line.cbStruct = sizeof(line);
        line.dwLineID = lineId;
        line.dwComponentType = type;
        lines[destination].push_back(line);
    }

    int Open(const char*, UINT, UINT) override { return 1; }
    int GetDestinationCount() override { return 2; }
    const char* GetDestinationName(int) override { return ""; }
    int GetSourceCount(int destination) override {
        return destination < 0 || destination > 1 || lines[destination].empty()
                   ? 0
                   : static_cast<int>(lines[destination].size()) - 1;
    }
    int GetLine(int destination, int source, MIXERLINEA** line) override {
        *line = nullptr;
        if (destination < 0 || destination > 1 || source < -1 ||
            source + 1 >= static_cast<int>(lines[destination].size()))
            return 0;
        *line = &lines[destination][static_cast<size_t>(source + 1)];
        return 1;
    }
    int GetDestinationLine(int destination, MIXERLINEA** line) override {
        return GetLine(destination, -1, line);
    }
    int GetDestinationControl(int, int, MixerControlRecord** record) override {
        *record = nullptr;
        return 0;
    }
    int GetLineControl(int, int, int, MixerControlRecord** record) override {
        *record = nullptr;
        return 0;
    }
    int SetDetails(MixerControlRecord*) override { return 0; }
    int GetDetails(MixerControlRecord*) override { return 0; }
    int GetListText(MixerControlRecord*) override { return 0; }
};

constexpr DWORD kLine = MIXERLINE_COMPONENTTYPE_SRC_LINE;
constexpr DWORD kAnalog = MIXERLINE_COMPONENTTYPE_SRC_ANALOG;
constexpr DWORD kWave = MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT;
constexpr DWORD kMic = MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE;
constexpr DWORD kCd = MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC;

TEST(StripChoice, SourcesPageTakesTheFirstLineOfEachTypeButTheRearLine) {
    LinesMixer mixer;
    mixer.Add(0, 0xFFFF0000, kWave); // the destination line itself may be a strip's
    mixer.Add(0, 0x00020000, kLine); // the rear line input: never shown
    mixer.Add(0, 0x00030000, kWave); // a second wave line: not shown
    mixer.Add(0, 0x00040000, kLine);
    mixer.Add(0, 0x00050000, kLine);
    mixer.Add(0, 0x00060000, kMic);
    int lines[CZephSrcPage::kStrips];
    CZephSrcPage::ChooseStripLines(mixer, lines);
    const int none = CZephSrcPage::kNoLine;
    const int expected[CZephSrcPage::kStrips] = {-1, none, 4, none, none, 2};
    for (int k = 0; k < CZephSrcPage::kStrips; ++k)
        EXPECT_EQ(lines[k], expected[k]) << "strip " << k;

    // The rear line's ID on another type of line is an ordinary line.
    LinesMixer other;
    other.Add(0, 0xFFFF0000, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);
    other.Add(0, 0x00020000, kCd);
    CZephSrcPage::ChooseStripLines(other, lines);
    EXPECT_EQ(lines[3], 0);
}

TEST(StripChoice, RecordPageGivesEachSourceTheFirstFreeStripOfItsType) {
    LinesMixer mixer;
    mixer.Add(1, 0xFFFF0001, MIXERLINE_COMPONENTTYPE_DST_WAVEIN);
    mixer.Add(1, 1, kCd);
    mixer.Add(1, 2, kAnalog);
    mixer.Add(1, 3, kAnalog);
    mixer.Add(1, 4, kAnalog); // no free analog strip left
    int sources[CZephRecPage::kStrips];
    CZephRecPage::ChooseStripSources(mixer, sources);
    const int none = CZephRecPage::kNoSource;
    // Four sources use strips 0 to 3 only.
    const int expected[CZephRecPage::kStrips] = {1, none, 0, 2, none, none};
    for (int k = 0; k < CZephRecPage::kStrips; ++k)
        EXPECT_EQ(sources[k], expected[k]) << "strip " << k;

    // A line source as the third of three lies past the strips in use ("Line" is strip 4).
    LinesMixer few;
    few.Add(1, 0xFFFF0001, MIXERLINE_COMPONENTTYPE_DST_WAVEIN);
    few.Add(1, 1, kMic);
    few.Add(1, 2, kAnalog);
    few.Add(1, 3, kLine);
    CZephRecPage::ChooseStripSources(few, sources);
    EXPECT_EQ(sources[0], 1);
    EXPECT_EQ(sources[1], 0);
    EXPECT_EQ(sources[4], none);
}

} // namespace
