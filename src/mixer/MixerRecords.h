// The records of the mixer tree that CMixer keeps: one per line and one per control.
#pragma once

#include "Platform.h"

#include <mmsystem.h>

#include <memory>

// Value kinds of a control record: how its values are read and whether it has list texts.
enum MixerValueKind : DWORD {
    kMixerKindNone = 0,     // a control type the program does not handle: no buffers
    kMixerKindBoolean = 1,  // switches, boolean meters, multiplexers and selects
    kMixerKindSigned = 2,   // signed meters, signed numbers, sliders and pans
    kMixerKindUnsigned = 4, // volumes, faders, bass, treble, unsigned numbers, times
    kMixerKindListText = 8, // list controls: one list text per value
};

// Bit 0 of a line's dwUser: the driver reports the line unavailable (short name "NA").
// Every walker of the tree skips such lines; they have no controls and no sources.
constexpr DWORD kMixerLineUnavailable = 1;

inline bool IsLineUnavailable(const MIXERLINEA& line) {
    return (line.dwUser & kMixerLineUnavailable) != 0;
}

// One control of a line, with the details structures and buffers to read and write it.
struct MixerControlRecord {
    MIXERCONTROLA control;           // as the driver described it
    MIXERCONTROLDETAILS details;     // value details; paDetails = values (null for kind 0)
    MIXERCONTROLDETAILS listDetails; // list-text details (kinds with kMixerKindListText), else 0
    DWORD kind;                      // MixerValueKind bits
    DWORD count; // number of 32-bit values: channels x items for list controls, else channels
    std::unique_ptr<DWORD[]> values;                        // count values
    std::unique_ptr<MIXERCONTROLDETAILS_LISTTEXTA[]> texts; // count list texts

    DWORD ClassOf() const { return control.dwControlType & MIXERCONTROL_CT_CLASS_MASK; }
    bool IsMeter() const { return ClassOf() == MIXERCONTROL_CT_CLASS_METER; }
};

struct MixerSourceLine {
    MIXERLINEA line;
    std::unique_ptr<MixerControlRecord[]> controls; // line.cControls records, or null
};

struct MixerDestinationLine {
    MIXERLINEA line;
    std::unique_ptr<MixerControlRecord[]> controls; // line.cControls records, or null
    std::unique_ptr<MixerSourceLine[]> sources;     // line.cConnections records, or null
};

// The value kind the program gives a control type (0 for types it does not handle).
DWORD MixerValueKindOf(DWORD controlType);
