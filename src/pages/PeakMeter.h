// The level meter the pages show inside a volume slider: the line's own peak meter.
#pragma once

#include "Mixer.h"

// The control ID of the first peak meter of a line (source -1: the destination line itself);
// 0 when the line has none.
inline DWORD FindPeakMeter(CMixer& mixer, int destination, int source) {
    MIXERLINEA* line = nullptr;
    if (!mixer.GetLine(destination, source, &line) || !line) return 0;
    for (DWORD c = 0; c < line->cControls; ++c) {
        MixerControlRecord* record = nullptr;
        if (mixer.GetLineControl(destination, source, static_cast<int>(c), &record) && record &&
            record->control.dwControlType == MIXERCONTROL_CONTROLTYPE_PEAKMETER)
            return record->control.dwControlID;
    }
    return 0;
}
