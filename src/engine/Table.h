#pragma once

#include "engine/MarkingFailure.h"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace tikmeter::engine {

// A 1-based list of at most Bound entries. An entry keeps what was written to it until it is
// overwritten; an entry never written reads as the empty value. Writing outside 1..Bound
// throws BoundFailure.
template <class T, std::size_t Bound> class Table {
public:
    static constexpr std::size_t bound = Bound;

    // Entry k; entries never written (also those past the bound) read as T{}.
    const T& at(long long k) const {
        if (k < 1 || static_cast<std::size_t>(k) > entries_.size())
            return empty_;
        return entries_[static_cast<std::size_t>(k) - 1];
    }

    // Writable entry k, created empty when needed.
    T& ref(long long k) {
        if (k < 1 || static_cast<std::size_t>(k) > Bound)
            throw BoundFailure("list entry " + std::to_string(k) + " outside 1.." +
                               std::to_string(Bound));
        if (static_cast<std::size_t>(k) > entries_.size())
            entries_.resize(static_cast<std::size_t>(k));
        return entries_[static_cast<std::size_t>(k) - 1];
    }

    void set(long long k, T value) { ref(k) = std::move(value); }

    // Replaces the whole list by entries 1..entries.size(); more than Bound entries throw
    // BoundFailure and leave the list as it was.
    void assign(std::vector<T> entries) {
        if (entries.size() > Bound)
            throw BoundFailure("list of " + std::to_string(entries.size()) +
                               " entries, more than " + std::to_string(Bound));
        entries_ = std::move(entries);
    }

    // Number of entries that have storage (the highest entry written).
    std::size_t stored() const { return entries_.size(); }

    // Entries 1..stored() as a 0-based span, for loops over the whole list.
    std::span<const T> storedEntries() const { return entries_; }

    void clear() { entries_.clear(); }

private:
    std::vector<T> entries_;
    static inline const T empty_{};
};

} // namespace tikmeter::engine
