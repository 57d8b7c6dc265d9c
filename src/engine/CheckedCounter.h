#pragma once

#include "engine/MarkingFailure.h"

#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>

namespace tikmeter::engine {

// An integer counter with the range of Rep. Every change is checked: a value outside the
// range throws OverflowFailure and leaves the counter unchanged. Nothing is clamped.
template <class Rep> class CheckedCounter {
    static_assert(std::is_integral_v<Rep> && sizeof(Rep) < sizeof(long long));

public:
    constexpr CheckedCounter() = default;
    constexpr CheckedCounter(long long value) : value_(check(value)) {}

    constexpr operator int() const { return value_; }
    constexpr int value() const { return value_; }

    constexpr CheckedCounter& operator+=(long long delta) {
        value_ = check(static_cast<long long>(value_) + delta);
        return *this;
    }
    constexpr CheckedCounter& operator-=(long long delta) {
        value_ = check(static_cast<long long>(value_) - delta);
        return *this;
    }

private:
    static constexpr Rep check(long long value) {
        if (value < std::numeric_limits<Rep>::min() || value > std::numeric_limits<Rep>::max())
            throw OverflowFailure("counter out of range: " + std::to_string(value));
        return static_cast<Rep>(value);
    }

    Rep value_ = 0;
};

// The engine's counters are 16-bit signed; the doubled-word count is 8-bit unsigned.
using Counter16 = CheckedCounter<std::int16_t>;
using Counter8u = CheckedCounter<std::uint8_t>;

} // namespace tikmeter::engine
