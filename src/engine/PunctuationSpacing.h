#pragma once

#include <cstddef>
#include <utility>

namespace tikmeter::engine {

// Replaces every occurrence of `find` in `text` by `replacement`, non-overlapping, from left
// to right.
template <class Str> void replaceEvery(Str& text, const Str& find, const Str& replacement) {
    if (find.empty())
        return;
    Str result;
    std::size_t from = 0;
    for (std::size_t at = text.find(find); at != Str::npos; at = text.find(find, from)) {
        result.append(text, from, at - from);
        result.append(replacement);
        from = at + find.size();
    }
    if (from == 0)
        return;
    result.append(text, from, Str::npos);
    text = std::move(result);
}

// Removes the spaces between a sentence end (".", "!", "?") and a carriage return, in the test
// and the source alike: for each mark, two spaces then one space, each replacement first in
// the test and then in the source, each working on the result of the one before. Works on
// RTF code (bytes) as well as on plain text.
template <class Str> void punctuationSpacingPass(Str& testCode, Str& sourceCode) {
    using Char = typename Str::value_type;
    for (const char mark : {'.', '!', '?'}) {
        for (const std::size_t spaces : {std::size_t{2}, std::size_t{1}}) {
            Str find(1, static_cast<Char>(mark));
            find.append(spaces, static_cast<Char>(' '));
            find.push_back(static_cast<Char>('\r'));
            Str replacement(1, static_cast<Char>(mark));
            replacement.push_back(static_cast<Char>('\r'));
            replaceEvery(testCode, find, replacement);
            replaceEvery(sourceCode, find, replacement);
        }
    }
}

} // namespace tikmeter::engine
