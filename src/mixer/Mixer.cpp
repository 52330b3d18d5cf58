#include "Mixer.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

namespace {
static_assert(sizeof(BOOL) == sizeof(DWORD) && sizeof(LONG) == sizeof(DWORD),
              "mixer values are 32-bit in every group");

DWORD Bits(BOOL v) {
    return static_cast<DWORD>(v);
}
DWORD Bits(LONG v) {
    return static_cast<DWORD>(v);
}
template <class T> T As(DWORD bits) {
    T value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}
} // namespace

CMixer::CMixer() : m_caps() {}

CMixer::~CMixer() = default;

void CMixer::FreeTree() {
    m_lines.RemoveAll();
    m_controls.RemoveAll();
    m_destinations.reset();
    m_destinationCount = 0;
}

int CMixer::FindLine(DWORD lineId, MIXERLINEA** line) {
    MIXERLINEA** found = m_lines.Lookup(lineId);
    if (!found) return 0;
    if (line) *line = *found;
    return 1;
}

int CMixer::FindControl(DWORD controlId, MixerControlRecord** record) {
    MixerControlRecord** found = m_controls.Lookup(controlId);
    if (!found) return 0;
    if (record) *record = *found;
    return 1;
}

int CMixer::FindListText(DWORD controlId, MIXERCONTROLDETAILS** listText) {
    MixerControlRecord* record = nullptr;
    if (!FindControl(controlId, &record)) return 0;
    if ((record->kind & kMixerKindListText) && listText) *listText = &record->listDetails;
    return 1;
}

// ---- values ----------------------------------------------------------------------------

MixerControlRecord* CMixer::Values(DWORD controlId) {
    MixerControlRecord* record = nullptr;
    if (!FindControl(controlId, &record) || !record->values) return nullptr;
    return record;
}

int CMixer::WriteValues(DWORD controlId, const void* values, DWORD byteLength) {
    MixerControlRecord* record = Values(controlId);
    if (!record || !values) return 0;
    // Never read past the caller's array: the byte length bounds the copy.
    DWORD n = std::min<DWORD>(record->count, byteLength / sizeof(DWORD));
    std::memcpy(record->values.get(), values, n * sizeof(DWORD));
    return SetDetails(record);
}

int CMixer::WriteStereo(DWORD controlId, DWORD left, DWORD right) {
    MixerControlRecord* record = Values(controlId);
    if (!record || record->count == 0) return 0;
    record->values[0] = left;
    if (record->count >= 2) record->values[1] = right;
    return SetDetails(record);
}

int CMixer::WriteFirst(DWORD controlId, DWORD value) {
    MixerControlRecord* record = Values(controlId);
    if (!record || record->count == 0) return 0;
    record->values[0] = value;
    return SetDetails(record);
}

int CMixer::WriteAll(DWORD controlId, DWORD value) {
    MixerControlRecord* record = Values(controlId);
    if (!record) return 0;
    std::fill_n(record->values.get(), record->count, value);
    return SetDetails(record);
}

int CMixer::ReadValues(DWORD controlId, void* values, DWORD byteLength) {
    MixerControlRecord* record = Values(controlId);
    if (!record || !GetDetails(record)) return 0;
    if (values) {
        DWORD n = std::min<DWORD>(record->count, byteLength / sizeof(DWORD));
        std::memcpy(values, record->values.get(), n * sizeof(DWORD));
    }
    return 1;
}

int CMixer::ReadStereo(DWORD controlId, DWORD* left, DWORD* right) {
    MixerControlRecord* record = Values(controlId);
    if (!record || record->count == 0 || !GetDetails(record)) return 0;
    // A one-value control reads the same on both sides.
    *left = record->values[0];
    *right = record->count >= 2 ? record->values[1] : record->values[0];
    return 1;
}

int CMixer::ReadFirst(DWORD controlId, DWORD* value) {
    MixerControlRecord* record = Values(controlId);
    if (!record || record->count == 0 || !GetDetails(record)) return 0;
    *value = record->values[0];
    return 1;
}

int CMixer::SetValues(DWORD id, const BOOL* values, DWORD bytes) {
    return WriteValues(id, values, bytes);
}
int CMixer::SetStereo(DWORD id, BOOL left, BOOL right) {
    return WriteStereo(id, Bits(left), Bits(right));
}
int CMixer::SetValue(DWORD id, BOOL value) {
    return WriteFirst(id, Bits(value));
}

int CMixer::SetValues(DWORD id, const LONG* values, DWORD bytes) {
    return WriteValues(id, values, bytes);
}
int CMixer::SetStereo(DWORD id, LONG left, LONG right) {
    return WriteStereo(id, Bits(left), Bits(right));
}
int CMixer::SetAll(DWORD id, LONG value) {
    return WriteAll(id, Bits(value));
}

int CMixer::SetValues(DWORD id, const DWORD* values, DWORD bytes) {
    return WriteValues(id, values, bytes);
}
int CMixer::SetStereo(DWORD id, DWORD left, DWORD right) {
    return WriteStereo(id, left, right);
}
int CMixer::SetValue(DWORD id, DWORD value) {
    return WriteFirst(id, value);
}

int CMixer::GetValues(DWORD id, BOOL* values, DWORD bytes) {
    return ReadValues(id, values, bytes);
}
int CMixer::GetValues(DWORD id, LONG* values, DWORD bytes) {
    return ReadValues(id, values, bytes);
}
int CMixer::GetValues(DWORD id, DWORD* values, DWORD bytes) {
    return ReadValues(id, values, bytes);
}

int CMixer::GetStereo(DWORD id, BOOL* left, BOOL* right) {
    DWORD l = 0, r = 0;
    if (!ReadStereo(id, &l, &r)) return 0;
    if (left) *left = As<BOOL>(l);
    if (right) *right = As<BOOL>(r);
    return 1;
}
int CMixer::GetStereo(DWORD id, LONG* left, LONG* right) {
    DWORD l = 0, r = 0;
    if (!ReadStereo(id, &l, &r)) return 0;
    if (left) *left = As<LONG>(l);
    if (right) *right = As<LONG>(r);
    return 1;
}
int CMixer::GetStereo(DWORD id, DWORD* left, DWORD* right) {
    DWORD l = 0, r = 0;
    if (!ReadStereo(id, &l, &r)) return 0;
    if (left) *left = l;
    if (right) *right = r;
    return 1;
}

int CMixer::GetValue(DWORD id, BOOL* value) {
    DWORD v = 0;
    if (!ReadFirst(id, &v)) return 0;
    if (value) *value = As<BOOL>(v);
    return 1;
}
int CMixer::GetValue(DWORD id, LONG* value) {
    DWORD v = 0;
    if (!ReadFirst(id, &v)) return 0;
    if (value) *value = As<LONG>(v);
    return 1;
}
int CMixer::GetValue(DWORD id, DWORD* value) {
    DWORD v = 0;
    if (!ReadFirst(id, &v)) return 0;
    if (value) *value = v;
    return 1;
}

// ---- lines -----------------------------------------------------------------------------

int CMixer::DisableLine(DWORD lineId) {
    MIXERLINEA** line = m_lines.Lookup(lineId);
    if (!line) return 0;
    (*line)->dwUser |= kMixerLineUnavailable;
    m_lines.RemoveKey(lineId);
    return 1;
}

// ---- listeners -------------------------------------------------------------------------

int CMixer::AddListener(DWORD controlId, CMixerSink* sink) {
    MixerControlRecord* record = nullptr;
    if (!sink || !FindControl(controlId, &record)) return 0;
    CMixerIdMap<SinkList>& map = record->IsMeter() ? m_polled : m_listeners;
    SinkList* list = map.Lookup(controlId);
    if (!list) list = &map.SetAt(controlId, SinkList());
    list->push_back(sink);
    return 1;
}

int CMixer::RemoveListener(DWORD controlId, CMixerSink* sink) {
    CMixerIdMap<SinkList>* map = &m_listeners;
    SinkList* list = map->Lookup(controlId);
    if (!list) {
        map = &m_polled;
        list = map->Lookup(controlId);
    }
    if (!list) return 1;
    auto it = std::find(list->begin(), list->end(), sink);
    if (it == list->end()) return 0;
    list->erase(it);
    if (list->empty()) map->RemoveKey(controlId);
    return 1;
}

bool CMixer::Contains(const CMixerIdMap<SinkList>& map, DWORD controlId, CMixerSink* sink) {
    const SinkList* list = map.Lookup(controlId);
    return list && std::find(list->begin(), list->end(), sink) != list->end();
}

int CMixer::NotifyListeners(DWORD controlId, int refresh) {
    if (m_listeners.IsEmpty()) return 0;
    const SinkList* list = m_listeners.Lookup(controlId);
    if (!list) return 0;
    // Listeners may come and go while they are called: walk a copy and skip anyone who was
    // removed in the meantime.
    const SinkList round = *list;
    for (CMixerSink* sink : round)
        if (Contains(m_listeners, controlId, sink)) sink->OnMixerChange(controlId, refresh);
    return 1;
}

void CMixer::ForEachPolled(const std::function<void(DWORD, CMixerSink*)>& call) {
    // A call may bind or unbind listeners: the round is taken first, and a listener is called
    // only while it is still registered.
    std::vector<std::pair<DWORD, CMixerSink*>> round;
    m_polled.ForEach([&round](DWORD id, const SinkList& list) {
        for (CMixerSink* sink : list)
            round.emplace_back(id, sink);
    });
    for (const auto& entry : round)
        if (Contains(m_polled, entry.first, entry.second)) call(entry.first, entry.second);
}

void CMixer::RestMeters() {
    ForEachPolled([](DWORD id, CMixerSink* sink) { sink->OnMeterRest(id); });
}

void CMixer::PollMeters() {
    ForEachPolled([](DWORD id, CMixerSink* sink) { sink->OnMixerChange(id, 0); });
}
