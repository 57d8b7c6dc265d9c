#pragma once

#include <array>

namespace tikmeter::engine {

// The characters that Windows-1252 gives the bytes 128..159; bytes 160..255 give U+00A0..U+00FF.
// Windows maps the five bytes that have no character of their own (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) to the control characters of the same code, so they are listed as such.
inline constexpr std::array<char16_t, 32> windows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// True when Windows-1252 maps one of the bytes 128..255 to c.
constexpr bool inWindows1252UpperHalf(char16_t c) {
    if (c >= 0xA0 && c <= 0xFF)
        return true;
    for (const char16_t mapped : windows1252High)
        if (mapped == c)
            return true;
    return false;
}

} // namespace tikmeter::engine
