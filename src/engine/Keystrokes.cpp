#include "engine/Keystrokes.h"

#include "documents/CodePages.h"

#include <array>

namespace tikmeter::engine {

namespace {

constexpr TextView shiftedSymbols = u"~!@#$%^&*()_{}|:<>?";

constexpr int keystrokesFor(char16_t c) {
    if (c >= u'A' && c <= u'Z')
        return 2;
    if (shiftedSymbols.find(c) != TextView::npos)
        return 2;
    if (c == u'"')
        return 2;
    if (c == lf)
        return 0;
    // Below 0x80 no character is of the upper half of Windows-1252.
    if (c >= 0x80 && documents::isWindows1252UpperChar(c))
        return 3;
    return 1;
}

// The whole typed text is counted character by character, so the ASCII characters are
// looked up in a table made from the same rules.
constexpr auto asciiKeystrokes = [] {
    std::array<std::uint8_t, 0x80> table{};
    for (char16_t c = 0; c < 0x80; ++c)
        table[c] = static_cast<std::uint8_t>(keystrokesFor(c));
    return table;
}();

} // namespace

std::int32_t countKeystrokes(TextView typedText) {
    std::int32_t count = 0;
    for (const char16_t c : typedText)
        count += c < 0x80 ? asciiKeystrokes[c] : keystrokesFor(c);
    return count;
}

} // namespace tikmeter::engine
