#pragma once

#include <string>

namespace tikmeter::engine {

// A number with one decimal place, held exactly as a count of tenths (42.6 is 426).
struct Tenths {
    long long tenths = 0;

    double toDouble() const { return static_cast<double>(tenths) / 10.0; }
    bool operator==(const Tenths&) const = default;
};

// Shortest decimal form, no leading space: 2190.
std::u16string plainText(long long value);

// Shortest decimal form with a leading space when zero or positive, a minus sign when
// negative: " 45", "-3".
std::u16string signedText(long long value);

// The same for a number in tenths: " 42.6", " 42", " 0.5", "-0.5".
std::u16string signedText(Tenths value);

// numerator / denominator rounded half to even, exactly (denominator > 0).
long long roundHalfEven(long long numerator, long long denominator);

} // namespace tikmeter::engine
