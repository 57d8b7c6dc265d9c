#include "engine/Keystrokes.h"

#include "documents/CodePages.h"

namespace tikmeter::engine {

namespace {

constexpr TextView shiftedSymbols = u"~!@#$%^&*()_{}|:<>?";

int keystrokesFor(char16_t c) {
    if (c >= u'A' && c <= u'Z')
        return 2;
    if (shiftedSymbols.find(c) != TextView::npos)
        return 2;
    if (c == u'"')
        return 2;
    if (c == lf)
        return 0;
    if (documents::isWindows1252UpperChar(c))
        return 3;
    return 1;
}

} // namespace

std::int32_t countKeystrokes(TextView typedText) {
    std::int32_t count = 0;
    for (const char16_t c : typedText)
        count += keystrokesFor(c);
    return count;
}

} // namespace tikmeter::engine
