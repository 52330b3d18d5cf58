// Handing a preset from a second start to the running control panel. The second start finds
// the panel's main window by asking the top-level dialog windows a registered question (the
// caption is translated and cannot serve), then sends the preset's full path as WM_COPYDATA
// with a tag of our own. The panel checks the tag and the size and applies only a file on
// disk, as its Load command does; it is neither shown nor activated.
#pragma once

#include "Platform.h"

#include <string>

namespace PresetHandOver {

// WM_COPYDATA's dwData of a hand-over.
constexpr ULONG_PTR kTag = 0x51564853; // "SHVQ"
// What the panel answers to the question, and to a hand-over.
constexpr LRESULT kPanelAnswer = 0x51564850;
enum Result : LRESULT {
    kRefused = 0,  // not a hand-over, or not well formed
    kApplied = 1,  // the preset was applied
    kUnusable = 2, // not a readable file on disk, or no settings for this card in it
};

// The registered message that asks a window whether it is the control panel.
UINT PanelQuestion();

// The path a hand-over carries, or false when the data is not a well-formed hand-over: the
// tag, a size of at most MAX_PATH wide characters with the terminating zero as the last one.
bool ReadPath(const COPYDATASTRUCT* data, std::wstring* path);

enum class Outcome { Applied, Unusable, NoAnswer };
// Hands the preset to the running panel: looks for its window until the time is up (a panel
// that is still starting has none yet), then waits for its answer in what time is left.
Outcome HandToRunningPanel(const std::wstring& path, DWORD timeoutMs);

} // namespace PresetHandOver
