// A map keyed by a 32-bit line or control ID whose enumeration order is fixed: 17 buckets,
// an ID goes to bucket (ID / 16) mod 17, a new ID is entered at the head of its bucket, and
// enumeration runs bucket 0 to 16, each from the latest entered ID to the first. The order
// is observable (meter polling, the control lines of a preset file), so it must not change.
#pragma once

#include "Platform.h"

#include <array>
#include <list>
#include <utility>
#include <vector>

template <class T> class CMixerIdMap {
public:
    static constexpr unsigned kBuckets = 17;
    static unsigned BucketOf(DWORD id) { return (id / 16u) % kBuckets; }

    // The value stored under id, or null. The pointer stays valid until id is removed.
    T* Lookup(DWORD id) {
        for (auto& entry : m_buckets[BucketOf(id)])
            if (entry.first == id) return &entry.second;
        return nullptr;
    }
    const T* Lookup(DWORD id) const { return const_cast<CMixerIdMap*>(this)->Lookup(id); }

    // Stores value under id: an existing entry keeps its place, a new one goes to the head.
    T& SetAt(DWORD id, T value) {
        if (T* existing = Lookup(id)) {
            *existing = std::move(value);
            return *existing;
        }
        auto& bucket = m_buckets[BucketOf(id)];
        bucket.emplace_front(id, std::move(value));
        ++m_count;
        return bucket.front().second;
    }

    bool RemoveKey(DWORD id) {
        auto& bucket = m_buckets[BucketOf(id)];
        for (auto it = bucket.begin(); it != bucket.end(); ++it) {
            if (it->first != id) continue;
            bucket.erase(it);
            --m_count;
            return true;
        }
        return false;
    }

    void RemoveAll() {
        for (auto& bucket : m_buckets)
            bucket.clear();
        m_count = 0;
    }

    size_t GetCount() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }

    // Calls f(id, value) for every entry in enumeration order. f must not change the map.
    template <class F> void ForEach(F f) const {
        for (const auto& bucket : m_buckets)
            for (const auto& entry : bucket)
                f(entry.first, entry.second);
    }

    // The IDs in enumeration order.
    std::vector<DWORD> Keys() const {
        std::vector<DWORD> keys;
        keys.reserve(m_count);
        ForEach([&keys](DWORD id, const T&) { keys.push_back(id); });
        return keys;
    }

private:
    std::array<std::list<std::pair<DWORD, T>>, kBuckets> m_buckets;
    size_t m_count = 0;
};
