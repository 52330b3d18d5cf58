// The mixer section of a preset file: written and read by CMixer on a stream that the caller
// opened and closes. The card section that comes before it is the card mixer's business; it
// finds its keys with FindKey.
//
//   Begin settings: <device>\t<driver version>\t<manufacturer> <product>
//   <ID in hex>\t<value count>\t <v0> <v1> ...\t(<control name>)      one line per control
//   End settings: <device>\t<driver version>\t<manufacturer> <product>
#include "Format.h"
#include "Mixer.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Lines are read in pieces of at most 511 characters; a longer line is read as several.
constexpr int kLineBuffer = 512;

bool ReadLine(FILE* stream, char (&line)[kLineBuffer]) {
    return std::fgets(line, kLineBuffer - 1, stream) != nullptr;
}

// The kinds whose values a preset holds: boolean, signed and unsigned (list controls too,
// by their values; the item texts are not stored).
bool HasStoredValues(const MixerControlRecord& record) {
    const DWORD kind = record.kind & 7;
    return kind == kMixerKindBoolean || kind == kMixerKindSigned || kind == kMixerKindUnsigned;
}

// Splits a line at spaces and tabs. A newline is not a separator: the last token keeps it.
std::vector<std::string> Tokens(const char* line) {
    std::vector<std::string> tokens;
    const char* p = line;
    for (;;) {
        while (*p == ' ' || *p == '\t')
            ++p;
        if (!*p) break;
        const char* start = p;
        while (*p && *p != ' ' && *p != '\t')
            ++p;
        tokens.emplace_back(start, p);
    }
    return tokens;
}

// A number in the forms printf's %i reads: decimal, 0x hexadecimal, leading-zero octal, with
// an optional sign. False when the token does not start with one.
bool ParseInteger(const std::string& token, long long* value) {
    const char* text = token.c_str();
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(text, &end, 0);
    if (end == text) return false;
    if (errno == ERANGE) v = v < 0 ? LLONG_MIN : LLONG_MAX;
    *value = v;
    return true;
}

// The control ID: a hexadecimal number, as the writer's %X produces.
bool ParseControlId(const std::string& token, DWORD* id) {
    const char* text = token.c_str();
    if (!std::isxdigit(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    errno = 0;
    unsigned long long v = std::strtoull(text, &end, 16);
    if (end == text || errno == ERANGE || v > 0xFFFFFFFFull) return false;
    *id = static_cast<DWORD>(v);
    return true;
}

// A value read from a preset, brought into what the control can hold: a file from another
// device or edited by hand must not hand the driver values outside the control's range.
DWORD FitValue(const MixerControlRecord& record, long long value) {
    switch (record.kind & 7) {
    case kMixerKindBoolean:
        return value != 0 ? 1 : 0;
    case kMixerKindSigned: {
        long long low = record.control.Bounds.lMinimum;
        long long high = record.control.Bounds.lMaximum;
        if (low > high) std::swap(low, high);
        if (value < low) value = low;
        if (value > high) value = high;
        return static_cast<DWORD>(static_cast<LONG>(value));
    }
    default: {
        long long low = record.control.Bounds.dwMinimum;
        long long high = record.control.Bounds.dwMaximum;
        if (low > high) std::swap(low, high);
        // The writer puts every value out as a signed number, so an unsigned value above
        // 0x7FFFFFFF comes back negative: taken as the 32 bits it was when that lies in range.
        if (value < 0 && value >= INT_MIN) {
            const long long bits = static_cast<DWORD>(static_cast<LONG>(value));
            if (bits >= low && bits <= high) return static_cast<DWORD>(bits);
        }
        if (value < low) value = low;
        if (value > high) value = high;
        return static_cast<DWORD>(value);
    }
    }
}

} // namespace

std::string CMixer::SettingsHeader(const char* opening) const {
    return Format("%s: %s\t%i\t%i %i\n", opening, m_caps.szPname,
                  static_cast<int>(m_caps.vDriverVersion), m_caps.wMid, m_caps.wPid);
}

int CMixer::SaveSettings(FILE* stream) {
    if (!stream) return 0;
    std::fputs(SettingsHeader("Begin settings").c_str(), stream);
    // Walk a copy of the IDs: a listener notified below may touch the mixer.
    for (DWORD id : m_controls.Keys()) {
        MixerControlRecord* record = nullptr;
        if (!FindControl(id, &record) || record->IsMeter() || !HasStoredValues(*record)) continue;
        // Built whole, however many values the control has.
        std::string line =
            Format("%X\t%i\t", static_cast<unsigned>(id), static_cast<int>(record->count));
        for (DWORD i = 0; i < record->count; ++i)
            line += Format(" %i", static_cast<int>(record->values[i]));
        line += Format("\t(%s)\n", record->control.szName);
        std::fputs(line.c_str(), stream);
        NotifyListeners(id, 1);
    }
    std::fputs(SettingsHeader("End settings").c_str(), stream);
    return std::ferror(stream) ? 0 : 1;
}

int CMixer::LoadSettings(FILE* stream) {
    if (!stream) return 0;
    if (std::feof(stream)) return 1;

    char line[kLineBuffer];
    auto findHeader = [&]() {
        while (ReadLine(stream, line))
            if (std::strncmp(line, "Begin settings", 14) == 0) return true;
        return false;
    };
    // The card section's key lookups leave the stream after the last key they found. A file
    // whose mixer section comes before that key (sections or keys in another order) still
    // has its mixer section applied: the header is then searched once more from the start.
    const long start = std::ftell(stream);
    if (!findHeader()) {
        if (start <= 0) return 1; // no mixer section: nothing applied
        std::clearerr(stream);
        if (std::fseek(stream, 0, SEEK_SET) != 0 || !findHeader()) return 1;
    }

    while (ReadLine(stream, line)) {
        if (std::strncmp(line, "End settings", 12) == 0) break;
        ApplySettingsLine(line);
    }
    return 1;
}

void CMixer::ApplySettingsLine(const char* line) {
    const std::vector<std::string> tokens = Tokens(line);
    DWORD id = 0;
    if (tokens.size() < 3 || !ParseControlId(tokens[0], &id)) return;
    MixerControlRecord* record = nullptr;
    // Meters are read-only: a preset never holds them, and a line that claims one is skipped.
    if (!FindControl(id, &record) || !record->values || record->IsMeter() ||
        !HasStoredValues(*record))
        return;
    long long count = 0;
    if (!ParseInteger(tokens[1], &count) || count != static_cast<long long>(record->count)) return;

    // Values present replace the buffer's; values missing keep what the buffer held. A line
    // that holds no value at all is skipped: writing the buffer as it stands would undo a
    // change another program made since the buffer was last read.
    bool any = false;
    for (size_t i = 0; i < record->count && 2 + i < tokens.size(); ++i) {
        long long value = 0;
        if (!ParseInteger(tokens[2 + i], &value)) continue;
        record->values[i] = FitValue(*record, value);
        any = true;
    }
    if (!any) return;
    SetDetails(record);
    NotifyListeners(id, 1);
}

int CMixer::FindKey(FILE* stream, const char* key, void* out, int format, int size) {
    if (!stream || !key || !out) return 0;
    const size_t length = std::strlen(key);
    char line[kLineBuffer];

    auto search = [&]() {
        while (ReadLine(stream, line))
            if (std::strncmp(line, key, length) == 0) return true;
        return false;
    };
    bool found = !std::feof(stream) && search();
    if (!found) {
        std::clearerr(stream);
        if (std::fseek(stream, 0, SEEK_SET) != 0) return 0;
        found = search();
    }
    if (!found) return 0;

    const char* rest = line + length;
    if (format == 0) {
        long long value = 0;
        const std::vector<std::string> tokens = Tokens(rest);
        // A key without a number is not a value, and neither is a number that the 32 bits
        // of the caller's value cannot hold (wrapped, it would mean some other setting): the
        // caller keeps its setting.
        if (tokens.empty() || !ParseInteger(tokens[0], &value)) return 0;
        if (value < INT_MIN || value > INT_MAX) return 0;
        const int v = static_cast<int>(value);
        std::memcpy(out, &v, sizeof(v));
        return 1;
    }
    if (format == 1) {
        // The first word after the key, cut to the caller's buffer.
        const std::vector<std::string> tokens = Tokens(rest);
        std::string word = tokens.empty() ? std::string() : tokens[0];
        while (!word.empty() && (word.back() == '\n' || word.back() == '\r'))
            word.pop_back();
        if (size <= 0) return 0;
        const size_t take = std::min(word.size(), static_cast<size_t>(size) - 1);
        std::memcpy(out, word.data(), take);
        static_cast<char*>(out)[take] = '\0';
        return 1;
    }
    return 0;
}
