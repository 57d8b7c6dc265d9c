#include "engine/PunctuationChecks.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace tikmeter::engine {

namespace {

void appendSpacingMark(TestState& state, const Text& placeholder, long long position) {
    const long long entry = state.errorCount + 1;
    if (entry > static_cast<long long>(maxWords))
        throw BoundFailure("more than " + std::to_string(maxWords) + " error marks");
    state.errorCount += 1;
    state.errorMarks.set(entry, ErrorMark{placeholder, static_cast<int>(position), 0});
}

// The smallest non-zero position of the three searches, 0 when none is found.
long long earliest(TextView text, const std::array<TextView, 3>& what, long long from) {
    long long best = 0;
    for (const TextView piece : what) {
        const long long at = findFirst(text, piece, from);
        if (at > 0 && (best == 0 || at < best))
            best = at;
    }
    return best;
}

char16_t charAt(TextView text, long long position) {
    if (position < 1 || position > static_cast<long long>(text.size()))
        return 0;
    return text[static_cast<std::size_t>(position - 1)];
}

void countMarks(TextView text, Counter16& fullStops, Counter16& commas, Counter16& marks) {
    long long stops = 0;
    long long commaCount = 0;
    long long markCount = 0;
    for (const char16_t c : text) {
        switch (c) {
        case u'.':
            ++stops;
            break;
        case u',':
            ++commaCount;
            break;
        case u'!':
        case u'?':
            ++markCount;
            break;
        default:
            break;
        }
    }
    const auto fits = [](const Counter16& counter, long long more) {
        return counter + more <= std::numeric_limits<std::int16_t>::max();
    };
    if (fits(fullStops, stops) && fits(commas, commaCount) && fits(marks, markCount)) {
        fullStops += stops;
        commas += commaCount;
        marks += markCount;
        return;
    }
    // A counter would leave its range: counted character by character, so that it fails at
    // the character that takes it past the range, with the others counted up to there.
    for (const char16_t c : text) {
        if (c == u'.')
            fullStops += 1;
        if (c == u',')
            commas += 1;
        if (c == u'!' || c == u'?')
            marks += 1;
    }
}

} // namespace

long long lineBreakCount(TextView text, long long start) {
    long long pos = -1;
    long long count = 0;
    while (pos != 0) {
        pos = findLastWithin(text, u"\r", start);
        count += 1;
        start = pos - 1;
        if (start == 0)
            pos = 0;
    }
    return count;
}

void countLineBreaks(TestState& state, TextView testText, TextView sourceText) {
    state.testLineBreaks = lineBreakCount(testText, static_cast<long long>(testText.size()) - 1);
    state.sourceLineBreaks = lineBreakCount(sourceText, state.sourceLimit - 1);
}

void punctuationCount(TestState& state, TextView testText, TextView sourceText) {
    if (testText.size() > maxTextChars || state.sourceLimit > static_cast<long long>(maxTextChars))
        throw BoundFailure("punctuation count past " + std::to_string(maxTextChars) +
                           " characters");
    countMarks(testText, state.testFullStops, state.testCommas, state.testMarks);
    countMarks(mid(sourceText, 1, state.sourceLimit), state.sourceFullStops, state.sourceCommas,
               state.sourceMarks);
}

void sentenceSpacingDoubleSpace(TestState& state, TextView text) {
    const long long length = static_cast<long long>(text.size());
    long long p = 2;
    bool found = false;
    do {
        const long long pos = findFirst(text, u"  ", p);
        if (pos > 0) {
            const char16_t c = charAt(text, pos - 1);
            if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u' ' || c == u',' ||
                c == u'\'') {
                appendSpacingMark(state, u"\u2022\u2022", pos);
                found = true;
            } else {
                // Each further step from p + 1 up to pos finds this same double space again,
                // so the search goes on after it (the end test gives the same result).
                p = pos + 1;
            }
        } else {
            p = length;
        }
    } while (!(p + 2 > length || found));
}

void sentenceSpacingConvention(TestState& state, TextView text) {
    const long long d = findFirst(text, u".");
    const long long q = findFirst(text, u"?");
    const long long e = findFirst(text, u"!");
    if (d == 0 && q == 0 && e == 0)
        return;
    long long first = 0;
    for (const long long at : {d, q, e})
        if (at > 0 && (first == 0 || at < first))
            first = at;

    state.sentenceSpacing = SentenceSpacing::OneSpace;
    if (charAt(text, first + 1) == u' ' && charAt(text, first + 2) == u' ')
        state.sentenceSpacing = SentenceSpacing::TwoSpaces;

    if (state.sentenceSpacing == SentenceSpacing::OneSpace) {
        const long long n = earliest(text, {u".  ", u"?  ", u"!  "}, first + 2);
        if (n > 0)
            appendSpacingMark(state, u"\u2022\u2022", n + 1);
        return;
    }
    long long p = first;
    for (int attempt = 0; attempt < 15; ++attempt) {
        const long long n = earliest(text, {u". ", u"? ", u"! "}, p + 2);
        if (n == 0)
            return;
        if (charAt(text, n + 2) != u' ') {
            appendSpacingMark(state, u"\u2022", n + 1);
            return;
        }
        p = n + 2;
    }
}

void sentenceSpacingCheck(TestState& state, TextView testText) {
    sentenceSpacingDoubleSpace(state, testText);
    sentenceSpacingConvention(state, testText);
}

} // namespace tikmeter::engine
