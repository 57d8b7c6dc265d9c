#include "engine/NumberText.h"

namespace tikmeter::engine {

namespace {

std::u16string digits(unsigned long long value) {
    std::u16string text;
    do {
        text.insert(text.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value != 0);
    return text;
}

unsigned long long magnitude(long long value) {
    return value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                     : static_cast<unsigned long long>(value);
}

} // namespace

std::u16string plainText(long long value) {
    return (value < 0 ? u"-" : u"") + digits(magnitude(value));
}

std::u16string signedText(long long value) {
    return (value < 0 ? u"-" : u" ") + digits(magnitude(value));
}

std::u16string signedText(Tenths value) {
    const auto size = magnitude(value.tenths);
    std::u16string text = (value.tenths < 0 ? u"-" : u" ") + digits(size / 10);
    if (size % 10 != 0)
        text += u"." + digits(size % 10);
    return text;
}

long long roundHalfEven(long long numerator, long long denominator) {
    long long quotient = numerator / denominator;
    long long remainder = numerator % denominator;
    if (remainder < 0) { // floor division
        quotient -= 1;
        remainder += denominator;
    }
    const long long twice = 2 * remainder;
    if (twice > denominator || (twice == denominator && quotient % 2 != 0))
        quotient += 1;
    return quotient;
}

} // namespace tikmeter::engine
