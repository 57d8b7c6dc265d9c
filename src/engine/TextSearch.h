#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tikmeter::engine {

using Text = std::u16string;
using TextView = std::u16string_view;

inline constexpr char16_t cr = u'\r';
inline constexpr char16_t lf = u'\n';

// Case-sensitive substring searches with 1-based positions; 0 means not found.
// An empty search text is found at the start position of any non-empty text (position 1
// unless a later start is given) and nowhere in an empty text.

// First occurrence of `what` that starts at or after position `from`.
long long findFirst(TextView text, TextView what, long long from = 1);

// Last occurrence of `what` anywhere in `text`.
long long findLast(TextView text, TextView what);

// Last occurrence of `what` that lies entirely within the first `limit` characters.
long long findLastWithin(TextView text, TextView what, long long limit);

inline bool contains(TextView text, TextView what) {
    return findFirst(text, what) > 0;
}

// A text searched for many short pieces, such as the source during the comparison passes
// (several searches per typed word that is not in it). contains() answers as contains(text,
// what) does. The first searches scan the text; once these have cost about as much as an
// index, the places of every pair of adjacent characters are chained by the pair, and a
// search compares only at the places of its first two characters. The text must outlive the
// object.
class IndexedText {
public:
    explicit IndexedText(TextView text) : text_(text) {}

    TextView text() const { return text_; }
    bool contains(TextView what) const;

private:
    static constexpr int scansBeforeIndex = 8;
    static constexpr unsigned bucketBits = 10;
    static constexpr std::uint32_t none = UINT32_MAX;

    static std::size_t bucketOf(char16_t first, char16_t second);
    void buildIndex() const;

    TextView text_;
    // The index, built on demand by the searches (a search does not change the answer).
    mutable int scans_ = 0;
    mutable std::vector<std::uint32_t> firstPlace_;      // per bucket of pairs, or none
    mutable std::unique_ptr<std::uint32_t[]> nextPlace_; // per place: the next of its bucket
};

// The characters of `text` from 1-based position `start` on, at most `length` of them; the
// part of that range that lies outside the text is left out.
TextView mid(TextView text, long long start, long long length);

// Removing spaces (only the space character, as the marking rules trim).
Text trimSpaces(TextView text);
Text trimTrailingSpaces(TextView text);
Text trimLeadingSpaces(TextView text);

// The same as views into `text` (valid while `text` lives).
TextView withoutTrailingSpaces(TextView text);
TextView withoutLeadingSpaces(TextView text);
TextView withoutSpaces(TextView text);

// True when `whole` equals `first` followed by `second` (without building the joined text).
bool equalsJoined(TextView whole, TextView first, TextView second);

bool endsWith(TextView text, TextView tail);

// Hash of a text for the sets and maps of words (FNV-1a over the characters: cheap for texts
// as short as words). Transparent, so containers of Text can be searched with a TextView.
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(TextView text) const {
        std::uint64_t hash = 14695981039346656037ULL;
        for (const char16_t c : text)
            hash = (hash ^ c) * 1099511628211ULL;
        return static_cast<std::size_t>(hash);
    }
};

} // namespace tikmeter::engine
