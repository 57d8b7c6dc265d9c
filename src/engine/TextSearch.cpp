#include "engine/TextSearch.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tikmeter::engine {

namespace {

bool sameAt(const char16_t* at, TextView what) {
    return std::memcmp(at, what.data(), what.size() * sizeof(char16_t)) == 0;
}

#if defined(__SSE2__)
// The starts i..i+7 where a piece of length m may begin: two mask bits for each start whose
// character equals `first` and whose character m - 1 further on equals `last`.
unsigned candidateMask(const char16_t* data, std::size_t i, std::size_t m, __m128i first,
                       __m128i last) {
    const __m128i blockFirst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    const __m128i blockLast = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + m - 1));
    return static_cast<unsigned>(_mm_movemask_epi8(
        _mm_and_si128(_mm_cmpeq_epi16(blockFirst, first), _mm_cmpeq_epi16(blockLast, last))));
}
#endif

// 0-based index of the first occurrence of a non-empty `what` in `text`, or npos. The
// marking runs several of these per word over the whole source text, so candidates are
// found eight characters at a time by their first and last character.
std::size_t findIndex(TextView text, TextView what) {
    const std::size_t m = what.size();
    if (m > text.size())
        return TextView::npos;
    const std::size_t lastStart = text.size() - m; // inclusive
    const char16_t* data = text.data();
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi16(static_cast<short>(what.front()));
    const __m128i last = _mm_set1_epi16(static_cast<short>(what.back()));
    for (; i + 8 <= lastStart + 1; i += 8) {
        unsigned mask = candidateMask(data, i, m, first, last);
        while (mask != 0) {
            const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
            const std::size_t at = i + bit / 2;
            if (sameAt(data + at, what))
                return at;
            mask &= ~(3u << bit);
        }
    }
#endif
    for (; i <= lastStart; ++i)
        if (data[i] == what.front() && data[i + m - 1] == what.back() && sameAt(data + i, what))
            return i;
    return TextView::npos;
}

// 0-based index of the last occurrence of a non-empty `what` in `text`, or npos: the same
// search backwards (the source-end search looks for the test's last characters from the end
// of the source, the line-break count steps back through the text).
std::size_t findLastIndex(TextView text, TextView what) {
    const std::size_t m = what.size();
    if (m > text.size())
        return TextView::npos;
    const char16_t* data = text.data();
    std::size_t end = text.size() - m + 1; // the candidates not yet looked at are 0..end-1
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi16(static_cast<short>(what.front()));
    const __m128i last = _mm_set1_epi16(static_cast<short>(what.back()));
    while (end >= 8) {
        const std::size_t i = end - 8;
        unsigned mask = candidateMask(data, i, m, first, last);
        while (mask != 0) {
            const unsigned lane = (31u - static_cast<unsigned>(__builtin_clz(mask))) / 2;
            const std::size_t at = i + lane;
            if (sameAt(data + at, what))
                return at;
            mask &= ~(3u << (2 * lane));
        }
        end = i;
    }
#endif
    while (end > 0) {
        --end;
        if (data[end] == what.front() && data[end + m - 1] == what.back() &&
            sameAt(data + end, what))
            return end;
    }
    return TextView::npos;
}

} // namespace

long long findFirst(TextView text, TextView what, long long from) {
    if (text.empty())
        return 0;
    if (from < 1)
        from = 1;
    if (static_cast<std::size_t>(from) > text.size())
        return 0;
    if (what.empty())
        return from;
    const auto at = findIndex(text.substr(static_cast<std::size_t>(from - 1)), what);
    return at == TextView::npos ? 0 : static_cast<long long>(at) + from;
}

long long findLast(TextView text, TextView what) {
    return findLastWithin(text, what, static_cast<long long>(text.size()));
}

long long findLastWithin(TextView text, TextView what, long long limit) {
    if (text.empty() || limit < 1)
        return 0;
    if (what.empty())
        return 1;
    const auto head = text.substr(0, static_cast<std::size_t>(std::min<long long>(
                                         limit, static_cast<long long>(text.size()))));
    const auto at = findLastIndex(head, what);
    return at == TextView::npos ? 0 : static_cast<long long>(at) + 1;
}

std::size_t IndexedText::bucketOf(char16_t first, char16_t second) {
    const std::uint32_t pair = (static_cast<std::uint32_t>(first) << 16) | second;
    return (pair * 2654435761u) >> (32 - bucketBits);
}

void IndexedText::buildIndex() const {
    const std::size_t pairs = text_.size() - 1;
    firstPlace_.assign(std::size_t{1} << bucketBits, none);
    // Left uninitialised (every place is written below).
    nextPlace_.reset(new std::uint32_t[pairs]);
    // From the end, so that every chain runs through its places in ascending order.
    for (std::size_t i = pairs; i-- > 0;) {
        std::uint32_t& first = firstPlace_[bucketOf(text_[i], text_[i + 1])];
        nextPlace_[i] = first;
        first = static_cast<std::uint32_t>(i);
    }
}

bool IndexedText::contains(TextView what) const {
    // A piece shorter than two characters has no pair; a text too long for 32-bit places is
    // never indexed.
    if (firstPlace_.empty()) {
        if (what.size() < 2 || text_.size() < 2 || text_.size() >= none ||
            ++scans_ <= scansBeforeIndex)
            return engine::contains(text_, what);
        buildIndex();
    }
    if (what.size() < 2)
        return engine::contains(text_, what);
    for (std::uint32_t at = firstPlace_[bucketOf(what[0], what[1])]; at != none;
         at = nextPlace_[at])
        if (what.size() <= text_.size() - at && sameAt(text_.data() + at, what))
            return true;
    return false;
}

TextView mid(TextView text, long long start, long long length) {
    long long first = start;
    long long last = start + length - 1; // inclusive
    first = std::max(first, 1LL);
    last = std::min(last, static_cast<long long>(text.size()));
    if (length <= 0 || first > last)
        return {};
    return text.substr(static_cast<std::size_t>(first - 1),
                       static_cast<std::size_t>(last - first + 1));
}

TextView withoutTrailingSpaces(TextView text) {
    const auto end = text.find_last_not_of(u' ');
    return end == TextView::npos ? TextView{} : text.substr(0, end + 1);
}

TextView withoutLeadingSpaces(TextView text) {
    const auto begin = text.find_first_not_of(u' ');
    return begin == TextView::npos ? TextView{} : text.substr(begin);
}

TextView withoutSpaces(TextView text) {
    return withoutLeadingSpaces(withoutTrailingSpaces(text));
}

Text trimTrailingSpaces(TextView text) {
    const auto end = text.find_last_not_of(u' ');
    return end == TextView::npos ? Text{} : Text(text.substr(0, end + 1));
}

Text trimLeadingSpaces(TextView text) {
    const auto begin = text.find_first_not_of(u' ');
    return begin == TextView::npos ? Text{} : Text(text.substr(begin));
}

Text trimSpaces(TextView text) {
    const auto begin = text.find_first_not_of(u' ');
    if (begin == TextView::npos)
        return {};
    const auto end = text.find_last_not_of(u' ');
    return Text(text.substr(begin, end - begin + 1));
}

bool equalsJoined(TextView whole, TextView first, TextView second) {
    return whole.size() == first.size() + second.size() && whole.substr(0, first.size()) == first &&
           whole.substr(first.size()) == second;
}

bool endsWith(TextView text, TextView tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

} // namespace tikmeter::engine
