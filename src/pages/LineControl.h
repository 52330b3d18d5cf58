// Finding a mixer line's controls by type, for the pages that bind their strips to lines.
#pragma once

#include "Mixer.h"

// The first control of the type on a line (source -1: the destination line itself); null when
// the line has none.
inline MixerControlRecord* FindLineControl(CMixer& mixer, int destination, int source, DWORD type) {
    MIXERLINEA* line = nullptr;
    if (!mixer.GetLine(destination, source, &line) || !line) return nullptr;
    for (DWORD c = 0; c < line->cControls; ++c) {
        MixerControlRecord* record = nullptr;
        if (mixer.GetLineControl(destination, source, static_cast<int>(c), &record) && record &&
            record->control.dwControlType == type)
            return record;
    }
    return nullptr;
}

// The control ID of the line's first peak meter, the level the pages show inside a volume
// slider; 0 when the line has none.
inline DWORD FindPeakMeter(CMixer& mixer, int destination, int source) {
    const MixerControlRecord* meter =
        FindLineControl(mixer, destination, source, MIXERCONTROL_CONTROLTYPE_PEAKMETER);
    return meter ? meter->control.dwControlID : 0;
}
