#include "engine/SourceEndSearch.h"

#include <algorithm>
#include <cstdlib>

namespace tikmeter::engine {

namespace {

constexpr long long pieceLength = 12;

// Moves the limit to the end of the word there: the first space at or after limit - 1, or
// the first carriage return when that comes earlier. Without a space the limit stays.
long long extendToWordEnd(TextView source, long long limit) {
    const long long space = findFirst(source, u" ", limit - 1);
    const long long ret = findFirst(source, u"\r", limit - 1);
    if (space == 0)
        return limit;
    return (space < ret || ret == 0) ? space : ret;
}

} // namespace

long long findSourceLimit(TextView test, TextView source) {
    const long long length = static_cast<long long>(test.size());
    const long long sourceLength = static_cast<long long>(source.size());

    // Phase 1: the last 40, 37, ..., 16 characters of the test.
    for (long long k = 0; k <= 24; k += 3) {
        const long long take = std::min(40 - k, length);
        const long long p =
            findLast(source, test.substr(test.size() - static_cast<std::size_t>(take)));
        if (p > 0)
            return std::min(p + 41, sourceLength);
    }

    // Phase 2: 36, 33, ..., 18 characters from position length - 40.
    for (long long k = 36; k >= 18; k -= 3) {
        if (length - 40 < 1)
            break; // the piece would start before the test (cannot happen for 50 characters)
        const long long p = findLast(source, mid(test, length - 40, k));
        if (p > 0)
            return std::min(p + 41, sourceLength);
    }

    // Phase 3: two 12-character pieces 30 characters apart that lie close together.
    for (long long k = 1; k <= 18; ++k) {
        const long long startA = length - (k + 20);
        const long long startB = length - (k + 50);
        if (startB < 1 || startA < 1)
            continue; // a piece would start before the first character of the test
        const TextView a = mid(test, startA, pieceLength);
        const TextView b = mid(test, startB, pieceLength);
        long long pa = findLast(source, a);
        long long pb = findLast(source, b);
        if (pa > 0 && pb > 0 && std::llabs(pa - pb) > 75) {
            if (pa > pb)
                pa = findLastWithin(source, a, pa);
            if (pb > pa)
                pb = findLastWithin(source, b, pb);
        }
        if (std::llabs(pa - pb) < 75 && pa > 0 && pb > 0)
            return extendToWordEnd(source, pa + k + 21);
    }

    // Phase 4: nothing matched.
    return std::min(length + 10, sourceLength);
}

void sourceEndSearch(TestState& state, TextView testText, TextView sourceText) {
    state.sourceLimit = findSourceLimit(testText, sourceText);
}

} // namespace tikmeter::engine
