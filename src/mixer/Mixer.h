// The model of one mixer device: its destination lines, their source lines, every line's
// controls, lookup maps by line ID and control ID, typed value accessors and the registry of
// the controls bound to mixer controls (CMixerSink). CMixer holds all of this; the device
// class (CMixerDevice) fills the tree from a driver and performs the driver calls.
//
// Lines the driver reports unavailable (short name "NA") are kept in the tree with bit 0 of
// dwUser set (kMixerLineUnavailable) and zero controls, and are left out of the line map.
#pragma once

#include "MixerIdMap.h"
#include "MixerRecords.h"
#include "MixerSink.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CMixer {
public:
    CMixer();
    virtual ~CMixer();
    CMixer(const CMixer&) = delete;
    CMixer& operator=(const CMixer&) = delete;

    // Opens the first device whose name equals name exactly (any name when null) and whose
    // manufacturer and product IDs match (0 = any), and reads its whole tree. 1/0.
    virtual int Open(const char* name, UINT manufacturerId, UINT productId) = 0;

    // The mixer section of a preset file, on a stream the caller opened (text mode). Saving
    // writes every non-meter control's buffered values and notifies their listeners; loading
    // applies every good control line, writes it to the device and notifies the listeners
    // with the refresh flag 1. 0 only for a null stream (or a failed write).
    virtual int LoadSettings(FILE* stream);
    virtual int SaveSettings(FILE* stream);

    // The tree, by position. Destination and source indexes start at 0; source index -1 is
    // the destination line itself. Out-of-range indexes (and sources of an unavailable
    // destination) give 0 and set the out pointer to null.
    virtual int GetDestinationCount() = 0;
    virtual const char* GetDestinationName(int destination) = 0; // "" when out of range
    virtual int GetSourceCount(int destination) = 0; // cConnections, 0 when out of range
    virtual int GetLine(int destination, int source, MIXERLINEA** line) = 0;
    virtual int GetDestinationLine(int destination, MIXERLINEA** line) = 0;
    virtual int GetDestinationControl(int destination, int control,
                                      MixerControlRecord** record) = 0;
    virtual int GetLineControl(int destination, int source, int control,
                               MixerControlRecord** record) = 0;

    // Lookups by ID. FindListText gives 1 for every known control and sets *listText only
    // for controls with list texts.
    virtual int FindLine(DWORD lineId, MIXERLINEA** line);
    virtual int FindControl(DWORD controlId, MixerControlRecord** record);
    virtual int FindListText(DWORD controlId, MIXERCONTROLDETAILS** listText);

    // Driver calls on a record's own details and buffers. 1 when the driver succeeded.
    virtual int SetDetails(MixerControlRecord* record) = 0;
    virtual int GetDetails(MixerControlRecord* record) = 0;
    virtual int GetListText(MixerControlRecord* record) = 0;

    // Value accessors, by control ID: 0 for an unknown ID or a control without values (no
    // driver call then), else the result of the driver call. All mixer values are 32-bit, so
    // the boolean, signed and unsigned groups behave the same.
    //  SetValues/GetValues copy the control's values, at most byteLength / 4 of them.
    //  SetStereo/GetStereo use values 0 and 1; on a one-value control SetStereo writes left
    //  only and GetStereo gives value 0 for both sides.
    //  SetValue/GetValue use value 0; SetAll writes the value into every value.
    // The group is chosen by the argument type (BOOL, LONG or DWORD); pass other integer
    // types through a cast, e.g. SetStereo(id, DWORD(left), DWORD(right)).
    // Boolean group.
    virtual int SetValues(DWORD controlId, const BOOL* values, DWORD byteLength);
    virtual int SetStereo(DWORD controlId, BOOL left, BOOL right);
    virtual int SetValue(DWORD controlId, BOOL value);
    // Signed group.
    virtual int SetValues(DWORD controlId, const LONG* values, DWORD byteLength);
    virtual int SetStereo(DWORD controlId, LONG left, LONG right);
    virtual int SetAll(DWORD controlId, LONG value);
    // Unsigned group.
    virtual int SetValues(DWORD controlId, const DWORD* values, DWORD byteLength);
    virtual int SetStereo(DWORD controlId, DWORD left, DWORD right);
    virtual int SetValue(DWORD controlId, DWORD value);
    // Getters: read the device first (0 when that fails), then copy out; 1.
    virtual int GetValues(DWORD controlId, BOOL* values, DWORD byteLength);
    virtual int GetStereo(DWORD controlId, BOOL* left, BOOL* right);
    virtual int GetValue(DWORD controlId, BOOL* value);
    virtual int GetValues(DWORD controlId, LONG* values, DWORD byteLength);
    virtual int GetStereo(DWORD controlId, LONG* left, LONG* right);
    virtual int GetValue(DWORD controlId, LONG* value);
    virtual int GetValues(DWORD controlId, DWORD* values, DWORD byteLength);
    virtual int GetStereo(DWORD controlId, DWORD* left, DWORD* right);
    virtual int GetValue(DWORD controlId, DWORD* value);

    // Marks a line unavailable and takes it out of the line map. 0 when the map lacks it.
    virtual int DisableLine(DWORD lineId);

    // Listener registry. Listeners of meter controls are polled (CMixerDevice's timer); the
    // others are called by NotifyListeners. A listener may be added twice and is then called
    // twice. AddListener gives 0 (and registers nothing) for a control ID the map lacks.
    // RemoveListener gives 1 when the ID has no listeners, 0 when sink is not among them.
    virtual int AddListener(DWORD controlId, CMixerSink* sink);
    virtual int RemoveListener(DWORD controlId, CMixerSink* sink);

    // The device name from the capabilities ("" before a device was found).
    const char* GetName() const { return m_caps.szPname; }
    const MIXERCAPSA& GetCaps() const { return m_caps; }

    // Finds the line that starts with key (case-sensitive prefix), first from the stream's
    // position, then once more from the start, and reads what follows it: format 0 an
    // integer into *(int*)out, format 1 a word into a char buffer of size bytes. 1 when the
    // key was found and a value read; the stream then stands after that line. An integer
    // outside the signed 32-bit range is no value: 0, *out untouched.
    int FindKey(FILE* stream, const char* key, void* out, int format, int size);

    // Calls OnMixerChange(controlId, refresh) on every change listener of the control, in
    // registration order. A listener may remove itself (or others) while being called; a
    // listener removed during the round is not called. 1 when the control has listeners.
    int NotifyListeners(DWORD controlId, int refresh);

    // The maps, for walkers that need the enumeration order (the preset file).
    const CMixerIdMap<MixerControlRecord*>& GetControlMap() const { return m_controls; }
    const CMixerIdMap<MIXERLINEA*>& GetLineMap() const { return m_lines; }

protected:
    using SinkList = std::vector<CMixerSink*>;

    // "<opening>: <device>\t<driver version>\t<manufacturer> <product>\n", the header and end
    // lines of the preset sections.
    std::string SettingsHeader(const char* opening) const;
    // Applies one control line of a preset; lines that do not fit the device are skipped.
    void ApplySettingsLine(const char* line);

    // Calls OnMixerChange(id, 0) on every meter listener, in map order.
    void PollMeters();
    // Tells every meter listener that its meter is no longer polled.
    void RestMeters();
    // Calls call(id, sink) for every meter listener still registered when its turn comes.
    void ForEachPolled(const std::function<void(DWORD, CMixerSink*)>& call);
    bool HasPolledListeners() const { return !m_polled.IsEmpty(); }
    // Frees the tree and empties the line and control maps (listeners stay registered).
    void FreeTree();

    CMixerIdMap<SinkList> m_listeners; // change listeners, by control ID
    CMixerIdMap<SinkList> m_polled;    // meter listeners, by control ID
    MIXERCAPSA m_caps;
    std::unique_ptr<MixerDestinationLine[]> m_destinations;
    DWORD m_destinationCount = 0;
    CMixerIdMap<MIXERLINEA*> m_lines;
    CMixerIdMap<MixerControlRecord*> m_controls;

private:
    MixerControlRecord* Values(DWORD controlId);
    int WriteValues(DWORD controlId, const void* values, DWORD byteLength);
    int WriteStereo(DWORD controlId, DWORD left, DWORD right);
    int WriteFirst(DWORD controlId, DWORD value);
    int WriteAll(DWORD controlId, DWORD value);
    int ReadValues(DWORD controlId, void* values, DWORD byteLength);
    int ReadStereo(DWORD controlId, DWORD* left, DWORD* right);
    int ReadFirst(DWORD controlId, DWORD* value);
    static bool Contains(const CMixerIdMap<SinkList>& map, DWORD controlId, CMixerSink* sink);
};
